// The amortization schedule of one loan: month by month, how much of each payment is interest
// and what stays owing, worked in whole cents so that nothing drifts. Plain C++.
#pragma once

#include "engine/Translatable.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

struct TLoan {
    double Loan = 0;
    double Rate = 0; // annual percent
    int Term = 0;    // months
    double Payment = 0;
};

// Money in the schedule is whole cents. 64 bits count to 9.2E18 cents, over nine thousand times
// the largest amount the schedule takes (1E15 cents, ten trillion): every balance, payment and
// month's interest fits with room to spare, and a total that a loan of 120,000 months could
// still push beyond it is refused as too large, never wrapped.
using TCents = long long;

// A one-off payment to principal in month Month (1..term).
struct TLump {
    int Month = 0;
    TCents Amount = 0;
    bool operator==(const TLump &) const = default;
};

// From month Month (2..term) the interest is at Rate (annual percent) and the payment is
// recast over the months left.
struct TRateChange {
    int Month = 0;
    double Rate = 0;
    bool operator==(const TRateChange &) const = default;
};

// What an extra payment does: the payment stays and the loan ends sooner, or the payment is
// recast over the months left of the term.
enum class TExtraEffect { ShorterLoan, LowerPayment };

// What a real loan adds to the plain one; every part off or empty by default.
struct TLoanPlan {
    TCents Fees = 0;   // paid when the loan is made
    double Points = 0; // percent of the amount, paid when the loan is made
    std::optional<std::chrono::year_month_day> LoanDate, FirstPayment;
    int InterestOnly = 0; // months 1..InterestOnly pay the month's interest alone
    TCents MonthlyExtra = 0;
    int MonthlyFrom = 1, MonthlyTo = 0; // MonthlyTo 0: to the end
    TCents YearlyExtra = 0;
    int YearlyMonth = 12; // month of each loan year (calendar month with dates)
    std::vector<TLump> Lumps;
    std::vector<TRateChange> RateChanges;
    TExtraEffect Effect = TExtraEffect::ShorterLoan;
    // The loan's payment was given by the user: it stays after the interest-only months
    // instead of becoming the payment of the balance over the months left.
    bool PaymentGiven = false;
    bool operator==(const TLoanPlan &) const = default;
};

struct TScheduleRow {
    int No = 0; // month, or year when summed (the calendar year with dates)
    std::optional<std::chrono::year_month_day> Date; // the payment's, or a year's last one's
    TCents Payment = 0;                              // the regular payment: principal and interest
    TCents Principal = 0, Interest = 0, Extra = 0, Balance = 0, TotalInterest = 0;
};

// The regular payment from month Month on.
struct TPaymentFrom {
    int Month = 0;
    TCents Payment = 0;
};

struct TSchedule {
    TCents Amount = 0;
    double Rate = 0; // annual percent of month 1
    int Term = 0;
    TLoanPlan Plan;
    std::vector<TScheduleRow> Months;
    // The regular payment of month 1, then each month it changes: after interest-only months,
    // at a rate change, after an extra that lowers the payment.
    std::vector<TPaymentFrom> Payments;
    TCents LastPayment = 0;   // with its extra
    TCents TotalPayments = 0; // with the extras
    TCents TotalInterest = 0;
    TCents Charges = 0; // points and fees
    TCents TotalCost = 0;
    // Against the same loan without its extras, when it has some.
    TCents InterestSaved = 0;
    int PaymentsSaved = 0;
    std::optional<std::chrono::year_month_day> PayoffDate;
    // The yearly cost in percent, nothing where no rate gives it.
    std::optional<double> Apr, Aprc;
};

// The longest schedule counted: ten thousand years.
inline constexpr int MaxScheduleMonths = 120000;

// Why a loan has no schedule.
enum class TNoSchedule {
    NoLoan,       // the loan is not more than 0
    ShortPayment, // the payment does not cover the first month's interest
    TooLong,      // more payments than MaxScheduleMonths
    TooLarge      // amounts beyond what the schedule counts
};
// The message that says it, as the window and the command line show it.
const char *NoScheduleText(TNoSchedule reason);

// A schedule, or why there is none.
struct TScheduleResult {
    std::optional<TSchedule> Schedule;
    TNoSchedule Reason = TNoSchedule::NoLoan;
    explicit operator bool() const { return Schedule.has_value(); }
    const TSchedule &operator*() const { return *Schedule; }
    const TSchedule *operator->() const { return &*Schedule; }
};

// The schedule of `loan` under `plan`. Each month the interest is the balance x rate / 1200
// rounded to cents (halves away from zero), the principal the payment less the interest, then
// the month's extras go to principal, never more than is owed. The last month is month Term,
// or an earlier one whose balance plus interest does not exceed the payment; it pays exactly
// that, so the balance ends at 0.00. A payment worked out here is the exact payment of the
// balance over the months left, rounded to cents.
TScheduleResult MakeSchedule(const TLoan &loan, const TLoanPlan &plan = {});

// The months summed into rows: each 12 months of the loan, or with dates each calendar year;
// a row's balance and total interest are those at its last month.
std::vector<TScheduleRow> ScheduleByYear(const TSchedule &schedule);

// ---- How a schedule is shown ---------------------------------------------------------------

enum class TColumnKind { Number, Date, Money };

struct TScheduleColumn {
    const char *Heading;
    const char *Key; // its name in json
    TColumnKind Kind;
    TCents TScheduleRow::*Money; // the amount of a money column
};

// The columns of `schedule`: No., the date when it has dates, payment, principal, interest,
// the extra when its plan has extras, balance and total interest.
std::vector<TScheduleColumn> ScheduleColumns(const TSchedule &schedule);
// A cell as the window shows it: amounts in the user's currency, dates in the user's form.
std::string ScheduleCellText(const TScheduleRow &row, const TScheduleColumn &column);
// A cell as plain data: amounts with "." and two decimals, dates as YYYY-MM-DD.
std::string SchedulePlainText(const TScheduleRow &row, const TScheduleColumn &column);

// One line of the summary: its caption (with a colon) and its value as the user reads it.
struct TSummaryLine {
    TPhrase Caption, Value;
};
// Loan amount, annual rate and its changes, term (with the months it is repaid in when fewer),
// the monthly payment and each change of it, the last payment when it differs, the payoff
// date, total of payments, total interest; with points and fees those and the total cost; with
// extras the interest and payments saved; with a plan the APR and APRC.
std::vector<TSummaryLine> ScheduleSummary(const TSchedule &schedule);

// The rows as comma-separated values: a header row, then plain numbers with "." and two
// decimals whatever the locale, each line ended by CR LF.
std::string ScheduleCsv(const TSchedule &schedule, const std::vector<TScheduleRow> &rows);

// An amount as a whole number of cents, rounded as the grid's texts round it (from 18
// significant digits, halves away from zero); nothing beyond what the schedule can count.
std::optional<long long> ToCents(double amount);

// The level payment of `loan` at the annual `rate` over `term` months, rounded to cents (at no
// interest whole cents divided, halves away from zero); nothing beyond what the schedule counts.
std::optional<TCents> LevelPayment(double loan, double rate, int term);

// A date as plain data: YYYY-MM-DD.
std::string IsoDate(std::chrono::year_month_day date);

// An amount in cents as money, for the formulas and texts that take doubles.
inline double Money(TCents cents) {
    return double(cents) / 100;
}
