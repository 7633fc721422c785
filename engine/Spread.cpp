#include "engine/Spread.h"

#include "engine/CalcMode.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>

// ---- Checked arithmetic -----------------------------------------------------------------
// The formulas work in extended precision (long double) and store their results as doubles.
// Each operation that can fault is checked here, so that a fault ends the formula with the
// math error of its kind and every other input gives an ordinary number.

namespace {

using ext = long double;

ext Checked(ext r) {
    if (std::isnan(r))
        throw EInvalidOp();
    if (std::isinf(r))
        throw EOverflow();
    return r;
}

// A value that must fit a double: beyond the double range it overflows; below it, it
// underflows silently to a tiny number or zero when it is stored.
ext WithinDouble(ext r) {
    if (std::fabs(Checked(r)) > ext(DBL_MAX))
        throw EOverflow();
    return r;
}

double ToDouble(ext r) {
    return double(WithinDouble(r));
}

ext Div(ext a, ext b) {
    if (b == 0) {
        if (a == 0 || std::isnan(a))
            throw EInvalidOp();
        throw EZeroDivide();
    }
    return Checked(a / b);
}

ext Ln(ext x) {
    if (std::isnan(x) || x < 0)
        throw EInvalidOp();
    if (x == 0)
        throw EZeroDivide();
    return std::log(x);
}

ext Exp(ext x) {
    return Checked(std::exp(Checked(x)));
}

// A power that must stay inside the double range.
ext DoublePower(ext x) {
    return WithinDouble(Exp(x));
}

} // namespace

// ---- Loan formulas ----------------------------------------------------------------------

double CalcPayment(int n, double loan, double i) {
    if (n == 0)
        return 0;
    if (i == 0)
        return ToDouble(Div(loan, n));
    const ext v = DoublePower(Checked(-ext(n) * Ln(1.0L + i)));
    return ToDouble(Div(Checked(ext(loan) * i), Checked(1.0L - v)));
}

double CalcLoan(int n, double fv, double rate, double payment) {
    if (rate == 0)
        return ToDouble(ext(n) * payment);
    const ext i = ext(rate) / 1200;
    const ext l = Ln(1.0L + i);
    const ext d = Exp(Checked(-ext(n) * l));
    const ext u = Exp(Checked(ext(n) * l));
    const ext grown = WithinDouble(payment * u); // payment·(1 + i)^n
    return ToDouble(Div(-Checked(d * Checked(payment - grown + fv * i)), i));
}

namespace {

// A double as the decimal number it stands for (the shortest text that reads back as it, which
// is what the user typed), in the working precision: 117608.26 is 117608.26, not the nearest
// binary fraction 117608.2599999999948. The rate of the typed numbers is the one shown.
ext AsTyped(double v) {
    char text[32];
    const char *end = std::to_chars(text, text + sizeof text, v).ptr;
    ext typed = v;
    std::from_chars(text, end, typed);
    return typed;
}

// The fixed-point search for the monthly rate: the last iterate, and whether two successive
// iterates came within the tolerance before the iteration limit.
double SearchedRate(int n, double base, double payment, bool &settled) {
    double r = 0, x = 10.0, diff = 1.0;
    for (int k = 1; diff > 0.000001 && k < 100; ++k) {
        const ext power = DoublePower(Checked(-ext(n) * Ln(1.0L + x)));
        r = ToDouble(Div(Checked(payment * (1.0L - power)), base));
        diff = std::fabs(r - x);
        x = r;
    }
    settled = diff <= 0.000001;
    return r;
}

// The positive monthly rate x at which n payments are worth `loan` today: the root of
// payment·(1 − (1 + x)^−n) / x = loan, which exists and is unique when 0 < loan < n·payment.
// The present value falls steadily as the rate rises, from n·payment towards 0, and is below
// the loan at payment / loan: that is the bracket. Newton's steps from `start` (any guess)
// take the rate to within a step of the root, bisection where a step would leave the bracket
// or fails to halve the last one, until a step no longer moves it; then steps that double,
// from where it came to rest, find the root's other side, and bisection halves what is left
// until no number of the working precision lies between the ends.
ext AnnuityRoot(int n, ext loan, ext payment, ext start, ext &slopeAtRoot) {
    ext lo = 0, hi = payment / loan;
    // Evaluates the present value at x, moves the end of the bracket on x's side to x and
    // returns the Newton step from x; tells on which side of the root x lies.
    auto probe = [&](ext x, bool &below) {
        const ext shrink = std::expm1(-ext(n) * std::log1p(x)); // (1 + x)^−n − 1
        const ext worth = -payment * shrink / x;
        const ext slope = (payment * n * (1 + shrink) / (1 + x) - worth) / x;
        below = worth > loan;
        (below ? lo : hi) = x;
        slopeAtRoot = slope;
        return (worth - loan) / slope;
    };
    auto inside = [&](ext x) {
        return x > lo && x < hi;
    };
    bool below = false;
    ext x = inside(start) ? start : lo + (hi - lo) / 2, lastStep = hi - lo;
    for (;;) {
        const ext step = probe(x, below);
        ext next = x - step;
        if (next == x)
            break;
        if (!inside(next) || 2 * std::fabs(step) > lastStep)
            next = lo + (hi - lo) / 2;
        if (!inside(next))
            break;
        lastStep = std::fabs(next - x);
        x = next;
    }
    // x lies within about a step of the working precision from the root.
    const bool side = below;
    for (ext reach = x - std::nextafter(x, ext(0)); side == below; reach *= 2) {
        const ext next = side ? x + reach : x - reach;
        if (!inside(next))
            break;
        probe(next, below);
    }
    for (ext mid = lo + (hi - lo) / 2; inside(mid); mid = lo + (hi - lo) / 2)
        probe(mid, below);
    return lo + (hi - lo) / 2;
}

// Whether n payments repay the loan at a rate of 0 or more, as typed: the total of the
// payments against the loan (+1 more, 0 just, -1 less), or nothing when no such rate can
// repay it. A loan and payments both negative are the same equation as both positive.
struct TRepaid {
    double Loan, Payment; // as given, made positive
    ext TypedLoan, TypedPayment;
    int Against;
};
bool Repaid(int n, double loan, double payment, TRepaid &repaid) {
    if (n <= 0 || loan == 0 || payment == 0 || (loan > 0) != (payment > 0))
        return false;
    repaid.Loan = std::fabs(loan);
    repaid.Payment = std::fabs(payment);
    repaid.TypedLoan = AsTyped(repaid.Loan);
    repaid.TypedPayment = AsTyped(repaid.Payment);
    const ext total = ext(n) * repaid.TypedPayment;
    repaid.Against = total > repaid.TypedLoan ? 1 : total == repaid.TypedLoan ? 0 : -1;
    return true;
}

// Quadruple precision, to settle which double a rate rounds to when the working precision
// cannot.
#if LDBL_MANT_DIG >= 113
using quad = long double;
#else
using quad = __float128;
#endif

// A positive double as the decimal number it stands for (see AsTyped), in quadruple precision.
quad TypedQuad(double v) {
    char text[40];
    const char *end = std::to_chars(text, text + sizeof text, v, std::chars_format::scientific).ptr;
    std::uint64_t digits = 0;
    int exponent = 0, decimals = 0;
    bool fraction = false;
    const char *c = text;
    for (; c < end && *c != 'e'; ++c) {
        if (*c == '.')
            fraction = true;
        else {
            digits = digits * 10 + unsigned(*c - '0');
            decimals += fraction;
        }
    }
    std::from_chars(c + (c[1] == '+' ? 2 : 1), end, exponent);
    exponent -= decimals;
    quad scale = 1;
    for (int k = std::abs(exponent); k > 0; --k)
        scale *= 10;
    return exponent < 0 ? quad(digits) / scale : quad(digits) * scale;
}

// Whether n payments at the monthly rate x are worth more than the loan: x is below the root.
// The growth (1 + x)^n − 1 is built by squaring without ever adding 1, so that small rates
// keep their digits.
bool WorthMore(int n, quad loan, quad payment, quad x) {
    quad growth = 0, doubling = x;
    for (int k = n; k > 0; k >>= 1, doubling *= 2 + doubling)
        if (k & 1)
            growth += doubling + growth * doubling;
    const quad repaid = growth > 1 ? 1 - 1 / (1 + growth) : growth / (1 + growth);
    return payment * repaid > loan * x;
}

// The exact annual rate in percent of a loan that a positive rate repays: the double nearest
// the root. The working precision leaves the root uncertain by the present value's rounding
// over its slope (much where the payments' total is close to the loan); where that doubt
// spans more than one double, the payments' worth at the halfway points between them, in
// quadruple precision, tells by bisection which of them is nearest.
double AnnualRate(int n, const TRepaid &repaid, double start) {
    ext slope = 0;
    const ext rate = AnnuityRoot(n, repaid.TypedLoan, repaid.TypedPayment, start, slope) * 1200;
    const double nearest = ToDouble(rate);
    const ext doubt =
        32 * std::numeric_limits<ext>::epsilon() * repaid.TypedLoan / std::fabs(slope) * 1200;
    if (!(doubt < ext(DBL_MAX) - rate))
        return nearest;
    const double least = double(std::max(rate - doubt, ext(0))), most = double(rate + doubt);
    if (least == most)
        return nearest;
    const quad loan = TypedQuad(repaid.Loan), payment = TypedQuad(repaid.Payment);
    // Positive doubles are ordered as their bit patterns; find the first whose upper halfway
    // point lies at or above the root.
    auto bits = [](double v) {
        return std::bit_cast<std::uint64_t>(v);
    };
    auto upperHalf = [](std::uint64_t b) {
        return (ext(std::bit_cast<double>(b)) + std::bit_cast<double>(b + 1)) / 2;
    };
    std::uint64_t lo = bits(least), hi = bits(most);
    while (lo < hi) {
        const std::uint64_t mid = lo + (hi - lo) / 2;
        if (WorthMore(n, loan, payment, quad(upperHalf(mid)) / 1200))
            lo = mid + 1;
        else
            hi = mid;
    }
    return std::bit_cast<double>(lo);
}

} // namespace

double CalcRate(int n, double loan, double deduction, double payment) {
    const double base = ToDouble((1.0L - deduction) * loan);
    if (n == 0 || base == 0)
        return 0;
    bool settled = false;
    const double r = SearchedRate(n, base, payment, settled);
    // The search creeps when the rate's fixed point attracts only weakly (a loan repaid by a
    // few large payments) and stops at its limit far from it. Where a positive rate exists,
    // find it by a method that cannot creep.
    TRepaid repaid;
    if (!settled && Repaid(n, base, payment, repaid) && repaid.Against > 0)
        return AnnualRate(n, repaid, r);
    return ToDouble(ext(r) * 1200);
}

double ExactRate(int n, double loan, double payment) {
    if (n == 0 || loan == 0)
        return 0;
    // The search runs first: its math errors are those of the rate spread, and its iterate
    // is the root finder's first guess.
    bool settled = false;
    const double r = SearchedRate(n, loan, payment, settled);
    TRepaid repaid;
    if (!Repaid(n, loan, payment, repaid) || repaid.Against < 0)
        return ToDouble(ext(r) * 1200);
    if (repaid.Against == 0)
        return 0;
    return AnnualRate(n, repaid, r);
}

double CalcTerm(double loan, double payment, double rate) {
    const ext i = ext(rate) / 1200;
    if (i == 0)
        return ToDouble(Div(loan, payment));
    ext t = 1 - Div(Checked(i * loan), payment);
    // Near 0, t is no more than the rounding of the numbers' binary forms: a payment equal to
    // the month's interest (612.50 on 100,000 at 7.35%) would be repaid after thousands of
    // months, or not, by chance. Judge it by the numbers as typed, where such a payment leaves
    // t within a few steps of the working precision of 0: it never repays the loan.
    if (std::fabs(t) < 1e-12L) {
        t = 1 - AsTyped(rate) / 1200 * AsTyped(loan) / AsTyped(payment);
        if (std::fabs(t) <= 8 * std::numeric_limits<ext>::epsilon())
            return 0;
    }
    if (!(t > 0))
        return 0;
    const double years = ToDouble(Div(Ln(t), Checked(-Ln(1 + i) * 12)));
    return ToDouble(ext(years) * 12);
}

// ---- Text forms -------------------------------------------------------------------------

std::string CurrencyText(double v, int precision, int decimals, const TFormatSettings &fs) {
    return FloatToStrF(v, ffCurrency, precision, decimals, fs);
}

std::string GeneralText(double v, int precision, const TFormatSettings &fs) {
    return FloatToStrF(v, ffGeneral, precision, 0, fs);
}

std::string FixedText(double v, int precision, int decimals, const TFormatSettings &fs) {
    return FloatToStrF(v, ffFixed, precision, decimals, fs);
}

// ---- Step tables ------------------------------------------------------------------------

const std::array<TStep, 9> LoanSteps{{{100, "$100", "100"},
                                      {250, "$250", "250"},
                                      {500, "$500", "500"},
                                      {1000, "$1000", "1000"},
                                      {2000, "$2000", "2000"},
                                      {2500, "$2500", "2500"},
                                      {3000, "$3000", "3000"},
                                      {4000, "$4000", "4000"},
                                      {5000, "$5000", "5000"}}};

const std::array<TStep, 8> RateSteps{{{0.125, "1/8%", TRANSLATABLE("Engine", "1/8's")},
                                      {0.25, "1/4%", TRANSLATABLE("Engine", "1/4's")},
                                      {0.375, "3/8%", TRANSLATABLE("Engine", "3/8's")},
                                      {0.5, "1/2%", TRANSLATABLE("Engine", "1/2's")},
                                      {0.625, "5/8%", TRANSLATABLE("Engine", "5/8's")},
                                      {0.75, "3/4%", TRANSLATABLE("Engine", "3/4's")},
                                      {0.875, "7/8%", TRANSLATABLE("Engine", "7/8's")},
                                      {1.0, "1%", "1 %"}}};

const std::array<TStep, 9> PaymentSteps{{{10, "$10", "10"},
                                         {25, "$25", "25"},
                                         {50, "$50", "50"},
                                         {75, "$75", "75"},
                                         {100, "$100", "100"},
                                         {125, "$125", "125"},
                                         {150, "$150", "150"},
                                         {175, "$175", "175"},
                                         {200, "$200", "200"}}};

// ---- The spread as a value -------------------------------------------------------------

namespace {

using enum TVariable;

// The term as a whole number of months: 360 gives 360, while any fraction, however small
// (360.00000000000006), or a term beyond 32 bits fails with a conversion error naming the
// exact value.
int WholeTerm(double term) {
    if (term == std::trunc(term) && term >= INT_MIN && term <= INT_MAX)
        return int(term);
    return StrToInt(FloatToStrF(term, ffGeneral, 17, 0));
}

double CentreValue(const TSpreadInputs &in, TVariable v) {
    switch (v) {
    case Loan:
        return in.Loan;
    case Rate:
        return in.Rate;
    case Payment:
        return in.Payment;
    case Term:
        break;
    }
    return in.Term;
}

// The step of a loan value's rows or columns (of the payment for the term, never an axis).
template <class Inputs> auto &StepOf(Inputs &in, TVariable v) {
    return v == Loan ? in.LoanStep : v == Rate ? in.RateStep : in.PaymentStep;
}

// Value `index` of an axis whose centre sits at `centreIndex`: one multiplication by the
// whole number of steps.
double AxisValue(const TSpreadInputs &in, TVariable v, int index, int centreIndex) {
    return CentreValue(in, v) + (index - centreIndex) * StepOf(in, v);
}

// A result cell's loan, rate and payment: those of its row and column, the user's for the
// others.
TLoan CellInputs(const TSpreadResult &r, const TCalcModeInfo &mode, int col, int row) {
    TLoan loan{r.Centre.Loan, r.Centre.Rate, 0, r.Centre.Payment};
    for (auto [v, value] :
         {std::pair{mode.Rows, r.RowValue(row)}, {mode.Columns, r.ColumnValue(col)}})
        (v == Loan ? loan.Loan : v == Rate ? loan.Rate : loan.Payment) = value;
    return loan;
}

// The value a mode's cells hold, computed from the cell's other three.
double Formula(TVariable result, int n, const TLoan &in) {
    switch (result) {
    case Payment:
        return CalcPayment(n, in.Loan, in.Rate / 1200);
    case Loan:
        return CalcLoan(n, 0, in.Rate, in.Payment);
    case Rate:
        return ExactRate(n, in.Loan, in.Payment);
    case Term:
        break;
    }
    return CalcTerm(in.Loan, in.Payment, in.Rate);
}

// A value as a row heading or a result shows it, and as a column heading.
std::string ValueText(TVariable v, double value) {
    switch (v) {
    case Loan:
        return CurrencyText(value, 10, 0);
    case Payment:
        return CurrencyText(value, 10, 2);
    case Rate:
        return FixedText(value, 5, 3) + "%";
    case Term:
        break;
    }
    return FixedText(value, 5, 2);
}
std::string ColumnHeading(TVariable v, double value) {
    return v == Rate ? GeneralText(value, 5) + "%" : CurrencyText(value, 5, 2);
}

} // namespace

bool TSpreadResult::HasCell(int col, int row) const {
    if (col < 1 || col > SpreadColumns || row < 1 || row > SpreadRows)
        return false;
    return !Failure || col < Failure->Col || (col == Failure->Col && row < Failure->Row);
}

TSpreadResult Calculate(TCalcMode mode, const TSpreadInputs &inputs) {
    const TCalcModeInfo &info = ModeInfo(mode);
    TSpreadResult r;
    r.Mode = mode;
    r.Centre = inputs;
    const int n = info.Result == Term ? 0 : WholeTerm(inputs.Term);
    for (int row = 1; row <= SpreadRows; ++row)
        r.RowValues[size_t(row - 1)] = AxisValue(inputs, info.Rows, row, CentreRow);
    for (int col = 1; col <= SpreadColumns; ++col)
        r.ColumnValues[size_t(col - 1)] = AxisValue(inputs, info.Columns, col, CentreColumn);
    for (int col = 1; col <= SpreadColumns; ++col)
        for (int row = 1; row <= SpreadRows; ++row) {
            try {
                r.Cells[size_t(col - 1)][size_t(row - 1)] =
                    Formula(info.Result, n, CellInputs(r, info, col, row));
            } catch (const EMathError &) {
                r.Failure = TSpreadResult::TFailure{col, row, std::current_exception()};
                return r;
            }
        }
    return r;
}

std::string SpreadText(const TSpreadResult &spread, int col, int row) {
    const TCalcModeInfo &info = ModeInfo(spread.Mode);
    if (row == 0)
        return col == 0 ? info.Corner : "  " + ColumnHeading(info.Columns, spread.ColumnValue(col));
    if (col == 0)
        return " " + ValueText(info.Rows, spread.RowValue(row));
    return spread.HasCell(col, row) ? " " + ValueText(info.Result, spread.Cell(col, row)) : "";
}

namespace {

// An amount in cents and a rate to 3 decimals, rounded as the grid's texts round them.
std::optional<double> InCents(double amount) {
    if (const std::optional<long long> cents = ToCents(amount))
        return double(*cents) / 100;
    return std::nullopt;
}
double ToThreeDecimals(double rate) {
    const TFormatSettings plain = UnitedStatesFormatSettings();
    return StrToFloat(FixedText(rate, 15, 3, plain), plain);
}

} // namespace

std::optional<TLoan> CellLoan(const TSpreadResult &spread, int col, int row) {
    if (spread.Failure || !spread.HasCell(col, row))
        return std::nullopt;
    const TCalcModeInfo &info = ModeInfo(spread.Mode);
    TLoan loan = CellInputs(spread, info, col, row);
    const double result = spread.Cell(col, row);
    if (info.Result == Term) {
        const double term = std::ceil(result);
        if (!(term <= INT_MAX))
            return std::nullopt;
        loan.Term = int(std::max(term, 0.0));
    } else {
        loan.Term = WholeTerm(spread.Centre.Term);
        (info.Result == Loan ? loan.Loan : info.Result == Rate ? loan.Rate : loan.Payment) = result;
    }
    const std::optional<double> amount = InCents(loan.Loan), payment = InCents(loan.Payment);
    if (!amount || !payment)
        return std::nullopt;
    return TLoan{*amount, ToThreeDecimals(loan.Rate), loan.Term, *payment};
}

// ---- Grid calculators -------------------------------------------------------------------

namespace {

// The step group of a loan value: its table's selected step, or nothing with no item selected.
template <size_t N> const TStep *Selected(const std::array<TStep, N> &table, int index) {
    return index >= 0 && index < int(N) ? &table[size_t(index)] : nullptr;
}
const TStep *SelectedStep(TSpreadView &view, TVariable v) {
    switch (v) {
    case Loan:
        return Selected(LoanSteps, view.LoanStepIndex());
    case Rate:
        return Selected(RateSteps, view.InterestStepIndex());
    case Payment:
        return Selected(PaymentSteps, view.PaymentStepIndex());
    case Term:
        break;
    }
    return nullptr;
}

// A step group's step as the spread state keeps it: the step (0 with no item selected) and
// its text (kept with no item selected).
void StoreStep(SpreadState &s, TVariable v, const TStep *step) {
    std::string &text = v == Loan ? s.LoanStepText : v == Rate ? s.RateStepText : s.PaymentStepText;
    StepOf(s, v) = step ? step->Step : 0;
    if (step)
        text = step->Text;
}

// Every calculator: the mode and all four values stored, hidden boxes included; the spread
// calculated; the steps of its rows and columns stored; then the grid written, the results
// column by column, and the centre marked.
void Fill(TSpreadView &view, TCalcMode mode) {
    SpreadState &s = view.Spread();
    s.LastSpread.reset();
    s.CalcMode = mode;
    s.LastLoan = view.LoanValue();
    s.LastInterest = view.InterestValue();
    s.LastTerm = view.TermValue();
    s.LastPayment = view.PaymentValue();
    const TCalcModeInfo &info = ModeInfo(mode);
    const TStep *rowStep = SelectedStep(view, info.Rows),
                *colStep = SelectedStep(view, info.Columns);
    TSpreadInputs inputs{s.LastLoan, s.LastInterest, s.LastTerm, s.LastPayment};
    for (auto [v, step] : {std::pair{info.Rows, rowStep}, {info.Columns, colStep}})
        StepOf(inputs, v) = step ? step->Step : 0;
    const TSpreadResult spread = Calculate(mode, inputs);
    StoreStep(s, info.Rows, rowStep);
    StoreStep(s, info.Columns, colStep);

    if (info.FillWritesCorner)
        view.SetCell(0, 0, SpreadText(spread, 0, 0));
    for (int col = 1; col <= SpreadColumns; ++col)
        view.SetCell(col, 0, SpreadText(spread, col, 0));
    for (int row = 1; row <= SpreadRows; ++row)
        view.SetCell(0, row, SpreadText(spread, 0, row));
    for (int col = 1; col <= SpreadColumns; ++col)
        for (int row = 1; row <= SpreadRows; ++row) {
            if (!spread.HasCell(col, row))
                std::rethrow_exception(spread.Failure->Error);
            view.SetCell(col, row, SpreadText(spread, col, row));
        }
    view.SelectCell(CentreColumn, CentreRow);
    view.SetColorCol(CentreColumn, SpreadHighlight);
    view.SetColorRow(CentreRow, SpreadHighlight);
    view.AllowPrinting();
    s.LastSpread = spread;
}

} // namespace

void FillPaymentSpread(TSpreadView &view) {
    Fill(view, TCalcMode::Payments);
}

void FillLoanSpread(TSpreadView &view) {
    Fill(view, TCalcMode::Loans);
}

void FillRateSpread(TSpreadView &view) {
    Fill(view, TCalcMode::Rates);
}

void FillTermSpread(TSpreadView &view) {
    Fill(view, TCalcMode::Terms);
}

void FillSpread(TSpreadView &view) {
    ModeInfo(view.Spread().CalcMode).Fill(view);
}

std::optional<TLoan> CellLoan(const SpreadState &state, int col, int row) {
    return state.LastSpread ? CellLoan(*state.LastSpread, col, row) : std::nullopt;
}
