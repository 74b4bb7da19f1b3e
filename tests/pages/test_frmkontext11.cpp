// The axis-range dialogs: the lists, the entries they select from the stored
// layout row, what OK writes into G0 and has the page draw, and that Cancel
// leaves everything alone.

#include "pages/SEITENDIALOGE.h"
#include "pages/frmKONTEXT11.h"

#include "TESTSEITE.h"
#include "platform/runtime/System.h"
#include "runtime/ValueLocale.h"
#include "support/ScriptedDialogs.h"
#include "support/TESTHAUPTFENSTER.h"

#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/Variant.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

namespace {

struct BEREICH {
    float xmin, xmax, ymin, ymax;
};

class Achsen : public LocaleTest {
protected:
    void SetUp() override
    {
        LocaleTest::SetUp();
        haupt.DATENSATZANLEGEN(3, QStringLiteral("P3"), QString(), true);
        haupt.DATENSATZANLEGEN(7, QStringLiteral("P7"));
        haupt.SETZEAKTIVESKIND(QStringLiteral("mdiSEITE1"));
    }

    void zeile(int id, int objekt, const BEREICH& b, float mx = 0.5f)
    {
        haupt.DBPROJEKT()->Execute(
            QStringLiteral("INSERT INTO [G0] ([ID],[IDOBJEKT],[XMIN],[XMAX],[YMIN],[YMAX],[MX],"
                           "[MY],[RL]) VALUES (?,?,?,?,?,?,?,?,?)"),
            {id, objekt, b.xmin, b.xmax, b.ymin, b.ymax, mx, mx, 12.0f});
    }

    // The G0 row of a record and figure as "XMIN XMAX YMIN YMAX MX MY RL";
    // none: "".
    QString gespeichert(int id, int objekt)
    {
        Recordset rs(QStringLiteral("SELECT [XMIN],[XMAX],[YMIN],[YMAX],[MX],[MY],[RL] FROM [G0] "
                                    "WHERE [ID]=%1 AND [IDOBJEKT]=%2")
                         .arg(id)
                         .arg(objekt),
                     *haupt.DBPROJEKT());
        if (rs.Eof()) return QString();
        QStringList werte;
        for (int i = 0; i < 7; ++i)
            werte << (IsNull(rs.Fields(i).Value()) ? QStringLiteral("-")
                                                    : QString::number(rs.Fields(i).Value().toDouble()));
        EXPECT_EQ(rs.RecordCount(), 1);
        return werte.join(QLatin1Char(' '));
    }

    static QStringList auswahl(const frmKONTEXT11& d)
    {
        return {d.cboXMIN->currentText(), d.cboXDIFF->currentText(), d.cboYMIN->currentText(),
                d.cboYDIFF->currentText()};
    }

    static void waehle(QComboBox* liste, const QString& eintrag)
    {
        const int index = liste->findText(eintrag);
        ASSERT_GE(index, 0) << eintrag.toStdString();
        liste->setCurrentIndex(index);
    }

    TESTHAUPTFENSTER haupt;
    ScriptedDialogs boxen;
    TESTSEITE seite{QStringLiteral("mdiSEITE1")};
};

TEST_P(Achsen, ControlsAndLists)
{
    frmKONTEXT11 d(3);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Kontextmenü Diagramm"));
    EXPECT_GE(d.width(), WindowTitleWidth(d.windowTitle()));
    EXPECT_EQ(d.objectName(), QStringLiteral("frmKONTEXT11"));
    EXPECT_EQ(d.lblXACHSE->text(), QStringLiteral("x-Achse"));
    EXPECT_TRUE(d.lblXACHSE->font().bold());
    EXPECT_TRUE(d.lblYACHSE->font().bold());
    EXPECT_EQ(d.lblXMIN->text() + d.lblYMIN->text(), QStringLiteral("XminYmin"));
    EXPECT_EQ(d.lblDEX->text() + d.lblXDIFF->text(), QStringLiteral("ΔX"));
    EXPECT_EQ(d.lblDEY->text() + d.lblYDIFF->text(), QStringLiteral("ΔY"));
    EXPECT_EQ(d.cmdOK->text(), QStringLiteral("OK"));
    EXPECT_EQ(d.cmdABBRECHEN->text(), QStringLiteral("Abbrechen"));

    struct Liste {
        QComboBox* liste;
        int anzahl;
        QString erster, letzter;
    } listen[] = {{d.cboXMIN, 41, "0", "100000"},
                  {d.cboXDIFF, 40, "5", "100000"},
                  {d.cboYMIN, 35, "0", "10000"},
                  {d.cboYDIFF, 34, "5", "10000"}};
    for (const Liste& l : listen) {
        SCOPED_TRACE(l.liste->objectName().toStdString());
        EXPECT_FALSE(l.liste->isEditable());
        ASSERT_EQ(l.liste->count(), l.anzahl);
        EXPECT_EQ(l.liste->itemText(0), l.erster);
        EXPECT_EQ(l.liste->itemText(l.anzahl - 1), l.letzter);
        EXPECT_EQ(l.liste->findText(QStringLiteral("1500")) >= 0, true);
    }
    EXPECT_EQ(d.cboXMIN->itemText(11), QStringLiteral("60"));
    EXPECT_EQ(d.cboXMIN->itemText(33), QStringLiteral("7500"));
}

TEST_P(Achsen, SelectsTheStoredRangesThatAreOnTheLists)
{
    struct Fall {
        std::optional<BEREICH> zeile;
        QStringList erwartet; // XMIN, XDIFF, YMIN, YDIFF
    } faelle[] = {
        {std::nullopt, {"0", "", "0", ""}},
        {BEREICH{0, 1500, 10, 30}, {"0", "1500", "10", "20"}},
        {BEREICH{0, 1440, 12, 42}, {"0", "", "", "30"}},
        {BEREICH{12.5f, 112.5f, 0, 12.5f}, {"", "100", "0", ""}},
        {BEREICH{100000, 200000, 10000, 20000}, {"100000", "100000", "10000", "10000"}},
    };
    for (const Fall& f : faelle) {
        haupt.DBPROJEKT()->Execute(QStringLiteral("DELETE FROM [G0]"));
        if (f.zeile) zeile(3, 11, *f.zeile);
        frmKONTEXT11 d(3);
        EXPECT_EQ(auswahl(d), f.erwartet) << auswahl(d).join('|').toStdString();
        EXPECT_EQ(d.cboXDIFF->currentIndex() < 0, f.erwartet[1].isEmpty());
    }
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_P(Achsen, OkStoresTheChosenRangesAndRedrawsTheFigure)
{
    zeile(3, 11, {0, 1500, 10, 30});
    zeile(7, 11, {5, 10, 5, 10});
    QPointer<frmKONTEXT11> d = new frmKONTEXT11(3);
    waehle(d->cboXMIN, "20");
    waehle(d->cboXDIFF, "7500");
    waehle(d->cboYMIN, "5");
    waehle(d->cboYDIFF, "45");
    d->cmdOK->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(d.isNull());
    EXPECT_EQ(gespeichert(3, 11), QStringLiteral("20 7520 5 50 0 0 12"));
    EXPECT_EQ(gespeichert(7, 11), QStringLiteral("5 10 5 10 0.5 0.5 12"));
    EXPECT_EQ(seite.bilder, std::vector<int16_t>{11});
}

TEST_P(Achsen, OkWithoutChoiceStoresStartZeroOrEndEqualToStart)
{
    // A width of 1440 and a start of 12 are on no list: the lists stay empty.
    zeile(3, 11, {0, 1440, 12, 42});
    auto* d = new frmKONTEXT11(3);
    d->cmdOK->click();
    EXPECT_EQ(gespeichert(3, 11), QStringLiteral("0 0 0 30 0 0 12"));

    // Without a row, OK makes one with the record, the figure and the ranges.
    haupt.DBPROJEKT()->Execute(QStringLiteral("DELETE FROM [G0]"));
    d = new frmKONTEXT11(3);
    d->cmdOK->click();
    EXPECT_EQ(gespeichert(3, 11), QStringLiteral("0 0 0 0 0 0 -"));
    EXPECT_EQ(haupt.ZEILEN(QStringLiteral("G0")), 1);
}

TEST_P(Achsen, MultipleEvaluationDialogTouchesOnlyRecordZero)
{
    zeile(0, 110, {0, 100, 0, 50});
    zeile(3, 110, {5, 10, 5, 10});
    zeile(3, 11, {5, 10, 5, 10});
    TESTSEITE mseite(QStringLiteral("mdiMSEITE1"));
    haupt.SETZEAKTIVESKIND(QStringLiteral("mdiMSEITE1"));
    auto* d = new frmKONTEXT110;
    EXPECT_EQ(d->objectName(), QStringLiteral("frmKONTEXT110"));
    EXPECT_EQ(auswahl(*d), (QStringList{"0", "100", "0", "50"}));
    waehle(d->cboXDIFF, "1000");
    d->cmdOK->click();
    EXPECT_EQ(gespeichert(0, 110), QStringLiteral("0 1000 0 50 0 0 12"));
    EXPECT_EQ(gespeichert(3, 110), QStringLiteral("5 10 5 10 0.5 0.5 12"));
    EXPECT_EQ(gespeichert(3, 11), QStringLiteral("5 10 5 10 0.5 0.5 12"));
    EXPECT_EQ(mseite.bilder, std::vector<int16_t>{110});
}

TEST_P(Achsen, CancelWritesAndDrawsNothing)
{
    zeile(3, 11, {0, 1500, 10, 30});
    QPointer<frmKONTEXT11> d = new frmKONTEXT11(3);
    waehle(d->cboXMIN, "20");
    d->cmdABBRECHEN->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(d.isNull());
    EXPECT_EQ(gespeichert(3, 11), QStringLiteral("0 1500 10 30 0.5 0.5 12"));
    EXPECT_TRUE(seite.bilder.empty());
}

TEST_P(Achsen, OpensModallyForThePagesRecordAndPlacesItself)
{
    // The active record is 3, the page's record 7: the page's record counts.
    zeile(7, 11, {0, 100, 0, 50});
    QString gesehen;
    QPoint ort;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<frmKONTEXT11*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        modal = d->isModal();
        ort = d->pos();
        gesehen = auswahl(*d).join(QLatin1Char('|'));
        waehle(d->cboYDIFF, "10");
        d->cmdOK->click();
    });
    SEITENDIALOGE::ACHSEN(11, 7);
    EXPECT_TRUE(modal);
    EXPECT_EQ(gesehen, QStringLiteral("0|100|0|50"));
    const QRect schirm = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(ort, QPoint(int(schirm.width() * 0.6), int(schirm.height() * 0.1)));
    EXPECT_EQ(gespeichert(7, 11), QStringLiteral("0 100 0 10 0 0 12"));
    EXPECT_EQ(gespeichert(3, 11), QString());
    EXPECT_EQ(seite.bilder, std::vector<int16_t>{11});
}

VELD_BOTH_LOCALES(Achsen);

} // namespace
