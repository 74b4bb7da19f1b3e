// Transfers between real controls (offscreen) and a column of a view: text
// boxes, check boxes, combo and list boxes, labels, option buttons, and a
// flex grid column as a series of rows.

#include "test_clsdaten_labor.h"

#include "platform/controls/MSFlexGrid.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

namespace {

class Steuerelemente : public DatenTest {
protected:
    void SetUp() override { daten.ESPIDW(7); }
    clsDATEN daten;
};

class Raster : public DatenTest {
protected:
    void SetUp() override {
        daten.ETABELLE(QStringLiteral("E3"));
        daten.ESPIDW(7);
        raster.SetCols(6);
        raster.SetIndex(0);
        raster.resize(600, 300);
    }

    // Data rows of the grid: one text per row for column c.
    void zeilen(int c, const QStringList& texte) {
        raster.SetRows(raster.FixedRows() + int(texte.size()));
        for (int r = 0; r < texte.size(); ++r)
            raster.SetTextMatrix(raster.FixedRows() + r, c, texte.at(r));
    }
    QStringList rasterspalte(int c) {
        QStringList texte;
        for (int r = raster.FixedRows(); r < raster.Rows(); ++r)
            texte << raster.TextMatrix(r, c);
        return texte;
    }

    clsDATEN daten;
    MSFlexGrid raster;
};

} // namespace

TEST_F(Steuerelemente, TextBoxes) {
    QLineEdit txtKOM;
    EXPECT_TRUE(daten.DFTTT(QStringLiteral("KOM"), txtKOM));
    EXPECT_TRUE(IsNull(fenster.WERT(QStringLiteral("SELECT [KOM] FROM [E1] WHERE [ID]=7"))));
    txtKOM.setText(QStringLiteral("alt"));
    EXPECT_TRUE(daten.DTFTT(QStringLiteral("KOM"), txtKOM));
    EXPECT_EQ(txtKOM.text(), QString());

    txtKOM.setText(QStringLiteral("Ton, grau"));
    EXPECT_TRUE(daten.DFTT(QStringLiteral("KOM"), txtKOM));
    QLineEdit txtKEN;
    txtKEN.setText(QStringLiteral("O'Neil"));
    EXPECT_TRUE(daten.DFTTT(QStringLiteral("KEN"), txtKEN));
    QLineEdit gelesen;
    EXPECT_TRUE(daten.DTFT(QStringLiteral("KOM"), gelesen));
    EXPECT_EQ(gelesen.text(), QStringLiteral("Ton, grau"));
    EXPECT_EQ(fenster.ZEILEN(QStringLiteral("E1")), 1);

    // No row: the box is cleared, and the read is done.
    daten.ESPIDW(8);
    EXPECT_TRUE(daten.DTFTT(QStringLiteral("KOM"), gelesen));
    EXPECT_EQ(gelesen.text(), QString());

    // A text the column refuses.
    daten.ETABELLE(QStringLiteral("E2"));
    QLineEdit txtMS;
    txtMS.setText(QStringLiteral("viel"));
    boxen.expect(vbOK);
    EXPECT_FALSE(daten.DFTTT(QStringLiteral("MS"), txtMS));
    EXPECT_EQ(
        boxen.boxes()[0].prompt,
        QStringLiteral("Wert viel kann nicht in die Spalte MS der Tabelle E2 gespeichert werden!"));
}

TEST_F(Steuerelemente, CheckBoxesKeepTheirThreeStates) {
    daten.ETABELLE(QStringLiteral("E2"));
    QCheckBox chkX;
    for (const Qt::CheckState zustand : {Qt::Checked, Qt::PartiallyChecked, Qt::Unchecked}) {
        chkX.setTristate(true);
        chkX.setCheckState(zustand);
        EXPECT_TRUE(daten.DFTC(QStringLiteral("VT"), chkX));
        QCheckBox gelesen;
        gelesen.setCheckState(zustand == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
        EXPECT_TRUE(daten.DTFCV(QStringLiteral("VT"), gelesen));
        EXPECT_EQ(gelesen.checkState(), zustand);
    }
    EXPECT_EQ(spalte(QStringLiteral("SELECT [VT] FROM [E2]")), QVariantList({short(0)}));

    // A value that is no check box value reaches the caller; the box stays.
    sql(QStringLiteral("UPDATE [E2] SET [VT]=5"));
    chkX.setCheckState(Qt::Checked);
    EXPECT_EQ(Fehlernummer([&] { daten.DTFC(QStringLiteral("VT"), chkX); }), 380);
    EXPECT_EQ(chkX.checkState(), Qt::Checked);

    // No row clears it; the caption goes both ways.
    daten.ESPIDW(8);
    EXPECT_TRUE(daten.DTFC(QStringLiteral("VT"), chkX));
    EXPECT_EQ(chkX.checkState(), Qt::Unchecked);
    daten.ETABELLE(QStringLiteral("E1"));
    chkX.setText(QStringLiteral("Enslin"));
    EXPECT_TRUE(daten.DFTCC(QStringLiteral("KOM"), chkX));
    QCheckBox gelesen;
    EXPECT_TRUE(daten.DTFCC(QStringLiteral("KOM"), gelesen));
    EXPECT_EQ(gelesen.text(), QStringLiteral("Enslin"));
}

TEST_F(Steuerelemente, ComboBoxesByListIndexAndText) {
    daten.ETABELLE(QStringLiteral("E2"));
    QComboBox cboVT;
    cboVT.addItems({QStringLiteral("Enslin"), QStringLiteral("Neff")});
    cboVT.setCurrentIndex(1);
    EXPECT_TRUE(daten.DFTML(QStringLiteral("VT"), cboVT));
    EXPECT_EQ(fenster.WERT(QStringLiteral("SELECT [VT] FROM [E2] WHERE [ID]=7")).toInt(), 1);
    cboVT.setCurrentIndex(0);
    EXPECT_TRUE(daten.DTFML(QStringLiteral("VT"), cboVT));
    EXPECT_EQ(cboVT.currentIndex(), 1);
    cboVT.setCurrentIndex(-1);
    EXPECT_TRUE(daten.DFTML(QStringLiteral("VT"), cboVT));
    EXPECT_EQ(fenster.WERT(QStringLiteral("SELECT [VT] FROM [E2] WHERE [ID]=7")).toInt(), -1);

    // A stored index beyond the list reaches the caller.
    sql(QStringLiteral("UPDATE [E2] SET [VT]=5"));
    cboVT.setCurrentIndex(1);
    EXPECT_EQ(Fehlernummer([&] { daten.DTFML(QStringLiteral("VT"), cboVT); }), 380);
    EXPECT_EQ(cboVT.currentIndex(), 1);
    // No row selects the first entry; an empty list is left alone.
    daten.ESPIDW(8);
    EXPECT_TRUE(daten.DTFML(QStringLiteral("VT"), cboVT));
    EXPECT_EQ(cboVT.currentIndex(), 0);
    QComboBox leer;
    EXPECT_TRUE(daten.DTFML(QStringLiteral("VT"), leer));
    EXPECT_EQ(leer.currentIndex(), -1);

    // Texts: the editable box of the reference time.
    daten.ESPIDW(7);
    QComboBox cboTMAX;
    cboTMAX.setEditable(true);
    cboTMAX.addItem(QStringLiteral("1440"));
    cboTMAX.setEditText(QStringLiteral("2880"));
    EXPECT_TRUE(daten.DFTM(QStringLiteral("TMAX"), cboTMAX));
    cboTMAX.setEditText(QString());
    EXPECT_TRUE(daten.DTFM(QStringLiteral("TMAX"), cboTMAX));
    EXPECT_EQ(cboTMAX.currentText(), QStringLiteral("2880"));
}

TEST_F(Steuerelemente, ComboBoxEntriesAndDropDownLists) {
    daten.ETABELLE(QStringLiteral("E1"));
    QComboBox cboX;
    cboX.addItems({QStringLiteral("Enslin"), QStringLiteral("Neff")});
    cboX.setCurrentIndex(-1);
    EXPECT_TRUE(daten.DFTMS(QStringLiteral("KOM"), cboX)); // nothing chosen: unset
    QVariant wert = 1;
    EXPECT_TRUE(daten.DTVV(QStringLiteral("KOM"), wert));
    EXPECT_TRUE(IsEmpty(wert));
    cboX.setCurrentIndex(1);
    EXPECT_TRUE(daten.DFTMS(QStringLiteral("KOM"), cboX));
    EXPECT_TRUE(daten.DTFMS(QStringLiteral("KOM"), cboX));
    EXPECT_EQ(cboX.count(), 3);
    EXPECT_EQ(cboX.itemText(2), QStringLiteral("Neff"));

    // A drop-down list selects the matching entry; a text that matches none
    // leaves the choice; an editable box takes the text.
    QComboBox liste;
    liste.addItems({QStringLiteral("Enslin"), QStringLiteral("Neff")});
    liste.setCurrentIndex(0);
    EXPECT_TRUE(daten.DTFMT(QStringLiteral("KOM"), liste));
    EXPECT_EQ(liste.currentIndex(), 1);
    EXPECT_TRUE(daten.DVTT(QStringLiteral("KOM"), QStringLiteral("Proctor")));
    EXPECT_TRUE(daten.DTFMT(QStringLiteral("KOM"), liste));
    EXPECT_EQ(liste.currentIndex(), 1);
    QComboBox frei;
    frei.setEditable(true);
    frei.addItems({QStringLiteral("Enslin"), QStringLiteral("Neff")});
    EXPECT_TRUE(daten.DTFMT(QStringLiteral("KOM"), frei));
    EXPECT_EQ(frei.currentText(), QStringLiteral("Proctor"));
    // A stored number matches an entry as a number.
    daten.ETABELLE(QStringLiteral("E2"));
    EXPECT_TRUE(daten.DVTS(QStringLiteral("TMAX"), 1440));
    QComboBox zeiten;
    zeiten.addItems({QStringLiteral("720"), QStringLiteral("1440,0")});
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_TRUE(daten.DTFMT(QStringLiteral("TMAX"), zeiten));
    EXPECT_EQ(zeiten.currentIndex(), 1);
}

TEST_F(Steuerelemente, TheComboListReadAppendsEveryValue) {
    messwerte(7, {VNull(), VNull(), VNull()});
    sql(QStringLiteral("UPDATE [E3] SET [DATUM]='0' || [I1] || '.01.24' WHERE [I1]<>1"));
    daten.ETABELLE(QStringLiteral("E3"));
    QComboBox cboX;
    cboX.addItem(QStringLiteral("vorher"));
    EXPECT_TRUE(daten.DTFMM(QStringLiteral("DATUM"), cboX, QStringLiteral("I1")));
    ASSERT_EQ(cboX.count(), 3);
    EXPECT_EQ(cboX.itemText(1), QStringLiteral("00.01.24"));
    EXPECT_EQ(cboX.itemText(2), QStringLiteral("02.01.24"));
    daten.ESPIDW(8);
    EXPECT_TRUE(daten.DTFMM(QStringLiteral("DATUM"), cboX));
    EXPECT_EQ(cboX.count(), 3);
}

TEST_F(Steuerelemente, ListBoxesFilledFromAColumn) {
    messwerte(7, {1.5, VNull(), 3.5});
    daten.ETABELLE(QStringLiteral("E3"));
    QListWidget lstX;
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(daten.DTFI(QStringLiteral("V"), lstX, QStringLiteral("I1"), i));
    ASSERT_EQ(lstX.count(), 3);
    EXPECT_EQ(lstX.item(0)->text(), QStringLiteral("1.5"));
    EXPECT_EQ(lstX.item(1)->text(), QString()); // a Null adds an empty entry
    EXPECT_EQ(lstX.item(2)->text(), QStringLiteral("3.5"));

    lstX.setCurrentRow(2);
    daten.ETABELLE(QStringLiteral("E1"));
    EXPECT_TRUE(daten.DFTI(QStringLiteral("KOM"), lstX));
    EXPECT_EQ(fenster.WERT(QStringLiteral("SELECT [KOM] FROM [E1] WHERE [ID]=7")).toString(),
              QStringLiteral("3.5"));
    daten.ETABELLE(QStringLiteral("E2"));
    EXPECT_TRUE(daten.DFTIL(QStringLiteral("VT"), lstX));
    EXPECT_EQ(fenster.WERT(QStringLiteral("SELECT [VT] FROM [E2] WHERE [ID]=7")).toInt(), 2);
    lstX.setCurrentRow(0);
    EXPECT_TRUE(daten.DTFIL(QStringLiteral("VT"), lstX));
    EXPECT_EQ(lstX.currentRow(), 2);
    // Nothing chosen: the empty entry.
    daten.ETABELLE(QStringLiteral("E1"));
    lstX.setCurrentRow(-1);
    EXPECT_TRUE(daten.DFTIS(QStringLiteral("KOM"), lstX));
    EXPECT_TRUE(IsNull(fenster.WERT(QStringLiteral("SELECT [KOM] FROM [E1] WHERE [ID]=7"))));
}

TEST_F(Steuerelemente, LabelsAndTheirIndexInAnArray) {
    daten.ETABELLE(QStringLiteral("E2"));
    QLabel lblX(QStringLiteral("Neff"));
    EXPECT_EQ(Fehlernummer([&] { daten.DFTLI(QStringLiteral("VT"), lblX); }), 343);
    SetControlIndex(lblX, 3);
    EXPECT_TRUE(daten.DFTLI(QStringLiteral("VT"), lblX));
    EXPECT_EQ(fenster.WERT(QStringLiteral("SELECT [VT] FROM [E2]")).toInt(), 3);
    daten.ETABELLE(QStringLiteral("E1"));
    EXPECT_TRUE(daten.DFTLC(QStringLiteral("KOM"), lblX));
    QLabel gelesen(QStringLiteral("alt"));
    EXPECT_TRUE(daten.DTFL(QStringLiteral("KOM"), gelesen));
    EXPECT_EQ(gelesen.text(), QStringLiteral("Neff"));
}

TEST_F(Steuerelemente, OptionButtonsAreClearedEvenInTheirGroup) {
    daten.ETABELLE(QStringLiteral("A1"));
    QWidget fensterchen;
    QRadioButton optA(&fensterchen);
    QRadioButton optB(&fensterchen);
    optA.setChecked(true);
    EXPECT_TRUE(daten.DFTO(QStringLiteral("BONEU"), optA));
    EXPECT_TRUE(daten.DTFOV(QStringLiteral("BONEU"), optB));
    EXPECT_TRUE(optB.isChecked());
    daten.ESPIDW(8); // no row
    EXPECT_TRUE(daten.DTFO(QStringLiteral("BONEU"), optB));
    EXPECT_FALSE(optB.isChecked());
    EXPECT_FALSE(optA.isChecked());
    // Clearing keeps the buttons exclusive afterwards.
    optA.setChecked(true);
    optB.setChecked(true);
    EXPECT_FALSE(optA.isChecked());
}

TEST_F(Raster, AGridColumnReplacesTheViewAndReadsBack) {
    zeilen(0, {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")});
    zeilen(4, {QStringLiteral(" 1,5 "), QString(), QStringLiteral("3")});
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_TRUE(
        daten.DFTFM(QStringLiteral("I1"), raster, QStringLiteral("0"), QStringLiteral("I1")));
    EXPECT_TRUE(
        daten.DFTFM(QStringLiteral("V"), raster, QStringLiteral("4"), QStringLiteral("I1")));
    EXPECT_EQ(spalte(QStringLiteral("SELECT [V] FROM [E3] WHERE [ID]=7 ORDER BY [I1]")),
              QVariantList({1.5f, VNull(), 3.0f}));

    MSFlexGrid gelesen;
    gelesen.SetCols(6);
    gelesen.SetIndex(0);
    EXPECT_TRUE(
        daten.DTFFM(QStringLiteral("I1"), gelesen, QStringLiteral("0"), QStringLiteral("I1")));
    EXPECT_TRUE(
        daten.DTFFM(QStringLiteral("V"), gelesen, QStringLiteral("4"), QStringLiteral("I1")));
    EXPECT_EQ(gelesen.Rows(), 4);
    EXPECT_TRUE(gelesen.Enabled());
    EXPECT_EQ(gelesen.BackColor(), MSFlexGrid::kFensterhintergrund);
    QStringList v;
    for (int r = 1; r < 4; ++r)
        v << gelesen.TextMatrix(r, 4);
    EXPECT_EQ(v, QStringList({QStringLiteral("1,5"), QString(), QStringLiteral("3")}));
}

TEST_F(Raster, FourGridRowsOverSixViewRowsKeepFour) {
    messwerte(7, {10, 11, 12, 13, 14, 15});
    zeilen(4, {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
    EXPECT_TRUE(daten.DFTF(QStringLiteral("V"), raster, QStringLiteral("4"), QStringLiteral("I1")));
    EXPECT_EQ(spalte(QStringLiteral("SELECT [V] FROM [E3] WHERE [ID]=7 ORDER BY [I1]")),
              QVariantList({1.0f, 2.0f, 3.0f, 4.0f}));
    EXPECT_EQ(spalte(QStringLiteral("SELECT [I1] FROM [E3] WHERE [ID]=7 ORDER BY [I1]")),
              QVariantList({short(0), short(1), short(2), short(3)}));
}

TEST_F(Raster, ADisabledGridDeletesTheViewAndAnEmptyViewDisablesTheGrid) {
    messwerte(7, {10, 11, 12});
    zeilen(4, {QStringLiteral("a")});
    raster.SetEnabled(false);
    EXPECT_TRUE(daten.DFTF(QStringLiteral("V"), raster, QStringLiteral("4"), QStringLiteral("I1")));
    EXPECT_EQ(fenster.ZEILEN(QStringLiteral("E3"), QStringLiteral("[ID]=7")), 0);

    raster.SetEnabled(true);
    raster.SetBackColorFixed(int32_t(0xC0C0C0));
    EXPECT_TRUE(daten.DTFF(QStringLiteral("V"), raster, QStringLiteral("4"), QStringLiteral("I1")));
    EXPECT_FALSE(raster.Enabled());
    EXPECT_EQ(raster.BackColor(), int32_t(0xC0C0C0));
    EXPECT_EQ(raster.Rows(), 2);
    EXPECT_EQ(raster.TextMatrix(1, 4), QStringLiteral("a"));
}

TEST_F(Raster, AViewWithRowsEnablesTheGridBeforeItsColumnIsRead) {
    messwerte(7, {10, 11});
    raster.SetEnabled(false);
    raster.SetBackColor(int32_t(0xC0C0C0));
    boxen.expect(vbOK, QStringLiteral("Werte der Spalte V der Tabelle E3 können nicht in die "
                                      "Spalte x\r\nder FlexGrid-Tabelle 0 eingelesen werden!"));
    EXPECT_FALSE(daten.DTFF(QStringLiteral("V"), raster, QStringLiteral("x"), QStringLiteral("I1")));
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_TRUE(raster.Enabled());
    EXPECT_EQ(raster.BackColor(), MSFlexGrid::kFensterhintergrund);
}

TEST_F(Raster, TheGridReadGrowsTheGridAndStartsBelowZnr) {
    messwerte(7, {1, 2, VNull(), 4, 5});
    zeilen(4, {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")});
    EXPECT_EQ(raster.Rows(), 4);
    EXPECT_TRUE(daten.DTFF(QStringLiteral("V"), raster, QStringLiteral("4"), QStringLiteral("I1")));
    EXPECT_EQ(raster.Rows(), 6);
    EXPECT_EQ(rasterspalte(4),
              QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("z"),
                           QStringLiteral("4"), QStringLiteral("5")}));

    // ZNR 1 with one fixed row starts at row 1; ZNR 2 at row 3. The grid
    // never shrinks.
    MSFlexGrid zwei;
    zwei.SetCols(6);
    zwei.SetIndex(1);
    EXPECT_TRUE(daten.DTFF(QStringLiteral("V"), zwei, QStringLiteral("4"), QStringLiteral("I1"),
                           std::nullopt, QString(), std::nullopt, QString(), std::nullopt,
                           QString(), 2));
    EXPECT_EQ(zwei.Rows(), 8);
    EXPECT_EQ(zwei.TextMatrix(2, 4), QString());
    EXPECT_EQ(zwei.TextMatrix(3, 4), QStringLiteral("1"));
    EXPECT_EQ(zwei.TextMatrix(7, 4), QStringLiteral("5"));
    EXPECT_TRUE(daten.DTFF(QStringLiteral("V"), zwei, QStringLiteral("4"), QStringLiteral("I1"),
                           std::nullopt, QString(), std::nullopt, QString(), std::nullopt,
                           QString(), 1));
    EXPECT_EQ(zwei.Rows(), 8);
    EXPECT_EQ(zwei.TextMatrix(1, 4), QStringLiteral("1"));
}

TEST_F(Raster, AValueTheColumnRefusesNamesTheGridAndOkGoesOn) {
    messwerte(7, {10, 11, 12});
    zeilen(4, {QStringLiteral("1"), QStringLiteral("abc"), QStringLiteral("3")});
    raster.SetIndex(2);
    boxen.expect(vbOK);
    EXPECT_TRUE(daten.DFTF(QStringLiteral("V"), raster, QStringLiteral("4"), QStringLiteral("I1")));
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_TRUE(boxen.boxes()[0].prompt.startsWith(
        QStringLiteral("Werte der Spalte V der Tabelle E3 können nicht in die Spalte 4\r\n"
                       "der FlexGrid-Tabelle 2 geschrieben werden!\r\nVB-Error: ")));
    EXPECT_EQ(boxen.boxes()[0].style, 49);
    EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("Datenfehler"));
    // The refused value is left out of its row; the others are written.
    EXPECT_EQ(spalte(QStringLiteral("SELECT [V] FROM [E3] WHERE [ID]=7 ORDER BY [I1]")),
              QVariantList({1.0f, 11.0f, 3.0f}));

    // Cancel leaves the view as it was.
    zeilen(4, {QStringLiteral("7"), QStringLiteral("abc")});
    boxen.expect(vbCancel);
    EXPECT_FALSE(
        daten.DFTF(QStringLiteral("V"), raster, QStringLiteral("4"), QStringLiteral("I1")));
    EXPECT_EQ(spalte(QStringLiteral("SELECT [V] FROM [E3] WHERE [ID]=7 ORDER BY [I1]")),
              QVariantList({1.0f, 11.0f, 3.0f}));

    // A grid outside an array of grids: the error reaches the caller.
    MSFlexGrid allein;
    allein.SetCols(6);
    allein.SetTextMatrix(1, 4, QStringLiteral("abc"));
    EXPECT_EQ(Fehlernummer([&] {
                  daten.DFTF(QStringLiteral("V"), allein, QStringLiteral("4"),
                             QStringLiteral("I1"));
              }),
              343);
    EXPECT_EQ(fenster.ZEILEN(QStringLiteral("E3"), QStringLiteral("[ID]=7")), 3);
}

TEST_F(Raster, TheInputWindowsSixColumnsKeepTheirRowsTogether) {
    const QStringList spalten = {QStringLiteral("I1"),      QStringLiteral("DATUM"),
                                 QStringLiteral("UHRZEIT"), QStringLiteral("DET"),
                                 QStringLiteral("V"),       QStringLiteral("TEMP")};
    raster.SetRows(4);
    const QStringList zeile[3] = {{"1", "01/02/24", "08:00:00", "0", "0", "20"},
                                  {"2", "01/02/24", "08:30:00", "30", "1.25", ""},
                                  {"3", "02/02/24", "08:00:00", "1440", "7", "21.5"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 6; ++c)
            raster.SetTextMatrix(r + 1, c, zeile[r].at(c));
    for (int c = 0; c < 6; ++c)
        EXPECT_TRUE(daten.DFTFM(spalten.at(c), raster, QString::number(c), QStringLiteral("I1")));
    EXPECT_EQ(fenster.ZEILEN(QStringLiteral("E3"), QStringLiteral("[ID]=7")), 3);

    MSFlexGrid gelesen;
    gelesen.SetCols(6);
    gelesen.SetIndex(0);
    for (int c = 0; c < 6; ++c)
        EXPECT_TRUE(daten.DTFFM(spalten.at(c), gelesen, QString::number(c), QStringLiteral("I1")));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(gelesen.TextMatrix(r + 1, c), zeile[r].at(c)) << r << "," << c;

    // Removing the middle row in the grid removes it from the table.
    raster.RemoveItem(2);
    for (int c = 0; c < 6; ++c)
        EXPECT_TRUE(daten.DFTFM(spalten.at(c), raster, QString::number(c), QStringLiteral("I1")));
    EXPECT_EQ(spalte(QStringLiteral("SELECT [UHRZEIT] FROM [E3] WHERE [ID]=7 ORDER BY [I1]")),
              QVariantList({QStringLiteral("08:00:00"), QStringLiteral("08:00:00")}));
    EXPECT_EQ(spalte(QStringLiteral("SELECT [I1] FROM [E3] WHERE [ID]=7 ORDER BY [I1]")),
              QVariantList({short(1), short(3)}));
}
