// What this user changed, known for certain: the copy's base moves with
// every take, survives a stop, a kill and a restore of the copy, sees every
// kind of write; each answer holds for its versions, and the box says what
// each side did. A take changes no value the project holds, and where the
// copy has no base, no word claims what cannot be told.

#include "KOPIELABOR.h"

#include "arbeitskopie/KOPIEBASIS.h"
#include "arbeitskopie/PROJEKTABDRUCK.h"
#include "arbeitskopie/PROJEKTVERLAUF.h"
#include "platform/database/BusyWait.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseFile.h"
#include "platform/database/Recordset.h"
#include "platform/database/StoredRows.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "support/TESTSCHALTER.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <atomic>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <thread>

namespace {

bool speichern(ARBEITSKOPIE& kopie) {
    return kopie.SPEICHERN(QStringLiteral("Speichern"), QStringLiteral("/VELD.HLP"),
                           [] { return false; });
}

void kommentar(const QString& datenbank, int id, const char* text) {
    Connection(datenbank).Execute(QStringLiteral("UPDATE [E1] SET [KOM]=? WHERE [ID]=?"),
                                  {QString::fromUtf8(text), id});
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

} // namespace

// A Save stopped after its join took another's test: that test is the
// project's version, not this user's change, and the other's next change of
// it comes in unasked.
TEST(Basis, ASaveStoppedAfterItsTakeAsksNothingAboutTheTakenTest) {
    Labor labor;
    const auto lauf = labor.GESTARTET();
    kommentar(*lauf->verbindung, 1, "mein");
    kommentar(labor.PROJEKTDATENBANK(), 1, "fremd");
    kommentar(labor.PROJEKTDATENBANK(), 2, "fremd1");
    // While the question about P1 waits, another program takes the
    // project's write lock and keeps it past the Save's time-out.
    Connection halter(labor.PROJEKTDATENBANK());
    labor.DIALOG.m_waehrendFrage = [&](const QString&) {
        if (!halter.TransactionLevel()) halter.BeginTrans();
    };
    BusyWait::SetTimeoutLimit(300);
    labor.DIALOG.ANTWORTEN({vbYes});
    labor.PLATTFORMBOXEN.expect(vbOK);
    EXPECT_FALSE(speichern(*lauf->kopie));
    BusyWait::SetTimeoutLimit(0);
    halter.RollbackTrans();
    labor.DIALOG.m_waehrendFrage = nullptr;
    EXPECT_EQ(kom(labor.ARBEITSKOPIEPFAD(), 2), QStringLiteral("fremd1"));

    kommentar(labor.PROJEKTDATENBANK(), 2, "fremd2");
    labor.DIALOG.ANTWORTEN({vbYes});
    EXPECT_TRUE(speichern(*lauf->kopie));
    ASSERT_EQ(labor.DIALOG.BOXEN().size(), 2);
    EXPECT_TRUE(labor.DIALOG.BOXEN()[1].text.contains(
        QString::fromUtf8("hier und dort geändert: P1.\r\n")));
    EXPECT_EQ(kom(labor.PROJEKTDATENBANK(), 1), QStringLiteral("mein"));
    EXPECT_EQ(kom(labor.PROJEKTDATENBANK(), 2), QStringLiteral("fremd2"));
}

// A run killed with nothing unsaved: the next start asks nothing, and its
// joined Save takes what another changed meanwhile without a word.
TEST(Basis, AfterAnIdleRunWasKilledTheStartAsksNothingAndTheSaveJoinsUnasked) {
    Labor labor;
    labor.GESTARTET().reset();
    kommentar(labor.PROJEKTDATENBANK(), 1, "fremd");
    for (int id = 11; id <= 18; ++id)
        KOPIELABOR::DATENSATZ(labor.PROJEKTDATENBANK(), id, QStringLiteral("N%1").arg(id));
    const auto lauf = labor.GESTARTET();
    kommentar(*lauf->verbindung, 2, "mein");
    EXPECT_TRUE(speichern(*lauf->kopie));
    EXPECT_TRUE(labor.DIALOG.BOXEN().isEmpty());
    EXPECT_EQ(kom(labor.PROJEKTDATENBANK(), 1), QStringLiteral("fremd"));
    EXPECT_EQ(kom(labor.PROJEKTDATENBANK(), 2), QStringLiteral("mein"));
    // The line names what came from others and stays short.
    ASSERT_FALSE(labor.DIALOG.m_hinweise.isEmpty());
    EXPECT_EQ(labor.DIALOG.m_hinweise.last(),
              QString::fromUtf8("Von anderen übernommen: N11, N12, N13, N14, N15 und 4 weitere"));
}

// A copy put back as it was after an earlier Save (a restore of the folder):
// what the user saved since is not taken for another's change, nor undone.
TEST(Basis, ACopyPutBackFromAnEarlierSaveJoinsWithoutAQuestion) {
    Labor labor;
    const QString ordner = QFileInfo(labor.ARBEITSKOPIEPFAD()).path();
    const QString sicherung = ordner + QStringLiteral(".sicherung");
    {
        const auto lauf = labor.GESTARTET();
        kommentar(*lauf->verbindung, 1, "eins");
        ASSERT_TRUE(speichern(*lauf->kopie));
        ASSERT_EQ(
            QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), ordner, sicherung}), 0);
        kommentar(*lauf->verbindung, 2, "zwei");
        ASSERT_TRUE(speichern(*lauf->kopie));
    }
    ASSERT_TRUE(QDir(ordner).removeRecursively());
    ASSERT_TRUE(QDir().rename(sicherung, ordner));
    kommentar(labor.PROJEKTDATENBANK(), 3, "fremd");
    const auto lauf = labor.GESTARTET();
    kommentar(*lauf->verbindung, 1, "drei");
    EXPECT_TRUE(speichern(*lauf->kopie));
    EXPECT_TRUE(labor.DIALOG.BOXEN().isEmpty());
    EXPECT_EQ(kom(labor.PROJEKTDATENBANK(), 1), QStringLiteral("drei"));
    EXPECT_EQ(kom(labor.PROJEKTDATENBANK(), 2), QStringLiteral("zwei"));
    EXPECT_EQ(kom(labor.PROJEKTDATENBANK(), 3), QStringLiteral("fremd"));
}

// The first write after a Save by a writer whose guard runs at its commit
// (a drawing's layout write) is this user's change all the same.
TEST(Basis, AWriteGuardedAtItsCommitIsThisUsersChange) {
    Labor labor;
    const auto lauf = labor.GESTARTET();
    kommentar(*lauf->verbindung, 1, "eins");
    ASSERT_TRUE(speichern(*lauf->kopie));
    {
        Transaction t(*lauf->verbindung);
        lauf->verbindung->DeferWriteGuard();
        kommentar(*lauf->verbindung, 2, "mein");
        t.Commit();
    }
    kommentar(labor.PROJEKTDATENBANK(), 2, "fremd");
    labor.DIALOG.ANTWORTEN({vbYes});
    EXPECT_TRUE(speichern(*lauf->kopie));
    ASSERT_EQ(labor.DIALOG.BOXEN().size(), 1);
    EXPECT_TRUE(
        labor.DIALOG.BOXEN()[0].text.contains(QString::fromUtf8("hier und dort geändert: P2.")));
    EXPECT_EQ(kom(labor.PROJEKTDATENBANK(), 2), QStringLiteral("mein"));
}

// A project whose mark cannot be read, while another program stores into
// it: every attempt compares it by its records, and nothing of the other's
// is lost (the Save goes through, or says that the project does not hold
// still and writes nothing).
TEST(Basis, AProjectWhoseMarkCannotBeReadIsNeverOverwrittenUncompared) {
    Labor labor;
    const auto lauf = labor.GESTARTET();
    kommentar(*lauf->verbindung, 1, "mein");
    std::atomic<bool> halt{false};
    std::atomic<int> gespeichert{0};
    std::thread anderer([&] {
        sqlite3* db = nullptr;
        sqlite3_open(labor.PROJEKTDATENBANK().toUtf8().constData(), &db);
        sqlite3_busy_timeout(db, 5000);
        for (int id = 1000; !halt; ++id) {
            const QByteArray sql =
                QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (%1,'X%1',0)")
                    .arg(id)
                    .toUtf8();
            if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK)
                ++gespeichert;
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
        }
        sqlite3_close(db);
    });
    while (gespeichert < 3)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    MARKENUNLESBAR(true);
    labor.DIALOG.ANTWORTEN({vbOK});
    const bool ok = speichern(*lauf->kopie);
    MARKENUNLESBAR(false);
    halt = true;
    anderer.join();
    Connection projekt(labor.PROJEKTDATENBANK());
    // What the join took came under a key of the copy's.
    Recordset rs(QStringLiteral("SELECT count(*) FROM [E1] WHERE [KEN] LIKE 'X%'"), projekt);
    EXPECT_EQ(rs.Fields(0).Value().toInt(), gespeichert.load());
    if (ok) {
        EXPECT_TRUE(labor.DIALOG.BOXEN().isEmpty());
        EXPECT_EQ(kom(labor.PROJEKTDATENBANK(), 1), QStringLiteral("mein"));
    } else {
        ASSERT_EQ(labor.DIALOG.BOXEN().size(), 1);
        EXPECT_TRUE(labor.DIALOG.BOXEN()[0].text.contains(QString::fromUtf8("hält nicht still")));
    }
}

// Yes for P1, then No for P2, which the other changed while the first box
// waited: two boxes, each answer done.
TEST(Basis, EachAnswerHoldsForItsTestInTheRestOfTheSave) {
    Labor labor;
    const auto lauf = labor.GESTARTET();
    kommentar(*lauf->verbindung, 1, "mein1");
    kommentar(*lauf->verbindung, 2, "mein2");
    kommentar(labor.PROJEKTDATENBANK(), 1, "fremd1");
    labor.DIALOG.m_waehrendFrage = [&](const QString& text) {
        if (text.contains(QStringLiteral(": P1.")))
            kommentar(labor.PROJEKTDATENBANK(), 2, "fremd2");
    };
    labor.DIALOG.ANTWORTEN({vbYes, vbNo});
    EXPECT_TRUE(speichern(*lauf->kopie));
    ASSERT_EQ(labor.DIALOG.BOXEN().size(), 2);
    EXPECT_TRUE(labor.DIALOG.BOXEN()[0].text.contains(QStringLiteral("geändert: P1.\r\n")));
    EXPECT_TRUE(labor.DIALOG.BOXEN()[1].text.contains(QStringLiteral("geändert: P2.\r\n")));
    EXPECT_EQ(kom(labor.PROJEKTDATENBANK(), 1), QStringLiteral("mein1"));
    EXPECT_EQ(kom(labor.PROJEKTDATENBANK(), 2), QStringLiteral("fremd2"));
}

// The box says what each side did: a deletion against a change, and two new
// tests under one identifier (with how to keep both).
TEST(Basis, TheBoxSaysWhatEachSideDid) {
    const struct {
        const char* name;
        std::function<void(Connection& hier, Connection& dort)> aendern;
        const char* worte;
    } faelle[] = {
        {"deleted here, changed there",
         [](Connection& hier, Connection& dort) {
             hier.Execute(QStringLiteral("DELETE FROM [E1] WHERE [ID]=1"));
             kommentar(dort, 1, "fremd");
         },
         "Diese Datensätze wurden hier gelöscht und dort geändert: P1.\r\nJa: Ihre Fassung wird "
         "gespeichert; die Fassung im Projekt geht verloren. Was Sie gelöscht haben, wird auch "
         "im Projekt gelöscht.\r\nNein: die Fassung im Projekt bleibt; Ihre Fassung geht "
         "verloren.\r\n"},
        {"two new tests under one identifier",
         [](Connection& hier, Connection& dort) {
             hier.Execute(
                 QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[KOM]) VALUES (7,'N1','a')"));
             dort.Execute(
                 QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[KOM]) VALUES (8,'n1','b')"));
         },
         "Unter diesen Kennungen wurde hier und dort je ein neuer Datensatz angelegt: N1. Ja und "
         "Nein behalten je einen der beiden. Um beide zu behalten, wählen Sie Abbrechen; öffnen "
         "Sie Ihren Datensatz (Datei, Öffnen), tragen Sie im Eingabefenster eine andere Kennung "
         "ein und speichern Sie mit OK, was einen neuen Datensatz daraus macht; löschen Sie "
         "dann Ihren Datensatz unter der alten Kennung (Datei, Löschen) und speichern Sie "
         "erneut.\r\nJa: "},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.name);
        Labor labor;
        const auto lauf = labor.GESTARTET();
        Connection dort(labor.PROJEKTDATENBANK());
        fall.aendern(*lauf->verbindung, dort);
        labor.DIALOG.ANTWORTEN({vbCancel});
        EXPECT_FALSE(speichern(*lauf->kopie));
        ASSERT_EQ(labor.DIALOG.BOXEN().size(), 1);
        const QString text = labor.DIALOG.BOXEN()[0].text;
        EXPECT_TRUE(text.startsWith(QString::fromUtf8(
            "Das Projekt TE0001.00 wurde seit dem letzten Abgleich der Arbeitskopie")));
        EXPECT_TRUE(text.contains(QString::fromUtf8(fall.worte))) << text.toStdString();
    }
}

// A test deleted and a new one stored under its key, in two commands: the
// deleted test was there before all the same, and nothing is asked.
TEST(Basis, ANewTestUnderTheKeyOfADeletedOneKeepsTheBaseOfTheDeleted) {
    Labor labor;
    const auto lauf = labor.GESTARTET();
    lauf->verbindung->Execute(QStringLiteral("DELETE FROM [E1] WHERE [ID]=3"));
    lauf->verbindung->Execute(
        QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[KOM],[AKT]) VALUES (3,'NEU','neu',0)"));
    kommentar(labor.PROJEKTDATENBANK(), 1, "fremd");
    EXPECT_TRUE(speichern(*lauf->kopie));
    EXPECT_TRUE(labor.DIALOG.BOXEN().isEmpty());
    EXPECT_EQ(KOPIELABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QStringLiteral("P1,P2,NEU"));
    EXPECT_EQ(kom(labor.PROJEKTDATENBANK(), 1), QStringLiteral("fremd"));
}

// Two users who save with this program: each Save tells the project's
// history which tests it changed, and the other's join reads those. A test
// that another program wrote into the project in place is never taken for
// unchanged: no history leads to what the project then holds.
TEST(Basis, WhatAnotherProgramWroteIsJoinedThoughTheSavesTellTheirChanges) {
    Labor labor;
    const QString projekt = labor.PROJEKTDATENBANK();
    const auto a = labor.GESTARTET();
    const auto b = labor.GESTARTET(&labor.ANDERERDIALOG);
    const DatabaseMark vorher = MarkOfDatabase(projekt);
    kommentar(*b->verbindung, 2, "b");
    EXPECT_TRUE(speichern(*b->kopie));
    const DatabaseMark nachB = MarkOfDatabase(projekt);
    EXPECT_EQ(PROJEKTVERLAUF::GEAENDERT(projekt, vorher, nachB), QSet<QString>{"P2"});

    kommentar(*a->verbindung, 1, "a");
    EXPECT_TRUE(speichern(*a->kopie));
    const DatabaseMark nachA = MarkOfDatabase(projekt);
    EXPECT_EQ(PROJEKTVERLAUF::GEAENDERT(projekt, vorher, nachA), (QSet<QString>{"P1", "P2"}));
    EXPECT_EQ(kom(projekt, 2), QStringLiteral("b"));

    kommentar(projekt, 3, "fremd");
    EXPECT_EQ(PROJEKTVERLAUF::GEAENDERT(projekt, nachB, MarkOfDatabase(projekt)), std::nullopt);
    kommentar(*b->verbindung, 2, "b2");
    EXPECT_TRUE(speichern(*b->kopie));
    EXPECT_TRUE(labor.DIALOG.BOXEN().isEmpty());
    EXPECT_TRUE(labor.ANDERERDIALOG.BOXEN().isEmpty());
    EXPECT_EQ(kom(projekt, 1), QStringLiteral("a"));
    EXPECT_EQ(kom(projekt, 2), QStringLiteral("b2"));
    EXPECT_EQ(kom(projekt, 3), QStringLiteral("fremd"));
}

// A reading in a column that the copy lacks (another program added it to
// the project since the copy was taken) is not the project's version after
// its take: the Save that follows does not tell the project's history that
// only this user's test changed.
TEST(Basis, ATakeThatCannotHoldWhatTheProjectHoldsIsNotToldAsUnchanged) {
    Labor labor;
    const QString projekt = labor.PROJEKTDATENBANK();
    Connection(projekt).Execute(QStringLiteral("ALTER TABLE [E3] DROP COLUMN [TEMP]"));
    const auto lauf = labor.GESTARTET();
    kommentar(*lauf->verbindung, 1, "mein");
    Connection(projekt).Execute(
        QStringLiteral("ALTER TABLE [E3] ADD COLUMN [TEMP] DOUBLE;"
                       "INSERT INTO [E3] ([ID],[I1],[TEMP]) VALUES (2,1,0.1)"));
    const DatabaseMark vorher = MarkOfDatabase(projekt);
    EXPECT_TRUE(speichern(*lauf->kopie));
    const std::optional<QSet<QString>> geaendert =
        PROJEKTVERLAUF::GEAENDERT(projekt, vorher, MarkOfDatabase(projekt));
    EXPECT_TRUE(!geaendert || geaendert->contains(QStringLiteral("P2")));
}

// Both users change one test, each saving with this program: only that test
// is asked about, by name, also after a cancelled Save and another Save of
// the other's; what only the other changed comes in unasked.
TEST(Basis, ThroughTheProjectsHistoryOnlyTheTestBothChangedIsAsked) {
    Labor labor;
    const QString projekt = labor.PROJEKTDATENBANK();
    const auto a = labor.GESTARTET();
    const auto b = labor.GESTARTET(&labor.ANDERERDIALOG);
    kommentar(*b->verbindung, 1, "b");
    kommentar(*b->verbindung, 2, "b");
    EXPECT_TRUE(speichern(*b->kopie));
    kommentar(*a->verbindung, 1, "a");
    labor.DIALOG.ANTWORTEN({vbCancel});
    EXPECT_FALSE(speichern(*a->kopie));
    kommentar(*b->verbindung, 2, "b2");
    EXPECT_TRUE(speichern(*b->kopie));
    labor.DIALOG.ANTWORTEN({vbYes});
    EXPECT_TRUE(speichern(*a->kopie));
    ASSERT_EQ(labor.DIALOG.BOXEN().size(), 2);
    for (const auto& box : labor.DIALOG.BOXEN()) {
        EXPECT_TRUE(box.text.contains(QString::fromUtf8("hier und dort geändert: P1.\r\n")));
        EXPECT_FALSE(box.text.contains(QStringLiteral("P2")));
    }
    EXPECT_EQ(kom(projekt, 1), QStringLiteral("a"));
    EXPECT_EQ(kom(projekt, 2), QStringLiteral("b2"));
}

// What only this user changed is never asked about after a colleague's
// Save of another test: a reading row added to a test that exists (a whole
// number in a real column, as the data logger writes it), and the deletion
// of the test with the highest key, whose key a take of the colleague's new
// test must not reuse (the deletion would go, and the colleague's next Save
// would bring the test back).
TEST(Basis, WhatOnlyThisUserWroteStaysTheirsAfterAColleaguesSave) {
    const struct {
        const char* name;
        const char* hier;
        const char* kennungen;
        int ablesungen;
    } faelle[] = {
        {"a reading row added",
         "INSERT INTO [E3] ([ID],[I1],[DATUM],[V],[TEMP]) VALUES (1,1,'01.02.26',2,20)",
         "P1,P2,P3,N4", 1},
        {"the test with the highest key deleted", "DELETE FROM [E1] WHERE [ID]=3", "P1,P2,N4", 0},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.name);
        Labor labor;
        const QString projekt = labor.PROJEKTDATENBANK();
        const auto a = labor.GESTARTET();
        const auto b = labor.GESTARTET(&labor.ANDERERDIALOG);
        a->verbindung->Execute(QString::fromUtf8(fall.hier));
        b->verbindung->Execute(
            QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (4,'N4',0)"));
        kommentar(*b->verbindung, 2, "b");
        EXPECT_TRUE(speichern(*b->kopie));
        EXPECT_TRUE(speichern(*a->kopie));
        kommentar(*b->verbindung, 2, "b2");
        EXPECT_TRUE(speichern(*b->kopie));
        EXPECT_TRUE(labor.DIALOG.BOXEN().isEmpty());
        EXPECT_TRUE(labor.ANDERERDIALOG.BOXEN().isEmpty());
        EXPECT_EQ(KOPIELABOR::KENNUNGEN(projekt), QString::fromUtf8(fall.kennungen));
        Connection db(projekt);
        Recordset rs(QStringLiteral("SELECT count(*) FROM [E3] WHERE [ID]=1"), db);
        EXPECT_EQ(rs.Fields(0).Value().toInt(), fall.ablesungen);
        EXPECT_EQ(kom(projekt, 2), QStringLiteral("b2"));
    }
}

// A test this user renamed and the colleague changed is one test: the box
// names it by both identifiers, Yes keeps this user's under the new one, No
// the project's under the old one; neither leaves two, and the status line
// names only what came from the project.
TEST(Basis, ARenamedTestThatTheOtherChangedIsAskedAboutAsOneTest) {
    const struct {
        int antwort;
        const char* kennungen;
        const char* kommentar;
        const char* zeile;
    } faelle[] = {
        {vbNo, "P1,P2,P3", "b", "Von anderen übernommen: P1"},
        {vbYes, "P1X,P2,P3", "a", ""},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.antwort);
        Labor labor;
        const QString projekt = labor.PROJEKTDATENBANK();
        const auto a = labor.GESTARTET();
        const auto b = labor.GESTARTET(&labor.ANDERERDIALOG);
        kommentar(*b->verbindung, 1, "b");
        EXPECT_TRUE(speichern(*b->kopie));
        a->verbindung->Execute(
            QStringLiteral("UPDATE [E1] SET [KEN]='P1X', [KOM]='a' WHERE [ID]=1"));
        labor.DIALOG.ANTWORTEN({fall.antwort});
        EXPECT_TRUE(speichern(*a->kopie));
        ASSERT_EQ(labor.DIALOG.BOXEN().size(), 1);
        EXPECT_TRUE(labor.DIALOG.BOXEN()[0].text.contains(QString::fromUtf8(
            "Diese Datensätze haben hier eine andere Kennung erhalten und wurden dort geändert: "
            "P1 (hier P1X).\r\n")))
            << labor.DIALOG.BOXEN()[0].text.toStdString();
        EXPECT_EQ(KOPIELABOR::KENNUNGEN(projekt), QString::fromUtf8(fall.kennungen));
        EXPECT_EQ(kom(projekt, 1), QString::fromUtf8(fall.kommentar));
        EXPECT_EQ(KOPIELABOR::KENNUNGEN(a->verbindung->Path()), QString::fromUtf8(fall.kennungen));
        EXPECT_EQ(labor.DIALOG.m_hinweise.isEmpty() ? QString() : labor.DIALOG.m_hinweise.last(),
                  QString::fromUtf8(fall.zeile));
    }
}

// The status line says what the last Save took from the project: what only
// the other changed, and what a No took; a cancelled Save leaves no line of
// the Save before standing.
TEST(Basis, TheStatusLineTellsWhatTheLastSaveTook) {
    Labor labor;
    const auto a = labor.GESTARTET();
    const auto b = labor.GESTARTET(&labor.ANDERERDIALOG);
    const auto zeile = [&] {
        return labor.DIALOG.m_hinweise.isEmpty() ? QString() : labor.DIALOG.m_hinweise.last();
    };
    kommentar(*b->verbindung, 2, "b");
    EXPECT_TRUE(speichern(*b->kopie));
    kommentar(*a->verbindung, 1, "a");
    EXPECT_TRUE(speichern(*a->kopie));
    EXPECT_EQ(zeile(), QString::fromUtf8("Von anderen übernommen: P2"));
    kommentar(*b->verbindung, 1, "b");
    labor.ANDERERDIALOG.ANTWORTEN({vbYes});
    EXPECT_TRUE(speichern(*b->kopie));
    kommentar(*a->verbindung, 1, "a2");
    labor.DIALOG.ANTWORTEN({vbCancel});
    EXPECT_FALSE(speichern(*a->kopie));
    EXPECT_EQ(zeile(), QString());
    labor.DIALOG.ANTWORTEN({vbNo});
    EXPECT_TRUE(speichern(*a->kopie));
    EXPECT_EQ(zeile(), QString::fromUtf8("Von anderen übernommen: P1"));
    EXPECT_EQ(kom(labor.PROJEKTDATENBANK(), 1), QStringLiteral("b"));
}

// Two new tests under one identifier: the box's advice followed (Abbrechen,
// then this user's test given another identifier where it is) keeps both,
// and the next Save asks nothing.
TEST(Basis, TheAdviceForTwoNewTestsUnderOneIdentifierKeepsBoth) {
    Labor labor;
    const auto lauf = labor.GESTARTET();
    lauf->verbindung->Execute(
        QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[KOM],[AKT]) VALUES (7,'N1','a',0)"));
    Connection(labor.PROJEKTDATENBANK())
        .Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[KOM],[AKT]) VALUES (8,'N1','b',0)"));
    labor.DIALOG.ANTWORTEN({vbCancel});
    EXPECT_FALSE(speichern(*lauf->kopie));
    lauf->verbindung->Execute(QStringLiteral("UPDATE [E1] SET [KEN]='N1A' WHERE [ID]=7"));
    EXPECT_TRUE(speichern(*lauf->kopie));
    EXPECT_EQ(labor.DIALOG.BOXEN().size(), 1);
    EXPECT_EQ(KOPIELABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QStringLiteral("P1,P2,P3,N1A,N1"));
}

// What reached the copy beside the program (another program, the engine's
// shell) is never taken for this user's unchanged test: the Save tells the
// project's history nothing less than it wrote, so the colleague's next Save
// keeps it; where the colleague changed that test too, or the copy's base
// was emptied, the Save asks, saying it cannot tell, and a Save after that
// asks nothing more.
TEST(Basis, AWriteBesideTheProgramIsNeverTakenForUnchanged) {
    const struct {
        const char* name;
        const char* aussen;  // written into a's copy beside the program
        bool colleagueFirst; // b saves a change of P1 before a's Save
        const char *p1, *p3; // the project's comments at the end
    } faelle[] = {
        {"another test", "UPDATE [E1] SET [KOM]='aussen' WHERE [ID]=3", false, "-", "aussen"},
        {"the same test", "UPDATE [E1] SET [KOM]='aussen' WHERE [ID]=1", true, "aussen", ""},
        {"the base emptied", "DELETE FROM [VELD_BASIS]", true, "a", ""},
        {"the base dropped", "DROP TABLE [VELD_BASIS]", true, "a", ""},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.name);
        Labor labor;
        const QString projekt = labor.PROJEKTDATENBANK();
        const auto a = labor.GESTARTET();
        const auto b = labor.GESTARTET(&labor.ANDERERDIALOG);
        const bool basis = QByteArray(fall.name).startsWith("the base");
        if (basis) kommentar(*a->verbindung, 1, "a");
        Connection(a->verbindung->Path()).Execute(QString::fromUtf8(fall.aussen));
        // The run stores on, whatever became of its base.
        if (basis)
            a->verbindung->Execute(
                QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (5,'A5',0)"));
        if (fall.colleagueFirst) {
            kommentar(*b->verbindung, 1, "b");
            EXPECT_TRUE(speichern(*b->kopie));
            labor.DIALOG.ANTWORTEN({vbYes});
        }
        EXPECT_TRUE(speichern(*a->kopie));
        EXPECT_EQ(labor.DIALOG.BOXEN().size(), fall.colleagueFirst ? 1 : 0);
        if (fall.colleagueFirst) {
            EXPECT_TRUE(labor.DIALOG.BOXEN()[0].text.contains(
                QString::fromUtf8("lässt sich nicht feststellen")));
        }
        kommentar(*b->verbindung, 2, "b2");
        EXPECT_TRUE(speichern(*b->kopie));
        EXPECT_TRUE(labor.ANDERERDIALOG.BOXEN().isEmpty());
        EXPECT_TRUE(speichern(*a->kopie));
        EXPECT_EQ(labor.DIALOG.BOXEN().size(), fall.colleagueFirst ? 1 : 0);
        if (*fall.p1 != '-') {
            EXPECT_EQ(kom(projekt, 1), QString::fromUtf8(fall.p1));
        }
        EXPECT_EQ(kom(projekt, 2), QStringLiteral("b2"));
        EXPECT_EQ(kom(projekt, 3), QString::fromUtf8(fall.p3));
        EXPECT_EQ(KOPIELABOR::KENNUNGEN(projekt).endsWith(QLatin1String(",A5")), basis);
    }
}

// What is at the copy's path is judged by what it says of itself: another
// project's copy (its unsaved test with it) is put aside, told by name, and
// this project gets a fresh copy; a plain copy of the project file as a Save
// left it is that content, so the Save after a colleague's later change
// asks nothing and keeps that change.
TEST(Basis, AFileAtTheCopysPathIsWhatItSaysItIs) {
    for (const bool fremdesProjekt : {true, false}) {
        SCOPED_TRACE(fremdesProjekt);
        Labor labor;
        const QString projekt = labor.PROJEKTDATENBANK();
        const QString kopie = labor.ARBEITSKOPIEPFAD();
        QDir().mkpath(QFileInfo(kopie).path());
        const auto b = labor.GESTARTET(&labor.ANDERERDIALOG);
        kommentar(*b->verbindung, 2, "b");
        EXPECT_TRUE(speichern(*b->kopie));
        ASSERT_TRUE(QFile::copy(projekt, kopie));
        PROJEKTABDRUCK::SCHREIBEN(labor.HERKUNFT(), projekt, {});
        if (fremdesProjekt) {
            const QString anderes =
                QFileInfo(projekt).path() + QStringLiteral("/../TE0002.00/VELD.mdb");
            KOPIEBASIS::NEU(kopie, DatabaseMark(), PROJEKTABDRUCK::GLEICHNAMIG(anderes),
                            QStringLiteral("TESTER"));
            KOPIELABOR::DATENSATZ(kopie, 9, QStringLiteral("X9"));
            labor.DIALOG.ANTWORTEN({vbOK});
        }
        kommentar(*b->verbindung, 3, "b3");
        EXPECT_TRUE(speichern(*b->kopie));
        const auto a = labor.GESTARTET();
        EXPECT_EQ(labor.DIALOG.BOXEN().size(), fremdesProjekt ? 1 : 0);
        if (fremdesProjekt) {
            EXPECT_TRUE(labor.DIALOG.BOXEN()[0].text.startsWith(
                QStringLiteral("Die Arbeitskopie des Projekts TE0002.00 wurde nicht gespeichert.")))
                << labor.DIALOG.BOXEN()[0].text.toStdString();
        }
        EXPECT_EQ(KOPIELABOR::KENNUNGEN(kopie), QStringLiteral("P1,P2,P3"));
        kommentar(*a->verbindung, 1, "a");
        EXPECT_TRUE(speichern(*a->kopie));
        EXPECT_EQ(labor.DIALOG.BOXEN().size(), fremdesProjekt ? 1 : 0);
        EXPECT_EQ(KOPIELABOR::KENNUNGEN(projekt), QStringLiteral("P1,P2,P3"));
        EXPECT_EQ(kom(projekt, 1), QStringLiteral("a"));
        EXPECT_EQ(kom(projekt, 3), QStringLiteral("b3"));
    }
}

// The copy alone tells what is unsaved in it, whatever wrote it: a test
// added and deleted again is nothing, a write beside the program is
// something. And it keeps the project content it last met: the one it was
// taken from or saved as, both while a Save is open, and the one the Save
// left once it is settled.
TEST(Basis, TheCopyTellsWhatIsUnsavedAndWhichProjectContentItLastMet) {
    Labor labor;
    const auto lauf = labor.GESTARTET();
    Connection& kopie = *lauf->verbindung;
    const auto text = [](Connection& db) {
        return DatabaseMark::ListToText(
            KOPIEBASIS::PROJEKTSTAENDE(db).value_or(QList<DatabaseMark>()));
    };
    const DatabaseMark genommen = MarkOfDatabase(labor.PROJEKTDATENBANK());
    EXPECT_EQ(text(kopie), genommen.ToText());
    const struct {
        const char* schritt;
        std::function<void()> tun;
        bool veraendert;
    } schritte[] = {
        {"nichts", [] {}, false},
        {"neu",
         [&] {
             kopie.Execute(
                 QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (9,'N9',false)"));
         },
         true},
        {"wieder gelöscht", [&] { kopie.Execute(QStringLiteral("DELETE FROM [E1] WHERE [ID]=9")); },
         false},
        {"geändert", [&] { kommentar(kopie, 2, "mein"); }, true},
        {"gespeichert", [&] { ASSERT_TRUE(speichern(*lauf->kopie)); }, false},
        {"daneben", [&] { kommentar(labor.ARBEITSKOPIEPFAD(), 3, "fremd"); }, true},
    };
    for (const auto& s : schritte) {
        SCOPED_TRACE(s.schritt);
        s.tun();
        EXPECT_EQ(KOPIEBASIS::VERAENDERT(kopie), s.veraendert);
    }
    const DatabaseMark gespeichert = MarkOfDatabase(labor.PROJEKTDATENBANK());
    EXPECT_EQ(text(kopie), gespeichert.ToText());
    EXPECT_TRUE(PROJEKTABDRUCK::ABDRUECKE(labor.HERKUNFT()).isEmpty());

    DatabaseMark neu;
    neu.digest = QByteArray(16, 'n');
    neu.known = true;
    for (const bool gelandet : {false, true}) {
        SCOPED_TRACE(gelandet);
        Connection sperre(labor.ARBEITSKOPIEPFAD());
        Transaction transaktion(sperre);
        KOPIEBASIS::PROJEKTSTAENDESETZEN(sperre, {neu, gespeichert});
        KOPIEBASIS::VORGEMERKT(sperre, neu);
        EXPECT_EQ(text(sperre), neu.ToText() + QLatin1Char(' ') + gespeichert.ToText());
        if (gelandet)
            KOPIEBASIS::BESTAETIGT(sperre);
        else
            KOPIEBASIS::ZURUECK(sperre);
        EXPECT_EQ(text(sperre), (gelandet ? neu : gespeichert).ToText());
        transaktion.Rollback();
    }
}

// Readings, a curve and an axis range that another program stored more
// exactly than single precision: the colleague's Save takes the test and
// writes it back as it was, so the writer's next change of it is asked
// about by nobody.
TEST(Basis, ATakeKeepsWhatAnotherProgramStoredValueForValue) {
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
TEST(Basis, AfterANoWithoutABaseTheStatusLineNamesNothingAsTakenFromOthers) {
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
    EXPECT_TRUE(labor.DIALOG.m_hinweise.last().isEmpty());
}

// A copy without its base's tables (as an older program left it) that a
// killed run left with a change of P1, and a colleague's Save of P2 since:
// the start cannot tell which side changed either and says so, in both
// languages, instead of naming them as what only the copy holds.
TEST(Basis, WithoutABaseTheStartsQuestionNamesApartWhatEitherSideMayHaveChanged) {
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

// Two users' Saves leave no copy's bookkeeping in the project, also where an
// older program left one there with a Save open in it: a colleague's fresh
// copy of it has none, tells nothing unsaved and its quit asks nothing.
TEST(Basis, TheProjectHoldsNoCopysBookkeepingAfterTwoUsersSaves) {
    Labor labor;
    const QString projekt = labor.PROJEKTDATENBANK();
    const auto buchfuehrung = [&] {
        Connection db(projekt);
        QStringList da;
        for (const QString& t : KOPIEBASIS::TABELLEN())
            if (!Recordset(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name=?"), db, {t})
                     .Eof())
                da << t;
        return da;
    };
    const DatabaseMark alt = MarkOfDatabase(projekt);
    KOPIEBASIS::NEU(projekt, alt, projekt, QStringLiteral("ALT"));
    Connection p(projekt);
    p.BeginTrans();
    KOPIEBASIS::VORGEMERKT(p, alt);
    p.CommitTrans();
    p.Close();
    ASSERT_EQ(buchfuehrung(), KOPIEBASIS::TABELLEN());
    KOPIEDIALOG dritter(projekt,
                        QFileInfo(projekt).path() + QStringLiteral("/../../BENUTZER/C/VELD.mdb"));
    const auto c = labor.GESTARTET(&dritter);
    EXPECT_FALSE(KOPIEBASIS::VERAENDERT(*c->verbindung));
    const auto a = labor.GESTARTET();
    const auto b = labor.GESTARTET(&labor.ANDERERDIALOG);
    kommentar(*a->verbindung, 1, "a");
    EXPECT_TRUE(speichern(*a->kopie));
    EXPECT_EQ(buchfuehrung(), QStringList());
    kommentar(*b->verbindung, 2, "b");
    EXPECT_TRUE(speichern(*b->kopie));
    EXPECT_EQ(buchfuehrung(), QStringList());
    EXPECT_EQ(DatabaseMark::ListToText(KOPIEBASIS::PROJEKTSTAENDE(*b->verbindung).value()),
              MarkOfDatabase(projekt).ToText());
    EXPECT_TRUE(labor.ANDERERDIALOG.BOXEN().isEmpty());
    ErrorHandler eh(QStringLiteral("VB-Error: "), QStringLiteral("VELD"));
    bool cancel = false;
    EXPECT_TRUE(c->kopie->BEENDENFRAGEN(
        eh, 1, QStringLiteral("Beenden"), [] { return false; }, cancel));
    EXPECT_TRUE(dritter.BOXEN().isEmpty());
}

// A copy whose counter table another program dropped, with a change of its
// own, counts as written by another when next opened: the change is unsaved.
TEST(Basis, ACopyWhoseCounterTableWasDroppedCountsAsWrittenByAnother) {
    Labor labor;
    const auto lauf = labor.GESTARTET();
    Connection(labor.ARBEITSKOPIEPFAD())
        .Execute(
            QStringLiteral("UPDATE [E1] SET [KOM]='x' WHERE [ID]=3; DROP TABLE [VELD_ZAEHLER]"));
    lauf->verbindung->Reopen();
    EXPECT_TRUE(KOPIEBASIS::FREMD(*lauf->verbindung));
    EXPECT_TRUE(KOPIEBASIS::VERAENDERT(*lauf->verbindung));
}

// A Save of a copy that another program wrote into tells the project's
// history nothing, also after a Save left open that the project took: a
// colleague's join reads the project whole and keeps the other's change.
TEST(Basis, ASaveOfACopyAnotherProgramWroteIntoTellsTheHistoryNothing) {
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
        kommentar(labor.ARBEITSKOPIEPFAD(), 3, "aussen");
        EXPECT_TRUE(speichern(*a->kopie));
        EXPECT_EQ(PROJEKTVERLAUF::GEAENDERT(projekt, vorher, MarkOfDatabase(projekt)),
                  std::nullopt);
        kommentar(*b->verbindung, 2, "b");
        EXPECT_TRUE(speichern(*b->kopie));
        EXPECT_TRUE(labor.ANDERERDIALOG.BOXEN().isEmpty());
        EXPECT_EQ(kom(projekt, 1) + kom(projekt, 2) + kom(projekt, 3), QStringLiteral("abaussen"));
    }
}
