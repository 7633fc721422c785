// The payment chart: preparing its page (the display list) and painting it into a preview-sized
// image. Together they should take well under one screen frame (16 ms). Runs on the offscreen
// platform unless another is chosen.
#include "controls/Aligrid.h"
#include "engine/Spread.h"
#include "platform/ExtCtrls.h"
#include "platform/Printers.h"
#include "printing/Qrchart.h"
#include "printing/Quickrep.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// The main window as the calculators and the chart see it, with the first grid of mode 0.
struct TWindow : TSpreadView {
    SpreadState State;
    TRadioGroup rgCalculate;
    TStringAlignGrid grdLS;
    TQRPaymentChart Chart{State, rgCalculate, grdLS, "www.tamblewick.example"};

    TWindow() {
        rgCalculate.SetItems({"PMT (P && I)", "Loans", "Rates", "Term (months)"});
        rgCalculate.SetItemIndex(0);
        grdLS.SetColCount(8);
        grdLS.SetRowCount(12);
        FillSpread(*this);
        Chart.Rep->SetShowProgress(false);
    }
    SpreadState &Spread() override { return State; }
    int CalculateIndex() override { return 0; }
    int LoanStepIndex() override { return 3; }
    int InterestStepIndex() override { return 3; }
    int PaymentStepIndex() override { return 3; }
    double LoanValue() override { return 100000; }
    double InterestValue() override { return 8.75; }
    double TermValue() override { return 360; }
    double PaymentValue() override { return 786.7; }
    void SetCell(int col, int row, const std::string &text) override {
        grdLS.SetCells(col, row, QString::fromStdString(text));
    }
    void SelectCell(int, int) override {}
    void SetColorCol(int, TRgb) override {}
    void SetColorRow(int, TRgb) override {}
    void AllowPrinting() override {}
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
