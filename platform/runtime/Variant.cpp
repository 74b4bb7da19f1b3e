#include "platform/runtime/Variant.h"

#include "platform/runtime/RuntimeError.h"

#include <QDate>
#include <QLocale>
#include <QTime>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

QVariant VNull() {
    return QVariant::fromValue(nullptr);
}

bool IsNull(const QVariant& v) {
    return v.isValid() && v.metaType().id() == QMetaType::Nullptr;
}

bool IsEmpty(const QVariant& v) {
    return !v.isValid();
}

VarType VarTypeOf(const QVariant& v) {
    if (!v.isValid()) return VarType::Empty;
    switch (v.metaType().id()) {
    case QMetaType::Nullptr:
        return VarType::Null;
    case QMetaType::Bool:
        return VarType::Boolean;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return VarType::Integer;
    case QMetaType::Float:
        return VarType::Single;
    case QMetaType::Double:
        return VarType::Double;
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::QChar:
        return VarType::String;
    case QMetaType::QDateTime:
    case QMetaType::QDate:
    case QMetaType::QTime:
        return VarType::Date;
    default:
        return VarType::Other;
    }
}

namespace {
bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QChar(0xA0);
}
bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
} // namespace

// Only the locale's decimal separator is accepted as a decimal mark and no
// group separators at all: under a German locale "12.5" would otherwise be
// read as 125 and a mistyped value would silently become a wrong number.
bool ParseNumberText(const QString& text, double& value) {
    const QString decimal = QLocale().decimalPoint();
    qsizetype i = 0;
    qsizetype n = text.size();
    while (i < n && isBlank(text.at(i)))
        ++i;
    while (n > i && isBlank(text.at(n - 1)))
        --n;
    std::string c; // the number in C notation
    c.reserve(static_cast<size_t>(n - i) + 1);
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        c.push_back(static_cast<char>(text.at(i).unicode()));
        ++i;
    }
    int digits = 0;
    while (i < n && isDigit(text.at(i))) {
        c.push_back(static_cast<char>(text.at(i).unicode()));
        ++i;
        ++digits;
    }
    if (i < n && !decimal.isEmpty() && text.mid(i, decimal.size()) == decimal) {
        c.push_back('.');
        i += decimal.size();
        while (i < n && isDigit(text.at(i))) {
            c.push_back(static_cast<char>(text.at(i).unicode()));
            ++i;
            ++digits;
        }
    }
    if (digits == 0) return false;
    if (i < n && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        c.push_back('e');
        ++i;
        if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
            c.push_back(static_cast<char>(text.at(i).unicode()));
            ++i;
        }
        int expDigits = 0;
        while (i < n && isDigit(text.at(i))) {
            c.push_back(static_cast<char>(text.at(i).unicode()));
            ++i;
            ++expDigits;
        }
        if (expDigits == 0) return false;
    }
    if (i != n) return false;
    // from_chars ignores the C library's locale (QApplication sets it from the
    // environment, which would make strtod expect a comma).
    double parsed = 0;
    const char* begin = c.data() + (c.front() == '+' ? 1 : 0);
    const auto result = std::from_chars(begin, c.data() + c.size(), parsed);
    if (result.ec != std::errc() || result.ptr != c.data() + c.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

bool IsNumeric(const QVariant& v) {
    switch (VarTypeOf(v)) {
    case VarType::Empty:
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Single:
    case VarType::Double:
        return true;
    case VarType::String: {
        double value = 0;
        return ParseNumberText(v.toString(), value);
    }
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------
// Dates

namespace {
const QDate kDayZero(1899, 12, 30);
constexpr qint64 kMsPerDay = 86400000;

QDateTime naive(QDate date, QTime time) {
    return QDateTime(date, time, Qt::UTC);
}

// One field of digits at text[i...], at most maxDigits long.
bool readNumber(const QString& text, qsizetype& i, int maxDigits, int& value, int& digits) {
    value = 0;
    digits = 0;
    while (i < text.size() && isDigit(text.at(i))) {
        if (++digits > maxDigits) return false;
        value = value * 10 + (text.at(i).unicode() - '0');
        ++i;
    }
    return digits > 0;
}

bool parseDatePart(const QString& text, QDate& date) {
    int fields[3] = {0, 0, 0};
    int widths[3] = {0, 0, 0};
    int count = 0;
    QChar separator;
    qsizetype i = 0;
    while (true) {
        if (count == 3 || !readNumber(text, i, 4, fields[count], widths[count])) return false;
        ++count;
        if (i == text.size()) break;
        const QChar c = text.at(i);
        if (c != QLatin1Char('.') && c != QLatin1Char('/') && c != QLatin1Char('-')) return false;
        if (!separator.isNull() && c != separator) return false;
        separator = c;
        ++i;
    }
    if (count < 2) return false;
    int day = 0, month = 0, year = 0;
    int yearWidth = 4;
    if (count == 3 && widths[0] == 4) { // year first: 2024-03-12
        if (widths[1] > 2 || widths[2] > 2) return false;
        year = fields[0];
        yearWidth = widths[0];
        month = fields[1];
        day = fields[2];
    } else {
        if (widths[0] > 2 || widths[1] > 2) return false;
        day = fields[0];
        month = fields[1];
        if (count == 3) {
            year = fields[2];
            yearWidth = widths[2];
        } else {
            // Only a date without a year needs today; asking the clock for
            // every parsed date would slow every grid refresh.
            year = QDate::currentDate().year();
        }
    }
    if (yearWidth <= 2)
        year += year < 30 ? 2000 : 1900;
    else if (year < 100)
        return false;
    date = QDate(year, month, day);
    return date.isValid();
}

bool parseTimePart(const QString& text, QTime& time) {
    int parts[3] = {0, 0, 0};
    int count = 0;
    qsizetype i = 0;
    while (true) {
        int digits = 0;
        if (count == 3 || !readNumber(text, i, 2, parts[count], digits)) return false;
        ++count;
        if (i == text.size()) break;
        if (text.at(i) != QLatin1Char(':')) return false;
        ++i;
    }
    if (count < 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 59) return false;
    time = QTime(parts[0], parts[1], parts[2]);
    return true;
}
} // namespace

bool ParseDateText(const QString& text, QDateTime& value) {
    const QStringList words = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QDate date;
    QTime time;
    if (words.size() == 1) {
        if (parseTimePart(words[0], time)) {
            value = naive(kDayZero, time);
            return true;
        }
        if (!parseDatePart(words[0], date)) return false;
        value = naive(date, QTime(0, 0));
        return true;
    }
    if (words.size() == 2 && parseDatePart(words[0], date) && parseTimePart(words[1], time)) {
        value = naive(date, time);
        return true;
    }
    return false;
}

bool IsDate(const QVariant& v) {
    switch (VarTypeOf(v)) {
    case VarType::Date:
        return true;
    case VarType::String: {
        QDateTime value;
        return ParseDateText(v.toString(), value);
    }
    default:
        return false;
    }
}

double DateToSerial(const QDateTime& value) {
    const qint64 days = kDayZero.daysTo(value.date());
    const double fraction = static_cast<double>(value.time().msecsSinceStartOfDay()) / kMsPerDay;
    return days < 0 ? static_cast<double>(days) - fraction : static_cast<double>(days) + fraction;
}

QDateTime DateFromSerial(double serial) {
    // The runtime's range of dates: 1.1.100 to 31.12.9999.
    if (!std::isfinite(serial) || serial < -657434.0 || serial >= 2958466.0)
        throw RuntimeError::Overflow();
    const double whole = std::trunc(serial);
    const auto ms = static_cast<qint64>(std::llround(std::fabs(serial - whole) * kMsPerDay));
    return naive(kDayZero.addDays(static_cast<qint64>(whole)), QTime(0, 0)).addMSecs(ms);
}

namespace {
// The first separator of the locale's short date or time pattern.
QString separatorOf(const QString& pattern, const QString& fallback) {
    for (QChar c : pattern)
        if (!c.isLetter() && !c.isSpace() && c != QLatin1Char('\'')) return QString(c);
    return fallback;
}
} // namespace

QString DateSeparator() {
    const QLocale locale;
    const QString pattern = locale.dateFormat(QLocale::ShortFormat);
    // A pattern with the month as a word (the C locale's "d MMM yyyy") has no
    // numeric separator; the slash is the runtime's own.
    if (pattern.contains(QLatin1String("MMM"))) return QStringLiteral("/");
    return separatorOf(pattern, QStringLiteral("/"));
}

QString TimeSeparator() {
    return separatorOf(QLocale().timeFormat(QLocale::ShortFormat), QStringLiteral(":"));
}

QString Trim(const QString& text) {
    qsizetype anfang = 0;
    qsizetype ende = text.size();
    while (anfang < ende && text.at(anfang) == QLatin1Char(' '))
        ++anfang;
    while (ende > anfang && text.at(ende - 1) == QLatin1Char(' '))
        --ende;
    return text.mid(anfang, ende - anfang);
}

// Always day first and with four-digit years, so that the text reads back as
// the same date through ParseDateText.
QString DateText(const QDateTime& value) {
    const QDateTime rounded = value.time().msec() >= 500
                                  ? value.addMSecs(1000 - value.time().msec())
                                  : value.addMSecs(-value.time().msec());
    const QDate date = rounded.date();
    const QTime time = rounded.time();
    const QString ts = TimeSeparator();
    const QString timeText = QStringLiteral("%1%2%3%4%5")
                                 .arg(time.hour(), 2, 10, QLatin1Char('0'))
                                 .arg(ts)
                                 .arg(time.minute(), 2, 10, QLatin1Char('0'))
                                 .arg(ts)
                                 .arg(time.second(), 2, 10, QLatin1Char('0'));
    if (date == kDayZero) return timeText;
    const QString ds = DateSeparator();
    QString text = QStringLiteral("%1%2%3%4%5")
                       .arg(date.day(), 2, 10, QLatin1Char('0'))
                       .arg(ds)
                       .arg(date.month(), 2, 10, QLatin1Char('0'))
                       .arg(ds)
                       .arg(date.year(), 4, 10, QLatin1Char('0'));
    if (time != QTime(0, 0)) text += QLatin1Char(' ') + timeText;
    return text;
}

// ---------------------------------------------------------------------------
// Conversions

namespace {
QDateTime dateValue(const QVariant& v) {
    switch (v.metaType().id()) {
    case QMetaType::QDate:
        return naive(v.toDate(), QTime(0, 0));
    case QMetaType::QTime:
        return naive(kDayZero, v.toTime());
    default: {
        const QDateTime dt = v.toDateTime();
        return naive(dt.date(), dt.time());
    }
    }
}

QString textValue(const QVariant& v) {
    if (v.metaType().id() == QMetaType::QByteArray) return QString::fromUtf8(v.toByteArray());
    return v.toString();
}

// The numeric value of anything that has one: Empty 0, True -1, a date its
// day count, a text in the user's notation; Null raises 94, the rest 13.
double numberOf(const QVariant& v) {
    switch (VarTypeOf(v)) {
    case VarType::Empty:
        return 0;
    case VarType::Null:
        throw RuntimeError::InvalidUseOfNull();
    case VarType::Boolean:
        return v.toBool() ? -1 : 0;
    case VarType::Integer:
        if (v.metaType().id() == QMetaType::ULongLong || v.metaType().id() == QMetaType::ULong)
            return static_cast<double>(v.toULongLong());
        return static_cast<double>(v.toLongLong());
    case VarType::Single:
        return static_cast<double>(v.toFloat());
    case VarType::Double:
        return v.toDouble();
    case VarType::Date:
        return DateToSerial(dateValue(v));
    case VarType::String: {
        double value = 0;
        if (!ParseNumberText(textValue(v), value)) throw RuntimeError::TypeMismatch();
        return value;
    }
    default:
        throw RuntimeError::TypeMismatch();
    }
}

// Whole numbers: the nearest, a half to the even neighbour, as the processor
// rounds in its default mode; then the range of the type.
template <typename T> T wholeNumber(const QVariant& v) {
    const double rounded = std::nearbyint(numberOf(v));
    if (!(rounded >= static_cast<double>(std::numeric_limits<T>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<T>::max())))
        throw RuntimeError::Overflow();
    return static_cast<T>(rounded);
}
} // namespace

int16_t CInt(const QVariant& v) {
    return wholeNumber<int16_t>(v);
}

int32_t CLng(const QVariant& v) {
    return wholeNumber<int32_t>(v);
}

float CSng(const QVariant& v) {
    if (VarTypeOf(v) == VarType::Single) return v.toFloat();
    return CheckedSingle(numberOf(v));
}

double CDbl(const QVariant& v) {
    const double value = numberOf(v);
    if (!std::isfinite(value)) throw RuntimeError::Overflow();
    return value;
}

bool CBool(const QVariant& v) {
    if (VarTypeOf(v) == VarType::Boolean) return v.toBool();
    if (VarTypeOf(v) == VarType::String) {
        const QString text = textValue(v).trimmed();
        for (const char* word : {"True", "Wahr"})
            if (text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0) return true;
        for (const char* word : {"False", "Falsch"})
            if (text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0) return false;
    }
    return numberOf(v) != 0;
}

QString CStr(const QVariant& v) {
    switch (VarTypeOf(v)) {
    case VarType::Empty:
        return QString();
    case VarType::Null:
        throw RuntimeError::InvalidUseOfNull();
    case VarType::Boolean:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case VarType::Integer:
        if (v.metaType().id() == QMetaType::ULongLong || v.metaType().id() == QMetaType::ULong)
            return QString::number(v.toULongLong());
        return QString::number(v.toLongLong());
    case VarType::Single:
        return SingleText(v.toFloat());
    case VarType::Double:
        return DoubleText(v.toDouble());
    case VarType::Date:
        return DateText(dateValue(v));
    case VarType::String:
        return textValue(v);
    default:
        throw RuntimeError::TypeMismatch();
    }
}

QDateTime CDate(const QVariant& v) {
    switch (VarTypeOf(v)) {
    case VarType::Date:
        return dateValue(v);
    case VarType::String: {
        QDateTime value;
        if (!ParseDateText(textValue(v), value)) throw RuntimeError::TypeMismatch();
        return value;
    }
    default:
        return DateFromSerial(numberOf(v));
    }
}

// ---------------------------------------------------------------------------
// Checked float arithmetic: C++ does not trap, the runtime did.

float CheckedSingle(double value) {
    // Beyond FLT_MAX plus half a unit in the last place the value rounds to
    // infinity; converting it would be undefined.
    constexpr double limit = 340282356779733661637539395458142568448.0; // 2^128 - 2^103
    if (std::isnan(value) || std::fabs(value) >= limit) throw RuntimeError::Overflow();
    return static_cast<float>(value);
}

float DivSingle(float a, float b) {
    if (std::isnan(a) || std::isnan(b)) throw RuntimeError::Overflow();
    if (b == 0.0f) {
        if (a == 0.0f) throw RuntimeError::Overflow();
        throw RuntimeError::DivisionByZero();
    }
    return CheckedSingle(static_cast<double>(a) / static_cast<double>(b));
}

double DivDouble(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) throw RuntimeError::Overflow();
    if (b == 0.0) {
        if (a == 0.0) throw RuntimeError::Overflow();
        throw RuntimeError::DivisionByZero();
    }
    const double result = a / b;
    if (!std::isfinite(result)) throw RuntimeError::Overflow();
    return result;
}
