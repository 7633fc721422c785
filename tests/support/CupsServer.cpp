#include "tests/support/CupsServer.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>
#include <cups/cups.h>

namespace {

QString FindProgram(const QString &name) {
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin", "/usr/bin"});
    return path;
}

bool WriteFile(const QString &path, const QString &text) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text.toUtf8()) >= 0;
}

} // namespace

// The folder is short: the socket's whole path must fit the 108 bytes of a socket address.
CupsServer::CupsServer()
    : FRoot(QDir::tempPath() + "/qv-cups-XXXXXX"), FSocket(FRoot.filePath("cups.sock")),
      FFormerServer(qgetenv("CUPS_SERVER")),
      FHadFormerServer(qEnvironmentVariableIsSet("CUPS_SERVER")) {
    for (const char *folder : {"conf", "spool", "cache", "state", "temp", "log"})
        QDir(FRoot.path()).mkpath(folder);
}

CupsServer::~CupsServer() {
    Stop();
    if (FHadFormerServer)
        qputenv("CUPS_SERVER", FFormerServer);
    else
        qunsetenv("CUPS_SERVER");
    cupsSetServer(nullptr); // back to the default for this thread
}

bool CupsServer::Start() {
    const QString cupsd = FindProgram("cupsd");
    if (cupsd.isEmpty() || FindProgram("lpadmin").isEmpty()) {
        FFailure = "CUPS is not installed (scripts/install-deps installs cups-daemon and "
                   "cups-client)";
        return false;
    }
    const QString conf = FRoot.filePath("conf");
    const bool written =
        WriteFile(conf + "/cupsd.conf",
                  QString("Listen %1\nLogLevel warn\nWebInterface No\nBrowsing No\n"
                          "DefaultAuthType None\n<Location />\n  Order allow,deny\n"
                          "  Allow all\n</Location>\n<Policy default>\n  <Limit All>\n"
                          "    Order deny,allow\n  </Limit>\n</Policy>\n")
                      .arg(FSocket)) &&
        WriteFile(conf + "/cups-files.conf",
                  QString("ServerRoot %1/conf\nRequestRoot %1/spool\nCacheDir %1/cache\n"
                          "StateDir %1/state\nTempDir %1/temp\nAccessLog %1/log/access_log\n"
                          "ErrorLog %1/log/error_log\nPageLog %1/log/page_log\n"
                          "FileDevice Yes\nSandboxing Relaxed\n")
                      .arg(FRoot.path()));
    if (!written) {
        FFailure = "cannot write the configuration";
        return false;
    }
    // This process and the commands it starts ask this scheduler.
    qputenv("CUPS_SERVER", FSocket.toLocal8Bit());
    cupsSetServer(FSocket.toLocal8Bit().constData());
    FProcess.setProcessChannelMode(QProcess::MergedChannels);
    FProcess.start(cupsd, {"-f", "-c", conf + "/cupsd.conf", "-s", conf + "/cups-files.conf"});
    if (!FProcess.waitForStarted(5000)) {
        FFailure = "cupsd does not start: " + FProcess.errorString();
        return false;
    }
    for (int i = 0; i < 100; ++i) {
        if (http_t *http = httpConnect2(FSocket.toLocal8Bit().constData(), 0, nullptr, AF_UNSPEC,
                                        HTTP_ENCRYPTION_NEVER, 1, 1000, nullptr)) {
            httpClose(http);
            return true;
        }
        if (FProcess.state() == QProcess::NotRunning)
            break;
        QTest::qWait(50);
    }
    FFailure = "cupsd does not come up: " + QString::fromLocal8Bit(FProcess.readAll()).trimmed();
    Stop();
    return false;
}

void CupsServer::Stop() {
    if (FProcess.state() == QProcess::NotRunning)
        return;
    FProcess.terminate();
    if (!FProcess.waitForFinished(5000))
        FProcess.kill();
    FProcess.waitForFinished(1000);
}

bool CupsServer::AddQueue(const QString &name) {
    return Run("lpadmin", {"-p", name, "-E", "-v", "file:///dev/null"}) &&
           Run("lpadmin", {"-d", name});
}

bool CupsServer::Run(const QString &command, const QStringList &arguments) {
    const QString program = FindProgram(command);
    if (program.isEmpty())
        return false;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

int CupsServer::JobCount(const QString &queue) const {
    cups_job_t *jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.toLocal8Bit().constData(), 0,
                                   CUPS_WHICHJOBS_ALL);
    cupsFreeJobs(count, jobs);
    return std::max(count, 0);
}
