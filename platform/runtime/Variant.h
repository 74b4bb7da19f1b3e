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
bool IsNull(const QVariant& v);  // Null only, not Empty
bool IsEmpty(const QVariant& v); // Empty only: an invalid QVariant

// What a value holds, in the runtime's terms: every whole-number type of Qt is
// Integer, float is Single, QString (and QByteArray, read as UTF-8) is String,
// QDateTime, QDate and QTime are Date.
enum class VarType { Empty, Null, Boolean, Integer, Single, Double, String, Date, Other };
VarType VarTypeOf(const QVariant& v);

// Number text in the user's decimal notation (the default QLocale): under
// de_DE "12,5" reads 12.5 and "12.5" is refused; under C "12.5" reads 12.5.
// Leading and trailing blanks are allowed, an exponent too. Returns false for
// anything that is not a number.
bool ParseNumberText(const QString& text, double& value);

// Numbers, Booleans and Empty are numeric, and texts that ParseNumberText
// accepts; Null, dates and other texts are not.
bool IsNumeric(const QVariant& v);
// Date values, and texts that ParseDateText accepts: a date, a time of day, or
// a date followed by a time. Numbers are not dates.
bool IsDate(const QVariant& v);

// A date or time text, day first: "12.03.24", "12/3/2024", "12-03-24" (the
// three fields separated by one of ". / -"; a year of two digits means 1930 to
// 2029; a four-digit first field reads year-month-day), "12.03" (this year),
// a time "8:30" or "08:30:45", or a date, blanks and a time. A time alone lies
// on the day 0 (30.12.1899). The result is a calendar date and time without
// time zone (kept in UTC so that no daylight-saving gap can shift it).
bool ParseDateText(const QString& text, QDateTime& value);

// Dates as the runtime counts them: days since 30.12.1899 00:00, the time of
// day as the fraction (-1.25 is 29.12.1899 06:00). DateFromSerial keeps
// milliseconds and raises 6 outside the years 100 to 9999.
double DateToSerial(const QDateTime& value);
QDateTime DateFromSerial(double serial);

// The locale's separators as Format writes them for "/" and ":" (de_DE ".",
// C "/"; ":" for both), and a date as text the standard way: the short date
// (dd.MM.yyyy under de_DE, dd/MM/yyyy under C), followed by the time
// "hh:mm:ss" when it has one; a time on the day 0 alone.
QString DateSeparator();
QString TimeSeparator();
QString DateText(const QDateTime& value);

// Whole numbers round halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
int16_t CInt(const QVariant& v);
int32_t CLng(const QVariant& v);
float CSng(const QVariant& v);
double CDbl(const QVariant& v);
bool CBool(const QVariant& v);
// Booleans give "True"/"False", dates DateText, Empty "", Null raises 94.
// The text without the blanks at both ends; tabs and line breaks stay, as
// they are no blanks.
QString Trim(const QString& text);

QString CStr(const QVariant& v); // a Single keeps at most 7 significant digits
QDateTime CDate(const QVariant& v);

// The leading number of a text, as the runtime's Val reads it: blanks, tabs
// and line breaks are skipped wherever they stand, then an optional sign,
// digits, a point as the decimal mark whatever the locale, more digits and
// an exponent ("E" or "D"); reading stops at the first other character.
// A text without a leading number gives 0 ("abc", "", "2,5" gives 2). A
// number beyond a Double's range gives an infinite value, never an error.
double Val(const QString& text);
// Round to a number of decimals, halves to the even neighbour. The halves are
// those of the value as it is written with 15 significant digits, the way the
// user sees it: Round(2.675, 2) is 2.68 although the binary value lies a
// little below 2.675; 0.125 -> 0.12, 0.375 -> 0.38, 2.5 -> 2. Negative
// decimals raise 5.
double Round(double value, int decimals = 0);

// The text of a Single as the runtime writes it: at most 7 significant
// digits, the locale's decimal separator, no trailing zeros (12.3f -> "12,3"
// under de_DE).
QString SingleText(float value);
QString DoubleText(double value); // at most 15 significant digits

// Format with the patterns the program uses ("0", "#0", "####0", "0.0",
// "0.00", "#0.0", "#0.00", "##0.0", "hh:mm", "hh:mm:ss", "dd/mm/yy",
// "dd.mm.yy"): halves of numbers round away from zero, "." writes the locale's
// decimal separator, "/" and ":" its date and time separators; a text that is
// not a number (or not a date for a date pattern) passes through unchanged;
// Empty and Null give ""; never "-0". A Single is widened to a Double first (as the
// runtime does: 12.35f formats as 12.35 with "0.00" and 12.4 with "0.0"), and
// a number is rounded on its 15-digit decimal text, so Format(2.675, "0.00")
// is "2,68"/"2.68". "#" shows a digit only when significant, "0" always; a
// "," between digit places groups thousands; "%" multiplies by 100; text in
// quotes and after "\" is copied. A number text in the user's notation is
// formatted as a number; with a date pattern, a date or time text as a date
// and a number as a day count. An empty pattern writes a number as CStr does
// and leaves a text unchanged. A value of another kind raises 13.
QString Format(const QVariant& value, const QString& pattern = QString());

// Float arithmetic as the runtime checks it: a non-zero value divided by zero
// raises 11, 0/0 raises 6, a result beyond the type's range raises 6.
float DivSingle(float a, float b);
double DivDouble(double a, double b);
float CheckedSingle(double value); // overflow (6) when it does not fit a Single
