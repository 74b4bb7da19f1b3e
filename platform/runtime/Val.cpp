#include "platform/runtime/Variant.h"

#include <cstdlib>
#include <locale.h>
#include <string>

namespace {

bool blank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

bool digit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

double Val(const QString& text)
{
    // The number's characters without the blanks, in the C notation that
    // strtod reads whatever the process locale.
    std::string zahl;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto weiter = [&] {
        while (i < n && blank(text.at(i))) ++i;
        return i < n ? text.at(i) : QChar();
    };
    QChar c = weiter();
    if (c == QLatin1Char('+') || c == QLatin1Char('-')) {
        zahl += char(c.unicode());
        ++i;
        c = weiter();
    }
    bool ziffern = false;
    while (digit(c)) {
        zahl += char(c.unicode());
        ziffern = true;
        ++i;
        c = weiter();
    }
    if (c == QLatin1Char('.')) {
        zahl += '.';
        ++i;
        c = weiter();
        while (digit(c)) {
            zahl += char(c.unicode());
            ziffern = true;
            ++i;
            c = weiter();
        }
    }
    if (!ziffern) return 0.0;
    if (c == QLatin1Char('E') || c == QLatin1Char('e') || c == QLatin1Char('D') ||
        c == QLatin1Char('d')) {
        std::string exponent = "e";
        ++i;
        c = weiter();
        if (c == QLatin1Char('+') || c == QLatin1Char('-')) {
            exponent += char(c.unicode());
            ++i;
            c = weiter();
        }
        bool exponentziffern = false;
        while (digit(c)) {
            exponent += char(c.unicode());
            exponentziffern = true;
            ++i;
            c = weiter();
        }
        // An "E" without digits is not part of the number.
        if (exponentziffern) zahl += exponent;
    }
    // Read in the C locale whatever the process locale is (Qt sets the
    // user's): a point is the decimal mark. Out of range gives HUGE_VAL or 0.
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", locale_t(0));
    return strtod_l(zahl.c_str(), nullptr, cLocale);
}
