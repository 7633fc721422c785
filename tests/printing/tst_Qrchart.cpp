#include "printing/Qrchart.h"

#include "platform/Language.h"
#include "printing/Quickrep.h"
#include "tests/support/ChartWindow.h"
#include "tests/support/PdfPrinter.h"
#include "tests/support/Row.h"
#include "tests/support/Sharpness.h"
#include "tests/support/TestMain.h"

#include <QFontMetricsF>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>

namespace {

// Previews the chart and hands the prepared page to `check`.
void PreviewChart(ChartWindow &w, std::function<void(const TQRPage &)> check) {
    QRPrinter().OnPreview = [&](QObject *) {
        QCOMPARE(QRPrinter().PageCount(), 1);
        check(QRPrinter().Page(1));
    };
    w.Chart.Rep->Preview();
    QRPrinter().OnPreview = nullptr;
}

// The texts of the page as printed, blanks around them removed, each with its box.
QList<std::pair<QString, QRectF>> Texts(const TQRPage &page) {
    QList<std::pair<QString, QRectF>> texts;
    for (const TQRDrawItem &item : page)
        if (item.Kind == TQRDrawItem::dkText)
            texts.append({item.Text.trimmed(), item.Rect});
    return texts;
}

QString TextAt(const TQRPage &page, double x, double y) {
    for (const auto &[text, rect] : Texts(page))
        if (rect.contains(QPointF(x, y)))
            return text;
    return "(none)";
}

QString Run(const QString &program, const QStringList &arguments) {
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestQrchart : public QObject {
    Q_OBJECT

    QTemporaryDir FDir;

private slots:
    void init() { SetFormatSettings(UnitedStatesFormatSettings()); }
    void cleanup() { UseLanguage(*QCoreApplication::instance(), "C"); }

    void theTitleAndHeaderFollowTheMode_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("texts"); // title, three pairs, the two step lines
        const QString loan = "$100,000.00", rate = "8.75%", term = "360 months",
                      payment = "$786.70";
        const QString loans = "Loan Amounts incremented by $1000",
                      rates = "Interest Rates incremented by 1/2%",
                      payments = "Payment Amounts incremented by $75";
        QTest::newRow("0 PMT") << 0
                               << QStringList{"Chart of Monthly Payments",
                                              "Loan Amount:",
                                              loan,
                                              "Interest Rate:",
                                              rate,
                                              "Term:",
                                              term,
                                              loans,
                                              rates};
        QTest::newRow("1 Loans: term first, payment last") << 1
                                                           << QStringList{"Chart of Loan Amounts",
                                                                          "Term:",
                                                                          term,
                                                                          "Interest Rate:",
                                                                          rate,
                                                                          "Payment:",
                                                                          payment,
                                                                          payments,
                                                                          rates};
        QTest::newRow("2 Rates") << 2
                                 << QStringList{"Chart of Interest Rates",
                                                "Loan Amount:",
                                                loan,
                                                "Payment:",
                                                payment,
                                                "Term:",
                                                term,
                                                loans,
                                                payments};
        QTest::newRow("3 Term: no term") << 3
                                         << QStringList{"Chart of Terms in Months",
                                                        "Loan Amount:",
                                                        loan,
                                                        "Interest Rate:",
                                                        rate,
                                                        "Payment:",
                                                        payment,
                                                        loans,
                                                        payments};
    }
    void theTitleAndHeaderFollowTheMode() {
        QFETCH(int, mode);
        QFETCH(QStringList, texts);
        PdfPrinter pdf(FDir.filePath("modes.pdf"));
        ChartWindow w;
        w.Calculate(mode);
        PreviewChart(w, [&](const TQRPage &page) {
            // Title band 0..128, page header 128..211.
            QCOMPARE(TextAt(page, 50, 90), texts[0]);
            QCOMPARE(TextAt(page, 155, 128 + 20), texts[1]);
            QCOMPARE(TextAt(page, 162, 128 + 20), texts[2]);
            QCOMPARE(TextAt(page, 411, 128 + 20), texts[3]);
            QCOMPARE(TextAt(page, 419, 128 + 20), texts[4]);
            QCOMPARE(TextAt(page, 630, 128 + 20), texts[5]);
            QCOMPARE(TextAt(page, 638, 128 + 20), texts[6]);
            QCOMPARE(TextAt(page, 214, 128 + 60), texts[7]);
            QCOMPARE(TextAt(page, 574, 128 + 60), texts[8]);
            // Nothing between the title and its rule.
            for (const auto &[text, rect] : Texts(page))
                QVERIFY(rect.bottom() <= 112 || rect.top() >= 128);
        });
    }

    void theTableHoldsTheGridTextsInBoxes() {
        PdfPrinter pdf(FDir.filePath("table.pdf"));
        ChartWindow w;
        w.Calculate(0);
        w.grdLS.SetCells(3, 5, " ($1,234,567.89)"); // wider than its box: printed whole
        PreviewChart(w, [&](const TQRPage &page) {
            const double lefts[8] = {49, 137, 223, 309, 396, 482, 568, 654};
            int boxes = 0;
            for (const TQRDrawItem &item : page)
                if (item.Kind == TQRDrawItem::dkRectangle) {
                    ++boxes;
                    QCOMPARE(item.Color, QColor(192, 192, 192));
                    QVERIFY(!item.BrushColor.isValid());
                    QVERIFY(item.Rect.left() >= 45 && item.Rect.right() <= 738);
                    QCOMPARE(item.Rect.height(), 22.0);
                }
            QCOMPARE(boxes, 12 * 8);
            for (int row = 0; row < 12; ++row)
                for (int col = 0; col < 8; ++col)
                    QCOMPARE(TextAt(page, lefts[col] + 41, 211 + 24 * row + 10),
                             w.grdLS.Cells(col, row).trimmed());
            QCOMPARE(TextAt(page, 60, 211 + 12 * 24 + 10), QString("(none)")); // 12 rows only
            QCOMPARE(TextAt(page, 49 + 41, 221), QString("Loan / Rate"));
            QCOMPARE(TextAt(page, 396 + 41, 211 + 6 * 24 + 10), QString("$786.70"));
            for (const TQRDrawItem &item : page)
                if (item.Kind == TQRDrawItem::dkText)
                    QVERIFY2(!item.Clipped, qPrintable(item.Text));
        });
    }

    // Loan 999,999,999.99 over one month: amounts too wide for their boxes are drawn in the
    // same font, smaller, down to 6 points, and stay inside their boxes; the others keep 8 points.
    void aCellTextWiderThanItsBoxIsDrawnSmallerToFit() {
        struct BigLoan : ChartWindow {
            double LoanValue() override { return 999999999.99; }
            double TermValue() override { return 1; }
        };
        PdfPrinter pdf(FDir.filePath("big.pdf"));
        BigLoan w;
        w.Calculate(0);
        const QFont base = ReportFont(w.Chart.Rep->Font());
        PreviewChart(w, [&](const TQRPage &page) {
            int smaller = 0, cells = 0;
            for (const TQRDrawItem &item : page) {
                if (item.Kind != TQRDrawItem::dkText || item.Rect.top() < 211 ||
                    item.Rect.top() > 211 + 12 * 24)
                    continue;
                ++cells;
                const double width = QFontMetricsF(item.Font).horizontalAdvance(item.Text);
                QCOMPARE(item.Font.family(), base.family());
                QVERIFY2(item.Font.pixelSize() >= 8, qPrintable(item.Text));
                if (QFontMetricsF(base).horizontalAdvance(item.Text) <= item.Rect.width()) {
                    QCOMPARE(item.Font.pixelSize(), base.pixelSize());
                } else {
                    ++smaller;
                    QVERIFY2(width <= item.Rect.width(), qPrintable(item.Text));
                    QVERIFY(item.Origin.x() >= item.Rect.left());
                }
            }
            QCOMPARE(cells, 12 * 8);
            QVERIFY(smaller > 0);
        });
    }

    void theFooterSitsAtTheBottom() {
        PdfPrinter pdf(FDir.filePath("footer.pdf"));
        ChartWindow w;
        w.Calculate(0);
        PreviewChart(w, [&](const TQRPage &page) {
            const double top = QRPrinter().Metrics().PrintableHeight - 75;
            QCOMPARE(TextAt(page, 50, top + 10), QString("Quorvale Pro, 1.6.12"));
            QCOMPARE(TextAt(page, 735, top + 10), QString("www.tamblewick.example"));
            QVERIFY(TextAt(page, 392, top + 10).startsWith("Printed at "));
            QVERIFY(TextAt(page, 50, top + 40).startsWith("NOTE:  While effort"));
            QVERIFY(TextAt(page, 50, top + 54).endsWith("making financial decisions."));
        });
    }

    void previewingTwiceGivesTheSameChartInPortrait() {
        PdfPrinter pdf(FDir.filePath("twice.pdf"));
        Printer()->setPageOrientation(QPageLayout::Landscape); // as chosen in the setup
        ChartWindow w;
        w.Calculate(1);
        QList<QList<std::pair<QString, QRectF>>> runs;
        for (int run = 0; run < 2; ++run)
            PreviewChart(w, [&](const TQRPage &page) {
                auto texts = Texts(page);
                texts.removeIf([](const auto &t) { return t.first.startsWith("Printed at"); });
                runs.append(texts);
            });
        QCOMPARE(runs.size(), 2);
        QCOMPARE(runs[0].size(), runs[1].size());
        QVERIFY(runs[0] == runs[1]);
        QCOMPARE(QRPrinter().Metrics().PrintableWidth, 768);
        QCOMPARE(w.Chart.NextRow(), 13);
    }

    // On a screen of 2 or 3 device pixels to the logical pixel the page is painted at that
    // resolution: each line of the table's boxes, one unit wide, is as many device pixels of
    // the boxes' grey (two boxes side by side, twice as many), and the edges of the texts
    // fall inside logical pixels.
    void theChartInThePreviewIsSharpOnAScaledScreen_data() {
        QTest::addColumn<int>("ratio");
        QTest::addColumn<int>("zoom");
        QTest::newRow("scale 2, 100 %") << 2 << 100;
        QTest::newRow("scale 2, 200 %") << 2 << 200;
        QTest::newRow("scale 3, 100 %") << 3 << 100;
    }
    void theChartInThePreviewIsSharpOnAScaledScreen() {
        QFETCH(int, ratio);
        QFETCH(int, zoom);
        PdfPrinter pdf(FDir.filePath("sharp.pdf"));
        ChartWindow w;
        w.Calculate(0);
        PreviewChart(w, [&](const TQRPage &page) {
            TQRPreview preview;
            preview.SetZoom(zoom);
            const QImage image = PaintedAt(preview.PageImage(), ratio);
            const auto box = std::find_if(page.begin(), page.end(), [](const TQRDrawItem &item) {
                return item.Kind == TQRDrawItem::dkRectangle;
            });
            QVERIFY(box != page.end());
            // Across the first row of boxes, above its texts.
            const double scale = zoom / 100.0;
            const double top = QRPrinter().Metrics().OffsetY * scale + 1;
            const int y = int((top + (box->Rect.top() + 2.5) * scale) * ratio);
            const int line = int(ratio * scale);
            QCOMPARE(RunsOf(image, y, QColor(192, 192, 192)),
                     (QList<int>{line, 2 * line, 2 * line, 2 * line, 2 * line, 2 * line, 2 * line,
                                 2 * line, line}));
            const int split = SplitPixels(image, ratio);
            QVERIFY2(split > 2000, qPrintable(QString::number(split)));
        });
    }

    // Each line of the page as printed, in English and in German (the German needs the
    // de_DE.UTF-8 locale for its amounts): the titles, the steps with the user's currency and
    // both lines of the note to their last word.
    void aPrintedPdfHoldsTheWholeChart_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("wanted");
        QTest::addColumn<QString>("printed");
        Row("English", "C",
            QStringList{"Chart of Monthly Payments", "Loan Amount: $100,000.00",
                        "Interest Rate: 8.75%", "Term: 360 months",
                        "Loan Amounts incremented by $1000", "Interest Rates incremented by 1/2%",
                        "for the accuracy or", "before making financial decisions."},
            R"(Printed at \d+/\d+/\d{4} \d+:\d\d:\d\d [AP]M)");
        Row("German", "de_DE",
            QStringList{"Tabelle der Monatsraten", "Darlehensbetrag: 100.000,00 €",
                        "Zinssatz: 8,75%", "Laufzeit: 360 Monate",
                        "Darlehensbeträge in Schritten von 1000 €",
                        "Zinssätze in Schritten von 1/2%", "für die Richtigkeit oder",
                        "Ihren eigenen Fachberater."},
            R"(Gedruckt am \d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d)");
    }
    void aPrintedPdfHoldsTheWholeChart() {
        QFETCH(QString, language);
        QFETCH(QStringList, wanted);
        QFETCH(QString, printed);
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        if (language != "C") {
            SetFormatSettings(LocaleFormatSettings((language + ".UTF-8").toLatin1()));
            if (FormatSettings().CurrencyString != "€")
                QSKIP("the de_DE.UTF-8 locale is not generated (locale-gen)");
        }
        UseLanguage(*QCoreApplication::instance(), language);
        const QString file = FDir.filePath("chart.pdf");
        PdfPrinter pdf(file);
        Printer()->setPageOrientation(QPageLayout::Landscape);
        ChartWindow w;
        w.Calculate(0);
        QRPrinter().OnPreview = [](QObject *) {
            QRPrinter().Print();
        };
        w.Chart.Rep->Preview();
        QRPrinter().OnPreview = nullptr;

        QVERIFY(Run("pdfinfo", {file}).contains(QRegularExpression(R"(Page size:\s+612 x 792)")));
        const QString text = Run("pdftotext", {"-layout", file, "-"});
        wanted << "Quorvale Pro, 1.6.12"
               << "www.tamblewick.example";
        for (int row = 0; row < 12; ++row)
            for (int col = 0; col < 8; ++col)
                wanted << w.grdLS.Cells(col, row).trimmed();
        // Words as printed, however many blanks the layout puts between them.
        for (const QString &t : wanted) {
            const QString words = QRegularExpression::escape(t).replace("\\ ", "\\s+");
            QVERIFY2(text.contains(QRegularExpression(words)), qPrintable(t + "\n" + text));
        }
        QVERIFY2(QRegularExpression(printed).match(text).hasMatch(), qPrintable(text));
    }
};

QUORVALE_TEST_MAIN(TestQrchart)
#include "tst_Qrchart.moc"
