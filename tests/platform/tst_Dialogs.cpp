#include "platform/Dialogs.h"
#include "tests/support/DialogRecorder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    // Save dialogs open on a folder that exists: the last one used, the documents or downloads
    // folder, else home.
    void saveProposesAFolderThatExists_data() {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<int>("proposed"); // -1: the home folder
        QTest::newRow("the first") << QStringList{"last", "docs"} << 0;
        QTest::newRow("the first gone") << QStringList{"gone", "docs"} << 1;
        QTest::newRow("none used yet") << QStringList{"", "docs"} << 1;
        QTest::newRow("none exists") << QStringList{"", "gone"} << -1;
        QTest::newRow("a file, not a folder") << QStringList{"file", "gone"} << -1;
    }
    void saveProposesAFolderThatExists() {
        QFETCH(QStringList, folders);
        QFETCH(int, proposed);
        QTemporaryDir dir;
        for (const char *name : {"last", "docs"})
            QVERIFY(QDir(dir.path()).mkdir(name));
        QFile file(dir.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (QString &folder : folders)
            if (!folder.isEmpty())
                folder = dir.filePath(folder);
        QCOMPARE(ProposedFolder(folders), proposed < 0 ? QDir::homePath() : folders[proposed]);
    }

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

    void aBoxWithACaptionOfItsOwn() {
        DialogRecorder dialogs;
        QCoreApplication::setApplicationName("Quorvale Pro");
        MessageBox("404", QString(), mtCustom, mbOK);
        MessageBox("Done.", "Install Update", mtConfirmation, mbYes | mbNo);
        QCOMPARE(dialogs.Requests().at(0).Title, QString("Quorvale Pro"));
        QCOMPARE(dialogs.Requests().at(1).Title, QString("Install Update"));
    }

    // The real dialog: a name typed without an extension gets the filter's before the dialog
    // asks about replacing, so the question names the file that would be replaced.
    void theSaveDialogAsksAboutTheNameWithItsExtension() {
        QTemporaryDir folder;
        QFile existing(folder.path() + "/update.EXE");
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        QString question;
        QTimer::singleShot(100, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
            QVERIFY(name);
            name->setText("update");
            QTimer::singleShot(100, [&] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                QVERIFY(box);
                question = box->text();
                box->button(QMessageBox::Yes)->click();
            });
            QTest::keyClick(name, Qt::Key_Return);
        });
        QString fileName = "Setup";
        int filter = 0;
        QVERIFY(SaveFileDialog(nullptr, "Save As", {"Application (*.EXE *.exe)", "All Files (*)"},
                               {"EXE", ""}, folder.path(), fileName, filter));
        QCOMPARE(fileName, folder.path() + "/update.EXE");
        QVERIFY2(question.contains("update.EXE"), qPrintable(question));
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_Dialogs.moc"
