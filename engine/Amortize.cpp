#include "engine/Amortize.h"

#include "platform/SysUtils.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

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

private:
    __int128 FRate, FDivisor;
};

double Amount(long long cents) {
    return double(cents) / 100;
}

long long CentsOf(double amount) {
    return std::llround(amount * 100);
}

void AppendAmount(std::string &out, double v) {
    char text[48];
    const auto end = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 2).ptr;
    out.append(text, end);
}

} // namespace

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

std::optional<TSchedule> MakeSchedule(const TLoan &loan) {
    const std::optional<long long> loanCents = ToCents(loan.Loan);
    const std::optional<long long> paymentCents = ToCents(loan.Payment);
    const std::optional<TDecimal> rate = RateDecimal(loan.Rate);
    if (!loanCents || !paymentCents || !rate || *loanCents <= 0 || *paymentCents <= 0 ||
        loan.Term < 1 || loan.Term > MaxScheduleMonths)
        return std::nullopt;
    const TMonthlyInterest interestOn(*rate);
    const long long payment = *paymentCents;
    if (payment <= interestOn(*loanCents))
        return std::nullopt;

    TSchedule s;
    s.Loan = {Amount(*loanCents), loan.Rate, loan.Term, Amount(payment)};
    long long balance = *loanCents, totalInterest = 0, totalPayments = 0;
    for (int month = 1;; ++month) {
        const long long interest = interestOn(balance);
        const bool last = month == loan.Term || balance + interest <= payment;
        const long long paid = last ? balance + interest : payment;
        const long long principal = paid - interest;
        balance -= principal;
        totalInterest += interest;
        totalPayments += paid;
        s.Months.push_back({month, Amount(paid), Amount(principal), Amount(interest),
                            Amount(balance), Amount(totalInterest)});
        if (last)
            break;
    }
    s.LastPayment = s.Months.back().Payment;
    s.TotalPayments = Amount(totalPayments);
    s.TotalInterest = Amount(totalInterest);
    return s;
}

std::vector<TScheduleRow> ScheduleByYear(const TSchedule &schedule) {
    std::vector<TScheduleRow> years;
    long long payment = 0, principal = 0, interest = 0;
    for (size_t k = 0; k < schedule.Months.size(); ++k) {
        const TScheduleRow &m = schedule.Months[k];
        payment += CentsOf(m.Payment);
        principal += CentsOf(m.Principal);
        interest += CentsOf(m.Interest);
        if (k % 12 == 11 || k + 1 == schedule.Months.size()) {
            years.push_back({int(k / 12) + 1, Amount(payment), Amount(principal), Amount(interest),
                             m.Balance, m.TotalInterest});
            payment = principal = interest = 0;
        }
    }
    return years;
}

std::string ScheduleCsv(const std::vector<TScheduleRow> &rows) {
    std::string out = "No.,Payment,Principal,Interest,Balance,Total Interest\r\n";
    for (const TScheduleRow &r : rows) {
        out += std::to_string(r.No);
        for (double v : {r.Payment, r.Principal, r.Interest, r.Balance, r.TotalInterest}) {
            out += ',';
            AppendAmount(out, v);
        }
        out += "\r\n";
    }
    return out;
}
