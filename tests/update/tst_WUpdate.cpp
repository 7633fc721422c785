#include "update/WUpdate.h"

#include "app/Main.h"
#include "controls/ExplBtn.h"
#include "platform/SysUtils.h"
#include "tests/support/DialogRecorder.h"
#include "tests/support/Layout.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TestMain.h"
#include "tests/support/VersionPageTags.h"
#include "update/WebFileInfo.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

namespace {

QByteArray Page(const QByteArray &version, const QByteArray &date = "July 25, 2001") {
    return "<HTML>\r\n<META HTTP-EQUIV=\"version\" CONTENT=\"" + version +
           "\">\r\n<META HTTP-EQUIV=\"date\" CONTENT=\"" + date +
           "\">\r\n<META HTTP-EQUIV=\"url\" CONTENT=\"/dl/Setup.exe\">\r\n</HTML>\r\n";
}

std::unique_ptr<TWebFileInfo> Component(const QString &homeURL) {
    auto c = std::make_unique<TWebFileInfo>();
    c->SetCurrentVersion("1.6.12");
    c->SetHomeURL(homeURL);
    c->InfoTags().SetVersionTag("version");
    c->InfoTags().SetDateTag("date");
    c->InfoTags().SetDownloadTag("url");
    return c;
}

QColor Colour(const QLabel *label) {
    return label->palette().color(QPalette::WindowText);
}

// Opens the window as the program does and waits until its check has ended.
void OpenAndCheck(TfrmUpdate &w, const TWebFileInfo &c, const DialogRecorder &dialogs) {
    w.show();
    QTRY_VERIFY(c.Active() || !dialogs.Requests().isEmpty());
}

} // namespace

class TestWUpdate : public QObject {
    Q_OBJECT

    std::unique_ptr<DialogRecorder> FDialogs;

private slots:
    void init() {
        FDialogs = std::make_unique<DialogRecorder>();
        QCoreApplication::setApplicationName("Quorvale Pro");
    }
    void cleanup() { FDialogs.reset(); }

    void designCaptions() {
        TWebFileInfo c;
        TfrmUpdate w(&c);
        QCOMPARE(w.windowTitle(), QString("Tamblewick Software Update Center"));
        QCOMPARE(w.lblCurrentVersion->text(), QString("1.6.12"));
        QCOMPARE(w.lblCurrentCompileDate->text(), QString("July 25, 1999"));
        QCOMPARE(w.lblUpdateStatus->text(), QString("Update Status:  Unknown"));
        QVERIFY(w.btnRetrieveUpdate->isHidden() && w.btnCheckForUpdate->isHidden());
        // Right-aligned captions end before the column of their values.
        for (auto [caption, value] : {std::pair{w.Label1, w.lblApplicationName},
                                      {w.Label8, w.lblCurrentVersion},
                                      {w.Label4, w.lblVersion},
                                      {w.Label10, w.lblCurrentCompileDate}}) {
            QVERIFY(caption->geometry().right() < value->x());
            QVERIFY(caption->width() >= caption->fontMetrics().horizontalAdvance(caption->text()));
        }
    }

    void everyTextShowsInFullAndNothingOverlaps_data() {
        QTest::addColumn<bool>("checked");
        QTest::newRow("as opened") << false;
        QTest::newRow("an update found") << true;
    }
    void everyTextShowsInFullAndNothingOverlaps() {
        QFETCH(bool, checked);
        LoopbackServer server;
        server.SetScript(Serve(Page("1.7")));
        auto c = Component(
            checked ? server.Url()
                    : QString("http://127.0.0.1:%1/").arg(LoopbackServer::RefusingPort()));
        TfrmUpdate w(c.get());
        OpenAndCheck(w, *c, *FDialogs);
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.btnRetrieveUpdate->isVisible(), checked);
        // The one overlap of the design: the maker's name reaches into the logo's box, as
        // there is no room to wrap it between its rows (see the window's constructor).
        QStringList faults = LayoutFaults(&w);
        faults.removeOne("Image1 overlaps lblDeveloper");
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
    }

    void serverVersions_data() {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<bool>("available");
        QTest::newRow("1.6.12") << QByteArray("1.6.12") << false;
        QTest::newRow("1.6.13") << QByteArray("1.6.13") << true;
        QTest::newRow("1.7") << QByteArray("1.7") << true;
        QTest::newRow("1.6.12.1") << QByteArray("1.6.12.1") << false;
        QTest::newRow("2") << QByteArray("2") << true;
        QTest::newRow("1.5.99") << QByteArray("1.5.99") << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("1.6.x") << QByteArray("1.6.x") << false;
    }
    void serverVersions() {
        QFETCH(QByteArray, version);
        QFETCH(bool, available);
        LoopbackServer server;
        server.SetScript(Serve(Page(version)));
        auto c = Component(server.Url());
        TfrmUpdate w(c.get());
        OpenAndCheck(w, *c, *FDialogs);
        QCOMPARE(w.lblVersion->text(), QString(version));
        QCOMPARE(Colour(w.lblVersion), QColor(Qt::blue));
        QCOMPARE(w.lblDate->text(), QString("July 25, 2001"));
        QCOMPARE(w.lblURL->text(), QString("/dl/Setup.exe"));
        QCOMPARE(w.lblUpdateStatus->text(),
                 QString(available ? "Update Information" : "No Update Available"));
        QCOMPARE(Colour(w.lblUpdateStatus), QColor(Qt::red));
        QCOMPARE(w.btnRetrieveUpdate->isVisible(), available);
        QCOMPARE(w.IsUpdateAvailable(), available);
    }

    void failuresShowTheComponentsMessageThenTheirOwn_data() {
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("reason");
        QTest::newRow("refused") << true << "Connection refused (Error #10061)";
        QTest::newRow("404 answer") << false << "Not Found";
    }
    void failuresShowTheComponentsMessageThenTheirOwn() {
        QFETCH(bool, refused);
        QFETCH(QString, reason);
        LoopbackServer server;
        server.SetScript(
            LoopbackServer::Answer(LoopbackServer::HttpAnswer(404, "Not Found", "gone")));
        auto c =
            Component(refused ? QString("http://127.0.0.1:%1/").arg(LoopbackServer::RefusingPort())
                              : server.Url());
        TfrmUpdate w(c.get());
        w.show();
        QTRY_COMPARE(FDialogs->Texts().size(), 2);
        QCOMPARE(FDialogs->Texts(), QStringList({"404", "Get Info failed due to:\r\n" + reason}));
        QCOMPARE(FDialogs->Requests().at(1).Title, QString("Quorvale Pro"));
        QCOMPARE(w.lblVersion->text(), QString("Status Unknown"));
        QCOMPARE(w.lblUpdateStatus->text(), QString("Update Status:  Unknown"));
        QVERIFY(w.btnRetrieveUpdate->isHidden());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        // A window manager activates the window again after each box: no second check.
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&w, &activate);
        QTest::qWait(100);
        QCOMPARE(FDialogs->Texts().size(), 2);
    }

    void aDateThatDoesNotParseReachesTheErrorPathAndRestoresTheCursor() {
        LoopbackServer server;
        server.SetScript(Serve(Page("1.7", "25 July 2001")));
        auto c = Component(server.Url());
        QStringList errors;
        Application()->OnException = [&](QObject *, const std::exception &e) {
            errors << e.what();
        };
        TfrmUpdate w(c.get());
        w.show();
        QTRY_COMPARE(errors.size(), 1);
        QCOMPARE(errors.at(0), QString("'25 July 2001' is not a valid date"));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QVERIFY(!c->Active());
        Application()->OnException = nullptr;
    }

    void theMainWindowOpensTheWindowOnEveryOpeningWithoutRefetching() {
        LoopbackServer server;
        server.SetScript(Serve(Page("1.7")));
        QTemporaryDir folder;
        qputenv("QUORVALE_HOME_URL", server.Url("/Vormex/Vormex.htm").toUtf8());
        TfrmMain f(folder.path());
        qunsetenv("QUORVALE_HOME_URL");
        QCOMPARE(f.WebFileInfo->HomeURL(), server.Url("/Vormex/Vormex.htm"));
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        for (int opening = 0; opening < 2; ++opening) {
            QString version;
            bool retrieveShown = false;
            QTimer::singleShot(0, [&] {
                auto *w = qobject_cast<TfrmUpdate *>(QApplication::activeModalWidget());
                QVERIFY(w);
                QTRY_COMPARE(w->lblVersion->text(), QString("1.7"));
                version = w->lblVersion->text();
                retrieveShown = w->btnRetrieveUpdate->isVisible();
                QTest::keyClick(w, Qt::Key_Escape);
            });
            if (opening == 0)
                QTest::mouseClick(f.btnUpdate, Qt::LeftButton);
            else
                f.mnuHelpUpdate->trigger();
            QCOMPARE(version, QString("1.7"));
            QVERIFY(retrieveShown);
        }
        QCOMPARE(server.Connections(), 1);
        QVERIFY(FDialogs->Texts().isEmpty());

        // Installing ends the program without its close sequence: the values are kept first.
        f.WebFileInfo->OnTerminating(f.WebFileInfo);
        QVERIFY(QFile::exists(f.SavedValuesFile()));
    }
};

QUORVALE_TEST_MAIN(TestWUpdate)
#include "tst_WUpdate.moc"
