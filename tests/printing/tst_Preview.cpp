#include "printing/Preview.h"

#include "controls/ExplBtn.h"
#include "platform/WinHelp.h"
#include "printing/Quickrep.h"
#include "tests/support/CupsServer.h"
#include "tests/support/DialogRecorder.h"
#include "tests/support/Layout.h"
#include "tests/support/PdfPrinter.h"
#include "tests/support/TestMain.h"

#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWindow>

namespace {

// A report of `pages` pages: each page holds a page header and one tall detail band.
struct TPagedReport {
    TQuickReport Rep;
    int Left;
    explicit TPagedReport(int pages) : Left(pages) {
        new TQRBand(&Rep, rbPageHeader, 50);
        new TQRBand(&Rep, rbDetail, 800);
        Rep.SetShowProgress(false);
        Rep.OnNeedData = [this](QObject *, bool &more) {
            more = Left-- > 0;
        };
    }
};

// Shows the preview of the prepared report, as the program's preview hook does, runs `body`
// while it is up, and closes it unless the body did.
void WithPreview(TfrmPreview &preview, int pages, std::function<void()> body) {
    TPagedReport report(pages);
    QRPrinter().OnPreview = [&](QObject *) {
        preview.show();
        QVERIFY(QTest::qWaitForWindowActive(&preview));
        body();
        preview.close();
    };
    report.Rep.Preview();
    QRPrinter().OnPreview = nullptr;
}

// Which of the five page and zoom buttons are enabled: "<>" paging, "O1I" zoom.
QString Enabled(const TfrmPreview &p) {
    QString s;
    s += p.bbPrev->isEnabled() ? '<' : '-';
    s += p.bbNext->isEnabled() ? '>' : '-';
    s += p.bbZoomOut->isEnabled() ? 'O' : '-';
    s += p.bbZoom100->isEnabled() ? '1' : '-';
    s += p.bbZoomIn->isEnabled() ? 'I' : '-';
    return s;
}

// What happens to a real queue between the preview and Print.
enum TQueueChange { qcNone, qcAddedAfterStart, qcRejecting, qcDeleted, qcSchedulerStopped };

} // namespace

class TestPreview : public QObject {
    Q_OBJECT

    QTemporaryDir FDir;

private slots:
    // The toolbar as shown with the widest page count the label meets here.
    void everyTextShowsInFullAndNothingOverlaps() {
        TfrmPreview preview;
        WithPreview(preview, 12, [&] {
            QTest::keyClick(&preview, Qt::Key_End);
            QCOMPARE(preview.Label1->text(), TfrmPreview::tr("Page %1 of %2").arg(12).arg(12));
            QStringList faults = LayoutFaults(&preview);
            // The captions of the flat buttons stand whole inside them.
            for (const TExplorerButton *b : preview.findChildren<TExplorerButton *>())
                if (!b->Caption().isEmpty() && !b->rect().contains(b->Places().Caption))
                    faults << b->Caption() + " does not fit";
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
        });
    }

    void pagingByKeys_data() {
        QTest::addColumn<int>("pages");
        QTest::addColumn<QList<QKeyCombination>>("keys");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("buttons");
        using K = QList<QKeyCombination>;
        QTest::newRow("one page: at show") << 1 << K{} << "Page 1 of 1"
                                           << "--O-I";
        QTest::newRow("one page: no key pages")
            << 1 << K{Qt::Key_PageDown, Qt::Key_End, Qt::Key_PageUp, Qt::Key_Home} << "Page 1 of 1"
            << "--O-I";
        QTest::newRow("three pages: at show") << 3 << K{} << "Page 1 of 3"
                                              << "->O-I";
        QTest::newRow("End on page 1") << 3 << K{Qt::Key_End} << "Page 3 of 3"
                                       << "<-O-I";
        QTest::newRow("Page Down, Page Down")
            << 3 << K{Qt::Key_PageDown, Qt::Key_PageDown} << "Page 3 of 3"
            << "<-O-I";
        QTest::newRow("Ctrl+Page Down, Page Up")
            << 3 << K{Qt::ControlModifier | Qt::Key_PageDown, Qt::Key_PageUp} << "Page 2 of 3"
            << "<>O-I";
        QTest::newRow("Ctrl+Shift+Page Down is a plain Page Down")
            << 3 << K{Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_PageDown} << "Page 2 of 3"
            << "<>O-I";
        QTest::newRow("End, then Home") << 3 << K{Qt::Key_End, Qt::Key_Home} << "Page 1 of 3"
                                        << "->O-I";
        QTest::newRow("End, then Ctrl+Page Up")
            << 3 << K{Qt::Key_End, Qt::ControlModifier | Qt::Key_PageUp} << "Page 1 of 3"
            << "->O-I";
    }
    void pagingByKeys() {
        QFETCH(int, pages);
        QFETCH(QList<QKeyCombination>, keys);
        QFETCH(QString, label);
        QFETCH(QString, buttons);
        PdfPrinter pdf(FDir.filePath("keys.pdf"));
        TfrmPreview preview;
        WithPreview(preview, pages, [&] {
            QCOMPARE(QRPrinter().PageCount(), pages);
            for (QKeyCombination k : keys)
                QTest::keyClick(&preview, k.key(), k.keyboardModifiers());
            QCOMPARE(preview.Label1->text(), label);
            QCOMPARE(Enabled(preview), buttons);
            QCOMPARE(preview.QRPreview1->PageNumber(), label.split(' ')[1].toInt());
        });
    }

    void theWindowCoversTheWorkAreaAndTheNextShowStartsAfresh() {
        PdfPrinter pdf(FDir.filePath("show.pdf"));
        TfrmPreview preview;
        WithPreview(preview, 3, [&] {
            QCOMPARE(preview.windowTitle(), QString("Print Preview - Quorvale Pro, 1.6.12"));
            QCOMPARE(preview.frameGeometry(), preview.screen()->availableGeometry());
            QCOMPARE(preview.bbClose->x(), preview.width() - 76);
            QCOMPARE(preview.bbPrint->x(), preview.width() - 144);
            QCOMPARE(preview.QRPreview1->geometry(),
                     QRect(0, 30, preview.width(), preview.height() - 30));
            preview.bbZoomIn->Click();
            QCOMPARE(Enabled(preview), "->O1-");
            QCOMPARE(preview.QRPreview1->ZoomMode(), qrZoomToWidth);
            QTest::keyClick(&preview, Qt::Key_PageDown);
            QTest::keyClick(&preview, Qt::Key_Down);
            QVERIFY(preview.QRPreview1->verticalScrollBar()->value() > 0);
        });
        WithPreview(preview, 3, [&] {
            QCOMPARE(preview.QRPreview1->Zoom(), 100);
            QCOMPARE(preview.QRPreview1->ZoomMode(), qrZoomFixed);
            QCOMPARE(preview.QRPreview1->PageNumber(), 1);
            QCOMPARE(preview.QRPreview1->verticalScrollBar()->value(), 0);
            QCOMPARE(preview.QRPreview1->horizontalScrollBar()->value(), 0);
            QCOMPARE(Enabled(preview), "->O-I");
        });
    }

    void theArrowsScrollOnlyAPageLargerThanTheWindow_data() {
        QTest::addColumn<bool>("zoomOut");
        QTest::addColumn<int>("down");
        QTest::newRow("100 %: taller than the window") << false << 50;
        QTest::newRow("whole page: it fits") << true << 0;
    }
    void theArrowsScrollOnlyAPageLargerThanTheWindow() {
        QFETCH(bool, zoomOut);
        QFETCH(int, down);
        PdfPrinter pdf(FDir.filePath("arrows.pdf"));
        TfrmPreview preview;
        WithPreview(preview, 1, [&] {
            if (zoomOut)
                QTest::keyClick(&preview, Qt::Key_O, Qt::AltModifier);
            QCOMPARE(preview.QRPreview1->ZoomMode(), zoomOut ? qrZoomToFit : qrZoomFixed);
            QScrollBar *v = preview.QRPreview1->verticalScrollBar();
            QTest::keyClick(&preview, Qt::Key_Down);
            QCOMPARE(v->value(), down);
            QTest::keyClick(&preview, Qt::Key_Up);
            QCOMPARE(v->value(), 0);
        });
    }

    void printSendsTheJobOrSaysWhyNot_data() {
        QTest::addColumn<QString>("file"); // empty: no printer and no file
        QTest::addColumn<QString>("message");
        QTest::newRow("to a PDF file") << "out.pdf"
                                       << "";
        QTest::newRow("a file that cannot be written") << "no-such-folder/out.pdf"
                                                       << "Unable to print: the file";
        QTest::newRow("no printer, no file") << ""
                                             << "Unable to print: no printer is installed";
    }
    void printSendsTheJobOrSaysWhyNot() {
        QFETCH(QString, file);
        QFETCH(QString, message);
        if (file.isEmpty() && !QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("a printer is installed on this machine");
        std::optional<PdfPrinter> pdf;
        if (!file.isEmpty())
            pdf.emplace(FDir.filePath(file));
        DialogRecorder dialogs;
        TfrmPreview preview;
        bool openAfterPrint = false;
        WithPreview(preview, 1, [&] {
            QTest::keyClick(&preview, Qt::Key_P, Qt::AltModifier);
            openAfterPrint = preview.isVisible();
            QVERIFY(!QApplication::overrideCursor());
        });
        QCOMPARE(openAfterPrint, !message.isEmpty());
        if (message.isEmpty()) {
            QVERIFY(dialogs.Requests().isEmpty());
            QVERIFY(QFileInfo(FDir.filePath(file)).size() > 0);
        } else {
            QCOMPARE(dialogs.Requests().size(), 1);
            QCOMPARE(dialogs.Requests()[0].Title, QString("Quorvale Pro"));
            QVERIFY2(dialogs.Texts()[0].startsWith(message), qPrintable(dialogs.Texts()[0]));
        }
    }

    void aPrintSystemThatRefusesTheJobIsReported_data() {
        QTest::addColumn<TQueueChange>("change");
        QTest::addColumn<QString>("reason"); // what follows the report; null: no report
        QTest::newRow("the job is taken") << qcNone << QString();
        QTest::newRow("a printer added after the program's printer was made")
            << qcAddedAfterStart << QString();
        QTest::newRow("the queue rejects jobs")
            << qcRejecting << ": Destination \"quorvale\" is not accepting jobs.";
        QTest::newRow("the queue was deleted") << qcDeleted << "";
        QTest::newRow("the scheduler was stopped")
            << qcSchedulerStopped << ": the print service cannot be reached";
    }
    void aPrintSystemThatRefusesTheJobIsReported() {
        QFETCH(TQueueChange, change);
        QFETCH(QString, reason);
        CupsServer cups;
        if (!cups.Start())
            QSKIP(qPrintable("no CUPS scheduler: " + cups.Failure()));
        if (change == qcAddedAfterStart) { // the program's printer as made with no printer
            Printer()->setOutputFormat(QPrinter::PdfFormat);
            Printer()->setOutputFileName(QString());
        }
        QVERIFY(cups.AddQueue("quorvale"));
        if (change != qcAddedAfterStart)
            Printer()->setPrinterName("quorvale");
        DialogRecorder dialogs;
        TfrmPreview preview;
        bool openAfterPrint = false;
        WithPreview(preview, 1, [&] {
            QCOMPARE(Printer()->printerName(), QString("quorvale"));
            if (change == qcRejecting)
                QVERIFY(cups.Run("cupsreject", {"quorvale"}));
            else if (change == qcDeleted)
                QVERIFY(cups.Run("lpadmin", {"-x", "quorvale"}));
            else if (change == qcSchedulerStopped)
                cups.Stop();
            QTest::keyClick(&preview, Qt::Key_P, Qt::AltModifier);
            openAfterPrint = preview.isVisible();
        });
        const int jobs = cups.JobCount("quorvale");
        cups.Stop();
        Printer()->setOutputFormat(QPrinter::PdfFormat); // no printer for the tests that follow
        QCOMPARE(openAfterPrint, !reason.isNull());
        QCOMPARE(dialogs.Texts().size(), reason.isNull() ? 0 : 1);
        if (reason.isNull())
            QCOMPARE(jobs, 1);
        else
            QVERIFY2(dialogs.Texts()[0].startsWith(
                         "Unable to print: the printer \"quorvale\" did not take the job" + reason),
                     qPrintable(dialogs.Texts()[0]));
    }

    // The preview is modal, as the program shows it: the help window still takes clicks and
    // keys while the preview is up.
    void f1ShowsThePreviewsHelpTopicAndTheHelpCanBeUsed() {
        const QString helpFile = QFINDTESTDATA("../../resources/vormex.hlp");
        QVERIFY(!helpFile.isEmpty());
        Application()->SetHelpFile(helpFile);
        PdfPrinter pdf(FDir.filePath("help.pdf"));
        TfrmPreview preview;
        preview.setWindowModality(Qt::ApplicationModal);
        WithPreview(preview, 1, [&] {
            QTest::keyClick(&preview, Qt::Key_F1);
            THelpViewer *help = HelpViewer();
            QVERIFY(help && help->isVisible());
            QCOMPARE(help->Topic(), QString("preview"));
            // a click into the search field and typing there, as the window system brings them
            QWidget *search = help->SearchEdit();
            QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {},
                              search->mapTo(help, QPoint(5, 5)));
            for (char c : QByteArray("zoom"))
                QTest::keyClick(help->windowHandle(), c);
            QCOMPARE(help->SearchEdit()->text(), QString("zoom"));
        });
        WinHelp(nullptr, helpFile, HELP_QUIT);
    }

    // Narrowed or widened, the window keeps Print and Close at the right end of its toolbar,
    // never over the zoom buttons; it cannot be narrowed so far that a button is cut off.
    void printAndCloseFollowTheRightEdge_data() {
        QTest::addColumn<int>("width");
        QTest::newRow("narrowed") << 700;
        QTest::newRow("widened") << 1000;
        QTest::newRow("narrower than the toolbar") << 400;
    }
    void printAndCloseFollowTheRightEdge() {
        QFETCH(int, width);
        PdfPrinter pdf(FDir.filePath("narrow.pdf"));
        TfrmPreview preview;
        WithPreview(preview, 1, [&] {
            const int gap = preview.width() - preview.bbClose->geometry().right();
            // the width the zoom buttons, Print, Close and that gap take
            const int needed = preview.bbZoomIn->geometry().right() +
                               preview.bbClose->geometry().right() - preview.bbPrint->x() + gap;
            preview.resize(width, preview.height());
            QTRY_COMPARE(preview.width(), std::max(width, preview.minimumWidth()));
            for (const TExplorerButton *b : preview.findChildren<TExplorerButton *>())
                QVERIFY2(preview.rect().contains(b->geometry()), qPrintable(b->toolTip()));
            QVERIFY(preview.bbPrint->x() > preview.bbZoomIn->geometry().right());
            QVERIFY(preview.bbClose->x() > preview.bbPrint->geometry().right());
            if (width >= needed)
                QCOMPARE(preview.width() - preview.bbClose->geometry().right(), gap);
        });
    }
};

QUORVALE_TEST_MAIN(TestPreview)
#include "tst_Preview.moc"
