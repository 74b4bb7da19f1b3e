// The Save's join, record by record: what each side changed since the base,
// what the copy takes from the project, and what is the user's to decide.

#include "arbeitskopie/BASIS.h"
#include "arbeitskopie/DATENSATZSTAENDE.h"
#include "arbeitskopie/ZUSAMMENFUEHRUNG.h"
#include "data/SCHEMA.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseFile.h"
#include "platform/database/Recordset.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>

namespace {

void datensatz(Connection& db, int id, const QString& ken, double v = 1.5) {
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
        b.Close();
        CopyDatabase(basis, kopie);
        CopyDatabase(basis, projekt);
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
        {"a reading changed by the other", nichts, sql("UPDATE [E3] SET [V]=9 WHERE [ID]=1"),
         {"P-1"}, {}},
        {"general data changed by the other", nichts, sql("UPDATE [E2] SET [MS]=7 WHERE [ID]=1"),
         {"P-1"}, {}},
        {"a result changed by the other", nichts, sql("UPDATE [A1] SET [VELD]=7 WHERE [ID]=1"),
         {"P-1"}, {}},
        {"a curve row changed by the other", nichts, sql("UPDATE [A2] SET [W]=7 WHERE [ID]=1"),
         {"P-1"}, {}},
        {"an axis range set by the other", nichts,
         sql("INSERT INTO [G0] ([ID],[IDOBJEKT],[XMIN],[XMAX]) VALUES (1,11,0,60)"), {"P-1"}, {}},
        {"a layout a drawing wrote is nobody's work",
         sql("INSERT INTO [G0] ([ID],[IDOBJEKT],[MX],[MY],[MSP]) VALUES (1,11,0,0,2)"),
         sql("INSERT INTO [G0] ([ID],[IDOBJEKT],[MX],[MY],[OX]) VALUES (2,11,0,0,1)"), {}, {}},
        {"the active flag is the user's selection", sql("UPDATE [E1] SET [AKT]=true"), nichts, {},
         {}},
        {"deleted by the other", nichts, sql("DELETE FROM [E1] WHERE [ID]=3"), {"P-3"}, {}},
        {"added by the other under a key the copy uses",
         sql("INSERT INTO [E1] ([ID],[KEN]) VALUES (4,'EIGEN')"),
         sql("INSERT INTO [E1] ([ID],[KEN]) VALUES (4,'FREMD')"), {"FREMD"}, {}},
        {"the multiple evaluation's comment", nichts,
         sql("INSERT INTO [M1] ([IDM],[KOM]) VALUES (1,'Kommentar')"),
         {DATENSATZSTAENDE::kProjektzeilen}, {}},
        {"both changed one record", sql("UPDATE [E3] SET [V]=8 WHERE [ID]=1"),
         sql("UPDATE [E3] SET [V]=9 WHERE [ID]=1"), {}, {"P-1"}},
        {"both changed it alike", sql("UPDATE [E3] SET [V]=8 WHERE [ID]=1"),
         sql("UPDATE [E3] SET [V]=8 WHERE [ID]=1"), {}, {}},
        {"one changed what the other deleted", sql("UPDATE [E3] SET [V]=8 WHERE [ID]=2"),
         sql("DELETE FROM [E1] WHERE [ID]=2"), {}, {"P-2"}},
        {"an identifier the other holds twice", nichts,
         sql("INSERT INTO [E1] ([ID],[KEN]) VALUES (7,'p-1')"), {}, {"P-1"}},
        {"without a base, what is held otherwise is asked about", nichts,
         sql("UPDATE [E3] SET [V]=9 WHERE [ID]=1"), {}, {"P-1"}, true},
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.name);
        Drei d;
        Connection kopie(d.kopie), projekt(d.projekt), basis(d.basis);
        fall.eigene(kopie);
        fall.fremde(projekt);
        const DATENSATZSTAENDE b = DATENSATZSTAENDE::LESEN(basis);
        const DATENSATZSTAENDE k = DATENSATZSTAENDE::LESEN(kopie);
        const DATENSATZSTAENDE p = DATENSATZSTAENDE::LESEN(projekt);
        const ZUSAMMENFUEHRUNG plan = ZUSAMMENFUEHRUNG::PLANEN(fall.ohneBasis ? nullptr : &b, k, p);
        EXPECT_EQ(plan.UEBERNEHMEN, fall.uebernehmen);
        EXPECT_EQ(plan.KONFLIKTE, fall.konflikte);
        // What the copy takes, it then holds as the project does.
        ZUSAMMENFUEHRUNG::UEBERTRAGEN(kopie, projekt, plan.UEBERNEHMEN);
        const DATENSATZSTAENDE danach = DATENSATZSTAENDE::LESEN(kopie);
        for (const QString& s : plan.UEBERNEHMEN) {
            const auto* soll = p.Stand(s);
            const auto* ist = danach.Stand(s);
            ASSERT_EQ(!soll, !ist) << s.toStdString();
            if (soll) {
                EXPECT_EQ(ist->inhalt, soll->inhalt) << s.toStdString();
            }
        }
        // ... and its own records stay as they were.
        for (auto it = k.Staende().cbegin(); it != k.Staende().cend(); ++it)
            if (!plan.UEBERNEHMEN.contains(it.key())) {
                EXPECT_EQ(danach.Stand(it.key())->inhalt, it->inhalt) << it.key().toStdString();
            }
    }
}

TEST(Zusammenfuehrung, TheBaseFileKeepsTheDigestsAndRefusesAStrangeFile) {
    Drei d;
    Connection basis(d.basis);
    const DATENSATZSTAENDE b = DATENSATZSTAENDE::LESEN(basis);
    const QString datei = BASIS::DATEI(d.ordner.path());
    ASSERT_TRUE(BASIS::SCHREIBEN(datei, b));
    const std::optional<DATENSATZSTAENDE> gelesen = BASIS::LESEN(datei);
    ASSERT_TRUE(gelesen.has_value());
    EXPECT_TRUE(*gelesen == b);
    EXPECT_EQ(gelesen->Stand(QStringLiteral("P-2"))->ken, QStringLiteral("P-2"));
    QFile f(datei);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("irgendetwas\n");
    f.close();
    EXPECT_FALSE(BASIS::LESEN(datei).has_value());
}
