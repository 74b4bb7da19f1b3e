// The tests' main window: the temporary laboratory it lays out, the
// connections it opens, and what it records of the calls made to it.

#include "support/TESTHAUPTFENSTER.h"

#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/Variant.h"

#include <QFileInfo>
#include <gtest/gtest.h>

TEST(TESTHAUPTFENSTER, IsTheMainWindowWhileItLives) {
    EXPECT_FALSE(HAUPTFENSTERGESETZT());
    {
        TESTHAUPTFENSTER fenster;
        ASSERT_TRUE(HAUPTFENSTERGESETZT());
        EXPECT_EQ(&frmMAIN(), &fenster);
        EXPECT_FALSE(ENTWICKLUNGSLAUF());
        fenster.SETZEPROGRAMMPFAD(fenster.WURZEL() + QStringLiteral("/Source/VELD"));
        EXPECT_TRUE(ENTWICKLUNGSLAUF());
    }
    EXPECT_FALSE(HAUPTFENSTERGESETZT());
}

TEST(TESTHAUPTFENSTER, LaysOutALaboratoryWithAProjectAndAWorkingCopy) {
    TESTHAUPTFENSTER fenster;
    EXPECT_EQ(fenster.PROJEKT(), QStringLiteral("TE0000.00"));
    EXPECT_EQ(fenster.BENUTZER(), QStringLiteral("TESTER"));
    EXPECT_TRUE(QFileInfo::exists(fenster.DATENBANKPFAD() + QStringLiteral("/ARCHIV.mdb")));
    EXPECT_TRUE(QFileInfo::exists(fenster.DATENBANKPFAD() + QStringLiteral("/VORGABE.mdb")));
    EXPECT_TRUE(QFileInfo::exists(fenster.PROJEKTSPFAD() + QStringLiteral("/TE0000.00/VELD.mdb")));
    EXPECT_TRUE(QFileInfo::exists(fenster.PROGRAMMPFAD() + QStringLiteral("/VELD.mdb")));
    EXPECT_EQ(QFileInfo(fenster.XMDBPFAD()).absoluteFilePath(),
              QFileInfo(fenster.PROGRAMMPFAD() + QStringLiteral("/../BENUTZER/TESTER/VELD.mdb"))
                  .absoluteFilePath());
    EXPECT_EQ(fenster.DBPROJEKT()->Path(), QFileInfo(fenster.XMDBPFAD()).absoluteFilePath());
    EXPECT_EQ(fenster.DBVORGABE()->Path(), QFileInfo(fenster.VORGABEPFAD()).absoluteFilePath());

    Connection archiv(fenster.ARCHIVPFAD());
    Recordset admin(QStringLiteral("SELECT * FROM [ADMIN] WHERE [BENUTZER]='TESTER'"), archiv);
    ASSERT_EQ(admin.RecordCount(), 1);
    EXPECT_EQ(admin.Fields("PROJEKTSPFAD").Value().toString(), fenster.PROJEKTSPFAD());
    EXPECT_EQ(admin.Fields("PROJEKT").Value().toString(), QStringLiteral("TE0000.00"));
    EXPECT_EQ(admin.Fields("BEARBEITER").Value().toString(), fenster.BEARBEITER());

    // The working copy is the project database's copy, not the file itself.
    fenster.DATENSATZANLEGEN(1, QStringLiteral("P1"), QStringLiteral("erste"), true);
    Connection projekt(fenster.PROJEKTDATENBANK());
    Recordset rows(QStringLiteral("SELECT * FROM [E1]"), projekt);
    EXPECT_EQ(rows.RecordCount(), 0);
    EXPECT_EQ(fenster.ZEILEN(QStringLiteral("E1")), 1);
}

TEST(TESTHAUPTFENSTER, HelpersWriteRowsOfARecord) {
    TESTHAUPTFENSTER fenster;
    fenster.DATENSATZANLEGEN(2, QStringLiteral("O'Neil"));
    fenster.ALLGEMEINEDATENANLEGEN(2, 1, 2.0f, 150.5f, 1440.0f);
    fenster.MESSWERTANLEGEN(2, 0, QStringLiteral("01.02.03"), QStringLiteral("08:00:00"), 0.0, 0.0,
                            21.5);
    fenster.MESSWERTANLEGEN(2, 1, QStringLiteral("01.02.03"), QStringLiteral("09:00:00"), 60.0,
                            1.25);
    EXPECT_EQ(fenster.WERT(QStringLiteral("SELECT [ID] FROM [E1] WHERE [KEN]=?"),
                           {QStringLiteral("o'neil")}),
              QVariant(2));
    EXPECT_TRUE(IsNull(fenster.WERT(QStringLiteral("SELECT [KOM] FROM [E1] WHERE [ID]=2"))));
    EXPECT_EQ(fenster.WERT(QStringLiteral("SELECT [AKT] FROM [E1] WHERE [ID]=2")), QVariant(false));
    EXPECT_EQ(fenster.WERT(QStringLiteral("SELECT [MS] FROM [E2] WHERE [ID]=2")), QVariant(150.5f));
    EXPECT_EQ(fenster.ZEILEN(QStringLiteral("E3"), QStringLiteral("[ID]=2")), 2);
    EXPECT_TRUE(IsNull(fenster.WERT(QStringLiteral("SELECT [TEMP] FROM [E3] WHERE [I1]=1"))));
    EXPECT_FALSE(fenster.WERT(QStringLiteral("SELECT [ID] FROM [E1] WHERE [ID]=99")).isValid());
}

TEST(TESTHAUPTFENSTER, RecordsPanelsProgressAndMenuCalls) {
    TESTHAUPTFENSTER fenster;
    std::vector<int> gesehen;
    fenster.BEIPANEL = [&](int panel) { gesehen.push_back(panel); };
    frmMAIN().stbMAIN_PanelClick(15);
    frmMAIN().stbMAIN_PanelClick(8);
    frmMAIN().SETZEFORTSCHRITTSICHTBAR(true);
    frmMAIN().SETZEFORTSCHRITT(50);
    frmMAIN().SETZEFORTSCHRITT(100);
    frmMAIN().SETZEFORTSCHRITTSICHTBAR(false);
    frmMAIN().mnuBEENDEN_Click();
    frmMAIN().mnuHILFE_Click();
    frmMAIN().mnuHILFE_Click();
    frmMAIN().SETZEAUSWAHLMODUS(QStringLiteral("O"));
    frmMAIN().SETZEBOGEAENDERT(true);
    EXPECT_EQ(fenster.PANELS(), std::vector<int>({15, 8}));
    EXPECT_EQ(gesehen, std::vector<int>({15, 8}));
    EXPECT_EQ(fenster.FORTSCHRITTE(), std::vector<int>({50, 100}));
    EXPECT_EQ(fenster.FORTSCHRITT(), 100);
    EXPECT_EQ(fenster.SICHTBARKEITEN(), std::vector<bool>({true, false}));
    EXPECT_FALSE(fenster.FORTSCHRITTSICHTBAR());
    EXPECT_EQ(fenster.BEENDENAUFRUFE(), 1);
    EXPECT_EQ(fenster.HILFEAUFRUFE(), 2);
    EXPECT_EQ(fenster.AUSWAHLMODUS(), QStringLiteral("O"));
    EXPECT_TRUE(fenster.BOGEAENDERT());
    EXPECT_TRUE(frmMAIN().MENUAKTIV(QStringLiteral("mnuDATEI")));
    frmMAIN().SETZEMENUAKTIV(QStringLiteral("mnuDATEI"), false);
    EXPECT_FALSE(frmMAIN().MENUAKTIV(QStringLiteral("mnuDATEI")));
    EXPECT_FALSE(frmMAIN().PANELSICHTBAR(8));
    frmMAIN().SETZEPANELSICHTBAR(8, true);
    EXPECT_TRUE(frmMAIN().PANELSICHTBAR(8));
    fenster.SETZEPANELTEXT(6, QStringLiteral("P1"));
    EXPECT_EQ(frmMAIN().PANELTEXT(6), QStringLiteral("P1"));
    frmMAIN().DATENSATZANZEIGE();
    EXPECT_EQ(fenster.DATENSATZANZEIGEN(), 1);
    fenster.PROTOKOLLLOESCHEN();
    EXPECT_TRUE(fenster.PANELS().empty());
    EXPECT_EQ(fenster.BEENDENAUFRUFE(), 0);
}
