// The payment chart: preparing its page (the display list) and painting it into a preview-sized
// image. Together they should take well under one screen frame (16 ms). The preview of the
// longest schedule: the time until its first page is painted, and the memory it takes while open
// and gives back once closed. Runs on the offscreen platform unless another is chosen.
#include "engine/Amortize.h"
#include "platform/Printers.h"
#include "printing/Qrschedule.h"
#include "printing/Quickrep.h"
#include "tests/support/ChartWindow.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fstream>
#include <string>

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

// A figure of this process's memory from /proc/self/status, in MiB: "VmRSS:" now, "VmHWM:"
// the peak so far.
double MemoryMiB(const std::string &field) {
    std::ifstream status("/proc/self/status");
    std::string name;
    while (status >> name) {
        double kib = 0;
        if (name == field && status >> kib)
            return kib / 1024;
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

// 120,000 months: 120,000.00 at 0 % repaid by 1.00 a month, the longest schedule there is.
void BM_PreviewLongSchedule(benchmark::State &state) {
    QTemporaryDir dir;
    UseLetterPdf(dir);
    const TScheduleResult schedule = MakeSchedule({120000, 0, MaxScheduleMonths, 1});
    if (!schedule) {
        state.SkipWithError("no schedule");
        return;
    }
    TQRSchedule report(QStringLiteral("Quorvale Pro"));
    report.Rep->SetShowProgress(false);
    const double before = MemoryMiB("VmRSS:");
    double open = 0;
    int pages = 0;
    for (auto _ : state) {
        report.SetSchedule(*schedule, schedule->Months, false);
        const auto start = std::chrono::steady_clock::now();
        QRPrinter().OnPreview = [&](QObject *) {
            // the first page as the preview paints it at 100 %
            const TQRPageMetrics &m = QRPrinter().Metrics();
            QImage image(m.PaperWidth + 4, m.PaperHeight + 4, QImage::Format_ARGB32_Premultiplied);
            QPainter painter(&image);
            painter.fillRect(image.rect(), Qt::white);
            painter.translate(m.OffsetX + 1, m.OffsetY + 1);
            PaintPage(painter, QRPrinter().Page(1));
            open = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            pages = QRPrinter().PageCount();
            // the last page, as End shows it
            PaintPage(painter, QRPrinter().Page(pages));
        };
        report.Rep->Preview();
        QRPrinter().OnPreview = nullptr;
        state.SetIterationTime(open);
    }
    state.counters["pages"] = pages;
    state.counters["MiB_before"] = before;
    state.counters["MiB_peak"] = MemoryMiB("VmHWM:");
    state.counters["MiB_after_close"] = MemoryMiB("VmRSS:");
}
BENCHMARK(BM_PreviewLongSchedule)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

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
