#include "platform/Dialogs.h"
#include "tests/support/DialogRecorder.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    void lineBreaksInEitherOrderShowAsOneBreak() {
        QCOMPARE(MessageDlgDisplayText("a\n\rb\r\nc\rd\ne"), QString("a\nb\nc\nd\ne"));
        QCOMPARE(MessageDlgDisplayText("a\n\r\n\rb").split('\n').size(), 3);
    }

    void theRecorderSeesTheRequestAndScriptsTheAnswer() {
        DialogRecorder dialogs;
        dialogs.Answer(mrNo);
        QCOMPARE(MessageDlg("Replace it?", mtConfirmation, mbYes | mbNo), int(mrNo));
        QCOMPARE(MessageDlg("Done.", mtInformation, mbOK), int(mrOk));
        QCOMPARE(dialogs.Texts(), QStringList({"Replace it?", "Done."}));
        QCOMPARE(dialogs.Requests().at(0).Title, QString("Confirm"));
        QCOMPARE(dialogs.Requests().at(1).Title, QString("Information"));
    }

    void aRealBoxShowsTheTextAndReturnsTheButtonPressed() {
        // No recorder: the real box, closed by pressing Return on its default button.
        QTimer::singleShot(0, [] {
            QWidget *box = QApplication::activeModalWidget();
            QVERIFY(box);
            QVERIFY(box->findChildren<QLabel *>().size() > 0);
            QTest::keyClick(box, Qt::Key_Return);
        });
        QCOMPARE(MessageDlg("Hello", mtInformation, mbOK), int(mrOk));
    }

    void thePrinterSetupIsConfirmedByOkAndPrintsNothing() {
        QStringList buttons;
        QTimer::singleShot(0, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            for (const QPushButton *b : dialog->findChildren<QPushButton *>())
                if (b->isVisible())
                    buttons << b->text().remove('&');
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QVERIFY(!PrinterSetupExecute(nullptr));
        QVERIFY(buttons.contains("OK"));
        QVERIFY(!buttons.contains("Print"));
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_Dialogs.moc"
