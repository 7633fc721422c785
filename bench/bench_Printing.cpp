// The payment chart: preparing its page (the display list) and painting it into a preview-sized
// image. Together they should take well under one screen frame (16 ms). Runs on the offscreen
// platform unless another is chosen.
#include "platform/Printers.h"
#include "printing/Quickrep.h"
#include "tests/support/ChartWindow.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// The main window with the first grid of mode 0, its chart prepared without a progress window.
struct TWindow : ChartWindow {
    TWindow() {
        Calculate(0);
        Chart.Rep->SetShowProgress(false);
    }
};

// Letter paper as a PDF file, so that the page metrics are those of a real printer.
void UseLetterPdf(const QTemporaryDir &dir) {
    QPrinter &p = *Printer();
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(dir.filePath("bench.pdf"));
    p.setPageSize(QPageSize(QPageSize::Letter));
    p.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Point);
}

void BM_PrepareChart(benchmark::State &state) {
    QTemporaryDir dir;
    UseLetterPdf(dir);
    TWindow w;
    QRPrinter().OnPreview = [](QObject *) {
    };
    for (auto _ : state)
        w.Chart.Rep->Preview(); // prepares the page, then releases it
    QRPrinter().OnPreview = nullptr;
}
BENCHMARK(BM_PrepareChart)->Unit(benchmark::kMicrosecond);

// The chart at 100 % as the preview paints it: the sheet and the page image on it.
void BM_PaintChart(benchmark::State &state) {
    QTemporaryDir dir;
    UseLetterPdf(dir);
    TWindow w;
    QRPrinter().OnPreview = [&](QObject *) {
        const TQRPageMetrics &m = QRPrinter().Metrics();
        QImage image(m.PaperWidth + 4, m.PaperHeight + 4, QImage::Format_ARGB32_Premultiplied);
        for (auto _ : state) {
            QPainter painter(&image);
            painter.fillRect(image.rect(), Qt::white);
            painter.translate(m.OffsetX + 1, m.OffsetY + 1);
            PaintPage(painter, QRPrinter().Page(1));
        }
    };
    w.Chart.Rep->Preview();
    QRPrinter().OnPreview = nullptr;
}
BENCHMARK(BM_PaintChart)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
