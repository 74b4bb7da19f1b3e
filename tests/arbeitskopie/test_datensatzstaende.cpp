// What a record holds, told apart from its key: a record compares by
// content, whatever key it has in either database.

#include "arbeitskopie/DATENSATZSTAENDE.h"
#include "data/SCHEMA.h"
#include "platform/database/Connection.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Datensatzstaende, RecordsCompareByContentNotByKey) {
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
    const DATENSATZSTAENDE sa = DATENSATZSTAENDE::LESEN(a);
    const DATENSATZSTAENDE sb = DATENSATZSTAENDE::LESEN(b);
    QStringList anders;
    for (auto it = sa.Staende().cbegin(); it != sa.Staende().cend(); ++it) {
        const DATENSATZSTAENDE::STAND* dort = sb.Stand(it.key());
        if (!dort || dort->inhalt != it->inhalt) anders << it->ken;
    }
    anders.sort();
    EXPECT_EQ(anders, QStringList({"ANDERS", "FEHLT"}));
    EXPECT_EQ(sa.Stand(DATENSATZSTAENDE::SCHLUESSEL(QStringLiteral("verschoben")))->ken,
              QStringLiteral("VERSCHOBEN"));
}

// Read for some identifiers only, each holds what the whole read says of it,
// whatever the letter case, Null or type of the identifiers written.
TEST(Datensatzstaende, SomeIdentifiersReadAsTheWholeReadsThem) {
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("p.mdb"));
    PROJEKTDATENBANKANLEGEN(datei);
    Connection db(datei);
    const QVariantList kennungen = {QStringLiteral("p1"),     QStringLiteral("P1"), QVariant(), 7,
                                    QString::fromUtf8("Ä-1"), QStringLiteral("P2")};
    for (int i = 0; i < kennungen.size(); ++i) {
        db.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (?,?,false)"),
                   {i + 1, kennungen[i]});
        db.Execute(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[V]) VALUES (?,1,?)"), {i + 1, i});
    }
    db.Execute(QStringLiteral("INSERT INTO [M1] ([IDM],[KOM]) VALUES (1,'mehrfach')"));
    const DATENSATZSTAENDE ganz = DATENSATZSTAENDE::LESEN(db);
    const QString ohne = DATENSATZSTAENDE::kOhneKennung;
    const QString mehrfach = DATENSATZSTAENDE::kProjektzeilen;
    for (const QSet<QString>& schluessel :
         {QSet<QString>{"P1"}, QSet<QString>{ohne, "7"}, QSet<QString>{QString::fromUtf8("Ä-1")},
          QSet<QString>{mehrfach, "P2", "FEHLT"}, QSet<QString>{}}) {
        const DATENSATZSTAENDE teil = DATENSATZSTAENDE::LESEN(db, schluessel);
        SCOPED_TRACE(QStringList(schluessel.values()).join(',').toStdString());
        EXPECT_EQ(teil.Staende().size(), schluessel.size() - schluessel.contains("FEHLT"));
        for (const QString& s : schluessel) {
            EXPECT_EQ(teil.Inhalt(s), ganz.Inhalt(s));
            if (ganz.Stand(s)) {
                EXPECT_EQ(teil.Stand(s)->anzahl, ganz.Stand(s)->anzahl);
            }
        }
    }
}
