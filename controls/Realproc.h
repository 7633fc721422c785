// Number helpers of the numeric edit box (NumCtrl): how its value is rounded for display, and
// the texts it derives from its own text when it is entered, typed into and left.
#pragma once

#include "platform/SysUtils.h"

#include <QString>

// The value as the box shows it with `decimals` places: rounded to the nearest, a tie going to
// the even neighbour, or cut toward zero. A value whose product with 10^decimals does not fit a
// 64-bit integer is returned unrounded.
double RoundToDecimals(double value, int decimals, bool useRounding);

// The editing form of a display text: its digits and the locale's decimal and thousands
// separators, with a single "-" in front for a negative value.
QString EditingText(const QString &displayText, bool negative,
                    const TFormatSettings &fs = FormatSettings());

// The number a text is read as when the box is left: its digits and decimal separators, "-" in
// front when the text began or ended with "-", at most 80 characters.
QString NumberText(const QString &text, const TFormatSettings &fs = FormatSettings());

// The message of a value outside Min..Max: "Value must be between 0 and 5000", at most 80
// characters.
QString RangeMessage(double min, double max, const TFormatSettings &fs = FormatSettings());

// What a typed character does while the box is being edited. `rest` is the text that stays
// when the character replaces the selection; `limit` is the length limit (0: none).
struct TTypedChar {
    bool Insert = false; // the character goes in
    int Limit = 0;       // the length limit from now on
};
TTypedChar FilterTypedChar(const QString &rest, const QString &typed, int limit,
                           const TFormatSettings &fs = FormatSettings());
