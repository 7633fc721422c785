// Loan offers side by side: what each costs in all and if it ends early, the month from which
// paying more up front has paid for itself, and how paying down faster shortens a loan.
// Plain C++.
#pragma once

#include "engine/Amortize.h"
#include "engine/Translatable.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// A named loan with its plan. A payment of 0 stands for the level payment of the amount, rate
// and term in cents.
struct TOffer {
    std::string Name;
    TLoan Loan;
    TLoanPlan Plan;
};

// The loan as its schedule takes it: the level payment filled in where none was given.
TLoan OfferLoan(const TOffer &offer);

// The plan as its schedule takes it: a given payment kept after interest-only months.
TLoanPlan OfferPlan(const TOffer &offer);
// The schedule of the offer's loan and plan.
TScheduleResult OfferSchedule(const TOffer &offer);
// The offer of a schedule: its loan with its plan, named `name`.
TOffer ScheduleOffer(const TSchedule &schedule, const std::string &name);

// The cost of a loan if it ends after `month` payments (sold or refinanced): points and fees,
// the payments made and the balance still owing. From the payoff month on it is the total cost;
// at month 0 the points and fees plus the amount.
TCents CostAfter(const TSchedule &schedule, int month);

// The month from which `payer` (the offer paying more up front) stays cheaper than `other`
// by the cost if the loans end then, for every later month: nothing when it is not cheaper at
// the end.
std::optional<int> BreakEvenMonth(const TSchedule &payer, const TSchedule &other);

// Two offers (indexes into the comparison) and their break-even month, if any: Payer is the one
// with the higher points and fees, of equal ones the one with the lower total cost.
struct TBreakEven {
    int First = 0, Second = 0;
    int Payer = 0;
    std::optional<int> Month;
};

struct TOfferCosts {
    TOffer Offer;
    TScheduleResult Schedule;
    TCents CostAtYears = 0; // the cost if the loan ends after the comparison's years
};

struct TComparison {
    int Years = 5;
    std::vector<TOfferCosts> Offers;
    std::vector<TBreakEven> Pairs;          // each pair of offers with a schedule
    std::vector<int> CheapestAtYears, Best; // the offers of the lowest cost at Years and in all
};

// The offers compared at `years`.
TComparison Compare(const std::vector<TOffer> &offers, int years);

// ---- The rows of a comparison, as every view shows them ---------------------------------

enum class TCompareKind { Money, Percent, Count, Date };

struct TCompareRowInfo {
    const char *Caption;
    const char *Key; // its name in json
    TCompareKind Kind;
};

enum class TCompareRow {
    Payment,
    Apr,
    Aprc,
    Payments,
    PayoffDate,
    TotalPayments,
    TotalInterest,
    Charges,
    TotalCost,
    CostAtYears
};
inline constexpr int CompareRowCount = 10;
const TCompareRowInfo &CompareRowInfo(TCompareRow row);
// The row's caption; the cost at the years names them ("Cost after 5 years").
TPhrase CompareCaption(const TComparison &c, TCompareRow row);

// An offer's value in a row: cents, percent (to 3 decimals, as shown), a count or days since
// 1970-01-01; nothing for an offer without a schedule or a payoff date without dates.
std::optional<double> CompareValue(const TComparison &c, int offer, TCompareRow row);
// Whether any offer has a value in the row (a payoff date needs dates).
bool RowShown(const TComparison &c, TCompareRow row);
// The offers whose value in the row is the lowest (the best), none when no offer has one.
std::vector<int> BestInRow(const TComparison &c, TCompareRow row);
// The value as the window shows it (amounts in the user's currency, dates in the user's form),
// empty when there is none.
std::string CompareText(TCompareKind kind, double value);
// The difference `value` less the first offer's as the window shows it beside a value:
// "+$35.43", "-0.283%", "+12"; empty for a date or without a value.
std::string CompareDifference(TCompareKind kind, double difference);
// A value as plain data: amounts with "." and two decimals, percent with three, dates as
// YYYY-MM-DD.
std::string ComparePlainText(TCompareKind kind, double value);

// The break-even of a pair as its caption ("Break-even of B over A") and its value ("month 48",
// "never").
TPhrase BreakEvenCaption(const TComparison &c, const TBreakEven &pair);
TPhrase BreakEvenText(const TBreakEven &pair);

// The comparison as comma-separated values: a header row of the offers' names, a row per row
// of the comparison with plain values, then a row per pair with its break-even month (empty
// for never); each line ended by CR LF.
std::string CompareCsv(const TComparison &c);
// A field of comma-separated values, quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string &text);

// ---- Paying down faster -------------------------------------------------------------------

// The rows run down the monthly extras 0 to 10 steps, the columns across the rates around the
// offer's rate by the rate step; the middle column is the offer's rate.
inline constexpr int PaydownRows = 11, PaydownColumns = 7, PaydownCentreColumn = 3;

struct TPaydownCell {
    bool Repaid = false; // a schedule exists for the cell
    int Months = 0;
    TCents TotalInterest = 0;
    TCents InterestSaved = 0; // against the same rate without the extra
};

struct TPaydownGrid {
    std::array<TCents, PaydownRows> Extras{};
    std::array<double, PaydownColumns> Rates{};
    std::array<std::array<TPaydownCell, PaydownColumns>, PaydownRows> Cells{};
};

// The offer at rate `rate` with `extra` more each month from month 1, on top of its own plan;
// its own payment at that rate unless it was given.
TOffer PaydownOffer(const TOffer &offer, double rate, TCents extra);
// The grid of the offer for the extra step and the rate step (percentage points).
TPaydownGrid PaydownGrid(const TOffer &offer, TCents extraStep, double rateStep);
