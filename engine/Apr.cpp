#include "engine/Apr.h"

#include <cmath>
#include <utility>

namespace {

// The root of a decreasing convex function on [low, high] (f gives its value and slope), to
// far below a millionth of a percent; nothing when the ends do not bracket it. Newton's steps
// from 0, which close in on the root from one side; a step that leaves the bracket is halved.
template <class F> std::optional<double> DecreasingRoot(F f, double low, double high) {
    if (!(f(low).first >= 0 && f(high).first <= 0))
        return std::nullopt;
    double x = 0;
    for (int k = 0; k < 200; ++k) {
        const auto [value, slope] = f(x);
        if (value == 0)
            return x;
        (value > 0 ? low : high) = x;
        double next = x - value / slope;
        if (!(next > low && next < high))
            next = (low + high) / 2;
        if (std::abs(next - x) <= 1e-15 * (1 + std::abs(x)))
            return next;
        x = next;
    }
    return x;
}

} // namespace

std::optional<double> ActuarialRate(double advance,
                                    const std::vector<TActuarialPayment> &payments) {
    const auto presentValue = [&](double i) {
        double sum = -advance, slope = 0;
        const double logGrowth = std::log1p(i), step = 1 / (1 + i);
        // (1 + i)^-Periods, a period on from the last payment's by one step
        double discount = 1;
        int at = 0;
        for (const TActuarialPayment &p : payments) {
            discount = p.Periods == at + 1 ? discount * step : std::exp(-p.Periods * logGrowth);
            at = p.Periods;
            const double value = p.Amount * discount / (1 + p.Fraction * i);
            sum += value;
            slope -= value * (p.Fraction / (1 + p.Fraction * i) + p.Periods / (1 + i));
        }
        return std::pair{sum, slope};
    };
    return DecreasingRoot(presentValue, -0.99, 10);
}

std::optional<double> AnnualChargeRate(double advance, const std::vector<TDatedPayment> &payments) {
    const auto presentValue = [&](double x) {
        double sum = -advance, slope = 0;
        const double logGrowth = std::log1p(x);
        for (const TDatedPayment &p : payments) {
            const double value = p.Amount * std::exp(-p.Years * logGrowth);
            sum += value;
            slope -= value * p.Years / (1 + x);
        }
        return std::pair{sum, slope};
    };
    return DecreasingRoot(presentValue, -0.99, 100);
}
