#include "app/URL.h"
#include "platform/ShellApi.h"
#include "tests/support/ShellRecorder.h"

#include "tests/support/TestMain.h"
#include <optional>

#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

class TestURL : public QObject {
    Q_OBJECT

    QTemporaryDir FDir;
    std::optional<ShellRecorder> FShell;

private slots:
    void initTestCase() {
        QVERIFY(FDir.isValid());
        QFile file(FDir.filePath("vormex.htm"));
        QVERIFY(file.open(QIODevice::WriteOnly)); // a file address names a file that exists
    }

    void init() { FShell.emplace(); }

    void cleanup() { FShell.reset(); }

    void theShellOpensTheSchemeAndTheAddressInTheBackground_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("address");
        QTest::newRow("file") << int(utFile) << "%D/vormex.htm"
                              << "file://%D/vormex.htm";
        QTest::newRow("ftp") << int(utFtp) << "ftp.tamblewick.example/pub"
                             << "ftp://ftp.tamblewick.example/pub";
        QTest::newRow("gopher") << int(utGopher) << "tamblewick.example"
                                << "gopher://tamblewick.example";
        QTest::newRow("http") << int(utHttp) << "www.tamblewick.example/"
                              << "http://www.tamblewick.example/";
        QTest::newRow("https") << int(utHttps) << "www.tamblewick.example/suggest.htm"
                               << "https://www.tamblewick.example/suggest.htm";
        QTest::newRow("mailto") << int(utMailto) << "support@tamblewick.example"
                                << "mailto:support@tamblewick.example";
        QTest::newRow("news") << int(utNews) << "comp.lang.pascal"
                              << "news:comp.lang.pascal";
        QTest::newRow("telnet") << int(utTelnet) << "bbs.tamblewick.example"
                                << "telnet:bbs.tamblewick.example";
        QTest::newRow("wais") << int(utWais) << "wais.tamblewick.example/loans"
                              << "wais:wais.tamblewick.example/loans";
    }

    void theShellOpensTheSchemeAndTheAddressInTheBackground() {
        QFETCH(int, type);
        QFETCH(QString, url);
        QFETCH(QString, address);
        url.replace("%D", FDir.path());
        address.replace("%D", FDir.path());
        QWidget window;
        TURL link(&window);
        link.SetURLType(TURLType(type));
        link.SetURL(url);
        QCOMPARE(link.Address(), address);
        QVERIFY(link.Open());
        QCOMPARE(FShell->Requests().size(), 1);
        const TShellRequest &r = FShell->Requests().first();
        QCOMPARE(r.File, address);
        QCOMPARE(r.Operation, QString("open"));
        QVERIFY(r.Parameters.isEmpty());
        QVERIFY(r.Directory.isEmpty());
        QCOMPARE(r.ShowCmd, int(SW_SHOWNOACTIVATE));
        QCOMPARE(r.Owner, &window);
    }

    void aNewLinkIsAWebAddress() {
        TURL link;
        link.SetURL("www.tamblewick.example/");
        QCOMPARE(link.URLType(), utHttp);
        QVERIFY(link.Open());
        QCOMPARE(FShell->Requests().first().File, QString("http://www.tamblewick.example/"));
    }

    void anEmptyLinkDoesNothingAndReportsFalse() {
        TURL link;
        link.SetURLType(utMailto);
        QVERIFY(!link.Open());
        QVERIFY(FShell->Requests().isEmpty());
    }

    void anAddressLongerThan79CharactersIsRefusedNotCut() {
        TURL link;
        const QString prefix = "www.tamblewick.example/"; // 23 characters, with http:// 30
        link.SetURL(prefix + QString(49, 'a'));
        QCOMPARE(link.Address().size(), 79);
        QVERIFY(link.Open());
        QCOMPARE(FShell->Requests().size(), 1);
        QCOMPARE(FShell->Requests().first().File, link.Address());

        link.SetURL(prefix + QString(50, 'a'));
        QVERIFY(!link.Open());
        QCOMPARE(FShell->Requests().size(), 1);
    }

    void openIsTrueOnlyForAShellCodeAbove32_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("opened");
        QTest::newRow("no association") << int(SE_ERR_NOASSOC) << false;
        QTest::newRow("32") << 32 << false;
        QTest::newRow("33") << 33 << true;
        QTest::newRow("42") << 42 << true;
        QTest::newRow("not found") << int(ERROR_FILE_NOT_FOUND) << false;
        QTest::newRow("0") << 0 << false;
    }

    void openIsTrueOnlyForAShellCodeAbove32() {
        QFETCH(int, code);
        QFETCH(bool, opened);
        FShell->SetAnswer(code);
        TURL link;
        link.SetURL("www.tamblewick.example/");
        QCOMPARE(link.Open(), opened);
    }

    void aLinkWithoutAWindowIsOwnedByTheActiveWindow() {
        QWidget window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        TURL link;
        link.SetURL("www.tamblewick.example/");
        QVERIFY(link.Open());
        QCOMPARE(FShell->Requests().first().Owner, &window);
    }

    void everyMakerAddressOpensAsOneOfTheMakersPages() {
        const TMakerAddresses &maker = MakerAddresses();
        struct {
            QString Page;
            TURLType Type;
            QString Address;
        } const links[] = {
            {maker.HomePage, utHttp, "http://www.tamblewick.example/"},
            {maker.ProductPage, utHttp, "http://www.tamblewick.example/Vormex/Vormex.htm"},
            {maker.FreewarePage, utHttp, "http://www.tamblewick.example/freeware.htm"},
            {maker.SuggestPage, utHttp, "http://www.tamblewick.example/suggest.htm"},
            {maker.SupportMail, utMailto, "mailto:support@tamblewick.example"},
            {maker.SuggestionsMail, utMailto, "mailto:suggestions@tamblewick.example"},
        };
        for (const auto &l : links) {
            TURL link;
            link.SetURLType(l.Type);
            link.SetURL(l.Page);
            QVERIFY2(link.Open(), qPrintable(l.Address));
            QCOMPARE(FShell->Requests().last().File, l.Address);
        }
        QCOMPARE(maker.Host, QString("www.tamblewick.example"));
    }
};

QUORVALE_TEST_MAIN(TestURL)
#include "tst_URL.moc"
