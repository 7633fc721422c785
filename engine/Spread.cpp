#include "engine/Spread.h"

#include "engine/CalcMode.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
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

// The positive monthly rate x at which n payments are worth `base` today: the root of
// payment·(1 − (1 + x)^−n) / x = base, which exists and is unique when 0 < base < n·payment.
// Bisection: the present value falls steadily as the rate rises, and is below `base` at
// payment / base. It halves the bracket until no number of the working precision lies
// between its ends, so the rate is as exact as the formula can give it.
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

ext BracketedRate(int n, ext base, ext payment) {
    auto presentValue = [&](ext x) {
        return -payment * std::expm1(-ext(n) * std::log1p(x)) / x;
    };
    ext lo = 0, hi = payment / base;
    for (;;) {
        const ext mid = lo + (hi - lo) / 2;
        if (!(mid > lo && mid < hi))
            break;
        if (presentValue(mid) > base)
            lo = mid;
        else
            hi = mid;
    }
    return lo + (hi - lo) / 2;
}

} // namespace

double CalcRate(int n, double loan, double deduction, double payment) {
    const double base = ToDouble((1.0L - deduction) * loan);
    double r = 0;
    if (n != 0 && base != 0) {
        double x = 10.0, diff = 1.0;
        for (int k = 1; diff > 0.000001 && k < 100; ++k) {
            const ext power = DoublePower(Checked(-ext(n) * Ln(1.0L + x)));
            r = ToDouble(Div(Checked(payment * (1.0L - power)), base));
            diff = std::fabs(r - x);
            x = r;
        }
        // The search creeps when the rate's fixed point attracts only weakly (a loan repaid
        // by a few large payments) and stops at its limit far from it. Where a positive rate
        // exists, find it by a method that cannot creep. A loan and payments both negative
        // are the same equation as both positive.
        const ext b = std::fabs(AsTyped(base)), p = std::fabs(AsTyped(payment));
        if (diff > 0.000001 && (base > 0) == (payment > 0) && payment != 0 && ext(n) * p > b)
            return ToDouble(BracketedRate(n, b, p) * 1200);
    }
    return ToDouble(ext(r) * 1200);
}

double CalcTerm(double loan, double payment, double rate) {
    const ext i = ext(rate) / 1200;
    if (i == 0)
        return ToDouble(Div(loan, payment));
    const ext t = 1 - Div(Checked(i * loan), payment);
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
    return CalcRate(n, loan, 0, payment);
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
