// The check of a value committed from the text box or the combo box: by
// the column's type and limits, in the user's decimal notation, with the
// boxes that explain a refusal.

#include "FLXFENSTER.h"

#include "data/clsDATEN.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/Variant.h"
#include "support/TESTHAUPTFENSTER.h"

namespace {

class FLXPruefen : public FLXTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        if (GetParam())
            deutsch();
        else
            c();
        grid.SetCols(6);
        f.binden(true);
        FLX.ELST1(QStringList{"Lfd.", "Datum", "Uhrzeit", "V", "Wahl", "Nr"});
        FLX.ELSTYP(QVariantList{0, 4, 5, 0, 7, 1});
        FLX.ELCBO(4, QStringList{"1", "2", "50"});
        grid.SetRows(4);
        for (int c = 0; c < 6; ++c)
            grid.SetTextMatrix(2, c, QStringLiteral("alt"));
    }
    static QString Dez(const char* deutsch) {
        QString text = QString::fromUtf8(deutsch);
        return QLocale().language() == QLocale::German
                   ? text
                   : text.replace(QLatin1Char(','), QLatin1Char('.'));
    }
    void grenzen(const QVariantList& min, const QVariantList& max) {
        FLX.ELMIN(min);
        FLX.ELMAX(max);
    }
    // Opens the text box (or the combo box) on a cell with a double-click,
    // writes text into it and commits it as Enter in the editor does.
    // Returns whether the editor closed.
    bool eingeben(int col, const QString& text) {
        grid.SetRow(2);
        grid.SetCol(col);
        FLX.BEARBEITEN(0, 0);
        const bool auswahl = !f.cboFLX->isHidden();
        if (auswahl)
            f.cboFLX->setEditText(text);
        else
            f.txtFLX->setText(text);
        FLX.EINFUEGEN(13);
        return auswahl ? f.cboFLX->isHidden() : f.txtFLX->isHidden();
    }
    void schliessen() {
        f.txtFLX->clear();
        FLX.EINFUEGEN(0);
    }

    FLXFENSTER f;
    MSFlexGrid& grid = *f.msgFLX;
    clsFLX& FLX = f.FLX;
};

std::string Gebietsname(const ::testing::TestParamInfo<bool>& info) {
    return info.param ? "de_DE" : "C";
}

const QString kBereich = QStringLiteral("Zahlenwert außerhalb der vorgegeben Schranken:");
const QString kZahl = QStringLiteral("Eingegeber Wert ist kein gültiges Zahlenformat!");
const QString kGanz = QStringLiteral("Eingegeber Wert ist keine ganze Zahl!");
const QString kDatum = QStringLiteral("Eingegeber Wert ist kein gültiges Datums- oder Zeitformat!");

} // namespace

INSTANTIATE_TEST_SUITE_P(Locales, FLXPruefen, ::testing::Values(true, false), Gebietsname);

TEST_P(FLXPruefen, ColumnsWithoutLimitsTakeAnyText) {
    EXPECT_TRUE(eingeben(3, QStringLiteral("Wasser")));
    EXPECT_EQ(grid.TextMatrix(2, 3), QStringLiteral("Wasser"));
    EXPECT_TRUE(eingeben(5, QStringLiteral("x1")));
    EXPECT_EQ(grid.TextMatrix(2, 5), QStringLiteral("x1"));
    EXPECT_TRUE(eingeben(4, QStringLiteral("frei")));
    EXPECT_EQ(grid.TextMatrix(2, 4), QStringLiteral("frei"));
    // Equal limits switch the check off too.
    grenzen({1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1});
    EXPECT_TRUE(eingeben(3, QStringLiteral("abc")));
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_P(FLXPruefen, ANumberOutsideItsLimits) {
    grenzen({0, 0, 0, 0, 0, 0}, {100, 100, 100, 100, 100, 100});
    EXPECT_TRUE(eingeben(3, QStringLiteral("0")));
    EXPECT_TRUE(eingeben(3, QStringLiteral("100")));
    dialoge.expect(vbOK, kBereich);
    EXPECT_FALSE(eingeben(3, Dez("100,5")));
    ASSERT_EQ(dialoge.boxes().size(), 1);
    const ScriptedDialogs::Box& box = dialoge.boxes().at(0);
    EXPECT_EQ(box.prompt, kBereich + QStringLiteral("\r\nMinimum: 0, Maximum: 100"));
    EXPECT_EQ(box.style, 48);
    EXPECT_EQ(box.title, QStringLiteral("MSFlexGrid / Spalte V"));
    // Refused: the editor stays open with the text, the cell as it was.
    EXPECT_EQ(f.txtFLX->text(), Dez("100,5"));
    EXPECT_EQ(grid.TextMatrix(2, 3), QStringLiteral("100"));

    grenzen({0, 0, 0, -2.5, 0, 0}, {100, 100, 100, 2.5, 100, 100});
    dialoge.expect(vbOK, QStringLiteral("Minimum: %1, Maximum: %2").arg(Dez("-2,5"), Dez("2,5")));
    f.txtFLX->setText(QStringLiteral("3"));
    FLX.EINFUEGEN(13);
    EXPECT_FALSE(f.txtFLX->isHidden());
}

TEST_P(FLXPruefen, IndexColumnsTakeWholeNumbersOnly) {
    grenzen({0, 0, 0, 0, 0, 0}, {100, 100, 100, 100, 100, 100});
    dialoge.expect(vbOK, kGanz);
    EXPECT_FALSE(eingeben(5, Dez("2,5")));
    EXPECT_EQ(dialoge.boxes().at(0).title, QStringLiteral("MSFlexGrid / Indexspalte Nr"));
    schliessen();
    dialoge.expect(vbOK, kBereich);
    EXPECT_FALSE(eingeben(5, QStringLiteral("101")));
    schliessen();
    // Beyond the range and not whole: the range message only.
    dialoge.expect(vbOK, kBereich);
    EXPECT_FALSE(eingeben(5, Dez("-1,5")));
    schliessen();
    dialoge.expect(vbOK, kZahl);
    EXPECT_FALSE(eingeben(5, QStringLiteral("Wort")));
    schliessen();
    EXPECT_TRUE(eingeben(5, QStringLiteral("42")));
    EXPECT_EQ(dialoge.boxes().size(), 4);
}

TEST_P(FLXPruefen, BlanksAroundANumberPassButTheCellGetsTheTextAsTyped) {
    grenzen({0, 0, 0, 0, 0, 0}, {100, 100, 100, 100, 100, 100});
    EXPECT_TRUE(eingeben(3, QStringLiteral("  12 ")));
    EXPECT_EQ(grid.TextMatrix(2, 3), QStringLiteral("  12 "));
    // A column format rewrites it.
    FLX.ELFORMAT(QStringList{"", "", "", "#0.00", "", ""});
    EXPECT_TRUE(eingeben(3, QStringLiteral("  12 ")));
    EXPECT_EQ(grid.TextMatrix(2, 3), Dez("12,00"));
    // Only blanks pass every check, and the cell takes them.
    EXPECT_TRUE(eingeben(1, QStringLiteral("   ")));
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_P(FLXPruefen, DatesAndTimesAreAlwaysChecked) {
    dialoge.expect(vbOK, kDatum);
    EXPECT_FALSE(eingeben(1, QStringLiteral("31.02.04")));
    EXPECT_EQ(dialoge.boxes().at(0).title, QStringLiteral("MSFlexGrid / Datumsspalte Datum"));
    EXPECT_EQ(dialoge.boxes().at(0).style, 48);
    EXPECT_EQ(f.txtFLX->text(), QStringLiteral("31.02.04"));
    EXPECT_EQ(grid.TextMatrix(2, 1), QStringLiteral("alt"));
    schliessen();
    dialoge.expect(vbOK, kDatum);
    EXPECT_FALSE(eingeben(2, QStringLiteral("Mittag")));
    EXPECT_EQ(dialoge.boxes().at(1).title, QStringLiteral("MSFlexGrid / Uhrzeitspalte Uhrzeit"));
    schliessen();
    // A time is a valid date-or-time; limits play no part.
    grenzen({0, 5, 5, 0, 0, 0}, {100, 6, 6, 100, 100, 100});
    EXPECT_TRUE(eingeben(1, QStringLiteral("12:30")));
    EXPECT_TRUE(eingeben(1, QStringLiteral("29.02.04")));
    EXPECT_TRUE(eingeben(2, QStringLiteral("23:59:59")));
    EXPECT_EQ(dialoge.boxes().size(), 2);
}

TEST_P(FLXPruefen, AnEmptyEditorEmptiesTheCellInEveryColumn) {
    grenzen({0, 0, 0, 0, 0, 0}, {100, 100, 100, 100, 100, 100});
    for (int c : {0, 1, 2, 3, 5}) {
        EXPECT_TRUE(eingeben(c, QString())) << c;
        EXPECT_EQ(grid.TextMatrix(2, c), QString()) << c;
    }
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_P(FLXPruefen, TheChoiceColumnChecksNumbersOnlyWithinLimits) {
    grenzen({0, 0, 0, 0, 1, 0}, {100, 100, 100, 100, 10, 100});
    dialoge.expect(vbOK, kBereich);
    EXPECT_FALSE(eingeben(4, QStringLiteral("50")));
    EXPECT_EQ(dialoge.boxes().at(0).title, QStringLiteral("MSFlexGrid / Spalte Wahl"));
    EXPECT_FALSE(f.cboFLX->isHidden());
    f.cboFLX->setEditText(QStringLiteral("2"));
    FLX.EINFUEGEN(0);
    EXPECT_TRUE(f.cboFLX->isHidden());
    EXPECT_EQ(grid.TextMatrix(2, 4), QStringLiteral("2"));
}

TEST_P(FLXPruefen, ANumberBeyondASingleIsNotWritten) {
    grenzen({0, 0, 0, 0, 0, 0}, {100, 100, 100, 100, 100, 100});
    dialoge.expect(vbOK, QStringLiteral("VB-Error: 6\r\n"));
    EXPECT_FALSE(eingeben(3, QStringLiteral("1E40")));
    EXPECT_EQ(dialoge.boxes().at(0).title, QStringLiteral("MSFlexGrid / Einfügen"));
    EXPECT_EQ(dialoge.boxes().at(0).style, 49);
    EXPECT_EQ(grid.TextMatrix(2, 3), QStringLiteral("alt"));
    // Cancel: not written either; the editor stays open.
    dialoge.expect(vbCancel, QStringLiteral("VB-Error: 6"));
    f.txtFLX->setText(QStringLiteral("-1E40"));
    FLX.EINFUEGEN(13);
    EXPECT_FALSE(f.txtFLX->isHidden());
    EXPECT_EQ(grid.TextMatrix(2, 3), QStringLiteral("alt"));
}

TEST_P(FLXPruefen, AnErrorValueAsLimitSwitchesTheCheckOff) {
    FLX.ELMIN(QVariantList{0, 0, 0, 0, 0, 0});
    FLX.ELMAX(QVariantList{100, 100, 100, clsFLX::FEHLERWERT(), 100, 100});
    EXPECT_TRUE(eingeben(3, QStringLiteral("500")));
    EXPECT_EQ(grid.TextMatrix(2, 3), QStringLiteral("500"));
}

TEST_P(FLXPruefen, WhatTheCheckAcceptsTheStoreAcceptsForBlanksTabsAndLineBreaks) {
    grenzen({0, 0, 0, 0, 0, 0}, {100, 100, 100, 100, 100, 100});
    TESTHAUPTFENSTER fenster;
    clsDATEN daten;
    daten.ETABELLE(QStringLiteral("E3"));
    daten.ESPIDW(7);
    const struct {
        const char* text;
        bool angenommen; // by the check and by the store alike
    } faelle[] = {
        {"  12 ", true}, {"\t12", true},   {"12\t", true},   {" \t12\t ", true},
        {"12\n", false}, {"\n12", false}, {"12\r\n", false}, {"1 2", false},
    };
    for (const auto& fall : faelle) {
        const QString text = QString::fromLatin1(fall.text);
        SCOPED_TRACE(text.toStdString());
        dialoge.clear();
        if (!fall.angenommen) dialoge.expect(vbOK, kZahl);
        eingeben(3, text);
        EXPECT_EQ(grid.TextMatrix(2, 3) == text, fall.angenommen);
        if (!fall.angenommen) schliessen();

        // The grid writer takes the same text into a number column.
        MSFlexGrid raster;
        raster.SetCols(6);
        raster.SetIndex(0);
        raster.SetRows(2);
        raster.SetTextMatrix(1, 4, text);
        fenster.DBPROJEKT()->Execute(QStringLiteral("DELETE FROM [E3]"));
        if (!fall.angenommen) dialoge.expect(vbOK);
        EXPECT_TRUE(daten.DFTF(QStringLiteral("V"), raster, QStringLiteral("4"),
                               QStringLiteral("I1")));
        Recordset rs(QStringLiteral("SELECT [V] FROM [E3] WHERE [ID]=7"), *fenster.DBPROJEKT());
        ASSERT_FALSE(rs.Eof());
        EXPECT_EQ(rs.Fields(0).Value(), fall.angenommen ? QVariant(12.0f) : VNull());
        EXPECT_EQ(dialoge.boxes().size(), fall.angenommen ? 0 : 2);
    }
}
