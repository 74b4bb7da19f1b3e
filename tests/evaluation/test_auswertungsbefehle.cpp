// The Evaluate menu: item states, Calculate, Recalculate and Calculate
// multiple with the real pages loaded through the test main window.

#include "evaluation/AUSWERTUNGSBEFEHLE.h"
#include "pages/SEITENLADEN.h"
#include "platform/controls/Forms.h"
#include "platform/database/Connection.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/System.h"
#include "support/ScriptedDialogs.h"
#include "support/TESTHAUPTFENSTER.h"

#include <QLocale>
#include <QPointer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class Auswerten : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        system.SkipSleeps();
        haupt.BEISEITELADEN = [this](const QString& name) {
            ++ladungen;
            seiten << SEITELADEN(name, nullptr);
        };
    }
    void TearDown() override {
        for (const QPointer<QWidget>& s : seiten) delete s.data();
        QLocale::setDefault(QLocale::c());
    }
    // The standard test: t 0/60/1440, V 10/20/30, m s 100, t max 1440.
    void Pruefung(int id, const QString& ken, bool aktiv = true, float ms = 100) {
        haupt.DATENSATZANLEGEN(id, ken, QStringLiteral("Probe"), aktiv);
        haupt.ALLGEMEINEDATENANLEGEN(id, 0, 2, ms, 1440);
        const double t[] = {0, 60, 1440}, v[] = {10, 20, 30};
        for (int i = 0; i < 3; ++i)
            haupt.DBPROJEKT()->Execute(
                QStringLiteral("INSERT INTO [E3] ([ID],[I1],[DET],[V]) VALUES (?,?,?,?)"),
                {id, i, t[i], v[i]});
    }
    QVariant Wert(const QString& sql) { return haupt.WERT(sql); }
    std::vector<bool> Menus(std::initializer_list<const char*> namen) {
        std::vector<bool> z;
        for (const char* n : namen) z.push_back(haupt.MENUAKTIV(QString::fromLatin1(n)));
        return z;
    }

    TESTHAUPTFENSTER haupt;
    ScriptedDialogs boxen;
    SystemOverrides system;
    QList<QPointer<QWidget>> seiten;
    int ladungen = 0;
};

TEST_F(Auswerten, MenuStatesByTheActiveRecords) {
    const auto items = {"mnuEINGABEGRAFIK", "mnuBERECHNEN", "mnuMBERECHNEN", "mnuFBERECHNEN",
                        "mnuNEUBERECHNEN"};
    AUSWERTUNG::mnuAUSWERTEN_Click();
    EXPECT_EQ(Menus(items), (std::vector<bool>{false, false, false, false, false}));

    // One record never evaluated: its A1 row with the flag; only Recalculate.
    Pruefung(1, QStringLiteral("P-1"));
    AUSWERTUNG::mnuAUSWERTEN_Click();
    EXPECT_EQ(Wert(QStringLiteral("SELECT [BONEU] FROM [A1] WHERE [ID]=1")).toInt(), 1);
    EXPECT_EQ(Menus(items), (std::vector<bool>{false, false, false, false, true}));

    // Evaluated: Calculate and Recalculate.
    haupt.DBPROJEKT()->Execute(QStringLiteral("UPDATE [A1] SET [BONEU]=0"));
    AUSWERTUNG::mnuAUSWERTEN_Click();
    EXPECT_EQ(Menus(items), (std::vector<bool>{false, true, false, false, true}));

    // Two: the multiple evaluation's rows, made once; only Calculate multiple.
    Pruefung(2, QStringLiteral("P-2"));
    for (int mal = 0; mal < 2; ++mal) AUSWERTUNG::mnuAUSWERTEN_Click();
    EXPECT_EQ(Menus(items), (std::vector<bool>{false, false, true, false, false}));
    EXPECT_EQ(Wert(QStringLiteral("SELECT [KEN] || '/' || [KOM] FROM [E1] WHERE [ID]=0")).toString(),
              QStringLiteral("M/Mehrfachauswertung"));
    EXPECT_EQ(haupt.ZEILEN(QStringLiteral("E1"), QStringLiteral("[ID]=0")), 1);
    EXPECT_EQ(haupt.ZEILEN(QStringLiteral("A1"), QStringLiteral("[ID]=0 AND [BONEU]=1")), 1);
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_F(Auswerten, RecalculateEvaluatesLoadsThePageWithTheFlagAndClearsIt) {
    Pruefung(1, QStringLiteral("P-1"));
    haupt.DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [A1] ([ID],[BONEU],[VELD]) VALUES (1,0,99)"));
    AUSWERTUNG::mnuNEUBERECHNEN_Click();
    EXPECT_EQ(haupt.FORTSCHRITTE(), (std::vector<int>{0, 15, 35, 50, 65, 80, 95, 100, 0}));
    EXPECT_EQ(haupt.SICHTBARKEITEN(), (std::vector<bool>{true, false}));
    EXPECT_EQ(haupt.AKTIVIERUNGEN(), (std::vector<bool>{false, true}));
    EXPECT_EQ(system.Sleeps(), QList<int>{1500});
    // The page was built while the flag was set: the automatic layout.
    const QString g0 = QStringLiteral("SELECT %1 FROM [G0] WHERE [ID]=1 AND [IDOBJEKT]=11");
    EXPECT_EQ(Wert(g0.arg("[OX]||','||[OY]||','||[RL]||','||[RR]||','||[RO]||','||[RU]")).toString(),
              QStringLiteral("1,1,11,7,7,11"));
    EXPECT_EQ(Wert(g0.arg("[XMIN]||'/'||[XMAX]||'/'||[YMIN]||'/'||[YMAX]||'/'||[MYMX]")).toString(),
              QStringLiteral("0/1500/10/30/0"));
    EXPECT_NEAR(Wert(g0.arg("[MX]")).toDouble(), 1500.0 / 127, 1e-4);
    EXPECT_NEAR(Wert(g0.arg("[MY]")).toDouble(), 20.0 / 112, 1e-4);
    EXPECT_EQ(Wert(QStringLiteral("SELECT [BONEU] FROM [A1] WHERE [ID]=1")).toInt(), 0);
    EXPECT_DOUBLE_EQ(Wert(QStringLiteral("SELECT [VELD] FROM [A1] WHERE [ID]=1")).toDouble(), 30);
    EXPECT_EQ(haupt.ZEILEN(QStringLiteral("A1")), 1);
    EXPECT_EQ(haupt.GEZEIGTESEITEN(), QStringList{QStringLiteral("mdiSEITE1")});
    for (int p = 10; p <= 15; ++p) {
        EXPECT_TRUE(haupt.PANELSICHTBAR(p)) << p;
        EXPECT_EQ(haupt.PANELBEVEL(p), 2) << p;
    }
    EXPECT_FALSE(haupt.MENUAKTIV(QStringLiteral("mnuDATEI")));
    EXPECT_TRUE(haupt.BOGEAENDERT());
    EXPECT_EQ(MousePointer(), vbDefault);

    // Again with the page open: not loaded twice, the new result stored.
    haupt.DBPROJEKT()->Execute(QStringLiteral("UPDATE [E3] SET [V]=40 WHERE [I1]=2"));
    AUSWERTUNG::mnuNEUBERECHNEN_Click();
    EXPECT_EQ(ladungen, 1);
    EXPECT_DOUBLE_EQ(Wert(QStringLiteral("SELECT [VELD] FROM [A1] WHERE [ID]=1")).toDouble(), 40);
    EXPECT_EQ(Wert(QStringLiteral("SELECT [BONEU] FROM [A1] WHERE [ID]=1")).toInt(), 0);
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_F(Auswerten, AFailedEvaluationShowsNoPageAndKeepsTheFlag) {
    Pruefung(1, QStringLiteral("P-1"), true, 0);
    boxen.expect(vbCancel);
    AUSWERTUNG::mnuNEUBERECHNEN_Click();
    EXPECT_EQ(ladungen, 0);
    EXPECT_TRUE(haupt.GEZEIGTESEITEN().isEmpty());
    EXPECT_TRUE(haupt.AKTIV());
    EXPECT_FALSE(haupt.FORTSCHRITTSICHTBAR());
    EXPECT_EQ(Wert(QStringLiteral("SELECT [BONEU] FROM [A1] WHERE [ID]=1")).toInt(), 1);
    EXPECT_FALSE(haupt.BOGEAENDERT());
    EXPECT_TRUE(haupt.MENUAKTIV(QStringLiteral("mnuDATEI")));
}

TEST_F(Auswerten, CalculateShowsThePageFromTheStoredResults) {
    Pruefung(1, QStringLiteral("P-1"));
    AUSWERTUNG::mnuNEUBERECHNEN_Click();
    for (const QPointer<QWidget>& s : seiten) Forms::Unload(s);
    haupt.PROTOKOLLLOESCHEN();
    haupt.DBPROJEKT()->Execute(QStringLiteral("UPDATE [G0] SET [RL]=20"));
    haupt.SETZEBOGEAENDERT(false);
    AUSWERTUNG::mnuBERECHNEN_Click();
    EXPECT_EQ(haupt.GEZEIGTESEITEN(), QStringList{QStringLiteral("mdiSEITE1")});
    EXPECT_EQ(haupt.FORTSCHRITTE(), (std::vector<int>{50, 65, 80, 95, 100, 0}));
    EXPECT_EQ(haupt.SICHTBARKEITEN(), (std::vector<bool>{true, false}));
    EXPECT_DOUBLE_EQ(Wert(QStringLiteral("SELECT [RL] FROM [G0]")).toDouble(), 20);
    EXPECT_TRUE(haupt.BOGEAENDERT());
    EXPECT_FALSE(haupt.MENUAKTIV(QStringLiteral("mnuDATEI")));
}

TEST_F(Auswerten, CalculateMultipleAsksTheCommentOnceAndClearsRowZerosFlag) {
    Pruefung(1, QStringLiteral("P-1"));
    Pruefung(2, QStringLiteral("P-2"));
    haupt.DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [A1] ([ID],[BONEU],[VELD]) VALUES (1,0,30),(2,0,30)"));
    AUSWERTUNG::mnuAUSWERTEN_Click();
    boxen.expectInput(QStringLiteral("Serie A"), QStringLiteral("Kommentar: "));
    AUSWERTUNG::mnuMBERECHNEN_Click();
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("Mehrfachauswertung"));
    EXPECT_EQ(Wert(QStringLiteral("SELECT [KOM] FROM [M1] WHERE [IDM]=1")).toString(), QStringLiteral("Serie A"));
    EXPECT_EQ(Wert(QStringLiteral("SELECT [BONEU] FROM [A1] WHERE [ID]=0")).toInt(), 0);
    EXPECT_EQ(haupt.GEZEIGTESEITEN(), QStringList{QStringLiteral("mdiMSEITE1")});
    EXPECT_EQ(haupt.FORTSCHRITTE(), (std::vector<int>{40, 50, 75, 95, 100, 0}));
    EXPECT_FALSE(haupt.MENUAKTIV(QStringLiteral("mnuDATEI")));
    EXPECT_FALSE(haupt.MENUAKTIV(QStringLiteral("mnuEXTRAS")));
    EXPECT_TRUE(haupt.AKTIV());

    // The row is there: no question, the comment stays.
    for (const QPointer<QWidget>& s : seiten) Forms::Unload(s);
    AUSWERTUNG::mnuMBERECHNEN_Click();
    EXPECT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(Wert(QStringLiteral("SELECT [KOM] FROM [M1] WHERE [IDM]=1")).toString(), QStringLiteral("Serie A"));

    // Cancelled in English: an empty comment.
    haupt.DBPROJEKT()->Execute(QStringLiteral("DELETE FROM [M1]"));
    haupt.SETZESPRACHE(1);
    for (const QPointer<QWidget>& s : seiten) Forms::Unload(s);
    boxen.expectInput(QString(), QStringLiteral("Comment: "));
    AUSWERTUNG::mnuMBERECHNEN_Click();
    EXPECT_EQ(boxen.boxes().last().title, QStringLiteral("Mulitple Calculation"));
    EXPECT_EQ(Wert(QStringLiteral("SELECT coalesce([KOM],'') FROM [M1] WHERE [IDM]=1")).toString(), QString());
}

} // namespace

namespace {

// A run-time error in any of the four commands: the box titled with the
// command's own caption in the window's language, and Cancel leaves the main
// window taking input with the bar gone.
TEST_F(Auswerten, ARunTimeErrorIsTitledWithTheCommandsCaption) {
    Pruefung(1, QStringLiteral("P-1"));
    // Evaluated: Calculate multiple takes it and gets as far as M1.
    haupt.DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [A1] ([ID],[BONEU],[VELD]) VALUES (1,0,30)"));
    haupt.BEISEITELADEN = [](const QString&) { throw StandardError(7); };
    const auto umbenennen = [this](const char* von, const char* nach) {
        haupt.DBPROJEKT()->Execute(QStringLiteral("ALTER TABLE [%1] RENAME TO [%2]")
                                       .arg(QLatin1String(von), QLatin1String(nach)));
    };
    const struct {
        void (*befehl)();
        const char* tabelle; // renamed away for the run; none: the page load fails
        const char* deutsch;
        const char* englisch;
    } faelle[] = {
        {&AUSWERTUNG::mnuAUSWERTEN_Click, "E1", "&Auswerten", "&Evaluate"},
        {&AUSWERTUNG::mnuBERECHNEN_Click, nullptr, "&Berechnen", "&Calculate"},
        {&AUSWERTUNG::mnuNEUBERECHNEN_Click, "E1", "&Neuberechnen", "Calculate &First"},
        {&AUSWERTUNG::mnuMBERECHNEN_Click, "M1", "&MBerechnen", "Calculate &Multiple"},
    };
    for (const int16_t sprache : {int16_t(3), int16_t(1)}) {
        haupt.SETZESPRACHE(sprache);
        for (const auto& fall : faelle) {
            SCOPED_TRACE(fall.deutsch);
            if (fall.tabelle) umbenennen(fall.tabelle, "WEG");
            boxen.clear();
            boxen.expect(vbCancel, QStringLiteral("VB-Error: "));
            fall.befehl();
            if (fall.tabelle) umbenennen("WEG", fall.tabelle);
            ASSERT_EQ(boxen.boxes().size(), 1);
            EXPECT_TRUE(boxen.boxes()[0].prompt.contains(QStringLiteral("\r\n")));
            EXPECT_EQ(boxen.boxes()[0].style, 49);
            EXPECT_EQ(boxen.boxes()[0].title,
                      QString::fromLatin1(sprache == 1 ? fall.englisch : fall.deutsch));
            EXPECT_TRUE(haupt.AKTIV());
            EXPECT_FALSE(haupt.FORTSCHRITTSICHTBAR());
            EXPECT_EQ(MousePointer(), vbDefault);
        }
    }
}

} // namespace
