#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

// The few number rules the whole program shares: how typed text becomes a number, how a
// fractional value becomes a whole one, and how numbers are shown.
namespace quorvia {

// One blank followed by the digits of n: 0 gives " 0", 34 gives " 34". Negative numbers keep
// their sign in place of the blank ("-3").
QString blankLed(std::int64_t n);

// The value of the longest leading part of the text that forms a decimal number (optional sign,
// digits, a full stop as decimal point, optional exponent). Blanks, tabs and line feeds anywhere
// in the text are ignored. Text that does not begin with a number reads as 0. A number too large
// for a double reads as +/-infinity.
double leadingNumber(QStringView text);

// Nearest whole number, exact halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// Rounded to 2 decimal places on the value scaled by 100, halves to even (3.125 -> 3.12).
double roundHalfEven2(double value);

// The shortest plain decimal text that reads back as the same double: 10 -> "10", 7.5 -> "7.5",
// 0.1 -> "0.1". Never an exponent, no group separators, a full stop as decimal point.
QString shortestDecimal(double value);

// The same for a single-precision value: the shortest text that reads back as the same float, so
// 66.67f gives "66.67" and not the digits of its double widening.
QString shortestDecimal(float value);

// As shortestDecimal, with the decimal separator of the user's locale (texts in the workbook).
QString localeDecimal(double value);
QString localeDecimal(float value);

// The number of a text that localeDecimal wrote under any locale, read in any locale: digits of
// any script, and as decimal separator any locale's (a full stop, a comma, U+066B ARABIC DECIMAL
// SEPARATOR), an optional sign and exponent; blanks around it. None for any other text or a
// number beyond a double.
std::optional<double> decimalOfAnyLocale(QStringView text);

// strtod of a number in the C form (a full stop as decimal point), whatever locale the C
// library was given: a decimal comma locale would otherwise stop "7.5" at 7.
double cStrtod(const char* text);

} // namespace quorvia
