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
    // strtod reads.
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto zeichen = [&] {
        while (i < n && blank(text.at(i))) ++i;
        return i < n ? text.at(i) : QChar();
    };
    // Takes the next character into `ziel` when it passes the test.
    auto nimm = [&](std::string& ziel, auto passt) {
        const QChar c = zeichen();
        if (c.isNull() || !passt(c)) return false;
        ziel += char(c.unicode());
        ++i;
        return true;
    };
    auto vorzeichen = [](QChar c) { return c == QLatin1Char('+') || c == QLatin1Char('-'); };
    auto ziffern = [&](std::string& ziel) {
        bool gelesen = false;
        while (nimm(ziel, digit)) gelesen = true;
        return gelesen;
    };

    std::string zahl;
    nimm(zahl, vorzeichen);
    bool gelesen = ziffern(zahl);
    if (nimm(zahl, [](QChar c) { return c == QLatin1Char('.'); })) gelesen |= ziffern(zahl);
    if (!gelesen) return 0.0;
    const QChar e = zeichen();
    if (e == QLatin1Char('E') || e == QLatin1Char('e') || e == QLatin1Char('D') ||
        e == QLatin1Char('d')) {
        ++i;
        std::string exponent(1, 'e');
        nimm(exponent, vorzeichen);
        // An "E" without digits is not part of the number.
        if (ziffern(exponent)) zahl += exponent;
    }
    // Read in the C locale whatever the process locale is (Qt sets the
    // user's): a point is the decimal mark. Out of range gives HUGE_VAL or 0.
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", locale_t(0));
    return strtod_l(zahl.c_str(), nullptr, cLocale);
}
