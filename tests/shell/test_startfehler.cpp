// Starts that cannot go on: the project database held by another program,
// damaged or missing at a first start, and a working copy that a run left
// damaged. A start ends at its first failed wait or refusal with one box and
// never shows a main window whose copy is not open; a damaged left copy is
// put aside, never lost, and the start goes on with a fresh copy.

#include "SHELLLABOR.h"
#include "support/ScriptedDialogs.h"

#include "platform/database/BusyWait.h"
#include "platform/database/Connection.h"
#include "shell/frmMAINFENSTER.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {
QByteArray inhalt(const QString& datei) {
    QFile lesen(datei);
    return lesen.open(QIODevice::ReadOnly) ? lesen.readAll() : QByteArray();
}

void schreiben(const QString& datei, const QByteArray& bytes) {
    QFile f(datei);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The texts of the waiting windows, one for each time one shows.
struct Wartefenster : QObject {
    Wartefenster() { qApp->installEventFilter(this); }
    ~Wartefenster() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* objekt, QEvent* ereignis) override {
        if (ereignis->type() == QEvent::Show &&
            objekt->objectName() == QLatin1String("frmWARTEN"))
            if (auto* fenster = qobject_cast<QProgressDialog*>(objekt))
                texte << fenster->labelText();
        return false;
    }
    QStringList texte;
};
} // namespace

// A first start on a project database that another program holds for the
// whole start, that is damaged, or that is missing: one box says why, the
// start ends before its main window, the project database is as it was and
// nothing is left beside the copy. A held one is waited for once.
TEST(Startfehler, AFirstStartOnAProjectThatCannotBeReadEndsWithOneBox) {
    for (const QString& fall :
         {QStringLiteral("gehalten"), QStringLiteral("beschaedigt"), QStringLiteral("fehlt")}) {
        SCOPED_TRACE(fall.toStdString());
        SHELLLABOR labor;
        const QString projekt = labor.PROJEKTDATENBANK();
        QString grund;
        if (fall == QLatin1String("beschaedigt")) {
            QByteArray bytes = inhalt(projekt);
            bytes.replace(0, 16, QByteArray(16, 'x'));
            schreiben(projekt, bytes);
            grund = QString::fromUtf8("Die Datenbank %1 ist beschädigt.").arg(projekt);
        } else if (fall == QLatin1String("fehlt")) {
            ASSERT_TRUE(QFile::remove(projekt));
            grund = QStringLiteral("Die Datei '%1' wurde nicht gefunden.").arg(projekt);
        } else {
            grund = QStringLiteral("Die Datenbank ") + projekt +
                    QString::fromUtf8(" ist gerade von einem anderen Lauf oder Programm gesperrt; "
                                      "es wurde nichts geändert.");
        }
        const QByteArray vorher = inhalt(projekt);
        BusyWait::SetTimeoutLimit(2000);
        Connection halter;
        if (fall == QLatin1String("gehalten")) {
            halter.Open(projekt);
            sqlite3_exec(halter.Handle(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
        }
        {
            Wartefenster warten;
            ScriptedDialogs boxen;
            boxen.expect(vbOK);
            frmMAINFENSTER f;
            EXPECT_FALSE(f.MDIForm_Load());
            ASSERT_EQ(boxen.boxes().size(), 1);
            EXPECT_EQ(boxen.boxes().first().prompt.toStdString(),
                      (grund + QStringLiteral("\r\nVELD wird nicht gestartet.")).toStdString());
            EXPECT_EQ(boxen.boxes().first().style, 48);
            EXPECT_FALSE(f.isVisible());
            EXPECT_FALSE(f.DBPROJEKT()->IsOpen());
            EXPECT_EQ(labor.ADMINPROG(), QVariant(QStringLiteral("KORVA")));
            EXPECT_EQ(warten.texte.size(), fall == QLatin1String("gehalten") ? 1 : 0)
                << warten.texte.join(QLatin1Char('|')).toStdString();
            for (const QString& text : warten.texte)
                EXPECT_TRUE(text.contains(projekt)) << text.toStdString();
        }
        halter.Close();
        BusyWait::SetTimeoutLimit(0);
        EXPECT_EQ(inhalt(projekt), vorher);
        const QString ordner = QFileInfo(labor.ARBEITSKOPIE()).path();
        EXPECT_EQ(QDir(ordner).entryList({QStringLiteral("*VELD.mdb*")},
                                         QDir::Files | QDir::Hidden),
                  QStringList());
    }
}

// A copy that an interrupted run left damaged is not offered: it is put aside
// with its bytes as they were, the user is told where, and the start goes on
// with a fresh copy of the project on which the main window works.
TEST(Startfehler, ADamagedLeftCopyIsPutAsideAndTheStartGoesOnWithAFreshCopy) {
    for (const QString& sprache : {QStringLiteral("de"), QStringLiteral("en")}) {
        SHELLLABOR labor(sprache);
        SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("NEU"));
        const QString ordner = QFileInfo(labor.ARBEITSKOPIE()).path();
        QDir().mkpath(ordner);
        QByteArray kaputt = inhalt(labor.PROJEKTDATENBANK());
        kaputt.replace(0, 16, QByteArray(16, 'x'));
        schreiben(labor.ARBEITSKOPIE(), kaputt);
        schreiben(labor.HERKUNFT(),
                  QFileInfo(labor.PROJEKTDATENBANK()).absoluteFilePath().toUtf8() + "\n");

        const QString beiseite = ordner + QStringLiteral("/VELD_beschaedigt.mdb");
        ScriptedDialogs boxen;
        boxen.expect(vbOK);
        frmMAINFENSTER f;
        ASSERT_TRUE(f.MDIForm_Load());
        ASSERT_EQ(boxen.boxes().size(), 1);
        EXPECT_EQ(boxen.boxes().first().prompt,
                  sprache == QLatin1String("de")
                      ? QString::fromUtf8("Die Arbeitskopie, die ein unterbrochener Lauf "
                                          "hinterlassen hat, ist beschädigt und kann nicht benutzt "
                                          "werden. Sie liegt unter ") +
                            beiseite +
                            QStringLiteral(".\r\nEs wird mit einer neuen Kopie des Projekts "
                                           "TE0001.00 weitergearbeitet.")
                      : QStringLiteral("The working copy left by an interrupted run is damaged "
                                       "and cannot be used. It has been kept as ") +
                            beiseite +
                            QStringLiteral(".\r\nThe work goes on with a new copy of project "
                                           "TE0001.00."));
        EXPECT_EQ(boxen.boxes().first().style, 48);
        EXPECT_EQ(boxen.boxes().first().title, QStringLiteral("VELD"));
        EXPECT_EQ(inhalt(beiseite), kaputt);
        EXPECT_TRUE(f.isVisible());
        ASSERT_TRUE(f.DBPROJEKT()->IsOpen());
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("NEU"));
        EXPECT_FALSE(f.BOGEAENDERT());
        f.mnuBEENDEN_Click();
        EXPECT_EQ(inhalt(beiseite), kaputt);
    }
}
