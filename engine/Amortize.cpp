#include "engine/Amortize.h"

#include "engine/Apr.h"
#include "engine/Spread.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <map>

namespace {

// Amounts beyond this many cents (ten trillion in money) are not counted.
constexpr long long MaxCents = 1'000'000'000'000'000LL;

// A number as an integer mantissa and a power of ten.
struct TDecimal {
    long long Mantissa = 0;
    int Power = 0;
};

// An amount rounded as the grid's texts round it: from 18 significant digits to at most two
// decimals, halves away from zero.
std::optional<TDecimal> AmountDecimal(double v) {
    const TFloatRec rec = FloatToDecimal(v, 18, 2);
    if (rec.Special || rec.Exponent > 18)
        return std::nullopt;
    TDecimal d;
    for (char c : rec.Digits)
        d.Mantissa = d.Mantissa * 10 + (c - '0');
    if (rec.Negative)
        d.Mantissa = -d.Mantissa;
    d.Power = rec.Digits.empty() ? 0 : rec.Exponent - int(rec.Digits.size());
    return d;
}

// A rate as the decimal number it stands for: the shortest text that reads back as it (9.45
// is 9.45, not the nearest binary fraction 9.4499999999999993), so that a typed rate gives
// exact halves of a cent. Nothing for a rate of ten million percent or more.
std::optional<TDecimal> RateDecimal(double v) {
    char text[40];
    const char *end = std::to_chars(text, text + sizeof text, v, std::chars_format::scientific).ptr;
    TDecimal d;
    const char *p = text;
    const bool negative = *p == '-';
    p += negative;
    int decimals = 0;
    bool point = false;
    for (; p != end && *p != 'e'; ++p) {
        if (*p == '.') {
            point = true;
            continue;
        }
        d.Mantissa = d.Mantissa * 10 + (*p - '0');
        decimals += point;
    }
    int exponent = 0;
    if (p == end || std::from_chars(p + 1 + (p[1] == '+'), end, exponent).ec != std::errc())
        return std::nullopt;
    if (d.Mantissa == 0)
        return TDecimal{};
    d.Power = exponent - decimals;
    if (exponent > 6)
        return std::nullopt;
    for (; d.Power > 0; --d.Power)
        d.Mantissa *= 10;
    for (; d.Power < -24; ++d.Power) // a tiny rate keeps what a balance in cents can show
        d.Mantissa = (d.Mantissa + 5) / 10;
    if (negative)
        d.Mantissa = -d.Mantissa;
    return d;
}

__int128 PowerOfTen(int n) {
    __int128 p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// num / den rounded to the nearest integer, halves away from zero; den > 0.
long long RoundedQuotient(__int128 num, __int128 den) {
    const bool negative = num < 0;
    if (negative)
        num = -num;
    __int128 q = num / den;
    if (2 * (num % den) >= den)
        ++q;
    return negative ? -(long long)q : (long long)q;
}

// One month's interest on a balance in cents at an annual rate in percent.
class TMonthlyInterest {
public:
    explicit TMonthlyInterest(TDecimal rate)
        : FRate(rate.Mantissa), FDivisor(1200 * PowerOfTen(-rate.Power)) {}
    long long operator()(long long balance) const {
        return RoundedQuotient(__int128(balance) * FRate, FDivisor);
    }
    // The monthly rate as a fraction.
    long double Monthly() const { return (long double)FRate / (long double)FDivisor; }
    bool Zero() const { return FRate == 0; }

private:
    __int128 FRate, FDivisor;
};

// The payment that repays `balance` over `months` at the monthly rate, rounded to cents, halves
// away from zero: whole cents divided at no interest, else the annuity of the balance (its
// exact value is never a half cent, and long doubles hold it to far below one).
std::optional<TCents> PaymentOf(TCents balance, const TMonthlyInterest &rate, int months) {
    if (rate.Zero())
        return RoundedQuotient(balance, months);
    const long double i = rate.Monthly();
    const long double exact = balance * i / -std::expm1(-months * std::log1p(i));
    if (!(exact < MaxCents))
        return std::nullopt;
    return std::llround(exact);
}

using namespace std::chrono;

// The same day `months` later, or the last day of a shorter month.
year_month_day AddMonths(year_month_day date, int months) {
    const year_month ym = year_month(date.year(), date.month()) + std::chrono::months(months);
    const day last = year_month_day_last(ym.year(), month_day_last(ym.month())).day();
    return {ym.year(), ym.month(), std::min(date.day(), last)};
}

// Whole months from `to` back to `start`, and the days left over.
std::pair<int, int> MonthsAndDays(year_month_day start, year_month_day to) {
    int months = (int(to.year()) - int(start.year())) * 12 +
                 (int(unsigned(to.month())) - int(unsigned(start.month())));
    while (months > 0 && AddMonths(to, -months) < start)
        --months;
    months = std::max(months, 0);
    return {months, int((sys_days(AddMonths(to, -months)) - sys_days(start)).count())};
}

// The rate changes by month; of two in one month, the later given.
std::vector<TRateChange> SortedRateChanges(const TLoanPlan &plan) {
    std::vector<TRateChange> changes = plan.RateChanges;
    std::stable_sort(changes.begin(), changes.end(),
                     [](const TRateChange &a, const TRateChange &b) { return a.Month < b.Month; });
    return changes;
}

bool HasExtras(const TLoanPlan &plan) {
    return plan.MonthlyExtra > 0 || plan.YearlyExtra > 0 ||
           std::any_of(plan.Lumps.begin(), plan.Lumps.end(),
                       [](const TLump &lump) { return lump.Amount > 0; });
}

bool HasDates(const TLoanPlan &plan) {
    return plan.LoanDate || plan.FirstPayment;
}

// The months of a loan, or why it has none.
struct TRun {
    std::vector<TScheduleRow> Months;
    std::vector<TPaymentFrom> Payments;
    TCents TotalPayments = 0, TotalInterest = 0;
};

struct TRunResult {
    std::optional<TRun> Run;
    TNoSchedule Reason = TNoSchedule::NoLoan;
};

TRunResult Amortize(TCents amount, TDecimal rate, int term, TCents firstPayment,
                    const TLoanPlan &plan, std::optional<year_month_day> first) {
    TRun run;
    const int interestOnly = std::clamp(plan.InterestOnly, 0, term - 1);
    const std::vector<TRateChange> changes = SortedRateChanges(plan);
    auto nextChange = changes.begin();
    std::map<int, TCents> lumps;
    for (const TLump &lump : plan.Lumps)
        lumps[lump.Month] += std::max<TCents>(lump.Amount, 0);

    TMonthlyInterest interestOn(rate);
    TCents balance = amount, payment = firstPayment;
    bool recast = false;
    run.Months.reserve(size_t(term));
    for (int month = 1;; ++month) {
        for (; nextChange != changes.end() && nextChange->Month <= month; ++nextChange) {
            const std::optional<TDecimal> r = RateDecimal(nextChange->Rate);
            if (!r)
                return {std::nullopt, TNoSchedule::TooLarge};
            interestOn = TMonthlyInterest(*r);
            recast = month > 1;
        }
        const bool io = month <= interestOnly;
        if (!io && (recast || (month == interestOnly + 1 && month > 1 && !plan.PaymentGiven))) {
            const std::optional<TCents> p = PaymentOf(balance, interestOn, term - month + 1);
            if (!p)
                return {std::nullopt, TNoSchedule::TooLarge};
            payment = *p;
            recast = false;
        }
        const TCents interest = interestOn(balance);
        const TCents regular = io ? interest : payment;
        if (month == interestOnly + 1 && payment <= interest)
            return {std::nullopt, TNoSchedule::ShortPayment};
        if (run.Payments.empty() || (!io && regular != run.Payments.back().Payment))
            run.Payments.push_back({month, regular});
        bool last = month >= term || balance + interest <= regular;
        const TCents paid = last ? balance + interest : regular;
        TScheduleRow row;
        row.No = month;
        if (first)
            row.Date = AddMonths(*first, month - 1);
        row.Payment = paid;
        row.Interest = interest;
        row.Principal = paid - interest;
        balance -= row.Principal;
        if (!last) {
            const bool monthly = plan.MonthlyExtra > 0 && month >= plan.MonthlyFrom &&
                                 (plan.MonthlyTo == 0 || month <= plan.MonthlyTo);
            const int yearMonth =
                row.Date ? int(unsigned(row.Date->month())) : (month - 1) % 12 + 1;
            const TCents yearly = yearMonth == plan.YearlyMonth ? plan.YearlyExtra : 0;
            const auto lump = lumps.find(month);
            const TCents once = lump == lumps.end() ? 0 : lump->second;
            row.Extra = std::min(balance, (monthly ? plan.MonthlyExtra : 0) + yearly + once);
            balance -= row.Extra;
            last = balance == 0;
            if (plan.Effect == TExtraEffect::LowerPayment && yearly + once > 0)
                recast = true;
        }
        row.Balance = balance;
        if (__builtin_add_overflow(run.TotalInterest, interest, &run.TotalInterest) ||
            __builtin_add_overflow(run.TotalPayments, paid + row.Extra, &run.TotalPayments))
            return {std::nullopt, TNoSchedule::TooLarge};
        row.TotalInterest = run.TotalInterest;
        run.Months.push_back(row);
        if (last)
            return {std::move(run), TNoSchedule::NoLoan};
    }
}

// The APR and APRC of the advance repaid by the months' payments and extras. With dates, a
// payment's time is the whole months from the loan date to the first payment (counted back from
// it, a month from a day to the same day, or the last of a shorter month) and the days left
// over, then a month more for each payment after the first.
void YearlyCost(TSchedule &s, std::optional<year_month_day> loanDate,
                std::optional<year_month_day> first) {
    const double advance = Money(s.Amount - s.Charges);
    const auto [firstMonths, days] = loanDate ? MonthsAndDays(*loanDate, *first) : std::pair{1, 0};
    std::vector<TActuarialPayment> actuarial;
    std::vector<TDatedPayment> dated;
    for (const TScheduleRow &m : s.Months) {
        const double amount = Money(m.Payment + m.Extra);
        const int months = firstMonths + m.No - 1;
        actuarial.push_back({months, days / 30.0, amount});
        dated.push_back({months / 12.0 + days / 365.0, amount});
    }
    const std::optional<double> i = ActuarialRate(advance, actuarial);
    if (i)
        s.Apr = 1200 * *i;
    // Without dates the times are whole months, k / 12 years: the APRC is (1 + i)^12 - 1.
    if (loanDate) {
        if (const std::optional<double> x = AnnualChargeRate(advance, dated))
            s.Aprc = 100 * *x;
    } else if (i) {
        s.Aprc = 100 * std::expm1(12 * std::log1p(*i));
    }
}

} // namespace

const char *NoScheduleText(TNoSchedule reason) {
    switch (reason) {
    case TNoSchedule::NoLoan:
        return TRANSLATABLE("Engine", "No schedule: the loan is not more than 0.");
    case TNoSchedule::ShortPayment:
        return TRANSLATABLE("Engine",
                            "No schedule: the payment does not cover the first month's interest.");
    case TNoSchedule::TooLong:
        return TRANSLATABLE("Engine", "No schedule: the loan takes more than 120,000 payments.");
    case TNoSchedule::TooLarge:
        break;
    }
    return TRANSLATABLE("Engine", "No schedule: the amounts are beyond what the schedule counts.");
}

TScheduleResult MakeSchedule(const TLoan &loan, const TLoanPlan &plan) {
    const std::optional<long long> amount = ToCents(loan.Loan);
    const std::optional<long long> payment = ToCents(loan.Payment);
    const std::optional<TDecimal> rate = RateDecimal(loan.Rate);
    const std::optional<TDecimal> points = RateDecimal(plan.Points);
    if (amount && *amount <= 0)
        return {std::nullopt, TNoSchedule::NoLoan};
    if (!amount || !payment || !rate || !points)
        return {std::nullopt, TNoSchedule::TooLarge};
    // No months: a term of a payment that never repays the loan.
    if (*payment <= 0 || loan.Term < 1)
        return {std::nullopt, TNoSchedule::ShortPayment};
    if (loan.Term > MaxScheduleMonths)
        return {std::nullopt, TNoSchedule::TooLong};

    std::optional<year_month_day> first = plan.FirstPayment, loanDate = plan.LoanDate;
    if (loanDate && !first)
        first = AddMonths(*loanDate, 1);
    if (first && (!loanDate || *loanDate >= *first))
        loanDate = AddMonths(*first, -1);

    TRunResult r = Amortize(*amount, *rate, loan.Term, *payment, plan, first);
    if (!r.Run)
        return {std::nullopt, r.Reason};
    TSchedule s;
    s.Amount = *amount;
    s.Rate = loan.Rate;
    s.Term = loan.Term;
    s.Plan = plan;
    s.Months = std::move(r.Run->Months);
    s.Payments = std::move(r.Run->Payments);
    s.LastPayment = s.Months.back().Payment + s.Months.back().Extra;
    s.TotalPayments = r.Run->TotalPayments;
    s.TotalInterest = r.Run->TotalInterest;
    s.Charges =
        std::max<TCents>(plan.Fees, 0) +
        RoundedQuotient(__int128(*amount) * points->Mantissa, 100 * PowerOfTen(-points->Power));
    s.TotalCost = s.TotalPayments + s.Charges;
    s.PayoffDate = s.Months.back().Date;
    if (HasExtras(plan)) {
        TLoanPlan plain = plan;
        plain.MonthlyExtra = plain.YearlyExtra = 0;
        plain.Lumps.clear();
        const TRunResult base = Amortize(*amount, *rate, loan.Term, *payment, plain, first);
        if (base.Run) {
            s.InterestSaved = base.Run->TotalInterest - s.TotalInterest;
            s.PaymentsSaved = int(base.Run->Months.size() - s.Months.size());
        }
    }
    YearlyCost(s, loanDate, first);
    return {std::move(s), TNoSchedule::NoLoan};
}

std::vector<TScheduleRow> ScheduleByYear(const TSchedule &schedule) {
    std::vector<TScheduleRow> years;
    for (size_t k = 0; k < schedule.Months.size(); ++k) {
        const TScheduleRow &m = schedule.Months[k];
        const int year = m.Date ? int(m.Date->year()) : int(k / 12) + 1;
        if (years.empty() || years.back().No != year)
            years.emplace_back().No = year;
        TScheduleRow &y = years.back();
        y.Date = m.Date;
        y.Payment += m.Payment;
        y.Principal += m.Principal;
        y.Interest += m.Interest;
        y.Extra += m.Extra;
        y.Balance = m.Balance;
        y.TotalInterest = m.TotalInterest;
    }
    return years;
}

// ---- How a schedule is shown ---------------------------------------------------------------

namespace {

const TScheduleColumn Columns[] = {
    {TRANSLATABLE("Engine", "No."), "no", TColumnKind::Number, nullptr},
    {TRANSLATABLE("Engine", "Date"), "date", TColumnKind::Date, nullptr},
    {TRANSLATABLE("Engine", "Payment"), "payment", TColumnKind::Money, &TScheduleRow::Payment},
    {TRANSLATABLE("Engine", "Principal"), "principal", TColumnKind::Money,
     &TScheduleRow::Principal},
    {TRANSLATABLE("Engine", "Interest"), "interest", TColumnKind::Money, &TScheduleRow::Interest},
    {TRANSLATABLE("Engine", "Extra"), "extra", TColumnKind::Money, &TScheduleRow::Extra},
    {TRANSLATABLE("Engine", "Balance"), "balance", TColumnKind::Money, &TScheduleRow::Balance},
    {TRANSLATABLE("Engine", "Total Interest"), "totalInterest", TColumnKind::Money,
     &TScheduleRow::TotalInterest},
};

std::string MoneyText(TCents cents) {
    return CurrencyText(Money(cents), 15, 2);
}

std::string PercentText(double rate) {
    return FixedText(rate, 15, 3) + "%";
}

std::string DateText(year_month_day date,
                     const std::string &pattern = FormatSettings().ShortDateFormat) {
    std::tm t{};
    t.tm_year = int(date.year()) - 1900;
    t.tm_mon = int(unsigned(date.month())) - 1;
    t.tm_mday = int(unsigned(date.day()));
    return FormatDateTime(pattern, t);
}

} // namespace

std::string IsoDate(year_month_day date) {
    return DateText(date, "yyyy-mm-dd");
}

std::optional<TCents> LevelPayment(double loan, double rate, int term) {
    const std::optional<long long> amount = ToCents(loan);
    const std::optional<TDecimal> r = RateDecimal(rate);
    if (!amount || !r || term < 1)
        return std::nullopt;
    return PaymentOf(*amount, TMonthlyInterest(*r), term);
}

std::vector<TScheduleColumn> ScheduleColumns(const TSchedule &schedule) {
    std::vector<TScheduleColumn> columns;
    for (const TScheduleColumn &c : Columns)
        if ((c.Kind != TColumnKind::Date || HasDates(schedule.Plan)) &&
            (c.Money != &TScheduleRow::Extra || HasExtras(schedule.Plan)))
            columns.push_back(c);
    return columns;
}

std::string ScheduleCellText(const TScheduleRow &row, const TScheduleColumn &column) {
    switch (column.Kind) {
    case TColumnKind::Number:
        return std::to_string(row.No);
    case TColumnKind::Date:
        return row.Date ? DateText(*row.Date) : std::string();
    case TColumnKind::Money:
        break;
    }
    return MoneyText(row.*column.Money);
}

std::string SchedulePlainText(const TScheduleRow &row, const TScheduleColumn &column) {
    if (column.Kind == TColumnKind::Date)
        return row.Date ? IsoDate(*row.Date) : std::string();
    if (column.Kind == TColumnKind::Number)
        return std::to_string(row.No);
    const TCents cents = row.*column.Money;
    const unsigned long long whole = cents < 0 ? 0ULL - (unsigned long long)cents : cents;
    const std::string decimals = std::to_string(whole % 100);
    return (cents < 0 ? "-" : "") + std::to_string(whole / 100) + "." +
           (decimals.size() < 2 ? "0" : "") + decimals;
}

std::vector<TSummaryLine> ScheduleSummary(const TSchedule &s) {
    const TLoanPlan &plan = s.Plan;
    const int months = int(s.Months.size());
    const TPhrase term =
        months == s.Term ? TPhrase{TRANSLATABLE("Engine", "%1 months"), {std::to_string(s.Term)}}
                         : TPhrase{TRANSLATABLE("Engine", "%1 months (repaid in %2)"),
                                   {std::to_string(s.Term), std::to_string(months)}};
    const auto line = [](const char *caption, const std::string &value) {
        return TSummaryLine{{caption, {}}, {"%1", {value}}};
    };
    std::vector<TSummaryLine> lines{
        line(TRANSLATABLE("Engine", "Loan amount:"), MoneyText(s.Amount)),
        line(TRANSLATABLE("Engine", "Annual rate:"), PercentText(s.Rate))};
    const std::vector<TRateChange> changes = SortedRateChanges(plan);
    for (const TRateChange &c : changes)
        if (c.Month <= months)
            lines.push_back(
                {{TRANSLATABLE("Engine", "Rate from month %1:"), {std::to_string(c.Month)}},
                 {"%1", {PercentText(c.Rate)}}});
    lines.push_back({{TRANSLATABLE("Engine", "Term:"), {}}, term});
    lines.push_back(
        line(TRANSLATABLE("Engine", "Monthly payment:"), MoneyText(s.Payments.front().Payment)));
    for (size_t k = 1; k < s.Payments.size(); ++k)
        lines.push_back({{TRANSLATABLE("Engine", "Payment from month %1:"),
                          {std::to_string(s.Payments[k].Month)}},
                         {"%1", {MoneyText(s.Payments[k].Payment)}}});
    if (s.LastPayment != s.Payments.back().Payment)
        lines.push_back(line(TRANSLATABLE("Engine", "Last payment:"), MoneyText(s.LastPayment)));
    if (s.PayoffDate)
        lines.push_back(line(TRANSLATABLE("Engine", "Payoff date:"), DateText(*s.PayoffDate)));
    lines.push_back(line(TRANSLATABLE("Engine", "Total of payments:"), MoneyText(s.TotalPayments)));
    lines.push_back(line(TRANSLATABLE("Engine", "Total interest:"), MoneyText(s.TotalInterest)));
    if (s.Charges > 0) {
        lines.push_back(line(TRANSLATABLE("Engine", "Points and fees:"), MoneyText(s.Charges)));
        lines.push_back(line(TRANSLATABLE("Engine", "Total cost:"), MoneyText(s.TotalCost)));
    }
    if (HasExtras(plan)) {
        lines.push_back(
            line(TRANSLATABLE("Engine", "Interest saved:"), MoneyText(s.InterestSaved)));
        lines.push_back(
            line(TRANSLATABLE("Engine", "Payments saved:"), std::to_string(s.PaymentsSaved)));
    }
    TLoanPlan none;
    none.Effect = plan.Effect;
    none.PaymentGiven = plan.PaymentGiven;
    if (plan != none) {
        if (s.Apr)
            lines.push_back(line(TRANSLATABLE("Engine", "APR:"), PercentText(*s.Apr)));
        if (s.Aprc)
            lines.push_back(line(TRANSLATABLE("Engine", "APRC:"), PercentText(*s.Aprc)));
    }
    return lines;
}

std::string ScheduleCsv(const TSchedule &schedule, const std::vector<TScheduleRow> &rows) {
    const std::vector<TScheduleColumn> columns = ScheduleColumns(schedule);
    std::string out;
    for (const TScheduleColumn &c : columns)
        out += (out.empty() ? "" : ",") + std::string(c.Heading);
    out += "\r\n";
    for (const TScheduleRow &r : rows) {
        for (const TScheduleColumn &c : columns)
            out += (&c == &columns.front() ? "" : ",") + SchedulePlainText(r, c);
        out += "\r\n";
    }
    return out;
}

std::optional<long long> ToCents(double amount) {
    const std::optional<TDecimal> d = AmountDecimal(amount);
    if (!d || std::llabs(d->Mantissa) > MaxCents)
        return std::nullopt;
    long long cents = d->Mantissa;
    for (int p = -2; p < d->Power; ++p)
        cents *= 10;
    if (std::llabs(cents) > MaxCents)
        return std::nullopt;
    return cents;
}
