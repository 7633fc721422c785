// The amortization schedule of one loan: month by month, how much of each payment is interest
// and what stays owing, worked in whole cents so that nothing drifts. Plain C++.
#pragma once

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

// Money in the schedule is whole cents: 64 bits count far beyond any loan the schedule takes.
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
    bool operator==(const TLoanPlan &) const = default;
};

struct TScheduleRow {
    int No = 0; // month, or year when summed
    double Payment = 0, Principal = 0, Interest = 0, Balance = 0, TotalInterest = 0;
};

struct TSchedule {
    TLoan Loan; // amount and payment rounded to cents
    std::vector<TScheduleRow> Months;
    double LastPayment = 0, TotalPayments = 0, TotalInterest = 0;
};

// The longest schedule counted: ten thousand years.
inline constexpr int MaxScheduleMonths = 120000;

inline constexpr const char *NoScheduleText =
    "No schedule: this loan is not repaid by its payments.";

// Each month the interest is the balance x rate / 1200 rounded to cents (halves away from
// zero), the principal the payment less the interest. The last month is month Term, or an
// earlier one whose balance plus interest does not exceed the payment; it pays exactly that,
// so the balance ends at 0.00. Nothing when the loan or the payment (in cents) or the term is
// not positive, the term is beyond MaxScheduleMonths, or the payment does not exceed the first
// month's interest.
std::optional<TSchedule> MakeSchedule(const TLoan &loan);

// Each 12 months summed into one row numbered by year, with the balance at the year's end.
std::vector<TScheduleRow> ScheduleByYear(const TSchedule &schedule);

// The rows as comma-separated values: a header row, then plain numbers with "." and two
// decimals whatever the locale, each line ended by CR LF.
std::string ScheduleCsv(const std::vector<TScheduleRow> &rows);

// An amount as a whole number of cents, rounded as the grid's texts round it (from 18
// significant digits, halves away from zero); nothing beyond what the schedule can count.
std::optional<long long> ToCents(double amount);
