#include "tests/support/LoopbackServer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <arpa/inet.h>
#include <chrono>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

struct LoopbackServer::TShared {
    std::mutex Lock;
    std::vector<Script> Scripts;
    QList<QByteArray> Requests;
    int Accepted = 0;
    std::atomic<int> Finished{0};
    std::atomic<bool> Stop{false};
    int Listener = -1;
    std::thread Acceptor;
    std::vector<std::thread> Workers;

    Script ScriptFor(int Connection) {
        std::lock_guard<std::mutex> guard(Lock);
        if (Scripts.empty())
            return Answer(HttpAnswer(404, "Not Found", "<html>no script</html>"));
        return Scripts[size_t(std::min<int>(Connection, int(Scripts.size()) - 1))];
    }

    // Waits until the socket is readable, the server stops or the time is up.
    bool WaitReadable(int Fd, int Milliseconds) const {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(Milliseconds);
        while (!Stop && std::chrono::steady_clock::now() < end) {
            pollfd p{Fd, POLLIN, 0};
            if (poll(&p, 1, 20) > 0)
                return true;
        }
        return false;
    }

    QByteArray ReadRequest(int Fd) const {
        QByteArray bytes;
        char block[4096];
        qint64 bodyEnd = -1;
        while (WaitReadable(Fd, 10000)) {
            const ssize_t n = recv(Fd, block, sizeof block, 0);
            if (n <= 0)
                break;
            bytes.append(block, n);
            if (bodyEnd < 0) {
                const qsizetype end =
                    bytes.indexOf("\r\n\r\n", std::max<qsizetype>(0, bytes.size() - n - 3));
                if (end < 0)
                    continue;
                qint64 length = 0;
                for (const QByteArray &line : bytes.left(end).split('\n')) {
                    if (line.toLower().startsWith("content-length:"))
                        length = line.mid(15).trimmed().toLongLong();
                }
                bodyEnd = end + 4 + length;
            }
            if (bytes.size() >= bodyEnd)
                break;
        }
        return bytes;
    }

    static bool SendAll(int Fd, const char *Data, qint64 Len) {
        while (Len > 0) {
            const ssize_t n = send(Fd, Data, size_t(Len), MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            Data += n;
            Len -= n;
        }
        return true;
    }

    static bool SendPattern(int Fd, qint64 Count) {
        // A whole number of pattern periods, so every block starts the pattern afresh.
        static const QByteArray block = [] {
            QByteArray bytes(23 * 11400, Qt::Uninitialized);
            for (qsizetype i = 0; i < bytes.size(); ++i)
                bytes[i] = PatternByte(i);
            return bytes;
        }();
        while (Count > 0) {
            const qint64 n = std::min<qint64>(Count, block.size());
            if (!SendAll(Fd, block.constData(), n))
                return false;
            Count -= n;
        }
        return true;
    }

    void Serve(int Fd, int Connection) {
        const int on = 1;
        setsockopt(Fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        bool open = true;
        for (const Step &step : ScriptFor(Connection)) {
            if (!open || Stop)
                break;
            switch (step.What) {
            case Step::ReadRequest: {
                const QByteArray request = ReadRequest(Fd);
                std::lock_guard<std::mutex> guard(Lock);
                Requests << request;
                break;
            }
            case Step::Send:
                open = SendAll(Fd, step.Bytes.constData(), step.Bytes.size());
                break;
            case Step::SendPattern:
                open = SendPattern(Fd, step.Count);
                break;
            case Step::Pause:
                for (int waited = 0; waited < step.Milliseconds && !Stop; waited += 5)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                break;
            case Step::Close:
                // Say we are done, then wait for the client's own close, so that nothing it
                // still sends turns our close into a reset.
                shutdown(Fd, SHUT_WR);
                while (WaitReadable(Fd, 5000)) {
                    char discard[4096];
                    if (recv(Fd, discard, sizeof discard, 0) <= 0)
                        break;
                }
                open = false;
                break;
            case Step::Reset: {
                const linger hard{1, 0};
                setsockopt(Fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
                open = false;
                break;
            }
            case Step::Stall:
                while (!Stop) {
                    if (!WaitReadable(Fd, 50))
                        continue;
                    char discard[4096];
                    if (recv(Fd, discard, sizeof discard, 0) <= 0)
                        break;
                }
                open = false;
                break;
            }
        }
        close(Fd);
        ++Finished;
    }

    void AcceptLoop() {
        while (!Stop) {
            pollfd p{Listener, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0)
                continue;
            const int fd = accept(Listener, nullptr, nullptr);
            if (fd < 0)
                continue;
            int connection = 0;
            {
                std::lock_guard<std::mutex> guard(Lock);
                connection = Accepted++;
            }
            Workers.emplace_back([this, fd, connection] { Serve(fd, connection); });
        }
    }
};

LoopbackServer::LoopbackServer(const QString &Address) : FShared(std::make_shared<TShared>()) {
    const bool six = Address.contains(QLatin1Char(':'));
    FHost = six ? "[" + Address + "]" : Address;
    const int fd = socket(six ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_storage address{};
    address.ss_family = six ? AF_INET6 : AF_INET;
    void *host = six ? static_cast<void *>(&reinterpret_cast<sockaddr_in6 &>(address).sin6_addr)
                     : static_cast<void *>(&reinterpret_cast<sockaddr_in &>(address).sin_addr);
    socklen_t len = six ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
    if (inet_pton(address.ss_family, Address.toLatin1().constData(), host) != 1 ||
        bind(fd, reinterpret_cast<sockaddr *>(&address), len) != 0 || listen(fd, 64) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr *>(&address), &len) != 0)
        qFatal("LoopbackServer: cannot listen on %s", qPrintable(Address));
    FPort = ntohs(six ? reinterpret_cast<sockaddr_in6 &>(address).sin6_port
                      : reinterpret_cast<sockaddr_in &>(address).sin_port);
    FShared->Listener = fd;
    FShared->Acceptor = std::thread([shared = FShared.get()] { shared->AcceptLoop(); });
}

LoopbackServer::~LoopbackServer() {
    FShared->Stop = true;
    FShared->Acceptor.join();
    for (std::thread &worker : FShared->Workers)
        worker.join();
    close(FShared->Listener);
}

QString LoopbackServer::Url(const QString &Path) const {
    return QStringLiteral("http://%1:%2%3").arg(FHost).arg(FPort).arg(Path);
}

void LoopbackServer::SetScripts(std::vector<Script> Scripts) {
    std::lock_guard<std::mutex> guard(FShared->Lock);
    FShared->Scripts = std::move(Scripts);
}

QList<QByteArray> LoopbackServer::Requests() const {
    std::lock_guard<std::mutex> guard(FShared->Lock);
    return FShared->Requests;
}

int LoopbackServer::Connections() const {
    std::lock_guard<std::mutex> guard(FShared->Lock);
    return FShared->Accepted;
}

bool LoopbackServer::WaitForFinished(int Count, int Milliseconds) const {
    QDeadlineTimer deadline(Milliseconds);
    while (FShared->Finished < Count && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return FShared->Finished >= Count;
}

LoopbackServer::Script LoopbackServer::Answer(const QByteArray &Bytes) {
    return {ReadRequest(), Send(Bytes), Close()};
}

LoopbackServer::Script LoopbackServer::AnswerInPieces(const QByteArray &Bytes,
                                                      const QList<int> &CutOffsets,
                                                      int PauseMilliseconds) {
    Script script{ReadRequest()};
    int from = 0;
    for (int cut : CutOffsets) {
        script.push_back(Send(Bytes.mid(from, cut - from)));
        script.push_back(Pause(PauseMilliseconds));
        from = cut;
    }
    script.push_back(Send(Bytes.mid(from)));
    script.push_back(Close());
    return script;
}

QByteArray LoopbackServer::HttpAnswer(int Status, const QByteArray &Reason, const QByteArray &Body,
                                      const QList<QByteArray> &ExtraHeaders,
                                      const QByteArray &ContentType) {
    QByteArray bytes = "HTTP/1.0 " + QByteArray::number(Status) + ' ' + Reason + "\r\n";
    bytes += "Content-Type: " + ContentType + "\r\n";
    bytes += "Content-Length: " + QByteArray::number(Body.size()) + "\r\n";
    for (const QByteArray &line : ExtraHeaders)
        bytes += line + "\r\n";
    return bytes + "\r\n" + Body;
}

quint16 LoopbackServer::RefusingPort() {
    // Bound and never listening, for the rest of the program: nobody else gets the port, and a
    // connection to it is refused.
    static const quint16 port = [] {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof address;
        if (bind(fd, reinterpret_cast<sockaddr *>(&address), len) != 0 ||
            getsockname(fd, reinterpret_cast<sockaddr *>(&address), &len) != 0)
            qFatal("LoopbackServer: cannot bind a port on 127.0.0.1");
        return quint16(ntohs(address.sin_port));
    }();
    return port;
}
