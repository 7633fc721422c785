#include "update/WebFileInfo.h"

#include "platform/SysUtils.h"
#include "tests/support/DialogRecorder.h"
#include "tests/support/Layout.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Row.h"
#include "tests/support/ShellRecorder.h"
#include "tests/support/TestMain.h"
#include "tests/support/VersionPageTags.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

using Script = LoopbackServer::Script;

namespace {

QByteArray Page(const QByteArray &version, const QByteArray &more = {}) {
    return "<HTML><HEAD>\r\n" + Meta("name", "Quorvale Pro") + Meta("version", version) +
           Meta("date", "July 25, 2001") + more + "</HEAD></HTML>\r\n";
}

// 3,000,000 bytes of body, announced with the given Content-Length (none when empty).
Script OverOneMiB(const QByteArray &length) {
    const QByteArray header =
        length.isEmpty() ? QByteArray() : "Content-Length: " + length + "\r\n";
    return {LoopbackServer::ReadRequest(),
            LoopbackServer::Send("HTTP/1.0 200 OK\r\n" + header + "\r\n"),
            LoopbackServer::SendPattern(3000000), LoopbackServer::Close()};
}

// The component as the main window configures it.
std::unique_ptr<TWebFileInfo> Component(const QString &homeURL) {
    auto c = std::make_unique<TWebFileInfo>();
    c->SetCurrentVersion("1.6.12");
    c->SetHomeURL(homeURL);
    SetVersionPageTags(c->InfoTags());
    return c;
}

QByteArray FileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Runs `action` once on the first modal window with this title, as a user would act on it.
void WhenModal(const QString &title, std::function<void(QWidget *)> action) {
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, title, action] {
        QWidget *w = QApplication::activeModalWidget();
        if (!w || w->windowTitle() != title)
            return;
        poll->stop();
        poll->deleteLater();
        action(w);
    });
    poll->start(20);
}

} // namespace

class TestWebFileInfo : public QObject {
    Q_OBJECT

    std::unique_ptr<DialogRecorder> FDialogs;
    std::unique_ptr<QTemporaryDir> FFolder;

private slots:
    void init() {
        FDialogs = std::make_unique<DialogRecorder>();
        FFolder = std::make_unique<QTemporaryDir>();
        QCoreApplication::setApplicationName("Quorvale Pro");
    }
    void cleanup() {
        FDialogs.reset();
        FFolder.reset();
    }

    // ---- The version page's rules

    void pageLinesFillTheFieldsByTheirTags_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("name");
        QTest::newRow("any case of META HTTP-EQUIV")
            << QStringList{"<meta http-equiv=\"version\" CONTENT=\"1.7\">"} << "1.7"
            << "";
        QTest::newRow("content= in small letters gives nothing")
            << QStringList{"<META HTTP-EQUIV=\"version\" content=\"1.7\">"} << ""
            << "";
        QTest::newRow("a name in another case matches no tag")
            << QStringList{"<META HTTP-EQUIV=\"Version\" CONTENT=\"1.7\">"} << ""
            << "";
        QTest::newRow("the later line wins")
            << QStringList{"<META HTTP-EQUIV=\"version\" CONTENT=\"1.7\">",
                           "<META HTTP-EQUIV=\"version\" CONTENT=\"1.8\">"}
            << "1.8"
            << "";
        QTest::newRow("only the first META of a line")
            << QStringList{"<META HTTP-EQUIV=\"name\" CONTENT=\"Q\"><META HTTP-EQUIV=\"version\">"}
            << ""
            << "Q";
        QTest::newRow("an empty name matches the empty tag of nothing")
            << QStringList{"<META HTTP-EQUIV=\"\" CONTENT=\"http://x/readme.exe\">"} << ""
            << "";
        QTest::newRow("a value without its closing quote is empty")
            << QStringList{"<META HTTP-EQUIV=\"version\" CONTENT=\"1.7>"} << ""
            << "";
        QTest::newRow("at most 1000 characters of a value")
            << QStringList{"<META HTTP-EQUIV=\"version\" CONTENT=\"" + QString(1000, 'x') + "\">"}
            << ""
            << "";
        QTest::newRow("999 characters are read")
            << QStringList{"<META HTTP-EQUIV=\"version\" CONTENT=\"" + QString(999, 'x') + "\">"}
            << QString(999, 'x') << "";
        QTest::newRow("a line cut after the name") << QStringList{"META HTTP-EQUIV"} << ""
                                                   << "";
    }
    void pageLinesFillTheFieldsByTheirTags() {
        QFETCH(QStringList, lines);
        QFETCH(QString, version);
        QFETCH(QString, name);
        auto c = Component("http://127.0.0.1/");
        c->ParseInfoPage(lines);
        QCOMPARE(c->ProductVersion(), version);
        QCOMPARE(c->ProductName(), name);
        QCOMPARE(c->ProductReadMeExt(), QString());
    }

    void productDates_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date"); // null: a conversion error
        QTest::newRow("month name form") << "July 25, 1999" << QDate(1999, 7, 25);
        QTest::newRow("small letters, one blank") << "july 5, 1999" << QDate(1999, 7, 5);
        QTest::newRow("two blanks") << "DEC  5, 2000" << QDate(2000, 12, 5);
        QTest::newRow("day first") << "25 July 1999" << QDate();
        QTest::newRow("ANF is no month") << "ANF 25, 1999" << QDate();
        QTest::newRow("no comma") << "July 25 1999" << QDate();
        QTest::newRow("comma at the start") << ",uly 25, 1999" << QDate();
        QTest::newRow("too short") << "Ju" << QDate();
        QTest::newRow("31 February") << "Feb 31, 2001" << QDate();
    }
    void productDates() {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        if (date.isValid()) {
            QCOMPARE(ParseProductDate(text), date);
            return;
        }
        QVERIFY_THROWS_EXCEPTION(EConvertError, ParseProductDate(text));
    }

    void buildNumbersAndSimpleStrings_data() {
        QTest::addColumn<QString>("server");
        QTest::addColumn<bool>("newerBuild");
        QTest::addColumn<bool>("newerString");
        QTest::newRow("same") << "1.6.12" << false << false;
        QTest::newRow("1.6.13") << "1.6.13" << true << true;
        QTest::newRow("1.7") << "1.7" << true << true;
        QTest::newRow("fourth component") << "1.6.12.1" << false << true;
        QTest::newRow("2") << "2" << true << true;
        QTest::newRow("1.5.99") << "1.5.99" << false << false;
        QTest::newRow("empty") << "" << false << false;
        QTest::newRow("letters") << "1.6.x" << false << true;
        QTest::newRow("1.10 by numbers, not by text") << "1.10" << true << false;
    }
    void buildNumbersAndSimpleStrings() {
        QFETCH(QString, server);
        QFETCH(bool, newerBuild);
        QFETCH(bool, newerString);
        auto c = Component("http://127.0.0.1/");
        c->ParseInfoPage({"<META HTTP-EQUIV=\"version\" CONTENT=\"" + server + "\">"});
        QCOMPARE(c->IsNewerVersion(), newerBuild);
        c->SetVersionFormat(wfivSimpleString);
        QCOMPARE(c->IsNewerVersion(), newerString);
    }

    void smallRules() {
        QCOMPARE(FormatThousands(1234567), QString("1,234,567"));
        QCOMPARE(FormatThousands(999), QString("999"));
        QCOMPARE(FormatThousands(-1000), QString("-1,000"));
        QCOMPARE(FormatThousands(5000000000LL), QString("5,000,000,000"));
        for (const char *bad : {"", ".", "..", "../x", "a/b", "a\\b"})
            QCOMPARE(SafeFileName(bad, "update"), QString("update"));
        QCOMPARE(SafeFileName("Setup.exe", "update"), QString("Setup.exe"));

        TWebFileInfo c;
        c.SetHomeURL("HTTP://host/a");
        QCOMPARE(c.HomeURL(), QString("HTTP://host/a"));
        for (const char *ignored : {"ftp://host/a", "http:/", "https://host/", "host/a"})
            c.SetHomeURL(ignored);
        QCOMPARE(c.HomeURL(), QString("HTTP://host/a"));
        c.SetOptions(wfioRunUpdate);
        QCOMPARE(c.Options(), TWfiOptions(wfioRunUpdate | wfioDisplayUI));
    }

    // ---- Retrieval against the loopback server

    void retrievalAnswers_data() {
        QTest::addColumn<std::vector<Script>>("scripts");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("lastError");
        QTest::addColumn<QStringList>("messages");
        const QByteArray redirect = Meta("redirect", "/second.htm");
        QTest::newRow("page") << std::vector<Script>{Serve(
                                     Page("1.7", Meta("url", "http://h/dl/Setup.exe")))}
                              << true << "1.7"
                              << "" << QStringList();
        QTest::newRow("404 answer") << std::vector<Script>{LoopbackServer::Answer(
                                           LoopbackServer::HttpAnswer(404, "Not Found", "gone"))}
                                    << false << ""
                                    << "Not Found" << QStringList{"404"};
        QTest::newRow("redirect replaces the first page's values")
            << std::vector<Script>{Serve(Page("1.7", redirect)), Serve(Page("1.8"))} << true
            << "1.8"
            << "" << QStringList();
        QTest::newRow("redirect to a missing page fails")
            << std::vector<Script>{Serve(Page("1.7", redirect)),
                                   LoopbackServer::Answer(
                                       LoopbackServer::HttpAnswer(404, "Not Found", ""))}
            << false << ""
            << "Not Found" << QStringList{"404"};
        QTest::newRow("redirect loop")
            << std::vector<Script>{Serve(Page("1.7", redirect))} << false << ""
            << "Too many redirections" << QStringList();
        for (const QByteArray &length : {QByteArray("3000000"), QByteArray()})
            QTest::newRow(qPrintable("answer over 1 MiB, length " +
                                     (length.isEmpty() ? "not given" : length)))
                << std::vector<Script>{OverOneMiB(length)} << false << ""
                << "Answer too large" << QStringList{"404"};
        // Only the announced 100 bytes are read: a page without entries.
        Row("3,000,000 bytes announced as 100", std::vector<Script>{OverOneMiB("100")}, true, "",
            "", QStringList());
    }
    void retrievalAnswers() {
        QFETCH(std::vector<Script>, scripts);
        QFETCH(bool, result);
        QFETCH(QString, version);
        QFETCH(QString, lastError);
        QFETCH(QStringList, messages);
        LoopbackServer server;
        server.SetScripts(scripts);
        auto c = Component(server.Url("/Vormex/Vormex.htm"));
        QCOMPARE(c->RetrieveInfo(), result);
        QCOMPARE(c->Active(), result);
        QCOMPARE(c->ProductVersion(), version);
        QCOMPARE(c->LastError(), lastError);
        QCOMPARE(FDialogs->Texts(), messages);
        if (!result)
            return;
        // Once active, no new fetch.
        const int connections = server.Connections();
        QVERIFY(c->RetrieveInfo());
        QCOMPARE(server.Connections(), connections);
        QCOMPARE(server.Requests().at(0).left(32), QByteArray("GET /Vormex/Vormex.htm HTTP/1.0\r"));
    }

    void aRefusedConnectionFailsWithTheClientsReason() {
        auto c = Component(QString("http://127.0.0.1:%1/").arg(LoopbackServer::RefusingPort()));
        QVERIFY(!c->RetrieveInfo());
        QCOMPARE(FDialogs->Texts(), QStringList{"404"});
        QCOMPARE(FDialogs->Requests().at(0).Title, QString("Quorvale Pro"));
        QCOMPARE(FDialogs->Requests().at(0).Type, mtCustom);
        QVERIFY2(c->LastError().contains("Connection refused"), qPrintable(c->LastError()));
    }

    void missingHomeURLOrTags() {
        TWebFileInfo c;
        QVERIFY(!c.RetrieveInfo());
        c.SetHomeURL("http://127.0.0.1/");
        QVERIFY(!c.RetrieveInfo());
        QCOMPARE(FDialogs->Texts(),
                 QStringList({"Can not retrieve version information\rbecause no home url was "
                              "provided.",
                              "Can not retrieve version information\rbecause no tag information "
                              "was provided."}));
        QCOMPARE(FDialogs->Requests().at(1).Title, QString("Missing Tag Information"));
    }

    void closingPleaseWaitAbortsTheRequest() {
        LoopbackServer server;
        server.SetScript({LoopbackServer::ReadRequest(), LoopbackServer::Stall()});
        auto c = Component(server.Url());
        WhenModal("Please Wait", [](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); });
        QVERIFY(!c->RetrieveInfo());
        QCOMPARE(c->LastError(), QString("Connection aborted on request"));
    }

    void anHttpExceptionDuringTheWaitEndsTheRetrieval() {
        LoopbackServer server;
        server.SetScript({LoopbackServer::ReadRequest(), LoopbackServer::Stall()});
        auto c = Component(server.Url());
        QStringList reported;
        Application()->OnException = [&](QObject *, const std::exception &e) {
            reported << e.what();
        };
        WhenModal("Please Wait", [](QWidget *) {
            PostException(nullptr,
                          std::make_exception_ptr(EHttpException("HTTP component is busy", 1)));
        });
        QVERIFY(!c->RetrieveInfo());
        QCOMPARE(c->LastError(), QString("HTTP component is busy"));
        QCOMPARE(FDialogs->Texts(), QStringList{"Error retrieving update information.\r"
                                                "Exception: HTTP component is busy."});
        QCOMPARE(c->HttpCli()->ReceiveStream(), nullptr);
        // The hook is gone: the application's own handler sees the next error.
        PostException(nullptr, std::make_exception_ptr(EConvertError("later")));
        QTRY_COMPARE(reported, QStringList{"later"});
        Application()->OnException = nullptr;
    }

    // ---- The component's windows

    void everyTextShowsInFullAndNothingOverlaps_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("text");
        QTest::newRow("wait, checking") << "Please Wait"
                                        << "Checking For Update...";
        QTest::newRow("wait, read-me") << "Please Wait"
                                       << "Retrieving ReadMe...";
        QTest::newRow("progress, update") << "Download Progress"
                                          << "Downloading Update";
        QTest::newRow("progress, read-me") << "Download Progress"
                                           << "Downloading ReadMe";
        QTest::newRow("read me") << "Read Me"
                                 << "Read me first.";
    }
    void everyTextShowsInFullAndNothingOverlaps() {
        QFETCH(QString, window);
        QFETCH(QString, text);
        LoopbackServer server;
        server.SetScripts(
            {Serve(Page("1.7", Meta("readme", "/readme.txt"))), Serve(text.toUtf8())});
        auto c = Component(server.Url());
        std::unique_ptr<QDialog> w;
        if (window == "Please Wait") {
            w.reset(c->CreateWaitWindow(text));
        } else if (window == "Download Progress") {
            auto *progress = c->CreateProgressWindow();
            w.reset(progress);
            progress->lblDownloading->setText(text);
            progress->lblProgress->setText("100,000,000 of 100,000,000 bytes received.");
        } else {
            QVERIFY(c->RetrieveInfo());
            w.reset(c->CreateReadMeWindow());
            QVERIFY(w);
        }
        QCOMPARE(w->windowTitle(),
                 QCoreApplication::translate(window == "Download Progress" ? "TWebDlProgress"
                                                                           : "TWebFileInfo",
                                             qPrintable(window)));
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        const QStringList faults = LayoutFaults(w.get());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
    }

    // ---- The update sequence

    void aReadMeThatCannotBeFetchedIsReported_data() {
        QTest::addColumn<Script>("readMe");
        QTest::addColumn<QString>("reason");
        const Script missing =
            LoopbackServer::Answer(LoopbackServer::HttpAnswer(404, "Not Found", "gone"));
        QTest::newRow("404") << missing << "Not Found";
        QTest::newRow("refused") << Script() << "Connection refused (Error #10061)";
        QTest::newRow("over 1 MiB") << OverOneMiB("") << "Answer too large";
    }
    void aReadMeThatCannotBeFetchedIsReported() {
        QFETCH(Script, readMe);
        QFETCH(QString, reason);
        LoopbackServer server;
        const QByteArray address = readMe.empty() ? QString("http://127.0.0.1:%1/readme.txt")
                                                        .arg(LoopbackServer::RefusingPort())
                                                        .toLatin1()
                                                  : QByteArray("/readme.txt");
        server.SetScripts(
            {Serve(Page("1.7", Meta("url", "/dl/Setup.exe") + Meta("readme", address))), readMe});
        auto c = Component(server.Url());
        FDialogs->Answer(mrYes);
        FDialogs->Answer(mrOk);
        FDialogs->Answer(mrNo);
        QVERIFY(!c->PerformUpdate());
        const QString available = "Current version is 1.6.12.\rVersion 1.7 is available.\r";
        QCOMPARE(FDialogs->Texts(),
                 QStringList({available + "Would you like to view the ReadMe file?",
                              "The ReadMe could not be shown: " + reason,
                              available + "Download the update?"}));
        QCOMPARE(FDialogs->Requests().at(1).Title, FDialogs->Requests().at(0).Title);
    }

    void declinedDownloadFetchesNothing() {
        LoopbackServer server;
        server.SetScript(Serve(Page("1.7", Meta("url", "/dl/Setup.exe"))));
        auto c = Component(server.Url());
        c->SetOptions(wfioRunUpdate);
        FDialogs->Answer(mrNo);
        QVERIFY(!c->PerformUpdate());
        QCOMPARE(FDialogs->Texts(),
                 QStringList{"Current version is 1.6.12.\rVersion 1.7 is available.\rDownload "
                             "the update?"});
        QCOMPARE(server.Connections(), 1);
    }

    void saveDialogNamesAndFolders_data() {
        QTest::addColumn<QByteArray>("url");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("saved");
        const QByteArray url = "/dl/Setup.exe";
        Row("first filter adds .EXE", url, "Setup.exe", "update", 0, "update.EXE");
        Row("second filter adds .ZIP", url, "Setup.exe", "update", 1, "update.ZIP");
        Row("third adds nothing", url, "Setup.exe", "update", 2, "update");
        Row("an extension is kept", url, "Setup.exe", "update.bin", 0, "update.bin");
        Row("a folder takes the server's name", url, "Setup.exe", "sub/", 0, "sub/Setup.exe");
        Row("the server's name without its leading dots", QByteArray("/dl/..%2F..%2F.bashrc"),
            "%2F..%2F.bashrc", "sub/", 0, "sub/%2F..%2F.bashrc");
        Row("a name of dots alone", QByteArray("/dl/..."), "update", "sub/", 0, "sub/update");
    }
    void saveDialogNamesAndFolders() {
        QFETCH(QByteArray, url);
        QFETCH(QString, proposed);
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QFETCH(QString, saved);
        QDir(FFolder->path()).mkdir("sub");
        LoopbackServer server;
        const QByteArray file = "\x7f"
                                "ELF update bytes";
        server.SetScripts({Serve(Page("1.7", Meta("url", url))), Serve(file)});
        auto c = Component(server.Url());
        c->SetOptions({});
        const QString folder = FFolder->path() + "/";
        FDialogs->OnRequest([&](const TDialogRequest &r) {
            if (r.Kind != TDialogRequest::SaveFile)
                return;
            QCOMPARE(r.FileName, proposed);
            QCOMPARE(r.Filters.size(), 3);
            r.FileName = folder + typed;
            r.FilterIndex = filter;
        });
        QVERIFY(c->PerformUpdate());
        QCOMPARE(c->TargetFile(), folder + saved);
        QCOMPARE(FileBytes(folder + saved), file);
        QCOMPARE(QDir(folder + "sub").entryList(QDir::Files | QDir::Hidden),
                 QStringList(saved.startsWith("sub/") ? QStringList{saved.mid(4)} : QStringList()));
    }

    void theChecksumDecidesWhetherTheDownloadIsKept_data() {
        QTest::addColumn<QByteArray>("sha256");
        QTest::addColumn<bool>("kept");
        const QByteArray right = QCryptographicHash::hash("update", QCryptographicHash::Sha256);
        QTest::newRow("none") << QByteArray() << true;
        QTest::newRow("matching, in capitals") << right.toHex().toUpper() << true;
        QTest::newRow("another file's")
            << QCryptographicHash::hash("upd", QCryptographicHash::Sha256).toHex() << false;
    }
    void theChecksumDecidesWhetherTheDownloadIsKept() {
        QFETCH(QByteArray, sha256);
        QFETCH(bool, kept);
        LoopbackServer server;
        server.SetScripts(
            {Serve(Page("1.7", Meta("url", "/dl/Setup.exe") + Meta("sha256", sha256))),
             Serve("update")});
        auto c = Component(server.Url());
        c->SetOptions(wfioRunUpdate);
        FDialogs->OnRequest([&](const TDialogRequest &r) {
            if (r.Kind == TDialogRequest::SaveFile)
                r.FileName = FFolder->path() + "/";
        });
        ShellRecorder shell;
        QCOMPARE(c->PerformUpdate(), kept);
        QCOMPARE(QFile::exists(FFolder->path() + "/Setup.exe"), kept);
        QCOMPARE(shell.Requests().size(), kept ? 1 : 0);
        if (!kept)
            QCOMPARE(c->LastError(), QString("Checksum mismatch"));
    }

    void cancelledDownloadKeepsTheUsersFile() {
        LoopbackServer server;
        server.SetScripts(
            {Serve(Page("1.7", Meta("url", "/dl/Setup.exe"))),
             {LoopbackServer::ReadRequest(),
              LoopbackServer::Send("HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\n"),
              LoopbackServer::SendPattern(5000), LoopbackServer::Stall()}});
        auto c = Component(server.Url());
        c->SetOptions({});
        const QString target = FFolder->path() + "/update.EXE";
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the user's own file");
        old.close();
        FDialogs->OnRequest([&](const TDialogRequest &r) {
            if (r.Kind == TDialogRequest::SaveFile)
                r.FileName = target;
        });
        QString shown;
        WhenModal("Download Progress", [&](QWidget *w) {
            auto *progress = static_cast<TWebDlProgress *>(w);
            QTRY_VERIFY(progress->lblProgress->text().contains("5,000"));
            shown = progress->lblProgress->text();
            QTest::mouseClick(progress->btnCancel, Qt::LeftButton);
        });
        QVERIFY(!c->PerformUpdate());
        QCOMPARE(shown, QString("5,000 of 100,000 bytes received."));
        QCOMPARE(FDialogs->Texts().last(),
                 QString("Error occurred while downloading update.\rError: \"Connection aborted "
                         "on request.\""));
        QCOMPARE(FileBytes(target), QByteArray("the user's own file"));
        QCOMPARE(QDir(FFolder->path()).entryList(QDir::Files), QStringList{"update.EXE"});
    }

    // Last: the program is told to terminate, which ends every later event loop.
    void theWholeSequenceDownloadsAndStartsTheUpdate() {
        LoopbackServer server;
        QByteArray program = "#!/bin/sh\necho update\n";
        program += QByteArray(200000, 'x');
        server.SetScripts(
            {Serve(Page("1.7", Meta("url", "/dl/Setup") + Meta("runparams", "-q a;ls") +
                                   Meta("readme", "/readme.txt"))),
             Serve("Read me first."), Serve(program)});
        auto c = Component(server.Url());
        bool terminating = false;
        c->OnTerminating = [&](QObject *) {
            terminating = true;
        };
        FDialogs->OnRequest([&](const TDialogRequest &r) {
            if (r.Kind == TDialogRequest::SaveFile)
                r.FileName = FFolder->path() + "/";
        });
        QString readMe;
        WhenModal("Read Me", [&](QWidget *w) {
            readMe = w->findChild<QPlainTextEdit *>()->toPlainText();
            QTest::keyClick(w, Qt::Key_Escape);
        });
        ShellRecorder shell;
        QVERIFY(c->PerformUpdate());
        QCOMPARE(readMe, QString("Read me first."));
        const QString target = FFolder->path() + "/Setup";
        QCOMPARE(FileBytes(target), program);
        QCOMPARE(FDialogs->Texts().last(),
                 QString("Do you want to install the update now?\rThis will close Quorvale Pro."));
        QCOMPARE(shell.Files(), QStringList{target});
        QCOMPARE(shell.Requests().at(0).Kind, skProgram);
        QCOMPARE(shell.Requests().at(0).Arguments, QStringList({"-q", "a;ls"}));
        QVERIFY(terminating);
    }
};

QUORVALE_TEST_MAIN(TestWebFileInfo)
#include "tst_WebFileInfo.moc"
