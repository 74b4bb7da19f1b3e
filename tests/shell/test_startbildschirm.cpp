// The start screen: its texts by language, its layout and the progress bar.

#include "support/TESTHAUPTFENSTER.h"

#include "shell/mdiAUTOSTART.h"

#include <gtest/gtest.h>

TEST(Startbildschirm, EnglishTexts) {
    TESTHAUPTFENSTER haupt;
    haupt.SETZESPRACHE(1);
    mdiAUTOSTART start;
    start.Form_Load();
    EXPECT_EQ(start.lblTITEL->text(), QStringLiteral("Varmikon"));
    EXPECT_EQ(start.lblUNTERTITEL->text(), QString());
    EXPECT_EQ(start.lblVERSION->text(), QStringLiteral("Version March 2002"));
    EXPECT_TRUE(start.lblKOPF[2]->text().startsWith(QStringLiteral("Head of Found.: ")));
    EXPECT_TRUE(start.lblKOPF[3]->text().startsWith(QStringLiteral("Phone: ")));
    EXPECT_TRUE(start.lblKOPF[3]->text().contains(QStringLiteral(", E-Mail: ")));
    EXPECT_TRUE(start.lblKOPF[3]->text().contains(QStringLiteral(", Internet: ")));
    EXPECT_TRUE(start.lblKOPF[1]->text().contains(QStringLiteral(", ")));
    EXPECT_TRUE(start.pgbBERECHNEN->isHidden());
}

TEST(Startbildschirm, GermanTexts) {
    TESTHAUPTFENSTER haupt;
    haupt.SETZESPRACHE(3);
    mdiAUTOSTART start;
    start.Form_Load();
    EXPECT_EQ(start.lblTITEL->text(), QStringLiteral("Varmikon"));
    EXPECT_EQ(start.lblUNTERTITEL->text(), QString());
    EXPECT_EQ(start.lblVERSION->text(), QString::fromUtf8("Version März 2002"));
    EXPECT_TRUE(start.lblKOPF[2]->text().startsWith(QStringLiteral("Vorsitzender: ")));
    EXPECT_TRUE(start.lblKOPF[3]->text().startsWith(QStringLiteral("Telefon: ")));
    EXPECT_FALSE(start.lblKOPF[0]->text().isEmpty());
}

TEST(Startbildschirm, LayoutFollowsTheWindowsSize) {
    AUTOSTARTMASSE m;
    m.W = 12000;
    m.H = 9000;
    m.fraKOPFHoehe = 1000;
    m.imgRUMEBreite = 850;
    m.lblTITELBreite = 4000;
    m.lblTITELHoehe = 800;
    m.lblUNTERTITELBreite = 0;
    m.lblUNTERTITELHoehe = 800;
    m.imgDIABreite = 3600;
    m.imgDIAHoehe = 2400;
    m.TEXTHOEHE = 195;
    m.pgbHoehe = 255;
    const AUTOSTARTLAGE lage = mdiAUTOSTART::ANORDNUNG(m);
    EXPECT_DOUBLE_EQ(lage.fraKOPF.width(), 11760);
    EXPECT_DOUBLE_EQ(lage.fraKOPF.left(), 120);
    EXPECT_DOUBLE_EQ(lage.imgRUME.height(), 850);
    EXPECT_DOUBLE_EQ(lage.imgRUME.top(), 100);
    EXPECT_DOUBLE_EQ(lage.imgRUME.left(), 11760 - 850 - 50);
    EXPECT_DOUBLE_EQ(lage.lblTITEL.left(), 4000);
    EXPECT_DOUBLE_EQ(lage.lblTITEL.top(), 8200 / 2.75);
    EXPECT_DOUBLE_EQ(lage.lblUNTERTITEL.left(), 6000);
    EXPECT_DOUBLE_EQ(lage.lblUNTERTITEL.top(), 8200 / 2.75 + 920);
    EXPECT_DOUBLE_EQ(lage.imgDIA.left(), 12000 - 3600 - 1000);
    EXPECT_DOUBLE_EQ(lage.imgDIA.top(), 9000 - 2400 - 1000 + 195);
    EXPECT_DOUBLE_EQ(lage.lblVERSION.top(), 8000);
    EXPECT_DOUBLE_EQ(lage.lblVERSION.left(), 200);
    EXPECT_DOUBLE_EQ(lage.pgbBERECHNEN.width(), 3000);
    EXPECT_DOUBLE_EQ(lage.pgbBERECHNEN.left(), 200);
    EXPECT_DOUBLE_EQ(lage.pgbBERECHNEN.top(), 8000 - 3 * 255);
}
