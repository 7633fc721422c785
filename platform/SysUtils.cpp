#include "platform/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <langinfo.h>
#include <locale.h>
#include <optional>
#include <vector>

// ---- Regional settings ------------------------------------------------------------------

TFormatSettings UnitedStatesFormatSettings() {
    return TFormatSettings{};
}

namespace {

// Windows' negative currency forms by (sign position, symbol before, blank between).
int NegativeCurrencyForm(int signPosn, bool precedes, bool space) {
    switch (signPosn) {
    case 0:
        return precedes ? (space ? 14 : 0) : (space ? 15 : 4);
    case 2:
        return precedes ? (space ? 11 : 3) : (space ? 10 : 7);
    case 3:
        return precedes ? (space ? 9 : 1) : (space ? 13 : 6);
    case 4:
        return precedes ? (space ? 12 : 2) : (space ? 10 : 7);
    default: // 1 and anything unknown: the sign before symbol and amount
        return precedes ? (space ? 9 : 1) : (space ? 8 : 5);
    }
}

// strftime patterns to ours; what has no counterpart is kept as it stands.
std::string PatternFromStrftime(const std::string &f) {
    std::string out;
    for (size_t i = 0; i < f.size(); ++i) {
        if (f[i] != '%' || i + 1 == f.size()) {
            out += f[i];
            continue;
        }
        char c = f[++i];
        if (c == 'E' || c == 'O' || c == '-') { // modifiers: read the conversion behind them
            if (i + 1 == f.size())
                break;
            c = f[++i];
        }
        switch (c) {
        case 'd':
            out += "dd";
            break;
        case 'e':
            out += "d";
            break;
        case 'm':
            out += "mm";
            break;
        case 'y':
            out += "yy";
            break;
        case 'Y':
            out += "yyyy";
            break;
        case 'D':
            out += "mm/dd/yy";
            break;
        case 'F':
            out += "yyyy-mm-dd";
            break;
        case 'H':
            out += "hh";
            break;
        case 'I':
            out += "hh";
            break;
        case 'l':
            out += "h";
            break;
        case 'M':
            out += "nn";
            break;
        case 'S':
            out += "ss";
            break;
        case 'p':
        case 'P':
            out += "AMPM";
            break;
        case 'r':
            out += "hh:nn:ss AMPM";
            break;
        case 'T':
            out += "hh:nn:ss";
            break;
        case 'R':
            out += "hh:nn";
            break;
        case '%':
            out += '%';
            break;
        default:
            break;
        }
    }
    return out;
}

} // namespace

TFormatSettings FormatSettingsFromConventions(const TLocaleConventions &c) {
    TFormatSettings fs = UnitedStatesFormatSettings();
    if (c.CurrencySymbol.empty())
        return fs;
    fs.CurrencyString = c.CurrencySymbol;
    const bool pPre = c.PCsPrecedes != 0; // not given: before, as in the United States
    const bool pSpace = c.PSepBySpace == 1 || c.PSepBySpace == 2;
    fs.CurrencyFormat = pPre ? (pSpace ? 2 : 0) : (pSpace ? 3 : 1);
    const bool nPre = c.NCsPrecedes < 0 ? pPre : c.NCsPrecedes != 0;
    const bool nSpace = c.NSepBySpace < 0 ? pSpace : (c.NSepBySpace == 1 || c.NSepBySpace == 2);
    fs.NegCurrFormat = NegativeCurrencyForm(c.NSignPosn < 0 ? 1 : c.NSignPosn, nPre, nSpace);
    fs.DecimalSeparator = !c.DecimalPoint.empty()      ? c.DecimalPoint
                          : !c.MonDecimalPoint.empty() ? c.MonDecimalPoint
                                                       : ".";
    fs.ThousandSeparator = !c.ThousandsSep.empty() ? c.ThousandsSep : c.MonThousandsSep;
    if (fs.ThousandSeparator == fs.DecimalSeparator)
        fs.ThousandSeparator.clear();
    if (c.FracDigits >= 0 && c.FracDigits <= 18)
        fs.CurrencyDecimals = c.FracDigits;
    if (!c.DateFormat.empty())
        fs.ShortDateFormat = PatternFromStrftime(c.DateFormat);
    if (!c.TimeFormat.empty())
        fs.LongTimeFormat = PatternFromStrftime(c.TimeFormat);
    return fs;
}

TFormatSettings LocaleFormatSettings(const char *localeName) {
    locale_t loc = newlocale(LC_ALL_MASK, localeName, locale_t(nullptr));
    if (!loc)
        return UnitedStatesFormatSettings();
    auto text = [loc](nl_item item) {
        return std::string(nl_langinfo_l(item, loc));
    };
    auto number = [loc](nl_item item) {
        const char c = *nl_langinfo_l(item, loc);
        return c == CHAR_MAX || c < 0 ? -1 : int(c);
    };
    TLocaleConventions c;
    c.CurrencySymbol = text(CURRENCY_SYMBOL);
    c.DecimalPoint = text(RADIXCHAR);
    c.ThousandsSep = text(THOUSEP);
    c.MonDecimalPoint = text(MON_DECIMAL_POINT);
    c.MonThousandsSep = text(MON_THOUSANDS_SEP);
    c.FracDigits = number(FRAC_DIGITS);
    c.PCsPrecedes = number(P_CS_PRECEDES);
    c.PSepBySpace = number(P_SEP_BY_SPACE);
    c.NCsPrecedes = number(N_CS_PRECEDES);
    c.NSepBySpace = number(N_SEP_BY_SPACE);
    c.NSignPosn = number(N_SIGN_POSN);
    c.DateFormat = text(D_FMT);
    c.TimeFormat = text(T_FMT);
    freelocale(loc);
    return FormatSettingsFromConventions(c);
}

namespace {
std::optional<TFormatSettings> &ProcessSettings() {
    static std::optional<TFormatSettings> settings;
    return settings;
}
} // namespace

const TFormatSettings &FormatSettings() {
    auto &s = ProcessSettings();
    if (!s)
        s = LocaleFormatSettings("");
    return *s;
}

void SetFormatSettings(const TFormatSettings &settings) {
    ProcessSettings() = settings;
}

// ---- Number to text ---------------------------------------------------------------------

TFloatRec FloatToDecimal(double value, int precision, int decimals) {
    TFloatRec rec;
    if (std::isnan(value)) {
        rec.Special = true;
        rec.Digits = "NAN";
        return rec;
    }
    rec.Negative = std::signbit(value);
    if (std::isinf(value)) {
        rec.Special = true;
        rec.Digits = "INF";
        return rec;
    }
    if (value == 0) { // zero, of either sign, is a positive zero
        rec.Negative = false;
        return rec;
    }
    precision = std::clamp(precision, 1, 18);

    // 18 significant digits, correctly rounded: d.ddddddddddddddddde+xx
    char buf[40] = {};
    std::to_chars(buf, buf + sizeof buf - 1, std::fabs(value), std::chars_format::scientific, 17);
    std::string digits;
    digits += buf[0];
    digits.append(buf + 2, 17);
    rec.Exponent = std::atoi(buf + 20) + 1;

    // Keep at most `precision` digits and at most `decimals` decimals; halves away from zero.
    const long keep = std::min<long>(precision, long(rec.Exponent) + decimals);
    if (keep < 0) {
        rec.Negative = false;
        return rec;
    }
    const bool up = keep < long(digits.size()) && digits[keep] >= '5';
    digits.resize(keep);
    if (up) {
        long i = keep - 1;
        while (i >= 0 && digits[i] == '9')
            digits[i--] = '0';
        if (i >= 0) {
            ++digits[i];
        } else { // all nines, or nothing kept: the next power of ten
            digits = "1";
            ++rec.Exponent;
        }
    }
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    rec.Digits = digits;
    if (digits.empty())
        rec.Negative = false; // rounds to zero: a positive zero
    return rec;
}

namespace {

std::string Grouped(const std::string &integer, const std::string &separator) {
    if (separator.empty())
        return integer;
    std::string out;
    for (size_t i = 0; i < integer.size(); ++i) {
        if (i > 0 && (integer.size() - i) % 3 == 0)
            out += separator;
        out += integer[i];
    }
    return out;
}

// The integer digits of a rounded number; at least `minDigits`, "0" padding in front.
std::string IntegerDigits(const TFloatRec &rec, int minDigits) {
    std::string s;
    for (int i = 0; i < rec.Exponent; ++i)
        s += i < int(rec.Digits.size()) ? rec.Digits[i] : '0';
    if (int(s.size()) < minDigits)
        s.insert(0, minDigits - s.size(), '0');
    return s;
}

// The first `count` decimal digits of a rounded number.
std::string DecimalDigits(const TFloatRec &rec, int count) {
    std::string s;
    for (int k = 0; k < count; ++k) {
        const int i = rec.Exponent + k;
        s += i >= 0 && i < int(rec.Digits.size()) ? rec.Digits[i] : '0';
    }
    return s;
}

std::string SpecialText(const TFloatRec &rec) {
    return rec.Negative && rec.Digits == "INF" ? "-INF" : rec.Digits;
}

std::string GeneralForm(const TFloatRec &rec, int precision, const TFormatSettings &fs) {
    if (rec.Special)
        return SpecialText(rec);
    if (rec.Digits.empty())
        return "0";
    std::string s = rec.Negative ? "-" : "";
    if (rec.Exponent > precision || rec.Exponent < -3) {
        s += rec.Digits[0];
        if (rec.Digits.size() > 1)
            s += fs.DecimalSeparator + rec.Digits.substr(1);
        const int e = rec.Exponent - 1;
        s += "E" + std::string(e < 0 ? "-" : "") + std::to_string(std::abs(e));
        return s;
    }
    s += IntegerDigits(rec, 1);
    const int decimals = int(rec.Digits.size()) - rec.Exponent;
    if (decimals > 0)
        s += fs.DecimalSeparator + DecimalDigits(rec, decimals);
    return s;
}

std::string CurrencyForm(const std::string &amount, bool negative, const TFormatSettings &fs) {
    static const char *const positive[] = {"$1", "1$", "$ 1", "1 $"};
    static const char *const negativeForms[] = {"($1)", "-$1",  "$-1",   "$1-",  "(1$)", "-1$",
                                                "1-$",  "1$-",  "-1 $",  "-$ 1", "1 $-", "$ 1-",
                                                "$ -1", "1- $", "($ 1)", "(1 $)"};
    const char *form = negative ? negativeForms[std::clamp(fs.NegCurrFormat, 0, 15)]
                                : positive[std::clamp(fs.CurrencyFormat, 0, 3)];
    std::string out;
    for (const char *p = form; *p; ++p) {
        if (*p == '$')
            out += fs.CurrencyString;
        else if (*p == '1')
            out += amount;
        else
            out += *p;
    }
    return out;
}

} // namespace

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings &fs) {
    precision = std::clamp(precision, 1, 18);
    if (format == ffGeneral)
        return GeneralForm(FloatToDecimal(value, precision, 9999), precision, fs);

    digits = std::clamp(digits, 0, 18);
    const TFloatRec rec = FloatToDecimal(value, precision, digits);
    if (rec.Special)
        return SpecialText(rec);
    if (rec.Exponent > precision)
        return GeneralForm(FloatToDecimal(value, precision, 9999), precision, fs);

    std::string integer = IntegerDigits(rec, 1);
    if (format != ffFixed)
        integer = Grouped(integer, fs.ThousandSeparator);
    std::string amount = integer;
    if (digits > 0)
        amount += fs.DecimalSeparator + DecimalDigits(rec, digits);
    if (format == ffCurrency)
        return CurrencyForm(amount, rec.Negative, fs);
    return rec.Negative ? "-" + amount : amount;
}

std::string FloatToStr(double value, const TFormatSettings &fs) {
    return FloatToStrF(value, ffGeneral, 15, 0, fs);
}

namespace {

struct TPatternSection {
    std::string Prefix, Suffix; // literal text before the first and after the last placeholder
    int IntegerPlaces = 0;      // placeholders before the point
    int IntegerRequired = 0;    // of which required ("0" from the first "0" on)
    int DecimalPlaces = 0;      // placeholders after the point
    int DecimalRequired = 0;    // up to the last "0" after the point
    bool Grouping = false;
    bool HasPlaceholders() const { return IntegerPlaces + DecimalPlaces > 0; }
};

std::vector<std::string> SplitSections(const std::string &pattern) {
    std::vector<std::string> sections(1);
    char quote = 0;
    for (char c : pattern) {
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            sections.emplace_back();
            continue;
        }
        sections.back() += c;
    }
    return sections;
}

TPatternSection ParseSection(const std::string &text) {
    TPatternSection s;
    bool afterPoint = false, seenPlaceholder = false, seenZero = false;
    char quote = 0;
    std::string pending; // literal text since the last placeholder
    for (char c : text) {
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                pending += c;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '0' || c == '#') {
            if (!seenPlaceholder)
                s.Prefix = pending;
            pending.clear();
            seenPlaceholder = true;
            if (afterPoint) {
                ++s.DecimalPlaces;
                if (c == '0')
                    s.DecimalRequired = s.DecimalPlaces;
            } else {
                ++s.IntegerPlaces;
                seenZero = seenZero || c == '0';
                if (seenZero)
                    ++s.IntegerRequired;
            }
        } else if (c == '.' && !afterPoint) {
            afterPoint = true;
        } else if (c == ',' && !afterPoint) {
            s.Grouping = true;
        } else {
            pending += c;
        }
    }
    if (seenPlaceholder)
        s.Suffix = pending;
    else
        s.Prefix = pending;
    return s;
}

} // namespace

std::string FormatFloat(const std::string &pattern, double value, const TFormatSettings &fs) {
    if (pattern.empty())
        return FloatToStr(value, fs);
    if (std::isnan(value) || std::isinf(value))
        return FloatToStr(value, fs);
    const std::vector<std::string> sections = SplitSections(pattern);
    auto sectionText = [&](size_t i) -> const std::string * {
        return i < sections.size() && !sections[i].empty() ? &sections[i] : nullptr;
    };
    const std::string *chosen = &sections[0];
    bool writeMinus = false;
    if (value < 0) {
        if (const std::string *neg = sectionText(1))
            chosen = neg;
        else
            writeMinus = true;
    } else if (value == 0) {
        if (const std::string *zero = sectionText(2))
            chosen = zero;
    }
    if (chosen->empty()) // no section for the value at all: the general form
        return FloatToStr(value, fs);
    TPatternSection s = ParseSection(*chosen);
    TFloatRec rec = FloatToDecimal(value, 18, s.DecimalPlaces);
    if (rec.Digits.empty() && value != 0) {
        if (const std::string *zero = sectionText(2)) { // rounds to zero: the zero section
            s = ParseSection(*zero);
            writeMinus = false;
        }
    }
    if (!s.HasPlaceholders())
        return s.Prefix;
    std::string integer = IntegerDigits(rec, s.IntegerRequired);
    if (s.IntegerRequired == 0 && integer == std::string(integer.size(), '0'))
        integer.clear();
    if (s.Grouping)
        integer = Grouped(integer, fs.ThousandSeparator);
    std::string decimals = DecimalDigits(rec, s.DecimalPlaces);
    while (int(decimals.size()) > s.DecimalRequired && decimals.back() == '0')
        decimals.pop_back();
    std::string out = s.Prefix + integer;
    if (!decimals.empty())
        out += fs.DecimalSeparator + decimals;
    out += s.Suffix;
    return writeMinus && !rec.Digits.empty() ? "-" + out : out;
}

// ---- Text to number ---------------------------------------------------------------------

bool TryStrToFloat(const std::string &text, double &value, const TFormatSettings &fs) {
    size_t i = 0, end = text.size();
    while (i < end && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    while (end > i && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    std::string plain; // the number with "." as its point, for strtod
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            plain += '-';
        ++i;
    }
    int mantissaDigits = 0;
    bool point = false;
    const std::string &sep = fs.DecimalSeparator;
    while (i < end) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            plain += c;
            ++mantissaDigits;
            ++i;
        } else if (!point && !sep.empty() && text.compare(i, sep.size(), sep) == 0) {
            plain += '.';
            point = true;
            i += sep.size();
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-'))
            plain += text[i++];
        int exponentDigits = 0;
        while (i < end && text[i] >= '0' && text[i] <= '9') {
            plain += text[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return false;
    }
    if (i != end)
        return false;
    // The grammar is checked above; strtod in the C locale only reads it.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    errno = 0;
    char *stop = nullptr;
    const double v = strtod_l(plain.c_str(), &stop, cLocale);
    if (stop != plain.c_str() + plain.size())
        return false;
    if (errno == ERANGE && std::isinf(v)) // too large for a double; a too small one reads as 0
        return false;
    value = v;
    return true;
}

double StrToFloat(const std::string &text, const TFormatSettings &fs) {
    double value = 0;
    if (!TryStrToFloat(text, value, fs))
        throw EConvertError(EConvertError::FloatValue, text);
    return value;
}

int StrToInt(const std::string &text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const char *first = text.data() + i;
    const char *last = text.data() + text.size();
    if (first != last && *first == '+' && first + 1 != last && first[1] != '-')
        ++first;
    int value = 0;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last)
        throw EConvertError(EConvertError::IntegerValue, text);
    return value;
}

std::string FormatDateTime(const std::string &pattern, const std::tm &t) {
    const bool twelveHours = pattern.find("AMPM") != std::string::npos;
    const auto number = [](int value, bool twoDigits) {
        std::string s = std::to_string(value);
        return twoDigits && s.size() < 2 ? "0" + s : s;
    };
    std::string out;
    for (size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        if (pattern.compare(i, 4, "AMPM") == 0) {
            out += t.tm_hour < 12 ? "AM" : "PM";
            i += 4;
            continue;
        }
        const bool two = run >= 2;
        switch (c) {
        case 'd':
            out += number(t.tm_mday, two);
            break;
        case 'm':
            out += number(t.tm_mon + 1, two);
            break;
        case 'y':
            out +=
                run >= 4 ? number(t.tm_year + 1900, false) : number((t.tm_year + 1900) % 100, true);
            break;
        case 'h': {
            int hour = t.tm_hour;
            if (twelveHours)
                hour = hour % 12 == 0 ? 12 : hour % 12;
            out += number(hour, two);
            break;
        }
        case 'n':
            out += number(t.tm_min, two);
            break;
        case 's':
            out += number(t.tm_sec, two);
            break;
        default:
            out.append(run, c);
            break;
        }
        i += run;
    }
    return out;
}
