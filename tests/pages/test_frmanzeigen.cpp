// The page chooser: the numbering of the open pages, the proposed number, the
// check of the typed number, and what OK does to the listed pages.

#include "pages/SEITENDIALOGE.h"
#include "pages/frmANZEIGEN.h"

#include "TESTSEITE.h"
#include "runtime/ValueLocale.h"
#include "support/ScriptedDialogs.h"
#include "support/TESTHAUPTFENSTER.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

class Auswahl : public LocaleTest {
protected:
    void TearDown() override
    {
        if (frmANZEIGEN* d = frmANZEIGEN::GELADEN()) delete d;
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        LocaleTest::TearDown();
    }

    frmANZEIGEN& oeffnen()
    {
        SEITENDIALOGE::ANZEIGEN();
        QApplication::processEvents();
        frmANZEIGEN* d = frmANZEIGEN::GELADEN();
        EXPECT_NE(d, nullptr);
        return *d;
    }

    static bool geschlossen()
    {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return frmANZEIGEN::GELADEN() == nullptr;
    }

    // The text the check makes of a typed one, with `anzahl` pages open.
    QString geprueft(const QString& eingabe)
    {
        frmANZEIGEN& d = oeffnen();
        d.txtSEITE->setText(eingabe);
        d.txtSEITE_LostFocus();
        const QString text = d.txtSEITE->text();
        d.cmdABBRECHEN->click();
        EXPECT_TRUE(geschlossen());
        return text;
    }

    TESTHAUPTFENSTER haupt;
    ScriptedDialogs boxen;
};

TEST_P(Auswahl, PagesNumberedByKindWhicheverOpenedFirst)
{
    TESTSEITE mseite(QStringLiteral("mdiMSEITE1"));
    QWidget eingabe;
    eingabe.setObjectName(QStringLiteral("mdiEINGABE"));
    Forms::Load(&eingabe);
    TESTSEITE seite(QStringLiteral("mdiSEITE1"));
    struct Fall {
        const char* aktiv;
        const char* vorschlag;
    } faelle[] = {{"mdiSEITE1", "1"}, {"mdiMSEITE1", "2"}, {"mdiEINGABE", ""}, {"", ""}};
    for (const Fall& f : faelle) {
        haupt.SETZEAKTIVESKIND(QString::fromLatin1(f.aktiv));
        frmANZEIGEN& d = oeffnen();
        EXPECT_EQ(d.txtSEITE->text(), QString::fromLatin1(f.vorschlag));
        EXPECT_EQ(d.lblSEITEN[1]->text(), QStringLiteral("2"));
        d.cmdABBRECHEN->click();
        EXPECT_TRUE(geschlossen());
    }
}

TEST_P(Auswahl, TextsFollowTheLanguage)
{
    frmANZEIGEN& d = oeffnen();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Anzeigen"));
    EXPECT_EQ(d.lblSEITEN[0]->text(), QStringLiteral("Vorhandene Seiten:"));
    EXPECT_EQ(d.lblSEITE->text(), QStringLiteral("Anzeigen: "));
    EXPECT_EQ(d.cmdABBRECHEN->text(), QStringLiteral("Abbrechen"));
    EXPECT_TRUE(d.lblSEITEN[1]->font().bold());
    EXPECT_FALSE(d.isModal());
    // Activated: near the screen's lower right corner, the field focused
    // with its first character selected.
    d.txtSEITE->setText(QStringLiteral("12"));
    d.Form_Activate();
    const QRect schirm = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(d.pos(), QPoint(int(schirm.width() - 1.5 * d.frameGeometry().width()),
                              schirm.height() - 2 * d.frameGeometry().height()));
    EXPECT_EQ(d.txtSEITE->selectedText(), QStringLiteral("1"));
    d.cmdABBRECHEN->click();
    EXPECT_TRUE(geschlossen());
    haupt.SETZESPRACHE(1);
    frmANZEIGEN& e = oeffnen();
    EXPECT_EQ(e.windowTitle(), QStringLiteral("Show"));
    EXPECT_EQ(e.lblSEITEN[0]->text(), QStringLiteral("Available Pages:"));
    EXPECT_EQ(e.lblSEITE->text(), QStringLiteral("Show Page Nr.: "));
    EXPECT_EQ(e.cmdABBRECHEN->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(e.cmdOK->text(), QStringLiteral("OK"));
}

TEST_P(Auswahl, CheckOfTheTypedNumber)
{
    TESTSEITE a(QStringLiteral("mdiSEITE1"));
    TESTSEITE b(QStringLiteral("MDIMSEITE1")); // another letter case counts
    TESTSEITE c(QStringLiteral("mdiMSEITE2"));
    TESTSEITE d(QStringLiteral("mdiMSEITE3"));
    struct Fall {
        const char* eingabe;
        const char* erwartet;
    } faelle[] = {{"abc", "1"}, {"", "1"},    {"0", "1"},     {"-3", "1"},   {"99", "4"},
                  {"40000", "4"}, {"2.5", "2"}, {"3.5", "4"}, {"1.5", "2"},
                  {" 3", "3"},  {"3x", "1"}};
    for (const Fall& f : faelle)
        EXPECT_EQ(geprueft(QString::fromLatin1(f.eingabe)), QString::fromLatin1(f.erwartet))
            << f.eingabe;
    // In the user's notation: "2,5" reads as its leading number 2.
    EXPECT_EQ(geprueft(QStringLiteral("2,5")), German() ? QStringLiteral("2") : QStringLiteral("1"));
}

TEST_P(Auswahl, NoPageOpen)
{
    frmANZEIGEN& d = oeffnen();
    EXPECT_EQ(d.lblSEITEN[1]->text(), QStringLiteral("0"));
    d.txtSEITE->setText(QStringLiteral("5"));
    d.txtSEITE_LostFocus();
    EXPECT_EQ(d.txtSEITE->text(), QStringLiteral("1"));
    d.cmdOK->click();
    EXPECT_TRUE(geschlossen());
}

TEST_P(Auswahl, OkShowsTheChosenPageAndHidesTheOthers)
{
    QMdiArea bereich;
    auto kind = [&](const QString& name) {
        auto* seite = new TESTSEITE(name);
        bereich.addSubWindow(seite)->showNormal();
        return seite;
    };
    TESTSEITE* seite = kind(QStringLiteral("mdiSEITE1"));
    TESTSEITE* mseite = kind(QStringLiteral("mdiMSEITE1"));
    bereich.show();
    haupt.SETZEAKTIVESKIND(QStringLiteral("mdiSEITE1"));
    frmANZEIGEN& d = oeffnen();
    EXPECT_EQ(d.txtSEITE->text(), QStringLiteral("1"));
    // Enter in the field: the same check, then OK.
    d.txtSEITE->setFocus();
    d.txtSEITE->setText(QStringLiteral("7"));
    QTest::keyClick(d.txtSEITE, Qt::Key_Return);
    EXPECT_TRUE(geschlossen());
    EXPECT_FALSE(seite->parentWidget()->isVisible());
    EXPECT_TRUE(mseite->parentWidget()->isVisible());
    // The main window shows the chosen page maximised as its active child.
    EXPECT_EQ(haupt.GEZEIGTESEITEN(), QStringList{QStringLiteral("mdiMSEITE1")});

    // A page closed while the chooser is open is skipped; choosing it
    // changes nothing.
    frmANZEIGEN& e = oeffnen();
    EXPECT_EQ(e.txtSEITE->text(), QStringLiteral("2"));
    delete mseite->parentWidget();
    e.cmdOK->click();
    EXPECT_TRUE(geschlossen());
    EXPECT_EQ(haupt.GEZEIGTESEITEN().size(), 1);
    frmANZEIGEN& f = oeffnen();
    EXPECT_EQ(f.lblSEITEN[1]->text(), QStringLiteral("1"));
    EXPECT_EQ(f.txtSEITE->text(), QString());
    f.cmdOK->click();
    EXPECT_EQ(haupt.GEZEIGTESEITEN().last(), QStringLiteral("mdiSEITE1"));
}

TEST_P(Auswahl, ListIsNotUpdatedWhileOpenAndEscCancels)
{
    TESTSEITE seite(QStringLiteral("mdiSEITE1"));
    seite.show();
    frmANZEIGEN& d = oeffnen();
    auto spaeter = std::make_unique<TESTSEITE>(QStringLiteral("mdiMSEITE1"));
    d.txtSEITE->setText(QStringLiteral("2"));
    d.txtSEITE_LostFocus();
    EXPECT_EQ(d.txtSEITE->text(), QStringLiteral("1"));
    QTest::keyClick(d.txtSEITE, Qt::Key_Escape);
    EXPECT_TRUE(geschlossen());
    EXPECT_TRUE(seite.isVisible());
}

VELD_BOTH_LOCALES(Auswahl);

} // namespace
