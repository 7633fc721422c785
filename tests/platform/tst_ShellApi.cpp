#include "platform/ShellApi.h"
#include "tests/support/ShellRecorder.h"

#include "tests/support/TestMain.h"
#include <optional>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>

namespace {

void WriteFile(const QString &path, const QByteArray &content, bool executable) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

} // namespace

class TestShellApi : public QObject {
    Q_OBJECT

    QTemporaryDir FDir;
    std::optional<ShellRecorder> FShell;

    QString Path(const QString &name) const { return FDir.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(FDir.isValid());
        WriteFile(Path("readme.txt"), "read me\n", false);
        WriteFile(Path("setup.sh"), "#!/bin/sh\nexit 0\n", true);
        QVERIFY(QDir(FDir.path()).mkdir("docs"));
    }

    void init() { FShell.emplace(); }

    void cleanup() { FShell.reset(); }

    void eachRequestGoesTheWayItsNameSays_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("file"); // %D stands for the temporary folder
        QTest::addColumn<QString>("directory");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("target"); // the address, or the program's path

        QTest::newRow("web address") << "open"
                                     << "http://www.tamblewick.example/"
                                     << "" << int(skAddress) << "http://www.tamblewick.example/";
        QTest::newRow("mail address")
            << "open"
            << "mailto:support@tamblewick.example"
            << "" << int(skAddress) << "mailto:support@tamblewick.example";
        QTest::newRow("default operation")
            << ""
            << "https://www.tamblewick.example/a.htm"
            << "" << int(skAddress) << "https://www.tamblewick.example/a.htm";
        QTest::newRow("operation in capitals")
            << "Open"
            << "ftp://ftp.tamblewick.example/x.zip"
            << "" << int(skAddress) << "ftp://ftp.tamblewick.example/x.zip";
        QTest::newRow("document") << "open"
                                  << "%D/readme.txt"
                                  << "" << int(skDocument) << "file://%D/readme.txt";
        QTest::newRow("document by its file address")
            << "open"
            << "file://%D/readme.txt"
            << "" << int(skDocument) << "file://%D/readme.txt";
        QTest::newRow("document named from its folder")
            << "open"
            << "readme.txt"
            << "%D" << int(skDocument) << "file://%D/readme.txt";
        QTest::newRow("folder") << "open"
                                << "%D/docs"
                                << "" << int(skDocument) << "file://%D/docs";
        QTest::newRow("program") << "open"
                                 << "%D/setup.sh"
                                 << "" << int(skProgram) << "%D/setup.sh";
        QTest::newRow("program by its file address") << "open"
                                                     << "file://%D/setup.sh"
                                                     << "" << int(skProgram) << "%D/setup.sh";
    }

    void eachRequestGoesTheWayItsNameSays() {
        QFETCH(QString, operation);
        QFETCH(QString, file);
        QFETCH(QString, directory);
        QFETCH(int, kind);
        QFETCH(QString, target);
        const auto expand = [this](QString s) {
            return s.replace("%D", FDir.path());
        };

        QCOMPARE(ShellExecute(nullptr, operation, expand(file), QString(), expand(directory),
                              SW_SHOWNORMAL),
                 int(ShellOpened));
        QCOMPARE(FShell->Requests().size(), 1);
        const TShellRequest &r = FShell->Requests().first();
        QCOMPARE(int(r.Kind), kind);
        if (kind == skProgram)
            QCOMPARE(r.Program, expand(target));
        else
            QCOMPARE(r.Address, QUrl(expand(target)));
    }

    void aRequestThatCannotBeCarriedOutNeverReachesTheOpener_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("directory");
        QTest::addColumn<int>("code");

        QTest::newRow("missing file") << "open"
                                      << "%D/missing.txt"
                                      << "" << 2;
        QTest::newRow("missing program") << "open"
                                         << "%D/setup2.sh"
                                         << "" << 2;
        QTest::newRow("missing folder") << "open"
                                        << "%D/nowhere/readme.txt"
                                        << "" << 3;
        QTest::newRow("missing working folder") << "open"
                                                << "%D/setup.sh"
                                                << "%D/nowhere" << 3;
        QTest::newRow("missing file address") << "open"
                                              << "file://%D/missing.txt"
                                              << "" << 2;
        QTest::newRow("no name") << "open"
                                 << ""
                                 << "" << 2;
        QTest::newRow("another operation") << "print"
                                           << "%D/readme.txt"
                                           << "" << 31;
        QTest::newRow("another operation on an address") << "edit"
                                                         << "http://www.tamblewick.example/"
                                                         << "" << 31;
    }

    void aRequestThatCannotBeCarriedOutNeverReachesTheOpener() {
        QFETCH(QString, operation);
        QFETCH(QString, file);
        QFETCH(QString, directory);
        QFETCH(int, code);
        const auto expand = [this](QString s) {
            return s.replace("%D", FDir.path());
        };

        QCOMPARE(ShellExecute(nullptr, operation, expand(file), QString(), expand(directory),
                              SW_SHOWNORMAL),
                 code);
        QVERIFY(FShell->Requests().isEmpty());
    }

    void theOpenerReceivesTheCallersRequestAndItsAnswerIsTheResult() {
        QWidget owner;
        FShell->SetAnswer(SE_ERR_NOASSOC);
        QCOMPARE(ShellExecute(&owner, "open", Path("setup.sh"), R"("first arg" second)",
                              FDir.path(), SW_SHOWNOACTIVATE),
                 int(SE_ERR_NOASSOC));
        QCOMPARE(FShell->Requests().size(), 1);
        const TShellRequest &r = FShell->Requests().first();
        QCOMPARE(r.Owner, &owner);
        QCOMPARE(r.Operation, QString("open"));
        QCOMPARE(r.File, Path("setup.sh"));
        QCOMPARE(r.Parameters, QString(R"("first arg" second)"));
        QCOMPARE(r.ShowCmd, int(SW_SHOWNOACTIVATE));
        QCOMPARE(r.Arguments, QStringList({"first arg", "second"}));
        QCOMPARE(r.WorkingFolder, FDir.path());
    }

    void aProgramIsStartedWithItsParametersInItsWorkingFolder() {
        SetShellOpener(nullptr); // the real shell
        QTemporaryDir work;
        QVERIFY(work.isValid());
        const QString script = Path("report.sh");
        // Writes its two arguments and its working folder into the file its third names.
        WriteFile(script,
                  "#!/bin/sh\nprintf '%s\\n' \"$1\" \"$2\" \"$(pwd)\" > \"$3.part\" && "
                  "mv \"$3.part\" \"$3\"\n",
                  true);

        QVERIFY(ShellExecute(nullptr, "open", script, R"("first arg" second ran.txt)", work.path(),
                             SW_SHOWNORMAL) > 32);
        const QString output = work.filePath("ran.txt");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(output), 30000);
        QFile file(output);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts),
                 QStringList({"first arg", "second", QDir(work.path()).canonicalPath()}));
    }

    void aProgramThatCannotStartIsReported() {
        SetShellOpener(nullptr);
        const QString script = Path("broken.sh");
        WriteFile(script, "#!/nonexistent/interpreter\n", true);
        QCOMPARE(ShellExecute(nullptr, "open", script, QString(), QString(), SW_SHOWNORMAL),
                 int(ERROR_BAD_FORMAT));
    }

    // A downloaded file becomes executable only when it is a program or a script, which is
    // started with the parameters as its arguments; anything else is opened without them.
    void aDownloadedFileIsStartedByWhatItIs_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("native program") << QByteArray("\x7f"
                                                      "ELF\x02\x01")
                                        << int(skProgram) << QStringList{"-q", "a;ls"};
        QTest::newRow("script") << QByteArray("#!/bin/sh\n") << int(skProgram)
                                << QStringList{"-q", "a;ls"};
        QTest::newRow("archive") << QByteArray("PK\x03\x04") << int(skDocument) << QStringList();
    }
    void aDownloadedFileIsStartedByWhatItIs() {
        QFETCH(QByteArray, content);
        QFETCH(int, kind);
        QFETCH(QStringList, arguments);
        const QString file = Path(QString("download-%1").arg(QTest::currentDataTag()));
        WriteFile(file, content, false);
        QVERIFY(ShellExecuteDownloaded(nullptr, file, "-q a;ls") > 32);
        QCOMPARE(FShell->Requests().size(), 1);
        QCOMPARE(int(FShell->Requests().at(0).Kind), kind);
        QCOMPARE(FShell->Requests().at(0).Arguments, arguments);
        QCOMPARE(QFileInfo(file).isExecutable(), kind == skProgram);
    }
};

QUORVALE_TEST_MAIN(TestShellApi)
#include "tst_ShellApi.moc"
