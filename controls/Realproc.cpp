#include "controls/Realproc.h"

#include <QCoreApplication>
#include <QStringView>
#include <cmath>

namespace {

// Ties go to the even neighbour whatever the floating-point rounding mode of the process.
double RoundHalfEven(double x) {
    if (std::fabs(x - std::trunc(x)) == 0.5)
        return 2.0 * std::round(x / 2.0);
    return std::round(x);
}

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The length of `separator` when the text holds it at position i, else 0.
qsizetype SeparatorAt(const QString &text, qsizetype i, const QString &separator) {
    if (separator.isEmpty() || !QStringView(text).mid(i).startsWith(separator))
        return 0;
    return separator.size();
}

QString Text(const std::string &s) {
    return QString::fromStdString(s);
}

} // namespace

double RoundToDecimals(double value, int decimals, bool useRounding) {
    const double scale = std::pow(10.0, decimals);
    double scaled = value * scale;
    if (!(std::fabs(scaled) < std::ldexp(1.0, 63))) // does not fit a 64-bit integer, or NaN
        return value;
    // The product carries the binary error of the value and of the multiplication, at most one
    // and a half units in its last place: 1.15 x 100 gives 114.99999999999999. A whole number
    // (for cutting) or a half (for rounding) that close is the decimal the value stands for.
    const double magnitude = std::fabs(scaled);
    const double ulp = std::nextafter(magnitude, INFINITY) - magnitude;
    const double mark = useRounding ? std::floor(scaled) + 0.5 : std::round(scaled);
    if (std::fabs(scaled - mark) <= 2 * ulp)
        scaled = mark;
    return (useRounding ? RoundHalfEven(scaled) : std::trunc(scaled)) / scale;
}

namespace {
// The digits and the decimal separator of a text, and its thousands separators when asked;
// every other character is dropped.
QString KeptDigits(const QString &text, bool keepThousands, const TFormatSettings &fs) {
    const QString decimal = Text(fs.DecimalSeparator);
    const QString thousands = keepThousands ? Text(fs.ThousandSeparator) : QString();
    QString out;
    for (qsizetype i = 0; i < text.size();) {
        if (IsDigit(text[i])) {
            out += text[i++];
        } else if (const qsizetype n = SeparatorAt(text, i, decimal)) {
            out += decimal;
            i += n;
        } else if (const qsizetype m = SeparatorAt(text, i, thousands)) {
            out += thousands;
            i += m;
        } else {
            ++i;
        }
    }
    return out;
}
} // namespace

QString EditingText(const QString &displayText, bool negative, const TFormatSettings &fs) {
    QString text = displayText;
    // A currency symbol may hold a point ("S/."); it is no part of the number.
    if (!fs.CurrencyString.empty())
        text.remove(Text(fs.CurrencyString));
    return (negative ? "-" : "") + KeptDigits(text, true, fs);
}

QString NumberText(const QString &text, const TFormatSettings &fs) {
    QString out = KeptDigits(text, false, fs);
    if (text.startsWith(u'-') || text.endsWith(u'-'))
        out.prepend(u'-');
    return out.left(80);
}

QString RangeMessage(double min, double max, const TFormatSettings &fs) {
    return QCoreApplication::translate("TFnpNumericEdit", "Value must be between %1 and %2")
        .arg(Text(FloatToStr(min, fs)), Text(FloatToStr(max, fs)))
        .left(80);
}

TTypedChar FilterTypedChar(const QString &rest, const QString &typed, int limit,
                           const TFormatSettings &fs) {
    const QString decimal = Text(fs.DecimalSeparator);
    const QString thousands = Text(fs.ThousandSeparator);
    TTypedChar result{false, limit};
    // The decimal separator and the sign are each taken once, and each makes room for itself.
    if (typed == decimal || typed == u"-") {
        if (rest.contains(typed))
            return result;
        if (limit > 0)
            ++result.Limit;
    } else if (!(typed.size() == 1 && IsDigit(typed[0])) &&
               !(!thousands.isEmpty() && typed == thousands)) {
        return result;
    }
    result.Insert = result.Limit <= 0 || rest.size() + typed.size() <= result.Limit;
    return result;
}
