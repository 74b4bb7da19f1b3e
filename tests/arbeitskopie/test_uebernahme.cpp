// What the Save takes from the project and what the words around it say: a
// take changes no value the project holds, the status line names nothing of
// this user's as taken from others, and the start's question tells apart
// what a copy without a base cannot attribute.

#include "KOPIELABOR.h"

#include "platform/database/Connection.h"
#include "platform/database/StoredRows.h"
#include "platform/runtime/MsgBox.h"

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

QString zeile(const KOPIEDIALOG& dialog) {
    return dialog.m_hinweise.isEmpty() ? QString() : dialog.m_hinweise.last();
}

// A laboratory whose project holds P1, P2 and P3.
struct Labor : KOPIELABOR {
    Labor() {
        for (int id = 1; id <= 3; ++id)
            DATENSATZ(PROJEKTDATENBANK(), id, QStringLiteral("P%1").arg(id));
    }
};

} // namespace

// Readings, a curve and an axis range that another program stored more
// exactly than single precision: the colleague's Save takes the test and
// writes it back as it was, so the writer's next change of it is asked
// about by nobody.
TEST(Uebernahme, ATakeKeepsWhatAnotherProgramStoredValueForValue) {
    Labor labor;
    const auto a = labor.GESTARTET();
    const auto b = labor.GESTARTET(&labor.ANDERERDIALOG);
    Connection(labor.ARBEITSKOPIEPFAD())
        .Execute(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[V]) VALUES (2,1,17.167);"
                                "INSERT INTO [A2] ([ID],[I],[W]) VALUES (2,1,1e-300);"
                                "INSERT INTO [G0] ([ID],[IDOBJEKT],[XMIN],[XMAX]) "
                                "VALUES (2,11,17.167,1e-300)"));
    EXPECT_TRUE(speichern(*a->kopie));
    kommentar(*b->verbindung, 1, "b");
    EXPECT_TRUE(speichern(*b->kopie));
    kommentar(*a->verbindung, 2, "a");
    EXPECT_TRUE(speichern(*a->kopie));
    EXPECT_TRUE(labor.DIALOG.BOXEN().isEmpty());
    EXPECT_TRUE(labor.ANDERERDIALOG.BOXEN().isEmpty());
    Connection projekt(labor.PROJEKTDATENBANK());
    const StoredRows werte = ReadStoredRows(
        projekt, QStringLiteral("SELECT e.[V], a.[W], g.[XMIN], g.[XMAX], k.[KOM], b.[KOM] "
                                "FROM [E3] e, [A2] a, [G0] g, [E1] k, [E1] b WHERE e.[ID]=2 "
                                "AND a.[ID]=2 AND g.[ID]=2 AND k.[ID]=2 AND b.[ID]=1"));
    ASSERT_EQ(werte.rows.size(), 1u);
    EXPECT_EQ(werte.rows[0], (QVariantList{17.167, 1e-300, 17.167, 1e-300, "a", "b"}));
}

// A write beside the program, then a No to the question that cannot tell
// who changed what: the test this user added and the No dropped is not
// named as taken from others, nor is anything whose side is unknown.
TEST(Uebernahme, AfterANoWithoutABaseTheStatusLineNamesNothingAsTakenFromOthers) {
    Labor labor;
    const auto a = labor.GESTARTET();
    const auto b = labor.GESTARTET(&labor.ANDERERDIALOG);
    a->verbindung->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (5,'N1',0)"));
    kommentar(*b->verbindung, 1, "b");
    EXPECT_TRUE(speichern(*b->kopie));
    Connection(labor.ARBEITSKOPIEPFAD())
        .Execute(QStringLiteral("UPDATE [E1] SET [KOM]='aussen' WHERE [ID]=3"));
    labor.DIALOG.ANTWORTEN({vbNo});
    EXPECT_TRUE(speichern(*a->kopie));
    ASSERT_EQ(labor.DIALOG.BOXEN().size(), 1);
    EXPECT_TRUE(
        labor.DIALOG.BOXEN()[0].text.contains(QString::fromUtf8("lässt sich nicht feststellen")));
    EXPECT_EQ(KOPIELABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QStringLiteral("P1,P2,P3"));
    EXPECT_EQ(zeile(labor.DIALOG), QString());
}

// A copy without its base's tables (as an older program left it) that a
// killed run left with a change of P1, and a colleague's Save of P2 since:
// the start cannot tell which side changed either and says so, in both
// languages, instead of naming them as what only the copy holds.
TEST(Uebernahme, WithoutABaseTheStartsQuestionNamesApartWhatEitherSideMayHaveChanged) {
    const struct {
        int16_t sprache;
        const char* text;
    } faelle[] = {
        {3, "Programm wurde während der Ausführung unterbrochen!\r\nSoll die bis zum Abbruch "
            "vorhandenen Daten gepeichert werden?\r\nNein verwirft die Fassung dieser Datensätze "
            "in der Arbeitskopie, die das Projekt nicht so enthält; ob sie hier oder dort "
            "geändert wurden, lässt sich nicht feststellen: P1, P2."},
        {1, "Program was interuped during the execution!\r\nDo you want to save the changes "
            "till the interuption?\r\nNo discards the working copy's version of these records, "
            "which the project does not hold so; whether they were changed here or there "
            "cannot be told: P1, P2."},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.sprache);
        Labor labor;
        labor.DIALOG.m_sprache = fall.sprache;
        auto a = labor.GESTARTET();
        kommentar(*a->verbindung, 1, "a");
        a.reset();
        Connection(labor.ARBEITSKOPIEPFAD())
            .Execute(QStringLiteral("DROP TABLE [VELD_BASIS]; DROP TABLE [VELD_BASISSTAND]; "
                                    "DROP TABLE [VELD_BASISABDRUCK]"));
        const auto b = labor.GESTARTET(&labor.ANDERERDIALOG);
        kommentar(*b->verbindung, 2, "b");
        EXPECT_TRUE(speichern(*b->kopie));
        labor.DIALOG.ANTWORTEN({vbYes});
        const auto wieder = labor.GESTARTET();
        ASSERT_EQ(labor.DIALOG.BOXEN().size(), 1);
        EXPECT_EQ(labor.DIALOG.BOXEN()[0].text, QString::fromUtf8(fall.text));
    }
}
