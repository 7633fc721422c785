// From a typed value and Tab to the repainted grid, in the real main window: the box takes its
// value, the grid is recalculated in the current mode and painted. The goal is under 5 ms.
// Offscreen by default; run under an X server (QT_QPA_PLATFORM=xcb) to include the flush.
#include "app/Main.h"
#include "bench/ShownMainWindow.h"
#include "controls/Aligrid.h"
#include "controls/NumCtrl.h"
#include "platform/Dialogs.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"

#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>

namespace {

void TypeAndTab(benchmark::State &state) {
    ShownMainWindow shown;
    if (!shown.Show(state))
        return;
    TfrmMain &form = shown.Form;
    const int mode = int(state.range(0));
    if (mode != 0)
        form.rgCalculate->Button(mode)->click();
    TNumEdit *box = mode == 1 ? form.edtPayment : form.edtLoan;
    PaintCounter counter;
    form.grdLS->installEventFilter(&counter);
    const char *values[2] = {mode == 1 ? "900" : "250000", mode == 1 ? "700" : "150000"};
    int turn = 0;
    double handled = 0;
    for (auto _ : state) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, values[turn++ % 2]);
        QCoreApplication::processEvents();
        const int paints = counter.Paints;
        const auto start = std::chrono::steady_clock::now();
        QTest::keyClick(box, Qt::Key_Tab);
        handled += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        while (counter.Paints == paints)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    // The part of the time until the Tab was handled: the box left, the grid recalculated.
    state.counters["handled_ms"] = 1000 * handled / double(state.iterations());
    form.close();
}
BENCHMARK(TypeAndTab)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->ArgName("mode")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    // A message box would wait for a click that never comes.
    SetDialogResponder([](const TDialogRequest &request) -> int {
        qFatal("Unexpected dialog: %s", qPrintable(request.Text));
    });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
