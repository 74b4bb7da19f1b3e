// Whole database files: creating, copying through the engine's backup (the
// target is the old file or the complete new one, never a mix, whatever
// fails) and compacting into a new file.

#include "platform/database/BusyWait.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/DatabaseFile.h"
#include "platform/database/Recordset.h"
#include "support/KINDPROZESS.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <sqlite3.h>
#include <string>

namespace {

class CopyTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString file(const QString& name) const { return dir.filePath(name); }

    // A database with a table [T] of `rows` rows whose text tells the file.
    void make(const QString& path, const QString& tag, int rows) {
        CreateDatabase(path);
        Connection db(path);
        db.Execute(
            QStringLiteral("CREATE TABLE [T] ([ID] LONG, [KEN] TEXT); CREATE TABLE [%1] ([X] LONG)")
                .arg(tag));
        db.BeginTrans();
        for (int i = 0; i < rows; ++i)
            db.Execute(QStringLiteral("INSERT INTO [T] VALUES (?, ?)"),
                       {i, tag + QString::number(i)});
        db.CommitTrans();
    }
    // The rows of [T] as "ID:KEN" lines, read through a fresh connection.
    static QStringList rows(const QString& path) {
        Connection db(path);
        return rows(db);
    }
    static QStringList rows(Connection& db) {
        QStringList result;
        Recordset rs(QStringLiteral("SELECT [ID],[KEN] FROM [T] ORDER BY [ID]"), db);
        for (; !rs.Eof(); rs.MoveNext())
            result << rs.Fields(0).Value().toString() + QLatin1Char(':') +
                          rs.Fields(1).Value().toString();
        return result;
    }
    QStringList entries() const {
        return QDir(dir.path())
            .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    static QByteArray bytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void makeJunk(const QString& path) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8192, '\x17'));
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(CopyTest, CreateDatabaseMakesAnEmptyDatabaseAndRefusesAnExistingFile) {
    CreateDatabase(file("neu.mdb"));
    EXPECT_GT(QFileInfo(file("neu.mdb")).size(), 0);
    Connection db(file("neu.mdb"));
    EXPECT_EQ(db.Execute(QStringLiteral("CREATE TABLE [A] ([ID] LONG)")), 0);
    db.Close();
    const QByteArray before = bytes(file("neu.mdb"));
    EXPECT_THROW(CreateDatabase(file("neu.mdb")), RuntimeError);
    EXPECT_EQ(bytes(file("neu.mdb")), before);
}

// A copy, check or compaction that meets a file held by another writer says
// so (3218), not as damage or a plain failure, and leaves nothing behind;
// damage found by the check stays damage.
TEST_F(CopyTest, ABusyFileIsToldAsBusyAndADamagedOneAsDamaged) {
    make(file("quelle.mdb"), "Q", 5);
    make(file("ziel.mdb"), "Z", 5);
    BusyWait::SetTimeoutLimit(300);
    Connection halter(file("quelle.mdb"));
    sqlite3_exec(halter.Handle(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    const struct {
        const char* fall;
        std::function<void()> tun;
    } faelle[] = {
        {"copy from", [&] { CopyDatabase(file("quelle.mdb"), file("neu.mdb")); }},
        {"copy over", [&] { CopyDatabase(file("ziel.mdb"), file("quelle.mdb")); }},
        {"check", [&] { CheckDatabase(file("quelle.mdb")); }},
        {"compaction", [&] { CompactDatabase(file("quelle.mdb"), file("kompakt.mdb")); }},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.fall);
        try {
            f.tun();
            ADD_FAILURE() << "not refused";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.Number(), DatabaseError::Locked);
            EXPECT_TRUE(error.Description().contains(file("quelle.mdb")));
        }
    }
    sqlite3_exec(halter.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    BusyWait::SetTimeoutLimit(0);
    EXPECT_EQ(entries(), QStringList({"quelle.mdb", "ziel.mdb"}));
    EXPECT_EQ(rows(file("quelle.mdb")).size(), 5);

    // A page in the middle of a larger file overwritten: still a database,
    // but damaged.
    make(file("gross.mdb"), "G", 2000);
    {
        QFile datei(file("gross.mdb"));
        ASSERT_TRUE(datei.open(QIODevice::ReadWrite));
        datei.seek((datei.size() / 4096 / 2) * 4096);
        datei.write(QByteArray(4096, '\xff'));
    }
    try {
        CheckDatabase(file("gross.mdb"));
        ADD_FAILURE() << "damage not found";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), DatabaseError::Damaged);
    }
}

TEST_F(CopyTest, CopiesToANewFile) {
    make(file("quelle.mdb"), "Q", 50);
    CopyDatabase(file("quelle.mdb"), file("ziel.mdb"));
    EXPECT_EQ(rows(file("ziel.mdb")), rows(file("quelle.mdb")));
    EXPECT_EQ(entries(), QStringList({"quelle.mdb", "ziel.mdb"}));
}

TEST_F(CopyTest, ReplacesAnExistingDatabaseWhole) {
    make(file("quelle.mdb"), "Q", 3);
    make(file("ziel.mdb"), "Z", 500);
    Connection reader(file("ziel.mdb"));
    ASSERT_EQ(rows(reader).size(), 500);
    CopyDatabase(file("quelle.mdb"), file("ziel.mdb"));
    // A connection that was open on the target sees the new database.
    EXPECT_EQ(rows(reader), QStringList({"0:Q0", "1:Q1", "2:Q2"}));
    Recordset tables(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name"), reader);
    ASSERT_EQ(tables.RecordCount(), 2);
    EXPECT_EQ(tables.Fields(0).Value().toString(), QStringLiteral("Q"));
}

TEST_F(CopyTest, AMissingSourceIsAnErrorAndCreatesNothing) {
    make(file("ziel.mdb"), "Z", 2);
    const QByteArray before = bytes(file("ziel.mdb"));
    EXPECT_THROW(CopyDatabase(file("fehlt.mdb"), file("ziel.mdb")), RuntimeError);
    EXPECT_THROW(CopyDatabase(file("fehlt.mdb"), file("neu.mdb")), RuntimeError);
    EXPECT_EQ(bytes(file("ziel.mdb")), before);
    EXPECT_EQ(entries(), QStringList({"ziel.mdb"}));
}

TEST_F(CopyTest, ASourceThatIsNoDatabaseLeavesTheTargetWhole) {
    makeJunk(file("kaputt.mdb"));
    make(file("ziel.mdb"), "Z", 20);
    const QByteArray before = bytes(file("ziel.mdb"));
    try {
        CopyDatabase(file("kaputt.mdb"), file("ziel.mdb"));
        FAIL() << "copied a file that is no database";
    } catch (const RuntimeError& error) {
        // Told as damage, not as a plain failure.
        EXPECT_EQ(error.Number(), DatabaseError::Damaged);
        EXPECT_TRUE(error.Description().contains(QStringLiteral("kaputt.mdb")))
            << error.Description().toStdString();
    }
    EXPECT_EQ(bytes(file("ziel.mdb")), before);
    EXPECT_EQ(rows(file("ziel.mdb")).size(), 20);
    // A target that did not exist is not left behind half made.
    EXPECT_THROW(CopyDatabase(file("kaputt.mdb"), file("neu.mdb")), RuntimeError);
    EXPECT_EQ(entries(), QStringList({"kaputt.mdb", "ziel.mdb"}));
}

TEST_F(CopyTest, ATargetThatCannotBeWrittenFailsCleanly) {
    make(file("quelle.mdb"), "Q", 2);
    makeJunk(file("datei"));
    // The target's folder is a file: nothing can be written there.
    EXPECT_THROW(CopyDatabase(file("quelle.mdb"), file("datei/VELD.mdb")), RuntimeError);
    EXPECT_THROW(CopyDatabase(file("quelle.mdb"), file("fehlt/VELD.mdb")), RuntimeError);
    EXPECT_FALSE(QFileInfo::exists(file("fehlt")));
    EXPECT_EQ(entries(), QStringList({"datei", "quelle.mdb"}));
    EXPECT_THROW(CopyDatabase(file("quelle.mdb"), file("quelle.mdb")), RuntimeError);
    EXPECT_EQ(rows(file("quelle.mdb")).size(), 2);
}

TEST_F(CopyTest, AFileThatIsNoDatabaseIsReplacedByTheCopy) {
    make(file("quelle.mdb"), "Q", 4);
    makeJunk(file("ziel.mdb"));
    CopyDatabase(file("quelle.mdb"), file("ziel.mdb"));
    EXPECT_EQ(rows(file("ziel.mdb")).size(), 4);
    EXPECT_EQ(entries(), QStringList({"quelle.mdb", "ziel.mdb"}));
}

TEST_F(CopyTest, CopiesFromAnOpenConnectionAndIntoOne) {
    make(file("arbeit.mdb"), "A", 5);
    make(file("projekt.mdb"), "P", 1);
    Connection work(file("arbeit.mdb"));
    work.Execute(QStringLiteral("DELETE FROM [T] WHERE [ID]>1"));
    rows(work); // leaves a kept statement behind
    CopyDatabase(work, file("projekt.mdb"));
    EXPECT_EQ(rows(file("projekt.mdb")), QStringList({"0:A0", "1:A1"}));

    make(file("andere.mdb"), "B", 3);
    CopyDatabase(file("andere.mdb"), work);
    EXPECT_EQ(rows(work), QStringList({"0:B0", "1:B1", "2:B2"}));
    EXPECT_EQ(work.Execute(QStringLiteral("INSERT INTO [T] VALUES (3,'neu')")), 1);
    makeJunk(file("kaputt.mdb"));
    EXPECT_THROW(CopyDatabase(file("kaputt.mdb"), work), RuntimeError);
    EXPECT_EQ(rows(work).size(), 4);
}

TEST_F(CopyTest, CompactsIntoANewFile) {
    make(file("VELD.mdb"), "V", 3000);
    {
        Connection db(file("VELD.mdb"));
        db.Execute(QStringLiteral("DELETE FROM [T] WHERE [ID]>=10"));
    }
    CompactDatabase(file("VELD.mdb"), file("VELDTEMP.mdb"));
    EXPECT_EQ(rows(file("VELDTEMP.mdb")), rows(file("VELD.mdb")));
    EXPECT_LT(QFileInfo(file("VELDTEMP.mdb")).size(), QFileInfo(file("VELD.mdb")).size());
    EXPECT_THROW(CompactDatabase(file("VELD.mdb"), file("VELDTEMP.mdb")), RuntimeError);
    EXPECT_THROW(CompactDatabase(file("fehlt.mdb"), file("X.mdb")), RuntimeError);
    EXPECT_EQ(entries(), QStringList({"VELD.mdb", "VELDTEMP.mdb"}));
}

namespace {
// A run that writes a temporary file beside the path it is given, reports
// the file's name and waits until its input ends.
int temporaerSchreiben(const QStringList& argumente) {
    const QString name = TemporaryPathBeside(argumente.at(0));
    QFile datei(name);
    datei.open(QIODevice::WriteOnly);
    datei.write("halb");
    datei.close();
    std::cout << name.toStdString() << std::endl;
    std::string rest;
    std::getline(std::cin, rest);
    return 0;
}
const KINDPROZESS kTemporaer("temporaer", temporaerSchreiben);
} // namespace

TEST_F(CopyTest, ASaveFromAConnectionRenamesANewFileOverTheTarget) {
    make(file("arbeit.mdb"), "A", 3);
    make(file("projekt.mdb"), "P", 2);
    ASSERT_TRUE(QFile::setPermissions(file("projekt.mdb"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    Connection work(file("arbeit.mdb"));
    Connection leser(file("projekt.mdb"));
    EXPECT_EQ(rows(leser).size(), 2);
    CopyDatabase(work, file("projekt.mdb"));
    EXPECT_EQ(rows(file("projekt.mdb")), QStringList({"0:A0", "1:A1", "2:A2"}));
    // A reader of the old file goes on reading it whole.
    EXPECT_EQ(rows(leser), QStringList({"0:P0", "1:P1"}));
    EXPECT_EQ(QFile::permissions(file("projekt.mdb")) & 0x7077,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    EXPECT_EQ(entries(), QStringList({"arbeit.mdb", "projekt.mdb"}));
}

TEST_F(CopyTest, AJournalLeftByAKilledWriterIsRolledBackBeforeTheSourceIsRead) {
    make(file("VELD.mdb"), "V", 20000);
    const QStringList vorher = rows(file("VELD.mdb"));
    {
        // The files as a writer killed in the middle of its transaction
        // leaves them: pages already written, the old ones in the journal.
        Connection schreiber(file("VELD.mdb"));
        schreiber.Execute(QStringLiteral("PRAGMA cache_size=10"));
        schreiber.BeginTrans();
        schreiber.Execute(QStringLiteral("UPDATE [T] SET [KEN]='halb'"));
        ASSERT_GT(QFileInfo(file("VELD.mdb-journal")).size(), 0);
        ASSERT_TRUE(QFile::copy(file("VELD.mdb"), file("heiss.mdb")));
        ASSERT_TRUE(QFile::copy(file("VELD.mdb-journal"), file("heiss.mdb-journal")));
        schreiber.RollbackTrans();
    }
    CopyDatabase(file("heiss.mdb"), file("kopie.mdb"));
    EXPECT_EQ(rows(file("kopie.mdb")), vorher);
    EXPECT_FALSE(QFileInfo::exists(file("heiss.mdb-journal")));
    EXPECT_EQ(rows(file("heiss.mdb")), vorher);
}

TEST_F(CopyTest, TemporariesOfDeadRunsAreRemovedThoseOfLiveRunsStay) {
    make(file("VELD.mdb"), "V", 1);
    QProcess lauf;
    KINDPROZESS::STARTEN(lauf, QStringLiteral("temporaer"), {file("VELD.mdb")});
    const QString halb = KINDPROZESS::ZEILE(lauf);
    ASSERT_TRUE(QFileInfo::exists(halb)) << halb.toStdString();
    QFile::copy(halb, halb + QStringLiteral("-journal"));
    makeJunk(file(".VELD.mdb.anders"));
    // Its writer lives: the file stays.
    RemoveDeadTemporaries(dir.path());
    EXPECT_TRUE(QFileInfo::exists(halb));
    // Its writer is gone (ended or killed alike): file and journal go, a
    // file of another kind stays.
    lauf.write("\n");
    ASSERT_TRUE(lauf.waitForFinished());
    RemoveDeadTemporaries(dir.path());
    EXPECT_EQ(entries(), QStringList({".VELD.mdb.anders", "VELD.mdb"}));
}

// A new file that the caller renames into place is the file it becomes to
// the user: a failure names that file, never the name it is written under.
TEST_F(CopyTest, ACopyThatIsToBecomeAnotherFileNamesThatFileInItsError) {
    make(file("projekt.mdb"), "P", 1);
    try {
        CopyDatabase(file("projekt.mdb"), file("fehlt/kopie.mdb.neu"), file("fehlt/kopie.mdb"));
        FAIL() << "copied into a missing folder";
    } catch (const RuntimeError& fehler) {
        EXPECT_TRUE(fehler.Description().contains(file("fehlt/kopie.mdb")));
        EXPECT_FALSE(fehler.Description().contains(QStringLiteral(".neu")));
    }
}

// The Save's copy over a shared project: a write in place or a new file
// renamed over the target since the mark was taken leaves the target as it
// is and says what it is now; that mark lets the copy through.
TEST_F(CopyTest, ACopyOverAChangedTargetIsRefusedUntilTheTargetIsAcceptedAsItIs) {
    for (const bool ersetzt : {false, true}) {
        const QString projekt = file(QStringLiteral("projekt%1.mdb").arg(ersetzt));
        make(projekt, "P", 2);
        DatabaseMark marke;
        CopyDatabase(projekt, file("kopie.mdb"), QString(), &marke);
        ASSERT_TRUE(DatabaseMark::FromText(marke.ToText()).Same(marke));
        make(file("neu.mdb"), "N", 1);
        if (ersetzt)
            ASSERT_TRUE(QFile::remove(projekt) && QFile::rename(file("neu.mdb"), projekt));
        else
            Connection(projekt).Execute(QStringLiteral("INSERT INTO [T] VALUES (9, 'X')"));
        const QStringList vorher = rows(projekt);
        {
            Connection kopie(file("kopie.mdb"));
            DatabaseMark gesehen = marke;
            EXPECT_FALSE(CopyDatabaseIfUnchanged(kopie, projekt, {marke}, gesehen));
            EXPECT_EQ(rows(projekt), vorher);
            ASSERT_TRUE(CopyDatabaseIfUnchanged(kopie, projekt, {gesehen}, gesehen));
            EXPECT_EQ(rows(projekt), QStringList({"0:P0", "1:P1"}));
        }
        QFile::remove(file("kopie.mdb"));
        QFile::remove(file("neu.mdb"));
    }
}

// The mark tells contents apart, not places: the same content in another
// file matches (a copy put back over itself), another content written into
// the same file with the same header counter (a tool or a restore writing
// into the file) does not.
TEST_F(CopyTest, AMarkTellsWhatADatabaseHoldsNotWhereItLies) {
    make(file("projekt.mdb"), "P", 2);
    make(file("anders.mdb"), "P", 3);
    DatabaseMark marke;
    CopyDatabase(file("projekt.mdb"), file("kopie.mdb"), QString(), &marke);
    ASSERT_TRUE(marke.known);
    EXPECT_TRUE(MarkOfDatabase(file("kopie.mdb")).Same(marke));
    EXPECT_TRUE(DatabaseMark::FromText(marke.ToText()).Same(marke));
    EXPECT_FALSE(MarkOfDatabase(file("anders.mdb")).Same(marke));
    {
        QFile projekt(file("projekt.mdb"));
        ASSERT_TRUE(projekt.open(QIODevice::WriteOnly | QIODevice::Truncate));
        projekt.write(bytes(file("anders.mdb")));
    }
    EXPECT_FALSE(MarkOfDatabase(file("projekt.mdb")).Same(marke));
    Connection kopie(file("kopie.mdb"));
    DatabaseMark gesehen;
    EXPECT_FALSE(CopyDatabaseIfUnchanged(kopie, file("projekt.mdb"), {marke}, gesehen));
    EXPECT_EQ(rows(file("projekt.mdb")), QStringList({"0:P0", "1:P1", "2:P2"}));
}

// Another program put the project into WAL mode and committed a row that
// lies only in its -wal: the Save sees it, and the Save it is then allowed
// leaves a project that every reader sees whole, the other program's open
// connection included, also once that -wal is left behind by its end.
TEST_F(CopyTest, AProjectInWalModeIsComparedWithItsCommitsAndWrittenInPlace) {
    const QString projekt = file("projekt.mdb");
    make(projekt, "P", 2);
    DatabaseMark marke;
    CopyDatabase(projekt, file("kopie.mdb"), QString(), &marke);
    {
        Connection kopie(file("kopie.mdb"));
        kopie.Execute(QStringLiteral("INSERT INTO [T] VALUES (5, 'K5')"));
    }
    sqlite3* anderer = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(projekt).constData(), &anderer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(anderer,
                           "PRAGMA journal_mode=WAL; INSERT INTO T VALUES (9, 'W9'); "
                           "PRAGMA wal_autocheckpoint=0",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    ASSERT_GT(QFileInfo(projekt + QStringLiteral("-wal")).size(), 0);
    {
        // The Save holds the copy's write lock through a connection of its own.
        Connection kopie(file("kopie.mdb")), sperre(file("kopie.mdb"));
        sperre.BeginTrans();
        DatabaseMark gesehen;
        EXPECT_FALSE(CopyDatabaseIfUnchanged(kopie, projekt, {marke}, gesehen));
        EXPECT_EQ(rows(projekt), QStringList({"0:P0", "1:P1", "9:W9"}));
        DatabaseMark vorher;
        ASSERT_TRUE(CopyDatabaseIfUnchanged(
            kopie, projekt, {gesehen}, gesehen, true,
            [&](const DatabaseMark& neu, const DatabaseMark&, bool) { vorher = neu; }));
        EXPECT_TRUE(vorher.Same(gesehen));
        EXPECT_TRUE(MarkOfDatabase(projekt).Same(gesehen));
    }
    const QStringList kopie = {"0:P0", "1:P1", "5:K5"};
    EXPECT_EQ(rows(projekt), kopie);
    sqlite3_stmt* zaehlen = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(anderer, "SELECT group_concat(KEN) FROM T", -1, &zaehlen, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(zaehlen), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(zaehlen, 0)), "P0,P1,K5");
    sqlite3_finalize(zaehlen);
    // The other program ends without cleaning up: its -wal stays.
    const QByteArray wal = bytes(projekt + QStringLiteral("-wal"));
    sqlite3_close(anderer);
    if (!QFileInfo::exists(projekt + QStringLiteral("-wal"))) {
        QFile liegen(projekt + QStringLiteral("-wal"));
        ASSERT_TRUE(liegen.open(QIODevice::WriteOnly));
        liegen.write(wal);
    }
    EXPECT_EQ(rows(projekt), kopie);
    // A new copy of the project is no WAL database: no -wal ever lies beside it.
    CopyDatabase(projekt, file("frisch.mdb"));
    EXPECT_EQ(bytes(file("frisch.mdb")).at(18), 1);
    EXPECT_EQ(rows(file("frisch.mdb")), kopie);
    EXPECT_FALSE(QFileInfo::exists(file("frisch.mdb-wal")));
}

// A new file renamed over the project while the Save waited for the old
// one's write lock is locked and compared anew: the mark the Save reports
// is that file's, not an unknown one of the file that went.
TEST_F(CopyTest, AProjectRenamedOverWhileTheSaveWaitsIsComparedAsTheNewFile) {
    const QString projekt = file("projekt.mdb");
    make(projekt, "P", 2);
    DatabaseMark marke;
    CopyDatabase(projekt, file("kopie.mdb"), QString(), &marke);
    make(file("neu.mdb"), "N", 1);
    const DatabaseMark neu = MarkOfDatabase(file("neu.mdb"));
    Connection halter(projekt);
    halter.BeginTrans();
    // The holder lets go once the Save waits, after the other Save's rename.
    BusyWait::SetTimeoutLimit(5000);
    QTimer::singleShot(300, [&] {
        ASSERT_EQ(::rename(QFile::encodeName(file("neu.mdb")).constData(),
                           QFile::encodeName(projekt).constData()),
                  0);
        halter.RollbackTrans();
        halter.Close();
    });
    Connection kopie(file("kopie.mdb"));
    DatabaseMark gesehen;
    EXPECT_FALSE(CopyDatabaseIfUnchanged(kopie, projekt, {marke}, gesehen));
    EXPECT_TRUE(gesehen.Same(neu));
    BusyWait::SetTimeoutLimit(0);
}

// Tables left out of a Save are in neither target, a new file nor one in WAL
// mode written in place, whichever held them; the mark is the target's.
TEST_F(CopyTest, TablesLeftOutAreInNoTarget) {
    for (const bool wal : {false, true}) {
        SCOPED_TRACE(wal);
        const QString projekt = file(wal ? "wal.mdb" : "projekt.mdb"), pfad = projekt + "k";
        make(projekt, "P", 2);
        Connection(projekt).Execute(QStringLiteral("CREATE TABLE [ALT] ([X] LONG)"));
        if (wal) Connection(projekt).Execute(QStringLiteral("PRAGMA journal_mode=WAL"));
        DatabaseMark marke, neu;
        CopyDatabase(projekt, pfad, QString(), &marke);
        Connection kopie(pfad);
        kopie.Execute(
            QStringLiteral("CREATE TABLE [EIGEN] ([X] LONG); INSERT INTO [T] VALUES (5, 'K5')"));
        ASSERT_TRUE(CopyDatabaseIfUnchanged(kopie, projekt, {marke}, neu, true, {}, {},
                                            {QStringLiteral("ALT"), QStringLiteral("EIGEN")}));
        EXPECT_TRUE(neu.Same(MarkOfDatabase(projekt)));
        EXPECT_EQ(rows(projekt), QStringList({"0:P0", "1:P1", "5:K5"}));
        Connection ziel(projekt);
        Recordset tabellen(QStringLiteral("SELECT group_concat(name) FROM sqlite_master"), ziel);
        EXPECT_EQ(tabellen.Fields(0).Value().toString(), QStringLiteral("T,P"));
    }
}
