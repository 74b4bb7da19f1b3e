// The selection dialog in each of its modes: what it lists and preselects,
// which clicks it refuses, the choice it leaves in E1.AKT and the answer it
// leaves in AUSWAHLMODUS.

#include "shell/frmAUSWAHL.h"
#include "HAUPTFENSTERTEST.h"
#include "support/ScriptedDialogs.h"
#include "support/TESTHAUPTFENSTER.h"

#include "platform/database/Connection.h"
#include "platform/runtime/MsgBox.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Variant.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace {

class Auswahl : public ::testing::Test {
protected:
    // A record; without `boneu` it has no A1 row (never evaluated).
    void datensatz(int id, const QString& ken, bool akt, std::optional<bool> boneu = false,
                   const QString& kom = QString())
    {
        haupt.DATENSATZANLEGEN(id, ken, kom, akt);
        if (boneu)
            haupt.DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [A1] ([ID],[BONEU]) VALUES (?,?)"),
                                       {id, *boneu});
    }

    std::unique_ptr<frmAUSWAHL> oeffnen(const QString& modus)
    {
        haupt.SETZEAUSWAHLMODUS(modus);
        auto dialog = std::make_unique<frmAUSWAHL>();
        dialog->show();
        QApplication::processEvents();
        return dialog;
    }

    static void klick(frmAUSWAHL& dialog, int zeile)
    {
        QListWidget* liste = dialog.lstKEN;
        const QRect rechteck = liste->visualItemRect(liste->item(zeile));
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, Qt::NoModifier, rechteck.center());
    }

    static QStringList eintraege(const frmAUSWAHL& dialog)
    {
        QStringList texte;
        for (int i = 0; i < dialog.lstKEN->count(); ++i) texte << dialog.lstKEN->item(i)->text();
        return texte;
    }

    static QStringList gewaehlt(const frmAUSWAHL& dialog)
    {
        QStringList texte;
        for (int i = 0; i < dialog.lstKEN->count(); ++i)
            if (dialog.lstKEN->item(i)->isSelected()) texte << dialog.lstKEN->item(i)->text();
        return texte;
    }

    // The IDs of the active records, in ID order.
    std::vector<int> aktiv()
    {
        std::vector<int> ids;
        Recordset rs(QStringLiteral("SELECT [ID] FROM [E1] WHERE [AKT]=true ORDER BY [ID]"), *haupt.DBPROJEKT());
        for (; !rs.Eof(); rs.MoveNext()) ids.push_back(rs.Fields(0).Value().toInt());
        return ids;
    }

    TESTHAUPTFENSTER haupt;
    ScriptedDialogs boxen;
};

TEST_F(Auswahl, CaptionsFollowModeAndLanguage)
{
    struct Fall {
        const char* modus;
        const char* deutsch;
        const char* englisch;
    };
    const Fall faelle[] = {{"O", "Datei/Öffnen", "File/Open"},
                           {"A", "Datei/Auswahl", "File/Select"},
                           {"L", "Datei/Löschen", "File/Delete"},
                           {"E", "Datei/Export Inf.system", "File/Export Inf.system"},
                           {"o", "Auswahl", "Auswahl"},
                           {"OK", "Auswahl", "Auswahl"}};
    for (const Fall& fall : faelle) {
        for (const int16_t sprache : {int16_t(3), int16_t(1)}) {
            haupt.SETZESPRACHE(sprache);
            const auto dialog = oeffnen(QString::fromUtf8(fall.modus));
            EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(sprache == 1 ? fall.englisch : fall.deutsch));
            EXPECT_EQ(dialog->cmdOK->text(), QStringLiteral("OK"));
            EXPECT_EQ(dialog->cmdABBRECHEN->text(), sprache == 1 ? QStringLiteral("Cancel") : QStringLiteral("Abbrechen"));
            EXPECT_TRUE(dialog->isModal());
        }
    }
}

TEST_F(Auswahl, AnEmptyProjectListsNothingAndOkAnswersOk)
{
    const auto dialog = oeffnen(QStringLiteral("A"));
    EXPECT_EQ(dialog->lstKEN->count(), 0);
    dialog->cmdOK->click();
    EXPECT_EQ(haupt.AUSWAHLMODUS(), QStringLiteral("OK"));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_F(Auswahl, ListsEveryRecordButTheMultipleEvaluationInIdentifierOrder)
{
    datensatz(3, QStringLiteral("b-2"), true);
    datensatz(1, QStringLiteral("C-1"), false);
    datensatz(2, QStringLiteral("A-7"), true);
    datensatz(0, QStringLiteral("M"), true);
    const auto dialog = oeffnen(QStringLiteral("A"));
    EXPECT_EQ(eintraege(*dialog), (QStringList{"A-7", "b-2", "C-1"}));
    EXPECT_EQ(gewaehlt(*dialog), (QStringList{"A-7", "b-2"}));
    EXPECT_EQ(frmAUSWAHL::ID(dialog->lstKEN->item(1)), 3);
}

TEST_F(Auswahl, PlacesItselfByTheMainWindow)
{
    haupt.SETZEGEOMETRIE(QRect(100, 50, 1000, 800));
    haupt.SETZEAUSWAHLMODUS(QStringLiteral("A"));
    frmAUSWAHL dialog;
    EXPECT_EQ(dialog.pos(), QPoint(100 + 1000 / 5, 50 + (800 - dialog.height()) / 3));
}

TEST_F(Auswahl, OpenPreselectsOnlyTheFirstActiveRecordAndOkKeepsOnlyIt)
{
    datensatz(1, QStringLiteral("P3"), true);
    datensatz(2, QStringLiteral("P1"), true);
    datensatz(3, QStringLiteral("P2"), true);
    datensatz(4, QStringLiteral("P0"), false);
    const auto dialog = oeffnen(QStringLiteral("O"));
    EXPECT_EQ(gewaehlt(*dialog), (QStringList{"P1"}));
    dialog->cmdOK->click();
    EXPECT_EQ(haupt.AUSWAHLMODUS(), QStringLiteral("OK"));
    EXPECT_EQ(aktiv(), (std::vector<int>{2}));
}

TEST_F(Auswahl, OpenAllowsOneChoiceOnly)
{
    datensatz(1, QStringLiteral("P1"), true);
    datensatz(2, QStringLiteral("P2"), false);
    haupt.SETZESPRACHE(1);
    const auto dialog = oeffnen(QStringLiteral("O"));
    klick(*dialog, 1);
    EXPECT_EQ(gewaehlt(*dialog), (QStringList{"P1"}));
    EXPECT_EQ(dialog->lblHINWEIS->text(),
              QStringLiteral("P1 is chosen. To choose another file, first click P1 to deselect it."));
    // The chosen one must be taken away first.
    klick(*dialog, 0);
    klick(*dialog, 1);
    EXPECT_EQ(gewaehlt(*dialog), (QStringList{"P2"}));
    dialog->cmdOK->click();
    EXPECT_EQ(aktiv(), (std::vector<int>{2}));
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_F(Auswahl, SelectRefusesARecordNotYetEvaluatedAsSecondChoice)
{
    datensatz(1, QStringLiteral("P1"), false, std::nullopt);  // no A1 row
    datensatz(2, QStringLiteral("P2"), false, true);          // flag set
    datensatz(3, QStringLiteral("P3"), false, false);
    datensatz(4, QStringLiteral("P4"), false, false);
    const auto dialog = oeffnen(QStringLiteral("A"));
    // A first choice is never refused.
    klick(*dialog, 0);
    EXPECT_EQ(gewaehlt(*dialog), (QStringList{"P1"}));
    // Evaluated records may join it; the check concerns the clicked one only.
    klick(*dialog, 2);
    EXPECT_EQ(gewaehlt(*dialog), (QStringList{"P1", "P3"}));
    boxen.expect(vbOK);
    klick(*dialog, 1);
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(boxen.boxes()[0].prompt, QStringLiteral("Datensatz P2 muß zuerst einzeln ausgewertet werden!"));
    EXPECT_EQ(boxen.boxes()[0].style, 48);
    EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("Datei/Auswahl"));
    EXPECT_EQ(gewaehlt(*dialog), (QStringList{"P1", "P3"}));
    klick(*dialog, 3);
    EXPECT_EQ(gewaehlt(*dialog), (QStringList{"P1", "P3", "P4"}));
    dialog->cmdOK->click();
    EXPECT_EQ(aktiv(), (std::vector<int>{1, 3, 4}));
}

TEST_F(Auswahl, SelectAlsoWarnsWhenAPreselectedOpenRecordIsClickedAway)
{
    haupt.SETZESPRACHE(1);
    datensatz(1, QStringLiteral("P1"), true, true);
    datensatz(2, QStringLiteral("P2"), true, false);
    datensatz(3, QStringLiteral("P3"), true, false);
    const auto dialog = oeffnen(QStringLiteral("A"));
    EXPECT_EQ(gewaehlt(*dialog), (QStringList{"P1", "P2", "P3"}));
    boxen.expect(vbOK);
    klick(*dialog, 0);
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(boxen.boxes()[0].prompt, QStringLiteral("File P1 has to be calculated first!"));
    EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("File/Select"));
    EXPECT_EQ(gewaehlt(*dialog), (QStringList{"P2", "P3"}));
}

TEST_F(Auswahl, ExportRefusesEveryRecordNotYetEvaluated)
{
    datensatz(1, QStringLiteral("P1"), false, std::nullopt);
    datensatz(2, QStringLiteral("P2"), false, false);
    const auto dialog = oeffnen(QStringLiteral("E"));
    boxen.expect(vbOK, QStringLiteral("Datensatz P1 muß zuerst einzeln ausgewertet werden!"));
    klick(*dialog, 0);
    EXPECT_TRUE(gewaehlt(*dialog).isEmpty());
    EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("Datei/Export Inf.system"));
    klick(*dialog, 1);
    EXPECT_EQ(gewaehlt(*dialog), (QStringList{"P2"}));
}

TEST_F(Auswahl, DeleteLetsEveryRecordBeChosen)
{
    datensatz(1, QStringLiteral("P1"), false, std::nullopt);
    datensatz(2, QStringLiteral("P2"), false, true);
    datensatz(3, QStringLiteral("P3"), true, false);
    const auto dialog = oeffnen(QStringLiteral("L"));
    klick(*dialog, 0);
    klick(*dialog, 1);
    EXPECT_EQ(gewaehlt(*dialog), (QStringList{"P1", "P2", "P3"}));
    dialog->cmdOK->click();
    EXPECT_EQ(aktiv(), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_F(Auswahl, CancelKeepsTheOldChoice)
{
    datensatz(1, QStringLiteral("P1"), true);
    datensatz(2, QStringLiteral("P2"), false);
    const auto dialog = oeffnen(QStringLiteral("L"));
    klick(*dialog, 0);
    klick(*dialog, 1);
    dialog->cmdABBRECHEN->click();
    EXPECT_EQ(haupt.AUSWAHLMODUS(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(aktiv(), (std::vector<int>{1}));
}

TEST_F(Auswahl, TheTooltipShowsTheCommentOfTheClickedRecord)
{
    datensatz(1, QStringLiteral("P1"), false, false, QStringLiteral("Lehm, steif"));
    datensatz(2, QStringLiteral("P2"), false, false);
    const auto dialog = oeffnen(QStringLiteral("L"));
    klick(*dialog, 0);
    EXPECT_EQ(dialog->lstKEN->toolTip(), QStringLiteral("Lehm, steif"));
    klick(*dialog, 1);
    EXPECT_EQ(dialog->lstKEN->toolTip(), QString());
    klick(*dialog, 0);
    EXPECT_EQ(dialog->lstKEN->toolTip(), QStringLiteral("Lehm, steif"));
}

TEST_F(Auswahl, AnIdentifierWithAnApostropheIsCheckedAndStored)
{
    datensatz(1, QStringLiteral("O'Brien"), false, false);
    datensatz(2, QStringLiteral("P2"), true, false);
    const auto dialog = oeffnen(QStringLiteral("A"));
    ASSERT_EQ(eintraege(*dialog), (QStringList{"O'Brien", "P2"}));
    klick(*dialog, 0);
    EXPECT_TRUE(boxen.boxes().isEmpty());
    EXPECT_EQ(gewaehlt(*dialog), (QStringList{"O'Brien", "P2"}));
    dialog->cmdOK->click();
    EXPECT_EQ(haupt.AUSWAHLMODUS(), QStringLiteral("OK"));
    EXPECT_EQ(aktiv(), (std::vector<int>{1, 2}));
}

// Identifiers that a position or a text cannot tell apart: the dialog goes by
// the record's ID.
TEST_F(Auswahl, IdentifiersThatDifferInCaseOnlyAreCheckedByTheirOwnRecord)
{
    datensatz(1, QStringLiteral("abc"), false, false);
    datensatz(2, QStringLiteral("ABC"), false, true);
    datensatz(3, QStringLiteral("xyz"), true, false);
    const auto dialog = oeffnen(QStringLiteral("A"));
    const int offen = frmAUSWAHL::ID(dialog->lstKEN->item(0)) == 2 ? 0 : 1;
    boxen.expect(vbOK, QStringLiteral("Datensatz ABC muß"));
    klick(*dialog, offen);
    klick(*dialog, 1 - offen);
    EXPECT_EQ(boxen.boxes().size(), 1);
    dialog->cmdOK->click();
    EXPECT_EQ(aktiv(), (std::vector<int>{1, 3}));
}

TEST_F(Auswahl, AnEmptyIdentifierDoesNotShiftTheChoice)
{
    datensatz(1, QString(""), false);
    datensatz(2, QStringLiteral("P1"), false);
    datensatz(3, QStringLiteral("P2"), true);
    const auto dialog = oeffnen(QStringLiteral("L"));
    EXPECT_EQ(eintraege(*dialog), (QStringList{"", "P1", "P2"}));
    klick(*dialog, 1);
    dialog->cmdOK->click();
    EXPECT_EQ(aktiv(), (std::vector<int>{2, 3}));
}

TEST_F(Auswahl, ARecordWithoutIdentifierIsNotListedAndChangesNothing)
{
    datensatz(1, QStringLiteral("A1"), false);
    haupt.DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[KOM],[AKT]) VALUES (2,NULL,'ohne',1)"));
    datensatz(3, QStringLiteral("B1"), false);
    boxen.expect(vbOK);
    const auto dialog = oeffnen(QStringLiteral("L"));
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(boxen.boxes()[0].prompt,
              QStringLiteral("VB-Error: 94\r\n") + RuntimeError::InvalidUseOfNull().Description());
    EXPECT_EQ(boxen.boxes()[0].style, 49);
    EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("Datei/Löschen"));
    EXPECT_EQ(eintraege(*dialog), (QStringList{"A1", "B1"}));
    // Its active flag selects no other record, and its comment is no one's.
    EXPECT_TRUE(gewaehlt(*dialog).isEmpty());
    klick(*dialog, 0);
    EXPECT_EQ(dialog->lstKEN->toolTip(), QString());
    dialog->cmdOK->click();
    EXPECT_EQ(aktiv(), (std::vector<int>{1, 2}));
}

TEST_F(Auswahl, CancelInTheLoadBoxEndsTheListWhereItFailed)
{
    // An empty identifier sorts first, so the list ends before it begins.
    haupt.DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (1,NULL,0)"));
    datensatz(2, QStringLiteral("P1"), true);
    boxen.expect(vbCancel, QStringLiteral("VB-Error: 94"));
    const auto dialog = oeffnen(QStringLiteral("O"));
    EXPECT_EQ(dialog->lstKEN->count(), 0);
    dialog->cmdOK->click();
    EXPECT_EQ(haupt.AUSWAHLMODUS(), QStringLiteral("OK"));
    EXPECT_EQ(aktiv(), (std::vector<int>{2}));
}

TEST_F(Auswahl, AFailingStoreIsNotAnsweredOk)
{
    datensatz(1, QStringLiteral("P1"), false);
    const auto dialog = oeffnen(QStringLiteral("L"));
    klick(*dialog, 0);
    haupt.DBPROJEKT()->Execute(
        QStringLiteral("CREATE TRIGGER [E1_SPERRE] BEFORE UPDATE ON [E1] BEGIN SELECT RAISE(ABORT, 'gesperrt'); END"));
    // Shown after the rollback, with OK alone: the choice is not stored.
    boxen.expect(vbOK, QStringLiteral("VB-Error: "));
    dialog->cmdOK->click();
    EXPECT_TRUE(boxen.boxes().last().held);
    EXPECT_EQ(haupt.AUSWAHLMODUS(), QStringLiteral("L"));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(aktiv().empty());
}

// Typing goes to the test the typed prefix names and chooses it; in File,
// Open it is the choice, clicks still refused; in the other modes it takes
// the place of a test chosen only because it was active.
TEST_F(Auswahl, TypingAnIdentifierGoesToTheTestItNames) {
    struct Fall {
        const char *modus, *vorher, *getippt, *aktuell, *gewaehlt;
    };
    const Fall faelle[] = {{"O", "", "BIG-150", "BIG-150", "BIG-150"},
                           {"O", "BIG-007", "big-2", "BIG-200", "BIG-200"},
                           {"O", "BIG-300", "BIG-15x", "BIG-150", "BIG-150"},
                           {"O", "", "X", "BIG-001", nullptr},
                           {"A", "BIG-007", "BIG-2", "BIG-200", "BIG-200"}};
    for (int id = 1; id <= 330; ++id)
        datensatz(id, QStringLiteral("BIG-%1").arg(id, 3, 10, QLatin1Char('0')), false);
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.getippt);
        haupt.DBPROJEKT()->Execute(QStringLiteral("UPDATE [E1] SET [AKT]=([KEN]=?)"),
                                   {fall.vorher});
        const auto dialog = oeffnen(fall.modus);
        dialog->lstKEN->setFocus();
        QTest::keyClicks(dialog->lstKEN, fall.getippt);
        EXPECT_EQ(dialog->lstKEN->currentItem()->text(), fall.aktuell);
        EXPECT_EQ(gewaehlt(*dialog), fall.gewaehlt ? QStringList{fall.gewaehlt} : QStringList());
        if (fall.modus == QLatin1String("O") && fall.gewaehlt) {
            klick(*dialog, 0);
            EXPECT_EQ(gewaehlt(*dialog), QStringList{fall.gewaehlt});
        }
    }
}

}  // namespace

TEST_F(Auswahl, SelectAllKeysDoNotBypassTheRulesOfTheMode)
{
    datensatz(1, QStringLiteral("P1"), false, std::nullopt);
    datensatz(2, QStringLiteral("P2"), false, std::nullopt);
    datensatz(3, QStringLiteral("P3"), false, std::nullopt);
    for (const QString& modus : {QStringLiteral("O"), QStringLiteral("E")}) {
        const auto dialog = oeffnen(modus);
        dialog->lstKEN->setFocus();
        QTest::keySequence(dialog->lstKEN, QKeySequence::SelectAll);
        EXPECT_TRUE(gewaehlt(*dialog).isEmpty()) << modus.toStdString();
    }
}

TEST_F(Auswahl, DraggingOverTheListChoosesNoMoreThanOneRecordInModeOpen)
{
    datensatz(1, QStringLiteral("P1"), false);
    datensatz(2, QStringLiteral("P2"), false);
    datensatz(3, QStringLiteral("P3"), false);
    datensatz(4, QStringLiteral("P4"), false);
    const auto dialog = oeffnen(QStringLiteral("O"));
    QListWidget* liste = dialog->lstKEN;
    QWidget* flaeche = liste->viewport();
    QTest::mousePress(flaeche, Qt::LeftButton, Qt::NoModifier, liste->visualItemRect(liste->item(0)).center());
    for (int zeile = 1; zeile < 4; ++zeile) {
        QMouseEvent bewegung(QEvent::MouseMove, QPointF(liste->visualItemRect(liste->item(zeile)).center()),
                             flaeche->mapToGlobal(QPointF(liste->visualItemRect(liste->item(zeile)).center())),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(flaeche, &bewegung);
    }
    QTest::mouseRelease(flaeche, Qt::LeftButton, Qt::NoModifier, liste->visualItemRect(liste->item(3)).center());
    EXPECT_LE(gewaehlt(*dialog).size(), 1);
}

// A long list whose active record is far down: File, Open shows it. A click
// on the record above it is undone by the rule of one choice; the dialog names
// the chosen one, which stays in view, and OK opens it; no box is shown.
TEST_F(HAUPTFENSTERTEST, TheChosenRecordIsInViewAndAnUndoneClickIsExplained)
{
    for (int id = 2; id <= 80; ++id)
        f.DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN]) VALUES (?,?)"),
                               {id, QStringLiteral("A-%1").arg(id, 3, 10, QLatin1Char('0'))});
    QMetaObject::invokeMethod(&f, [] {
        auto* d = qobject_cast<frmAUSWAHL*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        QListWidget* liste = d->lstKEN;
        QListWidgetItem* gewaehlt = liste->item(79);
        const auto imBlick = [&] { return liste->viewport()->rect().contains(liste->visualItemRect(gewaehlt)); };
        EXPECT_TRUE(gewaehlt->isSelected() && imBlick());
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, liste->visualItemRect(liste->item(78)).center());
        EXPECT_TRUE(liste->selectedItems() == QList<QListWidgetItem*>{gewaehlt} && imBlick());
        EXPECT_EQ(d->lblHINWEIS->text(), QString::fromUtf8("Gewählt ist P-1. Um einen anderen Datensatz zu wählen, "
                                                           "klicken Sie zuerst auf P-1, um diese Wahl aufzuheben."));
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
        if (QApplication::activeModalWidget() == d) d->close();
    }, Qt::QueuedConnection);
    f.mnuOEFFNEN->trigger();
    EXPECT_EQ(f.PANELTEXT(6), QStringLiteral("P-1"));
}
