// Numbers as text: the text of a Single and a Double, Round with halves to
// even, and Format with the program's number and date patterns.

#include "ValueLocale.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Variant.h"

#include <QDate>
#include <QTime>
#include <cmath>
#include <limits>

namespace {
QVariant T(const char* text) {
    return QVariant(QString::fromUtf8(text));
}
QVariant D(double value) {
    return QVariant(value);
}
QDateTime DT(int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
    return QDateTime(QDate(y, m, d), QTime(h, mi, s), Qt::UTC);
}
} // namespace

class NumberTexts : public LocaleTest {};
VELD_BOTH_LOCALES(NumberTexts);

TEST_P(NumberTexts, SingleKeepsSevenSignificantDigits) {
    struct Case {
        float value;
        const char* german;
    } cases[] = {
        {12.3f, "12,3"},
        {2.5f, "2,5"},
        {0.0f, "0"},
        {-0.0f, "0"},
        {-12.75f, "-12,75"},
        {1.0f / 3.0f, "0,3333333"},
        {1234567.0f, "1234567"},
        {12345678.0f, "1,234568E+07"},
        {123456789.0f, "1,234568E+08"},
        {1e7f, "1E+07"},
        {0.0001f, "0,0001"},
        {0.00001f, "1E-05"},
        {1.5e-7f, "1,5E-07"},
        {100.0f, "100"},
        {0.15f, "0,15"},
        {3.4e38f, "3,4E+38"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SingleText(c.value), Dec(c.german)) << c.german;
}

TEST_P(NumberTexts, DoubleKeepsFifteenSignificantDigits) {
    struct Case {
        double value;
        const char* german;
    } cases[] = {
        {0.1 + 0.2, "0,3"},
        {1.0 / 3.0, "0,333333333333333"},
        {static_cast<double>(12.3f), "12,3000001907349"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E+15"},
        {-2.5e-10, "-2,5E-10"},
        {1440.0, "1440"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DoubleText(c.value), Dec(c.german)) << c.german;
}

TEST(RoundTable, HalvesGoToTheEvenNeighbour) {
    struct Case {
        double value;
        int decimals;
        double expected;
    } cases[] = {
        {2.5, 0, 2},         {3.5, 0, 4},          {-2.5, 0, -2},    {0.5, 0, 0},
        {1.5, 0, 2},         {0.125, 2, 0.12},     {0.375, 2, 0.38}, {2.675, 2, 2.68},
        {2.665, 2, 2.66},    {10.05, 1, 10.0},     {10.06, 1, 10.1}, {10.04, 1, 10.0},
        {1.23456, 3, 1.235}, {-1.2345, 3, -1.234}, {9.995, 2, 10.0}, {0.04, 1, 0.0},
        {123.0, 2, 123.0},   {1e300, 0, 1e300},    {0.0, 3, 0.0},    {99.5, 0, 100},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Round(c.value, c.decimals), c.expected) << c.value << " to " << c.decimals;
    EXPECT_TRUE(std::isnan(Round(std::nan(""), 2)));
    // Decimals beyond what a double holds round nothing away.
    for (int viele : {400, std::numeric_limits<int>::max() - 1, std::numeric_limits<int>::max()})
        EXPECT_EQ(Round(1.0 / 3.0, viele), 1.0 / 3.0) << viele;
    EXPECT_EQ(Round(-1e-300, std::numeric_limits<int>::max()), -1e-300);
    try {
        Round(1.5, -1);
        ADD_FAILURE() << "negative decimals accepted";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 5);
    }
}

// ---------------------------------------------------------------------------
// Format with number patterns

class FormatNumbers : public LocaleTest {};
VELD_BOTH_LOCALES(FormatNumbers);

TEST_P(FormatNumbers, PatternTable) {
    struct Case {
        QVariant value;
        const char* pattern;
        const char* german;
    } cases[] = {
        {D(2.5), "0", "3"}, // halves away from zero, unlike Round
        {D(-2.5), "0", "-3"},
        {D(3.5), "0", "4"},
        {D(0.125), "0.00", "0,13"},
        {D(2.675), "0.00", "2,68"},
        {D(1.005), "0.00", "1,01"},
        {D(-0.001), "0.00", "0,00"}, // never "-0"
        {D(-0.4), "0", "0"},
        {D(-0.4), "#0.0", "-0,4"},
        {D(5), "#0", "5"},
        {D(0), "#0", "0"},
        {D(5), "##0.0", "5,0"},
        {D(123456), "####0", "123456"},
        {D(123.456), "####0", "123"},
        {D(7), "#0.00", "7,00"},
        {D(12.345), "#0.00", "12,35"},
        {D(1440), "#0.0", "1440,0"},
        {D(-1420), "#0.0", "-1420,0"},
        {D(12.34), "#0.0", "12,3"},
        {D(0.5), "#0.0", "0,5"},
        {D(9.96), "0.0", "10,0"},
        {D(0.05), "0.0", "0,1"},
        {D(1e20), "0", "100000000000000000000"},
        {D(5), "00", "05"},
        {D(0.5), "#.00", ",50"},
        {D(0), "#", ""},
        {D(1.5), "0.0#", "1,5"},
        {D(1.25), "0.0#", "1,25"},
        {D(100), "0.", "100,"}, // the axis labels drop the trailing separator themselves
        {D(1234567.891), "#,##0.00", "1.234.567,89"},
        {D(0.256), "0.0%", "25,6%"},
        {D(5), "0 \"min\"", "5 min"},
        {QVariant(12.35f), "0.00", "12,35"}, // widened to 12.3500003814697...
        {QVariant(12.35f), "0.0", "12,4"},
        {QVariant(0.1f), "#0", "0"},
        {QVariant(int16_t(42)), "0.0", "42,0"},
        {QVariant(true), "0", "-1"},
        {QVariant(QDate(2024, 3, 12)), "0", "45363"},
    };
    for (const Case& c : cases) {
        QString expected = QString::fromUtf8(c.german);
        if (!German()) // decimal comma and group point swap under C
            for (QChar& ch : expected)
                ch = ch == QLatin1Char(',')   ? QLatin1Char('.')
                     : ch == QLatin1Char('.') ? QLatin1Char(',')
                                              : ch;
        EXPECT_EQ(Format(c.value, QString::fromUtf8(c.pattern)), expected)
            << c.value.toString().toStdString() << " with " << c.pattern;
    }
}

TEST_P(FormatNumbers, TextsEmptyAndNull) {
    EXPECT_EQ(Format(German() ? T("7") : T("7"), "#0.00"), Dec("7,00"));
    EXPECT_EQ(Format(German() ? T(" 12,345 ") : T(" 12.345 "), "#0.00"), Dec("12,35"));
    EXPECT_EQ(Format(German() ? T("12,5") : T("12.5"), "#0.00"), Dec("12,50"));
    // The other notation is no number: it passes through unchanged.
    EXPECT_EQ(Format(German() ? T("12.5") : T("12,5"), "#0.00"), German() ? "12.5" : "12,5");
    EXPECT_EQ(Format(T("abc"), "#0.00"), "abc");
    EXPECT_EQ(Format(T("12.03.24"), "#0.00"), "12.03.24");
    EXPECT_EQ(Format(T(""), "#0.00"), "");
    EXPECT_EQ(Format(QVariant(), "#0.00"), "");
    EXPECT_EQ(Format(VNull(), "#0.00"), "");
    // Formatting a formatted text again keeps it.
    const QString once = Format(D(1440), "#0.0");
    EXPECT_EQ(Format(QVariant(once), "#0.0"), once);
}

TEST_P(FormatNumbers, EmptyPatternWritesLikeCStr) {
    EXPECT_EQ(Format(QVariant(12.3f), QString()), Dec("12,3"));
    EXPECT_EQ(Format(D(2.5), QString()), Dec("2,5"));
    EXPECT_EQ(Format(QVariant(7), QString()), "7");
    EXPECT_EQ(Format(QVariant(true), QString()), "True");
    EXPECT_EQ(Format(T(" 12,50 "), QString()), " 12,50 ");
    EXPECT_EQ(Format(QVariant(), QString()), "");
}

// ---------------------------------------------------------------------------
// Format with date and time patterns

class FormatDates : public LocaleTest {};
VELD_BOTH_LOCALES(FormatDates);

TEST_P(FormatDates, PatternTable) {
    const QVariant when(DT(2024, 3, 5, 8, 7, 6));
    EXPECT_EQ(Format(when, "dd/mm/yy"), Dat("05.03.24"));
    EXPECT_EQ(Format(when, "dd.mm.yy"), "05.03.24"); // a point is a point in a date pattern
    EXPECT_EQ(Format(when, "hh:mm:ss"), "08:07:06");
    EXPECT_EQ(Format(when, "hh:mm"), "08:07");
    EXPECT_EQ(Format(when, "d/m/yyyy h:n:s"), Dat("5.3.2024 8:7:6"));
    EXPECT_EQ(Format(when, "yyyy-mm-dd"), "2024-03-05");
    EXPECT_EQ(Format(when, "mm:ss"), "07:06"); // "m" before seconds is the minute
    EXPECT_EQ(Format(QVariant(QDateTime(QDate(2024, 3, 5), QTime(23, 59, 59, 600), Qt::UTC)),
                     "dd.mm.yy hh:mm:ss"),
              "06.03.24 00:00:00"); // whole seconds, rounded
    EXPECT_EQ(Format(QVariant(QTime(14, 30)), "hh:mm"), "14:30");
    EXPECT_EQ(Format(QVariant(QDate(2024, 12, 31)), "dd/mm/yy"), Dat("31.12.24"));
    EXPECT_EQ(Format(D(0.75), "hh:mm"), "18:00"); // a number is a day count
}

TEST_P(FormatDates, TextsAreReadAndFormattedAgain) {
    // `german` is the result under de_DE; under C the "/" of the pattern
    // writes "/" where de_DE writes "." (Dat). Texts that are no date stay.
    struct Case {
        const char* text;
        const char* pattern;
        const char* german;
        bool dateSeparators;
    } cases[] = {
        {"12.3.24", "dd/mm/yy", "12.03.24", true},
        {"12/03/2024", "dd/mm/yy", "12.03.24", true},
        {"12-03-24", "dd/mm/yy", "12.03.24", true},
        {"12.03.24 08:30", "dd/mm/yy", "12.03.24", true},
        {"8:30", "hh:mm:ss", "08:30:00", false},
        {"08:30:15", "hh:mm", "08:30", false},
        {"23:50:00", "hh:mm:ss", "23:50:00", false},
        {"abc", "dd/mm/yy", "abc", false},
        {"31.02.04", "dd/mm/yy", "31.02.04", false},
        {"", "hh:mm:ss", "", false},
    };
    for (const Case& c : cases) {
        const QString pattern = QString::fromUtf8(c.pattern);
        const QString once = Format(T(c.text), pattern);
        EXPECT_EQ(once, c.dateSeparators ? Dat(c.german) : QString::fromUtf8(c.german))
            << c.text << " with " << c.pattern;
        EXPECT_EQ(Format(QVariant(once), pattern), once) << c.text << " formatted twice";
    }
}
