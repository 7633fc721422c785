// The spread engine: the four loan formulas, the text forms of headers and cells, the step
// tables, and the four grid calculators that fill an 8 x 12 grid around the user's loan.
// Plain C++: it sees the main window only through TSpreadView.
#pragma once

#include "engine/Amortize.h"
#include "platform/SysUtils.h"

#include <array>
#include <optional>
#include <string>

// ---- Loan formulas ----------------------------------------------------------------------
// Level monthly payments, monthly compounding. A floating-point fault ends a formula with
// EInvalidOp, EZeroDivide or EOverflow; nothing else is checked.

// Monthly payment for a loan over n months at the monthly rate i (a fraction: percent / 1200).
double CalcPayment(int n, double loan, double i);
// Loan that n payments repay at an annual rate in percent, leaving fv after the last one.
double CalcLoan(int n, double fv, double rate, double payment);
// Annual rate in percent at which n payments repay the loan less the deducted fraction.
double CalcRate(int n, double loan, double deduction, double payment);
// The annual rate in percent that the rate spread shows: the exact rate at which n payments
// repay the loan, whenever a rate of 0 or more repays it (0 when the payments only just
// repay it); otherwise, and for the math errors, the search of CalcRate.
double ExactRate(int n, double loan, double payment);
// Months (with fractions) the payment needs to repay the loan at an annual rate in percent;
// 0 when the payment never repays it.
double CalcTerm(double loan, double payment, double rate);

// ---- Text forms -------------------------------------------------------------------------
// Rounded to at most `precision` significant digits and `decimals` decimals, halves away
// from zero; zero of either sign, and a negative number that rounds to zero, are a plain zero.

// In the currency form of the settings ($1,234.50, ($95.00)).
std::string CurrencyText(double v, int precision, int decimals,
                         const TFormatSettings &fs = FormatSettings());
// Plain decimal without trailing zeros (8.75, -0.125), scientific when too large or small.
std::string GeneralText(double v, int precision, const TFormatSettings &fs = FormatSettings());
// Exactly `decimals` decimals, no thousands separator (8.750, 360.00).
std::string FixedText(double v, int precision, int decimals,
                      const TFormatSettings &fs = FormatSettings());

// ---- Step tables ------------------------------------------------------------------------

struct TStep {
    double Step;
    const char *Text; // as the printed chart names it: always "$" and no thousands separator
    const char *Item; // as its radio item and the command line name it
};
extern const std::array<TStep, 9> LoanSteps;    // rgLoan: 100 .. 5000
extern const std::array<TStep, 8> RateSteps;    // rgInterest: 1/8 .. 1 percentage point
extern const std::array<TStep, 9> PaymentSteps; // rgPayments: 10 .. 200
inline constexpr int DefaultStepIndex = 3;      // the item each step group starts with

// ---- Spread state and the window the calculators work on --------------------------------

// What every calculation leaves behind in the main window, for the report, the hints, the
// error handler and the saved values file.
struct SpreadState {
    int CalcMode = 0; // 0 payments, 1 loan amounts, 2 interest rates, 3 terms
    std::string LoanStepText = " ";
    std::string RateStepText = " ";
    std::string PaymentStepText = " ";
    double LastLoan = 0;
    double LastInterest = 0; // annual percent
    double LastTerm = 0;     // months
    double LastPayment = 0;
    // The steps the rows and columns were laid out by (0 for a group with no selected item).
    double LoanStep = 0, RateStep = 0, PaymentStep = 0;
    bool Completed = false; // every cell of the calculation was written
};

struct TRgb {
    int Red, Green, Blue;
    bool operator==(const TRgb &) const = default;
};
inline constexpr TRgb SpreadHighlight{255, 255, 0}; // yellow: centre row and column

// The whole of the main window as the calculators see it. A read may raise EConvertError.
class TSpreadView {
public:
    virtual ~TSpreadView() = default;

    virtual SpreadState &Spread() = 0;
    // Selected item indexes, -1 when none.
    virtual int CalculateIndex() = 0;    // rgCalculate
    virtual int LoanStepIndex() = 0;     // rgLoan
    virtual int InterestStepIndex() = 0; // rgInterest
    virtual int PaymentStepIndex() = 0;  // rgPayments
    // Numbers of the four edit boxes.
    virtual double LoanValue() = 0;
    virtual double InterestValue() = 0;
    virtual double TermValue() = 0;
    virtual double PaymentValue() = 0;
    // The grid grdLS, cells named (column, row).
    virtual void SetCell(int col, int row, const std::string &text) = 0;
    virtual void SelectCell(int col, int row) = 0;
    virtual void SetColorCol(int col, TRgb color) = 0;
    virtual void SetColorRow(int row, TRgb color) = 0;
    virtual void AllowPrinting() = 0;
};

// The grid calculators of modes 0 to 3. Each reads the window's inputs, stores them in its
// spread state, writes the headers and the 77 results, marks the centre and enables printing.
// Any error ends the calculation where it stands, with the cells written so far kept.
void FillPaymentSpread(TSpreadView &view);
void FillLoanSpread(TSpreadView &view);
void FillRateSpread(TSpreadView &view);
void FillTermSpread(TSpreadView &view);

// What the window says when a calculation ends with a math error.
inline constexpr const char *MathErrorText = "Valid results cannot be calculated using\n\r"
                                             "the variables you have entered.\n\r\n\r"
                                             "Please try again with reasonable values.";

// Runs the calculator of the stored CalcMode; any other mode does nothing.
void FillSpread(TSpreadView &view);

// The values of the rows (1..11) and columns (1..7) of the calculation the state was left by,
// and the result of a cell at full precision as its calculator computes it (which may raise
// the calculator's error).
double RowValue(const SpreadState &state, int row);
double ColumnValue(const SpreadState &state, int col);
double CellResult(const SpreadState &state, int col, int row);

// The loan the result cell (col 1..7, row 1..11) of the last completed calculation stands
// for, from the row and column values and the cell's result at full precision: nothing for a
// header, the corner, a cell without a result or a state whose calculation did not complete.
std::optional<TLoan> CellLoan(const SpreadState &state, int col, int row);
