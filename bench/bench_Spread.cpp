// The loan formulas, the spread as a value and the four grid calculators, engine only: a full
// recalculation should stay far below one screen frame.
#include "engine/Spread.h"
#include "tests/support/DefaultSpreadView.h"

#include <benchmark/benchmark.h>

namespace {

class TextGrid : public DefaultSpreadView {
public:
    std::string Cells[8][12];

    void SetCell(int col, int row, const std::string &text) override { Cells[col][row] = text; }
};

void BM_CalcPayment(benchmark::State &state) {
    double loan = 100000;
    for (auto _ : state)
        benchmark::DoNotOptimize(CalcPayment(360, loan, 8.75 / 1200));
}
BENCHMARK(BM_CalcPayment);

void BM_CalcLoan(benchmark::State &state) {
    double payment = 786.7;
    for (auto _ : state)
        benchmark::DoNotOptimize(CalcLoan(360, 0, 8.75, payment));
}
BENCHMARK(BM_CalcLoan);

void BM_CalcRate(benchmark::State &state) {
    double payment = 786.7;
    for (auto _ : state)
        benchmark::DoNotOptimize(CalcRate(360, 100000, 0, payment));
}
BENCHMARK(BM_CalcRate);

void BM_CalcRateSlowSearch(benchmark::State &state) // runs to the iteration limit
{
    double payment = 101000;
    for (auto _ : state)
        benchmark::DoNotOptimize(CalcRate(1, 100000, 0, payment));
}
BENCHMARK(BM_CalcRateSlowSearch);

void BM_ExactRate(benchmark::State &state) // the rate a cell of the rate spread shows
{
    double payment = 786.7;
    for (auto _ : state)
        benchmark::DoNotOptimize(ExactRate(360, 100000, payment));
}
BENCHMARK(BM_ExactRate);

void BM_CalcTerm(benchmark::State &state) {
    double payment = 786.7;
    for (auto _ : state)
        benchmark::DoNotOptimize(CalcTerm(100000, payment, 8.75));
}
BENCHMARK(BM_CalcTerm);

void BM_Calculate(benchmark::State &state) { // the value alone, no texts
    const TSpreadInputs inputs{100000, 8.75, 360, 786.7, 1000, 0.5, 75};
    for (auto _ : state)
        benchmark::DoNotOptimize(Calculate(TCalcMode(state.range(0)), inputs));
}
BENCHMARK(BM_Calculate)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

void BM_FillSpread(benchmark::State &state) {
    TextGrid grid;
    grid.State.CalcMode = TCalcMode(state.range(0));
    for (auto _ : state) {
        FillSpread(grid);
        benchmark::DoNotOptimize(grid.Cells[4][6].data());
    }
}
BENCHMARK(BM_FillSpread)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
