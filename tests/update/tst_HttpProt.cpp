#include "update/HttpProt.h"

#include "tests/support/EscapeCheckedTest.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/NginxServer.h"
#include "tests/support/Row.h"
#include "tests/support/TestMain.h"

#include <QBuffer>
#include <QTest>
#include <QThread>
#include <QTimer>

using Script = LoopbackServer::Script;
using Scripts = std::vector<Script>;
using Setup = std::function<void(THttpCli &)>;
Q_DECLARE_METATYPE(Scripts)
Q_DECLARE_METATYPE(Setup)

namespace {

// Runs one request to its end and records what the caller of the client sees.
struct Fetch {
    THttpCli Cli;
    QBuffer Body;
    int Done = 0;
    THttpRequest DoneKind = httpNone;
    quint16 DoneError = 0;
    QStringList Events;

    Fetch() {
        Body.open(QIODevice::WriteOnly);
        Cli.SetReceiveStream(&Body);
        Cli.OnRequestDone = [this](QObject *, THttpRequest Kind, quint16 Error) {
            ++Done;
            DoneKind = Kind;
            DoneError = Error;
            Events << "RequestDone";
        };
        auto note = [this](const char *name) {
            return [this, name](QObject *) {
                if (Events.isEmpty() || Events.last() != name)
                    Events << name;
            };
        };
        Cli.OnSessionConnected = note("SessionConnected");
        Cli.OnRequestHeaderBegin = note("RequestHeaderBegin");
        Cli.OnRequestHeaderEnd = note("RequestHeaderEnd");
        Cli.OnCommand = [this](QObject *, QString &) {
            Events << "Command";
        };
        Cli.OnHeaderBegin = note("HeaderBegin");
        Cli.OnHeaderData = note("HeaderData");
        Cli.OnHeaderEnd = note("HeaderEnd");
        Cli.OnLocationChange = note("LocationChange");
        Cli.OnDocBegin = note("DocBegin");
        Cli.OnDocData = [note](QObject *S, const char *, int) {
            note("DocData")(S);
        };
        Cli.OnDocEnd = note("DocEnd");
    }

    // False when no OnRequestDone came in time. A second one would show up in Done.
    bool Run(const QString &Url, THttpRequest Kind = httpGET, int Milliseconds = 10000) {
        Cli.SetURL(Url);
        Cli.StartRequest(Kind);
        const bool done = QTest::qWaitFor([this] { return Done > 0; }, Milliseconds);
        QTest::qWait(20);
        return done;
    }
};

} // namespace

class TestHttpProt : public EscapeCheckedTest {
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void sameResultAtEverySplit_data();
    void sameResultAtEverySplit();
    void requestLines_data();
    void requestLines();
    void eventOrder();
    void addresses_data();
    void addresses();
    void relocationToAnotherServer();
    void abort_data();
    void abort();
    void timeout_data();
    void timeout();
    void busy();
    void parseURL_data();
    void parseURL();
    void httpDateAndBase64();
    void realServer();

private:
    QBuffer FPost;
};

void TestHttpProt::answers_data() {
    QTest::addColumn<Scripts>("scripts");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<qint64>("length");
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("connections");
    QTest::addColumn<int>("headerLines"); // kept after the request's end

    // How the answer is read is the parser's (tst_HttpParser); these rows are about what the
    // client makes of it.
    using S = LoopbackServer;
    const QByteArray ok = S::HttpAnswer(200, "OK", "<html>hello</html>\r\n");
    const QString incomplete = "Connection closed before the answer was complete";

    QTest::newRow("length given") << Scripts{S::Answer(ok)} << 200 << "OK"
                                  << QByteArray("<html>hello</html>\r\n") << 20LL << "text/html"
                                  << 1 << 3;
    QTest::newRow("no length: the close ends the body")
        << Scripts{S::Answer("HTTP/1.1 200 Fine\r\nContent-Type: Text/Plain\r\n\r\nabc")} << 200
        << "Fine" << QByteArray("abc") << -1LL << "text/plain" << 1 << 2;
    QTest::newRow("page without a header keeps its line ends")
        << Scripts{S::Answer("<HTML>\r\n<p>a</p>\n<p>b</p>\r\n")} << 0 << QString()
        << QByteArray("<HTML>\r\n<p>a</p>\n<p>b</p>\r\n") << -1LL << "text/html" << 1 << 0;
    // An answer that ends by its own framing ends the request there, though the server stalls.
    const QByteArray chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    Row("more than the length: the length is kept",
        Scripts{{S::ReadRequest(), S::Send("HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\nabcdef"),
                 S::Stall()}},
        200, "OK", QByteArray("abc"), 3LL, QString(), 1, 2);
    Row("two different lengths",
        Scripts{S::Answer("HTTP/1.0 200 OK\r\nContent-Length: 3\r\nContent-Length: 4\r\n\r\nabcd")},
        404, "Bad answer from the server", QByteArray(), 3LL, QString(), 1, 0);
    Row("chunked: decoded without its markers",
        Scripts{{S::ReadRequest(), S::Send(chunked + "4\r\n<htm\r\n3\r\nl>\n\r\n0\r\n\r\n"),
                 S::Stall()}},
        200, "OK", QByteArray("<html>\n"), -1LL, QString(), 1, 2);
    Row("chunked: a size that is not hex", Scripts{S::Answer(chunked + "4x\r\n<htm\r\n0\r\n\r\n")},
        404, "Bad answer from the server", QByteArray(), -1LL, QString(), 1, 2);
    Row("204: the answer ends with its header",
        Scripts{{S::ReadRequest(), S::Send("HTTP/1.0 204 No Content\r\n\r\nxyz"), S::Stall()}}, 204,
        "No Content", QByteArray(), -1LL, QString(), 1, 1);
    QTest::newRow("error answer ends after its status line")
        << Scripts{{S::ReadRequest(), S::Send(S::HttpAnswer(404, "Not Found", "gone")), S::Stall()}}
        << 404 << "Not Found" << QByteArray() << -1LL << QString() << 1 << 1;
    QTest::newRow("closed before the status line")
        << Scripts{{S::ReadRequest(), S::Close()}} << 404 << "Connection closed without an answer"
        << QByteArray() << -1LL << QString() << 1 << 0;
    QTest::newRow("closed mid-header: its lines are not kept")
        << Scripts{S::Answer("HTTP/1.0 200 OK\r\nX-One: 1\r\nContent-Ty")} << 404 << incomplete
        << QByteArray() << -1LL << QString() << 1 << 0;
    QTest::newRow("reset mid-body")
        << Scripts{{S::ReadRequest(), S::Send("HTTP/1.0 200 OK\r\n\r\nabc"), S::Pause(50),
                    S::Reset()}}
        << 404 << incomplete << QByteArray("abc") << -1LL << QString() << 1 << 1;
    QTest::newRow("a status line of another version")
        << Scripts{S::Answer("HTTP/2 200 OK\r\n\r\nabc")} << 404 << "Bad answer from the server"
        << QByteArray() << -1LL << QString() << 1 << 0;
    QTest::newRow("header line of 8192 characters")
        << Scripts{S::Answer("HTTP/1.0 200 OK\r\nX-Long: " + QByteArray(9000, 'a') + "\r\n\r\nabc")}
        << 404 << "HTTP line too long" << QByteArray() << -1LL << QString() << 1 << 0;
    QTest::newRow("header lines without end")
        << Scripts{S::Answer("HTTP/1.0 200 OK\r\n" +
                             ("X-Pad: " + QByteArray(91, 'p') + "\r\n").repeated(2000))}
        << 404 << "Answer too large" << QByteArray() << -1LL << QString() << 1 << 0;
    QTest::newRow("302 to a path; the next answer's length and type are its own")
        << Scripts{S::Answer("HTTP/1.1 302 Found\r\nLocation: /next.htm\r\nContent-Length: "
                             "3\r\nContent-Type: text/plain\r\n\r\nxyz"),
                   S::Answer("HTTP/1.0 200 OK\r\n\r\nbody")}
        << 200 << "OK" << QByteArray("body") << -1LL << QString() << 2 << 5;
    QTest::newRow("relocation loop")
        << Scripts{S::Answer("HTTP/1.0 302 Found\r\nLocation: /again\r\n\r\n")} << 404
        << "Too many redirections" << QByteArray() << -1LL << QString() << 21 << 42;
    QTest::newRow("relocation to https")
        << Scripts{S::Answer("HTTP/1.0 301 Moved\r\nLocation: https://127.0.0.1/x\r\n\r\n")} << 404
        << "Unsupported address" << QByteArray() << -1LL << QString() << 1 << 2;
    QTest::newRow("relocation to a port out of range")
        << Scripts{S::Answer("HTTP/1.0 301 Moved\r\nLocation: http://127.0.0.1:65536/x\r\n\r\n")}
        << 404 << "Invalid port" << QByteArray() << -1LL << QString() << 1 << 0;
}

void TestHttpProt::answers() {
    QFETCH(Scripts, scripts);
    QFETCH(int, status);
    QFETCH(QString, reason);
    QFETCH(QByteArray, body);
    QFETCH(qint64, length);
    QFETCH(QString, type);
    QFETCH(int, connections);
    QFETCH(int, headerLines);

    LoopbackServer server;
    server.SetScripts(scripts);
    Fetch fetch;
    QVERIFY(fetch.Run(server.Url("/page.htm")));
    QCOMPARE(fetch.Done, 1);
    QCOMPARE(fetch.Cli.State(), httpReady);
    QCOMPARE(fetch.Cli.StatusCode(), status);
    QCOMPARE(fetch.Cli.ReasonPhrase(), reason);
    QCOMPARE(fetch.Body.data(), body);
    QCOMPARE(fetch.Cli.BytesReceived(), qint64(body.size()));
    QCOMPARE(fetch.Cli.ContentLength(), length);
    QCOMPARE(fetch.Cli.ContentType(), type);
    QCOMPARE(server.Connections(), connections);
    QCOMPARE(fetch.Cli.ResponseHeaderLines().size(), headerLines);
    if (connections == 2)
        QVERIFY(server.Requests().value(1).startsWith("GET /next.htm HTTP/1.0\r\n"));

    // Whatever the answer was, the client serves the next request.
    LoopbackServer next;
    next.SetScript(LoopbackServer::Answer(LoopbackServer::HttpAnswer(200, "OK", "x")));
    fetch.Done = 0;
    fetch.Body.buffer().clear();
    fetch.Body.seek(0);
    QVERIFY(fetch.Run(next.Url()));
    QCOMPARE(fetch.Cli.StatusCode(), 200);
    QCOMPARE(fetch.Body.data(), QByteArray("x"));
}

void TestHttpProt::sameResultAtEverySplit_data() {
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("header and body") << LoopbackServer::HttpAnswer(
        200, "OK", "<html>\r\n<body>two lines</body>\n</html>", {"X-Extra: one", "X-Empty: "});
    QTest::newRow("page without a header") << QByteArray("<html>\r\n<p>a</p>\n\n<p>b</p>\r\n");
    Row("chunked", QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: "
                              "chunked\r\n\r\n3;x=y\r\nabc\r\n2\r\nde\r\n0\r\n\r\n"));
}

void TestHttpProt::sameResultAtEverySplit() {
    QFETCH(QByteArray, answer);
    LoopbackServer server;
    server.SetScript(LoopbackServer::Answer(answer));
    Fetch whole;
    QVERIFY(whole.Run(server.Url()));

    QList<int> everyOffset;
    for (int cut = 1; cut < answer.size(); ++cut)
        everyOffset << cut;
    std::vector<QList<int>> splits;
    for (int cut : everyOffset)
        splits.push_back({cut});
    splits.push_back(everyOffset);

    for (const QList<int> &cuts : splits) {
        const QByteArray where = cuts.size() == 1 ? QByteArray::number(cuts[0]) : "every byte";
        server.SetScript(LoopbackServer::AnswerInPieces(answer, cuts, cuts.size() == 1 ? 5 : 1));
        Fetch split;
        QVERIFY2(split.Run(server.Url()), where);
        QVERIFY2(split.Done == 1, where);
        QVERIFY2(split.Cli.StatusCode() == whole.Cli.StatusCode(), where);
        QVERIFY2(split.Cli.ReasonPhrase() == whole.Cli.ReasonPhrase(), where);
        QVERIFY2(split.Cli.ResponseHeaderLines() == whole.Cli.ResponseHeaderLines(), where);
        QVERIFY2(split.Cli.ContentLength() == whole.Cli.ContentLength(), where);
        QVERIFY2(split.Body.data() == whole.Body.data(), where);
    }
    QVERIFY(whole.Cli.StatusCode() == 200 || whole.Body.data() == answer);
}

void TestHttpProt::requestLines_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("kind");
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QString>("documentName");

    const Setup none = [](THttpCli &) {
    };
    QTest::newRow("host alone") << "" << int(httpGET) << none
                                << QByteArray("GET / HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n")
                                << "document.htm";
    QTest::newRow("host and slash")
        << "/" << int(httpGET) << none << QByteArray("GET / HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n")
        << "document.htm";
    QTest::newRow("program answered with a page")
        << "/dir/setup.exe?v=2" << int(httpGET) << none
        << QByteArray("GET /dir/setup.exe?v=2 HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n") << "setup.htm";
    QTest::newRow("credentials in the address")
        << "joe:secret@" << int(httpGET) << none
        << QByteArray(
               "GET / HTTP/1.0\r\nHost: 127.0.0.1\r\nAuthorization: Basic am9lOnNlY3JldA==\r\n\r\n")
        << "document.htm";
    QTest::newRow("every optional line")
        << "/a/" << int(httpGET) << Setup([](THttpCli &c) {
               c.SetSender("me@example.org");
               c.SetReference("http://ref/");
               c.SetAgent("Quorvale");
               c.SetNoCache(true);
               c.SetModifiedSince(QDateTime(QDate(2026, 1, 5), QTime(8, 9, 10)));
               c.SetUsername("u");
               c.SetPassword("p");
               c.SetCookie("k=v");
           })
        << QByteArray("GET /a/ HTTP/1.0\r\nFrom: me@example.org\r\nReferer: http://ref/\r\n"
                      "User-Agent: Quorvale\r\nHost: 127.0.0.1\r\nPragma: no-cache\r\n"
                      "If-Modified-Since: Mon, 05 Jan 2026 08:09:10 GMT\r\n"
                      "Authorization: Basic dTpw\r\nCookie: k=v\r\n\r\n")
        << "a";
    QTest::newRow("post") << "/form" << int(httpPOST) << Setup([this](THttpCli &c) {
        FPost.setData(QByteArray("a=1&b=2"));
        FPost.open(QIODevice::ReadOnly);
        c.SetPostStream(&FPost);
    })
                          << QByteArray("POST /form HTTP/1.0\r\nContent-Type: "
                                        "application/x-www-form-urlencoded\r\nHost: 127.0.0.1\r\n"
                                        "Content-Length: 7\r\n\r\na=1&b=2")
                          << "form";
    QByteArray large(20000, Qt::Uninitialized);
    for (int i = 0; i < large.size(); ++i)
        large[i] = char('a' + i % 26);
    QTest::newRow("post of several blocks")
        << "/up" << int(httpPOST) << Setup([this, large](THttpCli &c) {
               FPost.setData(large);
               FPost.open(QIODevice::ReadOnly);
               c.SetPostStream(&FPost);
               c.SetContentTypePost("");
           })
        << "POST /up HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Length: 20000\r\n\r\n" + large << "up";
    QTest::newRow("head") << "/x.zip" << int(httpHEAD) << none
                          << QByteArray("HEAD /x.zip HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n")
                          << "x.zip";
    QTest::newRow("through a proxy")
        << "proxy" << int(httpGET) << none
        << QByteArray("GET http://www.tamblewick.example/Vormex/Vormex.htm HTTP/1.0\r\n"
                      "Host: www.tamblewick.example\r\n\r\n")
        << "Vormex.htm";
}

void TestHttpProt::requestLines() {
    QFETCH(QString, path);
    QFETCH(int, kind);
    QFETCH(Setup, setup);
    QFETCH(QByteArray, request);
    QFETCH(QString, documentName);

    LoopbackServer server;
    server.SetScript(LoopbackServer::Answer(LoopbackServer::HttpAnswer(200, "OK", "x")));
    Fetch fetch;
    setup(fetch.Cli);
    QString url = server.Url(path);
    if (path.endsWith('@'))
        url = "http://" + path + "127.0.0.1:" + QString::number(server.Port());
    if (path == "proxy") {
        fetch.Cli.SetProxy("127.0.0.1");
        fetch.Cli.SetProxyPort(QString::number(server.Port()));
        url = "http://www.tamblewick.example/Vormex/Vormex.htm";
    }
    QVERIFY(fetch.Run(url, THttpRequest(kind)));
    FPost.close();
    QCOMPARE(fetch.Cli.StatusCode(), 200);
    QCOMPARE(fetch.DoneKind, THttpRequest(kind));
    QCOMPARE(server.Requests().value(0), request);
    QCOMPARE(fetch.Cli.DocumentName(), documentName);
}

void TestHttpProt::eventOrder() {
    LoopbackServer server;
    server.SetScripts({LoopbackServer::Answer("HTTP/1.0 302 Found\r\nLocation: /b\r\n\r\n"),
                       LoopbackServer::Answer(LoopbackServer::HttpAnswer(200, "OK", "body"))});
    Fetch fetch;
    QVERIFY(fetch.Run(server.Url("/a")));
    const QStringList once = {"SessionConnected", "RequestHeaderBegin", "Command",
                              "Command",          "RequestHeaderEnd",   "Command",
                              "HeaderBegin",      "HeaderData"};
    const QStringList expected =
        once + QStringList{"HeaderEnd", "LocationChange"} + once +
        QStringList{"HeaderEnd", "DocBegin", "DocData", "DocEnd", "RequestDone"};
    QCOMPARE(fetch.Events, expected);
}

void TestHttpProt::addresses_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<quint16>("error");
    QTest::addColumn<QString>("listen"); // where the server listens

    QTest::newRow("localhost is an IPv4 address")
        << "http://localhost:%1/" << 200 << "OK" << quint16(0) << "127.0.0.1";
    QTest::newRow("an IPv6 address") << "http://[::1]:%1/x" << 200 << "OK" << quint16(0) << "::1";
    Row("refused over IPv6", QString("http://[::1]:%1/").arg(LoopbackServer::RefusingPort()), 404,
        "Connection refused (Error #10061)", quint16(0), "::1");
    QTest::newRow("refused") << QString("http://127.0.0.1:%1/").arg(LoopbackServer::RefusingPort())
                             << 404 << "Connection refused (Error #10061)" << quint16(0)
                             << "127.0.0.1";
    // A name the resolver refuses at once, so that no test asks a name server.
    QTest::newRow("name not resolved")
        << "http://no such host/" << 404 << "can't resolve hostname to IP address" << quint16(0)
        << "127.0.0.1";
    QTest::newRow("no host") << "http:///x" << 404 << "can't resolve hostname to IP address"
                             << quint16(0) << "127.0.0.1";
    QTest::newRow("port that is no number")
        << "http://127.0.0.1:http-x/" << 404 << "Invalid port" << quint16(0) << "127.0.0.1";
    // 65536 + the server's port would reach the server if the number wrapped.
    QTest::newRow("port that would wrap")
        << "http://127.0.0.1:%2/" << 404 << "Invalid port" << quint16(0) << "127.0.0.1";
    Row("port 0", "http://127.0.0.1:0/", 404, "Invalid port", quint16(0), "127.0.0.1");
    Row("https", "https://127.0.0.1:%1/", 404, "Unsupported address", quint16(0), "127.0.0.1");
}

void TestHttpProt::addresses() {
    QFETCH(QString, url);
    QFETCH(int, status);
    QFETCH(QString, reason);
    QFETCH(quint16, error);
    QFETCH(QString, listen);

    LoopbackServer server(listen);
    server.SetScript(LoopbackServer::Answer(LoopbackServer::HttpAnswer(200, "OK", "x")));
    Fetch fetch;
    if (url.contains("%2"))
        url.replace("%2", QString::number(65536 + server.Port()));
    QVERIFY(fetch.Run(url.contains("%1") ? url.arg(server.Port()) : url));
    QCOMPARE(fetch.Done, 1);
    QCOMPARE(fetch.Cli.StatusCode(), status);
    QCOMPARE(fetch.Cli.ReasonPhrase(), reason);
    QCOMPARE(fetch.DoneError, error);
}

void TestHttpProt::relocationToAnotherServer() {
    LoopbackServer first, second;
    second.SetScript(LoopbackServer::Answer(LoopbackServer::HttpAnswer(200, "OK", "there")));
    first.SetScript(LoopbackServer::Answer(
        "HTTP/1.0 302 Found\r\nLocation: " + second.Url("/next").toLatin1() + "\r\n\r\n"));
    Fetch fetch;
    QVERIFY(fetch.Run(first.Url("/")));
    QCOMPARE(fetch.Cli.StatusCode(), 200);
    QCOMPARE(fetch.Body.data(), QByteArray("there"));
    QCOMPARE(second.Requests().value(0),
             QByteArray("GET /next HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n"));

    // Another host named without a port is served on port 80, not on this server's port.
    first.SetScript(
        LoopbackServer::Answer("HTTP/1.0 302 Found\r\nLocation: http://127.0.0.2\r\n\r\n"));
    Fetch other;
    QVERIFY(other.Run(first.Url("/")));
    QCOMPARE(other.Cli.ConnectHost(), QString("127.0.0.2"));
    QCOMPARE(other.Cli.ConnectPort(), QString("80"));
    QCOMPARE(other.Cli.RequestPath(), QString("/"));
    QCOMPARE(other.Done, 1);
}

void TestHttpProt::abort_data() {
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("when");
    QTest::addColumn<Scripts>("scripts");

    using S = LoopbackServer;
    const Scripts stall{{S::ReadRequest(), S::Send("HTTP/1.0 200 OK\r\n\r\nabc"), S::Stall()}};
    QTest::newRow("during lookup") << "localhost"
                                   << "start" << stall;
    QTest::newRow("during connect") << "127.0.0.1"
                                    << "start" << stall;
    QTest::newRow("mid-body") << "127.0.0.1"
                              << "data" << stall;
    QTest::newRow("between relocation close and restart")
        << "127.0.0.1"
        << "location" << Scripts{S::Answer("HTTP/1.0 302 Found\r\nLocation: /b\r\n\r\n")};
    // Bytes always wait to be read, yet the event loop gets its turn.
    QTest::newRow("posted while the server outpaces the reader")
        << "127.0.0.1"
        << "posted"
        << Scripts{{S::ReadRequest(), S::Send("HTTP/1.0 200 OK\r\n\r\n"), S::SendPattern(1 << 28),
                    S::Close()}};
}

void TestHttpProt::abort() {
    QFETCH(QString, host);
    QFETCH(QString, when);
    QFETCH(Scripts, scripts);

    LoopbackServer server;
    server.SetScripts(scripts);
    Fetch fetch;
    if (when == "data")
        fetch.Cli.OnDocData = [&](QObject *, const char *, int) {
            fetch.Cli.Abort();
        };
    if (when == "posted")
        fetch.Cli.OnDocData = [&](QObject *, const char *, int Len) {
            QThread::usleep(500);
            if (fetch.Cli.BytesReceived() == Len)
                QTimer::singleShot(0, [&] { fetch.Cli.Abort(); });
        };
    if (when == "location")
        fetch.Cli.OnLocationChange = [&](QObject *) {
            fetch.Cli.Abort();
        };
    fetch.Cli.SetURL(QString("http://%1:%2/").arg(host).arg(server.Port()));
    fetch.Cli.StartRequest(httpGET);
    if (when == "start") {
        QCOMPARE(fetch.Cli.State(), host == "localhost" ? httpResolvingHost : httpConnecting);
        fetch.Cli.Abort();
    }
    QVERIFY(QTest::qWaitFor([&] { return fetch.Done > 0; }, 5000));
    QTest::qWait(100);
    QCOMPARE(fetch.Done, 1);
    QCOMPARE(fetch.Cli.StatusCode(), 404);
    QCOMPARE(fetch.Cli.ReasonPhrase(), QString("Connection aborted on request"));
    QCOMPARE(fetch.DoneError, quint16(3));
    QCOMPARE(fetch.Cli.State(), httpReady);
    QVERIFY(server.Connections() <= 1);
}

void TestHttpProt::timeout_data() {
    QTest::addColumn<Scripts>("scripts");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("reason");

    using S = LoopbackServer;
    QTest::newRow("silent server")
        << Scripts{{S::ReadRequest(), S::Stall()}} << 404 << "Connection timed out";
    QTest::newRow("silent after part of the body")
        << Scripts{{S::ReadRequest(), S::Send("HTTP/1.0 200 OK\r\n\r\nab"), S::Stall()}} << 404
        << "Connection timed out";
    // Three pauses, each well within the limit, that together exceed it.
    QTest::newRow("each byte restarts the wait")
        << Scripts{{S::ReadRequest(), S::Send("HTTP/1.0 200 OK\r\n"), S::Pause(450),
                    S::Send("\r\nab"), S::Pause(450), S::Send("c"), S::Pause(450), S::Close()}}
        << 200 << "OK";
}

void TestHttpProt::timeout() {
    QFETCH(Scripts, scripts);
    QFETCH(int, status);
    QFETCH(QString, reason);

    LoopbackServer server;
    server.SetScripts(scripts);
    Fetch fetch;
    fetch.Cli.SetReceiveTimeout(1000);
    QVERIFY(fetch.Run(server.Url()));
    QCOMPARE(fetch.Done, 1);
    QCOMPARE(fetch.Cli.StatusCode(), status);
    QCOMPARE(fetch.Cli.ReasonPhrase(), reason);
}

void TestHttpProt::busy() {
    LoopbackServer server;
    server.SetScript(LoopbackServer::Answer(LoopbackServer::HttpAnswer(200, "OK", "first")));
    Fetch fetch;
    fetch.Cli.SetURL(server.Url());
    fetch.Cli.StartRequest(httpGET);
    try {
        fetch.Cli.StartRequest(httpGET);
        QFAIL("a second request started");
    } catch (const EHttpException &E) {
        QCOMPARE(QString::fromStdString(E.Message()), QString("HTTP component is busy"));
        QCOMPARE(E.ErrorCode(), 1);
    }
    QVERIFY(QTest::qWaitFor([&] { return fetch.Done > 0; }, 5000));
    QCOMPARE(fetch.Body.data(), QByteArray("first"));
    QCOMPARE(server.Connections(), 1);

    // The next answer announces no length: the previous one's is not reported again.
    server.SetScript(LoopbackServer::Answer("HTTP/1.0 200 OK\r\n\r\nsecond"));
    fetch.Done = 0;
    QVERIFY(fetch.Run(server.Url()));
    QCOMPARE(fetch.Cli.ContentLength(), qint64(-1));
    QCOMPARE(fetch.Cli.ContentType(), QString());

    fetch.Cli.SetPostStream(nullptr);
    try {
        fetch.Cli.StartRequest(httpPOST);
        QFAIL("a post without a body started");
    } catch (const EHttpException &E) {
        QCOMPARE(E.ErrorCode(), 2);
        QCOMPARE(fetch.Cli.State(), httpReady);
    }
}

void TestHttpProt::parseURL_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<QStringList>("parts"); // scheme, user, password, host, port, path

    QTest::newRow("everything") << "http://u:p@host:8080/a/b?c"
                                << QStringList{"http", "u", "p", "host", "8080", "/a/b?c"};
    QTest::newRow("host only") << "http://host" << QStringList{"http", "", "", "host", "", ""};
    Row("IPv6 and a port", "http://u@[::1]:8102/a",
        QStringList{"http", "u", "", "[::1]", "8102", "/a"});
    Row("IPv6 without a port", "http://[fd00::2]/",
        QStringList{"http", "", "", "[fd00::2]", "", "/"});
    QTest::newRow("user without password")
        << "ftp://me@host/x" << QStringList{"ftp", "me", "", "host", "", "/x"};
    QTest::newRow("path only") << "/doc.htm" << QStringList{"http", "", "", "", "", "/doc.htm"};
    QTest::newRow("http: and a path") << "HTTP:/doc" << QStringList{"http", "", "", "", "", "/doc"};
    QTest::newRow("bare name") << "other.htm" << QStringList{"", "", "", "other.htm", "", ""};
    QTest::newRow("mailto") << "mailto:a@b.example"
                            << QStringList{"mailto", "a", "", "b.example", "", ""};
    QTest::newRow("empty") << "" << QStringList{"", "", "", "", "", ""};
}

void TestHttpProt::parseURL() {
    QFETCH(QString, url);
    QFETCH(QStringList, parts);
    const TUrlParts p = ParseURL(url);
    QCOMPARE((QStringList{p.Proto, p.User, p.Pass, p.Host, p.Port, p.Path}), parts);
}

void TestHttpProt::httpDateAndBase64() {
    QCOMPARE(FormatHttpDate(QDateTime(QDate(1999, 7, 25), QTime(3, 4, 5))),
             QString("Sun, 25 Jul 1999 03:04:05"));
    QCOMPARE(FormatHttpDate(QDateTime(QDate(2026, 12, 8), QTime(23, 59, 0))),
             QString("Tue, 08 Dec 2026 23:59:00"));
    QCOMPARE(EncodeBase64(""), QByteArray(""));
    QCOMPARE(EncodeBase64("a"), QByteArray("YQ=="));
    QCOMPARE(EncodeBase64("ab"), QByteArray("YWI="));
    QCOMPARE(EncodeBase64("abc\xff"), QByteArray("YWJj/w=="));
}

void TestHttpProt::realServer() {
    NginxServer server;
    QByteArray page = "<HTML><HEAD><META HTTP-EQUIV=\"version\" CONTENT=\"1.7.0\"></HEAD></HTML>\n";
    QByteArray large(24 * 1024 * 1024 + 17, Qt::Uninitialized);
    for (qsizetype i = 0; i < large.size(); ++i)
        large[i] = char((i * 7919) >> 8);
    QVERIFY(server.AddFile("Vormex/Vormex.htm", page));
    QVERIFY(server.AddFile("update.zip", large));
    server.AddRedirect("/moved", "/Vormex/Vormex.htm");
    if (!server.Start())
        QSKIP(qPrintable(server.Failure()));

    struct Case {
        QString url;
        QByteArray bytes;
    };
    for (const Case &c :
         {Case{server.Url("/Vormex/Vormex.htm"), page}, Case{server.Url("/moved"), page},
          Case{server.Url("/update.zip"), large}, Case{server.Url("/moved", true), page}}) {
        Fetch fetch;
        QVERIFY2(fetch.Run(c.url, httpGET, 60000), qPrintable(c.url));
        QCOMPARE(fetch.Cli.StatusCode(), 200);
        QCOMPARE(fetch.Cli.ContentLength(), qint64(c.bytes.size()));
        QCOMPARE(fetch.Cli.BytesReceived(), qint64(c.bytes.size()));
        QVERIFY2(fetch.Body.data() == c.bytes, qPrintable(c.url));
    }
    Fetch missing;
    QVERIFY(missing.Run(server.Url("/none.htm")));
    QCOMPARE(missing.Cli.StatusCode(), 404);
    QCOMPARE(missing.Cli.ReasonPhrase(), QString("Not Found"));
}

QUORVALE_TEST_MAIN(TestHttpProt)
#include "tst_HttpProt.moc"
