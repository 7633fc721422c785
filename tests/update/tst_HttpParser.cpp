#include "update/HttpParser.h"

#include "tests/support/TestMain.h"

#include <QTest>
#include <cstdlib>
#include <cstring>

Q_DECLARE_METATYPE(THttpParseError)

namespace {

// What the parser reported for one answer, fed in the given pieces and then told of the close.
// A field's long value is kept as its length.
struct Outcome {
    THttpParseError Fed = hpeOk, Ended = hpeOk;
    qint64 At = -1;
    bool Explained = false; // the error came with a reason
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
    recorder.Seen.At = parser.ErrorOffset();
    recorder.Seen.Explained = !parser.ErrorReason().empty();
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
    // The offset of the byte at which a fault of the bytes shows; a close that comes too early
    // is at the answer's end.
    QTest::addColumn<qint64>("at");
    auto row = [](const char *name, const QByteArray &answer, THttpParseError error, int status,
                  qint64 length, const QStringList &fields, const QByteArray &body,
                  bool head = false, qint64 at = -1) {
        QTest::newRow(name) << answer << error << status << length << fields << body << head << at;
    };
    const QByteArray ok = "HTTP/1.0 200 OK\r\n", html = "<html>\r\n<p>a</p>\n\n<p>b</p>\r\n";
    row("length given", ok + "Content-Length: 20\r\n\r\n<html>hello</html>\r\n", hpeOk, 200, 20,
        {"content-length=20"}, "<html>hello</html>\r\n");
    row("no length: the close ends the body",
        "HTTP/1.1 200 Fine\nContent-Type:  Text/Plain \n\nabc", hpeOk, 200, -1,
        {"content-type=Text/Plain"}, "abc");
    row("more than the length: the body ends at the length", ok + "Content-Length: 2\r\n\r\nabcdef",
        hpeOk, 200, 2, {"content-length=2"}, "ab");
    row("the same length twice", ok + "Content-Length: 3\r\ncontent-length:3\r\n\r\nabcdef", hpeOk,
        200, 3, {"content-length=3", "content-length=3"}, "abc");
    row("the same length twice in one line", ok + "Content-Length: 3 , 3\r\n\r\nabcdef", hpeOk, 200,
        3, {"content-length=3 , 3"}, "abc");
    row("two different lengths", ok + "Content-Length: 3\r\nContent-Length: 4\r\n\r\nabcd",
        hpeBadLength, 200, 3, {"content-length=3"}, "", false, 54);
    row("two different lengths in one line", ok + "Content-Length: 3, 4\r\n\r\nabcd", hpeBadLength,
        200, -1, {}, "", false, 38);
    row("page without a header keeps its line ends", html, hpeOk, 0, -1, {}, html);
    row("a page that starts within the header", ok + "X: 1\r\n<HTML><body>", hpeOk, 200, -1,
        {"x=1"}, "<HTML><body>");
    row("length without a blank after the colon", ok + "Content-Length:5\r\n\r\nhello", hpeOk, 200,
        5, {"content-length=5"}, "hello");
    row("a length that is not a number", ok + "Content-Length: 12x\r\nX: y\r\n\r\nabc",
        hpeBadLength, 200, -1, {}, "", false, 37);
    row("a negative length", ok + "Content-Length: -1\r\n\r\nabc", hpeBadLength, 200, -1, {}, "",
        false, 36);
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
    row("a HEAD answer that carries a body: the bytes after its header are not body",
        ok + "Content-Length: 4\r\n\r\nbody", hpeOk, 200, 4, {"content-length=4"}, "", true);
    row("204 followed by bytes", "HTTP/1.1 204 No Content\r\n\r\nxyz", hpeOk, 204, -1, {}, "");
    row("an interim answer is passed over",
        "HTTP/1.1 100 Continue\r\nX-A: 1\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nhi",
        hpeOk, 200, 2, {"content-length=2"}, "hi");
    row("closed after an interim answer", "HTTP/1.1 103 Early Hints\r\n\r\n", hpeIncomplete, 103,
        -1, {}, "");
    const QByteArray chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n";
    const QStringList te{"transfer-encoding=Chunked"};
    row("chunked: the markers and the trailer are not body",
        chunked + "5\r\nhello\r\n6;name=\"x\"\r\n world\r\n0\r\nX-Sum: 1\r\n\r\nafter", hpeOk, 200,
        -1, te, "hello world");
    row("chunked: capital hex, leading zeros, bare line feeds", chunked + "00A \nabcdefghij\n0\n\n",
        hpeOk, 200, -1, te, "abcdefghij");
    row("chunked: a size that is not hex", chunked + "5\r\nhello\r\n5x\r\nworld\r\n0\r\n\r\n",
        hpeBadChunk, 200, -1, te, "hello", false, 60);
    row("chunked: a size of 16 digits", chunked + "0000000000000005\r\nhello\r\n0\r\n\r\n",
        hpeBadChunk, 200, -1, te, "", false, 64);
    row("chunked: a size line without digits", chunked + ";x\r\n", hpeBadChunk, 200, -1, te, "",
        false, 50);
    row("chunked: data not followed by its line end", chunked + "5\r\nhelloX\r\n0\r\n\r\n",
        hpeBadChunk, 200, -1, te, "hello", false, 55);
    row("chunked: closed before the last chunk", chunked + "5\r\nhello\r\n", hpeIncomplete, 200, -1,
        te, "hello");
    row("chunked: closed within the trailer", chunked + "0\r\nX-Sum: 1\r\n", hpeIncomplete, 200, -1,
        te, "");
    // 47 bytes of header, then "0\r\n", which does not count, and the trailer's lines.
    row("chunked: a trailer beyond the header's bound",
        chunked + "0\r\n" + Lines(15, 4096) + Lines(1, 4096 - 47 - 1) + "\r\n", hpeHeaderTooLarge,
        200, -1, te, "", false, 65536 + 3);
    row("a transfer coding other than chunked",
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip, chunked\r\n\r\nabc", hpeBadTransferCoding, 200,
        -1, {}, "", false, 50);
    row("chunked beside a length",
        chunked.chopped(2) + "Content-Length: 5\r\n\r\n5\r\nhello\r\n0\r\n\r\n",
        hpeBadTransferCoding, 200, 5, te + QStringList{"content-length=5"}, "", false, 65);
    row("chunked in an HTTP/1.0 answer", ok + "Transfer-Encoding: chunked\r\n\r\n5\r\nhello",
        hpeBadTransferCoding, 200, -1, {"transfer-encoding=chunked"}, "", false, 46);
    row("no body expected with 304", "HTTP/1.0 304 Not Modified\r\nContent-Length: 9\r\n\r\n",
        hpeOk, 304, 9, {"content-length=9"}, "");
    row("status without a reason", "HTTP/1.1 200\r\n\r\nx", hpeOk, 200, -1, {}, "x");
    for (const char *bad :
         {"HTTP/2 200 OK", "HTTP/1.0 2x0 OK", "HTTP/1.0 -12 Odd", "HTTP/1.2 200 OK",
          "HTTP/1.0 2000 OK", "http/1.0 200 OK", "Server: x", ""})
        row(qPrintable(QString("status line \"%1\"").arg(bad)), QByteArray(bad) + "\r\n\r\nabc",
            hpeBadStatusLine, 0, -1, {}, "", false, qint64(strlen(bad)) + 1);
    // A line is 8192 bytes at most before its line feed; the header 64 KiB with its status line
    // of 17 bytes and its empty line.
    row("header line of 8192 bytes", ok + "X-Long: " + QByteArray(8183, 'a') + "\r\n\r\nabc", hpeOk,
        200, -1, {"x-long=#8183"}, "abc");
    row("header line of 8193 bytes", ok + "X-Long: " + QByteArray(8184, 'a') + "\r\n\r\nabc",
        hpeLineTooLong, 200, -1, {}, "", false, 17 + 8192);
    const QStringList pads(15, "x-pad=#4087");
    row("a header of 64 KiB", ok + Lines(15, 4096) + Lines(1, 4096 - 17 - 2) + "\r\nabc", hpeOk,
        200, -1, pads + QStringList{"x-pad=#4068"}, "abc");
    row("a header of 64 KiB and one byte",
        ok + Lines(15, 4096) + Lines(1, 4096 - 17 - 1) + "\r\nabc", hpeHeaderTooLarge, 200, -1,
        pads + QStringList{"x-pad=#4069"}, "", false, 65536);
    row("header lines without end", ok + Lines(2000, 100), hpeHeaderTooLarge, 200, -1,
        QStringList((64 * 1024 - ok.size()) / 100, "x-pad=#91"), "", false, 65536);
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
    QFETCH(qint64, at);

    const bool atClose = error == hpeNoAnswer || error == hpeIncomplete;
    const Outcome whole = Parse(answer, {}, head);
    QCOMPARE(whole.Fed, atClose ? hpeOk : error);
    QCOMPARE(whole.Ended, error);
    QCOMPARE(whole.At, atClose ? qint64(answer.size()) : at);
    QCOMPARE(whole.Explained, error != hpeOk);
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
