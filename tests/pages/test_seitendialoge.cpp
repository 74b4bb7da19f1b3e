// The page dialogs on the real pages: opened by the page's mouse and
// background clicks, acting on the page through its layout settings and its
// figures, and the chooser over the loaded pages.

#include "SEITENLABOR.h"

#include "pages/SEITENLADEN.h"
#include "pages/frmANZEIGEN.h"
#include "pages/frmKONTEXT.h"
#include "pages/frmKONTEXT11.h"
#include "pages/mdiMSEITE1.h"
#include "pages/mdiSEITE1.h"
#include "platform/controls/Forms.h"
#include "platform/controls/PictureBox.h"
#include "platform/database/Connection.h"
#include "support/ScriptedColors.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class SeitenDialoge : public ::testing::Test {
protected:
    void SetUp() override { bereich.resize(900, 600); bereich.show(); }
    void TearDown() override
    {
        delete frmKONTEXT::GELADEN();
        delete frmANZEIGEN::GELADEN();
        for (QWidget* form : Forms::All()) Forms::Unload(form);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The standard record 1 (its figure 11 stored as 0/1500/10/30).
    mdiSEITE1* Seite1()
    {
        labor.PRUEFUNG(1, QStringLiteral("P-1"), SEITENLABOR::REIHE({0, 60, 1440}, {10, 20, 30}));
        return laden<mdiSEITE1>(QStringLiteral("mdiSEITE1"));
    }
    mdiMSEITE1* MSeite()
    {
        labor.HAUPT.DATENSATZANLEGEN(0, QStringLiteral("M"), QString(), true);
        // Recalculated: the load stores figure 110's layout.
        labor.HAUPT.DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [A1] ([ID],[BONEU]) VALUES (0,?)"), {true});
        return laden<mdiMSEITE1>(QStringLiteral("mdiMSEITE1"));
    }
    template <class SEITE> SEITE* laden(const QString& name)
    {
        auto* seite = static_cast<SEITE*>(SEITELADEN(name, &bereich));
        seite->parentWidget()->show();
        labor.HAUPT.SETZEAKTIVESKIND(name);
        return seite;
    }
    QString G0(int id, int objekt)
    {
        QStringList werte;
        for (const char* spalte : {"XMIN", "XMAX", "YMIN", "YMAX"})
            werte << labor.HAUPT
                         .WERT(QStringLiteral("SELECT [%1] FROM [G0] WHERE [ID]=%2 AND [IDOBJEKT]=%3")
                                   .arg(QString::fromLatin1(spalte))
                                   .arg(id)
                                   .arg(objekt))
                         .toString();
        return werte.join(QLatin1Char(' '));
    }
    // Runs `im` on the axis dialog that the click opens modally.
    void Achsen(PictureBox* bild, Qt::MouseButton knopf, std::function<void(frmKONTEXT11&)> im)
    {
        bool gesehen = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<frmKONTEXT11*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            gesehen = true;
            im(*d);
        });
        QTest::mouseClick(bild, knopf, {}, QPoint(20, 20));
        EXPECT_TRUE(gesehen);
    }
    static void Waehle(QComboBox* liste, const char* eintrag)
    {
        liste->setCurrentIndex(liste->findText(QString::fromLatin1(eintrag)));
    }
    static QStringList Auswahl(const frmKONTEXT11& d)
    {
        return {d.cboXMIN->currentText(), d.cboXDIFF->currentText(), d.cboYMIN->currentText(),
                d.cboYDIFF->currentText()};
    }
    frmKONTEXT& Layout(SEITENFORM* seite)
    {
        QTest::mouseClick(seite->FORM, Qt::LeftButton, {}, QPoint(5, 5));
        QApplication::processEvents();
        EXPECT_NE(frmKONTEXT::GELADEN(), nullptr);
        return *frmKONTEXT::GELADEN();
    }

    SEITENLABOR labor;
    ScriptedColors farben;
    QMdiArea bereich;
    PrimitiveLog log1, log2, form;
};

TEST_F(SeitenDialoge, AxisDialogRewritesAndRedrawsFigure11)
{
    mdiSEITE1* seite = Seite1();
    seite->picBILD11->SetRecorder(&log1);
    labor.HAUPT.DBPROJEKT()->Execute(QStringLiteral(
        "INSERT INTO [G0] ([ID],[IDOBJEKT],[XMIN],[XMAX]) VALUES (2,11,0,100)"));
    // Cancel: nothing written, nothing drawn.
    Achsen(seite->picBILD11, Qt::RightButton, [](frmKONTEXT11& d) {
        Waehle(d.cboXMIN, "5");
        d.cmdABBRECHEN->click();
    });
    EXPECT_EQ(G0(1, 11), QStringLiteral("0 1500 10 30"));
    EXPECT_TRUE(log1.entries.isEmpty());

    QStringList gesehen;
    Achsen(seite->picBILD11, Qt::RightButton, [&](frmKONTEXT11& d) {
        gesehen = Auswahl(d);
        Waehle(d.cboXDIFF, "2500");
        Waehle(d.cboYMIN, "5");
        Waehle(d.cboYDIFF, "40");
        d.cmdOK->click();
    });
    EXPECT_EQ(gesehen, (QStringList{"0", "1500", "10", "20"}));
    EXPECT_EQ(G0(1, 11), QStringLiteral("0 2500 5 45"));
    EXPECT_EQ(G0(2, 11), QStringLiteral("0 100  "));
    ASSERT_FALSE(log1.entries.isEmpty());
    EXPECT_EQ(log1.entries.first().kind, Primitive::Kind::Cls);
    const QStringList texte = SEITENLABOR::TEXTE(log1);
    for (const char* zahl : {"2500", "5", "45"})
        EXPECT_TRUE(texte.contains(QString::fromLatin1(zahl))) << zahl << texte.join('|').toStdString();
    EXPECT_FLOAT_EQ(seite->XMAX, 2500);
    EXPECT_TRUE(labor.BOXEN.boxes().isEmpty());
}

TEST_F(SeitenDialoge, AxisDialogOfTheMultiplePageTouchesOnlyRecordZero)
{
    labor.PRUEFUNG(1, QStringLiteral("P-1"), SEITENLABOR::REIHE({0, 60}, {0, 10}), 100, 60, 10, false);
    mdiMSEITE1* seite = MSeite();
    seite->picBILD110->SetRecorder(&log1);
    labor.HAUPT.DBPROJEKT()->Execute(QStringLiteral(
        "INSERT INTO [G0] ([ID],[IDOBJEKT],[XMIN],[XMAX],[YMIN],[YMAX]) VALUES (1,110,5,10,5,10)"));
    const QString vorher = G0(0, 110);
    ASSERT_FALSE(vorher.trimmed().isEmpty());
    // The left button opens it on this page.
    Achsen(seite->picBILD110, Qt::LeftButton, [](frmKONTEXT11& d) {
        EXPECT_EQ(d.objectName(), QStringLiteral("frmKONTEXT110"));
        Waehle(d.cboXMIN, "10");
        Waehle(d.cboXDIFF, "5000");
        d.cmdOK->click();
    });
    EXPECT_TRUE(G0(0, 110).startsWith(QStringLiteral("10 5010 "))) << G0(0, 110).toStdString();
    EXPECT_EQ(G0(1, 110), QStringLiteral("5 10 5 10"));
    // The new x axis: 10 to 5010 in steps of 1000.
    const QStringList texte = SEITENLABOR::TEXTE(log1);
    EXPECT_EQ(texte.mid(0, 6), (QStringList{"10", "1010", "2010", "3010", "4010", "5010"}));
}

TEST_F(SeitenDialoge, LayoutDialogOnAPageWithoutHeader)
{
    mdiSEITE1* seite = Seite1();
    seite->picBILD11->SetBackColor(RGB(1, 1, 1));
    seite->picBILD12->SetBackColor(RGB(2, 2, 2));
    seite->FORM->SetBackColor(RGB(3, 3, 3));
    seite->HBOKF = false;
    seite->HBOKFS = true;
    frmKONTEXT& d = Layout(seite);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Kontextmenü "));
    EXPECT_EQ(d.chkBOKF->checkState(), Qt::Unchecked);
    EXPECT_FALSE(d.chkBOKFS->isEnabled());
    EXPECT_EQ(d.chkBOKFS->checkState(), Qt::Checked);

    // Cancel after a colour was picked leaves the page as it was.
    seite->picBILD11->SetRecorder(&log1);
    farben.expectPick(RGB(9, 9, 9));
    d.cmdFARBEN[0]->click();
    d.cmdABBRECHEN->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(seite->FORM->BackColor(), RGB(3, 3, 3));
    EXPECT_TRUE(log1.entries.isEmpty());

    // OK without changes: the page's own settings, every box in the first
    // box's colour, drawn again without header.
    seite->FORM->SetRecorder(&form);
    Layout(seite).cmdOK->click();
    EXPECT_FALSE(seite->HBOKF);
    EXPECT_TRUE(seite->HBOKFS);
    EXPECT_EQ(seite->FORM->BackColor(), RGB(3, 3, 3));
    EXPECT_EQ(seite->picBILD11->BackColor(), RGB(2, 2, 2));
    EXPECT_EQ(seite->picBILD12->BackColor(), RGB(2, 2, 2));
    EXPECT_FALSE(log1.entries.isEmpty());
    EXPECT_TRUE(SEITENLABOR::TEXTE(form).isEmpty());
    EXPECT_EQ(frmKONTEXT::GELADEN(), nullptr);
}

TEST_F(SeitenDialoge, LayoutOkActsOnThePageActiveAtOk)
{
    mdiSEITE1* seite = Seite1();
    frmKONTEXT& d = Layout(seite);
    d.chkBOKF->click();
    mdiMSEITE1* mseite = MSeite();
    d.cmdOK->click();
    EXPECT_TRUE(seite->HBOKF);
    EXPECT_FALSE(mseite->HBOKF);
    EXPECT_FALSE(mseite->HBOKFS);

    // With the input window active nothing is called.
    frmKONTEXT& e = Layout(seite);
    e.chkBOKF->click();
    labor.HAUPT.SETZEAKTIVESKIND(QStringLiteral("mdiEINGABE"));
    e.cmdOK->click();
    EXPECT_TRUE(seite->HBOKF);
    EXPECT_EQ(frmKONTEXT::GELADEN(), nullptr);
}

TEST_F(SeitenDialoge, ChooserNumbersTheSinglePageFirst)
{
    for (bool mehrfachZuerst : {true, false}) {
        SEITENFORM* seite = nullptr;
        SEITENFORM* mseite = nullptr;
        if (mehrfachZuerst) {
            mseite = MSeite();
            seite = Seite1();
        } else {
            seite = laden<mdiSEITE1>(QStringLiteral("mdiSEITE1"));
            mseite = laden<mdiMSEITE1>(QStringLiteral("mdiMSEITE1"));
        }
        for (const auto& [aktiv, nummer] : {std::pair{"mdiSEITE1", "1"}, {"mdiMSEITE1", "2"}}) {
            labor.HAUPT.SETZEAKTIVESKIND(QString::fromLatin1(aktiv));
            frmANZEIGEN::ZEIGEN();
            frmANZEIGEN* d = frmANZEIGEN::GELADEN();
            EXPECT_EQ(d->txtSEITE->text(), QString::fromLatin1(nummer)) << mehrfachZuerst;
            if (QString::fromLatin1(aktiv) == QStringLiteral("mdiMSEITE1")) {
                d->cmdOK->click();
            } else {
                d->cmdABBRECHEN->click();
            }
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        EXPECT_FALSE(seite->parentWidget()->isVisible());
        EXPECT_TRUE(mseite->parentWidget()->isVisible());
        EXPECT_EQ(labor.HAUPT.GEZEIGTESEITEN().last(), QStringLiteral("mdiMSEITE1"));
        Forms::Unload(seite);
        Forms::Unload(mseite);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

} // namespace
