#include "engine/Compare.h"

#include "engine/Spread.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <cmath>

namespace {

const TCompareRowInfo Rows[CompareRowCount] = {
    {TRANSLATABLE("Engine", "Monthly payment"), "payment", TCompareKind::Money},
    {TRANSLATABLE("Engine", "APR"), "apr", TCompareKind::Percent},
    {TRANSLATABLE("Engine", "APRC"), "aprc", TCompareKind::Percent},
    {TRANSLATABLE("Engine", "Number of payments"), "payments", TCompareKind::Count},
    {TRANSLATABLE("Engine", "Payoff date"), "payoff_date", TCompareKind::Date},
    {TRANSLATABLE("Engine", "Total of payments"), "total_payments", TCompareKind::Money},
    {TRANSLATABLE("Engine", "Total interest"), "total_interest", TCompareKind::Money},
    {TRANSLATABLE("Engine", "Points and fees"), "fees", TCompareKind::Money},
    {TRANSLATABLE("Engine", "Total cost"), "total_cost", TCompareKind::Money},
    {"Cost after years", "cost_after_years", TCompareKind::Money},
};

std::chrono::year_month_day DateOfDays(double days) {
    return std::chrono::year_month_day(std::chrono::sys_days(std::chrono::days(llround(days))));
}

// A value of a schedule's cell in `kind`: plain (amounts with "." and two decimals, dates as
// YYYY-MM-DD) or as the window shows it.
std::string ScheduleText(TColumnKind kind, double value, bool plain) {
    TScheduleRow row;
    row.Payment = llround(value);
    if (kind == TColumnKind::Date)
        row.Date = DateOfDays(value);
    const TScheduleColumn column{"", "", kind, &TScheduleRow::Payment};
    return plain ? SchedulePlainText(row, column) : ScheduleCellText(row, column);
}

} // namespace

TLoan OfferLoan(const TOffer &offer) {
    TLoan loan = offer.Loan;
    if (loan.Payment <= 0)
        if (const std::optional<TCents> p = LevelPayment(loan.Loan, loan.Rate, loan.Term))
            loan.Payment = Money(*p);
    return loan;
}

TLoanPlan OfferPlan(const TOffer &offer) {
    TLoanPlan plan = offer.Plan;
    plan.PaymentGiven = offer.Loan.Payment > 0;
    return plan;
}

TScheduleResult OfferSchedule(const TOffer &offer) {
    return MakeSchedule(OfferLoan(offer), OfferPlan(offer));
}

TOffer ScheduleOffer(const TSchedule &s, const std::string &name) {
    TOffer offer{name, {Money(s.Amount), s.Rate, s.Term, 0}, s.Plan};
    // The payment of the first month that repays principal, unless it was worked out there.
    if (s.Plan.InterestOnly == 0 || s.Plan.PaymentGiven)
        for (const TPaymentFrom &p : s.Payments)
            if (p.Month <= s.Plan.InterestOnly + 1)
                offer.Loan.Payment = Money(p.Payment);
    return offer;
}

TCents CostAfter(const TSchedule &s, int month) {
    if (month <= 0)
        return s.Charges + s.Amount;
    if (month >= int(s.Months.size()))
        return s.TotalCost;
    // The payments made less their interest are the amount less the balance owing.
    return s.Charges + s.Amount + s.Months[size_t(month) - 1].TotalInterest;
}

std::optional<int> BreakEvenMonth(const TSchedule &payer, const TSchedule &other) {
    const int horizon = int(std::max(payer.Months.size(), other.Months.size()));
    for (int month = horizon; month >= 1; --month)
        if (CostAfter(payer, month) >= CostAfter(other, month))
            return month == horizon ? std::nullopt : std::optional<int>(month + 1);
    return 1;
}

TComparison Compare(const std::vector<TOffer> &offers, int years) {
    TComparison c;
    c.Years = years;
    for (const TOffer &offer : offers) {
        TOfferCosts &o = c.Offers.emplace_back();
        o.Offer = offer;
        o.Schedule = OfferSchedule(offer);
        if (o.Schedule)
            o.CostAtYears = CostAfter(*o.Schedule, 12 * years);
    }
    const int count = int(c.Offers.size());
    for (int a = 0; a < count; ++a)
        for (int b = a + 1; b < count; ++b) {
            const TScheduleResult &sa = c.Offers[size_t(a)].Schedule,
                                  &sb = c.Offers[size_t(b)].Schedule;
            if (!sa || !sb)
                continue;
            TBreakEven pair{a, b, a, std::nullopt};
            if (sb->Charges > sa->Charges ||
                (sb->Charges == sa->Charges && sb->TotalCost < sa->TotalCost))
                pair.Payer = b;
            const bool aPays = pair.Payer == a;
            pair.Month = BreakEvenMonth(aPays ? *sa : *sb, aPays ? *sb : *sa);
            c.Pairs.push_back(pair);
        }
    c.CheapestAtYears = BestInRow(c, TCompareRow::CostAtYears);
    c.Best = BestInRow(c, TCompareRow::TotalCost);
    return c;
}

const TCompareRowInfo &CompareRowInfo(TCompareRow row) {
    return Rows[int(row)];
}

TPhrase CompareCaption(const TComparison &c, TCompareRow row) {
    if (row == TCompareRow::CostAtYears)
        return {c.Years == 1 ? TRANSLATABLE("Engine", "Cost after %1 year")
                             : TRANSLATABLE("Engine", "Cost after %1 years"),
                {std::to_string(c.Years)}};
    return {CompareRowInfo(row).Caption, {}};
}

std::optional<double> CompareValue(const TComparison &c, int offer, TCompareRow row) {
    const TOfferCosts &o = c.Offers.at(size_t(offer));
    if (!o.Schedule)
        return std::nullopt;
    const TSchedule &s = *o.Schedule;
    auto percent = [](const std::optional<double> &v) -> std::optional<double> {
        if (!v)
            return std::nullopt;
        return std::round(*v * 1000) / 1000;
    };
    switch (row) {
    case TCompareRow::Payment:
        return double(s.Payments.front().Payment);
    case TCompareRow::Apr:
        return percent(s.Apr);
    case TCompareRow::Aprc:
        return percent(s.Aprc);
    case TCompareRow::Payments:
        return double(s.Months.size());
    case TCompareRow::PayoffDate:
        if (!s.PayoffDate)
            return std::nullopt;
        return double(std::chrono::sys_days(*s.PayoffDate).time_since_epoch().count());
    case TCompareRow::TotalPayments:
        return double(s.TotalPayments);
    case TCompareRow::TotalInterest:
        return double(s.TotalInterest);
    case TCompareRow::Charges:
        return double(s.Charges);
    case TCompareRow::TotalCost:
        return double(s.TotalCost);
    case TCompareRow::CostAtYears:
        break;
    }
    return double(o.CostAtYears);
}

bool RowShown(const TComparison &c, TCompareRow row) {
    for (int k = 0; k < int(c.Offers.size()); ++k)
        if (CompareValue(c, k, row))
            return true;
    return false;
}

std::vector<int> BestInRow(const TComparison &c, TCompareRow row) {
    std::optional<double> best;
    std::vector<int> offers;
    for (int k = 0; k < int(c.Offers.size()); ++k) {
        const std::optional<double> v = CompareValue(c, k, row);
        if (!v || (best && *v > *best))
            continue;
        if (!best || *v < *best)
            offers.clear();
        best = v;
        offers.push_back(k);
    }
    return offers;
}

std::string CompareText(TCompareKind kind, double value) {
    switch (kind) {
    case TCompareKind::Money:
        return CurrencyText(value / 100, 15, 2);
    case TCompareKind::Percent:
        return FixedText(value, 15, 3) + "%";
    case TCompareKind::Count:
        return std::to_string(llround(value));
    case TCompareKind::Date:
        break;
    }
    return ScheduleText(TColumnKind::Date, value, false);
}

std::string CompareDifference(TCompareKind kind, double difference) {
    if (kind == TCompareKind::Date)
        return "";
    const std::string magnitude = CompareText(kind, std::abs(difference));
    return (difference < 0 ? "-" : "+") + magnitude;
}

std::string ComparePlainText(TCompareKind kind, double value) {
    switch (kind) {
    case TCompareKind::Money:
        return ScheduleText(TColumnKind::Money, value, true);
    case TCompareKind::Percent:
        return FixedText(value, 15, 3, UnitedStatesFormatSettings());
    case TCompareKind::Count:
        return std::to_string(llround(value));
    case TCompareKind::Date:
        break;
    }
    return ScheduleText(TColumnKind::Date, value, true);
}

TPhrase BreakEvenCaption(const TComparison &c, const TBreakEven &pair) {
    const int other = pair.Payer == pair.First ? pair.Second : pair.First;
    return {TRANSLATABLE("Engine", "Break-even of %1 over %2"),
            {c.Offers[size_t(pair.Payer)].Offer.Name, c.Offers[size_t(other)].Offer.Name}};
}

TPhrase BreakEvenText(const TBreakEven &pair) {
    if (pair.Month)
        return {TRANSLATABLE("Engine", "month %1"), {std::to_string(*pair.Month)}};
    return {TRANSLATABLE("Engine", "never"), {}};
}

std::string CsvField(const std::string &text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char ch : text)
        quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
    return quoted + "\"";
}

std::string CompareCsv(const TComparison &c) {
    std::string out;
    for (const TOfferCosts &o : c.Offers)
        out += "," + CsvField(o.Offer.Name);
    out += "\r\n";
    for (int r = 0; r < CompareRowCount; ++r) {
        const TCompareRow row = TCompareRow(r);
        out += CsvField(CompareCaption(c, row).Text());
        for (int k = 0; k < int(c.Offers.size()); ++k) {
            const std::optional<double> v = CompareValue(c, k, row);
            out += "," + (v ? ComparePlainText(CompareRowInfo(row).Kind, *v) : std::string());
        }
        out += "\r\n";
    }
    for (const TBreakEven &pair : c.Pairs)
        out += CsvField(BreakEvenCaption(c, pair).Text()) + "," +
               (pair.Month ? std::to_string(*pair.Month) : std::string()) + "\r\n";
    return out;
}

// ---- Paying down faster -------------------------------------------------------------------

TOffer PaydownOffer(const TOffer &offer, double rate, TCents extra) {
    TOffer o = offer;
    o.Loan.Rate = rate;
    if (extra <= 0)
        return o;
    TLoanPlan &plan = o.Plan;
    const bool wholeLoan = plan.MonthlyFrom <= 1 && plan.MonthlyTo == 0;
    if (plan.MonthlyExtra > 0 && !wholeLoan) {
        // Its own monthly extra for some months only: those months as one-off payments.
        const int to = plan.MonthlyTo == 0 ? o.Loan.Term : std::min(plan.MonthlyTo, o.Loan.Term);
        for (int m = std::max(plan.MonthlyFrom, 1); m <= to; ++m)
            plan.Lumps.push_back({m, plan.MonthlyExtra});
        plan.MonthlyExtra = 0;
    }
    plan.MonthlyExtra += extra;
    plan.MonthlyFrom = 1;
    plan.MonthlyTo = 0;
    return o;
}

TPaydownGrid PaydownGrid(const TOffer &offer, TCents extraStep, double rateStep) {
    TPaydownGrid g;
    for (int r = 0; r < PaydownRows; ++r)
        g.Extras[size_t(r)] = extraStep * r;
    for (int c = 0; c < PaydownColumns; ++c)
        g.Rates[size_t(c)] = offer.Loan.Rate + (c - PaydownCentreColumn) * rateStep;
    for (int c = 0; c < PaydownColumns; ++c) {
        const double rate = g.Rates[size_t(c)];
        std::optional<TCents> without;
        for (int r = 0; r < PaydownRows && rate >= 0; ++r) {
            const TScheduleResult s = OfferSchedule(PaydownOffer(offer, rate, g.Extras[size_t(r)]));
            if (!s)
                continue;
            TPaydownCell &cell = g.Cells[size_t(r)][size_t(c)];
            cell.Repaid = true;
            cell.Months = int(s->Months.size());
            cell.TotalInterest = s->TotalInterest;
            if (r == 0)
                without = s->TotalInterest;
            cell.InterestSaved = without ? *without - s->TotalInterest : 0;
        }
    }
    return g;
}
