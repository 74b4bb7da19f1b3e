// Starts that cannot go on end at their first failed wait with one box; a
// damaged copy that a run left is put aside and a fresh copy made.

#include "SHELLLABOR.h"
#include "support/ScriptedDialogs.h"

#include "platform/database/BusyWait.h"
#include "platform/database/Connection.h"
#include "shell/frmMAINFENSTER.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {
QByteArray inhalt(const QString& datei) {
    QFile lesen(datei);
    return lesen.open(QIODevice::ReadOnly) ? lesen.readAll() : QByteArray();
}

// The bytes of a database whose header is overwritten.
QByteArray beschaedigt(const QString& datei) {
    return inhalt(datei).replace(0, 16, QByteArray(16, 'x'));
}

// The text of each waiting window as it shows.
struct Wartefenster : QObject {
    Wartefenster() { qApp->installEventFilter(this); }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show && o->objectName() == QLatin1String("frmWARTEN"))
            texte << qobject_cast<QProgressDialog*>(o)->labelText();
        return false;
    }
    QStringList texte;
};
} // namespace

// A first start on a project database that another program holds for the
// whole start: one wait, naming the project database, one box, no main
// window, the project as it was and nothing made beside the copy.
TEST(Startfehler, AFirstStartOnAHeldProjectEndsAtItsFirstWaitWithOneBox) {
    SHELLLABOR labor;
    const QString projekt = labor.PROJEKTDATENBANK();
    const QByteArray vorher = inhalt(projekt);
    Connection halter(projekt);
    sqlite3_exec(halter.Handle(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    BusyWait::SetTimeoutLimit(2000);
    Wartefenster warten;
    ScriptedDialogs boxen;
    boxen.expect(vbOK, QStringLiteral("Die Datenbank ") + projekt +
                           QString::fromUtf8(" ist gerade von einem anderen Lauf oder Programm "
                                             "gesperrt; es wurde nichts geändert.\r\nVELD wird "
                                             "nicht gestartet."));
    frmMAINFENSTER f;
    EXPECT_FALSE(f.MDIForm_Load());
    BusyWait::SetTimeoutLimit(0);
    halter.Close();
    EXPECT_EQ(boxen.boxes().size(), 1);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(labor.ADMINPROG(), QVariant(QStringLiteral("KORVA")));
    ASSERT_EQ(warten.texte.size(), 1) << warten.texte.join('|').toStdString();
    EXPECT_TRUE(warten.texte.first().contains(projekt));
    EXPECT_EQ(inhalt(projekt), vorher);
    EXPECT_EQ(QDir(QFileInfo(labor.ARBEITSKOPIE()).path())
                  .entryList({QStringLiteral("*VELD.mdb*")}, QDir::Files | QDir::Hidden),
              QStringList());
}

// A damaged copy that an interrupted run left is not offered: it is put aside
// as it was, the user is told where, and the main window works on a fresh
// copy of the project.
TEST(Startfehler, ADamagedLeftCopyIsPutAsideAndTheStartGoesOnWithAFreshCopy) {
    SHELLLABOR labor;
    SHELLLABOR::DATENSATZ(labor.PROJEKTDATENBANK(), 1, QStringLiteral("NEU"));
    const QString ordner = QFileInfo(labor.ARBEITSKOPIE()).path();
    const QByteArray kaputt = beschaedigt(labor.PROJEKTDATENBANK());
    QDir().mkpath(ordner);
    QFile kopie(labor.ARBEITSKOPIE());
    ASSERT_TRUE(kopie.open(QIODevice::WriteOnly) && kopie.write(kaputt));
    kopie.close();

    ScriptedDialogs boxen;
    boxen.expect(vbOK, QString::fromUtf8("Die Arbeitskopie, die ein unterbrochener Lauf "
                                         "hinterlassen hat, ist beschädigt und kann nicht benutzt "
                                         "werden. Sie liegt unter ") +
                           ordner +
                           QStringLiteral("/VELD_beschaedigt.mdb.\r\nEs wird mit einer neuen "
                                          "Kopie des Projekts TE0001.00 weitergearbeitet."));
    frmMAINFENSTER f;
    ASSERT_TRUE(f.MDIForm_Load());
    EXPECT_EQ(boxen.boxes().size(), 1);
    ASSERT_TRUE(f.DBPROJEKT()->IsOpen());
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("NEU"));
    f.mnuBEENDEN_Click();
    EXPECT_EQ(inhalt(ordner + QStringLiteral("/VELD_beschaedigt.mdb")), kaputt);
}
