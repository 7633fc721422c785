// Arbitrary bytes as a server's answer, cut into pieces of a size taken from the input: the client
// reads them from a real loopback connection and must end the request exactly once, in the ready
// state, with a body that matches its counts. Every connection goes through a "proxy" on
// loopback, so no relocation in the input can make the client leave the machine.
#include "update/HttpProt.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

[[noreturn]] void Fail(const char *condition, int line) {
    std::fprintf(stderr, "fuzz_HttpProt.cpp:%d: check failed: %s\n", line, condition);
    std::abort();
}
#define CHECK(condition) ((condition) ? void(0) : Fail(#condition, __LINE__))

int Listener = -1;
quint16 ListenerPort = 0;

// No event loop runs here, so objects handed to deleteLater are deleted by hand.
void RunEvents(int Milliseconds) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, Milliseconds);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Accepts a connection the client has started, without waiting for one that never comes.
int AcceptWaiting(int Milliseconds) {
    pollfd p{Listener, POLLIN, 0};
    if (poll(&p, 1, Milliseconds) <= 0)
        return -1;
    return accept4(Listener, nullptr, nullptr, SOCK_CLOEXEC);
}

void SendAll(int Fd, const uint8_t *Data, size_t Len) {
    while (Len > 0) {
        const ssize_t n = send(Fd, Data, Len, MSG_NOSIGNAL);
        if (n <= 0)
            return;
        Data += n;
        Len -= size_t(n);
    }
}

void Drain(int Fd) {
    char discard[4096];
    while (recv(Fd, discard, sizeof discard, MSG_DONTWAIT) > 0) {
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    static QCoreApplication app(*argc, *argv);
    Listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof address;
    if (bind(Listener, reinterpret_cast<sockaddr *>(&address), len) != 0 ||
        listen(Listener, 16) != 0 ||
        getsockname(Listener, reinterpret_cast<sockaddr *>(&address), &len) != 0)
        Fail("a loopback listener", __LINE__);
    ListenerPort = ntohs(address.sin_port);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size) {
    if (Size == 0 || Size > 65536)
        return 0;
    // The first byte sets the piece size: 0 sends the whole answer at once.
    const size_t piece = Data[0] == 0 ? Size : size_t(Data[0]);
    ++Data;
    --Size;

    THttpCli cli;
    QBuffer body;
    body.open(QIODevice::WriteOnly);
    cli.SetReceiveStream(&body);
    cli.SetProxy("127.0.0.1");
    cli.SetProxyPort(QString::number(ListenerPort));
    cli.SetReceiveTimeout(2000);
    cli.SetURL("http://www.tamblewick.example/Vormex/Vormex.htm");
    int done = 0;
    cli.OnRequestDone = [&](QObject *, THttpRequest, quint16) {
        ++done;
    };
    cli.StartRequest(httpGET);

    const int server = AcceptWaiting(1000);
    CHECK(server >= 0);
    const QDeadlineTimer sent(1000);
    while (cli.State() != httpReceivingHeader && !done && !sent.hasExpired())
        RunEvents(5);
    Drain(server);
    for (size_t at = 0; at < Size && !done; at += piece) {
        SendAll(server, Data + at, std::min(piece, Size - at));
        RunEvents(1);
    }
    shutdown(server, SHUT_WR);

    // Relocations come back to the listener: those connections are closed unanswered.
    std::vector<int> others;
    const QDeadlineTimer deadline(5000);
    while (!done && !deadline.hasExpired()) {
        RunEvents(5);
        Drain(server);
        const int other = AcceptWaiting(0);
        if (other >= 0) {
            others.push_back(other);
            close(other);
        }
    }
    RunEvents(5);
    close(server);

    CHECK(done == 1);
    CHECK(cli.State() == httpReady);
    CHECK(cli.StatusCode() >= 0 && cli.StatusCode() <= 999);
    CHECK(cli.BytesReceived() >= 0 && body.size() <= cli.BytesReceived());
    const bool failed = cli.StatusCode() >= 400;
    if (!failed)
        CHECK(body.size() == cli.BytesReceived());
    if (!failed && cli.StatusCode() != 204 && cli.StatusCode() != 304 &&
        !(cli.StatusCode() >= 100 && cli.StatusCode() < 200) && cli.ContentLength() >= 0)
        CHECK(cli.BytesReceived() >= cli.ContentLength());
    // Without a status line only a page that starts at once is a success.
    if (cli.StatusCode() == 0)
        CHECK(body.data().left(6).toUpper() == "<HTML>");
    return 0;
}
