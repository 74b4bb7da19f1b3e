// Values and their conversions: Empty and Null, number texts in the user's
// notation, date texts, the C conversions with the runtime's errors, and
// checked float arithmetic.

#include "ValueLocale.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Variant.h"

#include <QDate>
#include <QTime>
#include <cfloat>
#include <cmath>
#include <functional>
#include <limits>

namespace {

// The runtime error number that a call raises, 0 when it raises none.
int ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

QVariant T(const char* text) {
    return QVariant(QString::fromUtf8(text));
}
QDateTime DT(int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
    return QDateTime(QDate(y, m, d), QTime(h, mi, s), Qt::UTC);
}

} // namespace

TEST(VariantKinds, EmptyAndNullAreDistinct) {
    EXPECT_TRUE(IsEmpty(QVariant()));
    EXPECT_FALSE(IsNull(QVariant()));
    EXPECT_TRUE(IsNull(VNull()));
    EXPECT_FALSE(IsEmpty(VNull()));
    EXPECT_FALSE(IsNull(QVariant(QString()))); // an empty text is a value
    EXPECT_FALSE(IsEmpty(QVariant(0)));
    EXPECT_EQ(VarTypeOf(VNull()), VarType::Null);
    EXPECT_EQ(VarTypeOf(QVariant(int16_t(3))), VarType::Integer);
    EXPECT_EQ(VarTypeOf(QVariant(3.0f)), VarType::Single);
    EXPECT_EQ(VarTypeOf(QVariant(QDate(2024, 1, 1))), VarType::Date);
}

// ---------------------------------------------------------------------------
// Number texts

class NumberText : public LocaleTest {};
VELD_BOTH_LOCALES(NumberText);

TEST_P(NumberText, ReadsOnlyTheUsersDecimalNotation) {
    struct Case {
        const char* text;
        bool de;
        double deValue;
        bool c;
        double cValue;
    } cases[] = {
        {"12,5", true, 12.5, false, 0},
        {"12.5", false, 0, true, 12.5}, // never 125 through the group separator
        {"1.234,5", false, 0, false, 0},
        {"1,234.5", false, 0, false, 0},
        {"  -3,25  ", true, -3.25, false, 0},
        {"+7", true, 7, true, 7},
        {"0", true, 0, true, 0},
        {",5", true, 0.5, false, 0},
        {"5,", true, 5, false, 0},
        {"1E-05", true, 1e-5, true, 1e-5},
        {"2,5e3", true, 2500, false, 0},
        {"2.5E+3", false, 0, true, 2500},
        {"", false, 0, false, 0},
        {"   ", false, 0, false, 0},
        {"abc", false, 0, false, 0},
        {"12abc", false, 0, false, 0},
        {"1E", false, 0, false, 0},
        {"-", false, 0, false, 0},
        {"1 2", false, 0, false, 0},
        {"1E400", false, 0, false, 0}, // beyond a Double
    };
    for (const Case& c : cases) {
        double value = -99;
        const bool ok = ParseNumberText(QString::fromUtf8(c.text), value);
        EXPECT_EQ(ok, German() ? c.de : c.c) << c.text;
        if (ok)
            EXPECT_DOUBLE_EQ(value, German() ? c.deValue : c.cValue) << c.text;
        else
            EXPECT_EQ(value, -99) << c.text << ": a refused text leaves the value";
    }
}

TEST_P(NumberText, IsNumericFollowsTheRuntime) {
    EXPECT_TRUE(IsNumeric(QVariant())); // Empty counts as 0
    EXPECT_FALSE(IsNumeric(VNull()));
    EXPECT_TRUE(IsNumeric(QVariant(true)));
    EXPECT_TRUE(IsNumeric(QVariant(12.3f)));
    EXPECT_TRUE(IsNumeric(QVariant(int16_t(4))));
    EXPECT_FALSE(IsNumeric(QVariant(QDate(2024, 3, 12))));
    EXPECT_FALSE(IsNumeric(T("")));
    EXPECT_FALSE(IsNumeric(T("12.03.24")));
    EXPECT_EQ(IsNumeric(T("12,5")), German());
    EXPECT_EQ(IsNumeric(T("12.5")), !German());
    EXPECT_TRUE(IsNumeric(T(" 12 ")));
}

// ---------------------------------------------------------------------------
// Date texts

class DateTexts : public LocaleTest {};
VELD_BOTH_LOCALES(DateTexts);

TEST_P(DateTexts, IsDateTable) {
    struct Case {
        const char* text;
        bool date;
    } cases[] = {
        {"12.03.24", true},     {"12/03/24", true},       {"12-03-24", true},
        {"1.3.2024", true},     {"12.03.2024", true},     {"29.02.24", true},
        {"31.02.04", false},    {"29.02.23", false},      {"32.01.24", false},
        {"12.13.24", false},    {"12:30", true},          {"08:30:45", true},
        {"8:5", true},          {"24:00", false},         {"12:60", false},
        {"12:30:60", false},    {"12.03.24 08:30", true}, {"12.03.24 08:30:00", true},
        {"12.03", true},        {"2024-03-12", true},     {"12.03/24", false},
        {"12.03.24.", false},   {"abc", false},           {"", false},
        {"12", false},          {"12,5", false},          {"12.03.24 abc", false},
        {"  12.03.24  ", true}, {"123.03.24", false},     {"12.03.024", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsDate(T(c.text)), c.date) << c.text;
    EXPECT_TRUE(IsDate(QVariant(QDate(2024, 3, 12))));
    EXPECT_TRUE(IsDate(QVariant(QTime(8, 0))));
    EXPECT_FALSE(IsDate(QVariant(45000.0))); // numbers are not dates
    EXPECT_FALSE(IsDate(QVariant()));
    EXPECT_FALSE(IsDate(VNull()));
}

TEST_P(DateTexts, ParsesDayFirstWithTheCenturyWindow) {
    QDateTime value;
    ASSERT_TRUE(ParseDateText(QStringLiteral("05/04/29"), value));
    EXPECT_EQ(value, DT(2029, 4, 5));
    ASSERT_TRUE(ParseDateText(QStringLiteral("05.04.30"), value));
    EXPECT_EQ(value, DT(1930, 4, 5));
    ASSERT_TRUE(ParseDateText(QStringLiteral("12.03.24 23:59:59"), value));
    EXPECT_EQ(value, DT(2024, 3, 12, 23, 59, 59));
    ASSERT_TRUE(ParseDateText(QStringLiteral("23:50"), value));
    EXPECT_EQ(value, DT(1899, 12, 30, 23, 50)); // a time lies on the day 0
    ASSERT_TRUE(ParseDateText(QStringLiteral("12.03"), value));
    EXPECT_EQ(value.date(), QDate(QDate::currentDate().year(), 3, 12));
}

TEST_P(DateTexts, DateTextReadsBackAsTheSameDate) {
    EXPECT_EQ(DateSeparator(), German() ? "." : "/");
    EXPECT_EQ(TimeSeparator(), ":");
    EXPECT_EQ(DateText(DT(2024, 3, 12)), Dat("12.03.2024"));
    EXPECT_EQ(DateText(DT(2024, 3, 12, 8, 5, 9)), Dat("12.03.2024 08:05:09"));
    EXPECT_EQ(DateText(DT(1899, 12, 30, 8, 30)), "08:30:00");
    EXPECT_EQ(DateText(DT(1899, 12, 30)), "00:00:00");
    for (const QDateTime& d :
         {DT(1924, 3, 12), DT(2024, 12, 31, 23, 59, 59), DT(1899, 12, 29, 6, 0)}) {
        QDateTime back;
        ASSERT_TRUE(ParseDateText(DateText(d), back)) << DateText(d).toStdString();
        EXPECT_EQ(back, d);
        EXPECT_EQ(CStr(QVariant(d)), DateText(d));
    }
}

TEST(DateSerial, CountsDaysFromTheEndOf1899) {
    EXPECT_EQ(DateToSerial(DT(1899, 12, 30)), 0.0);
    EXPECT_EQ(DateToSerial(DT(1900, 1, 1, 12)), 2.5);
    EXPECT_EQ(DateToSerial(DT(1899, 12, 29, 6)), -1.25); // the time counts away from zero
    EXPECT_EQ(DateToSerial(DT(2024, 3, 12)), 45363.0);
    EXPECT_EQ(DateFromSerial(45363.75), DT(2024, 3, 12, 18));
    EXPECT_EQ(DateFromSerial(-1.25), DT(1899, 12, 29, 6));
    EXPECT_EQ(DateFromSerial(0.5), DT(1899, 12, 30, 12));
    EXPECT_EQ(DateFromSerial(1.0 / 3.0).time(), QTime(8, 0));
    EXPECT_EQ(DateFromSerial(2958465.0).date(), QDate(9999, 12, 31));
    EXPECT_EQ(ErrorOf([] { DateFromSerial(2958466.0); }), 6);
    EXPECT_EQ(ErrorOf([] { DateFromSerial(-657435.0); }), 6);
    // The date of a local time counts as the calendar shows it.
    EXPECT_EQ(DateToSerial(QDateTime(QDate(2024, 3, 31), QTime(12, 0))), 45382.5);
}

// ---------------------------------------------------------------------------
// Conversions

class Conversion : public LocaleTest {};
VELD_BOTH_LOCALES(Conversion);

TEST_P(Conversion, WholeNumbersRoundHalvesToEven) {
    struct Case {
        double value;
        int expected;
    } cases[] = {
        {2.5, 2},    {3.5, 4},    {-2.5, -2}, {-3.5, -4},       {0.5, 0},           {1.5, 2},
        {2.4999, 2}, {2.5001, 3}, {-0.4, 0},  {32767.4, 32767}, {-32768.5, -32768}, {0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CInt(QVariant(c.value)), c.expected) << c.value;
        EXPECT_EQ(CLng(QVariant(c.value)), c.expected) << c.value;
    }
    EXPECT_EQ(CInt(QVariant(2.5f)), 2);
    EXPECT_EQ(CLng(QVariant(2147483647.4)), 2147483647);
    EXPECT_EQ(CLng(QVariant(-2147483648.5)), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(CInt(QVariant()), 0);
    EXPECT_EQ(CInt(QVariant(true)), -1);
    EXPECT_EQ(CInt(QVariant(false)), 0);
    EXPECT_EQ(CInt(QVariant(qlonglong(123))), 123);
    EXPECT_EQ(CLng(QVariant(QDate(2024, 3, 12))), 45363);
    EXPECT_EQ(CInt(German() ? T(" 2,5 ") : T(" 2.5 ")), 2);
    EXPECT_EQ(CInt(German() ? T("3,5") : T("3.5")), 4);
}

TEST_P(Conversion, OverflowTypeMismatchAndNull) {
    struct Case {
        const char* what;
        std::function<void()> call;
        int error;
    } cases[] = {
        {"CInt 32767.5", [] { CInt(QVariant(32767.5)); }, 6},
        {"CInt 40000", [] { CInt(QVariant(40000)); }, 6},
        {"CInt -32769", [] { CInt(QVariant(-32769)); }, 6},
        {"CLng 2^31", [] { CLng(QVariant(2147483648.0)); }, 6},
        {"CLng 1E20", [] { CLng(QVariant(1e20)); }, 6},
        {"CLng NaN", [] { CLng(QVariant(std::nan(""))); }, 6},
        {"CSng 1E39", [] { CSng(QVariant(1e39)); }, 6},
        {"CSng text 1E40", [] { CSng(T("1E40")); }, 6},
        {"CInt abc", [] { CInt(T("abc")); }, 13},
        {"CInt empty text", [] { CInt(T("")); }, 13},
        {"CLng date text", [] { CLng(T("12.03.24")); }, 13},
        {"CDbl abc", [] { CDbl(T("abc")); }, 13},
        {"CSng abc", [] { CSng(T("abc")); }, 13},
        {"CBool abc", [] { CBool(T("abc")); }, 13},
        {"CDate abc", [] { CDate(T("abc")); }, 13},
        {"CDate 31.02.04", [] { CDate(T("31.02.04")); }, 13},
        {"CDbl list", [] { CDbl(QVariant(QStringList{QStringLiteral("1")})); }, 13},
        {"CInt Null", [] { CInt(VNull()); }, 94},
        {"CLng Null", [] { CLng(VNull()); }, 94},
        {"CSng Null", [] { CSng(VNull()); }, 94},
        {"CDbl Null", [] { CDbl(VNull()); }, 94},
        {"CBool Null", [] { CBool(VNull()); }, 94},
        {"CStr Null", [] { CStr(VNull()); }, 94},
        {"CDate Null", [] { CDate(VNull()); }, 94},
        {"CDate 1E7", [] { CDate(QVariant(1e7)); }, 6},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf(c.call), c.error) << c.what;
    // The error's description follows the user's language.
    try {
        CInt(QVariant(40000));
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Description(),
                  German() ? QStringLiteral("Überlauf") : QStringLiteral("Overflow"));
    }
}

TEST_P(Conversion, SingleDoubleAndBoolean) {
    EXPECT_EQ(CSng(German() ? T("12,3") : T("12.3")), 12.3f);
    EXPECT_EQ(CSng(QVariant(3.4e38)), 3.4e38f);
    EXPECT_EQ(CSng(QVariant(FLT_MAX)), FLT_MAX);
    EXPECT_EQ(CSng(QVariant()), 0.0f);
    EXPECT_EQ(CSng(QVariant(true)), -1.0f);
    EXPECT_EQ(CDbl(QVariant(12.3f)), static_cast<double>(12.3f)); // widened, not re-read
    EXPECT_EQ(CDbl(German() ? T("-1,5E-3") : T("-1.5E-3")), -0.0015);
    EXPECT_EQ(CDbl(QVariant(QDateTime(QDate(1900, 1, 1), QTime(12, 0), Qt::UTC))), 2.5);
    EXPECT_EQ(CDbl(QVariant()), 0.0);

    EXPECT_TRUE(CBool(QVariant(0.1)));
    EXPECT_TRUE(CBool(QVariant(-1)));
    EXPECT_FALSE(CBool(QVariant(0)));
    EXPECT_FALSE(CBool(QVariant()));
    EXPECT_TRUE(CBool(T("True")));
    EXPECT_TRUE(CBool(T("wahr")));
    EXPECT_FALSE(CBool(T("FALSE")));
    EXPECT_FALSE(CBool(T("Falsch")));
    EXPECT_TRUE(CBool(T("5")));
    EXPECT_FALSE(CBool(T(" 0 ")));
}

TEST_P(Conversion, StringOfEveryType) {
    EXPECT_EQ(CStr(QVariant()), "");
    EXPECT_EQ(CStr(QVariant(true)), "True");
    EXPECT_EQ(CStr(QVariant(false)), "False");
    EXPECT_EQ(CStr(QVariant(int16_t(-12))), "-12");
    EXPECT_EQ(CStr(QVariant(12.3f)), Dec("12,3"));
    EXPECT_EQ(CStr(QVariant(0.1f)), Dec("0,1"));
    EXPECT_EQ(CStr(QVariant(1.0f / 3.0f)), Dec("0,3333333"));
    EXPECT_EQ(CStr(QVariant(1.0 / 3.0)), Dec("0,333333333333333"));
    EXPECT_EQ(CStr(QVariant(2.5)), Dec("2,5"));
    EXPECT_EQ(CStr(QVariant(1440.0)), "1440");
    EXPECT_EQ(CStr(T(" a b ")), " a b ");
    EXPECT_EQ(CStr(QVariant(QDate(2024, 3, 12))), Dat("12.03.2024"));
}

TEST_P(Conversion, DatesFromTextsAndNumbers) {
    EXPECT_EQ(CDate(T("12.03.24")), DT(2024, 3, 12));
    EXPECT_EQ(CDate(T("12/3/2024 8:30")), DT(2024, 3, 12, 8, 30));
    EXPECT_EQ(CDate(T("08:30:15")), DT(1899, 12, 30, 8, 30, 15));
    EXPECT_EQ(CDate(QVariant(45363.5)), DT(2024, 3, 12, 12));
    EXPECT_EQ(CDate(QVariant()), DT(1899, 12, 30));
    EXPECT_EQ(CDate(QVariant(QDate(2024, 3, 12))), DT(2024, 3, 12));
    EXPECT_EQ(CDate(QVariant(QTime(6, 0))), DT(1899, 12, 30, 6));
    EXPECT_EQ(ErrorOf([] { CDate(T("45000")); }), 13); // a number text is no date text
}

// ---------------------------------------------------------------------------
// Checked float arithmetic

TEST(CheckedArithmetic, DivisionByZeroAndOverflow) {
    EXPECT_EQ(ErrorOf([] { DivSingle(1.0f, 0.0f); }), 11);
    EXPECT_EQ(ErrorOf([] { DivSingle(-1.0f, 0.0f); }), 11);
    EXPECT_EQ(ErrorOf([] { DivSingle(0.0f, 0.0f); }), 6);
    EXPECT_EQ(ErrorOf([] { DivDouble(1.0, 0.0); }), 11);
    EXPECT_EQ(ErrorOf([] { DivDouble(0.0, 0.0); }), 6);
    EXPECT_EQ(ErrorOf([] { DivSingle(3e38f, 0.5f); }), 6); // beyond a Single
    EXPECT_EQ(ErrorOf([] { DivDouble(1e308, 1e-10); }), 6);
    EXPECT_EQ(ErrorOf([] { DivSingle(std::nanf(""), 1.0f); }), 6);
    EXPECT_EQ(ErrorOf([] { DivDouble(1.0, std::nan("")); }), 6);
    EXPECT_EQ(DivSingle(1.0f, 3.0f), 1.0f / 3.0f);
    EXPECT_EQ(DivSingle(0.0f, 5.0f), 0.0f);
    EXPECT_EQ(DivDouble(7.0, 2.0), 3.5);

    EXPECT_EQ(CheckedSingle(FLT_MAX), FLT_MAX);
    EXPECT_EQ(CheckedSingle(1e-50), 0.0f); // underflow is no error
    EXPECT_EQ(ErrorOf([] { CheckedSingle(1e39); }), 6);
    EXPECT_EQ(ErrorOf([] { CheckedSingle(-1e39); }), 6);
    EXPECT_EQ(ErrorOf([] { CheckedSingle(std::numeric_limits<double>::infinity()); }), 6);
    EXPECT_EQ(ErrorOf([] { CheckedSingle(std::nan("")); }), 6);
    // Just above FLT_MAX still rounds to it; half a unit above is infinite.
    EXPECT_EQ(CheckedSingle(static_cast<double>(FLT_MAX) * (1 + 1e-9)), FLT_MAX);
    EXPECT_EQ(ErrorOf([] { CheckedSingle(std::ldexp(1.0, 128) - std::ldexp(1.0, 103)); }), 6);
}
