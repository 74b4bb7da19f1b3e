// File, Save with its size question, and the compaction of the working
// copy.

#include "SHELLLABOR.h"
#include "arbeitskopie/ARBEITSKOPIE.h"
#include "support/ScriptedDialogs.h"

#include "platform/database/BusyWait.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/Variant.h"
#include "shell/frmMAINFENSTER.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {
// Pads a database file with zeros to an exact size; the engine reads only
// the pages its header counts, so the database stays whole.
void auffuellen(const QString& pfad, qint64 groesse) {
    QFile datei(pfad);
    ASSERT_TRUE(datei.open(QIODevice::ReadWrite));
    ASSERT_LT(datei.size(), groesse);
    datei.seek(datei.size());
    datei.write(QByteArray(int(groesse - datei.size()), '\0'));
}

QByteArray pruefsumme(const QString& pfad) {
    QFile datei(pfad);
    datei.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(datei.readAll(), QCryptographicHash::Sha1);
}

// Fills the working copy with records whose comments take a lot of room.
void fuellen(Connection& db, int anzahl) {
    db.BeginTrans();
    const QString lang(2000, QLatin1Char('x'));
    for (int i = 1; i <= anzahl; ++i)
        db.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[KOM],[AKT]) VALUES (?,?,?,0)"),
                   {i, QStringLiteral("R%1").arg(i), lang});
    db.CommitTrans();
}
} // namespace

TEST(Speichern, CopiesTheWorkingCopyOverTheProjectDatabaseAndClearsTheFlag) {
    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    f.DBPROJEKT()->Execute(
        QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (1,'S-1',1)"));
    f.SETZEBOGEAENDERT(true);
    f.mnuSPEICHERN_Click();
    EXPECT_TRUE(boxen.boxes().isEmpty());
    EXPECT_FALSE(f.BOGEAENDERT());
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QStringLiteral("S-1"));
    // The program works on through its connection.
    f.DBPROJEKT()->Execute(
        QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (2,'S-2',1)"));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("S-1,S-2"));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QStringLiteral("S-1"));
}

TEST(Speichern, AFailedCopyKeepsTheChangedFlag) {
    SHELLLABOR labor(QStringLiteral("en"));
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    f.SETZEBOGEAENDERT(true);
    ASSERT_TRUE(
        QDir(labor.PROJEKTSPFAD()).rename(QStringLiteral("TE0001.00"), QStringLiteral("weg")));
    boxen.expect(vbOK, QStringLiteral("VB-Error: "));
    f.mnuSPEICHERN_Click();
    ASSERT_EQ(boxen.boxes().size(), 1);
    // Shown once the copy's write lock is let go, with OK alone.
    EXPECT_TRUE(boxen.boxes().first().held);
    EXPECT_EQ(boxen.boxes().first().style, 48);
    EXPECT_EQ(boxen.boxes().first().title, QStringLiteral("&Save"));
    // It names the project database, not a file the user never made.
    EXPECT_TRUE(boxen.boxes().first().prompt.contains(labor.PROJEKTDATENBANK()));
    EXPECT_TRUE(f.BOGEAENDERT());
    EXPECT_FALSE(QFileInfo::exists(labor.PROJEKTDATENBANK()));
}

// A working copy damaged on the disk never replaces the project database:
// the Save says so in one box and keeps the copy and its changes.
TEST(Speichern, ADamagedWorkingCopyLeavesTheProjectDatabaseAsItWas) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    fuellen(*f.DBPROJEKT(), 50);
    const QByteArray vorher = pruefsumme(labor.PROJEKTDATENBANK());
    // The first page of the records' table is overwritten.
    int seite = 0;
    {
        Recordset rs(QStringLiteral("SELECT [rootpage] FROM [sqlite_master] WHERE [name]='E1'"),
                     *f.DBPROJEKT());
        seite = CInt(rs.Fields(0).Value());
    }
    {
        QFile datei(labor.ARBEITSKOPIE());
        ASSERT_TRUE(datei.open(QIODevice::ReadWrite));
        datei.seek(qint64(seite - 1) * 4096);
        datei.write(QByteArray(64, '\xff'));
    }
    f.DBPROJEKT()->Reopen();
    boxen.expect(vbOK, QString::fromUtf8("Die Arbeitskopie ist beschädigt; das Projekt TE0001.00 "
                                         "wurde nicht überschrieben."));
    f.mnuSPEICHERN_Click();
    EXPECT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(pruefsumme(labor.PROJEKTDATENBANK()), vorher);
    EXPECT_EQ(QDir(labor.PROJEKTSPFAD() + QStringLiteral("/TE0001.00"))
                  .entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("VELD.mdb")});
    EXPECT_TRUE(QFileInfo::exists(labor.ARBEITSKOPIE()));
    EXPECT_TRUE(f.BOGEAENDERT());
}

TEST(Speichern, TenMegabytesAfterRoundingAskNothing) {
    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    auffuellen(labor.ARBEITSKOPIE(), 10040000);
    f.mnuSPEICHERN_Click();
    EXPECT_TRUE(boxen.boxes().isEmpty());
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QString());
}

TEST(Speichern, MoreThanTenMegabytesOfferTheCompaction) {
    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    f.DBPROJEKT()->Execute(
        QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (1,'GROSS',0)"));
    auffuellen(labor.ARBEITSKOPIE(), 10060000);
    boxen.expect(vbNo);
    f.mnuSPEICHERN_Click();
    ASSERT_EQ(boxen.boxes().size(), 1);
    const auto& box = boxen.boxes().first();
    EXPECT_EQ(
        box.prompt,
        QStringLiteral("Datenbank hat 10,1 MB erreicht! \r\nSoll die Datei komprimiert werden?"));
    EXPECT_EQ(box.style, 16420);
    EXPECT_EQ(box.title, QStringLiteral("&Speichern"));
    EXPECT_EQ(box.helpFile, labor.PROGRAMM() + QStringLiteral("/VELD.HLP"));
    EXPECT_EQ(box.context, 34);
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QStringLiteral("GROSS"));
}

TEST(Speichern, YesCompactsBeforeSaving) {
    SHELLLABOR labor(QStringLiteral("en"));
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    f.DBPROJEKT()->Execute(
        QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (1,'GROSS',0)"));
    auffuellen(labor.ARBEITSKOPIE(), 10060000);
    boxen.expect(vbYes,
                 QStringLiteral("Database reaches 10.1 MB! \r\nDo you want to compact the file?"));
    boxen.expect(vbOK, QStringLiteral("Database was compact about "));
    f.mnuSPEICHERN_Click();
    EXPECT_EQ(boxen.boxes().size(), 2);
    EXPECT_LT(QFileInfo(labor.ARBEITSKOPIE()).size(), 1000000);
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QStringLiteral("GROSS"));
    EXPECT_FALSE(f.BOGEAENDERT());
}

TEST(Komprimieren, TheSavingIsTheShareOfTheSizeBefore) {
    EXPECT_EQ(frmMAINFENSTER::ERSPARNIS(12.3f, 4.1f), 66.7f);
    EXPECT_EQ(frmMAINFENSTER::ERSPARNIS(0.0f, 0.0f), 0.0f);
    EXPECT_EQ(frmMAINFENSTER::ERSPARNIS(2.0f, 2.0f), 0.0f);
}

TEST(Komprimieren, TemporaryFileIsNamedAfterTheWorkingCopy) {
    EXPECT_EQ(frmMAINFENSTER::KOMPRIMIERDATEI(QStringLiteral("/a/BENUTZER/X/VELD.mdb")),
              QStringLiteral("/a/BENUTZER/X/VELDTEMP.mdb"));
    EXPECT_EQ(frmMAINFENSTER::KOMPRIMIERDATEI(QStringLiteral("/a/b.MDB.d/VELD.mdb")),
              QStringLiteral("/a/bTEMP.mdb"));
}

TEST(Komprimieren, ShrinksTheWorkingCopyAndWorksOnThroughTheSameConnection) {
    for (const QString& sprache : {QStringLiteral("de"), QStringLiteral("en")}) {
        SHELLLABOR labor(sprache);
        ScriptedDialogs boxen;
        frmMAINFENSTER f;
        ASSERT_TRUE(f.MDIForm_Load());
        auto verbindung = f.DBPROJEKT();
        fuellen(*verbindung, 1500);
        verbindung->Execute(QStringLiteral("DELETE FROM [E1] WHERE [ID]>10"));
        const float vorher = ARBEITSKOPIE::GROESSEMB(labor.ARBEITSKOPIE());
        ASSERT_GT(vorher, 2.0f);
        // A file left by a killed compaction is no obstacle.
        QFile alt(QFileInfo(labor.ARBEITSKOPIE()).path() + QStringLiteral("/VELDTEMP.mdb"));
        alt.open(QIODevice::WriteOnly);
        alt.write("halb");
        alt.close();

        boxen.expect(vbOK);
        f.mnuKOMPRIMIEREN_Click();
        ASSERT_EQ(boxen.boxes().size(), 1);
        const float nachher = ARBEITSKOPIE::GROESSEMB(labor.ARBEITSKOPIE());
        EXPECT_LT(nachher, 0.2f);
        const auto& box = boxen.boxes().first();
        EXPECT_EQ(box.style, 64);
        const QString prozent = SingleText(frmMAINFENSTER::ERSPARNIS(vorher, nachher));
        if (sprache == QLatin1String("de")) {
            EXPECT_EQ(box.title, QStringLiteral("&Komprimieren"));
            EXPECT_EQ(box.prompt, QStringLiteral("Datenbank wurde um ") + prozent +
                                      QStringLiteral(" % auf ") + SingleText(nachher) +
                                      QStringLiteral(" MB komprimiert !"));
        } else {
            EXPECT_EQ(box.title, QStringLiteral("Compact Database"));
            EXPECT_EQ(box.prompt, QStringLiteral("Database was compact about ") + prozent +
                                      QStringLiteral(" % to ") + SingleText(nachher) +
                                      QStringLiteral(" MB!"));
        }
        EXPECT_FALSE(QFileInfo::exists(alt.fileName()));
        ASSERT_EQ(f.DBPROJEKT(), verbindung);
        ASSERT_TRUE(verbindung->IsOpen());
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()),
                  QStringLiteral("R1,R2,R3,R4,R5,R6,R7,R8,R9,R10"));
        verbindung->Execute(
            QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (99,'NACH',0)"));
        f.mnuSPEICHERN_Click();
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()),
                  QStringLiteral("R1,R2,R3,R4,R5,R6,R7,R8,R9,R10,NACH"));
    }
}

TEST(Komprimieren, AFailureLeavesTheWorkingCopyAsItWasAndReconnects) {
    SHELLLABOR labor;
    ScriptedDialogs boxen;
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    auto verbindung = f.DBPROJEKT();
    fuellen(*verbindung, 300);
    // A damaged page in the middle of the file: the database still opens,
    // but it cannot be read whole.
    {
        QFile datei(labor.ARBEITSKOPIE());
        ASSERT_TRUE(datei.open(QIODevice::ReadWrite));
        const qint64 seiten = datei.size() / 4096;
        datei.seek((seiten / 2) * 4096);
        datei.write(QByteArray(4096, '\xff'));
    }
    const QByteArray vorher = pruefsumme(labor.ARBEITSKOPIE());
    boxen.expect(vbCancel, QStringLiteral("VB-Error: "));
    f.mnuKOMPRIMIEREN_Click();
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(boxen.boxes().first().title, QStringLiteral("&Komprimieren"));
    EXPECT_EQ(pruefsumme(labor.ARBEITSKOPIE()), vorher);
    const QStringList reste = QDir(QFileInfo(labor.ARBEITSKOPIE()).path())
                                  .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    EXPECT_EQ(reste, QStringList({QStringLiteral("VELD.mdb"), QStringLiteral("VELD.projekt"),
                           QStringLiteral("VELD.sperre")}));
    // Even after Cancel the program goes on with its working copy.
    ASSERT_EQ(f.DBPROJEKT(), verbindung);
    EXPECT_TRUE(verbindung->IsOpen());
    Recordset zeile(QStringLiteral("SELECT [KEN] FROM [E1] WHERE [ID]=1"), *verbindung);
    EXPECT_FALSE(zeile.Eof());
}

// Another program holds the project database: the Save waits, and cancelled
// or timed out tells it once, and leaves the file its holder has open.
TEST(Speichern, AHeldProjectIsWaitedForAndNeverReplaced) {
    for (const bool abbrechen : {true, false}) {
        SHELLLABOR labor;
        const QByteArray projekt = QFile::encodeName(labor.PROJEKTDATENBANK());
        ScriptedDialogs boxen;
        frmMAINFENSTER f;
        ASSERT_TRUE(f.MDIForm_Load());
        f.SETZEBOGEAENDERT(true);
        struct stat vorher {}, nachher {};
        sqlite3* halter = nullptr;
        sqlite3_open(projekt.constData(), &halter);
        sqlite3_exec(halter, "BEGIN IMMEDIATE; INSERT INTO E1 (ID,KEN,AKT) VALUES (3,'H',0)",
                     nullptr, nullptr, nullptr);
        ::stat(projekt.constData(), &vorher);
        BusyWait::SetTimeoutLimit(abbrechen ? 20000 : 1600);
        QString text;
        QTimer::singleShot(1300, &f, [&] {
            QWidget* fenster = QApplication::activeModalWidget();
            if (!fenster) return;
            text = fenster->findChild<QLabel*>()->text();
            if (abbrechen) fenster->findChild<QPushButton*>()->click();
        });
        boxen.expect(vbOK, QString::fromUtf8("VB-Error: %1\r\nDie Datenbank %2 ist gerade von "
                                             "einem anderen Lauf oder Programm gesperrt; %3es "
                                             "wurde nichts geändert.")
                               .arg(abbrechen ? 18 : 3218)
                               .arg(labor.PROJEKTDATENBANK(),
                                    abbrechen ? "das Warten darauf wurde abgebrochen, " : ""));
        f.mnuSPEICHERN_Click();
        BusyWait::SetTimeoutLimit(0);
        EXPECT_EQ(text, QStringLiteral("Die Datenbank %1 wird gerade von einem anderen Lauf oder "
                                       "Programm benutzt.\nDer Befehl wartet, bis sie frei ist.")
                            .arg(labor.PROJEKTDATENBANK()));
        ::stat(projekt.constData(), &nachher);
        EXPECT_TRUE(nachher.st_dev == vorher.st_dev && nachher.st_ino == vorher.st_ino);
        EXPECT_EQ(sqlite3_exec(halter, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(halter);
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QStringLiteral("H"));
        // The change marked held no record changed: the quit asks nothing.
        f.mnuBEENDEN_Click();
        EXPECT_TRUE(f.ENTLADEN());
    }
}
