// What a technician meets in the real main window: the input window's
// panels answer a click where they are seen whatever the status line holds,
// OK of the selection dialog acts on what the words below its list name, and
// the advice of the Save's and the quit's questions can be followed.

#include "HAUPTFENSTERTEST.h"

#include "shell/STATUSLEISTE.h"
#include "shell/frmAUSWAHL.h"
#include "support/KINDPROZESS.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace {

class Eingabewege : public HAUPTFENSTERTEST {
protected:
    // A click where the user sees the widget, sent to whatever lies there.
    void klick(QWidget* ziel) {
        const QPoint imFenster = ziel->mapTo(ziel->window(), ziel->rect().center());
        QWidget* darunter = ziel->window()->childAt(imFenster);
        ASSERT_NE(darunter, nullptr);
        QTest::mouseClick(darunter, Qt::LeftButton, {}, darunter->mapFrom(ziel->window(), imFenster));
    }
    // The selection dialog that the command opens, once it stands active,
    // is handed to `tun`, as to a user who types and clicks in it.
    void imDialog(QAction* befehl, const std::function<void(frmAUSWAHL&)>& tun) {
        aktivieren();
        QTimer::singleShot(0, &f, [&] {
            auto* dialog = qobject_cast<frmAUSWAHL*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->activateWindow();
            // The dialog stands on the main window, which counts as active for
            // Qt's own wait: wait until the dialog itself is.
            ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->isActiveWindow(); }));
            dialog->lstKEN->setFocus();
            tun(*dialog);
        });
        befehl->trigger();
    }
    QString kennungen() {
        QStringList k;
        Recordset rs(QStringLiteral("SELECT [KEN] FROM [E1] ORDER BY [KEN]"), *f.DBPROJEKT());
        for (; !rs.Eof(); rs.MoveNext())
            k << rs.Value(QStringLiteral("KEN")).toString();
        return k.join(QLatin1Char(','));
    }
};

} // namespace

// A note too long for its place stands on a row of its own above the panels;
// OK and Abbrechen still answer a click at the place the user sees them.
TEST_F(Eingabewege, TheInputPanelsAnswerAClickWhileALongNoteStands) {
    const QString note = QString::fromUtf8(
        "Von anderen übernommen: T-B, T-C (gelöscht), T-D, T-E, T-F, T-G, T-H und 3 weitere; "
        "die Arbeitskopie hält jetzt, was das Projekt von ihnen hält.");
    for (const int panel : {8, 9}) {
        SCOPED_TRACE(panel);
        f.HINWEISEN(note, note);
        f.mnuNEU->trigger();
        tippen(QStringLiteral("N-%1").arg(panel));
        for (int runde = 0; runde < 5; ++runde)
            QApplication::processEvents();
        PANEL* knopf = f.stbMAIN->Panels(panel);
        ASSERT_LT(f.stbMAIN->Panels(7)->y(), knopf->y()) << "the note is not on a row of its own";
        klick(knopf);
        EXPECT_EQ(EINGABEFENSTER::GELADEN(), nullptr);
        EXPECT_EQ(knopf->Bevel(), PANEL::sbrRaised);
    }
    EXPECT_EQ(kennungen(), QStringLiteral("N-8,P-1"));
}

// File, Delete and File, Select with T-B active: typing T-C chooses T-C in
// place of T-B, the words below the list say so, and OK acts on T-C alone.
TEST_F(Eingabewege, TypingAnIdentifierChoosesWhatOkActsOn) {
    f.DBPROJEKT()->Execute(
        QStringLiteral("UPDATE [E1] SET [AKT]=0;"
                       "INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (2,'T-B',1),(3,'T-C',0)"));
    const struct {
        QAction* befehl;
        QString vorher, nachher, geblieben, aktiv;
    } faelle[] = {
        {f.mnuAUSWAHL, QString::fromUtf8("OK wählt: T-B (beim Öffnen der Liste aktiv)."),
         QString::fromUtf8("OK wählt: T-C."), QStringLiteral("P-1,T-B,T-C"), QStringLiteral("T-C")},
        {f.mnuLOESCHEN, QString::fromUtf8("OK löscht: T-C (beim Öffnen der Liste aktiv)."),
         QString::fromUtf8("OK löscht: T-B."), QStringLiteral("P-1,T-C"), QString()},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.befehl->objectName().toStdString());
        QString vorher, nachher;
        if (fall.befehl == f.mnuLOESCHEN)
            boxen.expect(vbOK, QString::fromUtf8("Datensatz T-B wird gelöscht!"));
        imDialog(fall.befehl, [&](frmAUSWAHL& dialog) {
            vorher = dialog.lblHINWEIS->text();
            tippen(fall.vorher.contains(QLatin1String("T-B")) ? QStringLiteral("T-C")
                                                                 : QStringLiteral("T-B"));
            nachher = dialog.lblHINWEIS->text();
            klick(dialog.cmdOK);
        });
        EXPECT_EQ(vorher.toStdString(), fall.vorher.toStdString());
        EXPECT_EQ(nachher.toStdString(), fall.nachher.toStdString());
        EXPECT_EQ(kennungen().toStdString(), fall.geblieben.toStdString());
        EXPECT_EQ(wert(QStringLiteral("SELECT group_concat([KEN]) FROM [E1] WHERE [AKT]"))
                      .toString()
                      .toStdString(),
                  fall.aktiv.toStdString());
    }
}

namespace {

void starten(QProcess& lauf, const SHELLLABOR& labor, const char* anmeldename) {
    KINDPROZESS::STARTEN(lauf, QStringLiteral("lauf"), {labor.WURZEL(), anmeldename, "keine"});
    ASSERT_EQ(KINDPROZESS::ZEILE(lauf), QStringLiteral("BEREIT 1 0"));
}

} // namespace

// Two users each made a new test T-X. The Save's box gives the steps that
// keep both; followed through the windows, the next Save asks nothing and
// the project holds the colleague's T-X and this user's test as T-Y.
TEST_F(Eingabewege, TheAdviceForTwoNewTestsUnderOneIdentifierKeepsBoth) {
    f.mnuSPEICHERN_Click();
    QProcess anderer;
    starten(anderer, labor, "anderer");
    EXPECT_EQ(KINDPROZESS::BEFEHL(anderer, QStringLiteral("NEU T-X 5")), QStringLiteral("OK 0"));
    EXPECT_EQ(KINDPROZESS::BEFEHL(anderer, QStringLiteral("SPEICHERN")), QStringLiteral("OK 0"));
    EXPECT_EQ(KINDPROZESS::BEFEHL(anderer, QStringLiteral("ENDE")), QStringLiteral("OK 0"));
    ASSERT_TRUE(anderer.waitForFinished());

    f.mnuNEU->trigger();
    tippen(QStringLiteral("T-X"));
    klick(f.stbMAIN->Panels(8));
    boxen.expect(vbCancel,
                 QString::fromUtf8("Unter diesen Kennungen wurde hier und dort je ein neuer "
                                   "Datensatz angelegt: T-X. Ja und Nein behalten je einen der "
                                   "beiden. Um beide zu behalten, wählen Sie Abbrechen; öffnen "
                                   "Sie Ihren Datensatz (Datei, Öffnen), tragen Sie im "
                                   "Eingabefenster eine andere Kennung ein und speichern Sie mit "
                                   "OK, was einen neuen Datensatz daraus macht; löschen Sie dann "
                                   "Ihren Datensatz unter der alten Kennung (Datei, Löschen) und "
                                   "speichern Sie erneut."));
    f.mnuSPEICHERN_Click();

    // The steps: open it, another identifier, OK; delete it under the old one.
    mdiEINGABE* e = oeffnen();
    ASSERT_NE(e, nullptr);
    ASSERT_EQ(e->txtKEN->text(), QStringLiteral("T-X"));
    e->txtKEN->setFocus();
    taste(Qt::Key_A, Qt::ControlModifier);
    tippen(QStringLiteral("T-Y"));
    klick(f.stbMAIN->Panels(8));
    ASSERT_EQ(EINGABEFENSTER::GELADEN(), nullptr);
    boxen.expect(vbOK, QString::fromUtf8("Datensatz T-X wird gelöscht!"));
    imDialog(f.mnuLOESCHEN, [&](frmAUSWAHL& dialog) {
        tippen(QStringLiteral("T-X"));
        klick(dialog.cmdOK);
    });

    f.mnuSPEICHERN_Click();
    EXPECT_EQ(boxen.boxes().size(), 2);
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()).split(',').size(), 3);
    Connection projekt(labor.PROJEKTDATENBANK());
    Recordset rs(QStringLiteral("SELECT [E1].[KEN],[E2].[MS] FROM [E1] LEFT JOIN [E2] "
                                "ON [E1].[ID]=[E2].[ID] ORDER BY [E1].[KEN]"),
                 projekt);
    QStringList inhalt;
    for (; !rs.Eof(); rs.MoveNext())
        inhalt << rs.Fields(0).Value().toString() + '=' + rs.Fields(1).Value().toString();
    EXPECT_EQ(inhalt.join(' ').toStdString(), "P-1=100 T-X=5 T-Y=");
}

// The quit of one of two runs of the user names what the copy holds
// unsaved and says that No leaves it for the other run, which saves it.
TEST_F(Eingabewege, TheQuitBesideAnotherRunNamesWhatStaysForIt) {
    f.mnuSPEICHERN_Click();
    QProcess zweiter;
    starten(zweiter, labor, "tester");
    f.mnuNEU->trigger();
    tippen(QStringLiteral("N-1"));
    klick(f.stbMAIN->Panels(8));
    boxen.expect(vbNo, QString::fromUtf8("Sollen die Änderungen in Projekt TE0001.00 gespeichert "
                                         "werden?\r\nUngespeichert sind: N-1. Bei Nein bleiben "
                                         "sie in der Arbeitskopie, in der Ihr anderer VELD-Lauf "
                                         "weiterarbeitet; er kann sie später speichern."));
    f.mnuBEENDEN->trigger();
    EXPECT_TRUE(f.ENTLADEN());
    EXPECT_EQ(KINDPROZESS::BEFEHL(zweiter, QStringLiteral("ENDE ja")), QStringLiteral("OK 1"));
    ASSERT_TRUE(zweiter.waitForFinished());
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.PROJEKTDATENBANK()), QStringLiteral("P-1,N-1"));
}
