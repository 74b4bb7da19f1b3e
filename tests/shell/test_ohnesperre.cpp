// A file system that keeps no byte locks (every lock on the copy itself
// refused with EINVAL): no run is ever sure to be alone with the copy, and
// still nothing the user threw away reaches the project unasked, and nothing
// a run stored is lost or refused because a file beside the copy went.

#include "SHELLLABOR.h"
#include "support/ScriptedDialogs.h"

#include "platform/database/Connection.h"
#include "platform/runtime/FileLock.h"
#include "platform/runtime/RuntimeError.h"
#include "shell/frmMAINFENSTER.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct OHNESPERRE {
    OHNESPERRE() { FileLock::RefuseByteLocks(EINVAL); }
    ~OHNESPERRE() { FileLock::RefuseByteLocks(0); }
};

QString grund() {
    return QString::fromUtf8("VELD.mdb kann nicht gesperrt werden: das Dateisystem hält keine "
                             "Sperren");
}

// The box of every start under such a file system.
QString meldung(const SHELLLABOR& labor) {
    return QStringLiteral("Im Ordner ") + QFileInfo(labor.ARBEITSKOPIE()).path() +
           QString::fromUtf8(" können mehrere Läufe von VELD nichts voneinander wissen (") +
           grund() + QStringLiteral(").");
}

const QString kFrage = QString::fromUtf8("Sollen die Änderungen in Projekt TE0001.00");

void speichern(frmMAINFENSTER& f, int id) {
    f.DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (?,?,0)"),
                           {id, QStringLiteral("W%1").arg(id)});
}

} // namespace

// The user stored a record and quit with No; the copy stays, since the run
// could not know that it was alone. The next start offers it, told that it
// cannot tell whether another run works on it: No gives the project's
// records, and a Save then writes nothing that was thrown away; Yes keeps
// the record as unsaved.
TEST(Ohnesperre, WhatTheUserThrewAwayIsOfferedAtTheNextStartAndNeverSavedUnasked) {
    for (const bool ja : {true, false}) {
        SCOPED_TRACE(ja);
        SHELLLABOR labor;
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
        const OHNESPERRE ohneSperre;
        {
            ScriptedDialogs boxen;
            boxen.expect(vbOK, meldung(labor));
            frmMAINFENSTER f;
            ASSERT_TRUE(f.MDIForm_Load());
            speichern(f, 10);
            boxen.expect(vbNo, kFrage);
            f.mnuBEENDEN_Click();
            EXPECT_TRUE(f.ENTLADEN());
        }
        ASSERT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("ALT,W10"));

        ScriptedDialogs boxen;
        boxen.expect(ja ? vbYes : vbNo);
        frmMAINFENSTER f;
        ASSERT_TRUE(f.MDIForm_Load());
        ASSERT_EQ(boxen.boxes().size(), 1);
        EXPECT_EQ(boxen.boxes().first().prompt,
                  QStringLiteral("Die Arbeitskopie im Ordner ") +
                      QFileInfo(labor.ARBEITSKOPIE()).path() +
                      QString::fromUtf8(" enthält Änderungen, die nicht gespeichert sind. Ob noch "
                                        "ein anderer Lauf von VELD an ihr arbeitet, kann dieser "
                                        "Start nicht erkennen (") +
                      grund() +
                      QString::fromUtf8(").\r\nSollen die Änderungen behalten werden? Bei Nein "
                                        "wird die Arbeitskopie durch das Projekt TE0001.00 "
                                        "ersetzt.\r\nDie Arbeitskopie bleibt auch nach dem Ende "
                                        "dieses Laufs erhalten."));
        EXPECT_EQ(boxen.boxes().first().style, vbYesNo + vbQuestion);
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()),
                  ja ? QStringLiteral("ALT,W10") : QStringLiteral("ALT"));
        EXPECT_EQ(f.BOGEAENDERT(), ja);
        f.mnuSPEICHERN_Click();
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()),
                  ja ? QStringLiteral("ALT,W10") : QStringLiteral("ALT"));
        f.mnuBEENDEN_Click();
        EXPECT_TRUE(f.ENTLADEN());
        EXPECT_EQ(boxen.boxes().size(), 1);
    }
}

// A run stored a record, then its run mark or the whole state folder went.
// Its mark only says that it lives, which is true: it makes the mark anew
// and goes on storing. A folder that a file replaced cannot be made anew:
// the store is refused, and what the run stored before, which no mark shows
// any more, is unsaved all the same: the quit asks, and Yes saves it.
TEST(Ohnesperre, ARunWhoseStateWentRenewsItOrAsksForWhatItStoredAtItsQuit) {
    const struct {
        const char* fall;
        std::function<void(const QString& zustand)> weg;
        bool erneuert;
    } faelle[] = {
        {"run mark deleted",
         [](const QString& zustand) {
             for (const QString& lauf : QDir(zustand).entryList({QStringLiteral("*.lauf")}))
                 QFile::remove(zustand + QLatin1Char('/') + lauf);
         },
         true},
        {"state folder deleted",
         [](const QString& zustand) { QDir(zustand).removeRecursively(); }, true},
        {"state folder replaced by a file",
         [](const QString& zustand) {
             QDir(zustand).removeRecursively();
             QFile(zustand).open(QIODevice::WriteOnly);
         },
         false},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.fall);
        SHELLLABOR labor;
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
        const QString zustand =
            QFileInfo(labor.ARBEITSKOPIE()).path() + QStringLiteral("/VELD.zustand");
        const OHNESPERRE ohneSperre;
        ScriptedDialogs boxen;
        boxen.expect(vbOK, meldung(labor));
        frmMAINFENSTER f;
        ASSERT_TRUE(f.MDIForm_Load());
        speichern(f, 10);
        fall.weg(zustand);

        int fehler = 0;
        try {
            speichern(f, 11);
        } catch (const RuntimeError& e) {
            fehler = e.Number();
        }
        EXPECT_EQ(fehler, fall.erneuert ? 0 : 3050);
        EXPECT_EQ(QDir(zustand).entryList({QStringLiteral("*.lauf")}, QDir::Files).size(),
                  fall.erneuert ? 1 : 0);
        EXPECT_TRUE(f.BOGEAENDERT());
        boxen.expect(vbYes, kFrage);
        f.mnuBEENDEN_Click();
        EXPECT_TRUE(f.ENTLADEN());
        EXPECT_EQ(boxen.boxes().size(), 2);
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()),
                  fall.erneuert ? QStringLiteral("ALT,W10,W11") : QStringLiteral("ALT,W10"));
    }
}
