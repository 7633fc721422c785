#include "platform/ShellApi.h"
#include "platform/WinHelp.h"
#include "tests/support/DialogRecorder.h"
#include "tests/support/ShellRecorder.h"
#include "tests/support/TestMain.h"

#include <QAbstractTextDocumentLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>

namespace {

// A topic long enough that showing one scrolls the page.
QString Topic(const QString &name, const QString &heading, const QString &keywords) {
    QString html = QStringLiteral("<a name=\"%1\"></a><h2>%2</h2>\n").arg(name, heading);
    if (!keywords.isEmpty())
        html += QStringLiteral("<!-- keywords: %1 -->\n").arg(keywords);
    for (int i = 0; i < 40; ++i)
        html += QStringLiteral("<p>%1, line %2.</p>\n").arg(heading).arg(i);
    return html;
}

QString SampleHelp() {
    return "<html><head><title>Sample Help</title></head><body>\n" +
           Topic("contents", "Contents", "contents") +
           "<p><a href=\"#grid\">The grid</a> <a href=\"http://www.tamblewick.example/\">"
           "Web</a></p>\n" +
           Topic("loans", "Loan amounts", "loan amount; Loans; step sizes") +
           Topic("grid", "The grid", "grid; yellow; step sizes") +
           Topic("steps", "Step sizes", "increments") + "</body></html>\n";
}

bool WriteFile(const QString &path, const QString &text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.toUtf8());
    return true;
}

// Where the heading's text stands in the browser's visible area (from the top, in pixels).
int HeadingTop(QTextBrowser *browser, const QString &heading) {
    QTextDocument *doc = browser->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        if (b.text() == heading)
            return int(doc->documentLayout()->blockBoundingRect(b).top()) -
                   browser->verticalScrollBar()->value();
    return -1000000;
}

} // namespace

class TestWinHelp : public QObject {
    Q_OBJECT

    QTemporaryDir FDir;
    QString FHelpFile;

private slots:
    void initTestCase() {
        QVERIFY(FDir.isValid());
        FHelpFile = FDir.filePath("sample.hlp");
        QVERIFY(WriteFile(FHelpFile, SampleHelp()));
    }

    void cleanup() { WinHelp(nullptr, FHelpFile, HELP_QUIT); }

    void theIndexListsEachKeywordOfEachTopic_data() {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("topics");

        QTest::newRow("sorted without regard to case")
            << "<a name=\"a\"></a><h2>A</h2><!-- keywords: zeta; Alpha; beta -->"
            << QStringList{"Alpha", "beta", "zeta"} << QStringList{"a", "a", "a"};
        QTest::newRow("each topic its own")
            << "<a name='one'></a><h1>One</h1><!--keywords:first-->"
               "<a class=\"x\" name=\"two\"></a><h1>Two</h1><!-- KEYWORDS : second ; third -->"
            << QStringList{"first", "second", "third"} << QStringList{"one", "two", "two"};
        QTest::newRow("a keyword of two topics names its topic")
            << "<a name=\"p\"></a><h2>Printing <i>the</i> chart</h2><!-- keywords: print -->"
               "<a name=\"q\"></a><h2>Preview &amp; zoom</h2><!-- keywords: Print; zoom -->"
            << QStringList{"Print (Preview & zoom)", "print (Printing the chart)", "zoom"}
            << QStringList{"q", "p", "q"};
        QTest::newRow("before any topic: the top of the page")
            << "<h1>Help</h1><!-- keywords: help --><a name=\"x\"></a><h2>X</h2>"
            << QStringList{"help"} << QStringList{""};
        QTest::newRow("blank and repeated keywords once")
            << "<a name=\"t\"></a><h2>T</h2><!-- keywords: ;  two   words ; ; Two Words -->"
               "<!-- keywords: two words -->"
            << QStringList{"two words"} << QStringList{"t"};
        QTest::newRow("a topic without a heading is named by its anchor")
            << "<a name=\"bare\"></a><p>text</p><!-- keywords: k; K2 -->"
               "<a name=\"other\"></a><h2>Other</h2><!-- keywords: k -->"
            << QStringList{"k (bare)", "k (Other)", "K2"} << QStringList{"bare", "other", "bare"};
        QTest::newRow("other comments are no keywords")
            << "<!-- a note: keywords: none --><a name=\"t\"></a><h2>T</h2>" << QStringList{}
            << QStringList{};
    }

    void theIndexListsEachKeywordOfEachTopic() {
        QFETCH(QString, html);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, topics);
        QStringList gotTexts, gotTopics;
        for (const THelpIndexEntry &e : ReadHelpIndex(html)) {
            gotTexts << e.Text;
            gotTopics << e.Topic;
        }
        QCOMPARE(gotTexts, texts);
        QCOMPARE(gotTopics, topics);
    }

    void theSearchKeepsTheKeywordsThatContainTheText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("keywords");
        QTest::newRow("nothing typed")
            << "" << QStringList{"grid", "loan amount", "Loans", "yellow"};
        QTest::newRow("blanks only")
            << "  " << QStringList{"grid", "loan amount", "Loans", "yellow"};
        QTest::newRow("start") << "loa" << QStringList{"loan amount", "Loans"};
        QTest::newRow("middle, other case") << "AMO" << QStringList{"loan amount"};
        QTest::newRow("none") << "rate" << QStringList{};
    }

    void theSearchKeepsTheKeywordsThatContainTheText() {
        QFETCH(QString, text);
        QFETCH(QStringList, keywords);
        const QList<THelpIndexEntry> index =
            ReadHelpIndex("<a name=\"t\"></a><h2>T</h2><!-- keywords: Loans; loan amount; grid; "
                          "yellow -->");
        QStringList got;
        for (const THelpIndexEntry &e : FilterHelpIndex(index, text))
            got << e.Keyword;
        QCOMPARE(got, keywords);
    }

    void contentsShowsTheContentsPageInOneReusedWindow() {
        QVERIFY(WinHelp(nullptr, FHelpFile, HELP_CONTENTS));
        THelpViewer *viewer = HelpViewer();
        QVERIFY(viewer);
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        QCOMPARE(viewer->windowTitle(), QString("Sample Help"));
        QCOMPARE(viewer->Page(), THelpViewer::hpHelpFile);
        QCOMPARE(viewer->Topic(), QString("contents"));
        QVERIFY(qAbs(HeadingTop(viewer->Browser(), "Contents")) < 40);

        // a topic further down, then the contents again: the same window, back at the top
        QVERIFY(WinHelp(nullptr, FHelpFile, HELP_PARTIALKEY, "yellow"));
        QTest::keyClick(viewer->SearchEdit(), Qt::Key_Return);
        QVERIFY(qAbs(HeadingTop(viewer->Browser(), "The grid")) < 40);
        QVERIFY(WinHelp(nullptr, FHelpFile, HELP_CONTENTS));
        QCOMPARE(HelpViewer(), viewer);
        QVERIFY(qAbs(HeadingTop(viewer->Browser(), "Contents")) < 40);
    }

    void searchShowsTheWholeIndexWithNoSearchText() {
        QVERIFY(WinHelp(nullptr, FHelpFile, HELP_PARTIALKEY, QString()));
        THelpViewer *viewer = HelpViewer();
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        QTRY_VERIFY(viewer->SearchEdit()->hasFocus());
        QCOMPARE(viewer->SearchEdit()->text(), QString());
        QCOMPARE(viewer->IndexTexts(),
                 QStringList({"contents", "grid", "increments", "loan amount", "Loans",
                              "step sizes (Loan amounts)", "step sizes (The grid)", "yellow"}));
    }

    void typingInTheSearchFieldFiltersTheIndexAndEnterShowsTheTopic() {
        QVERIFY(WinHelp(nullptr, FHelpFile, HELP_PARTIALKEY, QString()));
        THelpViewer *viewer = HelpViewer();
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        QTRY_VERIFY(viewer->SearchEdit()->hasFocus());

        QTest::keyClicks(viewer->SearchEdit(), "st");
        QCOMPARE(viewer->IndexTexts(),
                 QStringList({"step sizes (Loan amounts)", "step sizes (The grid)"}));
        QCOMPARE(viewer->IndexList()->currentRow(), 0);
        QTest::keyClick(viewer->SearchEdit(), Qt::Key_Down); // chooses in the list
        QCOMPARE(viewer->IndexList()->currentRow(), 1);
        QCOMPARE(viewer->SearchEdit()->text(), QString("st"));
        QTest::keyClick(viewer->SearchEdit(), Qt::Key_Return);
        QCOMPARE(viewer->Topic(), QString("grid"));
        QVERIFY(qAbs(HeadingTop(viewer->Browser(), "The grid")) < 40);

        QTest::keyClick(viewer->SearchEdit(), Qt::Key_Backspace);
        QCOMPARE(viewer->IndexTexts(),
                 QStringList({"contents", "increments", "Loans", "step sizes (Loan amounts)",
                              "step sizes (The grid)"}));
        QTest::keyClicks(viewer->SearchEdit(), "zz");
        QVERIFY(viewer->IndexTexts().isEmpty());
        QTest::keyClick(viewer->SearchEdit(), Qt::Key_Return); // nothing to show
        QCOMPARE(viewer->Topic(), QString("grid"));
    }

    void theIndexListWorksByKeyboard() {
        QVERIFY(WinHelp(nullptr, FHelpFile, HELP_PARTIALKEY, QString()));
        THelpViewer *viewer = HelpViewer();
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        QTRY_VERIFY(viewer->SearchEdit()->hasFocus());
        QTest::keyClick(viewer->SearchEdit(), Qt::Key_Tab);
        QTRY_VERIFY(viewer->IndexList()->hasFocus());
        QTest::keyClick(viewer->IndexList(), Qt::Key_End);
        QCOMPARE(viewer->IndexList()->currentItem()->text(), QString("yellow"));
        QTest::keyClick(viewer->IndexList(), Qt::Key_Up);
        QTest::keyClick(viewer->IndexList(), Qt::Key_Up);
        QTest::keyClick(viewer->IndexList(), Qt::Key_Return);
        QCOMPARE(viewer->Topic(), QString("loans")); // step sizes (Loan amounts)
        QVERIFY(qAbs(HeadingTop(viewer->Browser(), "Loan amounts")) < 40);
    }

    void aKeywordGivenIsSearchedFor() {
        QVERIFY(WinHelp(nullptr, FHelpFile, HELP_PARTIALKEY, "LOAN"));
        THelpViewer *viewer = HelpViewer();
        QCOMPARE(viewer->SearchEdit()->text(), QString("LOAN"));
        QCOMPARE(viewer->IndexTexts(), QStringList({"loan amount", "Loans"}));
    }

    void linksMoveWithinTheFileOrGoToTheShell() {
        ShellRecorder shell;
        QVERIFY(WinHelp(nullptr, FHelpFile, HELP_CONTENTS));
        THelpViewer *viewer = HelpViewer();
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        QTRY_VERIFY(viewer->Browser()->hasFocus());
        QTest::keyClick(viewer->Browser(), Qt::Key_Tab); // to the first link
        QTest::keyClick(viewer->Browser(), Qt::Key_Return);
        QCOMPARE(viewer->Topic(), QString("grid"));
        QVERIFY(qAbs(HeadingTop(viewer->Browser(), "The grid")) < 40);
        QVERIFY(shell.Requests().isEmpty());

        QVERIFY(WinHelp(nullptr, FHelpFile, HELP_CONTENTS));
        QTRY_VERIFY(viewer->Browser()->hasFocus());
        QTest::keyClick(viewer->Browser(), Qt::Key_Tab);
        QTest::keyClick(viewer->Browser(), Qt::Key_Tab); // the web link
        QTest::keyClick(viewer->Browser(), Qt::Key_Return);
        QCOMPARE(shell.Requests().size(), 1);
        QCOMPARE(shell.Requests().first().File, QString("http://www.tamblewick.example/"));
        QCOMPARE(shell.Requests().first().Kind, skAddress);
    }

    void howToUseHelpIsAPageOfTheViewersOwn() {
        QVERIFY(WinHelp(nullptr, FHelpFile, HELP_HELPONHELP));
        THelpViewer *viewer = HelpViewer();
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        QCOMPARE(viewer->Page(), THelpViewer::hpHelpOnHelp);
        QCOMPARE(viewer->windowTitle(), QString("How to Use Help"));
        QVERIFY(viewer->Browser()->toPlainText().contains("Escape closes the help window"));

        // the index still leads back into the help file
        QVERIFY(WinHelp(nullptr, FHelpFile, HELP_PARTIALKEY, "increments"));
        QTest::keyClick(viewer->SearchEdit(), Qt::Key_Return);
        QCOMPARE(viewer->Page(), THelpViewer::hpHelpFile);
        QVERIFY(qAbs(HeadingTop(viewer->Browser(), "Step sizes")) < 40);
        QTest::keyClick(viewer, Qt::Key_F1);
        QCOMPARE(viewer->Page(), THelpViewer::hpHelpOnHelp);
        QTest::keyClick(viewer, Qt::Key_C, Qt::AltModifier);   // Contents
        QTRY_COMPARE(viewer->Page(), THelpViewer::hpHelpFile); // the button clicks on its own
        QCOMPARE(viewer->Topic(), QString("contents"));
    }

    void escapeClosesTheViewerAndTheNextRequestShowsItAgain() {
        QVERIFY(WinHelp(nullptr, FHelpFile, HELP_PARTIALKEY, QString()));
        THelpViewer *viewer = HelpViewer();
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        QTRY_VERIFY(viewer->SearchEdit()->hasFocus());
        QTest::keyClick(viewer->SearchEdit(), Qt::Key_Escape);
        QVERIFY(!viewer->isVisible());
        QVERIFY(WinHelp(nullptr, FHelpFile, HELP_CONTENTS));
        QCOMPARE(HelpViewer(), viewer);
        QVERIFY(viewer->isVisible());
    }

    void quitClosesTheViewerTheProgramOpened() {
        QVERIFY(WinHelp(nullptr, FHelpFile, HELP_QUIT)); // none open: nothing to do
        QVERIFY(!HelpViewer());
        QVERIFY(WinHelp(nullptr, FHelpFile, HELP_CONTENTS));
        QPointer<THelpViewer> viewer = HelpViewer();
        QVERIFY(viewer->isVisible());
        QVERIFY(WinHelp(nullptr, FHelpFile, HELP_QUIT));
        QVERIFY(!viewer);
        QVERIFY(!HelpViewer());
    }

    void aChangedHelpFileIsReadAgain() {
        const QString file = FDir.filePath("changing.hlp");
        QVERIFY(WriteFile(file, "<a name=\"a\"></a><h2>A</h2><!-- keywords: old -->"));
        QVERIFY(WinHelp(nullptr, file, HELP_PARTIALKEY, QString()));
        QCOMPARE(HelpViewer()->IndexTexts(), QStringList({"old"}));
        QVERIFY(WriteFile(file, "<a name=\"a\"></a><h2>B</h2><!-- keywords: new -->"));
        QVERIFY(WinHelp(nullptr, file, HELP_CONTENTS));
        QCOMPARE(HelpViewer()->IndexTexts(), QStringList({"new"}));
        QVERIFY(HelpViewer()->Browser()->toPlainText().startsWith("B"));
    }

    void aHelpFileThatCannotBeReadIsReportedByName_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing, contents") << "%D/missing/vormex.hlp" << int(HELP_CONTENTS)
                                           << "Cannot open the help file %D/missing/vormex.hlp:";
        QTest::newRow("missing, search") << "%D/vormex.hlp" << int(HELP_PARTIALKEY)
                                         << "Cannot open the help file %D/vormex.hlp:";
        QTest::newRow("a folder") << "%D" << int(HELP_CONTENTS) << "Cannot open the help file %D:";
        QTest::newRow("none named") << "" << int(HELP_CONTENTS) << "No help file has been named.";
    }

    void aHelpFileThatCannotBeReadIsReportedByName() {
        QFETCH(QString, file);
        QFETCH(int, command);
        QFETCH(QString, message);
        file.replace("%D", FDir.path());
        message.replace("%D", FDir.path());
        DialogRecorder dialogs;
        QVERIFY(!WinHelp(nullptr, file, TWinHelpCommand(command)));
        QCOMPARE(dialogs.Requests().size(), 1);
        QVERIFY2(dialogs.Texts().first().startsWith(message), qPrintable(dialogs.Texts().first()));
        QVERIFY(!HelpViewer() || !HelpViewer()->isVisible());
    }

    void aViewerShowingAFileKeepsItWhenAnotherCannotBeRead() {
        QVERIFY(WinHelp(nullptr, FHelpFile, HELP_CONTENTS));
        DialogRecorder dialogs;
        QVERIFY(!WinHelp(nullptr, FDir.filePath("missing.hlp"), HELP_CONTENTS));
        QCOMPARE(dialogs.Requests().size(), 1);
        QCOMPARE(HelpViewer()->HelpFile(), FHelpFile);
        QVERIFY(HelpViewer()->isVisible());
    }

    void aContextNumberShowsTheTopicThatCarriesIt_data() {
        QTest::addColumn<int>("context");
        QTest::addColumn<QString>("topic");
        QTest::newRow("in the third topic") << 35 << "grid";
        QTest::newRow("a number no topic carries") << 3 << "contents";
    }
    void aContextNumberShowsTheTopicThatCarriesIt() {
        QFETCH(int, context);
        QFETCH(QString, topic);
        const QString file = FDir.filePath("context.hlp");
        QVERIFY(WriteFile(
            file, QString(SampleHelp())
                      .replace("<h2>The grid</h2>\n", "<h2>The grid</h2><!-- context: 35 -->")));
        QVERIFY(WinHelp(nullptr, file, HELP_CONTEXT, context));
        QCOMPARE(HelpViewer()->Topic(), topic);
        QVERIFY(HelpViewer()->isVisible());
    }

    void theProgramsHelpFileHasItsContentsTopicsAndKeywords() {
        const QString file = QFINDTESTDATA("../../resources/vormex.hlp");
        QVERIFY(!file.isEmpty());
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(f.readAll());

        QSet<QString> anchors;
        static const QRegularExpression anchor("<a name=\"([^\"]+)\">");
        for (auto it = anchor.globalMatch(html); it.hasNext();)
            anchors.insert(it.next().captured(1));
        QVERIFY(anchors.contains("contents"));
        static const QRegularExpression link("href=\"#([^\"]+)\"");
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            QVERIFY2(anchors.contains(target), qPrintable(target));
        }
        QStringList keywords;
        QSet<QString> topicsWithKeywords;
        for (const THelpIndexEntry &e : ReadHelpIndex(html)) {
            keywords << e.Keyword;
            topicsWithKeywords.insert(e.Topic);
        }
        QCOMPARE(topicsWithKeywords, anchors); // every topic is in the index
        for (const char *mode : {"PMT (P & I)", "Loans", "Rates", "Term (months)"})
            QVERIFY2(keywords.contains(mode), mode);
        QCOMPARE(HelpContextTopic(html, 35), QString("preview")); // F1 in the print preview

        QVERIFY(WinHelp(nullptr, file, HELP_CONTENTS));
        QCOMPARE(HelpViewer()->windowTitle(), QString("Quorvale Pro Help"));
        QVERIFY(HelpViewer()->Browser()->toPlainText().contains("PMT (P & I): monthly payments"));
    }
};

QUORVALE_TEST_MAIN(TestWinHelp)
#include "tst_WinHelp.moc"
