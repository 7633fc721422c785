#include "app/Disclaim.h"

#include "controls/ExplBtn.h"
#include "tests/support/Layout.h"
#include "tests/support/TestMain.h"

#include <QLabel>

class TestDisclaim : public QObject {
    Q_OBJECT

private slots:
    void everyTextShowsInFullAndNothingOverlaps() {
        TfrmDisclaim box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QStringList faults = LayoutFaults(&box);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
    }

    void theTextsKeepTheirDoubleBlanksAndTheWarningIsRedAndBold() {
        TfrmDisclaim box;
        QCOMPARE(box.windowTitle(), QString("Disclaimer"));
        QCOMPARE(box.size(), QSize(224, 176));
        QCOMPARE(box.Label3->text(),
                 QString("NOTE:  While effort was made to ensure the accuracy of these "
                         "calculations,"));
        QCOMPARE(box.Label10->text(),
                 QString("there is  NO WARRANTY,  expressed or implied, for the accuracy or "
                         "applicability of this information to your particular financial "
                         "question."));
        QCOMPARE(box.Label12->text(), QString("Please consult your own financial advisor before "
                                              "making any financial decision."));
        QVERIFY(box.Label10->font().bold());
        QCOMPARE(box.Label10->palette().color(QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(box.Label3->palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(box.Label3->textFormat(), Qt::PlainText); // the double blanks stay
        QCOMPARE(box.btnClose->geometry(), QRect(55, 149, 115, 25));
    }

    void okCloses() {
        TfrmDisclaim box;
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        QTest::keyClick(&box, Qt::Key_O, Qt::AltModifier);
        QVERIFY(!box.isVisible());
    }
};

QUORVALE_TEST_MAIN(TestDisclaim)
#include "tst_Disclaim.moc"
