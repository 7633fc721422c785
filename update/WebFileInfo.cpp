#include "update/WebFileInfo.h"

#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/ShellApi.h"
#include "platform/SysUtils.h"

#include <QApplication>
#include <QBuffer>
#include <QCryptographicHash>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

namespace {

// The version page and the read-me are held in memory; a longer answer is refused.
constexpr qint64 MaxAnswerSize = 1024 * 1024;
// The redirect entries of version pages followed one after another.
constexpr int MaxRedirects = 20;

const QString Cr = QStringLiteral("\r");

void CentreOnScreen(QWidget *window) {
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        window->move(std::max(0, (area.width() - window->frameGeometry().width()) / 2),
                     std::max(0, (area.height() - window->frameGeometry().height()) / 2));
    }
}

constexpr Qt::WindowFlags NoTitleButtons =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;

// A window the component waits in. Escape or the window manager's close does not close it:
// it asks for the request to end (OnCancel), and the request's end closes the window.
class TWaitWindow : public QDialog {
public:
    explicit TWaitWindow(QWidget *parent) : QDialog(parent, NoTitleButtons) {}
    std::function<void(QObject *Sender)> OnCancel;
    void reject() override { CallEvent(OnCancel, this); }
};

// The "Error: "reason."" line of the failure messages, or "Error unknown.".
QString ErrorLine(const QString &lastError) {
    if (lastError.isEmpty())
        return QCoreApplication::translate("TWebFileInfo", "Error unknown.");
    return QCoreApplication::translate("TWebFileInfo", "Error: \"%1.\"").arg(lastError);
}

QStringList TextLines(const QByteArray &bytes) {
    QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    for (QString &line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

QString AfterLastSlash(const QString &address) {
    return address.mid(address.lastIndexOf(QLatin1Char('/')) + 1);
}

int IntOrZero(const QString &text) {
    try {
        return StrToInt(text.toStdString());
    } catch (const EConvertError &) {
        return 0;
    }
}

} // namespace

// ---- The rules of the version page ----------------------------------------------------------

bool TWfiTags::AllEmpty() const {
    for (const QString *tag :
         {&FAuthorTag, &FAuthorEMailTag, &FDateTag, &FDownloadTag, &FProductNameTag, &FReadMeTag,
          &FReadMeExtTag, &FRedirectTag, &FRunParamsTag, &FVersionTag})
        if (!tag->isEmpty())
            return false;
    return true;
}

namespace {
// The text from `start` up to the next double quote, at most 1000 characters looked at.
QString QuotedText(const QString &line, qsizetype start) {
    if (start > line.size())
        return QString();
    const QString window = line.mid(start, 1000);
    const qsizetype quote = window.indexOf(QLatin1Char('"'));
    return quote < 0 ? QString() : window.left(quote);
}
} // namespace

QString ExtractMetaName(const QString &line) {
    const qsizetype meta = line.indexOf(QLatin1String("META HTTP-EQUIV"), 0, Qt::CaseInsensitive);
    return meta < 0 ? QString() : QuotedText(line, meta + 17);
}

QString ExtractContent(const QString &line) {
    const qsizetype content = line.indexOf(QLatin1String("CONTENT="));
    return content < 0 ? QString() : QuotedText(line, content + 9);
}

QDate ParseProductDate(const QString &text) {
    const auto fail = [&text] {
        throw EConvertError("'" + text.toStdString() + "' is not a valid date");
    };
    static const QString months = QStringLiteral("JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC");
    const QString name = text.left(3).toUpper();
    const qsizetype at = name.size() == 3 ? months.indexOf(name) : -1;
    if (at < 0 || at % 3 != 0)
        fail();
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma < 2 || text.size() < 4)
        fail();
    const int day = StrToInt(text.mid(comma - 2, 2).toStdString());
    const int year = StrToInt(text.right(4).toStdString());
    const QDate date(year, int(at / 3) + 1, day);
    if (!date.isValid())
        throw EConvertError("Invalid argument to date encode");
    return date;
}

bool IsNewerBuildNumber(const QString &current, const QString &server) {
    QString a = current, b = server;
    for (;;) {
        const qsizetype pa = a.indexOf(QLatin1Char('.'));
        const qsizetype pb = b.indexOf(QLatin1Char('.'));
        const int na = IntOrZero(pa < 0 ? a : a.left(pa));
        const int nb = IntOrZero(pb < 0 ? b : b.left(pb));
        if (na != nb)
            return na < nb;
        if (pa < 0)
            return false;
        a.remove(0, pa + 1);
        if (pb >= 0)
            b.remove(0, pb + 1);
    }
}

QString FormatThousands(qint64 number) {
    quint64 magnitude = number < 0 ? 0 - quint64(number) : quint64(number);
    QString digits = QString::number(magnitude);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return number < 0 ? QLatin1Char('-') + digits : digits;
}

QString SafeFileName(const QString &name, const QString &fallback) {
    qsizetype dots = 0;
    while (dots < name.size() && name.at(dots) == QLatin1Char('.'))
        ++dots;
    const QString visible = name.mid(dots);
    if (visible.isEmpty() || visible.contains(QLatin1Char('/')) ||
        visible.contains(QLatin1Char('\\')) || visible.contains(QChar(0)))
        return fallback;
    return visible;
}

// ---- The component's windows --------------------------------------------------------------

TWebDlProgress::TWebDlProgress(QWidget *parent) : QDialog(parent, NoTitleButtons) {
    setWindowTitle(tr("Download Progress"));
    setFixedSize(272, 123);
    setCursor(Qt::WaitCursor);
    lblDownloading = new QLabel(this);
    lblDownloading->setGeometry(2, 10, 268, 18);
    lblDownloading->setAlignment(Qt::AlignCenter);
    pbarProgress = new QProgressBar(this);
    pbarProgress->setGeometry(36, 40, 200, 14);
    pbarProgress->setRange(0, 100);
    pbarProgress->setValue(0);
    pbarProgress->setTextVisible(false);
    pbarProgress->setCursor(Qt::WaitCursor);
    lblProgress = new QLabel(this);
    lblProgress->setGeometry(2, 60, 268, 22);
    lblProgress->setAlignment(Qt::AlignCenter);
    btnCancel = new QPushButton(tr("&Cancel"), this);
    btnCancel->setGeometry(102, 94, 68, 22);
    btnCancel->setCursor(Qt::ArrowCursor);
    connect(btnCancel, &QPushButton::clicked, this,
            [this] { Guard(this, [this] { btnCancelClick(btnCancel); }); });
    setTabOrder(pbarProgress, btnCancel);
}

void TWebDlProgress::btnCancelClick(QObject *) {
    Cancelled = true;
    if (OnCancel)
        OnCancel(this);
}

void TWebDlProgress::reject() {
    Guard(this, [this] { btnCancelClick(this); });
}

QDialog *TWebFileInfo::CreateWaitWindow(const QString &text) {
    auto *window = new TWaitWindow(OwnerWindow());
    window->setWindowTitle(tr("Please Wait"));
    window->setFixedSize(240, 100);
    window->setCursor(Qt::WaitCursor);
    window->setFont(FUIFont);
    auto *label = new QLabel(text, window);
    label->setGeometry(0, 27, 232, 23);
    label->setAlignment(Qt::AlignCenter);
    window->OnCancel = [this](QObject *) {
        if (FHttpCli && FHttpCli->State() != httpReady)
            FHttpCli->Abort();
    };
    CentreOnScreen(window);
    return window;
}

TWebDlProgress *TWebFileInfo::CreateProgressWindow() {
    auto *window = new TWebDlProgress(OwnerWindow());
    window->setFont(FUIFont);
    window->OnCancel = [this](QObject *) {
        if (FHttpCli && FHttpCli->State() != httpReady)
            FHttpCli->Abort();
    };
    CentreOnScreen(window);
    return window;
}

QDialog *TWebFileInfo::CreateReadMeWindow() {
    EnsureClient();
    QBuffer text;
    text.open(QIODevice::WriteOnly);
    std::unique_ptr<QDialog> wait(CreateWaitWindow(tr("Retrieving ReadMe...")));
    FWaitWindow = wait.get();
    if (!GetAndWait(FProductReadMe, &text, wait.get()))
        return nullptr;
    if (Status() > 200) {
        FLastError = Reason();
        return nullptr;
    }
    auto *window = new QDialog(OwnerWindow(), NoTitleButtons);
    window->setWindowTitle(tr("Read Me"));
    window->setFont(FUIFont);
    QSize size(640, 480);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = screen->geometry().size() * 4 / 5;
    window->setFixedSize(size);
    auto *memo = new QPlainTextEdit(window);
    memo->setGeometry(10, 10, size.width() - 25, size.height() - 80);
    memo->setFont(FUIFont);
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setPlainText(QString::fromUtf8(text.data()));
    auto *ok = new QPushButton(tr("&Ok"), window);
    ok->setGeometry(size.width() / 2 - 34, size.height() - 56, 68, 22);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, window, &QDialog::accept);
    CentreOnScreen(window);
    return window;
}

// ---- The component ------------------------------------------------------------------------

void THttpEvents::RequestDone(QObject *, THttpRequest, quint16 Error) {
    FOwner.RequestDone(Error);
}

TWebFileInfo::TWebFileInfo(QWidget *owner)
    : QObject(owner), FUIFont(DesignFont(QStringLiteral("Arial"), 8)) {}

TWebFileInfo::~TWebFileInfo() {
    UnhookExceptions();
}

void TWebFileInfo::SetActive(bool active) {
    if (!active)
        FActive = false;
}

void TWebFileInfo::SetHomeURL(const QString &url) {
    if (url.size() <= 6 || !url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive))
        return;
    FHomeURL = url;
    FActive = false;
}

QFont TWebFileInfo::UIFont() {
    if (FUIOwnerFont)
        if (QWidget *owner = OwnerWindow())
            FUIFont = owner->font();
    return FUIFont;
}

void TWebFileInfo::SetUIFont(const QFont &font) {
    FUIFont = font;
    FUIOwnerFont = false;
}

QWidget *TWebFileInfo::OwnerWindow() const {
    return qobject_cast<QWidget *>(parent());
}

QString TWebFileInfo::ReadMeFolder() {
    if (FReadMeFolder.isEmpty()) {
        auto *folder = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/quorvale-XXXXXX"));
        if (folder->isValid()) {
            FReadMeFolder = folder->path();
            // Removed with the component, with whatever was downloaded into it.
            connect(this, &QObject::destroyed, [folder] { delete folder; });
        } else {
            delete folder;
        }
    }
    return FReadMeFolder;
}

void TWebFileInfo::EnsureClient() {
    if (FHttpCli)
        return;
    FHttpEvents = std::make_unique<THttpEvents>(*this);
    FHttpCli = std::make_unique<THttpCli>();
    FHttpCli->OnRequestDone = [this](QObject *sender, THttpRequest rq, quint16 error) {
        FHttpEvents->RequestDone(sender, rq, error);
    };
}

bool TWebFileInfo::GetAndWait(const QString &address, QIODevice *stream, QDialog *window) {
    if (FHttpCli->State() != httpReady) {
        // Another request runs: starting one raises the client's busy error, and the running
        // request keeps its address and stream.
        FHttpCli->GetASync();
    }
    FInterrupted = false;
    FAnswerTooLarge = false;
    FRequestEnded = false;
    FHttpCli->SetURL(OnPageServer(address));
    FHttpCli->SetReceiveStream(stream);
    struct TStreamRelease {
        THttpCli *Client;
        ~TStreamRelease() { Client->SetReceiveStream(nullptr); }
    } release{FHttpCli.get()};
    if (!FHttpCli->OnDocData) {
        // An answer held in memory may not grow without bound.
        FHttpCli->OnDocData = [this](QObject *, const char *, int) {
            if (FAnswerTooLarge || FHttpCli->BytesReceived() <= MaxAnswerSize)
                return;
            FAnswerTooLarge = true;
            FHttpCli->SetReceiveStream(nullptr);
            QTimer::singleShot(0, FHttpCli.get(), [client = FHttpCli.get()] {
                Guard(client, [client] { client->Abort(); });
            });
        };
    }
    struct TDocDataRelease {
        THttpCli *Client;
        ~TDocDataRelease() { Client->OnDocData = nullptr; }
    } unbind{FHttpCli.get()};
    FHttpCli->GetASync();
    if (!FRequestEnded)
        window->exec();
    return !FInterrupted;
}

QString TWebFileInfo::OnPageServer(const QString &address) const {
    if (!address.startsWith(QLatin1Char('/')) || address.startsWith(QLatin1String("//")))
        return address;
    const QUrl page(FPageURL.isEmpty() ? FHomeURL : FPageURL);
    return page.resolved(QUrl(address)).toString();
}

int TWebFileInfo::Status() const {
    return FAnswerTooLarge ? 404 : FHttpCli->StatusCode();
}

QString TWebFileInfo::Reason() const {
    return FAnswerTooLarge ? tr("Answer too large") : FHttpCli->ReasonPhrase();
}

void TWebFileInfo::RequestDone(int Error) {
    FRequestEnded = true;
    if (!FInterrupted)
        FLastError = Error != 0 ? Reason() : QString();
    if (FWaitWindow)
        FWaitWindow->done(mrOk);
    if (FProgressWindow)
        FProgressWindow->done(FProgressWindow->Cancelled ? mrCancel : mrOk);
}

void TWebFileInfo::ClearProductFields() {
    FDownloadURL.clear();
    FProductName.clear();
    FProductAuthor.clear();
    FProductAuthorEMail.clear();
    FProductDate = QDate();
    FProductDateStr.clear();
    FProductReadMe.clear();
    FProductReadMeExt.clear();
    FProductVersion.clear();
    FRedirectURL.clear();
    FRunParams.clear();
    FProductSha256.clear();
}

void TWebFileInfo::ParseInfoPage(const QStringList &lines) {
    const std::pair<QString, QString *> fields[] = {
        {FInfoTags.AuthorTag(), &FProductAuthor},
        {FInfoTags.AuthorEMailTag(), &FProductAuthorEMail},
        {FInfoTags.DateTag(), &FProductDateStr},
        {FInfoTags.DownloadTag(), &FDownloadURL},
        {FInfoTags.ProductNameTag(), &FProductName},
        {FInfoTags.ReadMeTag(), &FProductReadMe},
        {FInfoTags.ReadMeExtTag(), &FProductReadMeExt},
        {FInfoTags.RedirectTag(), &FRedirectURL},
        {FInfoTags.RunParamsTag(), &FRunParams},
        {FInfoTags.VersionTag(), &FProductVersion},
        {FInfoTags.Sha256Tag(), &FProductSha256},
    };
    for (const QString &line : lines) {
        const QString name = ExtractMetaName(line);
        if (name.isEmpty())
            continue; // no META entry, or one whose name no tag can match
        const QString value = ExtractContent(line);
        for (const auto &[tag, field] : fields)
            if (tag == name)
                *field = value;
    }
    if (!FProductDateStr.isEmpty() && FDateFormat == wfidDFSDate)
        FProductDate = ParseProductDate(FProductDateStr);
}

bool TWebFileInfo::RetrieveInfo() {
    if (FActive)
        return true;
    if (FHomeURL.isEmpty()) {
        MessageBox(tr("Can not retrieve version information") + Cr +
                       tr("because no home url was provided."),
                   tr("Missing Home URL"), mtWarning, mbOK);
        return false;
    }
    if (FInfoTags.AllEmpty()) {
        MessageBox(tr("Can not retrieve version information") + Cr +
                       tr("because no tag information was provided."),
                   tr("Missing Tag Information"), mtWarning, mbOK);
        return false;
    }
    HookExceptions();
    EnsureClient();
    if (FProxyHost.isEmpty()) {
        FHttpCli->SetProxy(QString());
        FHttpCli->SetProxyPort(QStringLiteral("80"));
    } else {
        FHttpCli->SetProxy(FProxyHost);
        FHttpCli->SetProxyPort(QString::number(FProxyPort));
    }
    std::unique_ptr<QDialog> wait(CreateWaitWindow(tr("Checking For Update...")));
    FWaitWindow = wait.get();
    bool result = false;
    for (int redirects = 0;; ++redirects) {
        QBuffer page;
        page.open(QIODevice::WriteOnly);
        FLastError.clear();
        const QString address = OnPageServer(FRedirectURL.isEmpty() ? FHomeURL : FRedirectURL);
        FPageURL = address;
        if (!GetAndWait(address, &page, wait.get())) {
            // An HTTP exception ended the wait; it has been reported.
            ClearProductFields();
            result = false;
            break;
        }
        if (Status() > 200) {
            FLastError = Reason();
            MessageBox(QString::number(Status()), QString(), mtCustom, mbOK);
        }
        ClearProductFields();
        result = FLastError.isEmpty();
        if (result) {
            ParseInfoPage(TextLines(page.data()));
            FUpdateFileName = SafeFileName(AfterLastSlash(FDownloadURL), QStringLiteral("update"));
        }
        if (FRedirectURL.isEmpty())
            break;
        if (redirects == MaxRedirects) {
            ClearProductFields();
            FLastError = tr("Too many redirections");
            result = false;
            break;
        }
    }
    FActive = result;
    return result;
}

bool TWebFileInfo::IsNewerVersion() const {
    if (FVersionFormat == wfivSimpleString)
        return FCurrentVersion < FProductVersion;
    return IsNewerBuildNumber(FCurrentVersion, FProductVersion);
}

bool TWebFileInfo::PerformUpdate() {
    if (!RetrieveInfo()) {
        MessageBox(tr("Could not retrieve version information from the Internet.") + Cr +
                       ErrorLine(FLastError),
                   tr("Connection Error"), mtWarning, mbOK);
        return false;
    }
    if (!IsNewerVersion()) {
        MessageBox(tr("There is no update available."), tr("No Update Found"), mtInformation, mbOK);
        return false;
    }
    if (FOptions & wfioDisplayReadMe)
        ShowReadMe(true);
    const QString available = tr("Current version is %1.").arg(FCurrentVersion) + Cr +
                              tr("Version %1 is available.").arg(FProductVersion) + Cr;
    if (MessageBox(available + tr("Download the update?"), tr("Update Available"), mtConfirmation,
                   mbYes | mbNo) != mrYes)
        return false;

    QString fileName = FUpdateFileName;
    int filter = 0;
    if (!SaveFileDialog(
            OwnerWindow(), tr("Save As"),
            {tr("Application (*.EXE *.exe)"), tr("Zipped File (*.ZIP *.zip)"), tr("All Files (*)")},
            {QStringLiteral("EXE"), QStringLiteral("ZIP"), QString()},
            ProposedFolder({QStandardPaths::writableLocation(QStandardPaths::DownloadLocation)}),
            fileName, filter))
        return false;
    if (!DownloadUpdate(fileName)) {
        MessageBox(tr("Error occurred while downloading update.") + Cr + ErrorLine(FLastError),
                   tr("Download Error"), mtWarning, mbOK);
        return false;
    }
    if (!(FOptions & wfioRunUpdate))
        return true;
    const bool exit = FOptions & wfioExitDuringUpdate;
    QString question = tr("Do you want to install the update now?");
    if (exit)
        question += Cr + tr("This will close %1.").arg(QCoreApplication::applicationName());
    if (MessageBox(question, tr("Install Update"), mtConfirmation, mbYes | mbNo) != mrYes)
        return true;
    if (ShellExecuteDownloaded(OwnerWindow(), FTargetFile, FRunParams) > 32) {
        if (exit) {
            if (OnTerminating)
                OnTerminating(this);
            if (TApplication *app = Application())
                app->Terminate();
        }
        return true;
    }
    MessageBox(tr("Can not start program."), tr("Error"), mtWarning, mbOK);
    return true;
}

bool TWebFileInfo::ShowReadMe(bool ask) {
    if (!(FActive || RetrieveInfo()) || (FProductReadMe.isEmpty() && FProductReadMeExt.isEmpty()))
        return false;
    if (ask && MessageBox(tr("Current version is %1.").arg(FCurrentVersion) + Cr +
                              tr("Version %1 is available.").arg(FProductVersion) + Cr +
                              tr("Would you like to view the ReadMe file?"),
                          tr("Update Available"), mtConfirmation, mbYes | mbNo) != mrYes)
        return false;
    if (!FProductReadMeExt.isEmpty()) {
        const QString folder = ReadMeFolder();
        const QString file =
            folder + QLatin1Char('/') +
            SafeFileName(AfterLastSlash(FProductReadMeExt), QStringLiteral("readme.txt"));
        if (!folder.isEmpty() && DownloadFile(FProductReadMeExt, file, tr("Downloading ReadMe")) &&
            ShellExecute(OwnerWindow(), QStringLiteral("open"), file, QString(), QString(),
                         SW_SHOWNORMAL) > 32)
            return true;
        MessageBox(tr("Can not start program."), tr("Error"), mtWarning, mbOK);
    }
    if (!FProductReadMe.isEmpty()) {
        if (std::unique_ptr<QDialog> window{CreateReadMeWindow()})
            window->exec();
        else if (!FInterrupted) // an HTTP exception has said so already
            MessageBox(tr("The ReadMe could not be shown: ") + FLastError, tr("Update Available"),
                       mtWarning, mbOK);
    }
    return true;
}

bool TWebFileInfo::DownloadUpdate(const QString &fileName) {
    if (!FActive && !RetrieveInfo())
        return false;
    FTargetFile = fileName.endsWith(QLatin1Char('/')) ? fileName + FUpdateFileName : fileName;
    return DownloadFile(FDownloadURL, FTargetFile, tr("Downloading Update"), FProductSha256);
}

bool TWebFileInfo::DownloadFile(const QString &address, const QString &targetPath,
                                const QString &caption, const QString &sha256) {
    FLastError.clear();
    // The bytes go to a temporary file beside the target, which replaces the target only
    // once the whole answer has arrived: a failed or cancelled download leaves nothing behind
    // and keeps a file the user already had under that name.
    QSaveFile file(targetPath);
    if (!file.open(QIODevice::WriteOnly)) {
        FLastError = tr("Cannot create %1: %2").arg(targetPath, file.errorString());
        return false;
    }
    EnsureClient();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    FHttpCli->OnDocData = [this, &hash](QObject *, const char *buffer, int length) {
        hash.addData(QByteArrayView(buffer, length));
        ReportProgress(FHttpCli->BytesReceived(), FHttpCli->ContentLength());
    };
    std::unique_ptr<TWebDlProgress> progress(CreateProgressWindow());
    FProgressWindow = progress.get();
    progress->lblDownloading->setText(caption);
    if (!GetAndWait(address, &file, progress.get()))
        return false;
    if (Status() > 200) {
        FLastError = Reason();
        return false;
    }
    // A cut-off or corrupted file is not kept, let alone started.
    if (!sha256.isEmpty() && hash.result().toHex() != sha256.trimmed().toLower().toLatin1()) {
        FLastError = tr("Checksum mismatch");
        return false;
    }
    if (!file.commit()) {
        FLastError = file.errorString();
        return false;
    }
    return true;
}

void TWebFileInfo::ReportProgress(qint64 received, qint64 total) {
    if (FProgressWindow && !FProgressWindow->Cancelled) {
        if (total > 0) {
            const int percent = int(std::clamp<qint64>(
                received / total * 100 + received % total * 100 / total, 0, 100));
            FProgressWindow->lblProgress->setText(
                tr("%1 of %2 bytes received.")
                    .arg(FormatThousands(received), FormatThousands(total)));
            if (percent > FProgressWindow->pbarProgress->value())
                FProgressWindow->pbarProgress->setValue(percent);
        } else {
            FProgressWindow->lblProgress->setText(
                tr("%1 bytes received.").arg(FormatThousands(received)));
        }
    }
    if (OnDownloadProgress)
        OnDownloadProgress(this, received, total);
}

// ---- The exception hook -------------------------------------------------------------------

void TWebFileInfo::HookExceptions() {
    TApplication *app = Application();
    if (FHooked || !app)
        return;
    FSavedHandler = app->OnException;
    app->OnException = [this](QObject *sender, const std::exception &e) {
        HandleAppException(sender, e);
    };
    FHooked = true;
}

void TWebFileInfo::UnhookExceptions() {
    if (!FHooked)
        return;
    if (TApplication *app = Application())
        app->OnException = FSavedHandler;
    FSavedHandler = nullptr;
    FHooked = false;
}

void TWebFileInfo::HandleAppException(QObject *Sender, const std::exception &E) {
    if (!dynamic_cast<const EHttpException *>(&E)) {
        if (FSavedHandler)
            FSavedHandler(Sender, E);
        else
            MessageDlg(QString::fromUtf8(E.what()), mtError, mbOK);
        return;
    }
    const QString message = QString::fromUtf8(E.what());
    FLastError = message;
    // The running request is aborted first; its end closes the window its wait runs in, so
    // that no window and no stream goes away while the request or a wait still uses it.
    FInterrupted = true;
    if (FHttpCli) {
        FHttpCli->SetReceiveStream(nullptr);
        FHttpCli->OnDocData = nullptr;
        if (FHttpCli->State() != httpReady && !FRequestEnded) {
            FHttpCli->Abort();
        } else {
            if (FWaitWindow)
                FWaitWindow->done(mrCancel);
            if (FProgressWindow)
                FProgressWindow->done(mrCancel);
        }
    }
    UnhookExceptions();
    MessageBox(tr("Error retrieving update information.") + Cr + tr("Exception: %1.").arg(message),
               tr("Exception"), mtWarning, mbOK);
}
