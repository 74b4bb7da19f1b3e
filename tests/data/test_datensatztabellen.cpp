// The one list of a record's tables.

#include "data/DATENSATZTABELLEN.h"

#include <gtest/gtest.h>

TEST(Datensatztabellen, OneListHoldsEveryTableOfATestInItsOrder) {
    EXPECT_EQ(DATENSATZTABELLEN(),
              (QStringList{QStringLiteral("E1"), QStringLiteral("E2"), QStringLiteral("E3"),
                           QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("G0")}));
}
