#include "platform/IniFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

std::string Bytes(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll().toStdString();
}

void Put(const QString &path, const std::string &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
}

QStringList Entries(const QString &folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

QString Q(const std::string &s) {
    return QString::fromStdString(s);
}

// Files of at most the given size can be written while it lives: the disk seems full even to
// root. The signal the kernel sends on the excess is ignored so that write() reports it.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &FOld);
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = FOld;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }

private:
    rlimit FOld{};
    void (*FOldHandler)(int) = nullptr;
};

const std::string SavedValues = "; Quorvale Pro\r\n"
                                "[Window]\r\n"
                                "Left=10\r\n"
                                "\r\n"
                                "[LastValues]\r\n"
                                "Loan=100000\r\n"
                                "Interest = 8.75\r\n"
                                "\r\n"
                                "[Other]\r\n"
                                "Loan=7\r\n";

} // namespace

class TestIniFiles : public QObject {
    Q_OBJECT

private slots:
    // ---- Reading --------------------------------------------------------------------------

    void readFindsValueOrDefault_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        auto row = [](const char *name, const char *text, const char *section, const char *key,
                      const char *expected) {
            QTest::newRow(name) << QByteArray(text) << section << key << expected;
        };
        row("empty file", "", "LastValues", "Loan", "default");
        row("missing section", "[Other]\nLoan=5\n", "LastValues", "Loan", "default");
        row("missing key", "[LastValues]\nTerm=240\n", "LastValues", "Loan", "default");
        row("key of a later section", "[LastValues]\n[Other]\nLoan=5\n", "LastValues", "Loan",
            "default");
        row("key before any section", "Loan=5\n[LastValues]\n", "LastValues", "Loan", "default");
        row("plain", "[LastValues]\nLoan=250000\n", "LastValues", "Loan", "250000");
        row("section in other case", "[LASTVALUES]\nLoan=5\n", "lastValues", "Loan", "5");
        row("key in other case", "[LastValues]\nlOAN=5\n", "LastValues", "Loan", "5");
        row("blanks around names and value", "  [ LastValues ] \n\t Loan \t=  5 6 \t\n",
            "LastValues", "Loan", "5 6");
        row("blanks around asked names", "[LastValues]\nLoan=5\n", " LastValues ", " Loan ", "5");
        row("empty value is not missing", "[LastValues]\nLoan=\n", "LastValues", "Loan", "");
        row("blank value is empty", "[LastValues]\nLoan=   \n", "LastValues", "Loan", "");
        row("double quotes removed", "[S]\nK=\" 8.75 \"\n", "S", "K", " 8.75 ");
        row("single quotes removed", "[S]\nK='8.75'\n", "S", "K", "8.75");
        row("empty quotes", "[S]\nK=\"\"\n", "S", "K", "");
        row("unmatched quotes kept", "[S]\nK=\"8.75'\n", "S", "K", "\"8.75'");
        row("lone quote kept", "[S]\nK=\"\n", "S", "K", "\"");
        row("inner quotes kept", "[S]\nK=a\"b\"\n", "S", "K", "a\"b\"");
        row("equals sign in value", "[S]\nK=a=b\n", "S", "K", "a=b");
        row("first section wins", "[S]\nA=1\n[s]\nK=2\n", "S", "K", "default");
        row("first key wins", "[S]\nK=1\nk=2\n", "S", "K", "1");
        row("CRLF line endings", "[S]\r\nK=1\r\nL=2\r\n", "S", "K", "1");
        row("last line without ending", "[S]\nK=1", "S", "K", "1");
        row("comment is no key", "[S]\n; K=1\nK=2\n", "S", "K", "2");
        row("line without equals is no key", "[S]\nK\nK=2\n", "S", "K", "2");
        row("text after the header", "[S] ; saved values\nK=1\n", "S", "K", "1");
        row("unclosed bracket is no header", "[S]\n[T\nK=1\n", "S", "K", "1");
        row("UTF-8 mark before the first header", "\xEF\xBB\xBF[S]\nK=1\n", "S", "K", "1");
        row("bytes beyond ASCII compared exactly", "[Ä]\nK=1\n", "ä", "K", "default");
    }
    void readFindsValueOrDefault() {
        QFETCH(QByteArray, text);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const TIniDocument document(text.toStdString());
        QCOMPARE(Q(document.ReadString(section.toStdString(), key.toStdString(), "default")),
                 expected);
    }

    void readCutsLongValuesTo2047Characters() {
        const std::string exact(2047, '7');
        const std::string longer = exact + "89";
        const TIniDocument document("[S]\nExact=" + exact + "\nLonger=" + longer + "\n");
        QCOMPARE(document.ReadString("S", "Exact", "").size(), std::size_t(2047));
        QCOMPARE(document.ReadString("S", "Longer", ""), exact);
        QCOMPARE(document.Value("S", "Longer"), std::optional<std::string>(longer));
        QCOMPARE(document.ReadString("S", "Missing", longer), exact);
    }

    void namesAreListedInFileOrder() {
        const TIniDocument document(SavedValues);
        QCOMPARE(document.SectionNames(),
                 (std::vector<std::string>{"Window", "LastValues", "Other"}));
        QCOMPARE(document.KeyNames("lastvalues"), (std::vector<std::string>{"Loan", "Interest"}));
        QCOMPARE(document.KeyNames("Missing"), std::vector<std::string>{});
    }

    // ---- Writing --------------------------------------------------------------------------

    void writeChangesOnlyWhatItMust_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("after");
        // Every row writes the value 5.
        auto row = [](const char *name, const char *before, const char *section, const char *key,
                      const char *after) {
            QTest::newRow(name) << QByteArray(before) << section << key << QByteArray(after);
        };
        row("new file", "", "LastValues", "Loan", "[LastValues]\nLoan=5\n");
        row("value replaced in place, spelling and blanks kept", "[lastvalues]\n  LOAN = 1  \n",
            "LastValues", "Loan", "[lastvalues]\n  LOAN = 5  \n");
        row("quoted value replaced", "[S]\nLoan=\"1\"\n", "S", "Loan", "[S]\nLoan=5\n");
        row("empty value filled", "[S]\nLoan=  \n", "S", "Loan", "[S]\nLoan=5  \n");
        row("first of two keys replaced", "[S]\nLoan=1\nLoan=2\n", "S", "loan",
            "[S]\nLoan=5\nLoan=2\n");
        row("key added after the last key, before blanks and comments",
            "[S]\nTerm=360\n; note\nstray line\n\n; next\n[T]\nLoan=2\n", "S", "Loan",
            "[S]\nTerm=360\nLoan=5\n; note\nstray line\n\n; next\n[T]\nLoan=2\n");
        row("key added right after the header of a section without keys", "[S]\n; note\n\n[T]\n",
            "S", "Loan", "[S]\nLoan=5\n; note\n\n[T]\n");
        row("key added to the first of two like-named sections", "[S]\nA=1\n[s]\nB=2\n", "s",
            "Loan", "[S]\nA=1\nLoan=5\n[s]\nB=2\n");
        row("key added after a last line without ending", "[S]\nTerm=360", "S", "Loan",
            "[S]\nTerm=360\nLoan=5\n");
        row("section added at the end", "; top\n[T]\nA=1\n\n", "LastValues", "Loan",
            "; top\n[T]\nA=1\n\n[LastValues]\nLoan=5\n");
        row("section added after a last line without ending", "[T]\nA=1", "LastValues", "Loan",
            "[T]\nA=1\n[LastValues]\nLoan=5\n");
        row("blanks around written names dropped", "", " LastValues ", " Loan ",
            "[LastValues]\nLoan=5\n");
        row("CRLF file keeps CRLF", "[S]\r\nTerm=360\r\n\r\n[T]\r\n", "S", "Loan",
            "[S]\r\nTerm=360\r\nLoan=5\r\n\r\n[T]\r\n");
        row("new lines end like the first line", "[T]\r\nA=1\n", "S", "Loan",
            "[T]\r\nA=1\n[S]\r\nLoan=5\r\n");
        row("UTF-8 mark kept", "\xEF\xBB\xBF[S]\nA=1\n", "S", "Loan",
            "\xEF\xBB\xBF[S]\nA=1\nLoan=5\n");
        row("lone CR and odd bytes kept", "\x01x\ry\n[S]\nA=\xff\n", "S", "A",
            "\x01x\ry\n[S]\nA=5\n");
    }
    void writeChangesOnlyWhatItMust() {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QByteArray, after);
        TIniDocument document(before.toStdString());
        QVERIFY(document.WriteString(section.toStdString(), key.toStdString(), "5"));
        QCOMPARE(QByteArray::fromStdString(document.Text()), after);
        QCOMPARE(Q(document.ReadString(section.toStdString(), key.toStdString(), "")),
                 QString("5"));
    }

    void rewritingValueWithItsOwnBlanksChangesNothing() {
        TIniDocument document("[S]\nK = 1 ; old\n");
        QVERIFY(document.WriteString("S", "K", " 5 "));
        QCOMPARE(document.Text(), std::string("[S]\nK = 5 \n"));
        QVERIFY(document.WriteString("S", "K", " 5 "));
        QCOMPARE(document.Text(), std::string("[S]\nK = 5 \n"));
        QCOMPARE(document.ReadString("S", "K", ""), std::string("5"));
    }

    void writeRefusesWhatWouldBreakTheFormat_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("line feed in value") << "S"
                                            << "K"
                                            << "1\n[T]";
        QTest::newRow("carriage return in value") << "S"
                                                  << "K"
                                                  << "1\r2";
        QTest::newRow("line feed in key") << "S"
                                          << "K\nL"
                                          << "1";
        QTest::newRow("line feed in section") << "S\nT"
                                              << "K"
                                              << "1";
        QTest::newRow("bracket in section") << "S]x"
                                            << "K"
                                            << "1";
        QTest::newRow("equals sign in key") << "S"
                                            << "K=L"
                                            << "1";
        QTest::newRow("key like a header") << "S"
                                           << "[K"
                                           << "1";
        QTest::newRow("key like a comment") << "S"
                                            << " ;K"
                                            << "1";
    }
    void writeRefusesWhatWouldBreakTheFormat() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        TIniDocument document(SavedValues);
        QVERIFY(
            !document.WriteString(section.toStdString(), key.toStdString(), value.toStdString()));
        QCOMPARE(document.Text(), SavedValues);
    }

    // ---- The file -------------------------------------------------------------------------

    void missingFileReadsDefaultsAndIsNotCreated() {
        QTemporaryDir folder;
        const QString path = folder.filePath("Vormex.Ini");
        const TIniFile ini(path.toStdString());
        QCOMPARE(ini.FileName(), path.toStdString());
        QCOMPARE(ini.ReadString("LastValues", "Loan", "100000"), std::string("100000"));
        QVERIFY(Entries(folder.path()).isEmpty());
    }

    void somethingElseInPlaceOfTheFileReadsDefaults() {
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir("folder"));
        QCOMPARE(::mkfifo(QFile::encodeName(folder.filePath("pipe")).constData(), 0600), 0);
        for (const char *name : {"folder", "pipe"}) {
            const TIniFile ini(folder.filePath(name).toStdString());
            QCOMPARE(ini.ReadString("LastValues", "Loan", "100000"), std::string("100000"));
        }
    }

    void writeCreatesFileAndKeepsEveryOtherByte() {
        QTemporaryDir folder;
        const QString path = folder.filePath("Vormex.ini");
        TIniFile ini(path.toStdString());
        ini.WriteString("LastValues", "Loan", "100000");
        QCOMPARE(Bytes(path), std::string("[LastValues]\nLoan=100000\n"));

        Put(path, SavedValues);
        ini.WriteString("LastValues", "Loan", "250000");
        ini.WriteString("LastValues", "interest", "7.5");
        ini.WriteString("LastValues", "Term", "360");
        QCOMPARE(Bytes(path), std::string("; Quorvale Pro\r\n"
                                          "[Window]\r\n"
                                          "Left=10\r\n"
                                          "\r\n"
                                          "[LastValues]\r\n"
                                          "Loan=250000\r\n"
                                          "Interest = 7.5\r\n"
                                          "Term=360\r\n"
                                          "\r\n"
                                          "[Other]\r\n"
                                          "Loan=7\r\n"));
        QCOMPARE(ini.ReadString("lastvalues", "LOAN", ""), std::string("250000"));
        QCOMPARE(Entries(folder.path()), QStringList{"Vormex.ini"});
    }

    void writeKeepsPermissionBits() {
        QTemporaryDir folder;
        const QString path = folder.filePath("Vormex.Ini");
        Put(path, SavedValues);
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0640), 0);
        TIniFile(path.toStdString()).WriteString("LastValues", "Loan", "1");
        struct stat status;
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
        QCOMPARE(status.st_mode & 07777, mode_t(0640));
    }

    void writeOfTheValueAlreadyThereLeavesTheFileAlone() {
        QTemporaryDir folder;
        const QString path = folder.filePath("Vormex.Ini");
        Put(path, SavedValues);
        struct stat before, after;
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &before), 0);
        TIniFile(path.toStdString()).WriteString("LastValues", "Loan", "100000");
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &after), 0);
        QCOMPARE(after.st_ino, before.st_ino);
    }

    void writeThroughLinkReplacesTheLinkedFile() {
        QTemporaryDir folder;
        const QString real = folder.filePath("real.ini");
        const QString link = folder.filePath("Vormex.Ini");
        Put(real, SavedValues);
        QVERIFY(QFile::link(real, link));
        TIniFile(link.toStdString()).WriteString("LastValues", "Loan", "1");
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(TIniFile(real.toStdString()).ReadString("LastValues", "Loan", ""),
                 std::string("1"));
    }

    // The tests run as root, whom a read-only folder does not stop; these make the write fail
    // with a folder that is a plain file, a full disk (a file size limit, which binds root too),
    // a folder standing where the file should be, a name the format cannot hold, and a file
    // the user protected (which the atomic replacement would otherwise go round).
    void refusedWriteRaisesAndLeavesNoTrace_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("sizeLimit"); // 0: none; -1: the file made read-only
        QTest::newRow("folder is a file") << "plain/Vormex.Ini"
                                          << "Loan" << 0;
        QTest::newRow("missing folder") << "missing/Vormex.Ini"
                                        << "Loan" << 0;
        QTest::newRow("disk full") << "Vormex.Ini"
                                   << "Loan" << 200;
        QTest::newRow("folder in place of the file") << "folder"
                                                     << "Loan" << 0;
        QTest::newRow("key the format cannot hold") << "Vormex.Ini"
                                                    << "Loan=" << 0;
        QTest::newRow("file the user protected") << "Vormex.Ini"
                                                 << "Loan" << -1;
    }
    void refusedWriteRaisesAndLeavesNoTrace() {
        QFETCH(QString, name);
        QFETCH(QString, key);
        QFETCH(int, sizeLimit);
        QTemporaryDir folder;
        const QString path = folder.filePath(name);
        Put(folder.filePath("Vormex.Ini"), SavedValues);
        Put(folder.filePath("plain"), "not a folder");
        QVERIFY(QDir(folder.path()).mkdir("folder"));
        if (sizeLimit < 0)
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0444), 0);
        const QStringList entries = Entries(folder.path());

        QString message;
        {
            std::optional<FileSizeLimit> limit;
            if (sizeLimit > 0)
                limit.emplace(rlim_t(sizeLimit));
            try {
                TIniFile(path.toStdString())
                    .WriteString("LastValues", key.toStdString(), std::string(5000, '9'));
            } catch (const EIniFileException &e) {
                message = Q(e.Message());
            }
        }
        QCOMPARE(message, "Unable to write to " + path);
        QCOMPARE(Bytes(folder.filePath("Vormex.Ini")), SavedValues);
        QCOMPARE(Entries(folder.path()), entries);
    }

    void refusedWriteNamesTheFullPath() {
        QTemporaryDir folder;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.path()));
        QString message;
        try {
            TIniFile("missing/Vormex.Ini").WriteString("LastValues", "Loan", "1");
        } catch (const EIniFileException &e) {
            message = Q(e.Message());
        }
        QDir::setCurrent(previous);
        QCOMPARE(message, "Unable to write to " + QDir(folder.path()).canonicalPath() +
                              "/missing/Vormex.Ini");
    }

    // ---- Finding the file whatever its letter case ----------------------------------------

    void existingFileFoundIgnoringCase_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no file") << QStringList{} << "Vormex.Ini"
                                 << "Vormex.Ini";
        QTest::newRow("exact name") << QStringList{"Vormex.Ini"} << "Vormex.Ini"
                                    << "Vormex.Ini";
        QTest::newRow("other case") << QStringList{"Vormex.ini"} << "Vormex.Ini"
                                    << "Vormex.ini";
        QTest::newRow("exact name preferred")
            << QStringList{"VORMEX.INI", "Vormex.Ini", "vormex.ini"} << "Vormex.Ini"
            << "Vormex.Ini";
        QTest::newRow("several other cases: the first in byte order")
            << QStringList{"vormex.ini", "VORMEX.INI"} << "Vormex.Ini"
            << "VORMEX.INI";
        QTest::newRow("folder of that name is no file")
            << QStringList{"vormex.ini/"} << "Vormex.Ini"
            << "Vormex.Ini";
        QTest::newRow("other name") << QStringList{"Vormex.Ini.bak"} << "Vormex.Ini"
                                    << "Vormex.Ini";
    }
    void existingFileFoundIgnoringCase() {
        QFETCH(QStringList, files);
        QFETCH(QString, asked);
        QFETCH(QString, expected);
        QTemporaryDir folder;
        for (const QString &file : files) {
            if (file.endsWith('/'))
                QVERIFY(QDir(folder.path()).mkdir(file.chopped(1)));
            else
                Put(folder.filePath(file), "");
        }
        QCOMPARE(Q(ExistingFileNameIgnoringCase(folder.filePath(asked).toStdString())),
                 folder.filePath(expected));
    }

    void missingFolderLeavesPathUnchanged() {
        QTemporaryDir folder;
        const std::string path = folder.filePath("missing/Vormex.Ini").toStdString();
        QCOMPARE(ExistingFileNameIgnoringCase(path), path);
    }
};

QTEST_APPLESS_MAIN(TestIniFiles)
#include "tst_IniFiles.moc"
