#include "app/CommandLine.h"

#include "engine/Amortize.h"
#include "engine/CalcMode.h"
#include "engine/Compare.h"
#include "engine/Spread.h"
#include "platform/Version.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

namespace {

enum class TFormat { Text, Tsv, Csv, Json };

// A bad command line: the one line that says what is wrong.
struct TUsageError {
    std::string Message;
};

// A message on one line: each control character of the text (a line break, a tab, an escape)
// written as its C escape.
std::string OneLine(const std::string &text) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f)
            out += c;
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else
            out += std::string("\\x") + hex[byte >> 4] + hex[byte & 15];
    }
    return out;
}

[[noreturn]] void Fail(const std::string &option, const std::string &what) {
    throw TUsageError{"quorvale: " + option + ": " + what};
}

// ---- Values ------------------------------------------------------------------------------

// A number written with "." for its decimals whatever the locale: an optional "-", digits
// and at most one point. Its decimals do not count trailing zeros.
struct TNumber {
    double Value = 0;
    int IntegerDigits = 0, Decimals = 0;
};

TNumber ParseNumber(const std::string &option, const std::string &text) {
    TNumber n;
    const size_t start = !text.empty() && text[0] == '-';
    const size_t point = text.find('.');
    const std::string integer = text.substr(start, point - start);
    std::string decimals = point == std::string::npos ? "" : text.substr(point + 1);
    auto digits = [](const std::string &s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (integer.size() + decimals.size() == 0 || !digits(integer) || !digits(decimals) ||
        std::from_chars(text.data(), text.data() + text.size(), n.Value).ptr !=
            text.data() + text.size())
        Fail(option, "'" + text + "' is not a number");
    while (!decimals.empty() && decimals.back() == '0')
        decimals.pop_back();
    n.Decimals = int(decimals.size());
    n.IntegerDigits =
        int(integer.size() - std::min(integer.find_first_not_of('0'), integer.size()));
    return n;
}

// The window's own ranges: amounts of 12 digits with 2 decimals, a rate of 0 or more with 3
// decimals, a whole term of 1 to 999 months.
double Amount(const std::string &option, const std::string &text) {
    const TNumber n = ParseNumber(option, text);
    if (n.IntegerDigits > 10 || n.Decimals > 2)
        Fail(option, "'" + text +
                         "' is out of range (at most 10 digits before the point and 2 "
                         "after it)");
    return n.Value;
}

double Rate(const std::string &option, const std::string &text) {
    const TNumber n = ParseNumber(option, text);
    if (n.Value < 0 || n.Decimals > 3)
        Fail(option, "'" + text + "' is out of range (0 or more, at most 3 decimals)");
    return n.Value;
}

int Term(const std::string &option, const std::string &text) {
    const TNumber n = ParseNumber(option, text);
    if (n.Decimals > 0 || n.Value < 1 || n.Value > 999)
        Fail(option, "'" + text + "' is out of range (a whole number of months from 1 to 999)");
    return int(n.Value);
}

template <size_t N> std::string ItemList(const std::array<TStep, N> &table) {
    std::string list;
    for (const TStep &step : table)
        list += (list.empty() ? "" : ", ") + std::string(step.Item);
    return list;
}

template <size_t N>
int StepIndex(const std::string &option, const std::string &text,
              const std::array<TStep, N> &table) {
    for (size_t k = 0; k < N; ++k)
        if (text == table[k].Item)
            return int(k);
    Fail(option, "'" + text + "' is not one of " + ItemList(table));
}

std::string ModeList() {
    std::string list;
    for (const TCalcModeInfo &mode : CalcModes)
        list += (list.empty() ? "" : ", ") + std::string(VariableInfo(mode.Result).Name);
    return list;
}

const TCalcModeInfo &Mode(const std::string &text) {
    for (const TCalcModeInfo &mode : CalcModes)
        if (text == VariableInfo(mode.Result).Name)
            return mode;
    Fail("--spread", "'" + text + "' is not a mode (" + ModeList() + ")");
}

TFormat Format(const std::string &text) {
    const std::map<std::string, TFormat> formats{{"text", TFormat::Text},
                                                 {"tsv", TFormat::Tsv},
                                                 {"csv", TFormat::Csv},
                                                 {"json", TFormat::Json}};
    const auto f = formats.find(text);
    if (f == formats.end())
        Fail("--format", "'" + text + "' is not one of text, tsv, csv, json");
    return f->second;
}

// ---- The options of a command --------------------------------------------------------------

// The options given after the command, each at most once: "--name value", "--name=value" or,
// for a flag, "--name" alone.
class TOptions {
public:
    TOptions(const std::vector<std::string> &args, const std::string &command,
             const std::vector<std::string> &valued, const std::vector<std::string> &flags) {
        auto known = [](const std::vector<std::string> &names, const std::string &name) {
            return std::find(names.begin(), names.end(), name) != names.end();
        };
        bool commandSeen = false;
        for (size_t i = 1; i < args.size(); ++i) {
            const std::string &arg = args[i];
            if (!arg.starts_with("--"))
                throw TUsageError{"quorvale: '" + arg + "': unexpected argument"};
            const size_t equals = arg.find('=');
            const std::string name = arg.substr(0, equals);
            if (name == command && !commandSeen) {
                commandSeen = true;
                if (command != "--spread" && equals != std::string::npos)
                    Fail(name, "takes no value");
                if (command == "--spread" && equals != std::string::npos)
                    FMode = arg.substr(equals + 1);
                else if (command == "--spread" && i + 1 < args.size() &&
                         !args[i + 1].starts_with("--"))
                    FMode = args[++i];
                else if (command == "--spread")
                    Fail(command, "missing mode (" + ModeList() + ")");
            } else if (known(flags, name)) {
                if (equals != std::string::npos)
                    Fail(name, "takes no value");
                Store(name, "");
            } else if (known(valued, name)) {
                if (equals != std::string::npos)
                    Store(name, arg.substr(equals + 1));
                else if (i + 1 < args.size() && !args[i + 1].starts_with("--"))
                    Store(name, args[++i]);
                else
                    Fail(name, "missing value");
            } else {
                Fail(name, "not an option of " + command);
            }
        }
    }

    const std::string &ModeName() const { return FMode; }
    const std::string *Find(const std::string &name) const {
        const auto v = FValues.find(name);
        return v == FValues.end() ? nullptr : &v->second;
    }
    bool Has(const std::string &name) const { return Find(name) != nullptr; }
    template <class Convert>
    auto Get(const std::string &name, Convert convert,
             decltype(convert(name, name)) otherwise) const {
        const std::string *v = Find(name);
        return v ? convert(name, *v) : otherwise;
    }

private:
    void Store(const std::string &name, const std::string &value) {
        if (!FValues.emplace(name, value).second)
            Fail(name, "given more than once");
    }

    std::string FMode;
    std::map<std::string, std::string> FValues;
};

TFormat FormatOption(const TOptions &o) {
    return o.Has("--format") ? Format(*o.Find("--format")) : TFormat::Text;
}

// ---- Writing -------------------------------------------------------------------------------

// A number as the shortest text that reads back as it, with "." whatever the locale, and
// without an exponent where one is not needed.
std::string Plain(double v) {
    char text[400];
    auto r = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed);
    if (r.ec != std::errc())
        r = std::to_chars(text, text + sizeof text, v);
    return {text, r.ptr};
}

std::string JsonString(const std::string &s) {
    std::string out = "\"";
    for (char c : s) {
        if (static_cast<unsigned char>(c) < 0x20) { // a control character, as \u00XX
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(c));
            out += escaped;
            continue;
        }
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

// Characters as they show, for a text in the user's encoding (UTF-8).
size_t ShownLength(const std::string &s) {
    return size_t(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// Rows of texts with the columns right-aligned (text) or separated by tabs (tsv).
std::string Table(const std::vector<std::vector<std::string>> &rows, TFormat format) {
    std::vector<size_t> widths;
    for (const auto &row : rows)
        for (size_t c = 0; c < row.size(); ++c) {
            widths.resize(std::max(widths.size(), row.size()));
            widths[c] = std::max(widths[c], ShownLength(row[c]));
        }
    std::string out;
    for (const auto &row : rows) {
        for (size_t c = 0; c < row.size(); ++c) {
            if (format == TFormat::Tsv) {
                out += (c ? "\t" : "") + row[c];
            } else {
                out += std::string(widths[c] - ShownLength(row[c]) + (c ? 2 : 0), ' ') + row[c];
            }
        }
        out += '\n';
    }
    return out;
}

// ---- The spread ----------------------------------------------------------------------------

std::string SpreadOutput(const TSpreadResult &spread, TFormat format) {
    if (format == TFormat::Text || format == TFormat::Tsv) {
        std::vector<std::vector<std::string>> rows(SpreadRows + 1);
        for (int r = 0; r <= SpreadRows; ++r)
            for (int c = 0; c <= SpreadColumns; ++c)
                rows[size_t(r)].push_back(SpreadText(spread, c, r));
        return Table(rows, format);
    }
    const TCalcModeInfo &mode = ModeInfo(spread.Mode);
    const std::string rowName = VariableInfo(mode.Rows).Name,
                      colName = VariableInfo(mode.Columns).Name;
    std::string out;
    if (format == TFormat::Csv) {
        out = rowName + " / " + colName;
        for (double value : spread.ColumnValues)
            out += "," + Plain(value);
        out += "\r\n";
        for (int r = 1; r <= SpreadRows; ++r) {
            out += Plain(spread.RowValue(r));
            for (int c = 1; c <= SpreadColumns; ++c)
                out += "," + Plain(spread.Cell(c, r));
            out += "\r\n";
        }
        return out;
    }
    auto list = [](int count, auto value) {
        std::string s = "[";
        for (int k = 1; k <= count; ++k)
            s += (k > 1 ? "," : "") + value(k);
        return s + "]";
    };
    out = "{\"mode\":" + JsonString(VariableInfo(mode.Result).Name) +
          ",\"rows\":" + JsonString(rowName) + ",\"columns\":" + JsonString(colName);
    out += ",\"rowValues\":" + list(SpreadRows, [&](int r) { return Plain(spread.RowValue(r)); });
    out += ",\"columnValues\":" +
           list(SpreadColumns, [&](int c) { return Plain(spread.ColumnValue(c)); });
    out += ",\"cells\":" + list(SpreadRows, [&](int r) {
               return list(SpreadColumns, [&](int c) { return Plain(spread.Cell(c, r)); });
           });
    return out + "}\n";
}

template <size_t N>
double StepOption(const TOptions &o, const std::string &name, const std::array<TStep, N> &table) {
    return table[size_t(o.Get(
                     name, [&table](auto &n, auto &t) { return StepIndex(n, t, table); },
                     DefaultStepIndex))]
        .Step;
}

TCommandLineAnswer Spread(const std::vector<std::string> &args) {
    const TOptions o(args, "--spread",
                     {"--loan", "--rate", "--term", "--payment", "--loan-step", "--rate-step",
                      "--payment-step", "--format"},
                     {});
    const TCalcModeInfo &mode = Mode(o.ModeName());
    TSpreadInputs inputs;
    inputs.Loan = o.Get("--loan", Amount, VariableInfo(TVariable::Loan).Default);
    inputs.Rate = o.Get("--rate", Rate, VariableInfo(TVariable::Rate).Default);
    inputs.Term = o.Get("--term", Term, int(VariableInfo(TVariable::Term).Default));
    inputs.Payment = o.Get("--payment", Amount, VariableInfo(TVariable::Payment).Default);
    inputs.LoanStep = StepOption(o, "--loan-step", LoanSteps);
    inputs.RateStep = StepOption(o, "--rate-step", RateSteps);
    inputs.PaymentStep = StepOption(o, "--payment-step", PaymentSteps);
    const TFormat format = FormatOption(o);

    const TSpreadResult spread = Calculate(mode.Mode, inputs);
    if (spread.Failure)
        std::rethrow_exception(spread.Failure->Error);
    return {SpreadOutput(spread, format), "", 0};
}

// ---- The schedule --------------------------------------------------------------------------

// A field of a CSV line, quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string &text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (char c : text)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

// A loan with a plan: tsv and csv follow the table with an empty line and the summary, a
// caption and a value a line, so that a script reading the table alone stops at the empty line.
// A plain loan's output stays the table alone.
std::string SummaryAfterTable(const TSchedule &s, TFormat format) {
    if (s.Plan == TLoanPlan{})
        return "";
    const bool csv = format == TFormat::Csv;
    const std::string end = csv ? "\r\n" : "\n";
    std::string out = end;
    for (const TSummaryLine &line : ScheduleSummary(s))
        out += csv ? CsvField(line.Caption.Text()) + "," + CsvField(line.Value.Text()) + end
                   : line.Caption.Text() + "\t" + line.Value.Text() + end;
    return out;
}

std::string ScheduleOutput(const TSchedule &s, const std::vector<TScheduleRow> &rows,
                           TFormat format, bool byYear) {
    if (format == TFormat::Csv)
        return ScheduleCsv(s, rows) + SummaryAfterTable(s, format);
    const std::vector<TScheduleColumn> columns = ScheduleColumns(s);
    if (format == TFormat::Json) {
        auto optional = [](const std::optional<double> &v) {
            return v ? Plain(std::round(*v * 1000) / 1000) : std::string("null");
        };
        std::string out =
            "{\"loan\":" + Plain(Money(s.Amount)) + ",\"rate\":" + Plain(s.Rate) +
            ",\"term\":" + std::to_string(s.Term) +
            ",\"payment\":" + Plain(Money(s.Payments.front().Payment)) +
            ",\"lastPayment\":" + Plain(Money(s.LastPayment)) +
            ",\"totalPayments\":" + Plain(Money(s.TotalPayments)) +
            ",\"totalInterest\":" + Plain(Money(s.TotalInterest)) +
            ",\"fees\":" + Plain(Money(s.Charges)) +
            ",\"total_cost\":" + Plain(Money(s.TotalCost)) +
            ",\"interest_saved\":" + Plain(Money(s.InterestSaved)) +
            ",\"payments_saved\":" + std::to_string(s.PaymentsSaved) + ",\"payoff_date\":" +
            (s.PayoffDate ? JsonString(IsoDate(*s.PayoffDate)) : std::string("null")) +
            ",\"apr\":" + optional(s.Apr) + ",\"aprc\":" + optional(s.Aprc) +
            ",\"byYear\":" + (byYear ? "true" : "false") + ",\"rows\":[";
        for (const TScheduleRow &r : rows) {
            out += &r == &rows.front() ? "{" : ",{";
            for (const TScheduleColumn &c : columns) {
                const std::string v = SchedulePlainText(r, c);
                out += std::string(&c == &columns.front() ? "" : ",") + JsonString(c.Key) + ":" +
                       (c.Kind == TColumnKind::Date ? JsonString(v) : v);
            }
            out += "}";
        }
        return out + "]}\n";
    }
    std::vector<std::vector<std::string>> table(1);
    for (const TScheduleColumn &c : columns)
        table[0].push_back(c.Heading);
    for (const TScheduleRow &r : rows) {
        table.emplace_back();
        for (const TScheduleColumn &c : columns)
            table.back().push_back(ScheduleCellText(r, c));
    }
    if (format == TFormat::Tsv)
        return Table(table, format) + SummaryAfterTable(s, format);
    std::string out;
    for (const TSummaryLine &line : ScheduleSummary(s))
        out += line.Caption.Text() + " " + line.Value.Text() + "\n";
    return out + "\n" + Table(table, format);
}

// An amount of the loan that must be more than 0.
double PositiveAmount(const std::string &option, const std::string &text) {
    const double v = Amount(option, text);
    if (v <= 0)
        Fail(option, "'" + text + "' is out of range (more than 0)");
    return v;
}

// An amount of 0 or more, in cents.
TCents Cents(const std::string &option, const std::string &text) {
    const double v = Amount(option, text);
    if (v < 0)
        Fail(option, "'" + text + "' is out of range (0 or more)");
    return *ToCents(v);
}

// A whole number from `low` to `high`; `what` names it in the message.
int Whole(const std::string &option, const std::string &text, int low, int high,
          const std::string &what) {
    const TNumber n = ParseNumber(option, text);
    if (n.Decimals > 0 || n.Value < low || n.Value > high)
        Fail(option, "'" + text + "' is out of range (" + what + " from " + std::to_string(low) +
                         " to " + std::to_string(high) + ")");
    return int(n.Value);
}

// The parts of "A:B:C", at least `least` and at most `most` of them.
std::vector<std::string> Parts(const std::string &option, const std::string &text, size_t least,
                               size_t most, const std::string &form) {
    std::vector<std::string> parts(1);
    for (char c : text)
        if (c == ':')
            parts.emplace_back();
        else
            parts.back().push_back(c);
    if (parts.size() < least || parts.size() > most)
        Fail(option, "'" + text + "' is not " + form);
    return parts;
}

std::optional<std::chrono::year_month_day> Date(const std::string &option,
                                                const std::string &text) {
    const bool shaped =
        text.size() == 10 && text[4] == '-' && text[7] == '-' &&
        std::all_of(text.begin(), text.end(), [](char c) { return c == '-' || std::isdigit(c); });
    const std::chrono::year_month_day date{
        std::chrono::year(shaped ? std::stoi(text.substr(0, 4)) : 0),
        std::chrono::month(shaped ? unsigned(std::stoi(text.substr(5, 2))) : 0),
        std::chrono::day(shaped ? unsigned(std::stoi(text.substr(8, 2))) : 0)};
    if (!date.ok())
        Fail(option, "'" + text + "' is not a date (YYYY-MM-DD)");
    return date;
}

// The values of an option that may be given more than once, taken out of `args`.
std::vector<std::string> TakeRepeated(std::vector<std::string> &args, const std::string &name) {
    std::vector<std::string> values;
    for (size_t i = 1; i < args.size();) {
        if (args[i].starts_with(name + "=")) {
            values.push_back(args[i].substr(name.size() + 1));
            args.erase(args.begin() + std::ptrdiff_t(i));
        } else if (args[i] == name) {
            if (i + 1 == args.size() || args[i + 1].starts_with("--"))
                Fail(name, "missing value");
            values.push_back(args[i + 1]);
            args.erase(args.begin() + std::ptrdiff_t(i), args.begin() + std::ptrdiff_t(i + 2));
        } else {
            ++i;
        }
    }
    return values;
}

// What the options of a real loan add to it, checked against its term.
TLoanPlan Plan(const TOptions &o, std::vector<std::string> lumps,
               std::vector<std::string> rateChanges, int term) {
    TLoanPlan plan;
    plan.Fees = o.Get("--fees", Cents, TCents(0));
    plan.Points = o.Get(
        "--points",
        [](const std::string &n, const std::string &t) {
            const double v = Rate(n, t);
            if (v > 100)
                Fail(n, "'" + t + "' is out of range (0 to 100)");
            return v;
        },
        0.0);
    plan.LoanDate = o.Get("--loan-date", Date, std::nullopt);
    plan.FirstPayment = o.Get("--first-payment", Date, std::nullopt);
    if (plan.LoanDate && plan.FirstPayment && *plan.FirstPayment <= *plan.LoanDate)
        Fail("--first-payment", "'" + *o.Find("--first-payment") + "' is not after the loan date");
    const std::string months = "a month of the term";
    if (o.Has("--interest-only"))
        plan.InterestOnly =
            Whole("--interest-only", *o.Find("--interest-only"), 0, term - 1, "a number of months");
    if (const std::string *extra = o.Find("--extra")) {
        const auto p = Parts("--extra", *extra, 1, 3, "AMOUNT[:FROM[:TO]]");
        plan.MonthlyExtra = Cents("--extra", p[0]);
        plan.MonthlyFrom = p.size() > 1 ? Whole("--extra", p[1], 1, term, months) : 1;
        plan.MonthlyTo = p.size() > 2 ? Whole("--extra", p[2], plan.MonthlyFrom, term, months) : 0;
    }
    if (const std::string *yearly = o.Find("--extra-yearly")) {
        const auto p = Parts("--extra-yearly", *yearly, 2, 2, "AMOUNT:MONTH");
        plan.YearlyExtra = Cents("--extra-yearly", p[0]);
        plan.YearlyMonth = Whole("--extra-yearly", p[1], 1, 12, "a month of the year");
    }
    for (const std::string &lump : lumps) {
        const auto p = Parts("--lump", lump, 2, 2, "AMOUNT:MONTH");
        plan.Lumps.push_back({Whole("--lump", p[1], 1, term, months), Cents("--lump", p[0])});
    }
    for (const std::string &change : rateChanges) {
        const auto p = Parts("--rate-change", change, 2, 2, "RATE:MONTH");
        plan.RateChanges.push_back({Whole("--rate-change", p[1], 2, std::max(2, term), months),
                                    Rate("--rate-change", p[0])});
    }
    if (o.Has("--lower-payment"))
        plan.Effect = TExtraEffect::LowerPayment;
    plan.PaymentGiven = o.Has("--payment");
    return plan;
}

TCommandLineAnswer Schedule(std::vector<std::string> args) {
    const std::vector<std::string> lumps = TakeRepeated(args, "--lump");
    const std::vector<std::string> rateChanges = TakeRepeated(args, "--rate-change");
    const TOptions o(args, "--schedule",
                     {"--loan", "--rate", "--term", "--payment", "--format", "--fees", "--points",
                      "--loan-date", "--first-payment", "--interest-only", "--extra",
                      "--extra-yearly"},
                     {"--by-year", "--lower-payment"});
    for (const char *required : {"--loan", "--rate", "--term"})
        if (!o.Has(required))
            Fail("--schedule", std::string("missing ") + required);
    TLoan loan;
    loan.Loan = PositiveAmount("--loan", *o.Find("--loan"));
    loan.Rate = Rate("--rate", *o.Find("--rate"));
    loan.Term = Term("--term", *o.Find("--term"));
    if (o.Has("--payment")) {
        loan.Payment = PositiveAmount("--payment", *o.Find("--payment"));
    } else if (const std::optional<TCents> cents = LevelPayment(loan.Loan, loan.Rate, loan.Term)) {
        loan.Payment = Money(*cents);
    }
    const TLoanPlan plan = Plan(o, lumps, rateChanges, loan.Term);
    const TFormat format = FormatOption(o);
    const TScheduleResult s = MakeSchedule(loan, plan);
    if (!s)
        return {"", std::string(NoScheduleText(s.Reason)) + "\n", 1};
    const bool byYear = o.Has("--by-year");
    return {ScheduleOutput(*s, byYear ? ScheduleByYear(*s) : s->Months, format, byYear), "", 0};
}

// ---- The comparison of offers --------------------------------------------------------------

// One offer: "name=A,loan=X,rate=Y,term=N" and any option of a loan's plan written the same
// way ("points=2,extra=100:13,lump=5000:24,lower-payment"). What is wrong names the offer.
TOffer OfferOption(const std::string &text, int number) {
    std::vector<std::string> args{"quorvale", "--offer"};
    std::optional<std::string> name;
    for (size_t start = 0; start <= text.size();) {
        const size_t comma = std::min(text.find(',', start), text.size());
        const std::string field = text.substr(start, comma - start);
        if (field.starts_with("name=") && !name)
            name = field.substr(5);
        else
            args.push_back("--" + field);
        start = comma + 1;
    }
    TOffer offer;
    offer.Name = name ? *name : "Offer " + std::to_string(number);
    try {
        const std::vector<std::string> lumps = TakeRepeated(args, "--lump");
        const std::vector<std::string> rateChanges = TakeRepeated(args, "--rate-change");
        const TOptions o(args, "--offer",
                         {"--loan", "--rate", "--term", "--payment", "--fees", "--points",
                          "--loan-date", "--first-payment", "--interest-only", "--extra",
                          "--extra-yearly"},
                         {"--lower-payment"});
        for (const char *required : {"--loan", "--rate", "--term"})
            if (!o.Has(required))
                throw TUsageError{std::string("quorvale: missing ") + (required + 2) + "="};
        offer.Loan.Loan = PositiveAmount("--loan", *o.Find("--loan"));
        offer.Loan.Rate = Rate("--rate", *o.Find("--rate"));
        offer.Loan.Term = Term("--term", *o.Find("--term"));
        offer.Loan.Payment = o.Get("--payment", PositiveAmount, 0.0);
        offer.Plan = Plan(o, lumps, rateChanges, offer.Loan.Term);
    } catch (const TUsageError &e) {
        std::string what = e.Message.substr(e.Message.find(": ") + 2);
        if (what.starts_with("--"))
            what.erase(0, 2);
        throw TUsageError{"quorvale: --offer " + offer.Name + ": " + what};
    }
    return offer;
}

std::string OfferNames(const TComparison &c, const std::vector<int> &offers,
                       const std::function<std::string(const std::string &)> &quote) {
    std::string names;
    for (int k : offers)
        names += (names.empty() ? "" : ", ") + quote(c.Offers[size_t(k)].Offer.Name);
    return names;
}

// The offers' rows as the window shows them; in text each value but the first offer's with its
// difference to the first, and "*" before the best of a row that not every offer shares.
std::vector<std::vector<std::string>> CompareTable(const TComparison &c, TFormat format) {
    const int count = int(c.Offers.size());
    std::vector<std::vector<std::string>> table(1, {""});
    for (const TOfferCosts &o : c.Offers)
        table[0].push_back(o.Offer.Name);
    for (int r = 0; r < CompareRowCount; ++r) {
        const TCompareRow row = TCompareRow(r);
        if (!RowShown(c, row))
            continue;
        const TCompareKind kind = CompareRowInfo(row).Kind;
        const std::vector<int> best = BestInRow(c, row);
        const std::optional<double> first = CompareValue(c, 0, row);
        table.push_back({CompareCaption(c, row).Text()});
        for (int k = 0; k < count; ++k) {
            const std::optional<double> v = CompareValue(c, k, row);
            std::string cell = v ? CompareText(kind, *v) : "";
            if (v && format == TFormat::Text) {
                if (k > 0 && first && kind != TCompareKind::Date)
                    cell += " (" + CompareDifference(kind, *v - *first) + ")";
                if (int(best.size()) < count && std::count(best.begin(), best.end(), k))
                    cell = "*" + cell;
            }
            table.back().push_back(cell);
        }
    }
    for (const TBreakEven &pair : c.Pairs)
        table.push_back({BreakEvenCaption(c, pair).Text(), BreakEvenText(pair).Text()});
    return table;
}

// The grid's rows, top left "Extra / Rate", then the extras down and the rates across.
std::vector<std::vector<std::string>> PaydownTable(const TPaydownGrid &g, TFormat format,
                                                   bool interest) {
    const bool plain = format == TFormat::Csv;
    std::vector<std::vector<std::string>> table(1, {"Extra / Rate"});
    for (double rate : g.Rates)
        table[0].push_back(plain ? ComparePlainText(TCompareKind::Percent, rate)
                                 : CompareText(TCompareKind::Percent, rate));
    for (int r = 0; r < PaydownRows; ++r) {
        const double extra = double(g.Extras[size_t(r)]);
        table.push_back({plain ? ComparePlainText(TCompareKind::Money, extra)
                               : CompareText(TCompareKind::Money, extra)});
        for (const TPaydownCell &cell : g.Cells[size_t(r)]) {
            const double v = interest ? double(cell.TotalInterest) : cell.Months;
            const TCompareKind kind = interest ? TCompareKind::Money : TCompareKind::Count;
            table.back().push_back(!cell.Repaid ? ""
                                   : plain      ? ComparePlainText(kind, v)
                                                : CompareText(kind, v));
        }
    }
    return table;
}

std::string PaydownJson(const TOfferCosts &o, const TPaydownGrid &g) {
    auto list = [](int count, auto value) {
        std::string s = "[";
        for (int k = 0; k < count; ++k)
            s += (k ? "," : "") + value(k);
        return s + "]";
    };
    auto cells = [&](auto value) {
        return list(PaydownRows, [&](int r) {
            return list(PaydownColumns, [&](int c) {
                const TPaydownCell &cell = g.Cells[size_t(r)][size_t(c)];
                return cell.Repaid ? value(cell) : std::string("null");
            });
        });
    };
    auto money = [](TCents cents) {
        return ComparePlainText(TCompareKind::Money, double(cents));
    };
    return "{\"offer\":" + JsonString(o.Offer.Name) +
           ",\"extras\":" + list(PaydownRows, [&](int r) { return money(g.Extras[size_t(r)]); }) +
           ",\"rates\":" + list(PaydownColumns, [&](int c) { return Plain(g.Rates[size_t(c)]); }) +
           ",\"months\":" + cells([](const TPaydownCell &c) { return std::to_string(c.Months); }) +
           ",\"total_interest\":" +
           cells([&](const TPaydownCell &c) { return money(c.TotalInterest); }) +
           ",\"interest_saved\":" +
           cells([&](const TPaydownCell &c) { return money(c.InterestSaved); }) + "}";
}

std::string CompareJson(const TComparison &c, const std::vector<TPaydownGrid> &grids) {
    std::string out = "{\"years\":" + std::to_string(c.Years) + ",\"offers\":[";
    for (int k = 0; k < int(c.Offers.size()); ++k) {
        out +=
            std::string(k ? "," : "") + "{\"name\":" + JsonString(c.Offers[size_t(k)].Offer.Name);
        for (int r = 0; r < CompareRowCount; ++r) {
            const TCompareRowInfo &info = CompareRowInfo(TCompareRow(r));
            const std::optional<double> v = CompareValue(c, k, TCompareRow(r));
            const std::string plain = v ? ComparePlainText(info.Kind, *v) : "null";
            out += ",\"" + std::string(info.Key) +
                   "\":" + (v && info.Kind == TCompareKind::Date ? JsonString(plain) : plain);
        }
        out += "}";
    }
    out += "],\"cheapest_at_years\":[" + OfferNames(c, c.CheapestAtYears, JsonString) +
           "],\"best\":[" + OfferNames(c, c.Best, JsonString) + "],\"break_even\":[";
    for (const TBreakEven &pair : c.Pairs) {
        const int other = pair.Payer == pair.First ? pair.Second : pair.First;
        out += std::string(&pair == &c.Pairs.front() ? "{" : ",{") +
               "\"payer\":" + JsonString(c.Offers[size_t(pair.Payer)].Offer.Name) +
               ",\"other\":" + JsonString(c.Offers[size_t(other)].Offer.Name) +
               ",\"month\":" + (pair.Month ? std::to_string(*pair.Month) : "null") + "}";
    }
    out += "]";
    if (!grids.empty()) {
        out += ",\"paydown\":[";
        for (size_t k = 0; k < grids.size(); ++k)
            out += (k ? "," : "") + PaydownJson(c.Offers[k], grids[k]);
        out += "]";
    }
    return out + "}\n";
}

std::string CompareOutput(const TComparison &c, const std::vector<TPaydownGrid> &grids,
                          TFormat format) {
    if (format == TFormat::Json)
        return CompareJson(c, grids);
    auto csvLines = [](const std::vector<std::vector<std::string>> &table) {
        std::string out;
        for (const auto &row : table) {
            for (size_t k = 0; k < row.size(); ++k)
                out += (k ? "," : "") + CsvField(row[k]);
            out += "\r\n";
        }
        return out;
    };
    std::string out;
    if (format == TFormat::Csv) {
        out = CompareCsv(c);
    } else {
        out = Table(CompareTable(c, format), format);
        if (format == TFormat::Text) {
            auto same = [](const std::string &s) {
                return s;
            };
            out += "\nBest overall (lowest total cost): " + OfferNames(c, c.Best, same) +
                   "\nCheapest after " + std::to_string(c.Years) +
                   (c.Years == 1 ? " year: " : " years: ") +
                   OfferNames(c, c.CheapestAtYears, same) + "\n* the best of its row; (" +
                   "difference to " + c.Offers[0].Offer.Name + ")\n";
        }
    }
    for (size_t k = 0; k < grids.size(); ++k)
        for (bool interest : {false, true}) {
            const std::string title = "Paying down " + c.Offers[k].Offer.Name + ": " +
                                      (interest ? "total interest" : "months to payoff");
            const auto table = PaydownTable(grids[k], format, interest);
            if (format == TFormat::Csv)
                out += "\r\n" + CsvField(title) + "\r\n" + csvLines(table);
            else
                out += "\n" + title + "\n" + Table(table, format);
        }
    return out;
}

TCommandLineAnswer CompareOffers(const std::vector<std::string> &args) {
    // The offers may be given again and again; the other options once each.
    std::vector<std::string> rest;
    std::vector<TOffer> offers;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg.starts_with("--offer="))
            offers.push_back(OfferOption(arg.substr(8), int(offers.size()) + 1));
        else if (arg == "--offer" && i + 1 < args.size() && !args[i + 1].starts_with("--"))
            offers.push_back(OfferOption(args[++i], int(offers.size()) + 1));
        else if (arg == "--offer")
            Fail(arg, "missing value");
        else
            rest.push_back(arg);
    }
    const TOptions o(rest, "--compare", {"--years", "--format", "--paydown", "--rate-step"}, {});
    if (offers.size() < 2 || offers.size() > 4)
        Fail("--compare", "takes 2 to 4 offers (--offer), not " + std::to_string(offers.size()));
    const int years = o.Get(
        "--years",
        [](const std::string &name, const std::string &text) {
            const TNumber n = ParseNumber(name, text);
            if (n.Decimals > 0 || n.Value < 1 || n.Value > 100)
                Fail(name,
                     "'" + text + "' is out of range (a whole number of years from 1 to 100)");
            return int(n.Value);
        },
        5);
    const TFormat format = FormatOption(o);
    const double rateStep =
        RateSteps[size_t(o.Get(
                      "--rate-step", [](auto &n, auto &t) { return StepIndex(n, t, RateSteps); },
                      DefaultStepIndex))]
            .Step;
    const TComparison c = Compare(offers, years);
    for (const TOfferCosts &offer : c.Offers)
        if (!offer.Schedule)
            return {"", offer.Offer.Name + ": " + NoScheduleText(offer.Schedule.Reason) + "\n", 1};
    std::vector<TPaydownGrid> grids;
    if (o.Has("--paydown")) {
        const TCents step = *ToCents(PositiveAmount("--paydown", *o.Find("--paydown")));
        for (const TOffer &offer : offers)
            grids.push_back(PaydownGrid(offer, step, rateStep));
    }
    return {CompareOutput(c, grids, format), "", 0};
}

// ---- Help ----------------------------------------------------------------------------------

std::string Help() {
    return "Usage: quorvale [--version | --help]\n"
           "  or:  quorvale --spread MODE [OPTION]...\n"
           "  or:  quorvale --schedule --loan X --rate Y --term N [OPTION]...\n"
           "  or:  quorvale --compare --offer O --offer O... [OPTION]...\n"
           "A desktop calculator that compares fixed-rate loans in a spread of payments,\n"
           "loan amounts, interest rates or terms. Without a command it opens its window\n"
           "(other arguments are ignored); a command prints its answer and ends, without\n"
           "needing a display.\n"
           "\n"
           "Options:\n"
           "  --spread MODE        print the 12 x 8 grid of MODE: " +
           ModeList() +
           "\n"
           "                       (the cells hold payments, loan amounts, rates or terms)\n"
           "  --schedule           print the amortization schedule of one loan\n"
           "  --compare            print the rows of 2 to 4 loan offers side by side, the\n"
           "                       break-even month of each pair and the best offers\n"
           "  --version            print the program's name and version, then end\n"
           "  --help               print this text, then end\n"
           "  --loan X             loan amount (--spread: default 100000)\n"
           "  --rate Y             annual interest rate in percent (--spread: default 8.75)\n"
           "  --term N             term in months, 1 to 999 (--spread: default 360)\n"
           "  --payment P          monthly payment (--spread: default 786.70; --schedule:\n"
           "                       the payment of the loan, rate and term in cents)\n"
           "  --loan-step S        the loan step of --spread (default " +
           LoanSteps[DefaultStepIndex].Item +
           "), one of\n"
           "                       " +
           ItemList(LoanSteps) +
           "\n"
           "  --rate-step S        the rate step of --spread and --paydown (default " +
           RateSteps[DefaultStepIndex].Item +
           "), one of\n"
           "                       " +
           ItemList(RateSteps) +
           "\n"
           "  --payment-step S     the payment step of --spread (default " +
           PaymentSteps[DefaultStepIndex].Item +
           "), one of\n"
           "                       " +
           ItemList(PaymentSteps) +
           "\n"
           "  --by-year            sum each 12 months of --schedule into one row (with dates,\n"
           "                       each calendar year)\n"
           "  --fees AMOUNT        fees paid when the loan is made (--schedule: they enter the\n"
           "                       APR and the total cost, not the schedule)\n"
           "  --points P           points paid when the loan is made, in percent of the loan\n"
           "  --loan-date DATE     the day the loan is made, YYYY-MM-DD (default: a month\n"
           "                       before the first payment)\n"
           "  --first-payment DATE the day of the first payment, YYYY-MM-DD; the others fall\n"
           "                       on the same day of each month (the last of a shorter one)\n"
           "  --interest-only K    months 1 to K pay their interest alone, K below the term\n"
           "  --extra AMOUNT[:FROM[:TO]]\n"
           "                       an extra payment to principal each month, from month FROM\n"
           "                       (default 1) to month TO (default the end)\n"
           "  --extra-yearly AMOUNT:MONTH\n"
           "                       an extra payment in month MONTH (1-12) of each loan year,\n"
           "                       or of each calendar year with dates\n"
           "  --lump AMOUNT:MONTH  a one-off extra payment in month MONTH (repeatable)\n"
           "  --rate-change RATE:MONTH\n"
           "                       the annual rate from month MONTH on, the payment recast\n"
           "                       over the months left (repeatable)\n"
           "  --lower-payment      extras lower the payment instead of shortening the loan\n"
           "  --offer O            an offer of --compare (2 to 4 of them):\n"
           "                       name=A,loan=X,rate=Y,term=N and, as needed, the other\n"
           "                       values of --schedule written the same way: payment=P,\n"
           "                       points=Q, fees=F, extra=E[:FROM[:TO]], lump=E:MONTH, ...\n"
           "  --years Y            the years after which --compare counts the cost if the\n"
           "                       loans end then (default 5)\n"
           "  --paydown STEP       add to --compare the grid of each offer paying down\n"
           "                       faster: monthly extras of 0 to 10 x STEP down, the rates\n"
           "                       around the offer's by --rate-step across\n"
           "  --format F           text (default), tsv, csv or json\n"
           "\n"
           "Numbers are written with \".\" for decimals whatever the locale. Amounts have at\n"
           "most 10 digits before the point and 2 after it; a rate is 0 or more with at most\n"
           "3 decimals; a term is a whole number of months.\n"
           "\n"
           "Formats: text and tsv give the texts the window shows, in the user's locale\n"
           "(tsv separated by tabs); csv (RFC 4180) and json give plain numbers, the spread\n"
           "at full precision with its row and column values, the schedule in cents. The\n"
           "spread's csv starts with ROWS / COLUMNS and the column values, then one line per\n"
           "row: its value and its 7 results. The schedule's text starts with a summary (with\n"
           "a plan: the APR, the APRC, the interest and payments its extras save); its json\n"
           "names them apr, aprc, interest_saved, payments_saved and payoff_date. Its rows\n"
           "gain an Extra column with extras and a Date column with dates.\n"
           "The comparison's text marks the best of each row with \"*\" and shows each value's\n"
           "difference to the first offer; its csv and json give the break-even months (empty\n"
           "or null for never) and, with --paydown, the grids.\n"
           "\n"
           "Examples:\n"
           "  quorvale --spread payment --loan 250000 --rate 6.5 --loan-step 5000\n"
           "  quorvale --schedule --loan 100000 --rate 8.75 --term 360 --by-year\n"
           "  quorvale --schedule --loan 100000 --rate 8.75 --term 360 --extra 100 \\\n"
           "           --lump 10000:12 --fees 2000 --first-payment 2025-02-01\n"
           "  quorvale --compare --offer name=A,loan=100000,rate=8.75,term=360 \\\n"
           "           --offer name=B,loan=100000,rate=8.25,term=360,points=2 --years 10\n"
           "\n"
           "Exit status:\n"
           "  0  the answer was printed\n"
           "  1  no answer: the values give no valid result, or the loan is not repaid by\n"
           "     its payments (the reason on standard error)\n"
           "  2  a bad or missing value, an unknown option or mode (one line on standard\n"
           "     error naming it; nothing on standard output)\n";
}

} // namespace

std::optional<TCommandLineAnswer> CommandLineAnswer(const std::vector<std::string> &args) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == "--version")
            return TCommandLineAnswer{std::string(QuorvaleName) + " " + QuorvaleVersion + "\n", "",
                                      0};
        if (arg == "--help")
            return TCommandLineAnswer{Help(), "", 0};
        const std::string command = arg.substr(0, arg.find('='));
        if (command != "--spread" && command != "--schedule" && command != "--compare")
            continue;
        try {
            if (command == "--compare")
                return CompareOffers(args);
            return command == "--spread" ? Spread(args) : Schedule(args);
        } catch (const TUsageError &e) {
            return TCommandLineAnswer{"", OneLine(e.Message) + "\n", 2};
        } catch (const EMathError &) {
            std::string text = MathErrorText;
            for (size_t at; (at = text.find("\n\r")) != std::string::npos;)
                text.erase(at + 1, 1);
            return TCommandLineAnswer{"", text + "\n", 1};
        }
    }
    return std::nullopt;
}
