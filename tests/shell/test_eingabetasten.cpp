// The input window in the real main window, driven by keys sent to the
// control that has the focus: every key reaches the window once and a command
// key is not typed as well; the store and discard panels; the identifier
// check; the session ending while a box of the window waits; the store beside
// another writer of the copy.

#include "HAUPTFENSTERTEST.h"

#include "platform/runtime/RuntimeError.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <sqlite3.h>

using Eingabetasten = HAUPTFENSTERTEST;

TEST_F(Eingabetasten, ACommandKeyReachesTheWindowOnceAndIsNotTyped) {
    mdiEINGABE* e = oeffnen();
    ASSERT_NE(e, nullptr);
    MSFlexGrid& grid = *e->msgFLX.at(0);
    QLineEdit& editor = *e->txtFLX.at(0);
    f.SETZEBOGEAENDERT(true);
    // The identifier, a field of the general data, the tabs, the grid and
    // its open cell editor.
    QTabBar* leiste = e->SSTab->findChild<QTabBar*>();
    const std::pair<std::function<void()>, QWidget*> faelle[] = {
        {[&] { QTest::mouseClick(e->txtKEN, Qt::LeftButton); }, e->txtKEN},
        {[&] { QTest::mouseClick(e->txtMS, Qt::LeftButton); }, e->txtMS},
        {[&] { leiste->setFocus(Qt::TabFocusReason); }, leiste},
        {[&] { zelle(*e, 3, 4); }, &grid},
        {[&] { tippen(QStringLiteral("5")); }, &editor},
    };
    for (const auto& [hin, ziel] : faelle) {
        hin();
        SCOPED_TRACE(ziel->metaObject()->className());
        ASSERT_EQ(QApplication::focusWidget(), ziel);
        // One question each (a second one would be unexpected), and no "q".
        boxen.expect(vbCancel, QStringLiteral("Sollen die Änderungen in Projekt TE0001.00"));
        taste(Qt::Key_Q, Qt::AltModifier);
        EXPECT_EQ(e->txtKEN->text(), QStringLiteral("P-1"));
        EXPECT_EQ(e->txtMS->text(), QStringLiteral("100"));
        EXPECT_EQ(grid.TextMatrix(3, 4), QStringLiteral("0,30"));
        EXPECT_EQ(editor.isHidden() ? QStringLiteral("-") : editor.text(),
                  ziel == &editor ? QStringLiteral("5") : QStringLiteral("-"));
        boxen.expect(vbNo, QStringLiteral("Soll der vorhandene Datensatz P-1"));
        taste(Qt::Key_S, Qt::ControlModifier);
    }
}

TEST_F(Eingabetasten, CtrlSStoresTheValueLeftOpenInTheCellEditor) {
    mdiEINGABE* e = oeffnen();
    ASSERT_NE(e, nullptr);
    // A date the check refuses: its message, and the window stays with the
    // editor's text.
    zelle(*e, 1, 1);
    tippen(QStringLiteral("31.02.04"));
    // Refused on a click into another cell, it keeps the keys for its
    // correction.
    MSFlexGrid& grid = *e->msgFLX.at(0);
    boxen.expect(vbOK, QStringLiteral("kein gültiges Datums- oder Zeitformat"));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.model()->index(2, 4)).center());
    EXPECT_EQ(QApplication::focusWidget(), e->txtFLX.at(0));
    boxen.expect(vbOK, QStringLiteral("kein gültiges Datums- oder Zeitformat"));
    taste(Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(EINGABEFENSTER::GELADEN(), e);
    EXPECT_EQ(e->txtFLX.at(0)->isHidden() ? QString() : e->txtFLX.at(0)->text(),
              QStringLiteral("31.02.04"));
    // A volume typed without Enter, then Ctrl+S and "Ja": it is stored.
    e->txtFLX.at(0)->clear();
    taste(Qt::Key_Return);
    zelle(*e, 2, 4);
    tippen(QStringLiteral("0,66"));
    boxen.expect(vbYes, QStringLiteral("Soll der vorhandene Datensatz P-1"));
    taste(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(EINGABEFENSTER::GELADEN(), nullptr);
    EXPECT_FLOAT_EQ(wert(QStringLiteral("SELECT [V] FROM [E3] WHERE [I1]=1")).toFloat(), 0.66f);
}

TEST_F(Eingabetasten, TheInputStateIsLeftThroughItsPanelsOnly) {
    f.mnuNEU->trigger();
    mdiEINGABE* e = EINGABEFENSTER::GELADEN();
    ASSERT_NE(e, nullptr);
    e->txtKEN->setFocus();
    taste(Qt::Key_F4, Qt::ControlModifier);
    taste(Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(EINGABEFENSTER::GELADEN() == e && e->isVisible());
    // Without its window (the load failed), panel 9 still leaves the state.
    e->parentWidget()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(EINGABEFENSTER::GELADEN(), nullptr);
    f.stbMAIN_PanelClick(9);
    EXPECT_FALSE(f.PANELSICHTBAR(8) || f.PANELSICHTBAR(9));
    for (QMenu* menu : {f.mnuDATEI, f.mnuAUSWERTEN, f.mnuEXTRAS})
        EXPECT_TRUE(menu->menuAction()->isEnabled()) << menu->objectName().toStdString();
}

TEST_F(Eingabetasten, TheIdentifierIsCheckedAndLookedUpAsItIsStored) {
    // Blanks only are no identifier; a tab and a NUL are characters of it,
    // stored and found again (the second store asks before overwriting).
    for (const QString& ken : {QStringLiteral("\t"), QStringLiteral("a") + QChar(0) + "'b"}) {
        for (const bool zweites : {false, true}) {
            f.mnuNEU_Click();
            EINGABEFENSTER::GELADEN()->txtKEN->setText(ken);
            if (zweites) boxen.expect(vbYes, QStringLiteral("Soll der vorhandene Datensatz"));
            taste(Qt::Key_S, Qt::ControlModifier);
            ASSERT_EQ(EINGABEFENSTER::GELADEN(), nullptr);
        }
        EXPECT_EQ(wert(QStringLiteral("SELECT group_concat([KEN]) FROM [E1] WHERE [AKT]")), ken);
    }
    f.mnuNEU_Click();
    EINGABEFENSTER::GELADEN()->txtKEN->setText(QStringLiteral("  "));
    boxen.expect(vbOK, QStringLiteral("Datensatzkennzeichnung fehlt!"));
    taste(Qt::Key_S, Qt::ControlModifier);
    EXPECT_NE(EINGABEFENSTER::GELADEN(), nullptr);
}

TEST_F(Eingabetasten, DeleteOnAReadingOpensNoEditor) {
    mdiEINGABE* e = oeffnen();
    ASSERT_NE(e, nullptr);
    zelle(*e, 2, 4);
    // Delete as X11 delivers it: with the text U+007F.
    QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_Delete,
                        QString(QChar(0x7f)), Qt::NoModifier);
    EXPECT_TRUE(e->txtFLX.at(0)->isHidden());
    EXPECT_EQ(e->msgFLX.at(0)->TextMatrix(2, 4), QStringLiteral("0,20"));
    boxen.expect(vbYes, QStringLiteral("Soll der vorhandene Datensatz P-1"));
    taste(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(EINGABEFENSTER::GELADEN(), nullptr);
    EXPECT_EQ(wert(QStringLiteral("SELECT group_concat(round([V],2),'|') FROM [E3]")).toString(),
              QStringLiteral("0.1|0.2|0.3"));
}

TEST_F(Eingabetasten, CtrlCOnTheGridShowsPastedValuesInTheirFormat) {
    mdiEINGABE* e = oeffnen();
    ASSERT_NE(e, nullptr);
    MSFlexGrid& grid = *e->msgFLX.at(0);
    // Two times pasted with the button; a click formats the first.
    for (const auto& [zeile, zeit] : {std::pair(1, "10:00"), std::pair(2, "11:30")}) {
        zelle(*e, zeile, 2);
        QApplication::clipboard()->setText(QString::fromLatin1(zeit));
        QTest::mouseClick(e->cmdE.at(0), Qt::LeftButton, {});
    }
    ASSERT_EQ(grid.TextMatrix(2, 2), QStringLiteral("11:30"));
    grid.setFocus(Qt::TabFocusReason);
    taste(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("11:30"));
    EXPECT_EQ(grid.TextMatrix(2, 2), QStringLiteral("11:30:00"));
    EXPECT_EQ(grid.TextMatrix(2, 3), QStringLiteral("90,0"));
}

TEST_F(Eingabetasten, AnEmptyIdentifierIsRefusedOncePerActionAndKeepsTheKeys) {
    f.mnuNEU->trigger();
    mdiEINGABE* e = EINGABEFENSTER::GELADEN();
    ASSERT_NE(e, nullptr);
    tippen(QStringLiteral("K"));
    // A value left open in a cell editor, then the identifier emptied.
    zelle(*e, 1, 4);
    tippen(QStringLiteral("5"));
    QTest::mouseClick(e->txtKEN, Qt::LeftButton);
    taste(Qt::Key_Backspace);
    MSFlexGrid& grid = *e->msgFLX.at(0);
    const std::function<void()> aktionen[] = {
        [&] { taste(Qt::Key_S, Qt::ControlModifier); },
        [&] {
            QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                              grid.visualRect(grid.model()->index(2, 4)).center());
        },
    };
    for (const auto& aktion : aktionen) {
        boxen.clear();
        boxen.expect(vbOK, QStringLiteral("Datensatzkennzeichnung fehlt!"));
        aktion();
        EXPECT_EQ(boxen.prompts().size(), 1);
        EXPECT_EQ(QApplication::focusWidget(), e->txtKEN);
        tippen(QStringLiteral("K"));
        EXPECT_EQ(e->txtKEN->text(), QStringLiteral("K"));
        taste(Qt::Key_Backspace);
    }
}

// The session ends (SIGTERM, logout) while a box of the input window waits.
class EingabeSitzungsende : public HAUPTFENSTERTEST, public ::testing::WithParamInterface<int> {};

TEST_P(EingabeSitzungsende, TheWindowGoesAfterItsCodeReturned) {
    mdiEINGABE* e = oeffnen();
    ASSERT_NE(e, nullptr);
    const QPointer<mdiEINGABE> eingabe = e;
    bool geladen = true;
    bool vorhanden = false;
    boxen.waehrend = [&] {
        f.SITZUNGSENDE();
        // The box's own event loop goes on meanwhile.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        geladen = Forms::IsLoaded(eingabe);
        vorhanden = !eingabe.isNull();
    };
    switch (GetParam()) {
    case 0: // a date the cell check refuses
        zelle(*e, 1, 1);
        tippen(QStringLiteral("31.02.04"));
        boxen.expect(vbOK, QStringLiteral("kein gültiges Datums- oder Zeitformat"));
        taste(Qt::Key_Return);
        break;
    case 1: // the identifier check
        e->txtKEN->clear();
        boxen.expect(vbOK, QStringLiteral("Datensatzkennzeichnung fehlt!"));
        taste(Qt::Key_S, Qt::ControlModifier);
        break;
    default: // the overwrite question, answered Yes
        boxen.expect(vbYes, QStringLiteral("Soll der vorhandene Datensatz P-1"));
        taste(Qt::Key_S, Qt::ControlModifier);
        break;
    }
    EXPECT_TRUE(f.ENTLADEN());
    EXPECT_FALSE(geladen);
    EXPECT_TRUE(vorhanden);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(eingabe.isNull());
}

INSTANTIATE_TEST_SUITE_P(Boxen, EingabeSitzungsende, ::testing::Values(0, 1, 2));

// The session ends while File, Open lets events run between loading the
// input window and filling it: the record is not opened into a window that
// is gone, and the input state is not entered.
TEST_F(HAUPTFENSTERTEST, TheSessionEndingWhileARecordOpensLeavesNoInputState) {
    AUSWAHLDIALOG::ERSETZEN([this](QWidget*) {
        f.SETZEAUSWAHLMODUS(QStringLiteral("OK"));
        QTimer::singleShot(0, &f, [this] {
            f.SITZUNGSENDE();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        });
    });
    f.mnuOEFFNEN_Click();
    AUSWAHLDIALOG::ERSETZEN({});
    EXPECT_TRUE(f.ENTLADEN());
    EXPECT_EQ(EINGABEFENSTER::GELADEN(), nullptr);
    EXPECT_FALSE(f.PANELSICHTBAR(8));
}

TEST_F(Eingabetasten, AStoreBesideAnotherWriterIsToldBusyAndOverwritesNothingUnasked) {
    f.mnuNEU->trigger();
    tippen(QStringLiteral("N-2"));
    mdiEINGABE* e = EINGABEFENSTER::GELADEN();
    // Another run holds the copy past the time-out: nothing changes.
    Connection anderer(labor.ARBEITSKOPIE());
    anderer.BeginTrans();
    f.DBPROJEKT()->SetConnectionTimeout(1);
    boxen.expect(vbOK, QStringLiteral("VB-Error: 3218\r\nDie Datenbank ") + f.DBPROJEKT()->Path() +
                           QString::fromUtf8(" ist gerade von einem anderen Lauf oder Programm gesperrt"));
    taste(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("P-1"));
    // It stores "N-2" under the next key and commits while this store waits:
    // the store asks before it overwrites that record.
    anderer.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN]) VALUES (2,'N-2');"
                                   "INSERT INTO [E2] ([ID],[MS]) VALUES (2,7)"));
    sqlite3_busy_handler(
        f.DBPROJEKT()->Handle(),
        [](void* c, int) { return static_cast<Connection*>(c)->CommitTrans(), 1; }, &anderer);
    boxen.expect(vbNo,
                 QString::fromUtf8("Soll der vorhandene Datensatz N-2 überschrieben werden?"));
    taste(Qt::Key_S, Qt::ControlModifier);
    f.DBPROJEKT()->SetConnectionTimeout(30);
    EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("P-1,N-2"));
    EXPECT_EQ(wert(QStringLiteral("SELECT [MS] FROM [E2] WHERE [ID]=2")).toInt(), 7);
    EXPECT_EQ(EINGABEFENSTER::GELADEN(), e);
    EXPECT_EQ(e->txtKEN->text(), QStringLiteral("N-2"));
}

// No box waits while the copy is held for writing: while each box waits,
// another run begins a write at once. The store ends its transaction first
// (nothing of it stays, the window keeps its data), the Save lets its lock
// go; the box then offers OK alone, its command having ended.
TEST_F(Eingabetasten, NoBoxWaitsWhileTheCopyIsHeldForWriting) {
    const QString zustand =
        QFileInfo(labor.ARBEITSKOPIE()).path() + QStringLiteral("/VELD.zustand");
    const auto speichern = [&](const QString& ms) {
        f.mnuNEU->trigger();
        EINGABEFENSTER::GELADEN()->txtMS->setText(ms);
        QTest::mouseClick(EINGABEFENSTER::GELADEN()->txtKEN, Qt::LeftButton);
        tippen(QStringLiteral("N-2"));
        taste(Qt::Key_S, Qt::ControlModifier);
    };
    const struct {
        const char* fall;
        QString text;
        std::function<void()> tun;
    } faelle[] = {
        {"a solid mass the column refuses", QStringLiteral("1O0,5"),
         [&] { speichern(QStringLiteral("1O0,5")); }},
        {"the Save's copy fails", QStringLiteral("VB-Error: "),
         [&] {
             QDir(labor.PROJEKTSPFAD()).rename(QStringLiteral("TE0001.00"), QStringLiteral("weg"));
             f.mnuSPEICHERN_Click();
         }},
        {"the change cannot be marked", zustand,
         [&] {
             // A folder in the mark's place: it cannot be made anew.
             for (const QString& lauf : QDir(zustand).entryList({QStringLiteral("*.lauf")})) {
                 QFile::remove(zustand + QLatin1Char('/') + lauf);
                 QDir().mkdir(zustand + QLatin1Char('/') + lauf);
             }
             speichern(QStringLiteral("100"));
         }},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.fall);
        bool frei = false;
        boxen.waehrend = [&] {
            Connection anderer(labor.ARBEITSKOPIE());
            anderer.SetConnectionTimeout(0);
            try {
                anderer.BeginTrans();
                anderer.RollbackTrans();
                frei = true;
            } catch (const RuntimeError&) {
                // Held: the other run would wait for this box.
            }
        };
        boxen.clear();
        boxen.expect(vbOK, fall.text);
        EXPECT_NO_THROW(fall.tun());
        EXPECT_TRUE(frei);
        ASSERT_EQ(boxen.boxes().size(), 1);
        EXPECT_EQ(boxen.boxes()[0].style & 15, vbOKOnly);
        EXPECT_EQ(SHELLLABOR::KENNUNGEN(labor.ARBEITSKOPIE()), QStringLiteral("P-1"));
        if (mdiEINGABE* e = EINGABEFENSTER::GELADEN()) {
            EXPECT_EQ(e->txtKEN->text(), QStringLiteral("N-2"));
            f.stbMAIN_PanelClick(9);
        }
    }
}

// Another run stores the same record anew while the overwrite question
// waits: the store asks again rather than overwrite what it did not ask
// about.
TEST_F(Eingabetasten, AStoreAsksAgainWhenTheRecordChangedAfterTheQuestion) {
    mdiEINGABE* e = oeffnen();
    ASSERT_NE(e, nullptr);
    e->txtMS->setText(QStringLiteral("50"));
    boxen.waehrend = [&] {
        Connection anderer(labor.ARBEITSKOPIE());
        anderer.Execute(QStringLiteral("UPDATE [E2] SET [MS]=7 WHERE [ID]=1"));
    };
    const QString frage =
        QString::fromUtf8("Soll der vorhandene Datensatz P-1 überschrieben werden?");
    boxen.expect(vbYes, frage);
    boxen.expect(vbNo, frage);
    taste(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(wert(QStringLiteral("SELECT [MS] FROM [E2] WHERE [ID]=1")).toInt(), 7);
    EXPECT_EQ(EINGABEFENSTER::GELADEN(), e);
}
