// Exceptions, regional settings and text <-> number conversions: the system services the
// engine, the edit boxes and the saved values file share. Plain C++, no Qt.
#pragma once

#include <ctime>
#include <exception>
#include <string>

// ---- Exceptions -------------------------------------------------------------------------

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const std::string &Message() const { return FMessage; }
    const char *what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

// A text that is not a number of the asked kind. The kind and the text are kept apart too, for
// a window to say the message in the user's language.
class EConvertError : public Exception {
public:
    using Exception::Exception;
    enum TKind { Other, FloatValue, IntegerValue };
    EConvertError(TKind kind, const std::string &text)
        : Exception("'" + text +
                    (kind == IntegerValue ? "' is not a valid integer value"
                                          : "' is not a valid floating point value")),
          FKind(kind), FText(text) {}
    TKind Kind() const { return FKind; }
    const std::string &Text() const { return FText; }

private:
    TKind FKind = Other;
    std::string FText;
};

// The floating-point faults; the application-wide handler recognises the whole family.
class EMathError : public Exception {
public:
    using Exception::Exception;
};
class EInvalidOp : public EMathError {
public:
    EInvalidOp() : EMathError("Invalid floating point operation") {}
};
class EZeroDivide : public EMathError {
public:
    EZeroDivide() : EMathError("Floating point division by zero") {}
};
class EOverflow : public EMathError {
public:
    EOverflow() : EMathError("Floating point overflow") {}
};
class EUnderflow : public EMathError {
public:
    EUnderflow() : EMathError("Floating point underflow") {}
};

// ---- Regional settings ------------------------------------------------------------------

struct TFormatSettings {
    std::string CurrencyString = "$";
    // Place of the currency symbol for positive amounts: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
    int CurrencyFormat = 0;
    // Form of negative amounts: 0 "($1)", 1 "-$1", 2 "$-1", 3 "$1-", 4 "(1$)", 5 "-1$",
    // 6 "1-$", 7 "1$-", 8 "-1 $", 9 "-$ 1", 10 "1 $-", 11 "$ 1-", 12 "$ -1", 13 "1- $",
    // 14 "($ 1)", 15 "(1 $)".
    int NegCurrFormat = 0;
    // Separators are texts because a locale may use a character beyond ASCII (a narrow
    // no-break space between thousands); an empty thousands separator means no grouping.
    std::string ThousandSeparator = ",";
    std::string DecimalSeparator = ".";
    int CurrencyDecimals = 2;
    // Date and time patterns: d dd m mm yy yyyy for the date, h hh n nn s ss AMPM for the time.
    std::string ShortDateFormat = "m/d/yyyy";
    std::string LongTimeFormat = "h:nn:ss AMPM";
};

// United States conventions, negative amounts in parentheses.
TFormatSettings UnitedStatesFormatSettings();

// The monetary and numeric fields of a POSIX locale, as localeconv()/nl_langinfo() give them.
struct TLocaleConventions {
    std::string CurrencySymbol;
    std::string DecimalPoint;
    std::string ThousandsSep;
    std::string MonDecimalPoint;
    std::string MonThousandsSep;
    int FracDigits = -1;  // -1: not given
    int PCsPrecedes = -1; // 1 symbol before a positive amount, 0 after, -1 not given
    int PSepBySpace = -1; // 1 or 2: a blank between symbol and amount
    int NCsPrecedes = -1; // the same for negative amounts
    int NSepBySpace = -1;
    int NSignPosn = -1;     // 0 parentheses, 1 sign before all, 2 after all, 3 before symbol,
                            // 4 after symbol
    std::string DateFormat; // strftime form, such as "%m/%d/%Y"
    std::string TimeFormat; // strftime form, such as "%r"
};

// The settings a locale's conventions give; a locale with no currency symbol (C, POSIX)
// gives the United States conventions.
TFormatSettings FormatSettingsFromConventions(const TLocaleConventions &c);

// The settings of a named locale ("" for the user's own, from the environment).
TFormatSettings LocaleFormatSettings(const char *localeName = "");

// The process-wide settings everything formats with: the user's locale, read at first use.
// Tests pin them with SetFormatSettings.
const TFormatSettings &FormatSettings();
void SetFormatSettings(const TFormatSettings &settings);

// ---- Conversions ------------------------------------------------------------------------

enum TFloatFormat { ffGeneral, ffFixed, ffNumber, ffCurrency };

// The decimal digits of a number rounded half away from zero to at most Precision
// significant digits and at most Decimals decimals: value = 0.Digits x 10^Exponent.
// Digits carries no trailing zeros; a number that rounds to zero has empty Digits.
struct TFloatRec {
    bool Negative = false;
    int Exponent = 0;
    std::string Digits;
    bool Special = false; // not a number or infinite: Digits holds "NAN" or "INF"
};
TFloatRec FloatToDecimal(double value, int precision, int decimals);

// The number in one of the four forms. Precision is in significant digits (1 to 18);
// Digits is the number of decimals of the fixed, number and currency forms. A fixed form whose
// number has more than Precision digits before the point falls back to the general form. Zero,
// negative zero and a negative number that rounds to zero are written as a positive zero.
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings &fs = FormatSettings());

// The shortest general form with at most 15 significant digits ("100000", "8.75", "1E20").
std::string FloatToStr(double value, const TFormatSettings &fs = FormatSettings());

// A number formatted by a pattern of up to three sections "positive;negative;zero":
// "0" a required digit, "#" an optional one, "," thousands grouping, "." the decimal point,
// anything else (or text in quotes) written as it stands.
std::string FormatFloat(const std::string &pattern, double value,
                        const TFormatSettings &fs = FormatSettings());

// Text to number with the locale's decimal separator: blanks around, a sign, digits with at
// most one separator, an exponent. Anything else raises EConvertError
// "'<text>' is not a valid floating point value".
double StrToFloat(const std::string &text, const TFormatSettings &fs = FormatSettings());
bool TryStrToFloat(const std::string &text, double &value,
                   const TFormatSettings &fs = FormatSettings());

// Text to a 32-bit whole number; raises EConvertError "'<text>' is not a valid integer value".
int StrToInt(const std::string &text);

// ---- Dates and times --------------------------------------------------------------------

// A date and time of the calendar, as std::tm holds it (tm_year from 1900, tm_mon from 0).
// Written by a pattern of the settings' kind: d dd (day), m mm (month), yy yyyy (year),
// h hh (hour), n nn (minute), s ss (second), AMPM (12-hour clock with AM or PM); the doubled
// forms have two digits; anything else is written as it stands.
std::string FormatDateTime(const std::string &pattern, const std::tm &t);
