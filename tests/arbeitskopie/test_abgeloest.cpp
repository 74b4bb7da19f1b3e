// The files that runs kept when their working copy went: each offered on its
// own, as what its run changed, until it is taken, let go or done; never
// while its run lives.

#include "KOPIELABOR.h"

#include "arbeitskopie/KOPIEBASIS.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QString ordner(KOPIELABOR& labor) {
    return QFileInfo(labor.ARBEITSKOPIEPFAD()).path();
}

// A kept file of this project: a run's copy taken from the project as it is
// now, into which the run then wrote `arbeit` (through its copy's base,
// unless the file is from before files kept it).
QString ablegen(KOPIELABOR& labor, const QString& name, const QString& arbeit,
                bool mitBasis = true) {
    const QString datei = ordner(labor) + QLatin1Char('/') + name;
    QDir().mkpath(ordner(labor));
    EXPECT_TRUE(QFile::copy(labor.PROJEKTDATENBANK(), datei));
    if (mitBasis) KOPIEBASIS::NEU(datei, DatabaseMark());
    Connection db(datei);
    if (mitBasis) KOPIEBASIS::EINRICHTEN(db);
    db.Execute(arbeit);
    db.Execute(QStringLiteral("CREATE TABLE [VELD_HERKUNFT] ([PROJEKT] TEXT)"));
    db.Execute(QStringLiteral("INSERT INTO [VELD_HERKUNFT] VALUES (?)"),
               {QFileInfo(labor.PROJEKTDATENBANK()).absoluteFilePath()});
    return datei;
}

QString kom(const QString& datenbank, const char* ken) {
    Connection db(datenbank);
    Recordset rs(QStringLiteral("SELECT [KOM] FROM [E1] WHERE [KEN]=?"), db,
                 {QString::fromLatin1(ken)});
    return rs.Eof() ? QStringLiteral("-") : rs.Fields(0).Value().toString();
}

QStringList abgelegte(KOPIELABOR& labor) {
    return QDir(ordner(labor)).entryList({QStringLiteral("VELD_*.mdb")}, QDir::Files);
}

// The copy's working copy goes with its run (as a quit without changes
// leaves nothing), so that the next start makes a fresh one.
void ohneKopie(KOPIELABOR& labor) {
    QFile::remove(labor.ARBEITSKOPIEPFAD());
    QFile::remove(labor.HERKUNFT());
    QDir(labor.ZUSTAND()).removeRecursively();
}

bool speichern(ARBEITSKOPIE& kopie) {
    return kopie.SPEICHERN(QStringLiteral("Speichern"), QString(), [] { return false; });
}

} // namespace

// The run added N1, changed P1 and P3 and deleted P2; since then another user
// changed P3 and P4. The offer names the run's own work, P3 as changed on
// both sides, and never P4: Ja and the Save keep the other's P4. A file
// from before files kept their base says so, and Ja takes what the project
// lacks; the test the project changed since is asked about by name (Nein
// keeps the project's).
TEST(Abgeloest, AKeptFileOffersOnlyWhatItsRunChanged) {
    KOPIELABOR labor;
    for (int id = 1; id <= 4; ++id)
        KOPIELABOR::DATENSATZ(labor.PROJEKTDATENBANK(), id, QStringLiteral("P%1").arg(id));
    const QString datei =
        ablegen(labor, QStringLiteral("VELD_ersetzt.mdb"),
                QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (9,'N1',0);"
                               "UPDATE [E1] SET [KOM]='lauf' WHERE [ID] IN (1,3);"
                               "DELETE FROM [E1] WHERE [ID]=2"));
    const QString alt = ablegen(labor, QStringLiteral("VELD_ersetzt_2.mdb"),
                                QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES "
                                               "(8,'X1',0)"),
                                false);
    {
        QFile f(alt);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.setFileTime(QDateTime::currentDateTime().addSecs(-600),
                      QFileDevice::FileModificationTime);
    }
    Connection(labor.PROJEKTDATENBANK())
        .Execute(QStringLiteral("UPDATE [E1] SET [KOM]='fremd' WHERE [ID] IN (3,4)"));

    labor.DIALOG.ANTWORTEN({vbYes, vbYes, vbNo});
    const auto lauf = labor.GESTARTET();
    const auto boxen = labor.DIALOG.BOXEN();
    ASSERT_EQ(boxen.size(), 3);
    EXPECT_EQ(boxen[0].text,
              QString::fromUtf8("Ein Lauf von VELD, dessen Arbeitskopie ersetzt oder gelöscht "
                                "wurde, hat seine Arbeit abgelegt in:\r\n") +
                  QDir::toNativeSeparators(datei) +
                  QString::fromUtf8(
                      "\r\nDieser Lauf hat diese Datensätze angelegt: N1.\r\n"
                      "Dieser Lauf hat diese Datensätze geändert: P1.\r\n"
                      "Dieser Lauf hat diese Datensätze gelöscht: P2.\r\n"
                      "Diese Datensätze wurden in dieser Datei und im Projekt geändert: P3.\r\n"
                      "Ja: die Arbeit dieses Laufs wird in die Arbeitskopie übernommen; das "
                      "nächste Speichern bringt sie in das Projekt und fragt nach den in beiden "
                      "geänderten Datensätzen wie nach jedem hier und dort geänderten "
                      "Datensatz.\r\n"
                      "Nein: die Arbeit dieses Laufs an diesen Datensätzen wird verworfen: N1, "
                      "P1, P2, P3.\r\n"
                      "Nach Ja oder Nein wird die Datei beiseitegelegt und nicht wieder "
                      "angeboten.\r\n"
                      "Abbrechen: es wird nichts übernommen und nichts verworfen; die Datei wird "
                      "beim nächsten Start wieder angeboten."));
    EXPECT_EQ(boxen[0].stil, vbYesNoCancel + vbQuestion + vbDefaultButton3);
    EXPECT_TRUE(boxen[1].text.contains(QDir::toNativeSeparators(alt)) &&
                boxen[1].text.contains(QString::fromUtf8(
                    "Was dieser Lauf geändert hat, lässt sich nicht feststellen")) &&
                boxen[1].text.contains(QString::fromUtf8("Im Projekt fehlen diese Datensätze: "
                                                         "X1.\r\n")) &&
                boxen[1].text.contains(QString::fromUtf8("nach dem Ablegen der Datei geändert "
                                                         "wurde: P3, P4.\r\n")))
        << boxen[1].text.toStdString();
    EXPECT_TRUE(boxen[2].text.contains(QStringLiteral("Datei; wer sie geändert hat, lässt sich "
                                                      "nicht feststellen: P3, P4.")))
        << boxen[2].text.toStdString();
    EXPECT_EQ(boxen[2].stil, vbYesNo + vbExclamation + vbDefaultButton2);

    // Taken: the files are not offered again; the Save asks about P3 in its
    // own box, as about any test changed on both sides, and keeps the
    // other's P4.
    EXPECT_EQ(abgelegte(labor), (QStringList{"VELD_uebernommen.mdb", "VELD_uebernommen_2.mdb"}));
    EXPECT_TRUE(lauf->kopie->BOGEAENDERT());
    labor.DIALOG.ANTWORTEN({vbYes});
    ASSERT_TRUE(speichern(*lauf->kopie));
    ASSERT_EQ(labor.DIALOG.BOXEN().size(), 4);
    EXPECT_TRUE(labor.DIALOG.BOXEN()[3].text.contains(
        QString::fromUtf8("Diese Datensätze wurden hier und dort geändert: P3.\r\n")))
        << labor.DIALOG.BOXEN()[3].text.toStdString();
    EXPECT_EQ(KOPIELABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QStringLiteral("P1,P3,P4,N1,X1"));
    EXPECT_EQ(kom(labor.PROJEKTDATENBANK(), "P1"), QStringLiteral("lauf"));
    EXPECT_EQ(kom(labor.PROJEKTDATENBANK(), "P3"), QStringLiteral("lauf"));
    EXPECT_EQ(kom(labor.PROJEKTDATENBANK(), "P4"), QStringLiteral("fremd"));
}

// Abbrechen keeps a file for a later start; Nein names what it drops, puts
// the file aside and it is not offered again. A file whose run's work the
// project holds is put aside unasked, told in the status line.
TEST(Abgeloest, KeptWorkIsKeptForLaterOrLetGo) {
    for (const int antwort : {vbCancel, vbNo}) {
        SCOPED_TRACE(antwort);
        KOPIELABOR labor;
        ablegen(labor, QStringLiteral("VELD_ersetzt.mdb"),
                QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (9,'N1',0)"));
        ablegen(labor, QStringLiteral("VELD_ersetzt_2.mdb"),
                QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (7,'P7',0)"));
        KOPIELABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 7, QStringLiteral("P7"));
        labor.DIALOG.ANTWORTEN({antwort});
        labor.GESTARTET().reset();
        ASSERT_EQ(labor.DIALOG.BOXEN().size(), 1);
        EXPECT_TRUE(labor.DIALOG.BOXEN()[0].text.contains(QString::fromUtf8(
            "Nein: die Arbeit dieses Laufs an diesen Datensätzen wird verworfen: N1.\r\n")));
        EXPECT_EQ(KOPIELABOR::KENNUNGEN(labor.ARBEITSKOPIEPFAD()), QStringLiteral("P7"));
        const bool verworfen = antwort == vbNo;
        ASSERT_FALSE(labor.DIALOG.m_hinweise.isEmpty());
        EXPECT_EQ(labor.DIALOG.m_hinweise.last(),
                  QStringLiteral("Als erledigt beiseitegelegt: VELD_uebernommen.mdb") +
                      (verworfen ? QStringLiteral("; Verworfen und beiseitegelegt: "
                                                  "VELD_verworfen.mdb")
                                 : QString()));
        EXPECT_EQ(abgelegte(labor),
                  (verworfen ? QStringList{"VELD_uebernommen.mdb", "VELD_verworfen.mdb"}
                             : QStringList{"VELD_ersetzt.mdb", "VELD_uebernommen.mdb"}));
        // The next start: offered again after Abbrechen only.
        ohneKopie(labor);
        if (!verworfen) labor.DIALOG.ANTWORTEN({vbCancel});
        labor.GESTARTET().reset();
        EXPECT_EQ(labor.DIALOG.BOXEN().size(), verworfen ? 1 : 2);
    }
}

// Two runs whose copy went together kept their work one after the other: each
// file is offered in a box of its own that names only that file, and the
// second offers only what the first did not hold.
TEST(Abgeloest, EachKeptFileIsOfferedOnItsOwn) {
    KOPIELABOR labor;
    const QString erste =
        ablegen(labor, QStringLiteral("VELD_ersetzt.mdb"),
                QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (10,'W10',0)"));
    const QString zweite =
        ablegen(labor, QStringLiteral("VELD_ersetzt_2.mdb"),
                QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (10,'W10',0);"
                               "INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (20,'W20',0)"));
    labor.DIALOG.ANTWORTEN({vbYes, vbYes});
    const auto lauf = labor.GESTARTET();
    const auto boxen = labor.DIALOG.BOXEN();
    ASSERT_EQ(boxen.size(), 2);
    EXPECT_TRUE(boxen[0].text.contains(QDir::toNativeSeparators(erste) + QStringLiteral("\r\n")) &&
                !boxen[0].text.contains(QDir::toNativeSeparators(zweite)) &&
                boxen[0].text.contains(QString::fromUtf8("angelegt: W10.\r\n")))
        << boxen[0].text.toStdString();
    EXPECT_TRUE(boxen[1].text.contains(QDir::toNativeSeparators(zweite)) &&
                !boxen[1].text.contains(QDir::toNativeSeparators(erste) + QStringLiteral("\r\n")) &&
                boxen[1].text.contains(QString::fromUtf8("angelegt: W20.\r\n")))
        << boxen[1].text.toStdString();
    EXPECT_EQ(KOPIELABOR::KENNUNGEN(labor.ARBEITSKOPIEPFAD()), QStringLiteral("W10,W20"));
}

// A run moves into its kept file when its copy goes and works on there.
// Another run's start neither offers that file nor does its Save put it
// aside, though the project then holds what the file held; what the run
// stores next stays in it and is offered once the run is gone.
TEST(Abgeloest, ALiveRunsKeptFileStaysItsOwn) {
    KOPIELABOR labor;
    auto a = labor.GESTARTET();
    a->verbindung->Execute(
        QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (10,'W10',0)"));
    ASSERT_TRUE(QFile::remove(labor.ARBEITSKOPIEPFAD()));
    EXPECT_THROW(a->verbindung->Execute(
                     QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (11,'W11',0)")),
                 RuntimeError);
    labor.DIALOG.SPAETERAUSFUEHREN();
    const QString datei = ordner(labor) + QStringLiteral("/VELD_ersetzt.mdb");
    ASSERT_EQ(a->verbindung->Path(), datei);

    auto b = labor.GESTARTET();
    b->verbindung->Execute(
        QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (10,'W10',0)"));
    ASSERT_TRUE(speichern(*b->kopie));
    EXPECT_TRUE(labor.DIALOG.BOXEN().isEmpty());
    a->verbindung->Execute(
        QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (12,'W12',0)"));
    EXPECT_EQ(abgelegte(labor), QStringList{"VELD_ersetzt.mdb"});

    a.reset();
    b.reset();
    ohneKopie(labor);
    labor.DIALOG.ANTWORTEN({vbYes});
    const auto c = labor.GESTARTET();
    ASSERT_EQ(labor.DIALOG.BOXEN().size(), 1);
    EXPECT_TRUE(labor.DIALOG.BOXEN()[0].text.contains(QString::fromUtf8("angelegt: W12.\r\n")));
    EXPECT_EQ(KOPIELABOR::KENNUNGEN(labor.ARBEITSKOPIEPFAD()), QStringLiteral("W10,W12"));
}

// A kept file into which something beside the program wrote: the change its
// run's journal never saw is offered, as one whose author cannot be told,
// and never put aside as done with it inside.
TEST(Abgeloest, AChangeTheJournalNeverSawIsOffered) {
    KOPIELABOR labor;
    for (int id = 1; id <= 2; ++id)
        KOPIELABOR::DATENSATZ(labor.PROJEKTDATENBANK(), id, QStringLiteral("P%1").arg(id));
    const QString datei = ablegen(labor, QStringLiteral("VELD_ersetzt.mdb"),
                                  QStringLiteral("UPDATE [E1] SET [KOM]='lauf' WHERE [ID]=1"));
    Connection(datei).Execute(QStringLiteral("UPDATE [E1] SET [KOM]='aussen' WHERE [ID]=2"));
    labor.DIALOG.ANTWORTEN({vbYes});
    const auto lauf = labor.GESTARTET();
    ASSERT_EQ(labor.DIALOG.BOXEN().size(), 1);
    const QString text = labor.DIALOG.BOXEN()[0].text;
    EXPECT_TRUE(text.contains(QString::fromUtf8("lässt sich nicht feststellen")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(
        QString::fromUtf8("Diese Datensätze enthält die Datei anders als das Projekt: P1, P2.")))
        << text.toStdString();
    EXPECT_EQ(kom(labor.ARBEITSKOPIEPFAD(), "P2"), QStringLiteral("aussen"));
}

// The copy is deleted under the run, which stored nothing of its own (its
// one store comes after and is refused) and quits before it moved. Where
// another program had changed P1 in the copy, what the copy held is kept like
// any unsaved work, in a whole file, and the next start offers P1 rather
// than put it aside; otherwise nothing is kept. Either way nothing empty or
// half written is left under a kept file's name.
TEST(Abgeloest, ACopyAnotherProgramChangedIsKeptWholeWhenItGoes) {
    for (const bool fremd : {true, false}) {
        SCOPED_TRACE(fremd);
        KOPIELABOR labor;
        KOPIELABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("P1"));
        auto lauf = labor.GESTARTET();
        if (fremd)
            Connection(labor.ARBEITSKOPIEPFAD())
                .Execute(QStringLiteral("UPDATE [E1] SET [KOM]='aussen' WHERE [ID]=1"));
        ASSERT_TRUE(QFile::remove(labor.ARBEITSKOPIEPFAD()));
        EXPECT_THROW(lauf->verbindung->Execute(
                         QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (2,'W2',0)")),
                     RuntimeError);
        if (fremd) labor.DIALOG.ANTWORTEN({vbOK});
        ErrorHandler eh(QStringLiteral("VB-Error: "), QStringLiteral("VELD"));
        bool cancel = false;
        EXPECT_TRUE(lauf->kopie->BEENDENFRAGEN(
            eh, 1, QStringLiteral("Beenden"), [] { return false; }, cancel));
        lauf->kopie->BEENDEN(eh);
        lauf.reset();
        const QStringList dateien =
            QDir(ordner(labor)).entryList({QStringLiteral("VELD_*")}, QDir::Files);
        if (!fremd) {
            EXPECT_TRUE(labor.DIALOG.BOXEN().isEmpty());
            EXPECT_TRUE(dateien.isEmpty()) << dateien.join(' ').toStdString();
            continue;
        }
        const QString datei = ordner(labor) + QStringLiteral("/VELD_ersetzt.mdb");
        ASSERT_EQ(labor.DIALOG.BOXEN().size(), 1);
        EXPECT_TRUE(labor.DIALOG.BOXEN()[0].text.contains(QStringLiteral("liegt unter ") +
                                                          QDir::toNativeSeparators(datei)))
            << labor.DIALOG.BOXEN()[0].text.toStdString();
        EXPECT_EQ(dateien, QStringList{QStringLiteral("VELD_ersetzt.mdb")});
        ASSERT_GT(QFileInfo(datei).size(), 0);
        EXPECT_EQ(kom(datei, "P1"), QStringLiteral("aussen"));

        labor.DIALOG.ANTWORTEN({vbYes});
        const auto naechster = labor.GESTARTET();
        ASSERT_EQ(labor.DIALOG.BOXEN().size(), 2);
        EXPECT_TRUE(labor.DIALOG.BOXEN()[1].text.contains(
            QString::fromUtf8("Diese Datensätze enthält die Datei anders als das Projekt: P1.")))
            << labor.DIALOG.BOXEN()[1].text.toStdString();
        EXPECT_EQ(kom(labor.ARBEITSKOPIEPFAD(), "P1"), QStringLiteral("aussen"));
    }
}

// A kept file whose run deleted P2, and into which another program wrote
// besides (a database browser's statistics): every record the file holds is
// in the project as it holds it, yet the deletion its run's journal saw is
// not, so the start offers it rather than put the file aside as done.
TEST(Abgeloest, AFileIsDoneOnlyWhenTheProjectHoldsWhatItsRunChanged) {
    KOPIELABOR labor;
    for (int id = 1; id <= 2; ++id)
        KOPIELABOR::DATENSATZ(labor.PROJEKTDATENBANK(), id, QStringLiteral("P%1").arg(id));
    const QString datei = ablegen(labor, QStringLiteral("VELD_ersetzt.mdb"),
                                  QStringLiteral("DELETE FROM [E1] WHERE [ID]=2"));
    Connection(datei).Execute(QStringLiteral("ANALYZE"));
    labor.DIALOG.ANTWORTEN({vbYes});
    const auto lauf = labor.GESTARTET();
    ASSERT_EQ(labor.DIALOG.BOXEN().size(), 1);
    EXPECT_TRUE(labor.DIALOG.BOXEN()[0].text.contains(
        QString::fromUtf8("Dieser Lauf hat diese Datensätze gelöscht: P2.\r\n")))
        << labor.DIALOG.BOXEN()[0].text.toStdString();
    EXPECT_EQ(KOPIELABOR::KENNUNGEN(labor.ARBEITSKOPIEPFAD()), QStringLiteral("P1"));
    EXPECT_EQ(abgelegte(labor), QStringList{QStringLiteral("VELD_uebernommen.mdb")});
}
