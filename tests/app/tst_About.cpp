#include "app/About.h"

#include "app/URLLabel.h"
#include "controls/ExplBtn.h"
#include "tests/support/Layout.h"
#include "tests/support/ShellRecorder.h"
#include "tests/support/TestMain.h"

#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>

class TestAbout : public QObject {
    Q_OBJECT

private slots:
    void everyTextShowsInFullAndNothingOverlaps() {
        TAboutBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QStringList faults = LayoutFaults(&box);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
    }

    void everyOpeningShowsTheSameTexts() {
        for (int opening = 0; opening < 3; ++opening) {
            TAboutBox box;
            QCOMPARE(box.windowTitle(), QString("About ..."));
            QCOMPARE(box.lblVersion->text(), QString("1.0.00"));
            box.show();
            QVERIFY(QTest::qWaitForWindowExposed(&box));
            QCOMPARE(box.windowTitle(), QString(" About Quorvale Pro, 1.6.12"));
            QCOMPARE(box.size(), QSize(363, 254));
            QCOMPARE(box.Label3->text(), QString("Quorvale Pro"));
            QCOMPARE(box.Label3->font().pixelSize(), 19);
            QVERIFY(box.Label3->font().bold());
            QCOMPARE(box.lblVersion->text(), QString("1.6.12"));
            QCOMPARE(box.lblCompileDate->text(), QString("July 25, 1999"));
            QVERIFY(!box.lblCopyright->text().isEmpty());
            QVERIFY(!box.lblRights->text().isEmpty());
            QVERIFY(box.Label4->text().startsWith("Tamblewick Software creates award-winning"));
            QCOMPARE(box.Label1->text(), QString("Visit Tamblewick at:"));
            QCOMPARE(box.UrlLabel1->text(), QString("www.tamblewick.example"));
            QCOMPARE(box.UrlLabel1->URL(), QString("http://www.tamblewick.example/"));
            QCOMPARE(box.btnClose->Caption(), QString(" &OK"));
            QCOMPARE(box.btnClose->geometry(), QRect(124, 227, 115, 25));
            QCOMPARE(box.btnClose->toolTip(), QString(" Close About ..."));
            QVERIFY(!box.Image1->pixmap().isNull() && !box.Image2->pixmap().isNull());
        }
    }

    void neitherTheLinkNorOkShowsATooltip() {
        TAboutBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        for (QWidget *control :
             {static_cast<QWidget *>(box.UrlLabel1), static_cast<QWidget *>(box.btnClose)}) {
            QVERIFY(!control->toolTip().isEmpty());
            QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), control->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(control, &tip);
            QTest::qWait(50);
            QVERIFY2(!QToolTip::isVisible(), qPrintable(control->toolTip()));
        }
    }

    void theAddressTurnsPurpleUnderTheMouseAndOpensOnAnyButton() {
        TAboutBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(box.UrlLabel1->FontColor(), QColor(Qt::blue));
        QVERIFY(box.UrlLabel1->font().underline());
        QTest::mouseMove(box.UrlLabel1, QPoint(5, 5));
        QTRY_COMPARE(box.UrlLabel1->FontColor(), QColor(128, 0, 128));
        QVERIFY(box.UrlLabel1->font().underline());
        QTest::mouseMove(&box, QPoint(5, 245));
        QTRY_COMPARE(box.UrlLabel1->FontColor(), QColor(Qt::blue));

        ShellRecorder shell;
        QTest::mousePress(box.UrlLabel1, Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(shell.Files(), QStringList({"http://www.tamblewick.example/"}));
    }

    void okClosesTheBoxByMouseAndKeyboard() {
        TAboutBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        box.btnClose->Click();
        QVERIFY(!box.isVisible());
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        QTest::keyClick(&box, Qt::Key_O, Qt::AltModifier);
        QVERIFY(!box.isVisible());
    }
};

QUORVALE_TEST_MAIN(TestAbout)
#include "tst_About.moc"
