// The row filter: the three entries and their checks, the rows kept by
// their own number, the error box of a row beyond the grid, renumbering.

#include "FLXFENSTER.h"

#include <QElapsedTimer>

namespace {

const QString kErste = QStringLiteral("Ungültige Angabe für die Nummer der ersten Zeile!");
const QString kLetzte = QStringLiteral("Ungültige Angabe für die Nummer der letzten Zeile!");

class FLXZeilenfilter : public FLXTest {
protected:
    void SetUp() override {
        FLXTest::SetUp();
        f.eingaberaster();
    }
    // Data rows 1..n with "Z" & their number in column 4.
    void zeilen(int n) {
        grid.SetRows(1 + n);
        for (int r = 1; r <= n; ++r)
            grid.SetTextMatrix(r, 4, QStringLiteral("Z%1").arg(r));
        FLX.NUMMERIEREN();
    }
    // The original numbers of the rows left.
    QList<int> uebrig() const {
        QList<int> nummern;
        for (const QString& text : spalte(grid, 4))
            nummern << text.mid(1).toInt();
        return nummern;
    }
    void eingaben(const QString& F, const QString& L, const QString& N) {
        dialoge.expectInput(F, "Erste Zeile: ");
        dialoge.expectInput(L, "Letzte Zeile: ");
        dialoge.expectInput(N, "Reduzierte Zeilenanzahl: ");
    }

    FLXFENSTER f;
    MSFlexGrid& grid = *f.msgFLX;
    clsFLX& FLX = f.FLX;
};

} // namespace

TEST_F(FLXZeilenfilter, RowsAreKeptByTheirOwnNumberAndRenumbered) {
    const struct {
        const char *F, *L, *N;
        QList<int> rows;
    } faelle[] = {
        {"1", "10", "5", {2, 4, 6, 8, 10}},                 // step 9/5 = 1.8 -> 2
        {"3", "9", "3", {1, 2, 4, 6, 8, 10}},               // step 2 from row 4, not from F
        {"1", "10", "10", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}, // the offered count: step 0.9 -> 1
        {"1,7", "10,9", "3,2", {3, 6, 9}},                  // rounded down; step 9/3 = 3
        {"2", "10", "4", {1, 2, 4, 6, 8, 10}},              // 8/4 = 2
        {"1", "10", "4", {2, 4, 6, 8, 10}},                 // 9/4 = 2.25 -> 2
        {"1", "8", "2", {4, 8, 9, 10}},                     // 7/2 = 3.5 -> 4 (halves to even)
    };
    for (const auto& fall : faelle) {
        zeilen(10);
        eingaben(fall.F, fall.L, fall.N);
        FLX.ZEILENFILTER();
        EXPECT_EQ(uebrig(), fall.rows) << fall.F << " " << fall.L << " " << fall.N;
        QStringList nummern;
        for (int i = 0; i < fall.rows.size(); ++i)
            nummern << QString::number(i);
        EXPECT_EQ(spalte(grid, 0), nummern);
        EXPECT_EQ(dialoge.pending(), 0);
    }
    // The boxes of one run: titles and the offered defaults.
    dialoge.clear();
    zeilen(10);
    eingaben("3", "9", "");
    dialoge.expect(vbCancel, kLetzte);
    FLX.ZEILENFILTER();
    const auto& boxen = dialoge.boxes();
    ASSERT_EQ(boxen.size(), 4);
    EXPECT_EQ(boxen[0].defaultText, "1");
    EXPECT_EQ(boxen[1].defaultText, "10");
    EXPECT_EQ(boxen[2].defaultText, "7");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(boxen[i].title, "Zeilenfilter");
    EXPECT_EQ(boxen[3].style, 49);
    EXPECT_EQ(boxen[3].title, "MSFlexGrid / Zeilenfilter");
}

TEST_F(FLXZeilenfilter, InvalidEntriesAskAgainOrLeaveTheGridAsItWas) {
    zeilen(10);
    // Not a number: the message; OK asks again.
    dialoge.expectInput("abc");
    dialoge.expect(vbOK, kErste);
    dialoge.expectInput("", "Erste Zeile: "); // cancelled input counts as no number
    dialoge.expect(vbOK, kErste);
    dialoge.expectInput("1");
    dialoge.expectInput("x", "Letzte Zeile: ");
    dialoge.expect(vbOK, kLetzte);
    dialoge.expectInput("10");
    // Counts below 1, and a count whose step is below one row.
    dialoge.expectInput("0", "Reduzierte Zeilenanzahl: ");
    dialoge.expect(vbOK, kLetzte);
    dialoge.expectInput("-3");
    dialoge.expect(vbOK, kLetzte);
    dialoge.expectInput("19"); // 9/19 rounds to 0
    dialoge.expect(vbOK, kLetzte);
    dialoge.expectInput("5");
    FLX.ZEILENFILTER();
    EXPECT_EQ(uebrig(), (QList<int>{2, 4, 6, 8, 10}));
    EXPECT_EQ(dialoge.pending(), 0);

    // Cancel on any message leaves the grid unchanged.
    for (int box = 0; box < 3; ++box) {
        zeilen(10);
        dialoge.clear();
        if (box == 0) {
            dialoge.expectInput("abc");
            dialoge.expect(vbCancel, kErste);
        } else if (box == 1) {
            dialoge.expectInput("4");
            dialoge.expectInput("");
            dialoge.expect(vbCancel, kLetzte);
        } else {
            // A range of two rows with the offered count 2: step 0.5 -> 0.
            eingaben("4", "5", "2");
            dialoge.expect(vbCancel, kLetzte);
        }
        FLX.ZEILENFILTER();
        EXPECT_EQ(uebrig(), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10})) << box;
        EXPECT_EQ(dialoge.pending(), 0);
    }
    // A last row below the first: every count is refused.
    dialoge.clear();
    eingaben("8", "3", "1");
    dialoge.expect(vbCancel, kLetzte);
    FLX.ZEILENFILTER();
    EXPECT_EQ(grid.Rows(), 11);
}

TEST_F(FLXZeilenfilter, ARowBeyondTheGridShowsTheErrorBox) {
    zeilen(10);
    // Step 11/6 -> 2: row 12 is kept, row 11 does not exist.
    eingaben("1", "12", "6");
    dialoge.expect(vbOK, "VB-Error: 381");
    FLX.ZEILENFILTER();
    EXPECT_EQ(uebrig(), (QList<int>{2, 4, 6, 8, 10}));
    EXPECT_EQ(dialoge.boxes().last().title, "MSFlexGrid / Zeilenfilter");
    // Cancel leaves at once; rows removed so far stay removed.
    zeilen(10);
    dialoge.clear();
    eingaben("-3", "3", "3"); // step 2: rows 3, 1, -1 and -3 go
    dialoge.expect(vbCancel, "VB-Error: 381");
    FLX.ZEILENFILTER();
    EXPECT_EQ(uebrig(), (QList<int>{2, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(FLXZeilenfilter, AGridOf40000Rows) {
    zeilen(40000);
    eingaben("1", "40000", "20000"); // 39999/20000 -> 2
    QElapsedTimer uhr;
    uhr.start();
    FLX.ZEILENFILTER();
    EXPECT_EQ(grid.Rows(), 20001);
    EXPECT_EQ(grid.TextMatrix(1, 4), "Z2");
    EXPECT_EQ(grid.TextMatrix(20000, 4), "Z40000");
    EXPECT_EQ(grid.TextMatrix(20000, 0), "19999");
    std::cout << "row filter on 40,000 rows: " << uhr.elapsed() << " ms\n";
}
