#include "update/HttpParser.h"

#include "tests/support/TestMain.h"

#include <QTest>
#include <cstdlib>

Q_DECLARE_METATYPE(THttpParseError)

namespace {

// What the parser reported for one answer, fed in the given pieces and then told of the close.
// A field's long value is kept as its length.
struct Outcome {
    THttpParseError Fed = hpeOk, Ended = hpeOk;
    int Status = 0;
    QByteArray Reason;
    qint64 Length = -1;
    QStringList Fields;
    bool HeaderEnded = false;
    QByteArray Body;
    bool operator==(const Outcome &) const = default;
};

struct Recorder : THttpParserEvents {
    Outcome Seen;
    void StatusLine(std::string_view) override {}
    void HeaderField(std::string_view, std::string_view Name, std::string_view Value) override {
        const QString value =
            Value.size() > 32 ? "#" + QString::number(Value.size()) : QString::fromLatin1(Value);
        Seen.Fields << QString::fromLatin1(Name) + "=" + value;
    }
    void HeaderEnd() override { Seen.HeaderEnded = true; }
    void Body(const char *Data, size_t Len) override { Seen.Body.append(Data, qsizetype(Len)); }
};

Outcome Parse(const QByteArray &answer, const QList<int> &cuts, bool head) {
    Recorder recorder;
    THttpParser parser(recorder);
    parser.Reset(head);
    int from = 0;
    for (int cut : cuts + QList<int>{int(answer.size())}) {
        recorder.Seen.Fed = parser.Execute(answer.constData() + from, size_t(cut - from));
        from = cut;
    }
    recorder.Seen.Ended = parser.Finish();
    recorder.Seen.Status = parser.StatusCode();
    recorder.Seen.Reason = QByteArray::fromStdString(parser.Reason());
    recorder.Seen.Length = parser.ContentLength();
    return recorder.Seen;
}

QByteArray Lines(int count, int length) {
    return ("X-Pad: " + QByteArray(length - 9, 'p') + "\r\n").repeated(count);
}

} // namespace

class TestHttpParser : public QObject {
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
};

void TestHttpParser::answers_data() {
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<THttpParseError>(
        "error"); // after the close; a fault of the bytes comes at once
    QTest::addColumn<int>("status");
    QTest::addColumn<qint64>("length");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("head");
    auto row = [](const char *name, const QByteArray &answer, THttpParseError error, int status,
                  qint64 length, const QStringList &fields, const QByteArray &body,
                  bool head = false) {
        QTest::newRow(name) << answer << error << status << length << fields << body << head;
    };
    const QByteArray ok = "HTTP/1.0 200 OK\r\n", html = "<html>\r\n<p>a</p>\n\n<p>b</p>\r\n";
    row("length given", ok + "Content-Length: 20\r\n\r\n<html>hello</html>\r\n", hpeOk, 200, 20,
        {"content-length=20"}, "<html>hello</html>\r\n");
    row("no length: the close ends the body",
        "HTTP/1.1 200 Fine\nContent-Type:  Text/Plain \n\nabc", hpeOk, 200, -1,
        {"content-type=Text/Plain"}, "abc");
    row("more than the length: the close still ends the body",
        ok + "Content-Length: 2\r\n\r\nabcdef", hpeOk, 200, 2, {"content-length=2"}, "abcdef");
    row("page without a header keeps its line ends", html, hpeOk, 0, -1, {}, html);
    row("a page that starts within the header", ok + "X: 1\r\n<HTML><body>", hpeOk, 200, -1,
        {"x=1"}, "<HTML><body>");
    row("length without a blank after the colon", ok + "Content-Length:5\r\n\r\nhello", hpeOk, 200,
        5, {"content-length=5"}, "hello");
    row("a length that is not a number counts as none",
        ok + "Content-Length: 12x\r\nX: y\r\n\r\nabc", hpeOk, 200, -1,
        {"content-length=12x", "x=y"}, "abc");
    row("a line without a colon", ok + "odd line\r\n\r\n", hpeOk, 200, -1, {"="}, "");
    row("closed before any byte", "", hpeNoAnswer, 0, -1, {}, "");
    row("closed mid-status line", "HTTP/1.0 20", hpeIncomplete, 0, -1, {}, "");
    row("closed mid-header", ok + "Content-Ty", hpeIncomplete, 200, -1, {}, "");
    row("closed mid-body", ok + "Content-Length: 100\r\n\r\n" + QByteArray(40, 'b'), hpeIncomplete,
        200, 100, {"content-length=100"}, QByteArray(40, 'b'));
    row("length beyond 32 bits", ok + "Content-Length: 6000000000\r\n\r\nabc", hpeIncomplete, 200,
        6000000000LL, {"content-length=6000000000"}, "abc");
    row("no body expected after HEAD", ok + "Content-Length: 100\r\n\r\n", hpeOk, 200, 100,
        {"content-length=100"}, "", true);
    row("no body expected with 304", "HTTP/1.0 304 Not Modified\r\nContent-Length: 9\r\n\r\n",
        hpeOk, 304, 9, {"content-length=9"}, "");
    row("status without a reason", "HTTP/1.1 200\r\n\r\nx", hpeOk, 200, -1, {}, "x");
    for (const char *bad :
         {"HTTP/2 200 OK", "HTTP/1.0 2x0 OK", "HTTP/1.0 -12 Odd", "HTTP/1.2 200 OK",
          "HTTP/1.0 2000 OK", "http/1.0 200 OK", "Server: x", ""})
        row(qPrintable(QString("status line \"%1\"").arg(bad)), QByteArray(bad) + "\r\n\r\nabc",
            hpeBadStatusLine, 0, -1, {}, "");
    // A line is 8192 bytes at most before its line feed; the header 64 KiB with its status line
    // of 17 bytes and its empty line.
    row("header line of 8192 bytes", ok + "X-Long: " + QByteArray(8183, 'a') + "\r\n\r\nabc", hpeOk,
        200, -1, {"x-long=#8183"}, "abc");
    row("header line of 8193 bytes", ok + "X-Long: " + QByteArray(8184, 'a') + "\r\n\r\nabc",
        hpeLineTooLong, 200, -1, {}, "");
    const QStringList pads(15, "x-pad=#4087");
    row("a header of 64 KiB", ok + Lines(15, 4096) + Lines(1, 4096 - 17 - 2) + "\r\nabc", hpeOk,
        200, -1, pads + QStringList{"x-pad=#4068"}, "abc");
    row("a header of 64 KiB and one byte",
        ok + Lines(15, 4096) + Lines(1, 4096 - 17 - 1) + "\r\nabc", hpeHeaderTooLarge, 200, -1,
        pads + QStringList{"x-pad=#4069"}, "");
    row("header lines without end", ok + Lines(2000, 100), hpeHeaderTooLarge, 200, -1,
        QStringList((64 * 1024 - ok.size()) / 100, "x-pad=#91"), "");
}

// Each answer is fed whole, in two pieces cut anywhere (in a long one, around the bounds and at
// every 61st byte), and byte by byte, then the close comes as an event of its own: the outcome
// is the same however the answer arrives.
void TestHttpParser::answers() {
    QFETCH(QByteArray, answer);
    QFETCH(THttpParseError, error);
    QFETCH(int, status);
    QFETCH(qint64, length);
    QFETCH(QStringList, fields);
    QFETCH(QByteArray, body);
    QFETCH(bool, head);

    const Outcome whole = Parse(answer, {}, head);
    QCOMPARE(whole.Fed, error == hpeNoAnswer || error == hpeIncomplete ? hpeOk : error);
    QCOMPARE(whole.Ended, error);
    QCOMPARE(whole.Status, status);
    QCOMPARE(whole.Length, length);
    QCOMPARE(whole.Fields, fields);
    QCOMPARE(whole.Body, body);

    QList<int> everyByte;
    for (int cut = 1; cut < answer.size(); ++cut) {
        everyByte << cut;
        if (answer.size() < 10000 || cut % 61 == 0 || std::abs(cut - 65536) < 40 ||
            std::abs(cut - 8200) < 40)
            QVERIFY2(Parse(answer, {cut}, head) == whole,
                     qPrintable(QString("cut at %1").arg(cut)));
    }
    QVERIFY2(Parse(answer, everyByte, head) == whole, "byte by byte");
}

QUORVALE_TEST_MAIN(TestHttpParser)
#include "tst_HttpParser.moc"
