// Numbers as text: the runtime's own text of a Single and a Double, rounding
// to decimals, and Format with number and date patterns.

#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Variant.h"

#include <QDate>
#include <QLocale>
#include <QTime>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace {

// A finite number as decimal digits: value = 0.DIGITS x 10^exponent, the
// digits without leading or trailing zeros; no digits is zero.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// The value correctly rounded to `significant` digits.
Decimal decimalOf(double value, int significant) {
    Decimal d;
    if (value == 0 || !std::isfinite(value)) return d;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, significant - 1);
    const std::string text(buffer, result.ptr); // "-1.23400000000000e+05"
    std::size_t i = 0;
    if (text[i] == '-') {
        d.negative = true;
        ++i;
    }
    for (; i < text.size() && text[i] != 'e'; ++i)
        if (text[i] != '.') d.digits.push_back(text[i]);
    d.exponent = std::stoi(text.substr(i + 1)) + 1;
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

void setZero(Decimal& d) {
    d.digits.clear();
    d.exponent = 0;
}

// Keeps the first `keep` digits, rounding the rest away: a half goes to the
// even neighbour or away from zero.
void roundDigits(Decimal& d, int keep, bool halfEven) {
    if (keep >= static_cast<int>(d.digits.size())) return;
    if (keep < 0) {
        setZero(d);
        return;
    }
    const char first = d.digits[static_cast<std::size_t>(keep)];
    const bool beyondHalf =
        d.digits.size() > static_cast<std::size_t>(keep) + 1; // no trailing zeros
    const bool previousOdd =
        keep > 0 && (d.digits[static_cast<std::size_t>(keep) - 1] - '0') % 2 == 1;
    const bool up = first > '5' || (first == '5' && (beyondHalf || !halfEven || previousOdd));
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
            d.digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.digits[static_cast<std::size_t>(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty()) setZero(d);
}

QString decimalSeparator() {
    return QLocale().decimalPoint();
}

QString specialText(double value) {
    if (std::isnan(value)) return QStringLiteral("NaN");
    return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
}

// The runtime's general number text: at most `precision` significant digits,
// no trailing zeros, exponent form ("1,234568E+08") when the exponent is
// below -4 or reaches the precision.
QString generalText(double value, int precision) {
    if (!std::isfinite(value)) return specialText(value);
    const Decimal d = decimalOf(value, precision);
    if (d.digits.empty()) return QStringLiteral("0");
    const QString sep = decimalSeparator();
    const QString digits =
        QString::fromLatin1(d.digits.data(), static_cast<qsizetype>(d.digits.size()));
    const int e10 = d.exponent - 1;
    QString text = d.negative ? QStringLiteral("-") : QString();
    if (e10 < -4 || e10 >= precision) {
        text += digits.left(1);
        if (digits.size() > 1) text += sep + digits.mid(1);
        text += QStringLiteral("E%1%2")
                    .arg(e10 < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                    .arg(std::abs(e10), 2, 10, QLatin1Char('0'));
    } else if (e10 >= 0) {
        const int whole = e10 + 1;
        text += digits.left(whole);
        if (digits.size() < whole) text += QString(whole - digits.size(), QLatin1Char('0'));
        if (digits.size() > whole) text += sep + digits.mid(whole);
    } else {
        text += QLatin1Char('0') + sep + QString(-e10 - 1, QLatin1Char('0')) + digits;
    }
    return text;
}

double valueOf(const Decimal& d) {
    if (d.digits.empty()) return 0.0;
    const std::string text =
        (d.negative ? "-0." : "0.") + d.digits + "e" + std::to_string(d.exponent);
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace

QString SingleText(float value) {
    return generalText(static_cast<double>(value), 7);
}

QString DoubleText(double value) {
    return generalText(value, 15);
}

double Round(double value, int decimals) {
    if (decimals < 0) throw RuntimeError::InvalidProcedureCall();
    if (!std::isfinite(value)) return value;
    // A double carries no digit beyond the 340th decimal; more decimals
    // round nothing away (and would overflow the position below).
    decimals = std::min(decimals, 340);
    Decimal d = decimalOf(value, 15);
    if (d.exponent + decimals >= static_cast<int>(d.digits.size()))
        return value; // nothing to round away
    roundDigits(d, d.exponent + decimals, true);
    return valueOf(d);
}

// ---------------------------------------------------------------------------
// Format

namespace {

bool isDatePatternLetter(QChar c) {
    switch (c.toLower().unicode()) {
    case 'd':
    case 'm':
    case 'y':
    case 'h':
    case 'n':
    case 's':
        return true;
    default:
        return false;
    }
}

// A pattern with digit places is a number pattern; otherwise one with date
// or time letters is a date pattern. Quoted and escaped text counts for
// neither.
bool isDatePattern(const QString& pattern) {
    bool dateLetters = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('"')) {
            i = pattern.indexOf(QLatin1Char('"'), i + 1);
            if (i < 0) break;
        } else if (c == QLatin1Char('\\')) {
            ++i;
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            return false;
        } else if (isDatePatternLetter(c)) {
            dateLetters = true;
        }
    }
    return dateLetters;
}

struct NumberToken {
    enum Kind { Literal, Digit, Point, Percent, Comma } kind;
    QString text; // the literal, or the place character '0' / '#'
};

std::vector<NumberToken> numberTokens(const QString& pattern) {
    std::vector<NumberToken> tokens;
    bool point = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('"')) {
            qsizetype end = pattern.indexOf(QLatin1Char('"'), i + 1);
            if (end < 0) end = pattern.size();
            tokens.push_back({NumberToken::Literal, pattern.mid(i + 1, end - i - 1)});
            i = end;
        } else if (c == QLatin1Char('\\')) {
            if (i + 1 < pattern.size())
                tokens.push_back({NumberToken::Literal, QString(pattern.at(++i))});
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            tokens.push_back({NumberToken::Digit, QString(c)});
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
            tokens.push_back({NumberToken::Point, QString()});
        } else if (c == QLatin1Char(',')) {
            tokens.push_back({NumberToken::Comma, QString()});
        } else if (c == QLatin1Char('%')) {
            tokens.push_back({NumberToken::Percent, QString()});
        } else {
            tokens.push_back({NumberToken::Literal, QString(c)});
        }
    }
    return tokens;
}

QString formatNumber(double value, const QString& pattern) {
    if (!std::isfinite(value)) return specialText(value);
    const std::vector<NumberToken> tokens = numberTokens(pattern);
    std::size_t pointAt = tokens.size();
    int percents = 0;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == NumberToken::Point && pointAt == tokens.size()) pointAt = i;
        if (tokens[i].kind == NumberToken::Percent) ++percents;
    }
    std::vector<std::size_t> intPlaces, fracPlaces;
    bool grouping = false;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == NumberToken::Digit)
            (i < pointAt ? intPlaces : fracPlaces).push_back(i);
        if (tokens[i].kind == NumberToken::Comma && i < pointAt && !intPlaces.empty()) {
            for (std::size_t j = i + 1; j < pointAt; ++j)
                if (tokens[j].kind == NumberToken::Digit) grouping = true;
        }
    }

    // Round on the decimal text, halves away from zero.
    Decimal d = decimalOf(value, 15);
    if (!d.digits.empty()) d.exponent += 2 * percents;
    const int decimals = static_cast<int>(fracPlaces.size());
    roundDigits(d, d.exponent + decimals, false);
    const bool negative = d.negative && !d.digits.empty(); // never "-0"

    QString intDigits;
    for (int k = 0; k < d.exponent; ++k)
        intDigits += k < static_cast<int>(d.digits.size())
                         ? QChar::fromLatin1(d.digits[static_cast<std::size_t>(k)])
                         : QLatin1Char('0');
    QString fracDigits;
    for (int j = 0; j < decimals; ++j) {
        const int k = d.exponent + j;
        fracDigits += k >= 0 && k < static_cast<int>(d.digits.size())
                          ? QChar::fromLatin1(d.digits[static_cast<std::size_t>(k)])
                          : QLatin1Char('0');
    }
    // Trailing "#" places show no zeros.
    int fracShown = decimals;
    while (fracShown > 0 &&
           tokens[fracPlaces[static_cast<std::size_t>(fracShown) - 1]].text == QLatin1String("#") &&
           fracDigits.at(fracShown - 1) == QLatin1Char('0'))
        --fracShown;

    // From the first "0" place on, every whole-number place shows a digit.
    const int n = static_cast<int>(intPlaces.size());
    int firstZero = n;
    for (int k = 0; k < n; ++k)
        if (tokens[intPlaces[static_cast<std::size_t>(k)]].text == QLatin1String("0")) {
            firstZero = k;
            break;
        }
    if (intDigits.size() < n - firstZero)
        intDigits = QString(n - firstZero - intDigits.size(), QLatin1Char('0')) + intDigits;

    std::vector<QString> placed(tokens.size());
    if (n > 0) {
        if (grouping) {
            const QString group = QLocale().groupSeparator();
            QString grouped;
            for (qsizetype k = 0; k < intDigits.size(); ++k) {
                if (k > 0 && (intDigits.size() - k) % 3 == 0) grouped += group;
                grouped += intDigits.at(k);
            }
            placed[intPlaces.back()] = grouped;
        } else {
            const int m = static_cast<int>(intDigits.size());
            for (int k = 0; k < n; ++k) {
                QString& slot = placed[intPlaces[static_cast<std::size_t>(k)]];
                if (m >= n)
                    slot = k == 0 ? intDigits.left(m - n + 1) : QString(intDigits.at(m - n + k));
                else if (k >= n - m)
                    slot = QString(intDigits.at(k - (n - m)));
            }
        }
    }
    for (int j = 0; j < fracShown; ++j)
        placed[fracPlaces[static_cast<std::size_t>(j)]] = QString(fracDigits.at(j));

    QString text = negative ? QStringLiteral("-") : QString();
    bool wholeWritten = n > 0;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        switch (tokens[i].kind) {
        case NumberToken::Literal:
            text += tokens[i].text;
            break;
        case NumberToken::Digit:
            text += placed[i];
            break;
        case NumberToken::Comma:
            break;
        case NumberToken::Percent:
            text += QLatin1Char('%');
            break;
        case NumberToken::Point:
            if (!wholeWritten) { // a pattern without whole-number places still shows the whole part
                text += intDigits;
                wholeWritten = true;
            }
            text += decimalSeparator();
            break;
        }
    }
    return text;
}

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString formatDate(const QDateTime& value, const QString& pattern) {
    // The runtime shows whole seconds, rounded.
    const int ms = value.time().msec();
    const QDateTime dt = ms >= 500 ? value.addMSecs(1000 - ms) : value.addMSecs(-ms);
    const QDate date = dt.date();
    const QTime time = dt.time();
    const QLocale locale;

    struct Token {
        QChar letter; // lower case; null for a literal
        int count;
        QString literal;
    };
    std::vector<Token> tokens;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('"')) {
            qsizetype end = pattern.indexOf(QLatin1Char('"'), i + 1);
            if (end < 0) end = pattern.size();
            tokens.push_back({QChar(), 0, pattern.mid(i + 1, end - i - 1)});
            i = end;
        } else if (c == QLatin1Char('\\')) {
            if (i + 1 < pattern.size()) tokens.push_back({QChar(), 0, QString(pattern.at(++i))});
        } else if (c == QLatin1Char('/')) {
            tokens.push_back({QChar(), 0, DateSeparator()});
        } else if (c == QLatin1Char(':')) {
            tokens.push_back({QChar(), 0, TimeSeparator()});
        } else if (isDatePatternLetter(c)) {
            const QChar letter = c.toLower();
            int run = 1;
            while (i + run < pattern.size() && pattern.at(i + run).toLower() == letter)
                ++run;
            i += run - 1;
            const int most = letter == QLatin1Char('d')                                 ? 6
                             : letter == QLatin1Char('y') || letter == QLatin1Char('m') ? 4
                                                                                        : 2;
            while (run > 0) {
                int take = std::min(run, most);
                if (letter == QLatin1Char('y') && take == 3) take = 2; // "yyy" is "yy" and "y"
                tokens.push_back({letter, take, QString()});
                run -= take;
            }
        } else {
            tokens.push_back({QChar(), 0, QString(c)});
        }
    }

    QString text;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.letter.isNull()) {
            text += t.literal;
            continue;
        }
        switch (t.letter.unicode()) {
        case 'd':
            if (t.count == 1)
                text += QString::number(date.day());
            else if (t.count == 2)
                text += twoDigits(date.day());
            else if (t.count == 3)
                text += locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
            else if (t.count == 4)
                text += locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
            else if (t.count == 5)
                text += DateText(QDateTime(date, QTime(0, 0), Qt::UTC));
            else
                text += locale.toString(date, QLocale::LongFormat);
            break;
        case 'm': {
            // "m" right after an hour or right before a second is the minute.
            bool minute = false;
            if (t.count <= 2) {
                for (std::size_t j = i; j-- > 0;)
                    if (!tokens[j].letter.isNull()) {
                        minute = tokens[j].letter == QLatin1Char('h');
                        break;
                    }
                for (std::size_t j = i + 1; !minute && j < tokens.size(); ++j)
                    if (!tokens[j].letter.isNull()) {
                        minute = tokens[j].letter == QLatin1Char('s');
                        break;
                    }
            }
            if (minute)
                text += t.count == 1 ? QString::number(time.minute()) : twoDigits(time.minute());
            else if (t.count == 1)
                text += QString::number(date.month());
            else if (t.count == 2)
                text += twoDigits(date.month());
            else
                text += locale.monthName(date.month(),
                                         t.count == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            break;
        }
        case 'y':
            if (t.count == 1)
                text += QString::number(date.dayOfYear());
            else if (t.count == 2)
                text += twoDigits(date.year() % 100);
            else
                text += QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
            break;
        case 'h':
            text += t.count == 1 ? QString::number(time.hour()) : twoDigits(time.hour());
            break;
        case 'n':
            text += t.count == 1 ? QString::number(time.minute()) : twoDigits(time.minute());
            break;
        case 's':
            text += t.count == 1 ? QString::number(time.second()) : twoDigits(time.second());
            break;
        default:
            break;
        }
    }
    return text;
}

QString plainText(const QVariant& value) {
    if (value.metaType().id() == QMetaType::QByteArray)
        return QString::fromUtf8(value.toByteArray());
    return value.toString();
}

} // namespace

QString Format(const QVariant& value, const QString& pattern) {
    const VarType type = VarTypeOf(value);
    if (type == VarType::Empty || type == VarType::Null) return QString();
    if (type == VarType::Other) throw RuntimeError::TypeMismatch();
    if (pattern.isEmpty()) return type == VarType::String ? plainText(value) : CStr(value);

    if (isDatePattern(pattern)) {
        QDateTime date;
        if (type == VarType::String) {
            const QString text = plainText(value);
            double number = 0;
            if (ParseDateText(text, date)) return formatDate(date, pattern);
            if (!ParseNumberText(text, number)) return text;
            try {
                return formatDate(DateFromSerial(number), pattern);
            } catch (const RuntimeError&) {
                return text; // a number beyond the dates is no date either
            }
        }
        return formatDate(CDate(value), pattern);
    }

    double number = 0;
    if (type == VarType::String) {
        if (!ParseNumberText(plainText(value), number)) return plainText(value);
    } else if (type == VarType::Date) {
        number = DateToSerial(CDate(value));
    } else {
        number = CDbl(value);
    }
    return formatNumber(number, pattern);
}
