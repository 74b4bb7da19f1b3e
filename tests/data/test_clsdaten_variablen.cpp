// Values, series and collections between variables and a column of a view:
// the writer replaces the view, the readers fill from it, and the messages
// and errors of values that do not fit.

#include "test_clsdaten_labor.h"

#include "platform/runtime/System.h"
#include "platform/database/Transaction.h"
#include "runtime/ValueLocale.h"

#include <QTimer>

namespace {

class Variablen : public DatenTest {
protected:
    void SetUp() override {
        daten.ETABELLE(QStringLiteral("E3"));
        daten.ESPIDW(7);
    }
    clsDATEN daten;
};

class VariablenLocale : public LocaleTest, public DatenLabor {};

} // namespace

TEST_F(Variablen, ASeriesOfThreeOverFiveRowsKeepsThreeInTheViewsOrder) {
    messwerte(7, {10, 11, 12, 13, 14});
    messwerte(8, {20, 21});
    EXPECT_TRUE(daten.DVTSF(QStringLiteral("V"), {1.5f, 2.5f, 3.5f}));
    EXPECT_EQ(spalte(QStringLiteral("SELECT [V] FROM [E3] WHERE [ID]=7 ORDER BY [I1]")),
              QVariantList({1.5f, 2.5f, 3.5f}));
    EXPECT_EQ(spalte(QStringLiteral("SELECT [I1] FROM [E3] WHERE [ID]=7 ORDER BY [I1]")),
              QVariantList({short(0), short(1), short(2)}));
    EXPECT_EQ(fenster.ZEILEN(QStringLiteral("E3"), QStringLiteral("[ID]=8")), 2);
}

TEST_F(Variablen, ASeriesOfThreeOverOneRowAddsTwoWithTheRecordKeyAndThePresentKeys) {
    daten.ETABELLE(QStringLiteral("A2"));
    sql(QStringLiteral("INSERT INTO [A2] ([ID],[I],[W]) VALUES (7,5,1),(7,6,9)"));
    EXPECT_TRUE(daten.DVTSF(QStringLiteral("W"), {1.0f, 2.0f, 3.0f}, QStringLiteral("I"), 5));
    EXPECT_EQ(spalte(QStringLiteral("SELECT [W] FROM [A2] WHERE [ID]=7 AND [I]=5 ORDER BY rowid")),
              QVariantList({1.0f, 2.0f, 3.0f}));
    EXPECT_EQ(fenster.ZEILEN(QStringLiteral("A2"), QStringLiteral("[ID]=7 AND [I]=6")), 1);

    // The text keys that have a value are written into new rows too.
    clsDATEN liste;
    liste.ETABELLE(QStringLiteral("VELD_VE2"));
    liste.ESPID(QStringLiteral("IDK"));
    liste.ESPIDW(4);
    liste.ESPK1(QStringLiteral("SPALTE"));
    liste.ESPK1W(QStringLiteral("DET"));
    EXPECT_TRUE(liste.DVTIF(QStringLiteral("MNR"), {int16_t(1), int16_t(2)}));
    EXPECT_EQ(
        spalte(QStringLiteral("SELECT [SPALTE] FROM [VELD_VE2] WHERE [IDK]=4 ORDER BY [MNR]")),
        QVariantList({QStringLiteral("DET"), QStringLiteral("DET")}));
}

TEST_F(Variablen, AnEmptyTextIsStoredAsNullAndTheReaderKeepsItsElement) {
    EXPECT_TRUE(daten.DVTTF(QStringLiteral("DATUM"),
                            {QStringLiteral("01.02.03"), QString(), QStringLiteral("03.02.03")},
                            QStringLiteral("I1")));
    const QVariantList gespeichert =
        spalte(QStringLiteral("SELECT [DATUM] FROM [E3] WHERE [ID]=7 ORDER BY rowid"));
    ASSERT_EQ(gespeichert.size(), 3);
    EXPECT_TRUE(IsNull(gespeichert[1]));
    std::vector<QString> gelesen = {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")};
    EXPECT_TRUE(daten.DTVTF(QStringLiteral("DATUM"), gelesen));
    EXPECT_EQ(gelesen, std::vector<QString>({QStringLiteral("01.02.03"), QStringLiteral("y"),
                                             QStringLiteral("03.02.03")}));

    // A scalar empty text: the text reader gives "", the variant reader Empty,
    // the number reader 0.
    daten.ETABELLE(QStringLiteral("E1"));
    EXPECT_TRUE(daten.DVTT(QStringLiteral("KOM"), QString()));
    EXPECT_TRUE(IsNull(fenster.WERT(QStringLiteral("SELECT [KOM] FROM [E1] WHERE [ID]=7"))));
    QString text = QStringLiteral("alt");
    QVariant wert = 5;
    float zahl = 5;
    EXPECT_TRUE(daten.DTVT(QStringLiteral("KOM"), text));
    EXPECT_TRUE(daten.DTVV(QStringLiteral("KOM"), wert));
    EXPECT_TRUE(daten.DTVS(QStringLiteral("KOM"), zahl));
    EXPECT_EQ(text, QString());
    EXPECT_TRUE(IsEmpty(wert));
    EXPECT_EQ(zahl, 0.0f);
}

TEST_F(Variablen, AnArrayReaderShowsItsBoxForEveryRowBeyondTheArray) {
    messwerte(7, {1, 2, VNull(), 4, 5});
    std::vector<float> fuenf(5, -1.0f);
    EXPECT_TRUE(daten.DTVSF(QStringLiteral("V"), fuenf, QStringLiteral("I1")));
    EXPECT_EQ(fuenf, std::vector<float>({1, 2, -1, 4, 5}));

    std::vector<float> drei(3, -1.0f);
    boxen.expect(vbOK);
    boxen.expect(vbOK);
    EXPECT_TRUE(daten.DTVSF(QStringLiteral("V"), drei, QStringLiteral("I1")));
    EXPECT_EQ(drei, std::vector<float>({1, 2, -1}));
    ASSERT_EQ(boxen.boxes().size(), 2);
    EXPECT_EQ(
        boxen.boxes()[0].prompt,
        QStringLiteral(
            "Werte der Spalte V der Tabelle E3 können nicht aus der Spalte V eingelesen werden!\r\n"
            "VB-Error: 9\r\nSubscript out of range"));
    EXPECT_EQ(boxen.boxes()[0].style, 49);
    EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("Datenfehler"));

    // Cancel ends at once with false; what was stored stays stored.
    boxen.clear();
    std::vector<float> zwei(2, -1.0f);
    boxen.expect(vbCancel);
    EXPECT_FALSE(daten.DTVSF(QStringLiteral("V"), zwei, QStringLiteral("I1")));
    EXPECT_EQ(zwei, std::vector<float>({1, 2}));
}

TEST_F(Variablen, TheScalarReaderTakesTheFirstRowOnly) {
    messwerte(7, {10, 11, 12, 13, 14});
    float v = 0;
    EXPECT_TRUE(daten.DTVS(QStringLiteral("V"), v, QStringLiteral("I1")));
    EXPECT_EQ(v, 10.0f);
    std::vector<QVariant> alle(7, QStringLiteral("leer"));
    EXPECT_TRUE(daten.DTVVF(QStringLiteral("V"), alle, QStringLiteral("I1")));
    EXPECT_EQ(alle[4], QVariant(14.0f));
    EXPECT_EQ(alle[5], QVariant(QStringLiteral("leer")));
}

TEST_F(Variablen, AValueTheColumnRefusesIsReportedAndNothingIsStored) {
    messwerte(7, {10, 11});
    boxen.expect(vbOK);
    EXPECT_FALSE(daten.DVTT(QStringLiteral("V"), QStringLiteral("abc")));
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(
        boxen.boxes()[0].prompt,
        QStringLiteral("Wert abc kann nicht in die Spalte V der Tabelle E3 gespeichert werden!"));
    EXPECT_EQ(boxen.boxes()[0].style, 48);
    EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("Datenfehler"));
    // The view is as it was: neither overwritten nor cut to one row.
    EXPECT_EQ(spalte(QStringLiteral("SELECT [V] FROM [E3] WHERE [ID]=7 ORDER BY [I1]")),
              QVariantList({10.0f, 11.0f}));
}

TEST_F(Variablen, AKeyItsColumnCannotHoldIsRefusedAndNothingIsStored) {
    messwerte(7, {10});
    for (const QVariant& schluessel : {QVariant(QStringLiteral(" ")), QVariant(QStringLiteral("x"))}) {
        boxen.expect(vbOK);
        EXPECT_FALSE(daten.DVTS(QStringLiteral("V"), 8.5, QStringLiteral("I1"), schluessel));
        ASSERT_EQ(boxen.boxes().size(), 1);
        EXPECT_EQ(boxen.boxes()[0].prompt,
                  QStringLiteral(
                      "Wert 8.5 kann nicht in die Spalte V der Tabelle E3 gespeichert werden!"));
        boxen.clear();
    }
    EXPECT_EQ(spalte(QStringLiteral("SELECT [V] FROM [E3] WHERE [ID]=7 ORDER BY [I1]")),
              QVariantList({10.0f}));
    EXPECT_EQ(fenster.ZEILEN(QStringLiteral("E3"), QStringLiteral("[I1] IS NULL")), 0);
    // A key in the column's own notation is written.
    EXPECT_TRUE(daten.DVTS(QStringLiteral("V"), 8.5, QStringLiteral("I1"), QStringLiteral(" 3 ")));
    EXPECT_EQ(spalte(QStringLiteral("SELECT [V] FROM [E3] WHERE [ID]=7 AND [I1]=3")),
              QVariantList({8.5f}));
}

TEST_F(Variablen, ASeriesThatFailsPartWayLeavesTheViewAsItWas) {
    messwerte(7, {10, 11, 12});
    boxen.expect(vbOK);
    EXPECT_FALSE(daten.DVTTF(QStringLiteral("V"),
                             {QStringLiteral("1"), QStringLiteral("abc"), QStringLiteral("3")}));
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(boxen.boxes()[0].prompt,
              QStringLiteral("Werte können nicht in Spalte V der Tabelle E3 gespeichert werden!"));
    EXPECT_EQ(boxen.boxes()[0].style, 48);
    EXPECT_EQ(spalte(QStringLiteral("SELECT [V] FROM [E3] WHERE [ID]=7 ORDER BY [I1]")),
              QVariantList({10.0f, 11.0f, 12.0f}));
}

TEST_F(Variablen, AWriteInsideTheCallersTransactionIsASavepoint) {
    {
        Transaction aussen(db());
        fenster.DATENSATZANLEGEN(7, QStringLiteral("P7"));
        EXPECT_TRUE(daten.DVTSF(QStringLiteral("V"), {1, 2}));
        boxen.expect(vbOK);
        EXPECT_FALSE(daten.DVTT(QStringLiteral("V"), QStringLiteral("abc")));
        boxen.clear();
        EXPECT_EQ(fenster.ZEILEN(QStringLiteral("E3")), 2); // the failed write undid only itself
        aussen.Commit();
    }
    EXPECT_EQ(fenster.ZEILEN(QStringLiteral("E1")), 1);
    {
        Transaction aussen(db());
        EXPECT_TRUE(daten.DVTSF(QStringLiteral("V"), {5, 6, 7}));
        aussen.Rollback();
    }
    EXPECT_EQ(spalte(QStringLiteral("SELECT [V] FROM [E3] ORDER BY rowid")),
              QVariantList({1.0f, 2.0f}));
}

TEST_F(Variablen, AnIntegerReadOfABiggerNumberRaisesOverflowToTheCaller) {
    sql(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[TEMP]) VALUES (7,0,40000)"));
    int16_t i = 17;
    EXPECT_EQ(Fehlernummer([&] { daten.DTVI(QStringLiteral("TEMP"), i); }), 6);
    EXPECT_EQ(i, 17);
    EXPECT_TRUE(boxen.boxes().isEmpty());
    int32_t l = 0;
    EXPECT_TRUE(daten.DTVL(QStringLiteral("TEMP"), l));
    EXPECT_EQ(l, 40000);
    sql(QStringLiteral("UPDATE [E3] SET [DATUM]='kein Datum'"));
    QDateTime datum;
    EXPECT_EQ(Fehlernummer([&] { daten.DTVA(QStringLiteral("DATUM"), datum); }), 13);
}

TEST_F(Variablen, AMissingRowOrANullGivesTheTypesEmptyValue) {
    sql(QStringLiteral("INSERT INTO [E3] ([ID],[I1]) VALUES (7,0)"));
    for (const QString& tabelle : {QStringLiteral("E3"), QStringLiteral("A1")}) {
        daten.ETABELLE(tabelle);
        const QString spalte =
            tabelle == QLatin1String("E3") ? QStringLiteral("V") : QStringLiteral("VELD");
        float s = 5;
        double d = 5;
        int16_t i = 5;
        int32_t l = 5;
        bool b = true;
        QString t = QStringLiteral("x");
        QDateTime a = QDateTime::currentDateTime();
        QVariant v = 5;
        EXPECT_TRUE(daten.DTVS(spalte, s));
        EXPECT_TRUE(daten.DTVD(spalte, d));
        EXPECT_TRUE(daten.DTVI(spalte, i));
        EXPECT_TRUE(daten.DTVL(spalte, l));
        EXPECT_TRUE(daten.DTVB(spalte, b));
        EXPECT_TRUE(daten.DTVT(spalte, t));
        EXPECT_TRUE(daten.DTVA(spalte, a));
        EXPECT_TRUE(daten.DTVV(spalte, v));
        EXPECT_EQ(s, 0.0f);
        EXPECT_EQ(d, 0.0);
        EXPECT_EQ(i, 0);
        EXPECT_EQ(l, 0);
        EXPECT_FALSE(b);
        EXPECT_EQ(t, QString());
        EXPECT_EQ(a.date(), QDate(1899, 12, 30));
        EXPECT_EQ(a.time(), QTime(0, 0));
        EXPECT_TRUE(IsEmpty(v));
    }
}

TEST_F(Variablen, AReadOfATableThatDoesNotExistShowsTheMessageWithAnEmptyValue) {
    daten.ETABELLE(QStringLiteral("E9"));
    float zahl = 3;
    boxen.expect(vbOK);
    EXPECT_FALSE(daten.DTVS(QStringLiteral("W"), zahl));
    EXPECT_EQ(zahl, 3.0f);
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(
        boxen.boxes()[0].prompt,
        QStringLiteral("Wert  kann nicht aus der Spalte W der Tabelle E9 eingelesen werden!"));
    EXPECT_EQ(boxen.boxes()[0].style, 48);
}

TEST_F(Variablen, AScalarWriteWithAnExtraKeyAddsOrKeepsExactlyOneRow) {
    daten.ETABELLE(QStringLiteral("A2"));
    EXPECT_TRUE(daten.DVTS(QStringLiteral("W"), 3.5, QStringLiteral("I"), 2));
    EXPECT_EQ(spalte(QStringLiteral("SELECT [ID] || '/' || [I] || '/' || [W] FROM [A2]")),
              QVariantList({QStringLiteral("7/2/3.5")}));
    sql(QStringLiteral("DELETE FROM [A2]"));
    sql(QStringLiteral("INSERT INTO [A2] ([ID],[I],[W]) VALUES (7,2,1),(7,2,2),(7,2,3),(7,3,4)"));
    EXPECT_TRUE(daten.DVTS(QStringLiteral("W"), 9, QStringLiteral("I"), 2));
    EXPECT_EQ(spalte(QStringLiteral("SELECT [W] FROM [A2] WHERE [I]=2")), QVariantList({9.0f}));
    EXPECT_EQ(spalte(QStringLiteral("SELECT [W] FROM [A2] WHERE [I]=3")), QVariantList({4.0f}));

    // Two elements over five rows leave two.
    sql(QStringLiteral("INSERT INTO [A2] ([ID],[I],[W]) VALUES (7,2,1),(7,2,2),(7,2,3),(7,2,4)"));
    EXPECT_TRUE(daten.DVTSF(QStringLiteral("W"), {5, 6}, QStringLiteral("I"), 2));
    EXPECT_EQ(fenster.ZEILEN(QStringLiteral("A2"), QStringLiteral("[I]=2")), 2);
    // No elements delete the view.
    EXPECT_TRUE(daten.DVTSF(QStringLiteral("W"), {}, QStringLiteral("I"), 2));
    EXPECT_EQ(fenster.ZEILEN(QStringLiteral("A2")), 1);
}

TEST_F(Variablen, BooleanAndVariantSeries) {
    daten.ETABELLE(QStringLiteral("A1"));
    EXPECT_TRUE(daten.DVTVF(QStringLiteral("BONEU"), {true, false, true}));
    std::vector<bool> gelesen(3, false);
    EXPECT_TRUE(daten.DTVBF(QStringLiteral("BONEU"), gelesen));
    EXPECT_EQ(gelesen, std::vector<bool>({true, false, true}));
    EXPECT_TRUE(daten.DVTB(QStringLiteral("BONEU"), true));
    EXPECT_EQ(fenster.WERT(QStringLiteral("SELECT COUNT(*) FROM [A1] WHERE [BONEU]=true")).toInt(),
              1);
    EXPECT_TRUE(daten.DVTV(QStringLiteral("VELD"), VNull()));
    EXPECT_TRUE(daten.DVTV(QStringLiteral("VELD"), QVariant()));
    EXPECT_TRUE(IsNull(fenster.WERT(QStringLiteral("SELECT [VELD] FROM [A1]"))));
    EXPECT_TRUE(daten.DVTD(QStringLiteral("VELD"), 2.25));
    double d = 0;
    EXPECT_TRUE(daten.DTVD(QStringLiteral("VELD"), d));
    EXPECT_EQ(d, 2.25);
}

TEST_F(Variablen, TheCollectionReaderReplacesTheCollectionOnlyWhenThereAreRows) {
    std::optional<std::vector<QVariant>> X;
    EXPECT_TRUE(daten.DTVCOL(QStringLiteral("V"), X));
    EXPECT_FALSE(X.has_value());
    X.emplace(std::vector<QVariant>{QStringLiteral("alt")});
    EXPECT_TRUE(daten.DTVCOL(QStringLiteral("V"), X));
    EXPECT_EQ(X->size(), 1u);

    messwerte(7, {1, VNull(), 3});
    EXPECT_TRUE(daten.DTVCOL(QStringLiteral("V"), X, QStringLiteral("I1")));
    EXPECT_EQ(*X, std::vector<QVariant>({1.0f, 3.0f}));

    daten.ETABELLE(QStringLiteral("E9"));
    EXPECT_FALSE(daten.DTVCOL(QStringLiteral("V"), X));
    EXPECT_TRUE(boxen.boxes().isEmpty());
}

TEST_F(Variablen, SeriesHaveNoSixteenBitLimit) {
    std::vector<float> werte(40000);
    for (size_t i = 0; i < werte.size(); ++i)
        werte[i] = float(i) / 4;
    EXPECT_TRUE(daten.DVTSF(QStringLiteral("V"), werte));
    std::vector<float> gelesen(40000, -1);
    EXPECT_TRUE(daten.DTVSF(QStringLiteral("V"), gelesen));
    EXPECT_EQ(gelesen, werte);
}

TEST_F(Variablen, ALongWriteLetsWindowsRepaintWhileUserInputIsHeld) {
    bool gelaufen = false;
    bool gehalten = false;
    QTimer::singleShot(0, [&] {
        gelaufen = true;
        gehalten = HoldUserInput::Active();
    });
    // Long enough to pass the pace at which the writer yields.
    std::vector<float> werte(150000, 1.0f);
    EXPECT_TRUE(daten.DVTSF(QStringLiteral("V"), werte));
    EXPECT_TRUE(gelaufen);
    EXPECT_TRUE(gehalten);
    EXPECT_FALSE(HoldUserInput::Active());
}

TEST_P(VariablenLocale, ANumberTextInTheUsersNotationRoundTrips) {
    clsDATEN daten;
    daten.ETABELLE(QStringLiteral("E3"));
    daten.ESPIDW(1);
    EXPECT_TRUE(daten.DVTT(QStringLiteral("V"), Dec("12,5")));
    float v = 0;
    EXPECT_TRUE(daten.DTVS(QStringLiteral("V"), v));
    EXPECT_EQ(v, 12.5f);
    QString text;
    EXPECT_TRUE(daten.DTVT(QStringLiteral("V"), text));
    EXPECT_EQ(text, Dec("12,5"));
    // The other notation is no number here.
    boxen.expect(vbOK);
    EXPECT_FALSE(daten.DVTT(QStringLiteral("V"),
                            German() ? QStringLiteral("12.5") : QStringLiteral("12,5")));
    EXPECT_EQ(boxen.boxes().size(), 1);
    EXPECT_TRUE(daten.DTVS(QStringLiteral("V"), v));
    EXPECT_EQ(v, 12.5f);
}

VELD_BOTH_LOCALES(VariablenLocale);
