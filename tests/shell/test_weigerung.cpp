// A write that the working copy refuses (full, held by another run): the
// command says so in one box, which tells what stands, and no second box
// about a transaction that the engine had ended already (the scripted boxes
// fail a test on any box not expected); a session that ends in a box held
// for the commit is followed by nothing.

#include "HAUPTFENSTERTEST.h"

#include "platform/database/BusyWait.h"
#include "platform/runtime/Variant.h"

#include <QLineEdit>
#include <sqlite3.h>

namespace {

class Weigerung : public HAUPTFENSTERTEST {
protected:
    // The copy takes no further page: its size is its limit (on the
    // program's connection, where the limit holds).
    void voll() {
        sqlite3* db = f.DBPROJEKT()->Handle();
        ASSERT_EQ(sqlite3_exec(db, "PRAGMA max_page_count = 1", nullptr, nullptr, nullptr),
                  SQLITE_OK);
    }
    // The last page of a table filled to the brim, by rows of record 99.
    void tabelleVoll(const QString& einfuegen) {
        voll();
        for (int i = 0;; ++i) {
            try {
                f.DBPROJEKT()->Execute(einfuegen, {i});
            } catch (const RuntimeError& fehler) {
                ASSERT_EQ(fehler.Number(), 3026) << fehler.Description().toStdString();
                return;
            }
            ASSERT_LT(i, 100000);
        }
    }
    // A comment longer than the free pages of the copy hold.
    QString langerKommentar() {
        const int frei = CInt(wert(QStringLiteral("PRAGMA freelist_count")));
        const int seite = CInt(wert(QStringLiteral("PRAGMA page_size")));
        return QString((frei + 4) * seite, QLatin1Char('k'));
    }
};

} // namespace

TEST_F(Weigerung, AStoreIntoAFullCopyGivesOneBoxAndWritesNothing) {
    mdiEINGABE* e = oeffnen();
    ASSERT_NE(e, nullptr);
    e->txtKOM->setText(langerKommentar());
    voll();
    boxen.expect(vbYes, QStringLiteral("überschrieben werden?"));
    boxen.expect(vbOK, QStringLiteral("kein Platz mehr; es wurde nichts geändert."));
    f.stbMAIN_PanelClick(8);
    // The record as it was, the window open with its data.
    EXPECT_TRUE(IsNull(wert(QStringLiteral("SELECT [KOM] FROM [E1] WHERE [ID]=1"))));
    EXPECT_EQ(wert(QStringLiteral("SELECT count(*) FROM [E3] WHERE [ID]=1")).toInt(), 3);
    EXPECT_EQ(EINGABEFENSTER::GELADEN(), e);
}

TEST_F(Weigerung, CalculateFirstIntoAFullCopyGivesOneBoxThatTheRecordWaits) {
    tabelleVoll(QStringLiteral("INSERT INTO [A2] ([ID],[I],[W]) VALUES (99,?,0.5)"));
    boxen.expect(vbOK, QStringLiteral("kein Platz mehr; der Datensatz P-1 wartet auf eine "
                                      "Neuberechnung."));
    f.mnuAUSWERTEN_Click();
    f.mnuNEUBERECHNEN->trigger();
    EXPECT_EQ(wert(QStringLiteral("SELECT [BONEU] FROM [A1] WHERE [ID]=1")).toInt(), 1);
    EXPECT_EQ(wert(QStringLiteral("SELECT count(*) FROM [A2] WHERE [ID]=1")).toInt(), 0);
    EXPECT_EQ(seite(), nullptr);
}

// The comment cannot be written (the copy refuses it), the store goes on
// without it; the box waits for the commit and the session ends in it.
TEST_F(Weigerung, ASessionEndingInTheStoresBoxIsFollowedByNothing) {
    f.DBPROJEKT()->Execute(QStringLiteral(
        "CREATE TRIGGER [KEINKOMMENTAR] BEFORE UPDATE OF [KOM] ON [E1] WHEN NEW.[KOM]='nein' "
        "BEGIN SELECT RAISE(ABORT, 'kein Kommentar'); END"));
    mdiEINGABE* e = oeffnen();
    ASSERT_NE(e, nullptr);
    e->txtKOM->setText(QStringLiteral("nein"));
    boxen.expect(vbYes, QStringLiteral("überschrieben werden?"));
    boxen.expect(vbOK, QStringLiteral("Wert nein kann nicht in die Spalte KOM"));
    boxen.waehrend = [this] { boxen.waehrend = [this] { f.SITZUNGSENDE(); }; };
    f.stbMAIN_PanelClick(8);
    EXPECT_TRUE(f.ENTLADEN());
}

// Calculate stores the figure's layout as the page draws: refused, the page
// shows all the same, and one box says why.
TEST_F(Weigerung, CalculateIntoAFullCopyGivesOneBox) {
    tabelleVoll(QStringLiteral("INSERT INTO [G0] ([ID],[IDOBJEKT]) VALUES (99,?)"));
    boxen.expect(vbOK, QStringLiteral("kein Platz mehr; es wurde nichts geändert."));
    f.mnuAUSWERTEN_Click();
    f.mnuBERECHNEN->trigger();
    EXPECT_EQ(wert(QStringLiteral("SELECT count(*) FROM [G0] WHERE [ID]=1")).toInt(), 0);
}

// Delete goes record by record: when another run holds the copy at the
// second, the box says which record is gone already.
TEST_F(Weigerung, ADeleteRefusedAfterItsFirstRecordSaysWhichIsGone) {
    f.DBPROJEKT()->Execute(
        QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (2,'P-2',1)"));
    AUSWAHLDIALOG::ERSETZEN([this](QWidget*) { f.SETZEAUSWAHLMODUS(QStringLiteral("OK")); });
    BusyWait::SetTimeoutLimit(50);
    Connection anderer(labor.ARBEITSKOPIE());
    boxen.expect(vbOK, QStringLiteral("Datensatz P-1 wird gelöscht!"));
    boxen.expect(vbOK, QStringLiteral("Datensatz P-2 wird gelöscht!"));
    boxen.expect(vbOK, QStringLiteral("gesperrt; schon gelöscht: P-1; sonst wurde nichts geändert."));
    boxen.waehrend = [&] { boxen.waehrend = [&] { anderer.BeginTrans(); }; };
    f.mnuLOESCHEN_Click();
    anderer.RollbackTrans();
    BusyWait::SetTimeoutLimit(0);
    AUSWAHLDIALOG::ERSETZEN({});
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("P-2"));
}
