// What the rows of a key were before a transaction's writes: the sum of its
// rows now and the change kept at the commit give the sum of its rows
// before, whatever the writes did (a savepoint rolled back, a statement that
// failed half way, a row moved to another key), and a write that changes no
// hashed column is no change.

#include "platform/database/Connection.h"
#include "platform/database/RowJournal.h"
#include "platform/database/RowScan.h"
#include "platform/database/Transaction.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <unordered_map>

namespace {

using Summen = std::unordered_map<qint64, RowSum>;

Summen summen(Connection& db) {
    Summen s;
    SumRowsByKey(db, QStringLiteral("SELECT [ID],[V],[R] FROM [T]"), 7, s);
    return s;
}

} // namespace

TEST(RowJournal, TheRowsBeforeAreTheRowsNowAndTheKeptChange) {
    const struct {
        const char* name;
        std::function<void(Connection&)> schreiben;
    } faelle[] = {
        {"insert, update, delete",
         [](Connection& db) {
             db.Execute(QStringLiteral("INSERT INTO [T] VALUES (3,'c',0,NULL)"));
             db.Execute(QStringLiteral("UPDATE [T] SET [V]='x' WHERE [ID]=1"));
             db.Execute(QStringLiteral("DELETE FROM [T] WHERE [ID]=2"));
         }},
        {"a savepoint rolled back",
         [](Connection& db) {
             db.Execute(QStringLiteral("UPDATE [T] SET [V]='x' WHERE [ID]=1"));
             Transaction innen(db);
             db.Execute(QStringLiteral("UPDATE [T] SET [V]='y' WHERE [ID]=2"));
             innen.Rollback();
         }},
        {"a statement that fails half way",
         [](Connection& db) {
             EXPECT_THROW(db.Execute(QStringLiteral("UPDATE [T] SET [V]='z', [N]=10/([ID]-2)")),
                          RuntimeError);
         }},
        {"a row moved to another key",
         [](Connection& db) { db.Execute(QStringLiteral("UPDATE [T] SET [ID]=5 WHERE [ID]=1")); }},
        {"a move that fails half way, then a deletion",
         [](Connection& db) {
             EXPECT_THROW(db.Execute(QStringLiteral("UPDATE [T] SET [ID]=5, [N]=10/([ID]-2)")),
                          RuntimeError);
             db.Execute(QStringLiteral("DELETE FROM [T] WHERE [ID]=1"));
         }},
        {"whole numbers into a real column",
         [](Connection& db) {
             db.Execute(QStringLiteral("INSERT INTO [T] VALUES (3,'c',0,20)"));
             db.Execute(QStringLiteral("INSERT INTO [T] SELECT 1,[V],[N],[R] FROM [T] WHERE "
                                       "[ID]=2"));
             db.Execute(QStringLiteral("UPDATE [T] SET [R]=7 WHERE [ID]=2"));
         }},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.name);
        QTemporaryDir ordner;
        const QString datei = ordner.filePath(QStringLiteral("t.db"));
        {
            QFile leer(datei);
            ASSERT_TRUE(leer.open(QIODevice::WriteOnly));
        }
        Connection db(datei);
        db.Execute(QStringLiteral(
            "CREATE TABLE [T] ([ID] INTEGER, [V] TEXT, [N] INTEGER NOT NULL, [R] DOUBLE)"));
        db.Execute(QStringLiteral("INSERT INTO [T] VALUES (1,'a',0,1),(1,'b',0,NULL),(2,'c',0,3)"));
        const Summen vorher = summen(db);
        RowJournal::Changes behalten;
        db.SetRowJournal(std::make_shared<RowJournal>(
            QList<RowJournal::Table>{{QStringLiteral("T"),
                                      7,
                                      false,
                                      {QStringLiteral("V"), QStringLiteral("R")},
                                      {},
                                      {}}},
            [&](const RowJournal::Changes& c) { behalten = c; }));
        {
            Transaction t(db);
            fall.schreiben(db);
            t.Commit();
        }
        Summen jetzt = summen(db);
        for (const auto& [schluessel, aenderung] : behalten) {
            RowSum& s = jetzt[schluessel];
            s.a += aenderung.change.a;
            s.b += aenderung.change.b;
            s.count += aenderung.change.count;
        }
        for (qint64 schluessel : {1, 2, 3, 5}) {
            const RowSum soll = vorher.count(schluessel) ? vorher.at(schluessel) : RowSum();
            const RowSum ist = jetzt.count(schluessel) ? jetzt.at(schluessel) : RowSum();
            EXPECT_EQ(ist, soll) << schluessel;
        }
    }
}

TEST(RowJournal, AWriteOfAColumnNoDigestHoldsKeepsNothing) {
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("t.db"));
    {
        QFile leer(datei);
        ASSERT_TRUE(leer.open(QIODevice::WriteOnly));
    }
    Connection db(datei);
    db.Execute(QStringLiteral("CREATE TABLE [T] ([ID] INTEGER, [V] TEXT, [N] INTEGER)"));
    db.Execute(QStringLiteral("INSERT INTO [T] VALUES (1,'a',0)"));
    bool aufgerufen = false;
    db.SetRowJournal(std::make_shared<RowJournal>(
        QList<RowJournal::Table>{{QStringLiteral("T"), 7, false, {QStringLiteral("V")}, {}, {}}},
        [&](const RowJournal::Changes& c) { aufgerufen = !c.empty(); }));
    db.Execute(QStringLiteral("UPDATE [T] SET [N]=1"));
    EXPECT_FALSE(aufgerufen);
}
