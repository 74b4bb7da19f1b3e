// The evaluation of one test against a real project database: the water
// uptake of every reading, the result at the reference time, the boxes it
// shows and what it leaves in A1 and A2 when it ends early.

#include "BERECHNUNGSLABOR.h"

#include "evaluation/clsBERECHNEN.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

using Kurve = std::multimap<int, float>;

bool rechnen()
{
    clsBERECHNEN berechnung;
    return berechnung.BERECHNUNG();
}

class Berechnung : public ::testing::Test {
protected:
    BERECHNUNGSLABOR labor;
    static bool lauf() { return rechnen(); }
};

TEST_F(Berechnung, ThreeReadingsGiveExactlyThirty)
{
    labor.allgemein(100.0f, 1440.0f);
    labor.messwert(0, 0.0f, 10.0f);
    labor.messwert(1, 60.0f, 20.0f);
    labor.messwert(2, 1440.0f, 30.0f);
    EXPECT_TRUE(lauf());
    // Rounded once: a Single quotient times 100 would give 30.000002.
    EXPECT_EQ(CSng(labor.veld()), 30.0f);
    EXPECT_EQ(labor.kurven(), (Kurve{{0, 10.0f}, {1, 20.0f}, {2, 30.0f}}));
    EXPECT_TRUE(labor.boneu());  // the flag belongs to the caller
    EXPECT_EQ(labor.haupt.FORTSCHRITTE(), (std::vector<int>{0, 15, 35}));
    EXPECT_EQ(labor.haupt.FORTSCHRITT(), 35);
    EXPECT_TRUE(labor.boxen.boxes().isEmpty());
}

TEST_F(Berechnung, RecordWithoutReadingsWritesOneEmptyCurveRow)
{
    labor.allgemein(100.0f, 1440.0f);
    EXPECT_TRUE(lauf());
    EXPECT_EQ(CSng(labor.veld()), 0.0f);
    EXPECT_EQ(labor.kurven(), (Kurve{{0, 0.0f}}));
}

TEST_F(Berechnung, OneReadingHasNoIntervalButItsUptakeIsWritten)
{
    labor.allgemein(50.0f, 30.0f);
    labor.messwert(0, 30.0f, 5.0f);
    EXPECT_TRUE(lauf());
    EXPECT_EQ(CSng(labor.veld()), 0.0f);
    EXPECT_EQ(labor.kurven(), (Kurve{{0, 10.0f}}));
}

TEST_F(Berechnung, ReferenceTimeOnAnInnerReadingGivesItsUptake)
{
    labor.allgemein(80.0f, 60.0f);
    labor.messwert(0, 0.0f, 1.3f);
    labor.messwert(1, 60.0f, 7.7f);
    labor.messwert(2, 120.0f, 9.1f);
    EXPECT_TRUE(lauf());
    const float w1 = float(double(7.7f) * 1.0 / double(80.0f) * 100.0);
    EXPECT_EQ(CSng(labor.veld()), w1);
}

TEST_F(Berechnung, TheLastBracketingIntervalDecides)
{
    labor.allgemein(100.0f, 75.0f);
    labor.messwert(0, 0.0f, 10.0f);
    labor.messwert(1, 100.0f, 20.0f);  // [0, 100] gives 17.5
    labor.messwert(2, 50.0f, 30.0f);   // falling: never brackets
    labor.messwert(3, 100.0f, 40.0f);  // [50, 100] gives 35
    EXPECT_TRUE(lauf());
    EXPECT_EQ(CSng(labor.veld()), 35.0f);
}

TEST_F(Berechnung, TheInterpolationRunsInExtendedPrecision)
{
    // Readings for which double precision rounds the interpolated value to
    // the neighbouring Single.
    const float ms = 105.795563f, tmax = 1174.62256f;
    const float t1 = 35.9161415f, t2 = 1635.61047f, v1 = 4.75521374f, v2 = 20.3142529f;
    labor.allgemein(ms, tmax);
    labor.messwert(0, t1, v1);
    labor.messwert(1, t2, v2);
    EXPECT_TRUE(lauf());
    const double y1 = float(double(v1) * 1.0 / double(ms) * 100.0);
    const double y2 = float(double(v2) * 1.0 / double(ms) * 100.0);
    const float doppelt = float(y2 - (y2 - y1) * (double(t2) - double(tmax)) / (double(t2) - double(t1)));
    EXPECT_EQ(CSng(labor.veld()), 14.9633551f);
    EXPECT_NE(CSng(labor.veld()), doppelt);
}

TEST_F(Berechnung, FallingTimesNeverBracket)
{
    labor.allgemein(100.0f, 75.0f);
    labor.messwert(0, 100.0f, 10.0f);
    labor.messwert(1, 50.0f, 20.0f);
    labor.messwert(2, 0.0f, 30.0f);
    EXPECT_TRUE(lauf());
    EXPECT_EQ(CSng(labor.veld()), 0.0f);
}

TEST(BerechnungBezugszeit, OutsideTheReadingsGivesZero)
{
    for (const float tmax : {-1.0f, 1441.0f}) {
        BERECHNUNGSLABOR labor;
        labor.allgemein(100.0f, tmax);
        labor.messwert(0, 0.0f, 10.0f);
        labor.messwert(1, 1440.0f, 30.0f);
        EXPECT_TRUE(rechnen());
        EXPECT_EQ(CSng(labor.veld()), 0.0f) << tmax;
        EXPECT_EQ(labor.kurven(), (Kurve{{0, 10.0f}, {1, 30.0f}}));
    }
}

TEST_F(Berechnung, TwoEqualTimesAtTheReferenceTimeShowDivisionByZero)
{
    labor.allgemein(100.0f, 1440.0f);
    labor.messwert(0, 0.0f, 10.0f);
    labor.messwert(1, 1440.0f, 20.0f);
    labor.messwert(2, 1440.0f, 30.0f);
    labor.boxen.expect(vbOK);
    EXPECT_TRUE(lauf());
    ASSERT_EQ(labor.boxen.boxes().size(), 1);
    EXPECT_EQ(labor.boxen.boxes()[0].prompt, QStringLiteral("Division durch Null!"));
    EXPECT_EQ(labor.boxen.boxes()[0].style, 0);
    EXPECT_EQ(labor.boxen.boxes()[0].title, QStringLiteral("LININT"));
    // The interval of width 0 comes last and gives 0.
    EXPECT_EQ(CSng(labor.veld()), 0.0f);
    EXPECT_EQ(labor.kurven().size(), 3u);
}

TEST_F(Berechnung, ALaterIntervalOverridesTheDivisionByZero)
{
    labor.allgemein(100.0f, 1440.0f);
    labor.messwert(0, 0.0f, 10.0f);
    labor.messwert(1, 1440.0f, 20.0f);
    labor.messwert(2, 1440.0f, 30.0f);
    labor.messwert(3, 2000.0f, 40.0f);
    labor.boxen.expect(vbOK, QStringLiteral("Division durch Null!"));
    EXPECT_TRUE(lauf());
    EXPECT_EQ(CSng(labor.veld()), 30.0f);
}

TEST_F(Berechnung, NoSolidMassShowsOneBoxPerReadingAndGoesOnWithOk)
{
    labor.allgemein(0.0f, 1440.0f);
    labor.messwert(0, 0.0f, 10.0f);
    labor.messwert(1, 60.0f, 0.0f);
    labor.messwert(2, 1440.0f, 30.0f);
    labor.kurve(1, 99.0f);
    for (int i = 0; i < 3; ++i) labor.boxen.expect(vbOK);
    EXPECT_TRUE(lauf());
    ASSERT_EQ(labor.boxen.boxes().size(), 3);
    const QString elf = QStringLiteral("VB-Fehler:11\r\n") + RuntimeError::DivisionByZero().Description();
    const QString sechs = QStringLiteral("VB-Fehler:6\r\n") + RuntimeError::Overflow().Description();
    EXPECT_EQ(labor.boxen.prompts(), (QStringList{elf, sechs, elf}));
    for (const auto& box : labor.boxen.boxes()) {
        EXPECT_EQ(box.style, 49);
        EXPECT_EQ(box.title, QStringLiteral("Auswerten/Neuberechnen"));
    }
    EXPECT_EQ(CSng(labor.veld()), 0.0f);
    EXPECT_EQ(labor.kurven(), (Kurve{{0, 0.0f}, {1, 0.0f}, {2, 0.0f}}));
}

TEST_F(Berechnung, TheBoxesComeReadingByReading)
{
    // A time that is no number and no solid mass: the box of the time of
    // reading 1 comes between the boxes of the uptakes of readings 0 and 1.
    labor.allgemein(0.0f, 1440.0f);
    labor.messwert(0, 0.0f, 10.0f);
    labor.messwert(1, QStringLiteral("abc"), 20.0f);
    labor.messwert(2, 1440.0f, 30.0f);
    for (int i = 0; i < 4; ++i) labor.boxen.expect(vbOK);
    EXPECT_TRUE(lauf());
    QStringList gezeigt;
    for (const QString& text : labor.boxen.prompts()) gezeigt << text.section(QStringLiteral("\r\n"), 0, 0);
    EXPECT_EQ(gezeigt.join(QLatin1Char('|')).toStdString(), "VB-Fehler:11|VB-Fehler:13|VB-Fehler:11|VB-Fehler:11");
    EXPECT_EQ(labor.kurven(), (Kurve{{0, 0.0f}, {1, 0.0f}, {2, 0.0f}}));
}

TEST_F(Berechnung, CancelEndsTheRunWithFalseBeforeAnythingIsWritten)
{
    labor.allgemein(0.0f, 1440.0f);
    labor.messwert(0, 0.0f, 10.0f);
    labor.messwert(1, 1440.0f, 30.0f);
    labor.kurve(0, 99.0f);
    labor.boxen.expect(vbCancel, QStringLiteral("VB-Fehler:11"));
    EXPECT_FALSE(lauf());
    EXPECT_EQ(labor.boxen.boxes().size(), 1);
    EXPECT_TRUE(IsNull(labor.veld()));
    EXPECT_EQ(labor.kurven(), (Kurve{{0, 99.0f}}));
    EXPECT_EQ(labor.haupt.FORTSCHRITTE(), (std::vector<int>{0}));
    EXPECT_EQ(labor.haupt.DBPROJEKT()->TransactionLevel(), 0);
}

TEST_F(Berechnung, AnUptakeBeyondTheSingleRangeIsAnOverflow)
{
    labor.allgemein(0.001f, 1440.0f);
    labor.messwert(0, 0.0f, 3.0e38f);
    labor.messwert(1, 1440.0f, 0.002f);
    labor.boxen.expect(vbOK, QStringLiteral("VB-Fehler:6\r\n"));
    EXPECT_TRUE(lauf());
    const Kurve kurve = labor.kurven();
    EXPECT_EQ(kurve.find(0)->second, 0.0f);
    EXPECT_EQ(kurve.find(1)->second, float(double(0.002f) / double(0.001f) * 100.0));
}

TEST_F(Berechnung, MissingGeneralDataReadAsZero)
{
    // No E2 row: m s and t max are 0, so the one (missing) reading is 0/0.
    labor.boxen.expect(vbOK, QStringLiteral("VB-Fehler:6\r\n"));
    EXPECT_TRUE(lauf());
    EXPECT_EQ(CSng(labor.veld()), 0.0f);
    EXPECT_EQ(labor.kurven(), (Kurve{{0, 0.0f}}));
}

// The gap: an empty row between two readings is no point at (0, 0).
TEST_F(Berechnung, AnEmptyReadingIsBridgedAndWrittenWithZero)
{
    labor.allgemein(100.0f, 1000.0f);
    labor.messwert(0, 0.0f, 10.0f);
    labor.messwert(1, 60.0f, 20.0f);
    labor.messwert(2, QVariant(), QVariant());
    labor.messwert(3, 1440.0f, 30.0f);
    EXPECT_TRUE(lauf());
    EXPECT_EQ(CSng(labor.veld()), 26.811594f);
    EXPECT_EQ(labor.kurven(), (Kurve{{0, 10.0f}, {1, 20.0f}, {2, 0.0f}, {3, 30.0f}}));
}

TEST_F(Berechnung, AMissingIndexIsBridgedAndWrittenWithZero)
{
    labor.allgemein(100.0f, 1000.0f);
    labor.messwert(0, 0.0f, 10.0f);
    labor.messwert(1, 60.0f, 20.0f);
    labor.messwert(3, 1440.0f, 30.0f);
    EXPECT_TRUE(lauf());
    EXPECT_EQ(CSng(labor.veld()), 26.811594f);
    EXPECT_EQ(labor.kurven(), (Kurve{{0, 10.0f}, {1, 20.0f}, {2, 0.0f}, {3, 30.0f}}));
}

TEST_F(Berechnung, AReadingWithoutTimeKeepsItsUptakeButIsNoPoint)
{
    labor.allgemein(100.0f, 1000.0f);
    labor.messwert(0, 0.0f, 10.0f);
    labor.messwert(1, 60.0f, 20.0f);
    labor.messwert(2, QVariant(), 25.0f);
    labor.messwert(3, 1440.0f, 30.0f);
    labor.messwert(4, 2000.0f, QVariant());
    EXPECT_TRUE(lauf());
    EXPECT_EQ(CSng(labor.veld()), 26.811594f);
    EXPECT_EQ(labor.kurven(), (Kurve{{0, 10.0f}, {1, 20.0f}, {2, 25.0f}, {3, 30.0f}, {4, 0.0f}}));
}

TEST_F(Berechnung, OnlyTheActiveRecordIsEvaluated)
{
    labor.allgemein(100.0f, 1440.0f);
    labor.messwert(0, 0.0f, 10.0f);
    labor.messwert(1, 1440.0f, 30.0f);
    // Another record, not active, with readings and an old curve.
    labor.haupt.DATENSATZANLEGEN(2, QStringLiteral("P-2"));
    labor.haupt.ALLGEMEINEDATENANLEGEN(2, 0, 2.0f, 50.0f, 1440.0f);
    labor.haupt.DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[DET],[V]) VALUES (2,0,0,7)"));
    labor.haupt.DBPROJEKT()->Execute(QStringLiteral("INSERT INTO [A2] ([ID],[I],[W]) VALUES (2,0,99)"));
    EXPECT_TRUE(lauf());
    EXPECT_EQ(CSng(labor.veld()), 30.0f);
    EXPECT_EQ(labor.haupt.ZEILEN(QStringLiteral("A1"), QStringLiteral("[ID]=2")), 0);
    EXPECT_EQ(CSng(labor.haupt.WERT(QStringLiteral("SELECT [W] FROM [A2] WHERE [ID]=2"))), 99.0f);
}

TEST_F(Berechnung, CurveRowsAboveTheReadingsStayAndTwinRowsGo)
{
    labor.allgemein(100.0f, 1440.0f);
    labor.messwert(0, 0.0f, 10.0f);
    labor.messwert(1, 60.0f, 20.0f);
    labor.messwert(2, 1440.0f, 30.0f);
    for (int i = 0; i < 6; ++i) labor.kurve(i, 99.0f);
    labor.kurve(1, 98.0f);       // a second row with I = 1
    labor.kurve(QVariant(), 97.0f);  // and one without I
    labor.kurve(-3, 96.0f);
    EXPECT_TRUE(lauf());
    EXPECT_EQ(labor.kurven(), (Kurve{{-1000, 97.0f},
                                     {-3, 96.0f},
                                     {0, 10.0f},
                                     {1, 20.0f},
                                     {2, 30.0f},
                                     {3, 99.0f},
                                     {4, 99.0f},
                                     {5, 99.0f}}));
}

TEST_F(Berechnung, TheRunIsCommittedOnce)
{
    labor.allgemein(100.0f, 1440.0f);
    labor.messwert(0, 0.0f, 10.0f);
    labor.messwert(1, 1440.0f, 30.0f);
    EXPECT_TRUE(lauf());
    EXPECT_EQ(labor.haupt.DBPROJEKT()->TransactionLevel(), 0);
    Connection andere(labor.haupt.XMDBPFAD());
    Recordset rs(QStringLiteral("SELECT count(*) FROM [A2] WHERE [ID]=1"), andere);
    EXPECT_EQ(rs.Fields(0).Value().toInt(), 2);
}

// The computation's box lets another run (or this run itself) change a
// reading before the results are written: the evaluation reads the readings
// again and its results hold the new value, not the one it computed first.
TEST(BerechnungEingriff, AReadingChangedBeforeTheWritingIsReadAgain)
{
    for (const bool eigene : {false, true}) {
        SCOPED_TRACE(eigene ? "this run's connection" : "another connection");
        BERECHNUNGSLABOR labor;
        ScriptedDialogs boxen;
        labor.allgemein(100.0f, 1440.0f);
        labor.messwert(0, 0.0f, 10.0f);
        labor.messwert(1, 1440.0f, 20.0f);
        labor.messwert(2, 1440.0f, 30.0f);
        boxen.expect(vbOK, QStringLiteral("Division durch Null!"));
        boxen.waehrend = [&] {
            const QString sql = QStringLiteral("UPDATE [E3] SET [DET]=2000, [V]=50 WHERE [ID]=1 AND [I1]=2");
            if (eigene) {
                labor.haupt.DBPROJEKT()->Execute(sql);
            } else {
                Connection andere(labor.haupt.XMDBPFAD());
                andere.Execute(sql);
            }
        };
        EXPECT_TRUE(rechnen());
        // Computed again: no interval of width 0 any more, and 20 at t max.
        EXPECT_EQ(CSng(labor.veld()), 20.0f);
        EXPECT_EQ(labor.kurven(), (Kurve{{0, 10.0f}, {1, 20.0f}, {2, 50.0f}}));
        EXPECT_EQ(boxen.boxes().size(), 1);
    }
}

TEST_F(Berechnung, ACallerTransactionStaysOpen)
{
    labor.allgemein(100.0f, 1440.0f);
    labor.messwert(0, 0.0f, 10.0f);
    labor.messwert(1, 1440.0f, 30.0f);
    labor.haupt.DBPROJEKT()->BeginTrans();
    EXPECT_TRUE(lauf());
    EXPECT_EQ(labor.haupt.DBPROJEKT()->TransactionLevel(), 1);
    labor.haupt.DBPROJEKT()->CommitTrans();
    EXPECT_EQ(CSng(labor.veld()), 30.0f);
}

// A curve row that cannot be written: the rows below it hold the new values,
// the rest keep theirs, the result is already stored, and the run is False.
class Schreibfehler : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QString::fromLatin1(GetParam()))); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_P(Schreibfehler, StopsAtTheRowThatFails)
{
    BERECHNUNGSLABOR labor;
    labor.allgemein(100.0f, 1440.0f);
    labor.messwert(0, 0.0f, 10.0f);
    labor.messwert(1, 60.0f, 20.0f);
    labor.messwert(2, 120.0f, 12.5f);
    labor.messwert(3, 1440.0f, 40.0f);
    labor.messwert(4, 2000.0f, 45.0f);
    for (int i = 0; i < 3; ++i) labor.kurve(i, 99.0f);
    labor.haupt.DBPROJEKT()->Execute(
        QStringLiteral("CREATE TRIGGER [A2_SPERRE] BEFORE UPDATE ON [A2] WHEN NEW.[I] = 2 "
                       "BEGIN SELECT RAISE(ABORT, 'gesperrt'); END"));
    labor.boxen.expect(vbOK);
    EXPECT_FALSE(rechnen());
    ASSERT_EQ(labor.boxen.boxes().size(), 1);
    const QString wert = QLocale().language() == QLocale::German ? QStringLiteral("12,5") : QStringLiteral("12.5");
    EXPECT_EQ(labor.boxen.boxes()[0].prompt,
              QStringLiteral("Wert ") + wert + QStringLiteral(" kann nicht in die Spalte W der Tabelle A2 gespeichert werden!"));
    EXPECT_EQ(labor.boxen.boxes()[0].style, 48);
    EXPECT_EQ(labor.boxen.boxes()[0].title, QStringLiteral("Datenfehler"));
    EXPECT_EQ(CSng(labor.veld()), 40.0f);
    EXPECT_EQ(labor.kurven(), (Kurve{{0, 10.0f}, {1, 20.0f}, {2, 99.0f}}));
    EXPECT_EQ(labor.haupt.DBPROJEKT()->TransactionLevel(), 0);
    EXPECT_EQ(labor.haupt.FORTSCHRITT(), 35);
}

TEST_P(Schreibfehler, AMissingRowThatCannotBeAddedStopsTheRunToo)
{
    BERECHNUNGSLABOR labor;
    labor.allgemein(100.0f, 1440.0f);
    labor.messwert(0, 0.0f, 10.0f);
    labor.messwert(1, 60.0f, 20.0f);
    labor.messwert(2, 1440.0f, 30.0f);
    labor.haupt.DBPROJEKT()->Execute(
        QStringLiteral("CREATE TRIGGER [A2_SPERRE] BEFORE INSERT ON [A2] WHEN NEW.[I] = 1 "
                       "BEGIN SELECT RAISE(ABORT, 'gesperrt'); END"));
    labor.boxen.expect(vbOK, QStringLiteral("Wert 20 kann nicht in die Spalte W der Tabelle A2"));
    EXPECT_FALSE(rechnen());
    EXPECT_EQ(CSng(labor.veld()), 30.0f);
    EXPECT_EQ(labor.kurven(), (Kurve{{0, 10.0f}}));
}

TEST_P(Schreibfehler, TheGapCaseGivesTheSameResultInEveryLocale)
{
    BERECHNUNGSLABOR labor;
    labor.allgemein(100.0f, 1000.0f);
    labor.messwert(0, 0.0f, 10.0f);
    labor.messwert(1, 60.0f, 20.0f);
    labor.messwert(2, QVariant(), QVariant());
    labor.messwert(3, 1440.0f, 30.0f);
    EXPECT_TRUE(rechnen());
    EXPECT_EQ(CSng(labor.veld()), 26.811594f);
}

INSTANTIATE_TEST_SUITE_P(Gebietsschema, Schreibfehler, ::testing::Values("de_DE", "C"));

}  // namespace
