// A working copy deleted under a live run: what the run kept beside the copy
// is found again by the next start, a run that stored nothing keeps
// nothing, and a quit that cannot keep what it stored says why it stays.

#include "HAUPTFENSTERTEST.h"
#include "SHELLLABOR.h"
#include "support/KINDPROZESS.h"
#include "support/ScriptedDialogs.h"

#include "input/mdiEINGABE.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Variant.h"
#include "shell/AUSWAHLDIALOG.h"
#include "shell/EINGABEFENSTER.h"
#include "shell/frmAUSWAHL.h"
#include "shell/frmMAINFENSTER.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <iostream>
#include <sqlite3.h>
#include <string>

namespace {

QStringList dateien(const QString& ordner) {
    return QDir(ordner).entryList({QStringLiteral("VELD_*")}, QDir::Files);
}

const QString kGefunden = QString::fromUtf8(
    "Ein Lauf von VELD, dessen Arbeitskopie ersetzt oder gelöscht wurde, hat seine Arbeit "
    "abgelegt in:\r\n");

// A run that starts (making a fresh copy where none is) and stores the tests
// P1 to P40 in one go, with long comments: more pages than its cache holds,
// so they go into the copy before the store commits, and the journal beside
// the copy is hot until then to whoever does not see the store's lock. There
// it says "HEISS" and waits for a line; then it commits ("GESPEICHERT") and,
// at the next line, quits, saving.
int grossspeichern(const QStringList& a) {
    SHELLLABOR labor(SHELLLABOR::VORHANDEN{a.at(0), a.at(1)});
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    if (!f.MDIForm_Load()) return 1;
    Connection& kopie = *f.DBPROJEKT();
    sqlite3_exec(kopie.Handle(), "PRAGMA cache_size=10", nullptr, nullptr, nullptr);
    kopie.BeginTrans();
    kopie.Execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n "
                                 "WHERE i<40) INSERT INTO [E1] ([ID],[KEN],[AKT],[KOM]) SELECT "
                                 "100+i,'P'||i,0,hex(randomblob(1500)) FROM n"));
    std::string zeile;
    std::cout << "HEISS" << std::endl;
    std::getline(std::cin, zeile);
    try {
        kopie.CommitTrans();
        f.SETZEBOGEAENDERT(true);
        std::cout << "GESPEICHERT" << std::endl;
    } catch (const RuntimeError& fehler) {
        kopie.RollbackTrans();
        std::cout << "FEHLER " << fehler.Description().toStdString() << std::endl;
    }
    std::getline(std::cin, zeile);
    boxen.expect(vbYes, QString::fromUtf8("Sollen die Änderungen in Projekt TE0001.00"));
    f.mnuBEENDEN_Click();
    std::cout << "OK " << boxen.boxes().size() << std::endl;
    return 0;
}
const KINDPROZESS kGrossspeichern("grossspeichern", grossspeichern);

// Whether a rollback journal beside `datenbank` is hot: its header is written.
bool heiss(const QString& datenbank) {
    QFile journal(datenbank + QStringLiteral("-journal"));
    return journal.open(QIODevice::ReadOnly) &&
           journal.read(8) == QByteArray::fromHex("d9d505f920a163d7");
}

} // namespace

// Two runs store W11, W12 and W13 and have not saved; their copy is deleted
// and a third run starts at once, makes a fresh copy and stores P1 to P40.
// Whether the two notice (at their Save) before the third run's store or
// while it commits, each keeps the copy it stored into, never the fresh one,
// and the next start offers it: every stored test ends in the project.
TEST(Abgeloest, RunsWhoseCopyWentKeepTheirOwnWorkWhateverCameToItsPath) {
    for (const bool zuerstGestartet : {true, false}) {
        SCOPED_TRACE(zuerstGestartet);
        SHELLLABOR labor;
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
        QProcess a, b, c;
        for (QProcess* lauf : {&a, &b}) {
            KINDPROZESS::STARTEN(*lauf, QStringLiteral("lauf"),
                                 {labor.WURZEL(), "tester", "keine"});
            ASSERT_EQ(KINDPROZESS::ZEILE(*lauf), QStringLiteral("BEREIT 1 0"));
        }
        EXPECT_EQ(KINDPROZESS::BEFEHL(a, QStringLiteral("SCHREIBEN 11 12")),
                  QStringLiteral("GESCHRIEBEN 2"));
        EXPECT_EQ(KINDPROZESS::BEFEHL(b, QStringLiteral("SCHREIBEN 13 13")),
                  QStringLiteral("GESCHRIEBEN 1"));
        ASSERT_TRUE(QFile::remove(labor.ARBEITSKOPIE()));
        const auto bemerken = [](QProcess& lauf) {
            EXPECT_EQ(KINDPROZESS::BEFEHL(lauf, QStringLiteral("ANTWORT ok liegt unter")),
                      QStringLiteral("OK 0"));
            EXPECT_EQ(KINDPROZESS::BEFEHL(lauf, QStringLiteral("SPEICHERN")),
                      QStringLiteral("OK 1"));
        };
        if (!zuerstGestartet) {
            bemerken(a);
            bemerken(b);
        }
        KINDPROZESS::STARTEN(c, QStringLiteral("grossspeichern"), {labor.WURZEL(), "tester"});
        ASSERT_EQ(KINDPROZESS::ZEILE(c), QStringLiteral("HEISS"));
        ASSERT_TRUE(heiss(labor.ARBEITSKOPIE()));
        if (zuerstGestartet) {
            bemerken(a);
            bemerken(b);
        }
        EXPECT_EQ(KINDPROZESS::BEFEHL(c, QStringLiteral("WEITER")), QStringLiteral("GESPEICHERT"));
        for (QProcess* lauf : {&a, &b, &c}) {
            EXPECT_EQ(KINDPROZESS::BEFEHL(*lauf, QStringLiteral("ENDE")), QStringLiteral("OK 1"));
            EXPECT_TRUE(lauf->waitForFinished());
        }

        // Both files hold the three (the runs shared the copy): the second
        // offers nothing more once the first is taken.
        ScriptedDialogs boxen;
        boxen.expect(vbYes, kGefunden);
        boxen.expect(vbYes, QString::fromUtf8("Sollen die Änderungen"));
        frmMAINFENSTER f;
        ASSERT_TRUE(f.MDIForm_Load());
        f.mnuBEENDEN_Click();
        EXPECT_EQ(boxen.boxes().size(), 2);
        const QStringList gespeichert =
            SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()).split(QLatin1Char(','));
        for (const char* ken : {"ALT", "W11", "W12", "W13", "P1", "P40"})
            EXPECT_TRUE(gespeichert.contains(QString::fromLatin1(ken))) << ken;
        EXPECT_EQ(gespeichert.size(), 44);
    }
}

// A run stores W2 (with a reading), its copy is deleted, and the session ends:
// it keeps W2 without a box. Meanwhile another user saved NEU under ID 2 into
// the project. The next start names the file and offers W2: Ja brings it in
// under a new ID, marked for the next Save, and puts the file aside; Nein
// lets W2 go and puts the file aside. Neither is offered again.
TEST(Abgeloest, AKeptFileIsOfferedAtTheNextStart) {
    for (const bool ja : {true, false}) {
        SCOPED_TRACE(ja);
        SHELLLABOR labor;
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
        const QString ordner = QFileInfo(labor.ARBEITSKOPIE()).path();
        const QString behalten = ordner + QStringLiteral("/VELD_ersetzt.mdb");
        {
            ScriptedDialogs boxen;
            frmMAINFENSTER f;
            ASSERT_TRUE(f.MDIForm_Load());
            f.DBPROJEKT()->Execute(
                QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (2,'W2',0);"
                               "INSERT INTO [E3] ([ID],[I1],[DET],[V]) VALUES (2,0,0,.5)"));
            ASSERT_TRUE(QFile::remove(labor.ARBEITSKOPIE()));
            f.SITZUNGSENDE();
            EXPECT_TRUE(boxen.boxes().isEmpty());
        }
        ASSERT_EQ(dateien(ordner), QStringList{QStringLiteral("VELD_ersetzt.mdb")});
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 2, QStringLiteral("NEU"));

        ScriptedDialogs boxen;
        boxen.expect(ja ? vbYes : vbNo, kGefunden);
        auto f = std::make_unique<frmMAINFENSTER>();
        ASSERT_TRUE(f->MDIForm_Load());
        ASSERT_EQ(boxen.boxes().size(), 1);
        EXPECT_EQ(boxen.boxes().first().prompt,
                  kGefunden + behalten +
                      QString::fromUtf8(
                          "\r\nDieser Lauf hat diese Datensätze angelegt: W2.\r\n"
                          "Ja: die Arbeit dieses Laufs wird in die Arbeitskopie übernommen; das "
                          "nächste Speichern bringt sie in das Projekt.\r\n"
                          "Nein: die Arbeit dieses Laufs an diesen Datensätzen wird verworfen: "
                          "W2.\r\n"
                          "Nach Ja oder Nein wird die Datei beiseitegelegt und nicht wieder "
                          "angeboten.\r\n"
                          "Abbrechen: es wird nichts übernommen und nichts verworfen; die Datei "
                          "wird beim nächsten Start wieder angeboten."));
        if (!ja) {
            EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("ALT,NEU"));
            EXPECT_FALSE(f->BOGEAENDERT());
            EXPECT_EQ(f->PANELTEXT(7),
                      QStringLiteral("Verworfen und beiseitegelegt: VELD_verworfen.mdb"));
            f->mnuBEENDEN_Click();
            f.reset();
            EXPECT_EQ(dateien(ordner), QStringList{QStringLiteral("VELD_verworfen.mdb")});
            frmMAINFENSTER g;
            ASSERT_TRUE(g.MDIForm_Load());
            EXPECT_EQ(boxen.boxes().size(), 1);
            continue;
        }
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("ALT,NEU,W2"));
        Recordset lesung(QStringLiteral("SELECT [E3].[V] FROM [E1] INNER JOIN [E3] ON "
                                        "[E3].[ID]=[E1].[ID] WHERE [E1].[KEN]='W2'"),
                         *f->DBPROJEKT());
        ASSERT_FALSE(lesung.Eof());
        EXPECT_FLOAT_EQ(CSng(lesung.Fields(0).Value()), 0.5f);
        EXPECT_TRUE(f->BOGEAENDERT());
        EXPECT_EQ(dateien(ordner), QStringList{QStringLiteral("VELD_uebernommen.mdb")});
        f->mnuSPEICHERN_Click();
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QStringLiteral("ALT,NEU,W2"));
        f->mnuBEENDEN_Click();
        EXPECT_EQ(boxen.boxes().size(), 1);
    }
}

// A run whose copy was deleted under it and whose commands wrote nothing
// since (a Select) keeps no file and shows no box at its quit.
TEST(Abgeloest, ARunThatStoredNothingSinceItsCopyWentKeepsNothing) {
    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    ASSERT_TRUE(QFile::remove(labor.ARBEITSKOPIE()));
    AUSWAHLDIALOG::ERSETZEN([&f](QWidget*) { f.SETZEAUSWAHLMODUS(QStringLiteral("OK")); });
    f.mnuAUSWAHL_Click();
    AUSWAHLDIALOG::ERSETZEN({});
    f.mnuBEENDEN_Click();
    EXPECT_TRUE(f.ENTLADEN());
    EXPECT_TRUE(boxen.boxes().isEmpty());
    EXPECT_TRUE(dateien(QFileInfo(labor.ARBEITSKOPIE()).path()).isEmpty());
}

// The copy's folder replaced by a file under a run that stored W2: its
// quit cannot keep W2 and says why VELD stays open; Nein stays, Ja ends
// after a box that names W2 as lost.
TEST(Abgeloest, AQuitThatCannotKeepItsRecordsSaysWhyAndMayEndAllTheSame) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    f.DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (2,'W2',0)"));
    const QString ordner = QFileInfo(labor.ARBEITSKOPIE()).path();
    ASSERT_TRUE(QDir(ordner).removeRecursively());
    QFile imWeg(ordner);
    ASSERT_TRUE(imWeg.open(QIODevice::WriteOnly));
    imWeg.close();

    const QString warum =
        QStringLiteral("Der Ordner ") + ordner +
        QString::fromUtf8(" fehlt.\r\nDeshalb kann nicht abgelegt werden, was dieser Lauf in der "
                          "ersetzten oder gelöschten Arbeitskopie gespeichert hat, und VELD "
                          "bleibt geöffnet, damit es nicht verloren geht. Beheben Sie das und "
                          "beenden Sie dann erneut.\r\nSoll VELD trotzdem beendet werden?");
    boxen.expect(vbNo, warum);
    f.mnuBEENDEN_Click();
    EXPECT_FALSE(f.ENTLADEN());
    boxen.expect(vbYes, warum);
    boxen.expect(vbOK, QString::fromUtf8("Beim Beenden geht verloren, was dieser Lauf seit seinem "
                                         "letzten Speichern in der Arbeitskopie gespeichert hat, "
                                         "darunter die Datensätze W2, die weder im Projekt noch "
                                         "in der Arbeitskopie stehen."));
    f.mnuBEENDEN_Click();
    EXPECT_TRUE(f.ENTLADEN());
    ASSERT_EQ(boxen.boxes().size(), 3);
    EXPECT_EQ(boxen.boxes().at(0).prompt, warum);
    EXPECT_EQ(boxen.boxes().at(0).style, vbYesNo + vbExclamation + vbDefaultButton2);
    EXPECT_EQ(boxen.boxes().at(2).style, vbOKCancel + vbExclamation + vbDefaultButton2);
}

// The copy is deleted while the user types a test: the store is refused with
// a box that says where the run works on and to store again; the second
// store keeps the test in that file, which names its project, and the quit
// names the file.
TEST(Abgeloest, ATestTypedAfterTheCopyWentIsKeptByStoringAgain) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
    const QString behalten =
        QFileInfo(labor.ARBEITSKOPIE()).path() + QStringLiteral("/VELD_ersetzt.mdb");
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    f.mnuNEU_Click();
    mdiEINGABE* eingabe = EINGABEFENSTER::GELADEN();
    ASSERT_TRUE(eingabe);
    eingabe->txtKEN->setText(QStringLiteral("T1"));
    eingabe->txtMS->setText(QStringLiteral("100"));
    ASSERT_TRUE(QFile::remove(labor.ARBEITSKOPIE()));
    boxen.expect(vbOK, QString::fromUtf8("Speichern Sie noch einmal, dann steht auch dies dort."));
    QTest::keyClick(eingabe->txtKEN, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_TRUE(boxen.boxes()[0].prompt.contains(QDir::toNativeSeparators(behalten)))
        << boxen.boxes()[0].prompt.toStdString();
    QTest::qWait(200);
    ASSERT_TRUE(EINGABEFENSTER::GELADEN());
    QTest::keyClick(EINGABEFENSTER::GELADEN()->txtKEN, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(behalten), QStringLiteral("ALT,T1"));
    {
        Connection db(behalten);
        Recordset herkunft(QStringLiteral("SELECT [PROJEKT] FROM [VELD_HERKUNFT]"), db);
        ASSERT_FALSE(herkunft.Eof());
        EXPECT_EQ(herkunft.Fields(0).Value().toString(),
                  QFileInfo(labor.PROJEKTDATENBANK()).absoluteFilePath());
    }
    boxen.expect(vbOK, QStringLiteral("liegt unter ") + QDir::toNativeSeparators(behalten));
    f.mnuBEENDEN_Click();
    EXPECT_TRUE(f.ENTLADEN());
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(behalten), QStringLiteral("ALT,T1"));
}

// The copy is deleted under the run; File, Open of another record writes only
// the selection: the first OK opens it, the status line says once where the
// run works on, and no box speaks of a store (nor any other).
TEST_F(HAUPTFENSTERTEST, OpeningATestAfterTheCopyWentOpensItOnTheFirstOk) {
    f.DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN]) VALUES (2,'P-2')"));
    ASSERT_TRUE(QFile::remove(labor.ARBEITSKOPIE()));
    QTimer::singleShot(0, &f, [] {
        auto* d = qobject_cast<frmAUSWAHL*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        for (const int zeile : {0, 1})
            QTest::mouseClick(d->lstKEN->viewport(), Qt::LeftButton, {},
                              d->lstKEN->visualItemRect(d->lstKEN->item(zeile)).center());
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
        if (QApplication::activeModalWidget() == d) d->close();
    });
    f.mnuOEFFNEN->trigger();
    ASSERT_NE(EINGABEFENSTER::GELADEN(), nullptr);
    EXPECT_EQ(EINGABEFENSTER::GELADEN()->txtKEN->text(), QStringLiteral("P-2"));
    const QString ordner = QFileInfo(labor.ARBEITSKOPIE()).path();
    EXPECT_EQ(f.PANELTEXT(7),
              QStringLiteral("Die Arbeitskopie ist fort; dieser Lauf arbeitet in ") +
                  QDir::toNativeSeparators(ordner + "/VELD_ersetzt.mdb") + " weiter");
}
