// The Save's join, record by record: what each side changed since the base,
// what the copy takes from the project, and what is the user's to decide.

#include "arbeitskopie/DATENSATZSTAENDE.h"
#include "arbeitskopie/KOPIEBASIS.h"
#include "arbeitskopie/ZUSAMMENFUEHRUNG.h"
#include "data/SCHEMA.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseFile.h"
#include "platform/database/Recordset.h"
#include "platform/database/Transaction.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

void datensatz(Connection& db, int id, const QVariant& ken, double v = 1.5) {
    db.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (?,?,false)"), {id, ken});
    db.Execute(QStringLiteral("INSERT INTO [E2] ([ID],[VT],[MS]) VALUES (?,0,120)"), {id});
    db.Execute(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[V]) VALUES (?,1,?)"), {id, v});
    db.Execute(QStringLiteral("INSERT INTO [A1] ([ID],[BONEU],[VELD]) VALUES (?,false,3)"), {id});
    db.Execute(QStringLiteral("INSERT INTO [A2] ([ID],[I],[W]) VALUES (?,1,2)"), {id});
}

struct Drei {
    QTemporaryDir ordner;
    QString basis = ordner.filePath(QStringLiteral("basis.mdb"));
    QString kopie = ordner.filePath(QStringLiteral("kopie.mdb"));
    QString projekt = ordner.filePath(QStringLiteral("projekt.mdb"));
    Drei() {
        PROJEKTDATENBANKANLEGEN(basis);
        Connection b(basis);
        datensatz(b, 1, QStringLiteral("P-1"));
        datensatz(b, 2, QStringLiteral("P-2"));
        datensatz(b, 3, QStringLiteral("P-3"));
        // Written by an import or another program.
        datensatz(b, 5, QVariant());
        b.Close();
        CopyDatabase(basis, kopie);
        CopyDatabase(basis, projekt);
        KOPIEBASIS::NEU(kopie, DatabaseMark());
    }
};

using Aenderung = std::function<void(Connection&)>;

} // namespace

TEST(Zusammenfuehrung, EachSidesChangeIsToldApartAndOnlyBothChangedIsAsked) {
    const auto sql = [](const char* text) {
        return [text](Connection& db) { db.Execute(QString::fromUtf8(text)); };
    };
    const Aenderung nichts = [](Connection&) {};
    struct Fall {
        const char* name;
        Aenderung eigene, fremde;
        QStringList uebernehmen, konflikte;
        bool ohneBasis = false;
    };
    const Fall faelle[] = {
        {"a reading changed by the other",
         nichts,
         sql("UPDATE [E3] SET [V]=9 WHERE [ID]=1"),
         {"P-1"},
         {}},
        {"general data changed by the other",
         nichts,
         sql("UPDATE [E2] SET [MS]=7 WHERE [ID]=1"),
         {"P-1"},
         {}},
        {"a result changed by the other",
         nichts,
         sql("UPDATE [A1] SET [VELD]=7 WHERE [ID]=1"),
         {"P-1"},
         {}},
        {"a curve row changed by the other",
         nichts,
         sql("UPDATE [A2] SET [W]=7 WHERE [ID]=1"),
         {"P-1"},
         {}},
        {"an axis range set by the other",
         nichts,
         sql("INSERT INTO [G0] ([ID],[IDOBJEKT],[XMIN],[XMAX]) VALUES (1,11,0,60)"),
         {"P-1"},
         {}},
        {"a layout a drawing wrote is nobody's work",
         sql("INSERT INTO [G0] ([ID],[IDOBJEKT],[MX],[MY],[MSP]) VALUES (1,11,0,0,2)"),
         sql("INSERT INTO [G0] ([ID],[IDOBJEKT],[MX],[MY],[OX]) VALUES (2,11,0,0,1)"),
         {},
         {}},
        {"the active flag is the user's selection",
         sql("UPDATE [E1] SET [AKT]=true"),
         nichts,
         {},
         {}},
        {"deleted by the other", nichts, sql("DELETE FROM [E1] WHERE [ID]=3"), {"P-3"}, {}},
        {"added by the other under a key the copy uses",
         sql("INSERT INTO [E1] ([ID],[KEN]) VALUES (4,'EIGEN')"),
         sql("INSERT INTO [E1] ([ID],[KEN]) VALUES (4,'FREMD')"),
         {"FREMD"},
         {}},
        {"the multiple evaluation's comment",
         nichts,
         sql("INSERT INTO [M1] ([IDM],[KOM]) VALUES (1,'Kommentar')"),
         {DATENSATZSTAENDE::kProjektzeilen},
         {}},
        {"both changed one record",
         sql("UPDATE [E3] SET [V]=8 WHERE [ID]=1"),
         sql("UPDATE [E3] SET [V]=9 WHERE [ID]=1"),
         {},
         {"P-1"}},
        {"both changed it alike",
         sql("UPDATE [E3] SET [V]=8 WHERE [ID]=1"),
         sql("UPDATE [E3] SET [V]=8 WHERE [ID]=1"),
         {},
         {}},
        {"one changed what the other deleted",
         sql("UPDATE [E3] SET [V]=8 WHERE [ID]=2"),
         sql("DELETE FROM [E1] WHERE [ID]=2"),
         {},
         {"P-2"}},
        {"an identifier the other holds twice",
         nichts,
         sql("INSERT INTO [E1] ([ID],[KEN]) VALUES (7,'p-1')"),
         {},
         {"P-1"}},
        {"a test without identifier changed by the other",
         nichts,
         sql("UPDATE [E3] SET [V]=9 WHERE [ID]=5"),
         {DATENSATZSTAENDE::kOhneKennung},
         {}},
        {"a test without identifier changed here",
         sql("UPDATE [E3] SET [V]=9 WHERE [ID]=5"),
         nichts,
         {},
         {}},
        {"without a base, what is held otherwise is asked about",
         nichts,
         sql("UPDATE [E3] SET [V]=9 WHERE [ID]=1"),
         {},
         {"P-1"},
         true},
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.name);
        Drei d;
        Connection kopie(d.kopie), projekt(d.projekt), basis(d.basis);
        KOPIEBASIS::EINRICHTEN(kopie);
        fall.eigene(kopie);
        fall.fremde(projekt);
        // The base the copy's triggers kept is what the copy held before.
        const DATENSATZSTAENDE b = DATENSATZSTAENDE::LESEN(basis);
        const KOPIEBASIS::STAENDE gelesen = KOPIEBASIS::LESEN(kopie);
        ASSERT_TRUE(gelesen.basis.has_value());
        EXPECT_TRUE(*gelesen.basis == b);
        const DATENSATZSTAENDE& k = gelesen.kopie;
        const DATENSATZSTAENDE p = DATENSATZSTAENDE::LESEN(projekt);
        const ZUSAMMENFUEHRUNG plan =
            ZUSAMMENFUEHRUNG::PLANEN(fall.ohneBasis ? nullptr : &*gelesen.basis, k, p);
        EXPECT_EQ(plan.UEBERNEHMEN, fall.uebernehmen);
        EXPECT_EQ(plan.KONFLIKTE, fall.konflikte);
        // What the copy takes, it then holds as the project does, and that
        // is its base from then on.
        {
            Transaction t(kopie);
            KOPIEBASIS::ABGEGLICHEN(kopie,
                                    ZUSAMMENFUEHRUNG::UEBERTRAGEN(kopie, projekt, plan.UEBERNEHMEN),
                                    DatabaseMark());
            t.Commit();
        }
        const KOPIEBASIS::STAENDE nachher = KOPIEBASIS::LESEN(kopie);
        const DATENSATZSTAENDE& danach = nachher.kopie;
        for (const QString& s : plan.UEBERNEHMEN) {
            const auto* soll = p.Stand(s);
            const auto* ist = danach.Stand(s);
            ASSERT_EQ(!soll, !ist) << s.toStdString();
            if (soll) {
                EXPECT_EQ(ist->inhalt, soll->inhalt) << s.toStdString();
                EXPECT_EQ(nachher.basis->Stand(s)->inhalt, soll->inhalt) << s.toStdString();
            } else {
                EXPECT_EQ(nachher.basis->Stand(s), nullptr) << s.toStdString();
            }
        }
        // ... and its own records stay as they were.
        for (auto it = k.Staende().cbegin(); it != k.Staende().cend(); ++it)
            if (!plan.UEBERNEHMEN.contains(it.key())) {
                EXPECT_EQ(danach.Stand(it.key())->inhalt, it->inhalt) << it.key().toStdString();
            }
    }
}

// A copy made before its base was kept: with changes it has none, without
// it is its own.
TEST(Zusammenfuehrung, ACopyWithoutItsBaseTablesGetsOneOnlyWithoutChanges) {
    for (const bool unveraendert : {true, false}) {
        Drei d;
        {
            Connection kopie(d.kopie);
            kopie.Execute(QStringLiteral("DROP TABLE [VELD_BASIS]; DROP TABLE [VELD_BASISSTAND]"));
        }
        Connection kopie(d.kopie);
        KOPIEBASIS::EINRICHTEN(kopie, unveraendert);
        EXPECT_EQ(KOPIEBASIS::LESEN(kopie).basis.has_value(), unveraendert);
        // A Save settles it: the copy met the project whole.
        {
            Transaction t(kopie);
            KOPIEBASIS::ABGEGLICHEN(kopie, DatabaseMark());
            t.Commit();
        }
        EXPECT_TRUE(KOPIEBASIS::LESEN(kopie).basis.has_value());
    }
}

// A copy (or a kept file) whose base was kept before the project content it
// is of: its base holds, and that content is unknown until it next meets the
// project.
TEST(Zusammenfuehrung, ABaseKeptWithoutTheMarkOfItsContentStillHolds) {
    Drei d;
    {
        Connection kopie(d.kopie);
        kopie.Execute(QStringLiteral("DROP TABLE [VELD_BASISABDRUCK]"));
    }
    // As the program that made the copy left it.
    KOPIEBASIS::STEMPELN(d.kopie, false);
    Connection kopie(d.kopie);
    EXPECT_TRUE(KOPIEBASIS::LESEN(kopie).basis.has_value());
    EXPECT_FALSE(KOPIEBASIS::ABDRUCK(kopie).known);
    KOPIEBASIS::EINRICHTEN(kopie, false);
    EXPECT_TRUE(KOPIEBASIS::LESEN(kopie).basis.has_value());
    const DatabaseMark inhalt = MarkOfDatabase(d.projekt);
    {
        Transaction t(kopie);
        KOPIEBASIS::ABGEGLICHEN(kopie, inhalt);
        t.Commit();
    }
    EXPECT_TRUE(KOPIEBASIS::ABDRUCK(kopie).Same(inhalt));
}

// What the Save does with the plan and the user's answers: an answer counts
// only for the versions it was given for, a No takes the project's version,
// and without questions a record both changed stays as this user left it.
TEST(Zusammenfuehrung, TheAnswersDecideWhatIsTakenAndWhatIsAskedAgain) {
    Drei d;
    Connection kopie(d.kopie), projekt(d.projekt), basis(d.basis);
    KOPIEBASIS::EINRICHTEN(kopie);
    kopie.Execute(QStringLiteral("UPDATE [E3] SET [V]=8 WHERE [ID]=1"));
    projekt.Execute(QStringLiteral("UPDATE [E3] SET [V]=9 WHERE [ID]=1"));
    projekt.Execute(QStringLiteral("UPDATE [E3] SET [V]=9 WHERE [ID]=2"));
    const KOPIEBASIS::STAENDE k = KOPIEBASIS::LESEN(kopie);
    const DATENSATZSTAENDE p = DATENSATZSTAENDE::LESEN(projekt);
    const ZUSAMMENFUEHRUNG plan = ZUSAMMENFUEHRUNG::PLANEN(&*k.basis, k.kopie, p);
    const QByteArray jetzt = ZUSAMMENFUEHRUNG::FASSUNGEN(k.kopie, p, QStringLiteral("P-1"));
    const struct {
        const char* name;
        ZUSAMMENFUEHRUNG::ENTSCHEIDUNGEN antworten;
        bool fragen;
        QStringList nehmen, fragenNach;
    } faelle[] = {
        {"unanswered", {}, true, {"P-2"}, {"P-1"}},
        {"no questions", {}, false, {"P-2"}, {}},
        {"Yes", {{"P-1", {jetzt, true}}}, true, {"P-2"}, {}},
        {"No", {{"P-1", {jetzt, false}}}, true, {"P-2", "P-1"}, {}},
        {"No for other versions", {{"P-1", {"alt", false}}}, true, {"P-2"}, {"P-1"}},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.name);
        const ZUSAMMENFUEHRUNG::SCHRITTE schritte =
            plan.AUSFUEHREN(fall.antworten, &*k.basis, k.kopie, p, fall.fragen);
        EXPECT_EQ(schritte.nehmen, fall.nehmen);
        EXPECT_EQ(schritte.fragen, fall.fragenNach);
        EXPECT_TRUE(schritte.ganz);
    }
    // Without a base, what stays otherwise is not known to be this user's.
    EXPECT_FALSE(plan.AUSFUEHREN({}, nullptr, k.kopie, p, true).ganz);
}
