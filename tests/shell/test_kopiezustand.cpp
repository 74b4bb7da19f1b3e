// What the copy knows of a command's change when the run ends inside the
// command: the change is marked before it is written, so a session end in a
// pause of the command keeps the copy with it, and a close asks about it.

#include "HAUPTFENSTERTEST.h"
#include "support/TESTSCHALTER.h"

#include "pages/frmKONTEXT.h"
#include "pages/frmKONTEXT11.h"
#include "platform/controls/PictureBox.h"
#include "platform/runtime/FileLock.h"
#include "shell/STATUSLEISTE.h"
#include "shell/DATENAUSTAUSCH.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cerrno>
#include <optional>

namespace {

// The copy's result of record 1, read beside the run.
QVariant ergebnis(const QString& kopie) {
    Connection verbindung(kopie);
    Recordset rs(QStringLiteral("SELECT [VELD] FROM [A1] WHERE [ID]=1"), verbindung);
    return rs.Eof() ? QVariant() : rs.Fields(0).Value();
}

} // namespace

// Calculate First pauses with the main window enabled after it rewrote the
// results; the session ends, or the user closes the window, in that pause.
class KOPIEZUSTAND : public HAUPTFENSTERTEST {
protected:
    // Saved: nothing is unsaved until the command changes the copy.
    void SetUp() override {
        HAUPTFENSTERTEST::SetUp();
        f.mnuSPEICHERN_Click();
        ASSERT_FALSE(f.BOGEAENDERT());
    }
    void imPauseDerNeuberechnung(const std::function<void()>& tun) {
        // The bar full is the pause.
        QTimer inDerPause;
        QObject::connect(&inDerPause, &QTimer::timeout, &f, [&] {
            if (f.FORTSCHRITT() != 100) return;
            inDerPause.stop();
            tun();
        });
        inDerPause.start(0);
        f.mnuAUSWERTEN_Click();
        f.mnuNEUBERECHNEN->trigger();
        EXPECT_FALSE(inDerPause.isActive());
        EXPECT_TRUE(QFileInfo::exists(labor.ARBEITSKOPIE()));
        EXPECT_NE(ergebnis(labor.ARBEITSKOPIE()).toDouble(), 30.0);
    }
};

TEST_F(KOPIEZUSTAND, TheSessionEndingInThePauseOfCalculateFirstKeepsTheNewResults) {
    imPauseDerNeuberechnung([this] { f.SITZUNGSENDE(); });
    EXPECT_TRUE(f.ENTLADEN());
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_F(KOPIEZUSTAND, ClosingTheWindowInThePauseOfCalculateFirstAsksTheSaveQuestion) {
    boxen.expect(vbCancel, QString::fromUtf8("Sollen die Änderungen in Projekt TE0001.00"));
    imPauseDerNeuberechnung([this] { f.close(); });
    EXPECT_FALSE(f.ENTLADEN());
    EXPECT_EQ(boxen.boxes().size(), 1);
}

// An import commits while the exchange dialog stays open; the session ends
// before the dialog closes.
TEST_F(KOPIEZUSTAND, TheSessionEndingWithTheExchangeDialogOpenKeepsTheImport) {
    DATENAUSTAUSCH::ERSETZEEXPIMP([this](QWidget*) {
        f.DBPROJEKT()->Execute(
            QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (7,'IMPORT',1)"));
        f.SETZEAUSWAHLMODUS(QStringLiteral("OK"));
        f.SITZUNGSENDE();
    });
    f.mnuEXPIMP_Click();
    DATENAUSTAUSCH::ERSETZEEXPIMP({});
    EXPECT_TRUE(f.ENTLADEN());
    // No box: nothing read the closed copy afterwards.
    EXPECT_TRUE(boxen.boxes().isEmpty());
    ASSERT_TRUE(QFileInfo::exists(labor.ARBEITSKOPIE()));
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("P-1,IMPORT"));
}

namespace {
// The state folder of the run under test; its run's mark is removed where
// the start has taken its locks.
QString g_zustand;
void laufmarkeEntfernen(const char* stelle) {
    if (QByteArray(stelle) != "HALT") return;
    for (const QString& marke : QDir(g_zustand).entryList({QStringLiteral("*.lauf")}, QDir::Files))
        QFile::remove(g_zustand + QLatin1Char('/') + marke);
}

QByteArray inhalt(const QString& datei) {
    QFile lesen(datei);
    lesen.open(QIODevice::ReadOnly);
    return lesen.readAll();
}
} // namespace

// A run that cannot know the copy's state (the state folder in the way, or
// its run mark removed while it decides at its start about another
// project's copy) changes no byte of the copy: its compaction is refused as
// every write is, and its start leaves a copy of another project where it
// is. It is told once, in the program's language. A run whose mark went
// after its start makes it anew and goes on.
TEST(Kopiezustand, ARunThatCannotKnowTheCopysStateLeavesEveryByteOfIt) {
    const QString markeFehlt = QStringLiteral("die Marke des Laufs fehlt");
    const QString dateiImWeg = QStringLiteral("eine Datei dieses Namens steht im Weg");
    for (const bool fremd : {false, true})
        for (const bool imWeg : {false, true}) {
            SCOPED_TRACE(QStringLiteral("fremd %1, im Weg %2").arg(fremd).arg(imWeg).toStdString());
            SHELLLABOR labor;
            const QString ordner = QFileInfo(labor.ARBEITSKOPIE()).path();
            g_zustand = ordner + QStringLiteral("/VELD.zustand");
            QDir().mkpath(ordner);
            {
                // Free pages, which a compaction would remove.
                Connection projekt(labor.PROJEKTDATENBANK());
                projekt.Execute(QStringLiteral(
                    "CREATE TABLE [X] ([B] BLOB); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                    "SELECT i+1 FROM n WHERE i<50) INSERT INTO [X] SELECT randomblob(4000) "
                    "FROM n; DROP TABLE [X]"));
            }
            if (fremd) {
                // The copy a run on project TE0002.00 left.
                QFile::copy(labor.PROJEKTDATENBANK(), labor.ARBEITSKOPIE());
                QFile herkunft(labor.HERKUNFT());
                herkunft.open(QIODevice::WriteOnly);
                herkunft.write(labor.PROJEKTSPFAD().toUtf8() + "/TE0002.00/VELD.mdb\n");
            }
            if (imWeg) QFile(g_zustand).open(QIODevice::WriteOnly);
            const QString grund = QStringLiteral(" (") + (imWeg ? dateiImWeg : markeFehlt) +
                                  QStringLiteral(") nicht festgehalten werden.");
            ScriptedDialogs boxen;
            if (imWeg || fremd) boxen.expect(vbOK);
            std::optional<STARTHALT> halt;
            if (!imWeg) halt.emplace(laufmarkeEntfernen);
            const QByteArray vorher = fremd ? inhalt(labor.ARBEITSKOPIE()) : QByteArray();
            frmMAINFENSTER f;
            const bool geladen = f.MDIForm_Load();
            halt.reset();
            if (imWeg || fremd) {
                ASSERT_EQ(boxen.boxes().size(), 1);
                EXPECT_EQ(boxen.boxes().first().prompt,
                          QStringLiteral("Der Zustand der Arbeitskopie kann im Ordner ") +
                              g_zustand + grund +
                              QString::fromUtf8("\r\nDieser Lauf ändert nichts an der "
                                                "Arbeitskopie; sie bleibt, wie sie ist."));
            }
            if (fremd) {
                // The start ends: this project's work never goes into
                // another project's copy.
                EXPECT_FALSE(geladen);
                EXPECT_EQ(inhalt(labor.ARBEITSKOPIE()), vorher);
                EXPECT_EQ(QDir(ordner).entryList({QStringLiteral("*.mdb")}, QDir::Files),
                          QStringList{QStringLiteral("VELD.mdb")});
                continue;
            }
            ASSERT_TRUE(geladen);
            const QByteArray gemacht = inhalt(labor.ARBEITSKOPIE());
            boxen.clear();
            boxen.expect(vbOK);
            f.mnuKOMPRIMIEREN_Click();
            if (!imWeg) {
                // Its life known from the copy itself, the run made its mark
                // anew, and one that says the copy holds unsaved changes
                // (what the marks that went said is unknown); it compacts.
                ASSERT_EQ(boxen.boxes().size(), 1);
                EXPECT_TRUE(boxen.boxes().first().prompt.startsWith(
                    QStringLiteral("Datenbank wurde um")));
                EXPECT_EQ(QDir(g_zustand).entryList({QStringLiteral("*.lauf")}).size(), 1);
                EXPECT_EQ(QDir(g_zustand).entryList({QStringLiteral("*.geaendert")}).size(), 1);
                continue;
            }
            ASSERT_EQ(boxen.boxes().size(), 1);
            EXPECT_EQ(boxen.boxes().first().prompt,
                      QStringLiteral("VB-Error: 3050\r\nDie Arbeitskopie wird nicht geändert: "
                                     "ihr Zustand kann im Ordner ") +
                          g_zustand + grund);
            EXPECT_EQ(inhalt(labor.ARBEITSKOPIE()), gemacht);
            EXPECT_TRUE(f.DBPROJEKT()->IsOpen());
        }
}

// A print and a redraw change nothing in the copy, and a store refused for
// its value is rolled back: after a Save they mark no change, and the quit
// asks nothing.
TEST_F(KOPIEZUSTAND, APrintARedrawAndARefusedStoreAfterASaveMarkNoChange) {
    mdiSEITE1* s = berechnen();
    ASSERT_NE(s, nullptr);
    f.mnuSPEICHERN_Click();
    ASSERT_FALSE(f.BOGEAENDERT());
    QTest::mouseClick(f.stbMAIN->Panels(11), Qt::LeftButton);
    EXPECT_EQ(druckdialoge, 1);
    QTest::mouseClick(s->FORM, Qt::LeftButton, {}, QPoint(5, 5));
    frmKONTEXT::GELADEN()->cmdOK->click();
    // The axis dialog's OK with the ranges as they are draws the figure anew.
    bool achsen = false;
    QTimer::singleShot(0, [&] {
        if (auto* d = qobject_cast<frmKONTEXT11*>(QApplication::activeModalWidget())) {
            achsen = true;
            d->cmdOK->click();
        }
    });
    QTest::mouseClick(s->picBILD11, Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_TRUE(achsen);
    QTest::keyClick(s, Qt::Key_Escape);
    f.mnuNEU->trigger();
    EINGABEFENSTER::GELADEN()->txtKEN->setText(QStringLiteral("N-2"));
    EINGABEFENSTER::GELADEN()->txtMS->setText(QStringLiteral("1O0,5"));
    boxen.expect(vbOK, QStringLiteral("1O0,5"));
    QTest::keyClick(EINGABEFENSTER::GELADEN()->txtKEN, Qt::Key_S, Qt::ControlModifier);
    f.stbMAIN_PanelClick(9);
    boxen.clear();
    EXPECT_FALSE(f.BOGEAENDERT());
    EXPECT_TRUE(QDir(QFileInfo(labor.ARBEITSKOPIE()).path() + QStringLiteral("/VELD.zustand"))
                    .entryList({QStringLiteral("*.geaendert")}, QDir::Files)
                    .isEmpty());
    f.mnuBEENDEN_Click();
    EXPECT_TRUE(f.ENTLADEN());
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

// A refused write ends its command with one box that says why: the state
// folder of a run whose mark vanished, a copy that takes no write.
TEST_F(KOPIEZUSTAND, ARefusedWriteIsToldOnceAsWhatItIs) {
    const QString zustand =
        QFileInfo(labor.ARBEITSKOPIE()).path() + QStringLiteral("/VELD.zustand");
    const struct {
        const char* fall;
        QString text;
        std::function<void()> tun;
    } faelle[] = {
        {"Calculate First without the run's mark",
         QString::fromUtf8("VB-Error: 3050\r\nDie Arbeitskopie wird nicht geändert: ihr "
                           "Zustand kann im Ordner ") +
             zustand,
         [&] {
             // A folder in the mark's place: it cannot be made anew.
             for (const QString& lauf : QDir(zustand).entryList({QStringLiteral("*.lauf")})) {
                 QFile::remove(zustand + QLatin1Char('/') + lauf);
                 QDir().mkdir(zustand + QLatin1Char('/') + lauf);
             }
             f.mnuAUSWERTEN_Click();
             f.mnuNEUBERECHNEN->trigger();
         }},
        {"a store into a read-only copy", QString::fromUtf8("schreibgeschützt"),
         [&] {
             f.DBPROJEKT()->Execute(QStringLiteral("PRAGMA query_only=1"));
             f.mnuNEU->trigger();
             EINGABEFENSTER::GELADEN()->txtKEN->setText(QStringLiteral("A-2"));
             QTest::keyClick(EINGABEFENSTER::GELADEN()->txtKEN, Qt::Key_S, Qt::ControlModifier);
             f.stbMAIN_PanelClick(9);
         }},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.fall);
        boxen.clear();
        boxen.expect(vbOK, fall.text);
        fall.tun();
        ASSERT_EQ(boxen.boxes().size(), 1);
        EXPECT_FALSE(boxen.boxes()[0].prompt.contains(QStringLiteral("kann nicht in die Spalte")));
        EXPECT_EQ(Forms::Find(QStringLiteral("mdiSEITE1")), nullptr);
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("P-1"));
    }
}

// A file takes the place of the state folder after the run stored: no mark
// shows what it stored any more, and the quit asks all the same.
TEST_F(HAUPTFENSTERTEST, WhatARunStoredIsUnsavedWhenItsStateFolderWent) {
    const QString zustand =
        QFileInfo(labor.ARBEITSKOPIE()).path() + QStringLiteral("/VELD.zustand");
    ASSERT_TRUE(QDir(zustand).removeRecursively() && QFile(zustand).open(QIODevice::WriteOnly));
    boxen.expect(vbCancel, QString::fromUtf8("Sollen die Änderungen in Projekt TE0001.00"));
    f.mnuBEENDEN_Click();
    EXPECT_FALSE(f.ENTLADEN());
}

namespace {
// A file system that keeps no byte locks: the lock on the copy is refused.
struct OHNESPERRE {
    OHNESPERRE() { FileLock::RefuseByteLocks(EINVAL); }
    ~OHNESPERRE() { FileLock::RefuseByteLocks(0); }
};
} // namespace

// Without the copy's lock, a run stores and quits with No: the copy stays.
// The next start asks about it, told that it cannot know whether a run works
// on it, and saves; nothing the user threw away reaches the project unasked.
TEST(Kopiezustand, WithoutTheCopysLockWhatTheUserThrewAwayIsAskedAboutAtTheNextStart) {
    const QString keineSperren = QString::fromUtf8("(VELD.mdb kann nicht gesperrt werden: das "
                                                   "Dateisystem hält keine Sperren)");
    for (const bool ja : {true, false}) {
        SHELLLABOR labor;
        const OHNESPERRE ohneSperre;
        ScriptedDialogs boxen;
        boxen.expect(vbOK, keineSperren);
        boxen.expect(vbNo, QString::fromUtf8("Sollen die Änderungen in Projekt TE0001.00"));
        boxen.expect(ja ? vbYes : vbNo,
                     QString::fromUtf8("kann dieser Start nicht erkennen ") + keineSperren +
                         QString::fromUtf8(".\r\nSollen die Änderungen behalten werden? Bei Nein "
                                           "wird die Arbeitskopie durch das Projekt TE0001.00 "
                                           "ersetzt."));
        for (const bool erster : {true, false}) {
            frmMAINFENSTER f;
            ASSERT_TRUE(f.MDIForm_Load());
            if (erster)
                f.DBPROJEKT()->Execute(
                    QStringLiteral("INSERT INTO [E1] ([ID],[KEN]) VALUES (10,'W10')"));
            else
                f.mnuSPEICHERN_Click();
            f.mnuBEENDEN_Click();
        }
        EXPECT_EQ(boxen.boxes().size(), 3);
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), ja ? "W10" : "") << ja;
    }
}

// Without the copy's lock, a copy without changes is kept at every start: the
// start brings it up to what the project holds now, and the run, having
// changed nothing, is asked nothing at its quit.
TEST(Kopiezustand, WithoutTheCopysLockAKeptCopyIsBroughtUpToTheProject) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
    const OHNESPERRE ohneSperre;
    ScriptedDialogs boxen;
    boxen.expect(vbOK, QStringLiteral("das Dateisystem hält keine Sperren"));
    {
        frmMAINFENSTER f;
        ASSERT_TRUE(f.MDIForm_Load());
        f.mnuBEENDEN_Click();
    }
    ASSERT_TRUE(QFileInfo::exists(labor.ARBEITSKOPIE()));
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 2, QStringLiteral("W2"));
    boxen.expect(vbOK, QStringLiteral("das Dateisystem hält keine Sperren"));
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("ALT,W2"));
    EXPECT_FALSE(f.BOGEAENDERT());
    EXPECT_EQ(f.PANELTEXT(7), QString::fromUtf8("Von anderen übernommen: W2"));
    f.mnuBEENDEN_Click();
    EXPECT_TRUE(f.ENTLADEN());
    EXPECT_EQ(boxen.boxes().size(), 2);
}
