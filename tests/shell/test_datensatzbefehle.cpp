// The record commands New, Open, Select, Delete and the exchange dialogs,
// and the input window's panels: store (8) and discard (9).

#include "SHELLLABOR.h"
#include "support/ScriptedDialogs.h"

#include "input/clsFLX.h"
#include "input/mdiEINGABE.h"
#include "platform/controls/Forms.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/Variant.h"
#include "shell/AUSWAHLDIALOG.h"
#include "shell/DATENAUSTAUSCH.h"
#include "shell/EINGABEFENSTER.h"
#include "shell/STATUSLEISTE.h"
#include "shell/frmMAINFENSTER.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>

namespace {

class Befehle : public ::testing::Test {
protected:
    Befehle() = default;
    explicit Befehle(const QString& sprache) : labor(sprache) {}
    void SetUp() override { ASSERT_TRUE(f.MDIForm_Load()); }
    void TearDown() override {
        AUSWAHLDIALOG::ERSETZEN({});
        DATENAUSTAUSCH::ERSETZEEXPIMP({});
        DATENAUSTAUSCH::ERSETZEEXPINF({});
    }

    Connection& db() { return *f.DBPROJEKT(); }
    void datensatz(int id, const QString& ken, bool akt = false) {
        db().Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (?,?,?)"),
                     {id, ken, akt});
    }
    int zeilen(const QString& sql) {
        Recordset rs(sql, db());
        return rs.Eof() ? 0 : rs.RecordCount();
    }
    QVariant wert(const QString& sql) {
        Recordset rs(sql, db());
        return rs.Eof() ? QVariant() : rs.Fields(0).Value();
    }
    // The selection dialog answers by running `wahl` on the project and
    // leaving "OK" (or the given answer); the calls are counted.
    void auswahl(std::function<void()> wahl, const QString& antwort = QStringLiteral("OK")) {
        AUSWAHLDIALOG::ERSETZEN([this, wahl, antwort](QWidget* besitzer) {
            EXPECT_EQ(besitzer, &f);
            modi << f.AUSWAHLMODUS();
            if (wahl) wahl();
            f.SETZEAUSWAHLMODUS(antwort);
        });
    }
    void aktiv(const QString& bedingung) {
        db().Execute(QStringLiteral("UPDATE [E1] SET [AKT]=(") + bedingung + QLatin1Char(')'));
    }
    bool menus() {
        return f.mnuDATEI->menuAction()->isEnabled() &&
               f.mnuAUSWERTEN->menuAction()->isEnabled() &&
               f.mnuEXTRAS->menuAction()->isEnabled();
    }
    bool eingabepanels() { return f.PANELSICHTBAR(8) && f.PANELSICHTBAR(9); }

    // A new input window filled with an identifier, a solid mass and `n`
    // readings.
    mdiEINGABE* neu(const QString& ken, int n = 2, const QString& ms = QStringLiteral("100")) {
        f.mnuNEU_Click();
        mdiEINGABE* e = EINGABEFENSTER::GELADEN();
        if (!e) return nullptr;
        e->txtKEN->setText(ken);
        e->txtMS->setText(ms);
        MSFlexGrid& grid = *e->msgFLX.at(0);
        grid.SetRows(n + 1);
        for (int r = 1; r <= n; ++r)
            grid.SetTextMatrix(r, 4, QStringLiteral(" %1 ").arg(r));
        e->FLX(0).AKTUALISIEREN();
        return e;
    }

    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    QStringList modi;
};

class BefehleEnglisch : public Befehle {
protected:
    BefehleEnglisch() : Befehle(QStringLiteral("en")) {}
};

} // namespace

TEST_F(Befehle, NewOpensTheInputStateAndCancelLeavesIt) {
    datensatz(1, QStringLiteral("A"), true);
    f.DATENSATZANZEIGE();
    f.mnuNEU_Click();
    ASSERT_NE(EINGABEFENSTER::GELADEN(), nullptr);
    EXPECT_EQ(f.PANELTEXT(6), QStringLiteral("-"));
    EXPECT_TRUE(eingabepanels());
    EXPECT_FALSE(f.mnuDATEI->menuAction()->isEnabled());
    EXPECT_FALSE(f.mnuAUSWERTEN->menuAction()->isEnabled());
    EXPECT_FALSE(f.mnuEXTRAS->menuAction()->isEnabled());
    f.stbMAIN_PanelClick(9);
    EXPECT_EQ(EINGABEFENSTER::GELADEN(), nullptr);
    EXPECT_FALSE(f.PANELSICHTBAR(8) || f.PANELSICHTBAR(9));
    EXPECT_TRUE(menus());
    EXPECT_EQ(f.PANELTEXT(6), QStringLiteral("A"));
    EXPECT_EQ(zeilen(QStringLiteral("SELECT * FROM [E1]")), 1);
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_F(Befehle, StoreGivesTheNextIdAndLeavesOnlyItActive) {
    for (const bool mitTasten : {false, true}) {
        db().Execute(QStringLiteral("DELETE FROM [E1]; DELETE FROM [E3]"));
        if (mitTasten) {
            datensatz(7, QStringLiteral("ALT"), true);
            datensatz(3, QStringLiteral("AUCH"), true);
        }
        mdiEINGABE* e = neu(QStringLiteral(" N-1 "), 5);
        ASSERT_NE(e, nullptr);
        if (mitTasten) {
            // Ctrl+S in the grid.
            e->msgFLX.at(0)->setFocus();
            QTest::keyClick(e->msgFLX.at(0), Qt::Key_S, Qt::ControlModifier);
        } else {
            f.stbMAIN_PanelClick(8);
        }
        const int id = mitTasten ? 8 : 1;
        EXPECT_EQ(wert(QStringLiteral("SELECT [ID] FROM [E1] WHERE [AKT]=true")).toInt(), id);
        EXPECT_EQ(zeilen(QStringLiteral("SELECT * FROM [E1] WHERE [AKT]=true")), 1);
        EXPECT_EQ(wert(QStringLiteral("SELECT [KEN] FROM [E1] WHERE [ID]=%1").arg(id)),
                  QVariant(QStringLiteral(" N-1 ")));
        EXPECT_EQ(zeilen(QStringLiteral("SELECT * FROM [E3] WHERE [ID]=%1").arg(id)), 5);
        EXPECT_EQ(wert(QStringLiteral("SELECT [I1] FROM [E3] WHERE [ID]=%1 ORDER BY [I1] DESC")
                           .arg(id))
                      .toInt(),
                  4);
        EXPECT_EQ(f.PANELTEXT(6), QStringLiteral(" N-1 "));
        EXPECT_TRUE(f.BOGEAENDERT());
        EXPECT_EQ(EINGABEFENSTER::GELADEN(), nullptr);
        EXPECT_FALSE(f.PANELSICHTBAR(8) || f.PANELSICHTBAR(9));
        EXPECT_TRUE(menus());
        f.mnuSPEICHERN_Click();
    }
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_F(Befehle, StoreRefusesAnEmptyIdentifier) {
    mdiEINGABE* e = neu(QStringLiteral("  "));
    ASSERT_NE(e, nullptr);
    boxen.expect(vbOK, QStringLiteral("Datensatzkennzeichnung fehlt!"));
    f.stbMAIN_PanelClick(8);
    EXPECT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(zeilen(QStringLiteral("SELECT * FROM [E1]")), 0);
    EXPECT_EQ(EINGABEFENSTER::GELADEN(), e);
    EXPECT_TRUE(eingabepanels());
}

TEST_F(Befehle, OverwriteAsksAndAFailedStoreChangesNothing) {
    datensatz(2, QStringLiteral("B"), false);
    db().Execute(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[V]) VALUES (2,0,1.5),(2,1,2.5)"));
    db().Execute(QStringLiteral("INSERT INTO [A1] ([ID],[BONEU],[VELD]) VALUES (2,0,12.5)"));
    mdiEINGABE* e = neu(QStringLiteral("B"), 3, QStringLiteral("abc"));
    ASSERT_NE(e, nullptr);

    boxen.expect(vbNo, QStringLiteral("Soll der vorhandene Datensatz B überschrieben werden?"));
    f.stbMAIN_PanelClick(8);
    EXPECT_EQ(boxen.boxes().last().style, 36);
    EXPECT_EQ(boxen.boxes().last().title, QStringLiteral("OK"));
    // Yes, but the solid mass is no number: the old record stays whole.
    boxen.expect(vbYes);
    boxen.expect(vbOK, QStringLiteral("MS"));
    f.stbMAIN_PanelClick(8);
    EXPECT_EQ(boxen.boxes().last().title, QStringLiteral("Datenfehler"));
    EXPECT_EQ(wert(QStringLiteral("SELECT [KEN] FROM [E1] WHERE [ID]=2")),
              QVariant(QStringLiteral("B")));
    EXPECT_EQ(wert(QStringLiteral("SELECT [AKT] FROM [E1] WHERE [ID]=2")).toInt(), 0);
    EXPECT_EQ(zeilen(QStringLiteral("SELECT * FROM [E2]")), 0);
    EXPECT_EQ(zeilen(QStringLiteral("SELECT * FROM [E3] WHERE [ID]=2")), 2);
    EXPECT_EQ(EINGABEFENSTER::GELADEN(), e);

    // Stored again: the evaluated record keeps its result and is computed
    // again.
    e->txtMS->setText(QStringLiteral("100"));
    boxen.expect(vbYes);
    f.stbMAIN_PanelClick(8);
    EXPECT_EQ(zeilen(QStringLiteral("SELECT * FROM [E1]")), 1);
    EXPECT_EQ(zeilen(QStringLiteral("SELECT * FROM [E3] WHERE [ID]=2")), 3);
    EXPECT_EQ(wert(QStringLiteral("SELECT [BONEU] FROM [A1] WHERE [ID]=2")).toInt(), 1);
    EXPECT_FLOAT_EQ(wert(QStringLiteral("SELECT [VELD] FROM [A1] WHERE [ID]=2")).toFloat(), 12.5f);
    EXPECT_EQ(boxen.pending(), 0);
}

TEST_F(Befehle, IdentifiersOfEveryKindAreStoredAsTheyAre) {
    // The multiple evaluation's row "M" is no record of that identifier.
    // The active flags are reset by key: the stored record stays the only
    // active one, even beside a row of the same identifier.
    datensatz(0, QStringLiteral("M"), true);
    for (const QString& ken : {QStringLiteral("M"), QStringLiteral("O'Brien")}) {
        ASSERT_NE(neu(ken), nullptr);
        f.stbMAIN_PanelClick(8);
        EXPECT_EQ(EINGABEFENSTER::GELADEN(), nullptr) << ken.toStdString();
        EXPECT_EQ(wert(QStringLiteral("SELECT group_concat([ID]) FROM [E1] WHERE [AKT]=true"))
                      .toString()
                      .toStdString(),
                  ken == QLatin1String("M") ? "1" : "2");
    }
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("M,M,O'Brien"));
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_F(Befehle, OpenAsksUntilExactlyOneRecordIsActive) {
    datensatz(1, QStringLiteral("A"));
    datensatz(2, QStringLiteral("B"));
    db().Execute(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[V]) VALUES (2,0,4.5)"));
    // None active: the message, Cancel ends.
    auswahl({});
    boxen.expect(vbCancel, QStringLiteral("Es gibt keinen aktuellen Datensatz!"));
    f.mnuOEFFNEN_Click();
    EXPECT_EQ(boxen.boxes().last().title, QString::fromUtf8("&Öffnen"));
    EXPECT_EQ(boxen.boxes().last().style, 49);
    EXPECT_EQ(modi, QStringList({QStringLiteral("O")}));
    EXPECT_EQ(EINGABEFENSTER::GELADEN(), nullptr);

    // Two active, OK: the selection again, then only B.
    modi.clear();
    int runde = 0;
    auswahl([&] { aktiv(++runde == 1 ? QStringLiteral("1") : QStringLiteral("[ID]=2")); });
    boxen.expect(vbOK, QStringLiteral("Es kann nur ein aktueller Datensatz geöffnet werden!"));
    f.mnuOEFFNEN_Click();
    EXPECT_EQ(modi, QStringList({QStringLiteral("O"), QStringLiteral("O")}));
    mdiEINGABE* e = EINGABEFENSTER::GELADEN();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->txtKEN->text(), QStringLiteral("B"));
    EXPECT_EQ(e->msgFLX.at(0)->TextMatrix(1, 4), QStringLiteral("4,50"));
    EXPECT_EQ(f.PANELTEXT(6), QStringLiteral("B"));
    EXPECT_TRUE(eingabepanels());
    EXPECT_FALSE(menus());

    // A cancelled selection changes nothing.
    f.stbMAIN_PanelClick(9);
    auswahl({}, QStringLiteral("Abbrechen"));
    f.mnuOEFFNEN_Click();
    EXPECT_EQ(EINGABEFENSTER::GELADEN(), nullptr);
    EXPECT_EQ(boxen.pending(), 0);
}

TEST_F(Befehle, SelectDropsTheMultipleEvaluationOnlyForSeveralRecords) {
    for (const int anzahl : {1, 2}) {
        db().Execute(QStringLiteral("DELETE FROM [E1]; DELETE FROM [M1]; DELETE FROM [A1]"));
        datensatz(0, QStringLiteral("M"));
        datensatz(1, QStringLiteral("A"));
        datensatz(2, QStringLiteral("B"));
        db().Execute(QStringLiteral("INSERT INTO [M1] ([IDM],[KOM]) VALUES (1,'alt')"));
        db().Execute(QStringLiteral("INSERT INTO [A1] ([ID],[BONEU]) VALUES (0,0)"));
        f.mnuSPEICHERN_Click();
        auswahl([&] { aktiv(QStringLiteral("[ID]>0 AND [ID]<=%1").arg(anzahl)); });
        f.mnuAUSWAHL_Click();
        const int bleibt = anzahl == 1 ? 1 : 0;
        EXPECT_EQ(zeilen(QStringLiteral("SELECT * FROM [E1] WHERE [ID]=0")), bleibt) << anzahl;
        EXPECT_EQ(zeilen(QStringLiteral("SELECT * FROM [M1]")), bleibt) << anzahl;
        EXPECT_EQ(zeilen(QStringLiteral("SELECT * FROM [A1] WHERE [ID]=0")), 1) << anzahl;
        EXPECT_EQ(f.PANELTEXT(6), anzahl == 1 ? QStringLiteral("A") : QStringLiteral("A,..."));
        EXPECT_TRUE(f.BOGEAENDERT());
    }
    EXPECT_EQ(modi, QStringList({QStringLiteral("A"), QStringLiteral("A")}));
}

TEST_F(Befehle, DeleteRemovesEachConfirmedRecordWhole) {
    const QStringList tabellen{"E1", "E2", "E3", "A1", "A2", "G0"};
    for (const int id : {1, 2, 3}) {
        datensatz(id, QStringLiteral("R%1").arg(id), id < 3);
        db().Execute(QStringLiteral("INSERT INTO [E2] ([ID]) VALUES (%1);"
                                    "INSERT INTO [E3] ([ID],[I1]) VALUES (%1,0);"
                                    "INSERT INTO [A1] ([ID],[BONEU]) VALUES (%1,0);"
                                    "INSERT INTO [A2] ([ID],[I]) VALUES (%1,0);"
                                    "INSERT INTO [G0] ([ID],[IDOBJEKT]) VALUES (%1,11)")
                         .arg(id));
    }
    auswahl({});
    boxen.expect(vbOK, QStringLiteral("Datensatz R1 wird gelöscht!"));
    boxen.expect(vbCancel, QStringLiteral("Datensatz R2 wird gelöscht!"));
    f.mnuLOESCHEN_Click();
    EXPECT_EQ(boxen.boxes().first().title, QString::fromUtf8("&Löschen"));
    EXPECT_EQ(boxen.boxes().first().style, 49);
    for (const QString& tabelle : tabellen)
        for (const int id : {1, 2, 3})
            EXPECT_EQ(zeilen(QStringLiteral("SELECT * FROM [%1] WHERE [ID]=%2").arg(tabelle).arg(id)),
                      id == 1 ? 0 : 1)
                << tabelle.toStdString() << id;
    EXPECT_EQ(modi, QStringList({QStringLiteral("L")}));
    EXPECT_EQ(f.PANELTEXT(6), QStringLiteral("R2"));
    EXPECT_TRUE(f.BOGEAENDERT());

    // Every question answered Cancel still marks the data as changed.
    f.mnuSPEICHERN_Click();
    boxen.expect(vbCancel);
    f.mnuLOESCHEN_Click();
    EXPECT_TRUE(f.BOGEAENDERT());
    EXPECT_EQ(zeilen(QStringLiteral("SELECT * FROM [E1]")), 2);
}

TEST_F(Befehle, TheExchangeDialogsAreModalChildrenOfTheMainWindow) {
    // Open leaves "OK" in the hand-over text; Export-Import takes it as a
    // change even when its dialog did nothing.
    datensatz(1, QStringLiteral("A"), true);
    auswahl({});
    f.mnuOEFFNEN_Click();
    f.stbMAIN_PanelClick(9);
    f.mnuSPEICHERN_Click();
    bool menusWaehrend = true;
    QList<QWidget*> besitzer;
    DATENAUSTAUSCH::ERSETZEEXPIMP([&](QWidget* w) {
        besitzer << w;
        menusWaehrend = menus();
    });
    DATENAUSTAUSCH::ERSETZEEXPINF([&](QWidget* w) { besitzer << w; });
    f.mnuEXPIMP_Click();
    EXPECT_FALSE(menusWaehrend);
    EXPECT_TRUE(menus());
    EXPECT_TRUE(f.BOGEAENDERT());
    f.mnuSPEICHERN_Click();
    f.mnuEXPINF_Click();
    EXPECT_FALSE(f.BOGEAENDERT());
    EXPECT_EQ(besitzer, QList<QWidget*>({&f, &f}));
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

// A failure inside a panel's command: the box under the panel's text; Cancel
// goes to the common ending, which raises the panel again.
TEST_F(Befehle, APanelsFailureIsReportedUnderItsText) {
    ASSERT_NE(neu(QStringLiteral("X")), nullptr);
    db().Execute(QStringLiteral("ALTER TABLE [E1] RENAME TO [WEG]"));
    f.SETZEPANELBEVEL(8, 1);
    boxen.expect(vbCancel, QStringLiteral("VB-Error: "));
    f.stbMAIN_PanelClick(8);
    db().Execute(QStringLiteral("ALTER TABLE [WEG] RENAME TO [E1]"));
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_TRUE(boxen.boxes()[0].prompt.contains(QStringLiteral("\r\n")));
    EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("OK"));
    EXPECT_EQ(boxen.boxes()[0].style, 49);
    EXPECT_EQ(f.PANELBEVEL(8), 2);
    EXPECT_NE(EINGABEFENSTER::GELADEN(), nullptr);
    EXPECT_EQ(zeilen(QStringLiteral("SELECT * FROM [E1]")), 0);
    f.stbMAIN_PanelClick(9);

    // A file where the screenshot folder belongs: no folder, no question.
    const QString projekt = f.PROJEKTSPFAD() + QLatin1Char('/') + f.PANELTEXT(2);
    ASSERT_TRUE(QDir().mkpath(projekt));
    QFile sperre(projekt + QStringLiteral("/JPG"));
    ASSERT_TRUE(sperre.open(QIODevice::WriteOnly));
    sperre.close();
    boxen.clear();
    boxen.expect(vbOK, QStringLiteral("VB-Error: 76"));
    f.stbMAIN_PanelClick(12);
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("Kopie"));
    EXPECT_EQ(boxen.boxes()[0].style, 49);
}

// The English run's own texts: the boxes of Open, Delete and the store.
TEST_F(BefehleEnglisch, TheRecordCommandsAskInEnglish) {
    ASSERT_EQ(f.SPRACHE(), 1);
    datensatz(1, QStringLiteral("A"));
    datensatz(2, QStringLiteral("B"));
    auswahl([&] { aktiv(QStringLiteral("0")); });
    boxen.expect(vbOK, QStringLiteral("There is no selected file!"));
    boxen.expect(vbCancel, QStringLiteral("There is no selected file!"));
    f.mnuOEFFNEN_Click();
    auswahl([&] { aktiv(QStringLiteral("1")); });
    boxen.expect(vbCancel, QStringLiteral("Only one file can be opened!"));
    f.mnuOEFFNEN_Click();
    for (const auto& box : boxen.boxes()) {
        EXPECT_EQ(box.title, QStringLiteral("&Open"));
        EXPECT_EQ(box.style, 49);
    }
    EXPECT_EQ(modi.size(), 3);

    boxen.clear();
    ASSERT_NE(neu(QStringLiteral("  ")), nullptr);
    boxen.expect(vbOK);
    f.stbMAIN_PanelClick(8);
    mdiEINGABE* e = EINGABEFENSTER::GELADEN();
    ASSERT_NE(e, nullptr);
    e->txtKEN->setText(QStringLiteral("B"));
    boxen.expect(vbNo);
    f.stbMAIN_PanelClick(8);
    ASSERT_EQ(boxen.boxes().size(), 2);
    EXPECT_EQ(boxen.boxes()[0].prompt, QStringLiteral("File name is missing!"));
    EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("Data error"));
    EXPECT_EQ(boxen.boxes()[0].style, 48);
    // No blank before the identifier.
    EXPECT_EQ(boxen.boxes()[1].prompt, QStringLiteral("Do you want to overwrite the fileB?"));
    EXPECT_EQ(boxen.boxes()[1].title, QStringLiteral("OK"));
    EXPECT_EQ(boxen.boxes()[1].style, 36);
    f.stbMAIN_PanelClick(9);

    boxen.clear();
    auswahl([&] { aktiv(QStringLiteral("[ID]=2")); });
    boxen.expect(vbOK);
    f.mnuLOESCHEN_Click();
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(boxen.boxes()[0].prompt, QStringLiteral("File B will be deleted!"));
    EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("&Delete"));
    EXPECT_EQ(zeilen(QStringLiteral("SELECT * FROM [E1]")), 1);
}
