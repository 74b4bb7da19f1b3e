// The test main window's stand-ins for the page services.

#include "support/TESTHAUPTFENSTER.h"

#include "platform/controls/RecordingSurface.h"

#include <gtest/gtest.h>

TEST(TesthauptfensterSeiten, LoadsEachPageOnceAndRecordsWhatWasShown) {
    TESTHAUPTFENSTER haupt;
    QStringList geladen;
    EXPECT_TRUE(haupt.SEITELADEN(QStringLiteral("mdiSEITE1")));
    EXPECT_FALSE(haupt.SEITELADEN(QStringLiteral("mdiSEITE1")));
    haupt.BEISEITELADEN = [&](const QString& name) { geladen << name; };
    EXPECT_TRUE(haupt.SEITELADEN(QStringLiteral("mdiMSEITE1")));
    EXPECT_EQ(geladen, QStringList{QStringLiteral("mdiMSEITE1")});
    haupt.SEITEZEIGEN(QStringLiteral("mdiMSEITE1"));
    EXPECT_EQ(haupt.AKTIVESKIND(), QStringLiteral("mdiMSEITE1"));
    EXPECT_EQ(haupt.GEZEIGTESEITEN(), QStringList{QStringLiteral("mdiMSEITE1")});

    haupt.SETZEAKTIV(false);
    haupt.SETZEAKTIV(true);
    EXPECT_EQ(haupt.AKTIVIERUNGEN(), (std::vector<bool>{false, true}));
    haupt.SETZEPANELBEVEL(10, 2);
    EXPECT_EQ(haupt.PANELBEVEL(10), 2);
    EXPECT_EQ(haupt.PANELBEVEL(11), 0);
    ASSERT_NE(haupt.RAHMENOBJEKT(), nullptr);
    EXPECT_EQ(haupt.RAHMENOBJEKT()->ObjectKind(), OutputObject::Kind::Form);
    EXPECT_EQ(haupt.RAHMEN().PixelWidth(), 1024);
}
