// A change to one of four offers, as the comparison window recomputes it: four 360-month loans
// with monthly extras and a one-off compared (schedules, costs, break-even months), and the
// pay-down grid of the changed offer (77 schedules). The goal is well inside one frame (16 ms).
#include "engine/Compare.h"

#include <benchmark/benchmark.h>

namespace {

std::vector<TOffer> FourOffers() {
    std::vector<TOffer> offers;
    const double rates[] = {8.75, 8.25, 7.875, 9.125};
    for (int k = 0; k < 4; ++k) {
        TOffer o{std::string(1, char('A' + k)), {250000, rates[k], 360, 0}, {}};
        o.Plan.Points = k * 0.5;
        o.Plan.Fees = 150000;
        o.Plan.MonthlyExtra = 10000 * (k + 1);
        o.Plan.Lumps = {{24, 1000000}};
        offers.push_back(o);
    }
    return offers;
}

// Arg 0: the comparison alone; 1: with the pay-down grid of the changed offer.
void ChangeAnOffer(benchmark::State &state) {
    std::vector<TOffer> offers = FourOffers();
    const bool grid = state.range(0) == 1;
    int turn = 0;
    for (auto _ : state) {
        TOffer &changed = offers[size_t(turn % 4)];
        changed.Loan.Rate += turn++ / 4 % 2 ? 0.125 : -0.125; // a rate typed anew, and back
        const TComparison c = Compare(offers, 5);
        benchmark::DoNotOptimize(c.Pairs.data());
        if (!c.Offers[0].Schedule) {
            state.SkipWithError(NoScheduleText(c.Offers[0].Schedule.Reason));
            return;
        }
        state.counters["months"] = double(c.Offers[0].Schedule->Months.size());
        if (grid) {
            const TPaydownGrid g = PaydownGrid(changed, 10000, 0.25);
            benchmark::DoNotOptimize(&g);
        }
    }
}
BENCHMARK(ChangeAnOffer)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
