// The refresh of the grid (running numbers, cell formats, elapsed times,
// both in the user's locale) and the fonts of the grid, its editors and the
// heading renderer.

#include "FLXFENSTER.h"

#include "platform/runtime/Variant.h"

namespace {

class FLXAktualisieren : public FLXTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        if (GetParam())
            deutsch();
        else
            c();
        f.eingaberaster();
    }
    static QString Dez(const char* deutsch) {
        QString text = QString::fromUtf8(deutsch);
        return QLocale().language() == QLocale::German
                   ? text
                   : text.replace(QLatin1Char(','), QLatin1Char('.'));
    }
    static QString Dat(const char* deutsch) {
        QString text = QString::fromUtf8(deutsch);
        return QLocale().language() == QLocale::German
                   ? text
                   : text.replace(QLatin1Char('.'), QLatin1Char('/'));
    }
    // Readings as (date, time) per row.
    void lesungen(const QList<QPair<QString, QString>>& zeilen) {
        grid.SetRows(grid.FixedRows() + int(zeilen.size()));
        for (int i = 0; i < zeilen.size(); ++i) {
            grid.SetTextMatrix(1 + i, 1, zeilen[i].first);
            grid.SetTextMatrix(1 + i, 2, zeilen[i].second);
        }
    }

    FLXFENSTER f;
    MSFlexGrid& grid = *f.msgFLX;
    clsFLX& FLX = f.FLX;
};

std::string Gebietsname(const ::testing::TestParamInfo<bool>& info) {
    return info.param ? "de_DE" : "C";
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Locales, FLXAktualisieren, ::testing::Values(true, false), Gebietsname);

TEST_P(FLXAktualisieren, ElapsedMinutesFromTheFirstReading) {
    lesungen({{Dat("17.05.03"), "08:00:00"},
              {Dat("17.05.03"), "08:30:00"},
              {Dat("18.05.03"), "08:00:00"}});
    FLX.AKTUALISIEREN();
    EXPECT_EQ(spalte(grid, 3), QStringList({"0", Dez("30,0"), Dez("1440,0")}));
    EXPECT_EQ(spalte(grid, 0), QStringList({"0", "1", "2"}));

    FLX.EDET(-1);
    FLX.AKTUALISIEREN();
    EXPECT_EQ(spalte(grid, 3), QStringList({"0", Dez("30,0"), Dez("1410,0")}));
    EXPECT_TRUE(dialoge.boxes().isEmpty());
}

TEST_P(FLXAktualisieren, AcrossMidnightAndWithoutDates) {
    lesungen({{Dat("17.05.03"), "23:50:00"}, {Dat("18.05.03"), "00:10:00"}});
    FLX.AKTUALISIEREN();
    EXPECT_EQ(spalte(grid, 3), QStringList({"0", Dez("20,0")}));
    lesungen({{"", "23:50:00"}, {"", "00:10:00"}});
    FLX.AKTUALISIEREN();
    EXPECT_EQ(spalte(grid, 3), QStringList({"0", Dez("-1420,0")}));
}

TEST_P(FLXAktualisieren, CellsAreFormattedByTheirColumn) {
    lesungen({{"17.5.2003", "8:00"}, {"", ""}, {Dat("17.05.03"), "9:15:30"}});
    grid.SetTextMatrix(1, 4, Dez("12,5"));
    grid.SetTextMatrix(2, 4, QStringLiteral("abc"));
    grid.SetTextMatrix(2, 3, QStringLiteral("alt"));
    FLX.AKTUALISIEREN();
    EXPECT_EQ(grid.TextMatrix(1, 1), Dat("17.05.03"));
    EXPECT_EQ(grid.TextMatrix(1, 2), QStringLiteral("08:00:00"));
    EXPECT_EQ(grid.TextMatrix(1, 4), Dez("12,50"));
    EXPECT_EQ(grid.TextMatrix(2, 4), QStringLiteral("abc")); // no number: as it was
    EXPECT_EQ(grid.TextMatrix(1, 5), QString());             // empty stays empty
    // A row with neither date nor time keeps its elapsed-time cell.
    EXPECT_EQ(spalte(grid, 3), QStringList({"0", "alt", Dez("75,5")}));

    // A second refresh changes nothing.
    const QStringList vorher =
        spalte(grid, 1) + spalte(grid, 2) + spalte(grid, 3) + spalte(grid, 4);
    FLX.AKTUALISIEREN();
    EXPECT_EQ(spalte(grid, 1) + spalte(grid, 2) + spalte(grid, 3) + spalte(grid, 4), vorher);
}

TEST_P(FLXAktualisieren, ARowWithATimeButNoDate) {
    lesungen({{Dat("17.05.03"), "08:00:00"}, {"", "10:00:00"}});
    FLX.AKTUALISIEREN();
    EXPECT_EQ(spalte(grid, 3), QStringList({"0", Dez("120,0")}));
}

TEST_P(FLXAktualisieren, ValidDatesWithAnInvalidTimeCountWholeDays) {
    lesungen({{Dat("17.05.03"), "08:00:00"}, {Dat("19.05.03"), "25:00"}});
    FLX.AKTUALISIEREN();
    EXPECT_EQ(spalte(grid, 3), QStringList({"0", Dez("2880,0")}));
}

TEST_P(FLXAktualisieren, AGroupingColumnReferencesTheRowBeforeTheGroup) {
    FLX.ELSTYP(QVariantList{1, 4, 5, 6, 0, 0});
    FLX.EDET(5); // the temperature column groups the readings
    lesungen(
        {{"", "08:00:00"}, {"", "08:10:00"}, {"", "08:30:00"}, {"", "09:00:00"}, {"", "09:05:00"}});
    const QStringList gruppen{"A", "A", "B", "B", "C"};
    for (int i = 0; i < gruppen.size(); ++i)
        grid.SetTextMatrix(1 + i, 5, gruppen[i]);
    FLX.AKTUALISIEREN();
    // Rows of the first group count from the first row; a later group from
    // the last row of the group before it.
    EXPECT_EQ(spalte(grid, 3),
              QStringList({"0", Dez("10,0"), Dez("20,0"), Dez("50,0"), Dez("5,0")}));
}

TEST_P(FLXAktualisieren, WithoutATimeColumnWholeDaysAreCounted) {
    FLX.ELSTYP(QVariantList{1, 4, 0, 6, 0, 0});
    FLX.ELFORMAT(QStringList{"#0", "dd/mm/yy", "", "#0.0", "#0.00", "#0.00"});
    lesungen({{Dat("17.05.03"), "x"}, {Dat("20.05.03"), "y"}});
    FLX.AKTUALISIEREN();
    EXPECT_EQ(spalte(grid, 3), QStringList({"0", Dez("3,0")}));

    // An error value as format: the plain text of the number.
    FLX.ELFORMAT(QVariantList{"#0", "dd/mm/yy", "", clsFLX::FEHLERWERT(), "#0.00", "#0.00"});
    FLX.AKTUALISIEREN();
    EXPECT_EQ(spalte(grid, 3), QStringList({"0", "3"}));
}

TEST_P(FLXAktualisieren, AShortFormatListIsReportedAndTheRestRefreshed) {
    grid.SetRows(3);
    grid.SetTextMatrix(1, 4, Dez("1,5"));
    FLX.ELFORMAT(QStringList{"#0", "dd/mm/yy", "hh:mm:ss", "#0.0", "#0.00"});
    dialoge.expect(vbOK, QStringLiteral("VB-Error: 9")); // the format of column 5
    FLX.AKTUALISIEREN();
    ASSERT_EQ(dialoge.boxes().size(), 1);
    EXPECT_EQ(dialoge.boxes().at(0).title, QStringLiteral("MSFlexGrid / Aktulisieren"));
    EXPECT_EQ(grid.TextMatrix(1, 4), Dez("1,50"));
}

TEST(FLXTagZuerst, AMonthFirstLocaleReadsTheDayFirst) {
    // The grid writes its dates day first; a locale that writes the month
    // first must not swap them when the elapsed time reads them back.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    {
        ScriptedDialogs dialoge;
        FLXFENSTER f;
        f.eingaberaster();
        MSFlexGrid& grid = *f.msgFLX;
        grid.SetRows(3);
        grid.SetTextMatrix(1, 1, QStringLiteral("05/06/03"));
        grid.SetTextMatrix(1, 2, QStringLiteral("08:00:00"));
        grid.SetTextMatrix(2, 1, QStringLiteral("06/06/03"));
        grid.SetTextMatrix(2, 2, QStringLiteral("08:00:00"));
        f.FLX.AKTUALISIEREN();
        EXPECT_EQ(grid.TextMatrix(2, 3), QStringLiteral("1440.0"));
        EXPECT_EQ(grid.TextMatrix(2, 1), QStringLiteral("06/06/03"));
    }
    QLocale::setDefault(QLocale::c());
}

// Fonts ----------------------------------------------------------------------------

class FLXSchrift : public FLXTest {
protected:
    FLXFENSTER f;
};

TEST_F(FLXSchrift, IndexFontsAreTheGridFontDividedBy1175) {
    f.eingaberaster();
    clsFLX& FLX = f.FLX;
    EXPECT_EQ(FLX.SCHRIFTSATZ(2).Name(), QStringLiteral("Arial"));
    EXPECT_EQ(FLX.SCHRIFTSATZ(2).Size(), 10.0f);
    EXPECT_EQ(FLX.SCHRIFTSATZ(4).Size(), 9.0f); // 8.51
    EXPECT_EQ(FLX.SCHRIFTSATZ(3).Name(), QStringLiteral("Symbol"));
    EXPECT_EQ(FLX.SCHRIFTSATZ(5).Name(), QStringLiteral("Symbol"));
    EXPECT_EQ(FLX.SCHRIFTSATZ(5).Size(), 9.0f);
    FLX.SCHRIFTEINSTELLUNGEN(QString(), 11, false, false, false, 0);
    EXPECT_EQ(FLX.SCHRIFTSATZ(4).Size(), 9.0f); // 9.36
    FLX.SCHRIFTEINSTELLUNGEN(QStringLiteral("Times New Roman"), 8, true, true, true, 255);
    EXPECT_EQ(FLX.SCHRIFTSATZ(4).Size(), 7.0f); // 6.81
    EXPECT_EQ(FLX.SCHRIFTSATZ(1).Name(), QStringLiteral("Times New Roman"));
    EXPECT_TRUE(FLX.SCHRIFTSATZ(5).Bold());
    EXPECT_TRUE(FLX.SCHRIFTSATZ(5).Italic());
    EXPECT_TRUE(FLX.SCHRIFTSATZ(5).Underline());
    EXPECT_EQ(f.msgFLX->ForeColor(), 255);
    // The editors take the grid's font and colour.
    EXPECT_EQ(f.txtFLX->font().family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(f.txtFLX->font().pointSizeF(), 8.0);
    EXPECT_TRUE(f.txtFLX->font().bold());
    EXPECT_EQ(f.txtFLX->palette().color(QPalette::Text), QColor(255, 0, 0));
}

TEST_F(FLXSchrift, DefaultsAndTheHeightOfTheHeadingRow) {
    f.binden();
    MSFlexGrid& grid = *f.msgFLX;
    clsFLX& FLX = f.FLX;
    FLX.SCHRIFTEINSTELLUNGEN(QString(), 0, false, false, false, -3);
    EXPECT_EQ(grid.FontName(), QStringLiteral("Arial"));
    EXPECT_EQ(grid.FontSize(), 11.0f);
    EXPECT_EQ(grid.ForeColor(), 0);
    const int zeile = grid.RowHeight(1);
    EXPECT_EQ(grid.RowHeight(0), zeile);
    FLX.ELST2(QStringList{"a", "b"});
    FLX.SCHRIFTEINSTELLUNGEN(QString(), 0, false, false, false, 0);
    EXPECT_EQ(grid.RowHeight(0), 2 * zeile);
    // Any other content leaves the height alone.
    FLX.ELST2(QStringLiteral("x"));
    FLX.SCHRIFTEINSTELLUNGEN(QString(), 20, false, false, false, 0);
    EXPECT_EQ(grid.RowHeight(0), 2 * zeile);
}
