// The amortization schedule of one loan: month by month, how much of each payment is interest
// and what stays owing, worked in whole cents so that nothing drifts. Plain C++.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct TLoan {
    double Loan = 0;
    double Rate = 0; // annual percent
    int Term = 0;    // months
    double Payment = 0;
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
