#include "update/HttpParser.h"

#include "tests/support/TestMain.h"

#include <QTest>
#include <cstdlib>

Q_DECLARE_METATYPE(THttpParseError)

namespace {

// What the parser reported for one answer, fed in the given pieces and then told of the close.
struct Outcome {
    THttpParseError Fed = hpeOk;
    THttpParseError Ended = hpeOk;
    int Status = 0;
    QByteArray Reason;
    qint64 Length = -1;
    QStringList Fields;
    bool HeaderEnded = false;
    QByteArray Body;

    bool operator==(const Outcome &o) const {
        return Fed == o.Fed && Ended == o.Ended && Status == o.Status && Reason == o.Reason &&
               Length == o.Length && Fields == o.Fields && HeaderEnded == o.HeaderEnded &&
               Body == o.Body;
    }
};

struct Recorder : THttpParserEvents {
    Outcome Seen;
    void StatusLine(std::string_view) override {}
    void HeaderField(std::string_view, std::string_view Name, std::string_view Value) override {
        Seen.Fields << QString::fromLatin1(Name.data(), qsizetype(Name.size())) + "=" +
                           QString::fromLatin1(Value.data(), qsizetype(Value.size()));
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
    QByteArray line = "X-Pad: " + QByteArray(length - 9, 'p') + "\r\n";
    return line.repeated(count);
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
    QTest::addColumn<bool>("head");
    QTest::addColumn<THttpParseError>("fed");   // after the last byte
    QTest::addColumn<THttpParseError>("ended"); // after the close
    QTest::addColumn<int>("status");
    QTest::addColumn<qint64>("length");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QByteArray>("body");

    const QByteArray ok = "HTTP/1.0 200 OK\r\n";
    QTest::newRow("length given") << ok + "Content-Length: 20\r\n\r\n<html>hello</html>\r\n"
                                  << false << hpeOk << hpeOk << 200 << 20LL
                                  << QStringList{"content-length=20"}
                                  << QByteArray("<html>hello</html>\r\n");
    QTest::newRow("no length: the close ends the body")
        << QByteArray("HTTP/1.1 200 Fine\nContent-Type:  Text/Plain \n\nabc") << false << hpeOk
        << hpeOk << 200 << -1LL << QStringList{"content-type=Text/Plain"} << QByteArray("abc");
    QTest::newRow("more than the length: the close still ends the body")
        << ok + "Content-Length: 2\r\n\r\nabcdef" << false << hpeOk << hpeOk << 200 << 2LL
        << QStringList{"content-length=2"} << QByteArray("abcdef");
    QTest::newRow("page without a header keeps its line ends")
        << QByteArray("<html>\r\n<p>a</p>\n\n<p>b</p>\r\n") << false << hpeOk << hpeOk << 0 << -1LL
        << QStringList() << QByteArray("<html>\r\n<p>a</p>\n\n<p>b</p>\r\n");
    QTest::newRow("a page that starts within the header")
        << ok + "X: 1\r\n<HTML><body>" << false << hpeOk << hpeOk << 200 << -1LL
        << QStringList{"x=1"} << QByteArray("<HTML><body>");
    QTest::newRow("length without a blank after the colon")
        << ok + "Content-Length:5\r\n\r\nhello" << false << hpeOk << hpeOk << 200 << 5LL
        << QStringList{"content-length=5"} << QByteArray("hello");
    QTest::newRow("a length that is not a number counts as none")
        << ok + "Content-Length: 12x\r\nX: y\r\n\r\nabc" << false << hpeOk << hpeOk << 200 << -1LL
        << QStringList{"content-length=12x", "x=y"} << QByteArray("abc");
    QTest::newRow("a line without a colon")
        << ok + "odd line\r\n\r\n"
        << false << hpeOk << hpeOk << 200 << -1LL << QStringList{"="} << QByteArray();
    QTest::newRow("closed before any byte") << QByteArray() << false << hpeOk << hpeNoAnswer << 0
                                            << -1LL << QStringList() << QByteArray();
    QTest::newRow("closed mid-status line")
        << QByteArray("HTTP/1.0 20") << false << hpeOk << hpeIncomplete << 0 << -1LL
        << QStringList() << QByteArray();
    QTest::newRow("closed mid-header") << ok + "Content-Ty" << false << hpeOk << hpeIncomplete
                                       << 200 << -1LL << QStringList() << QByteArray();
    QTest::newRow("closed mid-body") << ok + "Content-Length: 100\r\n\r\n" + QByteArray(40, 'b')
                                     << false << hpeOk << hpeIncomplete << 200 << 100LL
                                     << QStringList{"content-length=100"} << QByteArray(40, 'b');
    QTest::newRow("length beyond 32 bits")
        << ok + "Content-Length: 6000000000\r\n\r\nabc" << false << hpeOk << hpeIncomplete << 200
        << 6000000000LL << QStringList{"content-length=6000000000"} << QByteArray("abc");
    QTest::newRow("no body expected after HEAD")
        << ok + "Content-Length: 100\r\n\r\n"
        << true << hpeOk << hpeOk << 200 << 100LL << QStringList{"content-length=100"}
        << QByteArray();
    QTest::newRow("no body expected with 304")
        << QByteArray("HTTP/1.0 304 Not Modified\r\nContent-Length: 9\r\n\r\n") << false << hpeOk
        << hpeOk << 304 << 9LL << QStringList{"content-length=9"} << QByteArray();
    QTest::newRow("status without a reason")
        << QByteArray("HTTP/1.1 200\r\n\r\nx") << false << hpeOk << hpeOk << 200 << -1LL
        << QStringList() << QByteArray("x");

    for (const char *bad :
         {"HTTP/2 200 OK", "HTTP/1.0 2x0 OK", "HTTP/1.0 -12 Odd", "HTTP/1.2 200 OK",
          "HTTP/1.0 2000 OK", "http/1.0 200 OK", "Server: x", ""})
        QTest::newRow(qPrintable(QString("status line \"%1\"").arg(bad)))
            << QByteArray(bad) + "\r\n\r\nabc" << false << hpeBadStatusLine << hpeBadStatusLine << 0
            << -1LL << QStringList() << QByteArray();

    // A line is 8192 bytes at most before its line feed.
    QTest::newRow("header line of 8192 bytes")
        << ok + "X-Long: " + QByteArray(8183, 'a') + "\r\n\r\nabc" << false << hpeOk << hpeOk << 200
        << -1LL << QStringList{"x-long=" + QString(8183, 'a')} << QByteArray("abc");
    QTest::newRow("header line of 8193 bytes")
        << ok + "X-Long: " + QByteArray(8184, 'a') + "\r\n\r\nabc" << false << hpeLineTooLong
        << hpeLineTooLong << 200 << -1LL << QStringList() << QByteArray();
    // 17 bytes of status line, 16 lines of 4096 bytes less 17, then the empty line: the whole
    // header just fits; one more byte does not.
    const QByteArray fits = ok + Lines(15, 4096) + Lines(1, 4096 - 17 - 2) + "\r\n";
    QStringList fitFields;
    for (int i = 0; i < 16; ++i)
        fitFields << "x-pad=" + QString(i < 15 ? 4096 - 9 : 4096 - 17 - 2 - 9, 'p');
    QTest::newRow("a header of 64 KiB")
        << fits + "abc" << false << hpeOk << hpeOk << 200 << -1LL << fitFields << QByteArray("abc");
    const QByteArray over = ok + Lines(15, 4096) + Lines(1, 4096 - 17 - 1) + "\r\n";
    QStringList overFields = fitFields;
    overFields.last() += 'p';
    QTest::newRow("a header of 64 KiB and one byte")
        << over + "abc" << false << hpeHeaderTooLarge << hpeHeaderTooLarge << 200 << -1LL
        << overFields << QByteArray();
    QTest::newRow("header lines without end")
        << ok + Lines(2000, 100) << false << hpeHeaderTooLarge << hpeHeaderTooLarge << 200 << -1LL
        << QStringList((64 * 1024 - ok.size()) / 100, "x-pad=" + QString(91, 'p')) << QByteArray();
}

// Each answer is fed whole, in two pieces cut at every offset, and byte by byte, then the close
// comes as an event of its own: the outcome is the same however the answer arrives.
void TestHttpParser::answers() {
    QFETCH(QByteArray, answer);
    QFETCH(bool, head);
    QFETCH(THttpParseError, fed);
    QFETCH(THttpParseError, ended);
    QFETCH(int, status);
    QFETCH(qint64, length);
    QFETCH(QStringList, fields);
    QFETCH(QByteArray, body);

    const Outcome whole = Parse(answer, {}, head);
    QCOMPARE(whole.Fed, fed);
    QCOMPARE(whole.Ended, ended);
    QCOMPARE(whole.Status, status);
    QCOMPARE(whole.Length, length);
    QCOMPARE(whole.Fields, fields);
    QCOMPARE(whole.Body, body);

    // Two pieces cut at every offset of a short answer; of a long one, around the bounds and
    // at every 61st byte.
    QList<int> offsets;
    for (int cut = 1; cut < answer.size(); ++cut)
        if (answer.size() < 10000 || cut % 61 == 0 || std::abs(cut - 65536) < 40 ||
            std::abs(cut - 8200) < 40)
            offsets << cut;
    for (int cut : offsets)
        QVERIFY2(Parse(answer, {cut}, head) == whole, qPrintable(QString("cut at %1").arg(cut)));
    QList<int> everyByte;
    for (int cut = 1; cut < answer.size(); ++cut)
        everyByte << cut;
    QVERIFY2(Parse(answer, everyByte, head) == whole, "byte by byte");
}

QUORVALE_TEST_MAIN(TestHttpParser)
#include "tst_HttpParser.moc"
