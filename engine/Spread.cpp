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

const std::array<TStep, 8> RateSteps{{{0.125, "1/8%", "1/8's"},
                                      {0.25, "1/4%", "1/4's"},
                                      {0.375, "3/8%", "3/8's"},
                                      {0.5, "1/2%", "1/2's"},
                                      {0.625, "5/8%", "5/8's"},
                                      {0.75, "3/4%", "3/4's"},
                                      {0.875, "7/8%", "7/8's"},
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

// ---- Grid calculators -------------------------------------------------------------------

namespace {

constexpr int CentreCol = 4, CentreRow = 6, LastCol = 7, LastRow = 11;

// The start of every calculation: the mode and all four values, hidden boxes included.
void StoreInputs(TSpreadView &view) {
    SpreadState &s = view.Spread();
    s.Completed = false;
    s.CalcMode = view.CalculateIndex();
    s.LastLoan = view.LoanValue();
    s.LastInterest = view.InterestValue();
    s.LastTerm = view.TermValue();
    s.LastPayment = view.PaymentValue();
}

// The term as a whole number of months: 360 gives 360, while any fraction, however small
// (360.00000000000006), or a term beyond 32 bits fails with a conversion error naming the
// exact value.
int WholeTerm(double term) {
    if (term == std::trunc(term) && term >= INT_MIN && term <= INT_MAX)
        return int(term);
    return StrToInt(FloatToStrF(term, ffGeneral, 17, 0));
}

// The step of the selected item, which also names the step text; with no item selected the
// step is 0 and the text keeps its last value.
template <size_t N>
double LookUpStep(const std::array<TStep, N> &table, int index, std::string &text, double &step) {
    step = 0;
    if (index < 0 || index >= int(N))
        return 0;
    text = table[index].Text;
    step = table[index].Step;
    return step;
}

struct TAxes {
    double RowCentre, RowStep, ColCentre, ColStep;
};

// The value of row or column `index` of an axis whose centre sits at `centreIndex`.
double AxisValue(double centre, double step, int index, int centreIndex) {
    return centre + (index - centreIndex) * step;
}

// Writes the headers, then the results column by column (each computed just before it is
// written), then marks the centre and enables printing.
template <class RowText, class ColText, class Result>
void FillGrid(TSpreadView &view, const TAxes &axes, RowText rowText, ColText colText,
              Result result) {
    double rows[LastRow + 1], cols[LastCol + 1];
    for (int r = 1; r <= LastRow; ++r)
        rows[r] = AxisValue(axes.RowCentre, axes.RowStep, r, CentreRow);
    for (int c = 1; c <= LastCol; ++c)
        cols[c] = AxisValue(axes.ColCentre, axes.ColStep, c, CentreCol);
    for (int c = 1; c <= LastCol; ++c)
        view.SetCell(c, 0, colText(cols[c]));
    for (int r = 1; r <= LastRow; ++r)
        view.SetCell(0, r, rowText(rows[r]));
    for (int c = 1; c <= LastCol; ++c)
        for (int r = 1; r <= LastRow; ++r)
            view.SetCell(c, r, result(rows[r], cols[c]));
    view.SelectCell(CentreCol, CentreRow);
    view.SetColorCol(CentreCol, SpreadHighlight);
    view.SetColorRow(CentreRow, SpreadHighlight);
    view.AllowPrinting();
    view.Spread().Completed = true;
}

// The result of a cell of each mode, as its calculator computes it.
double PaymentResult(int n, double loan, double rate) {
    return CalcPayment(n, loan, rate / 1200);
}
double LoanResult(int n, double payment, double rate) {
    return CalcLoan(n, 0, rate, payment);
}
double RateResult(int n, double loan, double payment) {
    return ExactRate(n, loan, payment);
}
double TermResult(double rate, double loan, double payment) {
    return CalcTerm(loan, payment, rate);
}

std::string RateHeader(double rate) {
    return "  " + GeneralText(rate, 5) + "%";
}
std::string PaymentHeader(double payment) {
    return "  " + CurrencyText(payment, 5, 2);
}
std::string LoanRowHeader(double loan) {
    return " " + CurrencyText(loan, 10, 0);
}

} // namespace

void FillPaymentSpread(TSpreadView &view) {
    StoreInputs(view);
    SpreadState &s = view.Spread();
    const int n = WholeTerm(s.LastTerm);
    const double loanStep = LookUpStep(LoanSteps, view.LoanStepIndex(), s.LoanStepText, s.LoanStep);
    const double rateStep =
        LookUpStep(RateSteps, view.InterestStepIndex(), s.RateStepText, s.RateStep);
    view.SetCell(0, 0, " Loan / Rate");
    FillGrid(view, {s.LastLoan, loanStep, s.LastInterest, rateStep}, LoanRowHeader, RateHeader,
             [n](double loan, double rate) {
                 return " " + CurrencyText(PaymentResult(n, loan, rate), 10, 2);
             });
}

void FillLoanSpread(TSpreadView &view) {
    StoreInputs(view);
    SpreadState &s = view.Spread();
    const int n = WholeTerm(s.LastTerm);
    const double paymentStep =
        LookUpStep(PaymentSteps, view.PaymentStepIndex(), s.PaymentStepText, s.PaymentStep);
    const double rateStep =
        LookUpStep(RateSteps, view.InterestStepIndex(), s.RateStepText, s.RateStep);
    FillGrid(
        view, {s.LastPayment, paymentStep, s.LastInterest, rateStep},
        [](double payment) { return " " + CurrencyText(payment, 10, 2); }, RateHeader,
        [n](double payment, double rate) {
            return " " + CurrencyText(LoanResult(n, payment, rate), 10, 0);
        });
}

void FillRateSpread(TSpreadView &view) {
    StoreInputs(view);
    SpreadState &s = view.Spread();
    const int n = WholeTerm(s.LastTerm);
    const double loanStep = LookUpStep(LoanSteps, view.LoanStepIndex(), s.LoanStepText, s.LoanStep);
    const double paymentStep =
        LookUpStep(PaymentSteps, view.PaymentStepIndex(), s.PaymentStepText, s.PaymentStep);
    FillGrid(view, {s.LastLoan, loanStep, s.LastPayment, paymentStep}, LoanRowHeader, PaymentHeader,
             [n](double loan, double payment) {
                 return " " + FixedText(RateResult(n, loan, payment), 5, 3) + "%";
             });
}

void FillTermSpread(TSpreadView &view) {
    StoreInputs(view);
    SpreadState &s = view.Spread();
    const double rate = s.LastInterest;
    const double loanStep = LookUpStep(LoanSteps, view.LoanStepIndex(), s.LoanStepText, s.LoanStep);
    const double paymentStep =
        LookUpStep(PaymentSteps, view.PaymentStepIndex(), s.PaymentStepText, s.PaymentStep);
    FillGrid(view, {s.LastLoan, loanStep, s.LastPayment, paymentStep}, LoanRowHeader, PaymentHeader,
             [rate](double loan, double payment) {
                 return " " + FixedText(TermResult(rate, loan, payment), 5, 2);
             });
}

void FillSpread(TSpreadView &view) {
    if (const TCalcModeInfo *mode = CalcModeOf(view.Spread().CalcMode))
        mode->Fill(view);
}

namespace {

// An amount rounded to cents as the grid shows it.
std::optional<double> InCents(double amount) {
    if (const std::optional<long long> cents = ToCents(amount))
        return double(*cents) / 100;
    return std::nullopt;
}

// The value of a loan variable along an axis of the last calculation.
double AxisValue(const SpreadState &s, TVariable v, int index, int centreIndex) {
    switch (v) {
    case TVariable::Loan:
        return AxisValue(s.LastLoan, s.LoanStep, index, centreIndex);
    case TVariable::Rate:
        return AxisValue(s.LastInterest, s.RateStep, index, centreIndex);
    case TVariable::Payment:
        return AxisValue(s.LastPayment, s.PaymentStep, index, centreIndex);
    case TVariable::Term: // never an axis
        break;
    }
    return s.LastTerm;
}

// A cell's loan, rate and payment: those of its row and column, the user's for the others.
TLoan CellInputs(const SpreadState &s, const TCalcModeInfo &mode, int col, int row) {
    TLoan loan{s.LastLoan, s.LastInterest, 0, s.LastPayment};
    for (auto [v, value] :
         {std::pair{mode.Rows, RowValue(s, row)}, {mode.Columns, ColumnValue(s, col)}}) {
        if (v == TVariable::Loan)
            loan.Loan = value;
        else if (v == TVariable::Rate)
            loan.Rate = value;
        else
            loan.Payment = value;
    }
    return loan;
}

const TCalcModeInfo &ModeOf(const SpreadState &s) {
    return CalcModes.at(size_t(s.CalcMode));
}

} // namespace

double RowValue(const SpreadState &s, int row) {
    return AxisValue(s, ModeOf(s).Rows, row, CentreRow);
}

double ColumnValue(const SpreadState &s, int col) {
    return AxisValue(s, ModeOf(s).Columns, col, CentreCol);
}

double CellResult(const SpreadState &s, int col, int row) {
    const TCalcModeInfo &mode = ModeOf(s);
    const TLoan in = CellInputs(s, mode, col, row);
    switch (mode.Result) {
    case TVariable::Payment:
        return PaymentResult(WholeTerm(s.LastTerm), in.Loan, in.Rate);
    case TVariable::Loan:
        return LoanResult(WholeTerm(s.LastTerm), in.Payment, in.Rate);
    case TVariable::Rate:
        return RateResult(WholeTerm(s.LastTerm), in.Loan, in.Payment);
    case TVariable::Term:
        break;
    }
    return TermResult(in.Rate, in.Loan, in.Payment);
}

std::optional<TLoan> CellLoan(const SpreadState &s, int col, int row) {
    const TCalcModeInfo *mode = CalcModeOf(s.CalcMode);
    if (!mode || !s.Completed || col < 1 || col > LastCol || row < 1 || row > LastRow)
        return std::nullopt;
    TLoan loan = CellInputs(s, *mode, col, row);
    try {
        const double result = CellResult(s, col, row);
        switch (mode->Result) {
        case TVariable::Payment: {
            const std::optional<double> payment = InCents(result);
            if (!payment)
                return std::nullopt;
            loan.Payment = *payment;
            break;
        }
        case TVariable::Loan: {
            const std::optional<double> amount = InCents(result);
            if (!amount)
                return std::nullopt;
            loan.Loan = *amount;
            break;
        }
        case TVariable::Rate:
            loan.Rate = result;
            break;
        case TVariable::Term: {
            const double term = std::ceil(result);
            if (!(term <= INT_MAX))
                return std::nullopt;
            loan.Term = int(std::max(term, 0.0));
            return loan;
        }
        }
        loan.Term = WholeTerm(s.LastTerm);
        return loan;
    } catch (const Exception &) {
        return std::nullopt;
    }
}
