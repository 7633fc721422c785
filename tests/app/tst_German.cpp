// Every window, built once in English and once in German: no text of it stays English.
#include "app/About.h"
#include "app/Close.h"
#include "app/Compare.h"
#include "app/Disclaim.h"
#include "app/Main.h"
#include "app/Schedule.h"
#include "app/URL.h"
#include "controls/ExplBtn.h"
#include "platform/Language.h"
#include "platform/SysUtils.h"
#include "printing/Preview.h"
#include "printing/Qrchart.h"
#include "tests/support/DialogRecorder.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TestMain.h"
#include "tests/support/Untranslated.h"
#include "tests/support/VersionPageTags.h"
#include "update/WUpdate.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

using TBuild = std::function<void(TShownTexts &)>;
Q_DECLARE_METATYPE(TBuild)

namespace {

// Shows the window, takes its texts and the messages it asked for.
void Take(TShownTexts &texts, QWidget &window, const QList<TDialogRequest> &asked = {}) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    AddWindowTexts(texts, &window);
    AddDialogTexts(texts, asked);
}

// The main window in a folder of its own, closed without the thanks. The application's hooks
// it set go with it, or the update rows after it would call into a window that is gone.
struct TMainWindow {
    QTemporaryDir Folder;
    TfrmMain Window{Folder.path()};
    ~TMainWindow() {
        Window.DrawForThanks = [] {
            return 7;
        };
    }
};

// The update component as the main window configures it, with a version page offering
// `version` (with no date: the site's words are not the program's), and a read-me file on it
// when asked for.
struct TUpdateSite {
    LoopbackServer Server;
    TWebFileInfo Component;
    explicit TUpdateSite(const QByteArray &version = "1.7", bool readMe = false) {
        const QByteArray more = readMe ? Meta("readme", "/readme.txt") : QByteArray();
        Server.SetScripts({Serve(Meta("version", version) +
                                 Meta("url", Server.Url("/dl/Setup.exe").toLatin1()) + more),
                           Serve("1.7")});
        Component.SetCurrentVersion("1.6.12");
        Component.SetHomeURL(Server.Url());
        SetVersionPageTags(Component.InfoTags());
    }
};

void MainWindow(TShownTexts &texts) {
    TMainWindow main;
    Take(texts, main.Window);
}

// The preview the main window's Print opens, with the chart's page.
void ChartPreview(TShownTexts &texts) {
    TMainWindow main;
    TQRPaymentChart chart(main.Window, *main.Window.rgCalculate, *main.Window.grdLS,
                          MakerAddresses().Host);
    TfrmPreview preview(&main.Window);
    QTimer whenShown;
    QObject::connect(&whenShown, &QTimer::timeout, [&] {
        if (QApplication::activeModalWidget() != &preview)
            return;
        whenShown.stop();
        Take(texts, preview);
        preview.bbClose->Click();
    });
    whenShown.start(10);
    main.Window.show();
    main.Window.btnPrint->Click();
}

void ScheduleWindow(TShownTexts &texts) {
    ShowSchedule(nullptr, TLoan{100000, 8.75, 360, 786.70});
    Take(texts, *frmSchedule);
    delete frmSchedule;
}

void CompareWindow(TShownTexts &texts) {
    QTemporaryDir folder;
    const QString ini = folder.filePath("Vormex.Ini");
    TfrmCompare w("Quorvale Pro, 1.6.12", ini, ini);
    TOffer second{"", {100000, 8.25, 360, 0}, {}}; // both named after their columns
    second.Plan.Points = 2;
    w.AddOffer({"", {100000, 8.75, 360, 0}, {}});
    w.AddOffer(second);
    Take(texts, w);
}

void UpdateWindow(TShownTexts &texts) {
    DialogRecorder dialogs;
    TUpdateSite site;
    TfrmUpdate w(&site.Component);
    w.show();
    QTRY_VERIFY(site.Component.Active() || !dialogs.Requests().isEmpty());
    Take(texts, w, dialogs.Requests());
}

// The messages of a check with no answer, with no update and with one declined, and the
// component's windows.
void UpdateDialogs(TShownTexts &texts) {
    DialogRecorder dialogs;
    for (const char *version : {"", "1.6.12", "1.7"}) {
        TUpdateSite site(version);
        if (!*version)
            site.Component.SetHomeURL(
                QStringLiteral("http://127.0.0.1:%1/").arg(LoopbackServer::RefusingPort()));
        dialogs.Answer(mrNo);
        site.Component.PerformUpdate();
    }
    AddDialogTexts(texts, dialogs.Requests());
    TUpdateSite site("1.7", true);
    QVERIFY(site.Component.RetrieveInfo());
    for (QDialog *w : {site.Component.CreateWaitWindow(QString()),
                       static_cast<QDialog *>(site.Component.CreateProgressWindow()),
                       site.Component.CreateReadMeWindow()}) {
        Take(texts, *w);
        delete w;
    }
}

// What the windows say of what they refuse: a saved value that is no number, a month that is
// none in the schedule's options, a rate out of range among the offers.
void Refusals(TShownTexts &texts) {
    DialogRecorder dialogs;
    QTemporaryDir folder;
    QFile ini(folder.filePath("Vormex.Ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write("[LastValues]\nLoan=lots\n") > 0);
    ini.close();
    {
        TfrmMain main(folder.path());
        main.DrawForThanks = [] {
            return 7;
        };
    }
    AddDialogTexts(texts, dialogs.Requests());
    ShowSchedule(nullptr, TLoan{100000, 8.75, 360, 786.70});
    auto *from = frmSchedule->findChild<QLineEdit *>("edtMonthlyFrom");
    QVERIFY(from);
    from->selectAll();
    QTest::keyClicks(from, "0");
    Take(texts, *frmSchedule);
    delete frmSchedule;
    TfrmCompare compare("Quorvale Pro, 1.6.12", QString(), QString());
    compare.grdOffers->item(int(TOfferField::Rate), 0)->setText("300");
    Take(texts, compare);
}

template <class Window> void Plain(TShownTexts &texts) {
    Window w;
    Take(texts, w);
}

} // namespace

class TestGerman : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        SetFormatSettings(UnitedStatesFormatSettings());
        QCoreApplication::setApplicationName("Quorvale Pro"); // the title of a plain message
    }
    void cleanup() { UseLanguage(*QCoreApplication::instance(), "C"); }

    void noEnglishTextIsLeft_data() {
        QTest::addColumn<TBuild>("build");
        QTest::newRow("main window") << TBuild(MainWindow);
        QTest::newRow("about box") << TBuild(Plain<TAboutBox>);
        QTest::newRow("disclaimer") << TBuild(Plain<TfrmDisclaim>);
        QTest::newRow("close") << TBuild(Plain<TfrmClose>);
        QTest::newRow("schedule") << TBuild(ScheduleWindow);
        QTest::newRow("comparison") << TBuild(CompareWindow);
        QTest::newRow("chart preview") << TBuild(ChartPreview);
        QTest::newRow("update window") << TBuild(UpdateWindow);
        QTest::newRow("update dialogs") << TBuild(UpdateDialogs);
        QTest::newRow("refusals") << TBuild(Refusals);
    }
    void noEnglishTextIsLeft() {
        QFETCH(TBuild, build);
        TShownTexts english, german;
        UseLanguage(*QCoreApplication::instance(), "C");
        build(english);
        QVERIFY(!english.isEmpty());
        QVERIFY(UseLanguage(*QCoreApplication::instance(), "de_DE"));
        build(german);
        const QStringList left = UntranslatedTexts(english, german);
        for (const QString &text : left)
            qInfo().noquote() << "English left:" << text;
        QVERIFY2(left.isEmpty(), qPrintable(QString::number(left.size()) + " texts, listed above"));
    }
};

QUORVALE_TEST_MAIN(TestGerman)
#include "tst_German.moc"
