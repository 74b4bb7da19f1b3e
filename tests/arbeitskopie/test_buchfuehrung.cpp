// The copy's bookkeeping is the copy's: the project holds none of it, a
// fresh copy starts with none of another's, and what it tells of itself
// (written only by the program, or not) holds what the project's history
// is told.

#include "KOPIELABOR.h"

#include "arbeitskopie/KOPIEBASIS.h"
#include "arbeitskopie/PROJEKTVERLAUF.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseFile.h"
#include "platform/database/Recordset.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/ErrorHandler.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

bool speichern(ARBEITSKOPIE& kopie) {
    return kopie.SPEICHERN(QStringLiteral("Speichern"), QStringLiteral("/VELD.HLP"),
                           [] { return false; });
}

void kommentar(Connection& db, int id, const char* text) {
    db.Execute(QStringLiteral("UPDATE [E1] SET [KOM]=? WHERE [ID]=?"),
               {QString::fromUtf8(text), id});
}

QString kom(const QString& datenbank, int id) {
    Connection db(datenbank);
    Recordset rs(QStringLiteral("SELECT [KOM] FROM [E1] WHERE [ID]=?"), db, {id});
    return rs.Eof() ? QStringLiteral("-") : rs.Fields(0).Value().toString();
}

// A laboratory whose project holds P1, P2 and P3.
struct Labor : KOPIELABOR {
    Labor() {
        for (int id = 1; id <= 3; ++id)
            DATENSATZ(PROJEKTDATENBANK(), id, QStringLiteral("P%1").arg(id));
    }
};

// The copy's bookkeeping tables that a database holds.
QStringList buchfuehrung(const QString& datenbank) {
    Connection db(datenbank);
    QStringList da;
    for (const QString& tabelle : KOPIEBASIS::TABELLEN())
        if (!Recordset(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name=?"), db, {tabelle})
                 .Eof())
            da << tabelle;
    return da;
}

} // namespace

// Two users' Saves leave the project without any copy's bookkeeping, also
// where a program before them left a copy's in it, a Save open there among
// it (its run killed after the rename): a colleague's fresh copy of that
// project starts with none of it, so it tells no unsaved work and the
// colleague's quit asks nothing; and the project content each copy keeps as
// met is the project file as it holds it.
TEST(Buchfuehrung, TheProjectHoldsNoCopysBookkeepingAfterTwoUsersSaves) {
    Labor labor;
    const QString projekt = labor.PROJEKTDATENBANK();
    const DatabaseMark alt = MarkOfDatabase(projekt);
    KOPIEBASIS::NEU(projekt, alt, projekt, QStringLiteral("ALT"));
    {
        Connection p(projekt);
        Transaction t(p);
        KOPIEBASIS::VORGEMERKT(p, alt);
        t.Commit();
    }
    ASSERT_EQ(buchfuehrung(projekt), KOPIEBASIS::TABELLEN());
    KOPIEDIALOG dritter(projekt, QFileInfo(labor.ARBEITSKOPIEPFAD()).path() +
                                     QStringLiteral("/../DRITTER/VELD.mdb"));
    const auto c = labor.GESTARTET(&dritter);
    EXPECT_FALSE(KOPIEBASIS::VERAENDERT(*c->verbindung));

    const auto a = labor.GESTARTET();
    kommentar(*a->verbindung, 1, "a");
    EXPECT_TRUE(speichern(*a->kopie));
    EXPECT_EQ(buchfuehrung(projekt), QStringList());
    const auto b = labor.GESTARTET(&labor.ANDERERDIALOG);
    kommentar(*b->verbindung, 2, "b");
    EXPECT_TRUE(speichern(*b->kopie));
    EXPECT_EQ(buchfuehrung(projekt), QStringList());
    EXPECT_EQ(DatabaseMark::ListToText(KOPIEBASIS::PROJEKTSTAENDE(*b->verbindung).value()),
              MarkOfDatabase(projekt).ToText());
    EXPECT_TRUE(labor.DIALOG.BOXEN().isEmpty());
    EXPECT_TRUE(labor.ANDERERDIALOG.BOXEN().isEmpty());

    ErrorHandler eh(QStringLiteral("VB-Error: "), QStringLiteral("VELD"));
    bool cancel = false;
    EXPECT_TRUE(c->kopie->BEENDENFRAGEN(
        eh, 1, QStringLiteral("Beenden"), [] { return false; }, cancel));
    EXPECT_TRUE(dritter.BOXEN().isEmpty());
}

// A copy whose counter table another program dropped (with a change of its
// own) counts as written by another when it is next opened: its change is
// unsaved work, not a copy as it last met the project.
TEST(Buchfuehrung, ACopyWhoseCounterTableWasDroppedCountsAsWrittenByAnother) {
    Labor labor;
    const auto lauf = labor.GESTARTET();
    Connection daneben(labor.ARBEITSKOPIEPFAD());
    kommentar(daneben, 3, "aussen");
    daneben.Execute(QStringLiteral("DROP TABLE [VELD_ZAEHLER]"));
    daneben.Close();
    lauf->verbindung->Reopen();
    EXPECT_TRUE(KOPIEBASIS::FREMD(*lauf->verbindung));
    EXPECT_TRUE(KOPIEBASIS::VERAENDERT(*lauf->verbindung));
}

// A Save of a copy that another program wrote into tells the project's
// history nothing, also where the copy had a Save left open that the
// project took (its run killed after the rename, before the copy was told):
// a colleague's join then reads the project whole and keeps the test that
// only the other program changed.
TEST(Buchfuehrung, ASaveOfACopyAnotherProgramWroteIntoTellsTheHistoryNothing) {
    for (const bool offen : {false, true}) {
        SCOPED_TRACE(offen);
        Labor labor;
        const QString projekt = labor.PROJEKTDATENBANK();
        const auto a = labor.GESTARTET();
        const auto b = labor.GESTARTET(&labor.ANDERERDIALOG);
        const DatabaseMark vorher = MarkOfDatabase(projekt);
        if (offen) {
            Connection sperre(labor.ARBEITSKOPIEPFAD());
            Transaction t(sperre);
            KOPIEBASIS::VORGEMERKT(sperre, vorher);
            t.Commit();
        }
        kommentar(*a->verbindung, 1, "a");
        Connection daneben(labor.ARBEITSKOPIEPFAD());
        kommentar(daneben, 3, "aussen");
        daneben.Close();
        EXPECT_TRUE(speichern(*a->kopie));
        EXPECT_EQ(PROJEKTVERLAUF::GEAENDERT(projekt, vorher, MarkOfDatabase(projekt)),
                  std::nullopt);
        kommentar(*b->verbindung, 2, "b");
        EXPECT_TRUE(speichern(*b->kopie));
        EXPECT_TRUE(labor.ANDERERDIALOG.BOXEN().isEmpty());
        EXPECT_EQ(kom(projekt, 1), QStringLiteral("a"));
        EXPECT_EQ(kom(projekt, 2), QStringLiteral("b"));
        EXPECT_EQ(kom(projekt, 3), QStringLiteral("aussen"));
    }
}
