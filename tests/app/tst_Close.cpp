#include "app/Close.h"

#include "app/Main.h"
#include "controls/ExplBtn.h"
#include "tests/support/Layout.h"
#include "tests/support/ShellRecorder.h"
#include "tests/support/TestMain.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

class TestClose : public QObject {
    Q_OBJECT

private slots:
    void everyTextShowsInFullAndNothingOverlaps() {
        TfrmClose thanks;
        thanks.show();
        QVERIFY(QTest::qWaitForWindowExposed(&thanks));
        const QStringList faults = LayoutFaults(&thanks);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
    }

    void theThanksWindowAsItIsDrawn() {
        TfrmClose thanks;
        QCOMPARE(thanks.windowTitle(), QString("Thanks from Tamblewick Software!"));
        QCOMPARE(thanks.size(), QSize(373, 209));
        QVERIFY(thanks.Label3->text().contains("about them.  We invite you"));
        QCOMPARE(thanks.Label3->font().pixelSize(), 13);
        QCOMPARE(thanks.btnSuggestions->text(), QString("Visit Online Suggestion Box"));
        QCOMPARE(thanks.BtnReturn->Caption(), QString("  Return"));
        QCOMPARE(thanks.BtnExit->Caption(), QString("  Quit"));
        QCOMPARE(thanks.BtnReturn->geometry(), QRect(42, 181, 123, 25));
        QCOMPARE(thanks.BtnExit->geometry(), QRect(207, 181, 123, 25));
        QVERIFY(thanks.BtnExit->toolTip().isEmpty());
    }

    void theButtonsSetTheExitFlagAndTheCloseKeyLeavesIt() {
        for (bool quit : {true, false}) {
            TfrmClose thanks;
            thanks.show();
            QVERIFY(QTest::qWaitForWindowActive(&thanks));
            ExitFlag = !quit;
            (quit ? thanks.BtnExit : thanks.BtnReturn)->Click();
            QCOMPARE(ExitFlag, quit);
            QVERIFY(!thanks.isVisible());
        }
        TfrmClose thanks;
        thanks.show();
        QVERIFY(QTest::qWaitForWindowActive(&thanks));
        ExitFlag = false;
        QTest::keyClick(&thanks, Qt::Key_Escape);
        QVERIFY(!thanks.isVisible());
        QCOMPARE(ExitFlag, false);
    }

    void theSuggestionButtonOpensTheSuggestionBox() {
        QTemporaryDir folder;
        TfrmMain main(folder.path());
        ShellRecorder shell;
        TfrmClose thanks(&main);
        thanks.btnSuggestions->click();
        QCOMPARE(shell.Files(), QStringList({"http://www.tamblewick.example/suggest.htm"}));
        main.DrawForThanks = [] {
            return 1;
        };
    }
};

QUORVALE_TEST_MAIN(TestClose)
#include "tst_Close.moc"
