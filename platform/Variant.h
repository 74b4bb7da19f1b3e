#pragma once

// Values as the program's code sees them: a QVariant that may also be Empty
// (an invalid QVariant: nothing assigned yet) or Null (no value, as a database
// column holds it), and the conversions of the original runtime between them.
// Every conversion that fails raises a RuntimeError with the runtime's number:
// 6 overflow, 13 type mismatch, 94 invalid use of Null.

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <cstdint>

QVariant VNull();
bool IsNull(const QVariant& v);   // Null only, not Empty
bool IsEmpty(const QVariant& v);  // Empty only: an invalid QVariant

// Number text in the user's decimal notation (the default QLocale): under
// de_DE "12,5" reads 12.5 and "12.5" is refused; under C "12.5" reads 12.5.
// Leading and trailing blanks are allowed, an exponent too. Returns false for
// anything that is not a number.
bool ParseNumberText(const QString& text, double& value);

bool IsNumeric(const QVariant& v);
// Day-first dates ("TT.MM.JJ", "dd/mm/yy", with ". / -" as separators).
bool IsDate(const QVariant& v);

// Whole numbers round halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
int16_t CInt(const QVariant& v);
int32_t CLng(const QVariant& v);
float CSng(const QVariant& v);
double CDbl(const QVariant& v);
bool CBool(const QVariant& v);
QString CStr(const QVariant& v);  // a Single keeps at most 7 significant digits
QDateTime CDate(const QVariant& v);

// Round to a number of decimals, halves to the even neighbour.
double Round(double value, int decimals = 0);

// The text of a Single as the runtime writes it: at most 7 significant
// digits, the locale's decimal separator, no trailing zeros (12.3f -> "12,3"
// under de_DE).
QString SingleText(float value);
QString DoubleText(double value);  // at most 15 significant digits

// Format with the patterns the program uses ("0", "#0", "####0", "0.0",
// "0.00", "#0.0", "#0.00", "##0.0", "hh:mm", "hh:mm:ss", "dd/mm/yy",
// "dd.mm.yy"): halves of numbers round away from zero, "." writes the locale's
// decimal separator, "/" and ":" its date and time separators; a text that is
// not a number (or not a date for a date pattern) passes through unchanged;
// Empty gives ""; never "-0".
QString Format(const QVariant& value, const QString& pattern = QString());

// Float arithmetic as the runtime checks it: a non-zero value divided by zero
// raises 11, 0/0 raises 6, a result beyond the type's range raises 6.
float DivSingle(float a, float b);
double DivDouble(double a, double b);
float CheckedSingle(double value);  // overflow (6) when it does not fit a Single
