// The page layout dialog: the hand-over from a page, the coupling of the two
// switches, the colour dialogs, what OK hands to the page active at OK,
// Cancel, and the keys.

#include "pages/SEITENDIALOGE.h"
#include "pages/frmKONTEXT.h"

#include "TESTSEITE.h"
#include "platform/runtime/System.h"
#include "support/ScriptedColors.h"
#include "support/ScriptedDialogs.h"
#include "support/TESTHAUPTFENSTER.h"

#include "platform/controls/OutputObject.h"
#include "platform/controls/TWIPS.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const int32_t ROT = RGB(255, 0, 0);
const int32_t GRAU = RGB(192, 192, 192);
const int32_t BLAU = RGB(0, 0, 255);
const int32_t GELB = RGB(255, 255, 0);

class Layout : public ::testing::Test {
protected:
    void SetUp() override { haupt.SETZEAKTIVESKIND(QStringLiteral("mdiSEITE1")); }
    void TearDown() override
    {
        if (frmKONTEXT* d = frmKONTEXT::GELADEN()) delete d;
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The page's background click: hands its switches and colours over.
    frmKONTEXT& uebergabe(bool hbokf, bool hbokfs, int32_t mdi = GRAU, int32_t pic = GELB)
    {
        SEITENDIALOGE::LAYOUT({hbokf, hbokfs, mdi, pic});
        QApplication::processEvents();
        frmKONTEXT* d = frmKONTEXT::GELADEN();
        EXPECT_NE(d, nullptr);
        return *d;
    }

    static QString schalter(const frmKONTEXT& d)
    {
        auto wert = [](const QCheckBox* c) {
            return QString::number(int(c->checkState() == Qt::Checked ? 1
                                       : c->checkState() == Qt::PartiallyChecked ? 2 : 0));
        };
        return wert(d.chkBOKF) + wert(d.chkBOKFS) +
               (d.chkBOKFS->isEnabled() ? QStringLiteral("+") : QStringLiteral("-"));
    }

    static bool geschlossen()
    {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return frmKONTEXT::GELADEN() == nullptr;
    }

    TESTHAUPTFENSTER haupt;
    ScriptedDialogs boxen;
    ScriptedColors farben;
    TESTSEITE seite{QStringLiteral("mdiSEITE1"), {GELB, BLAU}};
};

TEST_F(Layout, ControlsCaptionAndPlace)
{
    frmKONTEXT& d = uebergabe(true, true);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Kontextmenü "));
    EXPECT_GE(d.width(), WindowTitleWidth(d.windowTitle()));
    EXPECT_FALSE(d.isModal());
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.cmdFARBEN[0]->text(), QStringLiteral("Seitenfarbe"));
    EXPECT_EQ(d.cmdFARBEN[1]->text(), QStringLiteral("Pictureboxfarben"));
    EXPECT_EQ(d.chkBOKF->text(), QStringLiteral("Kopf / Fußzeile darstellen"));
    EXPECT_EQ(d.chkBOKFS->text(), QStringLiteral("Seitennummerierung darstellen"));
    EXPECT_EQ(d.cmdOK->text() + d.cmdABBRECHEN->text(), QStringLiteral("OKAbbrechen"));
    EXPECT_TRUE(d.fraSKALEN->font().bold());
    EXPECT_FALSE(d.chkBOKF->font().bold());
    const QPoint ecke = QGuiApplication::primaryScreen()->geometry().topLeft();
    EXPECT_EQ(d.pos(), ecke + QPoint(PIXEL(1134, &d), PIXEL(1984.5, &d)));
}

TEST_F(Layout, SwitchesFollowTheHandOverAndTheCoupling)
{
    struct Fall {
        bool hbokf, hbokfs;
        const char* erwartet;
    } faelle[] = {{true, true, "11+"}, {true, false, "10+"}, {false, true, "01-"},
                  {false, false, "00-"}};
    for (const Fall& f : faelle) {
        frmKONTEXT& d = uebergabe(f.hbokf, f.hbokfs);
        EXPECT_EQ(schalter(d), QString::fromLatin1(f.erwartet)) << f.hbokf << f.hbokfs;
        // Off (unchecking the numbering too) and on again: the numbering
        // switch is enabled and checked, whatever it showed before.
        if (f.hbokf) d.chkBOKF->click();
        EXPECT_EQ(schalter(d), f.hbokf ? QStringLiteral("00-") : QString::fromLatin1(f.erwartet));
        d.chkBOKF->click();
        EXPECT_EQ(schalter(d), QStringLiteral("11+"));
        d.cmdABBRECHEN->click();
        EXPECT_TRUE(geschlossen());
    }
    EXPECT_TRUE(seite.kontexte.empty());
}

TEST_F(Layout, OkHandsThePageItsOwnSettingsBack)
{
    frmKONTEXT& d = uebergabe(true, false, GRAU, GELB);
    d.cmdOK->click();
    EXPECT_TRUE(geschlossen());
    ASSERT_EQ(seite.kontexte.size(), 1u);
    const KONTEXTAUFRUF& k = seite.kontexte[0];
    EXPECT_TRUE(k.HBOKF);
    EXPECT_FALSE(k.HBOKFS);
    EXPECT_EQ(k.FARBEMDI, GRAU);
    EXPECT_EQ(k.FARBEPIC, GELB);
    EXPECT_EQ(k.mauszeiger, 11);
    EXPECT_EQ(MousePointer(), 0);
}

TEST_F(Layout, ColoursPickedAndCancelled)
{
    frmKONTEXT& d = uebergabe(true, true, GRAU, GELB);
    farben.expectPick(ROT);
    d.cmdFARBEN[0]->click();
    farben.expectCancel();
    d.cmdFARBEN[1]->click();
    EXPECT_EQ(farben.starts(), (QList<int32_t>{GRAU, GELB}));
    EXPECT_EQ(d.cdlFARBEN[0].Color(), ROT);
    EXPECT_EQ(d.cdlFARBEN[1].Color(), GELB);
    d.cmdOK->click();
    ASSERT_EQ(seite.kontexte.size(), 1u);
    EXPECT_EQ(seite.kontexte[0].FARBEMDI, ROT);
    EXPECT_EQ(seite.kontexte[0].FARBEPIC, GELB);
}

TEST_F(Layout, CancelAndEscLeaveThePageAsItWas)
{
    for (bool esc : {false, true}) {
        frmKONTEXT& d = uebergabe(true, true);
        farben.expectPick(ROT);
        d.cmdFARBEN[0]->click();
        d.chkBOKF->click();
        if (esc)
            QTest::keyClick(d.chkBOKFS, Qt::Key_Escape, Qt::ShiftModifier);
        else
            d.cmdABBRECHEN->click();
        EXPECT_TRUE(geschlossen()) << esc;
    }
    EXPECT_TRUE(seite.kontexte.empty());
}

TEST_F(Layout, SecondClickUpdatesTagsAndColoursButNotTheSwitches)
{
    uebergabe(true, true, GRAU, GELB);
    frmKONTEXT& d = uebergabe(false, false, ROT, BLAU);
    EXPECT_EQ(frmKONTEXT::TAG(d.chkBOKF), QStringLiteral("0"));
    EXPECT_EQ(frmKONTEXT::TAG(d.chkBOKFS), QStringLiteral("0"));
    EXPECT_EQ(schalter(d), QStringLiteral("11+"));
    d.cmdOK->click();
    ASSERT_EQ(seite.kontexte.size(), 1u);
    EXPECT_TRUE(seite.kontexte[0].HBOKF);
    EXPECT_EQ(seite.kontexte[0].FARBEMDI, ROT);
    EXPECT_EQ(seite.kontexte[0].FARBEPIC, BLAU);
}

TEST_F(Layout, OkActsOnTheChildActiveAtOk)
{
    TESTSEITE andere(QStringLiteral("mdiMSEITE1"));
    uebergabe(false, true).cmdOK->click();
    // Another page became active meanwhile.
    frmKONTEXT& d = uebergabe(false, true);
    haupt.SETZEAKTIVESKIND(QStringLiteral("mdiMSEITE1"));
    d.cmdOK->click();
    EXPECT_EQ(seite.kontexte.size(), 1u);
    ASSERT_EQ(andere.kontexte.size(), 1u);
    EXPECT_FALSE(andere.kontexte[0].HBOKF);
    // The input window is no page: nothing is called, the dialog closes.
    QWidget eingabe;
    eingabe.setObjectName(QStringLiteral("mdiEINGABE"));
    Forms::Load(&eingabe);
    uebergabe(true, true);
    haupt.SETZEAKTIVESKIND(QStringLiteral("mdiEINGABE"));
    frmKONTEXT::GELADEN()->cmdOK->click();
    EXPECT_TRUE(geschlossen());
    haupt.SETZEAKTIVESKIND(QString());
    uebergabe(true, true).cmdOK->click();
    EXPECT_TRUE(geschlossen());
    EXPECT_EQ(seite.kontexte.size(), 1u);
    EXPECT_EQ(andere.kontexte.size(), 1u);
    EXPECT_EQ(MousePointer(), 0);
}

TEST_F(Layout, GreySwitchCountsAsOff)
{
    frmKONTEXT& d = uebergabe(true, true);
    d.chkBOKFS->setCheckState(Qt::PartiallyChecked);
    d.cmdOK->click();
    ASSERT_EQ(seite.kontexte.size(), 1u);
    EXPECT_TRUE(seite.kontexte[0].HBOKF);
    EXPECT_FALSE(seite.kontexte[0].HBOKFS);
}

TEST_F(Layout, KeysWhileAControlHasTheFocus)
{
    frmKONTEXT& d = uebergabe(true, true);
    d.activateWindow();
    d.cmdFARBEN[0]->setFocus();
    QApplication::processEvents();
    // Enter moves on like Tab and presses nothing.
    QTest::keyClick(d.cmdFARBEN[0], Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), d.cmdFARBEN[1]);
    QTest::keyClick(d.cmdFARBEN[1], Qt::Key_F1);
    QTest::keyClick(d.chkBOKF, Qt::Key_Q, Qt::ControlModifier);
    QTest::keyClick(d.chkBOKF, Qt::Key_Q);
    EXPECT_EQ(haupt.HILFEAUFRUFE(), 1);
    EXPECT_EQ(haupt.BEENDENAUFRUFE(), 1);
    EXPECT_FALSE(geschlossen());
    EXPECT_TRUE(seite.kontexte.empty());
    QTest::keyClick(d.chkBOKFS, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(geschlossen());
    EXPECT_EQ(seite.kontexte.size(), 1u);
    EXPECT_TRUE(farben.starts().isEmpty());
}

} // namespace
