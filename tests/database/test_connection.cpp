// The connection: opening from the provider string without ever creating a
// file, statements, nested transactions, the busy time-out and reopening in
// place; and the quoting of values for statements.

#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/DatabaseFile.h"
#include "platform/database/Recordset.h"
#include "platform/database/Sql.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Variant.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

QString providerString(const QString& path) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; ") + QStringLiteral("Data Source=") +
           path + QStringLiteral(";Persist Security Info=False");
}

class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("ARCHIV.mdb"));
        CreateDatabase(path);
        db.Open(path);
        db.Execute(QStringLiteral(
            "CREATE TABLE [T] ([ID] LONG, [KEN] TEXT COLLATE NOCASE, [AKT] BOOLEAN)"));
    }
    int count(const QString& where = QString()) {
        Recordset rs(QStringLiteral("SELECT count(*) FROM [T]") +
                         (where.isEmpty() ? QString() : " WHERE " + where),
                     db);
        return rs.Fields(0).Value().toInt();
    }
    // A guard that counts its calls, and those in which another connection
    // could not begin to write (the write lock was held).
    void zaehlenderWaechter(int& aufrufe, int& gesperrt) {
        db.SetWriteGuard([this, &aufrufe, &gesperrt] {
            ++aufrufe;
            Connection other(path);
            other.SetConnectionTimeout(0);
            try {
                other.BeginTrans();
                other.RollbackTrans();
            } catch (const RuntimeError& error) {
                if (error.Number() == DatabaseError::Locked) ++gesperrt;
            }
        });
    }
    QTemporaryDir dir;
    QString path;
    Connection db;
};

} // namespace

TEST(ConnectionString, TakesThePathOfDataSource) {
    EXPECT_EQ(
        Connection::PathFromConnectionString(providerString(QStringLiteral("/lab/db/ARCHIV.mdb"))),
        QStringLiteral("/lab/db/ARCHIV.mdb"));
    EXPECT_EQ(Connection::PathFromConnectionString(QStringLiteral("data source= /a b/V.mdb ")),
              QStringLiteral("/a b/V.mdb"));
    EXPECT_EQ(Connection::PathFromConnectionString(QStringLiteral("/plain/VELD.mdb")),
              QStringLiteral("/plain/VELD.mdb"));
}

TEST_F(ConnectionTest, OpensFromTheProviderString) {
    Connection other;
    other.SetConnectionTimeout(30);
    other.Open(providerString(path));
    EXPECT_EQ(other.State(), Connection::adStateOpen);
    EXPECT_EQ(other.Path(), QFileInfo(path).absoluteFilePath());
    EXPECT_EQ(other.ConnectionTimeout(), 30);
    other.Close();
    EXPECT_EQ(other.State(), Connection::adStateClosed);
}

TEST_F(ConnectionTest, AMissingFileIsAnOpenErrorAndIsNotCreated) {
    const QString missing = dir.filePath(QStringLiteral("PROJEKT/VELD.mdb"));
    Connection other;
    try {
        other.Open(providerString(missing));
        FAIL() << "opened a missing file";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), DatabaseError::Failure);
        EXPECT_TRUE(error.Description().contains(missing)) << error.Description().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("PROJEKT"))));
    EXPECT_EQ(other.State(), Connection::adStateClosed);

    const QString sibling = dir.filePath(QStringLiteral("VORGABE.mdb"));
    EXPECT_THROW(other.Open(sibling), RuntimeError);
    EXPECT_FALSE(QFileInfo::exists(sibling));
}

TEST_F(ConnectionTest, AFileThatIsNoDatabaseFailsAtTheOpen) {
    const QString text = dir.filePath(QStringLiteral("notes.mdb"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    Connection other;
    EXPECT_THROW(other.Open(text), RuntimeError);
    EXPECT_EQ(other.State(), Connection::adStateClosed);
    EXPECT_EQ(QFileInfo(text).size(), 4096);
}

TEST_F(ConnectionTest, ExecuteReturnsTheRowsAffected) {
    EXPECT_EQ(
        db.Execute(QStringLiteral("INSERT INTO [T] ([ID],[KEN]) VALUES (1,'a'),(2,'b'),(3,'c')")),
        3);
    EXPECT_EQ(db.Execute(QStringLiteral("UPDATE [T] SET [AKT]=true WHERE [ID]<>2")), 2);
    EXPECT_EQ(db.Execute(QStringLiteral("DELETE FROM [T] WHERE [KEN]='B'")),
              1); // letter case ignored
    EXPECT_EQ(db.Execute(QStringLiteral("SELECT * FROM [T]")), 0);
    EXPECT_EQ(count(QStringLiteral("[AKT]=true")), 2);
}

TEST_F(ConnectionTest, AWrongStatementRaisesACommandErrorWithTheEnginesMessage) {
    try {
        db.Execute(QStringLiteral("SELECT [NIX] FROM [T]"));
        FAIL();
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), DatabaseError::Command);
        EXPECT_TRUE(error.Description().contains(QStringLiteral("NIX")))
            << error.Description().toStdString();
    }
    EXPECT_THROW(db.Execute(QStringLiteral("SELECT * FROM [T] WHERE [KEN]='O'Brien'")),
                 RuntimeError);
}

TEST_F(ConnectionTest, ParametersAreBoundNotSpliced) {
    const QString name = QStringLiteral("O'Brien; DROP TABLE [T]");
    EXPECT_EQ(db.Execute(QStringLiteral("INSERT INTO [T] ([ID],[KEN],[AKT]) VALUES (?,?,?)"),
                         {7, name, true}),
              1);
    Recordset rs(QStringLiteral("SELECT [KEN],[AKT] FROM [T] WHERE [ID]=?"), db, {7});
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(rs.Fields(0).Value().toString(), name);
    EXPECT_EQ(rs.Fields(1).Value(), QVariant(true));
    EXPECT_THROW(db.Execute(QStringLiteral("DELETE FROM [T] WHERE [ID]=?"), {}), RuntimeError);
}

TEST_F(ConnectionTest, OperationsOnAClosedConnectionAreRefused) {
    db.Close();
    db.Close(); // twice does nothing
    try {
        db.Execute(QStringLiteral("SELECT 1"));
        FAIL();
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), DatabaseError::ObjectClosed);
    }
    EXPECT_THROW(db.BeginTrans(), RuntimeError);
}

TEST_F(ConnectionTest, TransactionsCommitAndRollBack) {
    EXPECT_EQ(db.BeginTrans(), 1);
    db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (1)"));
    db.CommitTrans();
    db.BeginTrans();
    db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (2)"));
    db.RollbackTrans();
    EXPECT_EQ(db.TransactionLevel(), 0);
    EXPECT_EQ(count(), 1);
    EXPECT_THROW(db.CommitTrans(), RuntimeError);
    EXPECT_THROW(db.RollbackTrans(), RuntimeError);
}

TEST_F(ConnectionTest, ASavepointInsideATransactionRollsBackAlone) {
    db.BeginTrans();
    db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (1)"));
    EXPECT_EQ(db.BeginTrans(), 2);
    db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (2)"));
    EXPECT_EQ(db.BeginTrans(), 3);
    db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (3)"));
    db.CommitTrans();   // level 3 joins level 2
    db.RollbackTrans(); // level 2 undoes 2 and 3
    EXPECT_EQ(db.TransactionLevel(), 1);
    db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (4)"));
    db.CommitTrans();
    Recordset rs(QStringLiteral("SELECT [ID] FROM [T] ORDER BY [ID]"), db);
    ASSERT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs.Fields(0).Value(), QVariant(1));
    rs.MoveNext();
    EXPECT_EQ(rs.Fields(0).Value(), QVariant(4));
}

TEST_F(ConnectionTest, ATransactionObjectRollsBackUnlessCommitted) {
    {
        Transaction outer(db);
        db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (1)"));
        try {
            Transaction inner(db);
            db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (2)"));
            throw std::runtime_error("a failing step");
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(db.TransactionLevel(), 1);
        outer.Commit();
        EXPECT_FALSE(outer.Active());
    }
    EXPECT_EQ(count(), 1);
    {
        Transaction forgotten(db);
        db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (9)"));
    }
    EXPECT_EQ(count(), 1);
    EXPECT_EQ(db.TransactionLevel(), 0);
}

TEST_F(ConnectionTest, ALockHeldElsewhereFailsAfterTheTimeOut) {
    Connection other(path);
    other.BeginTrans();
    other.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (1)"));
    db.SetConnectionTimeout(0);
    try {
        db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (2)"));
        FAIL() << "wrote past another connection's lock";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), DatabaseError::Locked);
    }
    other.CommitTrans();
    db.SetConnectionTimeout(30);
    EXPECT_EQ(db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (2)")), 1);
}

// A wait for another writer shows itself after a second (what it waits for,
// with Abbrechen) while events run; the waiting connection refuses any other
// use meanwhile, and Abbrechen ends the write with nothing written.
TEST_F(ConnectionTest, AWaitForAnotherWriterShowsItselfAndAbbrechenEndsItUnwritten) {
    Connection other(path);
    other.BeginTrans();
    other.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (1)"));
    db.SetConnectionTimeout(5);
    QString text;
    int wiederbetreten = 0;
    QObject wache;
    QTimer::singleShot(1500, &wache, [&] {
        for (QWidget* fenster : QApplication::topLevelWidgets())
            if (fenster->objectName() == QLatin1String("frmWARTEN") && fenster->isVisible()) {
                text = fenster->findChild<QLabel*>()->text();
                try {
                    db.Execute(QStringLiteral("SELECT 1"));
                } catch (const RuntimeError& error) {
                    wiederbetreten = error.Number();
                }
                fenster->findChild<QPushButton*>()->click();
            }
    });
    try {
        db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (2)"));
        FAIL() << "wrote past another connection's lock";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), DatabaseError::Cancelled);
    }
    EXPECT_TRUE(text.contains(QFileInfo(path).absoluteFilePath())) << text.toStdString();
    EXPECT_EQ(wiederbetreten, DatabaseError::Locked);
    other.RollbackTrans();
    EXPECT_EQ(count(), 0);
    EXPECT_EQ(db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (3)")), 1);
}

// Under German, what the engine refuses (a file held, no database, a journal
// that cannot be written, a copy of a file that is no database) is told in
// German, never in the engine's English words.
TEST_F(ConnectionTest, TheEnginesRefusalsAreToldInTheUsersLanguage) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString kaputt = dir.filePath(QStringLiteral("kaputt.mdb"));
    {
        QFile datei(kaputt);
        ASSERT_TRUE(datei.open(QIODevice::WriteOnly));
        datei.write(QByteArray(8192, '\x17'));
    }
    Connection other(path);
    const struct {
        const char* fall;
        const char* halten;
        std::function<void()> tun;
        int nummer;
    } faelle[] = {
        {"held at the open", "BEGIN EXCLUSIVE",
         [&] {
             Connection c;
             c.SetConnectionTimeout(0);
             c.Open(path);
         },
         DatabaseError::Locked},
        {"no database at the open", "", [&] { Connection c(kaputt); }, DatabaseError::Damaged},
        {"a copy of no database", "",
         [&] { CopyDatabase(kaputt, dir.filePath(QStringLiteral("neu.mdb"))); },
         DatabaseError::Damaged},
        {"a journal that cannot be written", "",
         [&] {
             QDir().mkdir(path + QStringLiteral("-journal"));
             db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (1)"));
         },
         DatabaseError::IoFailure},
    };
    const QRegularExpression englisch(
        QStringLiteral("database|disk|I/O|unable|locked|malformed|error"),
        QRegularExpression::CaseInsensitiveOption);
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.fall);
        sqlite3_exec(other.Handle(), f.halten, nullptr, nullptr, nullptr);
        try {
            f.tun();
            ADD_FAILURE() << "not refused";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), f.nummer);
            const QString text = QString(error.Description()).remove(dir.path());
            EXPECT_FALSE(text.contains(englisch)) << text.toStdString();
            EXPECT_TRUE(text.startsWith(QStringLiteral("Die Datenbank ")));
        }
        sqlite3_exec(other.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
    QDir().rmdir(path + QStringLiteral("-journal"));
    QLocale::setDefault(QLocale::c());
}

// The guard runs once per writing transaction while it holds the write lock
// (another connection cannot begin to write meanwhile); a guard that refuses
// leaves nothing written.
TEST_F(ConnectionTest, EveryWritePassesTheGuardWhileHoldingTheWriteLock) {
    int aufrufe = 0;
    int gesperrt = 0;
    zaehlenderWaechter(aufrufe, gesperrt);
    db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (1)"));
    db.BeginTrans();
    db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (2)"));
    db.Execute(QStringLiteral("UPDATE [T] SET [AKT]=true WHERE [ID]=?"), {2});
    db.CommitTrans();
    EXPECT_EQ(count(), 2);
    Recordset rs(QStringLiteral("SELECT * FROM [T] WHERE [ID]=1"), db);
    rs.Fields(QStringLiteral("KEN")) = QStringLiteral("A");
    rs.Update();
    EXPECT_EQ(aufrufe, 3);
    EXPECT_EQ(gesperrt, 3);

    db.SetWriteGuard([] { throw RuntimeError(75, QStringLiteral("refused")); });
    EXPECT_THROW(db.Execute(QStringLiteral("DELETE FROM [T]")), RuntimeError);
    EXPECT_EQ(db.TransactionLevel(), 0);
    EXPECT_EQ(count(), 2);
}

// A write that returns rows, and a single write after a transaction that
// the engine ended by itself (here interrupted), pass the guard as every
// write does: once each, while another connection cannot write.
TEST_F(ConnectionTest, AWriteReturningRowsAndOneAfterAnEndedTransactionPassTheGuard) {
    int aufrufe = 0;
    int gesperrt = 0;
    zaehlenderWaechter(aufrufe, gesperrt);
    {
        Recordset rs(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (1),(2) RETURNING [ID]"), db);
        EXPECT_EQ(rs.RecordCount(), 2);
    }
    EXPECT_EQ(db.TransactionLevel(), 0);
    EXPECT_EQ(aufrufe, 1);

    db.BeginTrans();
    db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (3)"));
    sqlite3_progress_handler(db.Handle(), 1, [](void*) { return 1; }, nullptr);
    EXPECT_THROW(db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (4)")), RuntimeError);
    sqlite3_progress_handler(db.Handle(), 0, nullptr, nullptr);
    db.RollbackTrans(); // ended already: the caller's rollback only ends it here
    db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (5)"));
    EXPECT_EQ(aufrufe, 3);
    EXPECT_EQ(gesperrt, 3);
    EXPECT_EQ(count(), 3);
    EXPECT_EQ(db.TransactionLevel(), 0);
}

// The engine ends a transaction by itself when the disk is full: its levels
// stay for their callers, a later write and every commit meet the same
// refusal (never "not allowed"), nothing is written on its own, and the
// callers' rollbacks end it.
TEST_F(ConnectionTest, ATransactionTheEngineEndedRefusesUntilItsCallersRollBack) {
    db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (1)"));
    ASSERT_EQ(sqlite3_exec(db.Handle(), "PRAGMA max_page_count = 1", nullptr, nullptr, nullptr),
              SQLITE_OK);
    const auto fehler = [](const std::function<void()>& schritt) {
        try {
            schritt();
        } catch (const RuntimeError& e) {
            return e.Number();
        }
        return 0;
    };
    db.BeginTrans();
    db.BeginTrans();
    EXPECT_EQ(fehler([&] {
                  db.Execute(QStringLiteral("INSERT INTO [T] ([ID],[KEN]) VALUES (2,?)"),
                             {QString(100000, QLatin1Char('x'))});
              }),
              DatabaseError::DiskFull);
    ASSERT_TRUE(sqlite3_get_autocommit(db.Handle())); // the engine rolled back
    EXPECT_EQ(fehler([&] { db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (3)")); }),
              DatabaseError::DiskFull);
    EXPECT_EQ(fehler([&] { db.BeginTrans(); }), DatabaseError::DiskFull);
    EXPECT_EQ(fehler([&] { db.CommitTrans(); }), DatabaseError::DiskFull);
    EXPECT_EQ(db.TransactionLevel(), 2);
    db.RollbackTrans();
    EXPECT_EQ(fehler([&] { db.CommitTrans(); }), DatabaseError::DiskFull);
    db.RollbackTrans();
    EXPECT_EQ(db.TransactionLevel(), 0);
    EXPECT_EQ(count(), 1);
    db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (4)"));
    EXPECT_EQ(count(), 2);
}

TEST_F(ConnectionTest, ReopenInPlaceReadsTheReplacedFile) {
    db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (1)"));
    const QString compacted = dir.filePath(QStringLiteral("ARCHIVTEMP.mdb"));
    {
        Connection other(path);
        other.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (2)"));
    }
    CompactDatabase(path, compacted);
    Connection* const holder = &db;
    db.Close();
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::rename(compacted, path));
    holder->Reopen();
    EXPECT_EQ(db.State(), Connection::adStateOpen);
    EXPECT_EQ(db.Path(), QFileInfo(path).absoluteFilePath());
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (3)")), 1);
}

// Another user's Save renames a new file over the database: the connection
// knows it, and its writes are refused as into a replaced file, never as
// into a write-protected one, until Reopen reaches the new file.
TEST_F(ConnectionTest, AWriteIntoAReplacedFileIsToldAsReplaced) {
    CopyDatabase(path, path + QStringLiteral(".neu"));
    EXPECT_FALSE(db.HasMoved());
    std::filesystem::rename((path + QStringLiteral(".neu")).toStdString(), path.toStdString());
    EXPECT_TRUE(db.HasMoved());
    const QString deutsch = QString::fromUtf8("Die Datenbank %1 wurde durch eine andere Datei "
                                              "ersetzt oder entfernt, seit sie geöffnet wurde; "
                                              "es wurde nichts geändert.");
    const QString englisch = QStringLiteral("The database %1 was replaced by another file or "
                                            "removed since it was opened; nothing was changed.");
    for (const auto& [sprache, text] : {std::pair(QLocale(QLocale::German), deutsch),
                                        std::pair(QLocale::c(), englisch)}) {
        QLocale::setDefault(sprache);
        try {
            db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (1)"));
            ADD_FAILURE() << "not refused";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), DatabaseError::Replaced);
            EXPECT_TRUE(error.Refusal());
            EXPECT_EQ(error.Description().toStdString(), text.arg(db.Path()).toStdString());
        }
    }
    QLocale::setDefault(QLocale::c());
    db.Reopen();
    EXPECT_FALSE(db.HasMoved());
    EXPECT_EQ(db.Execute(QStringLiteral("INSERT INTO [T] ([ID]) VALUES (2)")), 1);
}

TEST_F(ConnectionTest, CachedStatementsFollowASchemaChange) {
    db.Execute(QStringLiteral("INSERT INTO [T] ([ID],[KEN]) VALUES (1,'a')"));
    {
        Recordset rs(QStringLiteral("SELECT * FROM [T]"), db);
        EXPECT_EQ(rs.FieldCount(), 3);
    }
    db.Execute(QStringLiteral("DROP TABLE [T]; CREATE TABLE [T] ([ID] LONG, [W] SINGLE)"));
    db.Execute(QStringLiteral("INSERT INTO [T] ([ID],[W]) VALUES (1,2.5)"));
    Recordset rs(QStringLiteral("SELECT * FROM [T]"), db);
    ASSERT_EQ(rs.FieldCount(), 2);
    EXPECT_EQ(rs.Fields(1).Name(), QStringLiteral("W"));
    EXPECT_EQ(rs.Fields(1).Value(), QVariant(2.5f));
    rs.AddNew();
    rs.Fields("W") = 1.5;
    rs.Update();
    EXPECT_EQ(count(), 2);
}

TEST(Sql, TextIsQuotedWithApostrophesDoubled) {
    EXPECT_EQ(SqlText(QStringLiteral("abc")), QStringLiteral("'abc'"));
    EXPECT_EQ(SqlText(QStringLiteral("O'Brien's")), QStringLiteral("'O''Brien''s'"));
    EXPECT_EQ(SqlText(QString()), QStringLiteral("''"));
    EXPECT_EQ(SqlName(QStringLiteral("KEN")), QStringLiteral("[KEN]"));
    EXPECT_THROW(SqlName(QStringLiteral("a]b")), RuntimeError);
}

TEST(Sql, NumbersAreWrittenInCNotationWhateverTheLocale) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(SqlNumber(12.5), QStringLiteral("12.5"));
    EXPECT_EQ(SqlNumber(12.3f), QStringLiteral("12.3"));
    EXPECT_EQ(SqlNumber(-3), QStringLiteral("-3"));
    EXPECT_EQ(SqlNumber(qlonglong(1234567)), QStringLiteral("1234567"));
    EXPECT_EQ(SqlValue(QVariant(1.25)), QStringLiteral("1.25"));
    EXPECT_EQ(SqlValue(QVariant(true)), QStringLiteral("true"));
    EXPECT_EQ(SqlValue(VNull()), QStringLiteral("NULL"));
    EXPECT_EQ(SqlValue(QVariant(QStringLiteral("a'b"))), QStringLiteral("'a''b'"));
    QLocale::setDefault(QLocale::c());
}
