#include "platform/ShellApi.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

namespace {

TShellOpener &Opener() {
    static TShellOpener opener;
    return opener;
}

// A scheme of two or more characters followed by a colon: "http:", "mailto:", "file:".
bool HasScheme(const QString &file) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(file).hasMatch();
}

// Decides how the request is carried out; returns 0 when it can go to the opener, else the
// error code.
int Route(TShellRequest &r) {
    const QString operation = r.Operation.toLower();
    if (!operation.isEmpty() && operation != QLatin1String("open"))
        return SE_ERR_NOASSOC;
    if (r.File.isEmpty())
        return ERROR_FILE_NOT_FOUND;

    QString path = r.File;
    if (HasScheme(r.File)) {
        const QUrl url(r.File, QUrl::TolerantMode);
        if (!url.isValid())
            return ERROR_FILE_NOT_FOUND;
        if (!url.isLocalFile()) {
            r.Kind = skAddress;
            r.Address = url;
            return 0;
        }
        path = url.toLocalFile();
    }

    if (!r.Directory.isEmpty() && !QFileInfo(r.Directory).isDir())
        return ERROR_PATH_NOT_FOUND;
    const QFileInfo info(QDir(r.Directory.isEmpty() ? QDir::currentPath() : r.Directory), path);
    if (!info.exists())
        return info.dir().exists() ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    if (info.isFile() && info.isExecutable()) {
        r.Kind = skProgram;
        r.Program = info.absoluteFilePath();
        r.Arguments = QProcess::splitCommand(r.Parameters);
        r.WorkingFolder = r.Directory;
        return 0;
    }
    r.Kind = skDocument;
    r.Address = QUrl::fromLocalFile(info.absoluteFilePath());
    return 0;
}

} // namespace

void SetShellOpener(TShellOpener opener) {
    Opener() = std::move(opener);
}

int DesktopShellOpener(const TShellRequest &request) {
    switch (request.Kind) {
    case skProgram:
        return QProcess::startDetached(request.Program, request.Arguments, request.WorkingFolder)
                   ? ShellOpened
                   : ERROR_BAD_FORMAT;
    case skAddress:
    case skDocument:
        break;
    }
    return QDesktopServices::openUrl(request.Address) ? ShellOpened : SE_ERR_NOASSOC;
}

int ShellExecute(QWidget *owner, const QString &operation, const QString &file,
                 const QString &parameters, const QString &directory, int showCmd) {
    TShellRequest request;
    request.Owner = owner;
    request.Operation = operation;
    request.File = file;
    request.Parameters = parameters;
    request.Directory = directory;
    request.ShowCmd = showCmd;
    if (const int error = Route(request))
        return error;
    return Opener() ? Opener()(request) : DesktopShellOpener(request);
}

int ShellExecuteDownloaded(QWidget *owner, const QString &file, const QString &parameters) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return ShellExecute(owner, QStringLiteral("open"), file, QString(), QString(),
                            SW_SHOWNORMAL);
    const QByteArray head = f.read(4);
    f.close();
    const bool program = head == QByteArray("\x7f"
                                            "ELF",
                                            4) ||
                         head.startsWith("#!");
    if (!program)
        return ShellExecute(owner, QStringLiteral("open"), file, QString(), QString(),
                            SW_SHOWNORMAL);
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return ShellExecute(owner, QStringLiteral("open"), file, parameters, QString(), SW_SHOWNORMAL);
}
