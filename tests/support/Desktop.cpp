#include "tests/support/Desktop.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

TDesktop *TheDesktop = nullptr;

// Starts a program with the given arguments; it is ended when the test program ends, however
// that happens. keepFd stays open in the child (-1: none).
pid_t Spawn(const QString &program, const QStringList &arguments, int keepFd = -1) {
    std::vector<QByteArray> args{QFile::encodeName(program)};
    for (const QString &a : arguments)
        args.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0)
        return pid; // the child's id, or -1
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent)
        _exit(127);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    for (int fd = 3; fd < 1024; ++fd)
        if (fd != keepFd)
            close(fd);
    execv(argv[0], argv.data());
    _exit(127);
}

void End(pid_t &pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    pid = 0;
}

bool Exited(pid_t pid) {
    return waitpid(pid, nullptr, WNOHANG) == pid;
}

} // namespace

TDesktop::~TDesktop() {
    End(FWindowManager);
    End(FServer);
    if (TheDesktop == this)
        TheDesktop = nullptr;
}

TDesktop *TDesktop::Current() {
    return TheDesktop;
}

bool TDesktop::Fail(const QString &why) {
    End(FWindowManager);
    End(FServer);
    FDisplay.clear();
    FFailure = why;
    return false;
}

bool TDesktop::Start() {
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    if (xvfb.isEmpty())
        return Fail(QStringLiteral("Xvfb is not installed"));
    if (openbox.isEmpty())
        return Fail(QStringLiteral("openbox is not installed"));

    // Xvfb finds a free display itself and writes its number to the pipe once it accepts
    // connections.
    int ready[2];
    if (pipe(ready) != 0)
        return Fail(QStringLiteral("no pipe"));
    FServer = Spawn(xvfb,
                    {QStringLiteral("-displayfd"), QString::number(ready[1]),
                     QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                     QStringLiteral("-nolisten"), QStringLiteral("tcp")},
                    ready[1]);
    close(ready[1]);
    QByteArray number;
    pollfd p{ready[0], POLLIN, 0};
    while (FServer > 0 && poll(&p, 1, 10000) > 0) {
        char buffer[16];
        const ssize_t n = read(ready[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        number.append(buffer, n);
        if (number.contains('\n'))
            break;
    }
    close(ready[0]);
    if (FServer <= 0 || number.trimmed().isEmpty())
        return Fail(QStringLiteral("Xvfb did not start"));
    FDisplay = QLatin1Char(':') + QString::fromLatin1(number.trimmed());

    // openbox runs its start-up command once it manages the screen.
    QTemporaryDir flagDir;
    const QString flag = flagDir.filePath(QStringLiteral("managing"));
    qputenv("DISPLAY", FDisplay.toLocal8Bit());
    FWindowManager = Spawn(openbox, {QStringLiteral("--sm-disable"), QStringLiteral("--startup"),
                                     QStringLiteral("touch ") + flag});
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(flag)) {
        if (FWindowManager <= 0 || Exited(FWindowManager)) {
            FWindowManager = 0;
            return Fail(QStringLiteral("openbox did not start on ") + FDisplay);
        }
        if (waited.elapsed() > 10000)
            return Fail(QStringLiteral("openbox did not manage ") + FDisplay + " in time");
        QThread::msleep(20);
    }
    FFailure.clear();
    return true;
}

void UseDesktop(TDesktop &desktop) {
    TheDesktop = &desktop;
    if (desktop.Start()) {
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("DISPLAY", desktop.Display().toLocal8Bit());
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

TRealMessageBoxes::TRealMessageBoxes()
    : FPrevious(SetDialogResponder({})), FTimer(new QTimer(this)) {
    FTimer->setInterval(20);
    connect(FTimer, &QTimer::timeout, this, &TRealMessageBoxes::Answer);
    FTimer->start();
}

TRealMessageBoxes::~TRealMessageBoxes() {
    SetDialogResponder(FPrevious);
}

void TRealMessageBoxes::Answer() {
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isActiveWindow() || box->property("Answered").toBool())
        return;
    box->setProperty("Answered", true);
    FTexts << box->text();
    QTest::keyClick(box, Qt::Key_Return);
}
