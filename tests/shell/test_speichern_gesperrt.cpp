// File, Save while another program holds the project database for writing:
// the Save waits for it with the waiting window and, cancelled or timed out,
// ends with one box that names the project database. The project file stays
// the one the other program has open, and its work goes on.

#include "SHELLLABOR.h"
#include "support/ScriptedDialogs.h"

#include "platform/database/BusyWait.h"
#include "shell/frmMAINFENSTER.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {
struct stat kennung(const QString& datei) {
    struct stat info {};
    ::stat(QFile::encodeName(datei).constData(), &info);
    return info;
}
} // namespace

TEST(SpeichernGesperrt, AHeldProjectIsWaitedForAndNeverReplaced) {
    for (const bool abbrechen : {true, false}) {
        SCOPED_TRACE(abbrechen);
        SHELLLABOR labor;
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("ALT"));
        ScriptedDialogs boxen;
        frmMAINFENSTER f;
        ASSERT_TRUE(f.MDIForm_Load());
        SHELLLABOR::DATENSATZ(f.XMDBPFAD(), 2, QStringLiteral("NEU"));
        f.SETZEBOGEAENDERT(true);

        const QString projekt = labor.PROJEKTDATENBANK();
        const struct stat vorher = kennung(projekt);
        // Another program, in the middle of its work.
        sqlite3* halter = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(projekt).constData(), &halter), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(halter,
                               "BEGIN IMMEDIATE; "
                               "INSERT INTO E1 (ID,KEN,AKT) VALUES (3,'HALTER',0)",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);

        // The waiting window shows after a second; it is cancelled, or the
        // time-out (shortened) passes.
        BusyWait::SetTimeoutLimit(abbrechen ? 20000 : 1600);
        QString text;
        QTimer::singleShot(1300, &f, [&] {
            for (QWidget* fenster : QApplication::topLevelWidgets())
                if (fenster->objectName() == QLatin1String("frmWARTEN") && fenster->isVisible()) {
                    text = fenster->findChild<QLabel*>()->text();
                    if (abbrechen) fenster->findChild<QPushButton*>()->click();
                }
        });
        const QString gesperrt = QStringLiteral("VB-Error: %1\r\nDie Datenbank ") + projekt +
                                 QStringLiteral(" ist gerade von einem anderen Lauf oder "
                                                "Programm gesperrt; ");
        boxen.expect(vbOK);
        f.mnuSPEICHERN_Click();
        BusyWait::SetTimeoutLimit(0);

        EXPECT_EQ(text, QStringLiteral("Die Datenbank ") + projekt +
                            QStringLiteral(" wird gerade von einem anderen Lauf oder Programm "
                                           "benutzt.\nDer Befehl wartet, bis sie frei ist."));
        ASSERT_EQ(boxen.boxes().size(), 1);
        EXPECT_EQ(boxen.boxes().first().prompt,
                  abbrechen ? gesperrt.arg(18) + QString::fromUtf8("das Warten darauf wurde "
                                                                   "abgebrochen, es wurde "
                                                                   "nichts geändert.")
                            : gesperrt.arg(3218) + QString::fromUtf8("es wurde nichts geändert."));
        EXPECT_EQ(boxen.boxes().first().style, vbOKOnly + vbExclamation);
        EXPECT_EQ(boxen.boxes().first().title, QStringLiteral("&Speichern"));

        // The same file, and its holder's work goes on to its commit.
        const struct stat nachher = kennung(projekt);
        EXPECT_EQ(nachher.st_dev, vorher.st_dev);
        EXPECT_EQ(nachher.st_ino, vorher.st_ino);
        EXPECT_EQ(sqlite3_exec(halter, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(halter);
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(projekt), QStringLiteral("ALT,HALTER"));

        // The change stays unsaved in the copy: the quit asks.
        EXPECT_TRUE(f.BOGEAENDERT());
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(f.XMDBPFAD()), QStringLiteral("ALT,NEU"));
        boxen.expect(vbNo, QString::fromUtf8("Sollen die Änderungen in Projekt TE0001.00"));
        f.mnuBEENDEN_Click();
        EXPECT_EQ(boxen.boxes().size(), 2);
    }
}
