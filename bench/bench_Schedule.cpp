// From the double click on a cell to its schedule on the screen, in the real main window: the
// loan of the cell, its schedule of 999 months computed, the window filled, shown and its table
// painted. The goal is under 5 ms. Offscreen by default; run under an X server
// (QT_QPA_PLATFORM=xcb) to include the window system.
#include "app/Main.h"
#include "app/Schedule.h"
#include "bench/ShownMainWindow.h"
#include "controls/Aligrid.h"
#include "controls/FnpNumericEdit.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "printing/LoanChart.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>

namespace {

// Arg 0: the window is made for every double click; 1: the open window takes the new schedule.
void DoubleClickToSchedule(benchmark::State &state) {
    ShownMainWindow shown;
    if (!shown.Show(state))
        return;
    TfrmMain &form = shown.Form;
    form.edtTerm->SetValue(999);
    form.ChooseQuorvale(form.edtTerm);
    const bool reuse = state.range(0) == 1;
    const QPointF cells[2] = {form.grdLS->CellRect(4, 6).center(),
                              form.grdLS->CellRect(3, 6).center()};
    int turn = 0;
    size_t months = 0;
    for (auto _ : state) {
        if (!reuse)
            delete frmSchedule;
        const QPointF at = cells[turn++ % 2];
        QMouseEvent press(QEvent::MouseButtonDblClick, at, form.grdLS->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        PaintCounter counter;
        const auto start = std::chrono::steady_clock::now();
        QApplication::sendEvent(form.grdLS, &press);
        if (!frmSchedule) {
            state.SkipWithError("no schedule window");
            return;
        }
        frmSchedule->tblSchedule->viewport()->installEventFilter(&counter);
        while (counter.Paints == 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        frmSchedule->tblSchedule->viewport()->removeEventFilter(&counter);
        months = frmSchedule->Schedule().Months.size();
        QMouseEvent release(QEvent::MouseButtonRelease, at, form.grdLS->mapToGlobal(at),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(form.grdLS, &release);
    }
    state.counters["months"] = double(months);
    delete frmSchedule;
    form.close();
}
BENCHMARK(DoubleClickToSchedule)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("reuse")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The schedule alone: 999 months computed.
void MakeSchedule999(benchmark::State &state) {
    const TLoan loan{100000, 8.75, 999,
                     std::round(CalcPayment(999, 100000, 8.75 / 1200) * 100) / 100};
    size_t months = 0;
    for (auto _ : state) {
        auto schedule = MakeSchedule(loan);
        months = schedule ? schedule->Months.size() : 0;
        benchmark::DoNotOptimize(schedule);
    }
    state.counters["months"] = double(months);
}
BENCHMARK(MakeSchedule999)->Unit(benchmark::kMicrosecond);

// What the window recomputes on every change of a real loan's plan: 999 months with a monthly
// extra, 100 one-offs, 10 rate changes, points and fees and dates, the same loan without its
// extras for the savings, the APR and APRC, and the summary's texts.
void MakeScheduleWithPlan999(benchmark::State &state) {
    const TLoan loan{250000, 6, 999, 0};
    TLoanPlan plan;
    plan.Fees = 150000;
    plan.Points = 1.5;
    plan.FirstPayment = std::chrono::year(2025) / 1 / 31;
    plan.MonthlyExtra = 2500;
    plan.YearlyExtra = 50000;
    for (int k = 0; k < 100; ++k)
        plan.Lumps.push_back({1 + k * 7, 10000 + k * 100});
    for (int k = 0; k < 10; ++k)
        plan.RateChanges.push_back({50 + k * 60, 4 + 0.5 * k});
    plan.Effect = TExtraEffect::LowerPayment;
    TLoan priced = loan;
    priced.Payment = Money(*LevelPayment(loan.Loan, loan.Rate, loan.Term));
    size_t months = 0, lines = 0;
    for (auto _ : state) {
        auto schedule = MakeSchedule(priced, plan);
        months = schedule ? schedule->Months.size() : 0;
        lines = schedule ? ScheduleSummary(*schedule).size() : 0;
        benchmark::DoNotOptimize(schedule);
    }
    state.counters["months"] = double(months);
    state.counters["summary lines"] = double(lines);
}
BENCHMARK(MakeScheduleWithPlan999)->Unit(benchmark::kMicrosecond);

// An option typed in the open window: a 999-month loan with 100 one-off payments and 10 rate
// changes, its monthly extra changed by one key; until the table and the picture are painted
// again. The goal is well inside one frame (16 ms).
void OptionChange999(benchmark::State &state) {
    TLoanPlan plan;
    for (int i = 1; i <= 100; ++i)
        plan.Lumps.push_back({i * 9, 50000});
    for (int i = 1; i <= 10; ++i)
        plan.RateChanges.push_back({i * 90, 6 + 0.25 * i});
    SchedulePlan = plan;
    const TLoan loan{250000, 6, 999, 1258.20};
    ShowSchedule(nullptr, loan);
    TfrmSchedule *form = frmSchedule;
    if (!form || !QTest::qWaitForWindowExposed(form)) {
        state.SkipWithError("no schedule window");
        return;
    }
    QLineEdit *box = form->edtOptions[TPlanOption::MonthlyExtra];
    box->setFocus();
    QWidget *table = form->tblSchedule->viewport();
    QWidget *chart = form->Chart;
    int turn = 0;
    double handled = 0;
    for (auto _ : state) {
        PaintCounter tablePaints, chartPaints;
        table->installEventFilter(&tablePaints);
        chart->installEventFilter(&chartPaints);
        const auto start = std::chrono::steady_clock::now();
        // 5, then 50, then back to 5 and nothing: each key a new schedule
        QTest::keyClick(box, turn % 4 < 2 ? Qt::Key_5 : Qt::Key_Backspace);
        handled += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        while (tablePaints.Paints == 0 || chartPaints.Paints == 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        table->removeEventFilter(&tablePaints);
        chart->removeEventFilter(&chartPaints);
        ++turn;
    }
    state.counters["months"] = double(form->Schedule().Months.size());
    state.counters["handled_ms"] = handled * 1000 / double(turn);
    delete form;
    SchedulePlan = {};
}
BENCHMARK(OptionChange999)->UseManualTime()->Unit(benchmark::kMillisecond);

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
