#include "printing/Quickrep.h"

#include "platform/Printers.h"
#include "platform/SysUtils.h"
#include "tests/support/Layout.h"
#include "tests/support/PdfPrinter.h"
#include "tests/support/Row.h"
#include "tests/support/TestMain.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPrinterInfo>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <optional>

namespace {

// A report of a title (100), a page header (50) with a page number, detail bands of a chosen
// height, each naming its row, and a page footer (75). Letter paper with a quarter inch margin
// is 1008 units high, so the footer area starts at 933. The footer also counts the pages,
// centred in a box from 200 to 400.
struct TTestReport {
    TQuickReport Rep;
    TQRBand *Title, *Header, *Detail, *Footer;
    TQRLabel *Row;
    TQRSysData *Pages;
    int Rows = 0;
    int Next = 0;

    explicit TTestReport(double detailHeight, int rows) : Rows(rows) {
        Title = new TQRBand(&Rep, rbTitle, 100);
        (new TQRLabel(Title))->SetCaption("TITLE");
        Header = new TQRBand(&Rep, rbPageHeader, 50);
        auto *page = new TQRSysData(Header);
        page->SetData(qrsPageNumber);
        page->SetText("Page ");
        Detail = new TQRBand(&Rep, rbDetail, detailHeight);
        Row = new TQRLabel(Detail);
        Footer = new TQRBand(&Rep, rbPageFooter, 75);
        Pages = new TQRSysData(Footer);
        Pages->SetData(qrsPageOfPages);
        Pages->SetText("Page ");
        Pages->SetBounds(200, 20, 200, 14);
        Pages->SetAlignment(taCenter);
        Pages->SetAutoSize(false);
        Pages->SetTransparent(true);
        (new TQRLabel(Footer))->SetCaption("FOOTER");
        Rep.SetShowProgress(false);
        Rep.OnNeedData = [this](QObject *, bool &more) {
            more = Next < Rows;
            Row->SetCaption(QStringLiteral("row %1").arg(Next++));
        };
    }
};

// Where a text was printed: its page and the top of its band's area.
struct TPlace {
    int Page;
    double Y;
    bool operator==(const TPlace &) const = default;
};

QList<TPlace> PlacesOf(const QString &text) {
    QList<TPlace> places;
    for (int n = 1; n <= QRPrinter().PageCount(); ++n)
        for (const TQRDrawItem &item : QRPrinter().Page(n))
            if (item.Kind == TQRDrawItem::dkText && item.Text == text)
                places.append({n, item.Rect.top()});
    return places;
}

const TQRDrawItem *FindText(const TQRPage &page, const QString &text) {
    for (const TQRDrawItem &item : page)
        if (item.Kind == TQRDrawItem::dkText && item.Text == text)
            return &item;
    return nullptr;
}

// Prepares the report and runs `whilePrepared` where the preview would be shown.
void PreviewWith(TQuickReport &rep, std::function<void()> whilePrepared) {
    QRPrinter().OnPreview = [&](QObject *) {
        whilePrepared();
    };
    rep.Preview();
    QRPrinter().OnPreview = nullptr;
}

int PdfPages(const QString &file) {
    QProcess info;
    info.start("pdfinfo", {file});
    if (!info.waitForFinished())
        return -1;
    const auto m = QRegularExpression(R"(Pages:\s+(\d+))").match(info.readAllStandardOutput());
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace

Q_DECLARE_METATYPE(TPlace)

class TestQuickrep : public QObject {
    Q_OBJECT

    QTemporaryDir FDir;

private slots:
    void init() { SetFormatSettings(UnitedStatesFormatSettings()); }

    void everyTextShowsInFullAndNothingOverlaps_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("preparing") << "Preparing report of Results";
        QTest::newRow("printing") << "Printing report Quorvale Pro, 1.6.12 - Payment Schedule";
    }
    void everyTextShowsInFullAndNothingOverlaps() {
        QFETCH(QString, text);
        TQRProgressForm progress("Progress");
        progress.show();
        QVERIFY(QTest::qWaitForWindowExposed(&progress));
        progress.SetText(text);
        const QStringList faults = LayoutFaults(&progress);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
    }

    void theDataLoopPresetsTheFlag_data() {
        QTest::addColumn<int>("handler");
        QTest::addColumn<int>("details");
        QTest::newRow("untouched flag: one detail") << 0 << 1;
        QTest::newRow("false at once: none") << 1 << 0;
        QTest::newRow("true for three rows") << 2 << 3;
    }
    void theDataLoopPresetsTheFlag() {
        QFETCH(int, handler);
        QFETCH(int, details);
        PdfPrinter pdf(FDir.filePath("loop.pdf"));
        TTestReport r(20, 3);
        QList<bool> presets;
        r.Rep.OnNeedData = [&](QObject *, bool &more) {
            presets.append(more);
            if (handler == 1)
                more = false;
            else if (handler == 2)
                more = presets.size() <= 3;
        };
        int printed = 0;
        r.Detail->BeforePrint = [&](QObject *, bool &) {
            ++printed;
        };
        PreviewWith(r.Rep, [] {});
        QCOMPARE(printed, details);
        QCOMPARE(presets.first(), true);
        QCOMPARE(presets.count(true), 1); // every later call starts from false
    }

    void aBandTouchingTheFooterMovesToTheNextPage_data() {
        QTest::addColumn<double>("height");
        QTest::addColumn<TPlace>("place");
        QTest::newRow("ends one unit above the footer") << 782.0 << TPlace{1, 150};
        QTest::newRow("ends at the footer") << 783.0 << TPlace{2, 50};
    }
    void aBandTouchingTheFooterMovesToTheNextPage() {
        QFETCH(double, height);
        QFETCH(TPlace, place);
        PdfPrinter pdf(FDir.filePath("touch.pdf"));
        TTestReport r(height, 1);
        PreviewWith(r.Rep, [&] {
            QCOMPARE(QRPrinter().Metrics().PrintableHeight, 1008);
            QCOMPARE(PlacesOf("row 0"), QList<TPlace>{place});
            QCOMPARE(PlacesOf("FOOTER").last(), (TPlace{QRPrinter().PageCount(), 933}));
        });
    }

    void aLongReportRepeatsHeaderAndFooterOnEveryPage() {
        PdfPrinter pdf(FDir.filePath("three.pdf"));
        TTestReport r(300, 6);
        PreviewWith(r.Rep, [&] {
            QCOMPARE(QRPrinter().PageCount(), 3);
            QCOMPARE(QRPrinter().Status(), qrPagesReady);
            QCOMPARE(PlacesOf("TITLE"), QList<TPlace>{(TPlace{1, 0})});
            QCOMPARE(PlacesOf("Page 1"), QList<TPlace>{(TPlace{1, 100})});
            QCOMPARE(PlacesOf("Page 3"), QList<TPlace>{(TPlace{3, 0})});
            QCOMPARE(PlacesOf("FOOTER"), (QList<TPlace>{{1, 933}, {2, 933}, {3, 933}}));
            QCOMPARE(PlacesOf("row 1"), QList<TPlace>{(TPlace{1, 450})});
            QCOMPARE(PlacesOf("row 2"), QList<TPlace>{(TPlace{2, 50})});
            QCOMPARE(PlacesOf("row 5"), QList<TPlace>{(TPlace{3, 350})});
        });
        QCOMPARE(QRPrinter().Status(), qrIdle);
        QCOMPARE(QRPrinter().Page(1).size(), 0); // released with the preview
    }

    // Also where the data can be read again from any record and each page is laid out when
    // asked for, in any order: the pages are those laid out all at once.
    void theFooterCountsThePagesOfTheWholeReport_data() {
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("footers"); // page by page
        QTest::addColumn<bool>("onDemand");
        QTest::newRow("one page") << 20.0 << 3 << QStringList{"Page 1 of 1"} << false;
        QTest::newRow("three pages")
            << 300.0 << 6 << QStringList{"Page 1 of 3", "Page 2 of 3", "Page 3 of 3"} << false;
        QTest::newRow("twelve pages")
            << 400.0 << 23 << QStringList{"Page 1 of 12", "Page 12 of 12"} << false;
        Row("three pages laid out when asked for", 300.0, 6,
            QStringList{"Page 1 of 3", "Page 2 of 3", "Page 3 of 3"}, true);
        Row("twelve pages laid out when asked for", 400.0, 23,
            QStringList{"Page 1 of 12", "Page 12 of 12"}, true);
    }
    void theFooterCountsThePagesOfTheWholeReport() {
        QFETCH(double, height);
        QFETCH(int, rows);
        QFETCH(QStringList, footers);
        QFETCH(bool, onDemand);
        PdfPrinter pdf(FDir.filePath("count.pdf"));
        TTestReport r(height, rows);
        QList<TQRPage> whole; // laid out at once
        if (onDemand) {
            PreviewWith(r.Rep, [&] {
                for (int n = 1; n <= QRPrinter().PageCount(); ++n)
                    whole << QRPrinter().Page(n);
            });
            r.Next = 0;
            r.Rep.OnSeekData = [&](QObject *, int record) {
                r.Next = record;
            };
        }
        PreviewWith(r.Rep, [&] {
            for (int n = QRPrinter().PageCount(); onDemand && n >= 1; --n) {
                const TQRPage &page = QRPrinter().Page(n);
                auto drawn = [](const TQRPage &p) {
                    QStringList items; // what each item draws, where and how
                    for (const TQRDrawItem &i : p)
                        items << QDebug::toString(i.Kind) + QDebug::toString(i.Rect) + i.Text +
                                     QDebug::toString(i.Origin) + i.Font.toString() +
                                     i.Color.name();
                    return items;
                };
                QCOMPARE(drawn(page), drawn(whole[n - 1]));
            }
            for (const QString &footer : footers) {
                const int n = footer.section(' ', 1, 1).toInt();
                QCOMPARE(PlacesOf(footer), QList<TPlace>{(TPlace{n, 933 + 20})});
                const TQRPage &page = QRPrinter().Page(n);
                const TQRDrawItem *text = FindText(page, footer);
                // centred in its box by its final text, drawn over the footer's fill and
                // under the label made after it (its fill and text)
                const double width = QFontMetricsF(text->Font).horizontalAdvance(footer);
                QVERIFY(qAbs(text->Origin.x() - (300 - width / 2)) < 0.01);
                QVERIFY(std::any_of(page.data(), text, [](const TQRDrawItem &i) {
                    return i.Kind == TQRDrawItem::dkFill && i.Rect.top() == 933;
                }));
                QCOMPARE(FindText(page, "FOOTER"), text + 2);
            }
        });
    }

    void labelsAsPrinted_data() {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<bool>("autoSize");
        QTest::addColumn<bool>("clip");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<double>("textLeft"); // relative to the box, in units of the text
        QTest::addColumn<bool>("clipped");
        // Box 100..200. textLeft: 0 box's left, 1 ends a blank before the right edge, 2 centred.
        QTest::newRow("left, fixed")
            << int(taLeftJustify) << false << true << "Loan" << 0.0 << true;
        QTest::newRow("right, fixed, ends a blank early")
            << int(taRightJustify) << false << true << "Loan" << 1.0 << true;
        QTest::newRow("right, sized to text, keeps its right edge")
            << int(taRightJustify) << true << true << "Interest Rate:" << 1.0 << false;
        QTest::newRow("centred, too wide, clipped")
            << int(taCenter) << false << true << QString(40, 'W') << 2.0 << true;
        QTest::newRow("centred, too wide, runs past its box")
            << int(taCenter) << false << false << QString(40, 'W') << 2.0 << false;
    }
    void labelsAsPrinted() {
        QFETCH(int, alignment);
        QFETCH(bool, autoSize);
        QFETCH(bool, clip);
        QFETCH(QString, caption);
        QFETCH(double, textLeft);
        QFETCH(bool, clipped);
        PdfPrinter pdf(FDir.filePath("labels.pdf"));
        TQuickReport rep;
        rep.SetShowProgress(false);
        auto *band = new TQRBand(&rep, rbTitle, 40);
        auto *label = new TQRLabel(band);
        label->SetBounds(100, 10, 100, 14);
        label->SetAlignment(TQRAlignment(alignment));
        label->SetAutoSize(autoSize);
        label->SetClipText(clip);
        label->SetCaption(caption);
        auto *empty = new TQRLabel(band);
        empty->SetTransparent(true);
        PreviewWith(rep, [&] {
            const TQRPage &page = QRPrinter().Page(1);
            const QString printed = alignment == taRightJustify ? caption + " " : caption;
            const TQRDrawItem *text = FindText(page, printed);
            QVERIFY(text);
            const QFontMetricsF fm(text->Font);
            const double width = fm.horizontalAdvance(caption);
            const double expected = textLeft == 0   ? 100
                                    : textLeft == 1 ? 200 - fm.horizontalAdvance(" ") - width
                                                    : 150 - width / 2;
            QVERIFY2(qAbs(text->Origin.x() - expected) < 0.01,
                     qPrintable(QString::number(text->Origin.x())));
            QCOMPARE(text->Clipped, clipped);
            QCOMPARE(text->Rect.right(), 200.0);
            // The empty transparent label drew nothing: band fill, label fill, text.
            QCOMPARE(page.size(), 3);
        });
    }

    void theDateTimeFieldUsesTheRegionalForms() {
        PdfPrinter pdf(FDir.filePath("date.pdf"));
        TQuickReport rep;
        rep.SetShowProgress(false);
        auto *field = new TQRSysData(new TQRBand(&rep, rbTitle, 40));
        field->SetData(qrsDateTime);
        field->SetText("Printed at ");
        PreviewWith(rep, [&] {
            const TQRPage &page = QRPrinter().Page(1);
            const auto text = std::find_if(page.begin(), page.end(), [](const TQRDrawItem &i) {
                return i.Kind == TQRDrawItem::dkText;
            });
            QVERIFY(text != page.end());
            QVERIFY2(
                QRegularExpression(R"(^Printed at \d{1,2}/\d{1,2}/\d{4} \d{1,2}:\d\d:\d\d [AP]M$)")
                    .match(text->Text)
                    .hasMatch(),
                qPrintable(text->Text));
        });
    }

    void cancelOrFailureLeavesThePrinterIdle_data() {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("Cancel in the progress window") << true;
        QTest::newRow("a handler throws") << false;
    }
    void cancelOrFailureLeavesThePrinterIdle() {
        QFETCH(bool, cancel);
        PdfPrinter pdf(FDir.filePath("cancel.pdf"));
        TTestReport r(20, 50);
        r.Rep.SetShowProgress(true);
        QString progressText;
        r.Rep.OnNeedData = [&](QObject *, bool &more) {
            TQRProgressForm *progress = QRPrinter().ProgressForm();
            QVERIFY(progress && progress->isVisible());
            QCOMPARE(progress->windowModality(), Qt::ApplicationModal);
            progressText = progress->Info->text();
            if (!cancel)
                throw EConvertError("broken");
            progress->CancelButton->click();
            more = true;
        };
        QRPrinter().SetProgressCaption("Preparing Page");
        bool previewed = false;
        try {
            PreviewWith(r.Rep, [&] { previewed = true; });
            QVERIFY(cancel);
        } catch (const EConvertError &) {
            QVERIFY(!cancel);
        }
        QVERIFY(!previewed);
        QCOMPARE(progressText, QString("Preparing report "));
        QCOMPARE(QRPrinter().Status(), qrIdle);
        QVERIFY(!QRPrinter().Cancelled());
        QVERIFY(!QRPrinter().ProgressForm());
        // The next preview is not blocked.
        r.Rep.OnNeedData = nullptr;
        PreviewWith(r.Rep, [&] { previewed = true; });
        QVERIFY(previewed);
    }

    void printingWritesThePagesOrSaysWhyNot_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("cancelAfterFirstPage");
        QTest::addColumn<int>("pages"); // -1: no file
        QTest::addColumn<QString>("error");
        QTest::newRow("three pages") << "ok.pdf" << false << 3 << "";
        QTest::newRow("Cancel after the first page") << "cancel.pdf" << true << 1 << "";
        QTest::newRow("a file that cannot be written")
            << "missing-folder/x.pdf" << false << -1
            << "the file \".*missing-folder/x.pdf\" cannot be written \\(.+\\)\\.";
    }
    void printingWritesThePagesOrSaysWhyNot() {
        QFETCH(QString, file);
        QFETCH(bool, cancelAfterFirstPage);
        QFETCH(int, pages);
        QFETCH(QString, error);
        PdfPrinter pdf(FDir.filePath(file));
        TTestReport r(300, 6);
        r.Rep.SetReportTitle("of Tests");
        QString failure;
        PreviewWith(r.Rep, [&] {
            // Cancel as soon as the bar shows the first page.
            if (cancelAfterFirstPage)
                QTimer::singleShot(0, [] {
                    TQRProgressForm *progress = QRPrinter().ProgressForm();
                    QObject::connect(progress->Gauge, &QProgressBar::valueChanged,
                                     progress->CancelButton, &QPushButton::click);
                });
            try {
                QRPrinter().Print();
            } catch (const EPrinter &e) {
                failure = QString::fromStdString(e.Message());
            }
            QVERIFY(!QRPrinter().Cancelled());
        });
        QVERIFY2(QRegularExpression("^" + error + "$").match(failure).hasMatch(),
                 qPrintable(failure));
        if (pages < 0)
            QVERIFY(!QFile::exists(FDir.filePath(file)));
        else if (QStandardPaths::findExecutable("pdfinfo").isEmpty())
            QSKIP("pdfinfo (poppler-utils) is not installed");
        else
            QCOMPARE(PdfPages(FDir.filePath(file)), pages);
    }

    void withNoPrinterPrintingSaysSoAndZoomStaysAt100() {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("a printer is installed on this machine");
        TTestReport r(20, 1);
        QString failure;
        PreviewWith(r.Rep, [&] {
            QVERIFY(!QRPrinter().PrinterAvailable());
            QCOMPARE(QRPrinter().Metrics(), FallbackPageMetrics(false));
            QCOMPARE(QRPrinter().Metrics().OffsetX, 5);
            TQRPreview preview;
            preview.resize(300, 300);
            preview.ZoomToFit();
            QCOMPARE(preview.Zoom(), 100);
            preview.ZoomToWidth();
            QCOMPARE(preview.Zoom(), 100);
            try {
                QRPrinter().Print();
            } catch (const EPrinter &e) {
                failure = QString::fromStdString(e.Message());
            }
        });
        QVERIFY2(failure.contains("no printer is installed") && failure.contains("PDF"),
                 qPrintable(failure));
    }

    void thePreviewControlPagesAndZooms() {
        // A paper of 380 x 1000 units: fitting a control 202 wide is 202 / 380 x 95 = 50.5 %.
        PdfPrinter pdf(FDir.filePath("zoom.pdf"), {380, 1000}, 12);
        TTestReport r(300, 6);
        PreviewWith(r.Rep, [&] {
            TQRPreview preview;
            preview.show();
            QCOMPARE(QRPrinter().Metrics().PaperWidth, 380);
            preview.resize(202, 4000);
            preview.ZoomToFit();
            QCOMPARE(preview.Zoom(), 50); // the half goes to the even neighbour
            QCOMPARE(preview.ZoomMode(), qrZoomToFit);
            preview.resize(206, 4000); // fitted again: 51.5 % becomes 52 %
            QCOMPARE(preview.Zoom(), 52);
            preview.SetZoom(200);
            QCOMPARE(preview.ZoomMode(), qrZoomFixed);
            QCOMPARE(preview.PageImage()->size(), QSize(764, 2004));
            const int count = QRPrinter().PageCount();
            for (int ignored : {0, count + 1, -1}) {
                preview.SetPageNumber(ignored);
                QCOMPARE(preview.PageNumber(), 1);
            }
            preview.verticalScrollBar()->setValue(100);
            preview.SetPageNumber(count);
            QCOMPARE(preview.PageNumber(), count);
            QCOMPARE(preview.verticalScrollBar()->value(), 0);
        });
    }

    void aLetterPageIs820By1060At100Percent() {
        PdfPrinter pdf(FDir.filePath("letter.pdf"));
        TTestReport r(20, 1);
        r.Rep.SetOrientation(poPortrait);
        Printer()->setPageOrientation(QPageLayout::Landscape); // overridden at preparation
        PreviewWith(r.Rep, [&] {
            TQRPreview preview;
            preview.SetZoom(100);
            QCOMPARE(preview.PageImage()->size(), QSize(820, 1060));
            QCOMPARE(QRPrinter().Metrics(), (TQRPageMetrics{768, 1008, 816, 1056, 24, 24}));
            // The page as painted: white inside the frame, the frame black, the shadow black
            // from 2 units in, and the printed text where the display list says.
            preview.resize(900, 1100);
            const QImage image = preview.PageImage()->grab().toImage();
            QCOMPARE(image.pixelColor(0, 500), QColor(Qt::black));
            QCOMPARE(image.pixelColor(10, 10), QColor(Qt::white));
            QCOMPARE(image.pixelColor(819, 500), QColor(Qt::black));
            QCOMPARE(image.pixelColor(500, 1059), QColor(Qt::black));
            QVERIFY(image.pixelColor(819, 1).value() > 0); // no shadow beside the top
            QRect ink;
            for (int y = 2; y < 80; ++y)
                for (int x = 20; x < 200; ++x)
                    if (image.pixelColor(x, y).value() < 128)
                        ink |= QRect(x, y, 1, 1);
            QVERIFY2(ink.left() >= 25 && ink.left() <= 27 && ink.top() >= 25 && ink.top() < 35,
                     qPrintable(QString("%1,%2").arg(ink.left()).arg(ink.top())));
        });
    }
};

QUORVALE_TEST_MAIN(TestQuickrep)
#include "tst_Quickrep.moc"
