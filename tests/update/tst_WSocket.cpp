#include "update/WSocket.h"

#include "tests/support/EscapeCheckedTest.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Row.h"
#include "tests/support/TestMain.h"

#include <QTest>
#include <cerrno>

namespace {

// A socket with every event recorded as a short line.
struct Probe {
    TWSocket Socket;
    QStringList Events;
    QByteArray Received;
    int DataSent = 0;

    Probe() {
        Socket.OnSessionConnected = [this](QObject *, quint16 E) {
            Events << QString("connected %1").arg(E);
        };
        Socket.OnSessionClosed = [this](QObject *, quint16 E) {
            Events << QString("closed %1").arg(E);
        };
        Socket.OnDataSent = [this](QObject *, quint16) {
            ++DataSent;
        };
        Socket.OnDataAvailable = [this](QObject *, quint16) {
            char block[7];
            const int n = Socket.Receive(block, sizeof block);
            if (n > 0) {
                Received.append(block, n);
                if (Events.isEmpty() || Events.last() != "data")
                    Events << "data";
            }
        };
        Socket.OnChangeState = [this](QObject *, TSocketState, TSocketState New) {
            Events << QString("state %1").arg(New);
        };
    }

    bool ConnectTo(quint16 Port) {
        Socket.SetAddr("127.0.0.1");
        Socket.SetPort(QString::number(Port));
        Socket.Connect();
        return QTest::qWaitFor([this] { return Socket.State() != wsConnecting; }, 5000);
    }
};

QString Raised(const std::function<void()> &Call) {
    try {
        Call();
    } catch (const ESocketException &E) {
        return QString::fromStdString(E.Message());
    }
    return QString();
}

} // namespace

class TestWSocket : public EscapeCheckedTest {
    Q_OBJECT

private slots:
    void lookup_data();
    void lookup();
    void lookupOrder_data();
    void lookupOrder();
    void settersWhileConnected_data();
    void settersWhileConnected();
    void connectChecks_data();
    void connectChecks();
    void sendWhenNotConnected();
    void sendSpreadOverBlocks_data();
    void sendSpreadOverBlocks();
    void dataBeforeClose();
    void exceptionInDataAvailableStaysInside();
    void refusedConnection();
    void sendAfterShutdownClosesSession();
    void closeRaisesClosedOnce();
    void eventOfEarlierConnectionDropped();
    void errorTexts_data();
    void errorTexts();
};

void TestWSocket::lookup_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("atOnce");
    QTest::addColumn<QString>("result");

    QTest::newRow("dotted") << "127.0.0.1" << true << "127.0.0.1";
    QTest::newRow("short dotted form") << "10.1" << true << "10.0.0.1";
    QTest::newRow("all ones is looked up") << "255.255.255.255" << false << "255.255.255.255";
    QTest::newRow("localhost gives IPv4") << "localhost" << false << "127.0.0.1";
    QTest::newRow("IPv6") << "::1" << true << "::1";
    QTest::newRow("IPv6 in full") << "0:0:0:0:0:0:0:1" << true << "::1";
}

// What a name lookup offers, from the resolver's answer.
void TestWSocket::lookupOrder_data() {
    QTest::addColumn<QStringList>("found");
    QTest::addColumn<QStringList>("offered");
    QTest::newRow("IPv4 alone") << QStringList{"10.0.0.1"} << QStringList{"10.0.0.1"};
    QTest::newRow("IPv6 alone") << QStringList{"fd00::2", "::1"} << QStringList{"fd00::2", "::1"};
    Row("both: IPv4 first", QStringList{"fd00::2", "10.0.0.2", "::1", "10.0.0.1"},
        QStringList{"10.0.0.2", "10.0.0.1", "fd00::2", "::1"});
}

void TestWSocket::lookupOrder() {
    QFETCH(QStringList, found);
    QFETCH(QStringList, offered);
    QList<QHostAddress> addresses;
    for (const QString &address : found)
        addresses << QHostAddress(address);
    QCOMPARE(LookupOrder(addresses), offered);
}

void TestWSocket::lookup() {
    QFETCH(QString, name);
    QFETCH(bool, atOnce);
    QFETCH(QString, result);

    TWSocket socket;
    QList<int> done;
    socket.OnDnsLookupDone = [&](QObject *, quint16 E) {
        done << E;
    };
    socket.DnsLookup(name);
    QCOMPARE(done.size(), atOnce ? 1 : 0);
    QVERIFY(QTest::qWaitFor([&] { return !done.isEmpty(); }, 5000));
    QCOMPARE(done, QList<int>{0});
    QCOMPARE(socket.DnsResult(), result);

    // A lookup cancelled while it runs answers 10004 at once, and nothing more follows.
    done.clear();
    socket.DnsLookup("localhost");
    socket.CancelDnsLookup();
    QCOMPARE(done, QList<int>{10004});
    QTest::qWait(100);
    QCOMPARE(done, QList<int>{10004});

    QCOMPARE(Raised([&] { socket.DnsLookup(""); }), QString("DNS lookup: invalid host name."));
}

void TestWSocket::settersWhileConnected_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("message");
    QTest::newRow("Addr") << 0 << "Cannot change Addr if not closed";
    QTest::newRow("Port") << 1 << "Cannot change Port if not closed";
    QTest::newRow("Proto") << 2 << "Cannot change Proto if not closed";
}

void TestWSocket::settersWhileConnected() {
    QFETCH(int, which);
    QFETCH(QString, message);

    LoopbackServer server;
    server.SetScript({LoopbackServer::Stall()});
    Probe probe;
    QVERIFY(probe.ConnectTo(server.Port()));
    QCOMPARE(probe.Socket.State(), wsConnected);
    const QString port = probe.Socket.Port();
    QCOMPARE(Raised([&] {
                 if (which == 0)
                     probe.Socket.SetAddr("10.0.0.1");
                 else if (which == 1)
                     probe.Socket.SetPort("81");
                 else
                     probe.Socket.SetProto("udp");
             }),
             message);
    QCOMPARE(probe.Socket.State(), wsConnected);
    QCOMPARE(probe.Socket.Addr(), QString("127.0.0.1"));
    QCOMPARE(probe.Socket.Proto(), QString("tcp"));
    QVERIFY(probe.Socket.SendStr("still\r\n\r\n") > 0);
}

void TestWSocket::connectChecks_data() {
    QTest::addColumn<QString>("addr");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("message");
    QTest::newRow("no port") << "127.0.0.1"
                             << ""
                             << "Connect: No Port Specified";
    QTest::newRow("no address") << ""
                                << "80"
                                << "Connect: No IP Address Specified";
    QTest::newRow("unknown service") << "127.0.0.1"
                                     << "no-such-service"
                                     << "SetPort: Cannot convert port 'no-such-service'";
    QTest::newRow("name that cannot be resolved")
        << "no such host"
        << "80"
        << "SetAddr: Cannot convert host address 'no such host'";
}

void TestWSocket::connectChecks() {
    QFETCH(QString, addr);
    QFETCH(QString, port);
    QFETCH(QString, message);
    TWSocket socket;
    QCOMPARE(Raised([&] {
                 socket.SetAddr(addr);
                 socket.SetPort(port);
                 socket.Connect();
             }),
             message);
    QCOMPARE(socket.State(), wsClosed);
}

void TestWSocket::sendWhenNotConnected() {
    TWSocket socket;
    QCOMPARE(Raised([&] { socket.Send("x", 1); }),
             QString("Error 10057 in function Send\r\nSocket is not connected"));

    // With an error handler the caller gets -1 instead of the exception.
    int errors = 0;
    socket.OnError = [&](QObject *) {
        ++errors;
    };
    QCOMPARE(socket.Send("x", 1), -1);
    QCOMPARE(errors, 1);
    QCOMPARE(socket.LastError(), 10057);
}

void TestWSocket::sendSpreadOverBlocks_data() {
    QTest::addColumn<int>("size");
    QTest::newRow("three blocks and a bit") << 3 * 1514 + 7;
    QTest::newRow("more than the system takes at once") << 8 * 1024 * 1024;
}

void TestWSocket::sendSpreadOverBlocks() {
    QFETCH(int, size);
    LoopbackServer server;
    server.SetScript({LoopbackServer::ReadRequest(), LoopbackServer::Close()});
    Probe probe;
    QVERIFY(probe.ConnectTo(server.Port()));
    QByteArray bytes(size - 4, Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char('A' + i % 26);
    bytes += "\r\n\r\n";
    QCOMPARE(probe.Socket.SendStr(bytes), size);
    QCOMPARE(probe.DataSent, 0);
    QVERIFY(QTest::qWaitFor([&] { return probe.DataSent > 0; }, 10000));
    QVERIFY(server.WaitForFinished(1));
    QCOMPARE(probe.DataSent, 1);
    QCOMPARE(server.Requests().value(0), bytes);
}

void TestWSocket::dataBeforeClose() {
    LoopbackServer server;
    server.SetScript({LoopbackServer::Send("hello, world"), LoopbackServer::Close()});
    Probe probe;
    QVERIFY(probe.ConnectTo(server.Port()));
    QVERIFY(QTest::qWaitFor([&] { return probe.Socket.State() == wsClosed; }, 5000));
    QTest::qWait(50);
    QCOMPARE(probe.Received, QByteArray("hello, world"));
    QCOMPARE(probe.Events, (QStringList{"state 1", "state 3", "state 4", "connected 0", "data",
                                        "closed 0", "state 7"}));
}

void TestWSocket::exceptionInDataAvailableStaysInside() {
    LoopbackServer server;
    server.SetScript({LoopbackServer::Send("abc"), LoopbackServer::Pause(100),
                      LoopbackServer::Send("def"), LoopbackServer::Close()});
    Probe probe;
    int calls = 0;
    const auto read = probe.Socket.OnDataAvailable;
    probe.Socket.OnDataAvailable = [&](QObject *S, quint16 E) {
        if (++calls == 1)
            throw ESocketException("handler failed");
        read(S, E);
    };
    QVERIFY(probe.ConnectTo(server.Port()));
    QVERIFY(QTest::qWaitFor([&] { return probe.Socket.State() == wsClosed; }, 5000));
    QCOMPARE(probe.Received, QByteArray("abcdef"));
    QVERIFY(probe.Events.contains("closed 0"));
}

void TestWSocket::refusedConnection() {
    Probe probe;
    QVERIFY(probe.ConnectTo(LoopbackServer::RefusingPort()));
    QVERIFY(QTest::qWaitFor([&] { return probe.Socket.State() == wsClosed; }, 5000));
    QCOMPARE(probe.Events, (QStringList{"state 1", "state 3", "state 4", "connected 10061",
                                        "state 7", "closed 0"}));
}

void TestWSocket::sendAfterShutdownClosesSession() {
    LoopbackServer server;
    server.SetScript({LoopbackServer::Stall()});
    Probe probe;
    QVERIFY(probe.ConnectTo(server.Port()));
    probe.Events.clear();
    // Sending on a connection whose sending side is shut makes the system answer with a
    // broken pipe: the program must neither receive SIGPIPE nor see an error raised.
    probe.Socket.ShutDown(1);
    QCOMPARE(probe.Socket.SendStr("x"), 1);
    QCOMPARE(probe.Events, (QStringList{"state 7", "closed 10054"}));
    QCOMPARE(probe.Socket.State(), wsClosed);
}

void TestWSocket::closeRaisesClosedOnce() {
    LoopbackServer server;
    server.SetScript({LoopbackServer::Stall()});
    Probe probe;
    QVERIFY(probe.ConnectTo(server.Port()));
    probe.Events.clear();
    probe.Socket.Close();
    QCOMPARE(probe.Events, (QStringList{"state 7", "closed 0"}));
    probe.Socket.Close();
    QTest::qWait(50);
    QCOMPARE(probe.Events, (QStringList{"state 7", "closed 0"}));
}

void TestWSocket::eventOfEarlierConnectionDropped() {
    LoopbackServer server;
    server.SetScript({LoopbackServer::Stall()});
    Probe probe;
    QVERIFY(probe.ConnectTo(server.Port()));
    // The data-sent event of this send is posted; the connection it belongs to ends before it
    // arrives, and the next connection, likely on the same socket number, must not see it.
    probe.Socket.SendStr("x");
    probe.Socket.Close();
    QVERIFY(probe.ConnectTo(server.Port()));
    QTest::qWait(100);
    QCOMPARE(probe.DataSent, 0);
}

void TestWSocket::errorTexts_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("fromErrno");

    QTest::newRow("none") << 0 << "No Error" << 0;
    QTest::newRow("reset") << 10054 << "Connection reset by peer" << ECONNRESET;
    QTest::newRow("broken pipe is a reset") << 10054 << "Connection reset by peer" << EPIPE;
    QTest::newRow("connect under way would block")
        << 10035 << "Operation would block" << EINPROGRESS;
    QTest::newRow("refused") << 10061 << "Connection refused" << ECONNREFUSED;
    QTest::newRow("not connected") << 10057 << "Socket is not connected" << ENOTCONN;
    QTest::newRow("host not found") << 11001 << "Host not found" << -1;
    QTest::newRow("unknown") << 12345 << "Not a WinSock error" << -1;
}

void TestWSocket::errorTexts() {
    QFETCH(int, number);
    QFETCH(QString, text);
    QFETCH(int, fromErrno);
    QCOMPARE(SocketErrorText(number), text);
    if (fromErrno >= 0)
        QCOMPARE(WinsockErrorFromErrno(fromErrno), number);
}

QUORVALE_TEST_MAIN(TestWSocket)
#include "tst_WSocket.moc"
