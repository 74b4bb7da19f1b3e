// The input window: its empty state, the identifier check, the store and
// load chains against a real working copy, and the keys it sees first.

#include "input/mdiEINGABE.h"

#include "input/clsFLX.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/controls/PictureBox.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/Variant.h"
#include "support/ScriptedDialogs.h"
#include "support/TESTHAUPTFENSTER.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

class Eingabe : public ::testing::Test {
protected:
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    std::unique_ptr<mdiEINGABE> laden(bool zeigen = false) {
        auto fenster = std::make_unique<mdiEINGABE>();
        fenster->Form_Load();
        if (zeigen) {
            fenster->show();
            QApplication::setActiveWindow(fenster.get());
            EXPECT_TRUE(QTest::qWaitForWindowActive(fenster.get()));
        }
        return fenster;
    }

    static QStringList spalte(const MSFlexGrid& grid, int col) {
        QStringList texte;
        for (int r = grid.FixedRows(); r < grid.Rows(); ++r) texte << grid.TextMatrix(r, col);
        return texte;
    }

    // The E3 rows of a record as "I1|DATUM|UHRZEIT|DET|V|TEMP", Null as "-".
    QStringList messwerte(int id) {
        QStringList zeilen;
        Recordset rs(QStringLiteral("SELECT * FROM [E3] WHERE [ID]=? ORDER BY [I1]"),
                     *haupt.DBPROJEKT(), {id});
        for (; !rs.Eof(); rs.MoveNext()) {
            QStringList werte;
            for (const char* name : {"I1", "DATUM", "UHRZEIT", "DET", "V", "TEMP"}) {
                const QVariant wert = rs.Value(QString::fromLatin1(name));
                werte << (IsNull(wert) ? QStringLiteral("-") : wert.toString());
            }
            zeilen << werte.join(QLatin1Char('|'));
        }
        return zeilen;
    }

    TESTHAUPTFENSTER haupt;
    ScriptedDialogs boxen;
};

} // namespace

TEST_F(Eingabe, ANewWindowIsEmptyWithOneRowNumberedZero) {
    auto f = laden();
    const MSFlexGrid& grid = *f->msgFLX.at(0);
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.Cols(), 6);
    EXPECT_EQ(spalte(grid, 0), QStringList({QStringLiteral("0")}));
    EXPECT_EQ(grid.TextMatrix(0, 4), QStringLiteral("Wasservolumen"));
    EXPECT_EQ(f->SSTab->currentIndex(), 0);
    EXPECT_EQ(f->SSTab->tabText(0), QStringLiteral("Allgemeine Daten"));
    EXPECT_EQ(f->SSTab->tabText(1), QString::fromUtf8("Meßwerte"));
    EXPECT_EQ(f->SSTab->font().family(), QStringLiteral("Liberation Sans Narrow"));
    EXPECT_EQ(f->cboVT->currentText(), QStringLiteral("Enslin"));
    EXPECT_EQ(f->cboTMAX->count(), 1);
    EXPECT_EQ(f->cboTMAX->itemText(0), QStringLiteral("1440"));
    EXPECT_EQ(f->lblDMAX->text(), QString::fromUtf8("Größtkorn d      [mm]"));
    EXPECT_EQ(f->lblINDEX->text(), QStringLiteral("max"));
    EXPECT_TRUE(f->txtFLX.at(0)->isHidden());
    EXPECT_EQ(f->cmdH.at(0)->text(), QString::fromUtf8("Zeile einfügen"));
    // The tab control is centred below the identifier frame.
    f->resize(900, 600);
    f->Form_Resize();
    EXPECT_EQ(f->SSTab->x(), (900 - f->SSTab->width()) / 2);
    EXPECT_EQ(f->SSTab->y(), int(1.5 * f->fraKEN->height()));
    EXPECT_EQ(f->fraKEN->x(), f->SSTab->x());
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_F(Eingabe, ABlankIdentifierCannotBeLeftByTab) {
    for (const int16_t sprache : {int16_t(3), int16_t(1)}) {
        haupt.SETZESPRACHE(sprache);
        auto f = laden(true);
        f->txtKEN->setFocus();
        QTest::keyClicks(f->txtKEN, QStringLiteral("   "));
        boxen.expect(vbOK);
        QTest::keyClick(f->txtKEN, Qt::Key_Tab);
        QApplication::processEvents();
        ASSERT_EQ(boxen.boxes().size(), 1);
        const auto& box = boxen.boxes().first();
        EXPECT_EQ(box.prompt, sprache == 1 ? QStringLiteral("File name is missing!")
                                           : QStringLiteral("Datensatzkennzeichnung fehlt!"));
        EXPECT_EQ(box.title,
                  sprache == 1 ? QStringLiteral("Data error") : QStringLiteral("Datenfehler"));
        EXPECT_EQ(box.style, 48);
        EXPECT_TRUE(f->txtKEN->hasFocus());
        // With an identifier the field is left without a word.
        QTest::keyClicks(f->txtKEN, QStringLiteral("B1"));
        QTest::keyClick(f->txtKEN, Qt::Key_Tab);
        QApplication::processEvents();
        EXPECT_FALSE(f->txtKEN->hasFocus());
        EXPECT_EQ(boxen.boxes().size(), 1);
        boxen.clear();
    }
}

TEST_F(Eingabe, StoresTheRecordAndOpensItAgain) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto f = laden();
    f->txtKEN->setText(QStringLiteral(" B-7 "));
    f->txtKOM->setText(QStringLiteral("Probe"));
    f->cboVT->setCurrentIndex(1);
    f->txtDMAX->setText(QStringLiteral("2,5"));
    f->txtMS->setText(QStringLiteral("120,25"));
    MSFlexGrid& grid = *f->msgFLX.at(0);
    grid.SetRows(6);
    const char* zellen[5][5] = {{"01.02.03", "10:00:00", "", " 1,5 ", "20"},
                                {"01.02.03", "10:01:00", "", "2,25", ""},
                                {"01.02.03", "10:03:00", "", "3", "21,5"},
                                {"", "", "", "", ""},
                                {"01.02.03", "11:00:00", "", "4", ""}};
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c)
            grid.SetTextMatrix(r + 1, c + 1, QString::fromUtf8(zellen[r][c]));
    f->FLX(0).AKTUALISIEREN();
    ASSERT_TRUE(f->OK(4));
    EXPECT_TRUE(boxen.boxes().isEmpty());
    EXPECT_EQ(haupt.WERT(QStringLiteral("SELECT [KEN] FROM [E1] WHERE [ID]=4")).toString(),
              QStringLiteral(" B-7 "));
    EXPECT_EQ(haupt.WERT(QStringLiteral("SELECT [AKT] FROM [E1] WHERE [ID]=4")).toInt(), 1);
    EXPECT_EQ(haupt.WERT(QStringLiteral("SELECT [VT] FROM [E2] WHERE [ID]=4")).toInt(), 1);
    EXPECT_FLOAT_EQ(haupt.WERT(QStringLiteral("SELECT [MS] FROM [E2] WHERE [ID]=4")).toFloat(),
                    120.25f);
    EXPECT_EQ(haupt.WERT(QStringLiteral("SELECT [TMAX] FROM [E2] WHERE [ID]=4")).toInt(), 1440);
    const QStringList zeilen = messwerte(4);
    ASSERT_EQ(zeilen.size(), 5);
    EXPECT_EQ(zeilen[0], QStringLiteral("0|01.02.03|10:00:00|0|1.5|20"));
    EXPECT_EQ(zeilen[1], QStringLiteral("1|01.02.03|10:01:00|1|2.25|-"));
    // An empty row keeps its running number; its elapsed time is computed.
    EXPECT_TRUE(zeilen[3].startsWith(QStringLiteral("3|-|-|")));
    EXPECT_TRUE(zeilen[3].endsWith(QStringLiteral("|-|-")));

    auto g = laden();
    g->OEFFNEN(4);
    EXPECT_EQ(g->txtKEN->text(), QStringLiteral(" B-7 "));
    EXPECT_EQ(g->txtKOM->text(), QStringLiteral("Probe"));
    EXPECT_EQ(g->cboVT->currentText(), QStringLiteral("Neff"));
    EXPECT_EQ(g->txtDMAX->text(), QStringLiteral("2,5"));
    EXPECT_EQ(g->cboTMAX->currentText(), QStringLiteral("1440"));
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(spalte(*g->msgFLX.at(0), c), spalte(grid, c)) << c;
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_F(Eingabe, AValueTheColumnRefusesEndsTheStore) {
    auto f = laden();
    f->txtKEN->setText(QStringLiteral("X"));
    f->txtMS->setText(QStringLiteral("abc"));
    boxen.expect(vbOK);
    EXPECT_FALSE(f->OK(2));
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(boxen.boxes().first().title, QStringLiteral("Datenfehler"));
    // What came before stays (the caller undoes it); nothing after it.
    EXPECT_EQ(haupt.ZEILEN(QStringLiteral("E1")), 1);
    EXPECT_EQ(haupt.ZEILEN(QStringLiteral("E3")), 0);
}

TEST_F(Eingabe, TheKeypadDecimalKeyTypesTheSeparator) {
    for (const QString& trenner : {QStringLiteral(","), QStringLiteral(".")}) {
        QLocale::setDefault(trenner == QLatin1String(",") ? QLocale(QLocale::German)
                                                          : QLocale::c());
        haupt.SETZEDEZIMALPUNKT(trenner);
        auto f = laden(true);
        f->txtKEN->setText(QStringLiteral("K"));
        f->SSTab->setCurrentIndex(0);
        f->txtMS->setFocus();
        QTest::keyClicks(f->txtMS, QStringLiteral("12"));
        QTest::keyClick(f->txtMS, Qt::Key_Period, Qt::KeypadModifier);
        QTest::keyClick(f->txtMS, Qt::Key_Comma, Qt::KeypadModifier);
        EXPECT_EQ(f->txtMS->text(), QStringLiteral("12") + trenner + trenner);

        // On the grid the key opens the cell editor with the separator, and
        // in the editor it types it again.
        f->SSTab->setCurrentIndex(1);
        MSFlexGrid& grid = *f->msgFLX.at(0);
        grid.SetRow(1);
        grid.SetCol(4);
        grid.setFocus();
        QTest::keyClick(&grid, Qt::Key_1);
        QTest::keyClick(f->txtFLX.at(0), Qt::Key_Period, Qt::KeypadModifier);
        QTest::keyClick(f->txtFLX.at(0), Qt::Key_5);
        EXPECT_EQ(f->txtFLX.at(0)->text(), QStringLiteral("1") + trenner + QStringLiteral("5"));
        EXPECT_TRUE(boxen.boxes().isEmpty());
    }
}

TEST_F(Eingabe, KeysTheWindowSeesFirst) {
    auto f = laden(true);
    f->txtKEN->setText(QStringLiteral("K"));
    f->SSTab->setCurrentIndex(1);
    MSFlexGrid& grid = *f->msgFLX.at(0);
    grid.SetTextMatrix(1, 4, QStringLiteral("7"));
    grid.SetRow(1);
    grid.SetCol(4);
    // Ctrl+C copies the grid's block only while the grid has the focus.
    QApplication::clipboard()->setText(QStringLiteral("vorher"));
    f->txtKOM->setFocus();
    QTest::keyClick(f->txtKOM, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("vorher"));
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().trimmed(), QStringLiteral("7"));
    QApplication::clipboard()->setText(QStringLiteral("9"));
    grid.SetCol(5);
    QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
    // The paste, then the refresh of the key that reached the grid.
    EXPECT_EQ(grid.TextMatrix(1, 5), QStringLiteral("9.00"));

    // Ctrl+S presses panel 8 from anywhere, Alt+Q quits.
    QTest::keyClick(f->txtKEN, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(haupt.PANELS(), std::vector<int>({8}));
    QTest::keyClick(&grid, Qt::Key_Q, Qt::AltModifier);
    EXPECT_EQ(haupt.BEENDENAUFRUFE(), 1);
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

// Both heading lines of each readings column lie within it; all columns show.
TEST_F(Eingabe, TheReadingsHeadingsDoNotOverlap) {
    auto f = laden(true);
    f->SSTab->setCurrentIndex(1);
    PrimitiveLog protokoll;
    f->picFLX.at(0)->SetRecorder(&protokoll);
    f->FLX(0).BESCHRIFTEN();
    f->picFLX.at(0)->SetRecorder(nullptr);
    const MSFlexGrid& grid = *f->msgFLX.at(0);
    const QList<Primitive> texte = protokoll.of(Primitive::Kind::Text);
    ASSERT_EQ(texte.size(), 12);
    double links = 1.0; // mm: the headings start 1 mm into the picture
    for (int c = 0; c < 6; ++c) {
        const double rechts = links + grid.ColWidth(c) / 56.7;
        for (const Primitive& text : {texte[2 * c], texte[2 * c + 1]})
            EXPECT_TRUE(text.x1 >= links && text.x2 <= rechts) << text.text.toStdString();
        links = rechts;
    }
    EXPECT_LE(links - 1.0, grid.Width() / 56.7);
}
