#include "app/CommandLine.h"

#include "platform/Version.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    // The built program itself, with no display of any kind: what it prints and that it ends.
    void versionAndHelpNeedNoDisplay_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("expected");
        QTest::newRow("version") << QStringList{"--version"} << "Quorvale Pro 1.6.12\n";
        QTest::newRow("help") << QStringList{"--help"} << "Usage: quorvale [--version | --help]";
        QTest::newRow("others ignored") << QStringList{"-x", "file", "--version", "--help"}
                                        << QString("Quorvale Pro ") + QuorvaleVersion + "\n";
        QTest::newRow("help first") << QStringList{"--help", "--version"} << "Usage: quorvale";
    }
    void versionAndHelpNeedNoDisplay() {
        QFETCH(QStringList, args);
        QFETCH(QString, expected);
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        program.setProcessEnvironment(env);
        // The program of the same build tree: build/app/quorvale beside build/tests/.
        program.start(QCoreApplication::applicationDirPath() + "/../app/quorvale", args);
        QVERIFY2(program.waitForFinished(10000), "the program did not end by itself");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        QVERIFY2(out.startsWith(expected), qPrintable(out));
        QCOMPARE(QString::fromUtf8(program.readAllStandardError()), QString());
    }

    void otherArgumentsOpenTheWindows() {
        QVERIFY(!CommandLineAnswer({"quorvale"}));
        QVERIFY(!CommandLineAnswer({"quorvale", "--verbose", "-h", "version", "--version=2"}));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_CommandLine.moc"
