// Val: the leading number of a text, read with a point whatever the locale.

#include "platform/runtime/Variant.h"

#include "runtime/ValueLocale.h"

#include <cmath>

namespace {

class Val_ : public LocaleTest {};

TEST_P(Val_, LeadingNumberWithAPoint)
{
    struct Fall {
        const char* text;
        double wert;
    } faelle[] = {{"", 0},          {"abc", 0},       {"12", 12},        {" 2.5", 2.5},
                  {"2,5", 2},       {"-3", -3},       {"+4.25x", 4.25},  {"1 2 3", 123},
                  {".5", 0.5},      {"1e3", 1000},    {"2D2", 200},      {"7E", 7},
                  {"-", 0},         {"3.5.1", 3.5},   {"\t1\n0", 10},    {"40000", 40000}};
    for (const Fall& f : faelle) EXPECT_DOUBLE_EQ(Val(QString::fromLatin1(f.text)), f.wert) << f.text;
    EXPECT_TRUE(std::isinf(Val(QStringLiteral("1e400"))));
}

VELD_BOTH_LOCALES(Val_);

} // namespace
