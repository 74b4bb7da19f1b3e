// Which records a copy of one project database over another would remove:
// compared by what they hold, whatever key they have.

#include "data/DATENSATZVERGLEICH.h"
#include "data/DATENSATZTABELLEN.h"
#include "data/SCHEMA.h"
#include "platform/database/Connection.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Datensatzvergleich, NamesTheRecordsMissingOrHeldOtherwiseNotThoseUnderAnotherKey) {
    QTemporaryDir ordner;
    const QString von = ordner.filePath(QStringLiteral("von.mdb"));
    const QString in = ordner.filePath(QStringLiteral("in.mdb"));
    PROJEKTDATENBANKANLEGEN(von);
    PROJEKTDATENBANKANLEGEN(in);
    Connection a(von), b(in);
    // ID, KEN, E3 reading in `von`; the same in `in` (ID -1: not there).
    struct Fall {
        int id;
        const char* ken;
        double v;
        int idIn;
        double vIn;
    };
    const Fall faelle[] = {
        {1, "GLEICH", 1.5, 1, 1.5},    // the same record
        {2, "FEHLT", 2.5, -1, 0},      // only in `von`
        {3, "ANDERS", 3.5, 3, 3.25},   // a reading held otherwise
        {4, "VERSCHOBEN", 4.5, 9, 4.5} // exported under another key
    };
    for (const Fall& fall : faelle) {
        const auto schreiben = [](Connection& db, int id, const char* ken, double v) {
            db.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (?,?,false)"),
                       {id, QString::fromLatin1(ken)});
            db.Execute(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[V]) VALUES (?,1,?)"), {id, v});
        };
        schreiben(a, fall.id, fall.ken, fall.v);
        if (fall.idIn >= 0) schreiben(b, fall.idIn, fall.ken, fall.vIn);
    }
    // Which records are active is the user's selection, not a record's content.
    a.Execute(QStringLiteral("UPDATE [E1] SET [AKT]=true WHERE [ID]=1"));
    EXPECT_EQ(ABWEICHENDEDATENSAETZE(a, b), QStringList({"ANDERS", "FEHLT"}));
    EXPECT_EQ(ABWEICHENDEDATENSAETZE(b, a), QStringList({"ANDERS"}));
}

TEST(Datensatztabellen, OneListHoldsEveryTableOfATestInItsOrder) {
    EXPECT_EQ(DATENSATZTABELLEN(),
              (QStringList{QStringLiteral("E1"), QStringLiteral("E2"), QStringLiteral("E3"),
                           QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("G0")}));
}
