// The update check as a user meets it: on a real desktop (Xvfb with openbox) against nginx on
// loopback, with real windows, real message boxes and Qt's own save dialog, driven by the mouse
// and the keyboard.
#include "app/Main.h"
#include "controls/ExplBtn.h"
#include "platform/SysUtils.h"
#include "tests/support/Desktop.h"
#include "tests/support/DialogRecorder.h"
#include "tests/support/NginxServer.h"
#include "tests/support/ShellRecorder.h"
#include "update/WUpdate.h"
#include "update/WebFileInfo.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>

class TestUpdateDesktop : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QUORVALE_REQUIRE_DESKTOP();
        QCoreApplication::setApplicationName("Quorvale Pro");
    }

    // Last and only: installing tells the application to terminate.
    void fromTheToolbarToTheStartedUpdate() {
        NginxServer server;
        QByteArray program = "#!/bin/sh\necho installing\n";
        for (int i = 0; i < 300000; ++i)
            program += char('a' + i % 26);
        QVERIFY(server.AddFile("dl/Setup", program));
        QVERIFY(server.AddFile("readme.txt", "What is new in 1.7."));
        QVERIFY(server.AddFile("Vormex/Vormex.htm",
                               "<HTML><HEAD>\n"
                               "<META HTTP-EQUIV=\"version\" CONTENT=\"1.7\">\n"
                               "<META HTTP-EQUIV=\"date\" CONTENT=\"July 25, 2001\">\n"
                               "<META HTTP-EQUIV=\"url\" CONTENT=\"/dl/Setup\">\n"
                               "<META HTTP-EQUIV=\"readme\" CONTENT=\"/readme.txt\">\n"
                               "<META HTTP-EQUIV=\"runparams\" CONTENT=\"--quiet\">\n"
                               "</HEAD></HTML>\n"));
        if (!server.Start())
            QSKIP(qPrintable(server.Failure()));

        QTemporaryDir folder;
        qputenv("QUORVALE_HOME_URL", server.Url("/Vormex/Vormex.htm").toUtf8());
        TfrmMain f(folder.path());
        qunsetenv("QUORVALE_HOME_URL");
        f.show();
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));

        TRealMessageBoxes boxes;
        // A window the user below does not answer (the update window offering nothing, a
        // dialog it does not know) fails the test within seconds, by name.
        ModalWatchdog watchdog;
        ShellRecorder shell;
        QString shownVersion, readMe, savedAs;
        bool retrieveClicked = false;
        QTimer user;
        user.setInterval(50);
        connect(&user, &QTimer::timeout, [&] {
            QWidget *active = QApplication::activeModalWidget();
            if (!active || !active->isActiveWindow())
                return;
            if (auto *w = qobject_cast<TfrmUpdate *>(active)) {
                if (retrieveClicked || w->lblVersion->text() != "1.7" ||
                    !w->btnRetrieveUpdate->isVisible())
                    return;
                shownVersion = w->lblVersion->text();
                retrieveClicked = true;
                // The click runs the whole update sequence: from the event loop, not from
                // inside this check.
                QTimer::singleShot(0, w, [w] {
                    QTest::mouseClick(w->btnRetrieveUpdate, Qt::LeftButton, {}, QPoint(20, 12));
                });
            } else if (active->windowTitle() == "Read Me" && readMe.isEmpty()) {
                readMe = active->findChild<QPlainTextEdit *>()->toPlainText();
                QTest::keyClick(active, Qt::Key_Return);
            } else if (auto *dialog = qobject_cast<QFileDialog *>(active);
                       dialog && savedAs.isEmpty()) {
                auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
                savedAs = folder.path() + "/update";
                name->selectAll();
                QTest::keyClicks(name, savedAs);
                QTest::keyClick(name, Qt::Key_Return);
            }
        });
        user.start();
        QTest::mouseClick(f.btnUpdate, Qt::LeftButton, {}, QPoint(12, 12));
        user.stop();

        QCOMPARE(shownVersion, QString("1.7"));
        QCOMPARE(readMe, QString("What is new in 1.7."));
        QCOMPARE(boxes.Texts(),
                 QStringList({"Current version is 1.6.12.\nVersion 1.7 is available.\nWould you "
                              "like to view the ReadMe file?",
                              "Current version is 1.6.12.\nVersion 1.7 is available.\nDownload "
                              "the update?",
                              "Do you want to install the update now?\nThis will close Quorvale "
                              "Pro."}));
        const QString target = folder.path() + "/update.EXE";
        QFile saved(target);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll() == program);
        QCOMPARE(shell.Files(), QStringList{target});
        QCOMPARE(shell.Requests().at(0).Kind, skProgram);
        QCOMPARE(shell.Requests().at(0).Arguments, QStringList{"--quiet"});
        // The program ends without its close sequence, but with its values kept.
        QVERIFY(QFile::exists(f.SavedValuesFile()));
    }
};

QUORVALE_DESKTOP_TEST_MAIN(TestUpdateDesktop)
#include "tst_UpdateDesktop.moc"
