// The spread engine: the four loan formulas, the text forms of headers and cells, the step
// tables, the spread of 11 x 7 loans around the user's loan as a value, and the four grid
// calculators that write it into the window's 8 x 12 grid. Plain C++: it sees the main
// window only through TSpreadView.
#pragma once

#include "engine/Amortize.h"
#include "engine/CalcMode.h"
#include "engine/Translatable.h"
#include "platform/SysUtils.h"

#include <array>
#include <exception>
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
    const char *Text; // as the printed chart names it: "$" and no thousands separator (the
                      // chart puts the user's currency symbol in its place)
    const char *Item; // as its radio item and the command line name it
};
extern const std::array<TStep, 9> LoanSteps;    // rgLoan: 100 .. 5000
extern const std::array<TStep, 8> RateSteps;    // rgInterest: 1/8 .. 1 percentage point
extern const std::array<TStep, 9> PaymentSteps; // rgPayments: 10 .. 200
inline constexpr int DefaultStepIndex = 3;      // the item each step group starts with

// ---- The spread as a value -------------------------------------------------------------

inline constexpr int SpreadColumns = 7, SpreadRows = 11, CentreColumn = 4, CentreRow = 6;

// The user's loan, which sits in the centre of the spread, and the steps of its rows and
// columns (a step the mode does not use is ignored).
struct TSpreadInputs {
    double Loan = 0, Rate = 0, Term = 0, Payment = 0; // rate in annual percent, term in months
    double LoanStep = 0, RateStep = 0, PaymentStep = 0;
};

// A spread computed: its row and column values and its results at full precision, computed
// column by column up to the first cell whose formula failed.
struct TSpreadResult {
    struct TFailure {
        int Col = 0, Row = 0;     // the cell (1..7, 1..11)
        std::exception_ptr Error; // the math error its formula raised
    };

    TCalcMode Mode = TCalcMode::Payments;
    TSpreadInputs Centre;
    std::array<double, SpreadRows> RowValues{};                        // rows 1..11
    std::array<double, SpreadColumns> ColumnValues{};                  // columns 1..7
    std::array<std::array<double, SpreadRows>, SpreadColumns> Cells{}; // [col - 1][row - 1]
    std::optional<TFailure> Failure; // nothing when all 77 results were computed

    double RowValue(int row) const { return RowValues[size_t(row - 1)]; }
    double ColumnValue(int col) const { return ColumnValues[size_t(col - 1)]; }
    double Cell(int col, int row) const { return Cells[size_t(col - 1)][size_t(row - 1)]; }
    // Whether result cell (col, row) was computed (before the failure, if any).
    bool HasCell(int col, int row) const;
};

// The spread of a mode around the inputs. A term that is not a whole number of 32 bits fails
// with a conversion error in the modes that need one (all but the terms); a formula's math
// error ends the results at its cell (the result's Failure).
TSpreadResult Calculate(TCalcMode mode, const TSpreadInputs &inputs);

// The text of grid cell (col 0..7, row 0..11) as the window shows it: the corner, a column or
// row heading, or a computed result; empty for a result that was not computed.
std::string SpreadText(const TSpreadResult &spread, int col, int row);

// The loan result cell (col 1..7, row 1..11) stands for, as the grid shows it: the row's and
// column's values and the cell's result, amounts in cents, the rate to 3 decimals and a term
// in months rounded up (so that the same loan typed anywhere gives the same schedule); nothing
// for a heading, a cell outside the grid or of a spread that failed, or a value in none of
// these forms.
std::optional<TLoan> CellLoan(const TSpreadResult &spread, int col, int row);

// ---- Spread state and the window the calculators work on --------------------------------

// What every calculation leaves behind in the main window, for the report, the hints, the
// error handler and the saved values file.
struct SpreadState {
    TCalcMode CalcMode = TCalcMode::Payments;
    std::string LoanStepText = " ";
    std::string RateStepText = " ";
    std::string PaymentStepText = " ";
    double LastLoan = 0;
    double LastInterest = 0; // annual percent
    double LastTerm = 0;     // months
    double LastPayment = 0;
    // The steps the rows and columns were laid out by (0 for a group with no selected item).
    double LoanStep = 0, RateStep = 0, PaymentStep = 0;
    // The last calculation, once every cell of it was written; nothing while one runs or after
    // it failed.
    std::optional<TSpreadResult> LastSpread;
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

// The grid calculators of modes 0 to 3. Each reads the window's inputs, stores them and its
// mode in the spread state, calculates the spread and writes it: the headers, then the
// results column by column, then the centre marked and printing enabled. A failed cell ends
// the writing where it stands, with the cells before it kept, and raises its error.
void FillPaymentSpread(TSpreadView &view);
void FillLoanSpread(TSpreadView &view);
void FillRateSpread(TSpreadView &view);
void FillTermSpread(TSpreadView &view);

// What the window says when a calculation ends with a math error.
inline constexpr const char *MathErrorText =
    TRANSLATABLE("Engine", "Valid results cannot be calculated using\n\r"
                           "the variables you have entered.\n\r\n\r"
                           "Please try again with reasonable values.");

// Runs the calculator of the stored CalcMode.
void FillSpread(TSpreadView &view);

// The loan of a result cell of the state's last calculation; nothing when it did not complete.
std::optional<TLoan> CellLoan(const SpreadState &state, int col, int row);
