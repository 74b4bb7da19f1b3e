// Questions about a table as a whole: index ranges, key and identifier
// lists, the deletion of a view and the criteria query.

#include "test_clsdaten_labor.h"

namespace {

class Listen : public DatenTest {
protected:
    void datensaetze() {
        fenster.DATENSATZANLEGEN(0, QStringLiteral("M"), QStringLiteral("Mehrfachauswertung"),
                                 true);
        fenster.DATENSATZANLEGEN(3, QStringLiteral("c'3"), QStringLiteral("Sand"), true);
        fenster.DATENSATZANLEGEN(1, QStringLiteral("b1"), QStringLiteral("Ton, grau"), false);
        fenster.DATENSATZANLEGEN(2, QStringLiteral("a2"), QStringLiteral("Tonstein"), true);
    }
    clsDATEN daten;
};

} // namespace

TEST_F(Listen, IndexGivesTheRangeAndCountOfARecordsReadings) {
    daten.ETABELLE(QStringLiteral("E3"));
    daten.ESPIDW(7);
    int16_t mini = 9, maxi = 9, an = 9;
    daten.INDEX(&mini, &maxi, &an, QStringLiteral("I1"));
    EXPECT_EQ(mini, 0);
    EXPECT_EQ(maxi, 0);
    EXPECT_EQ(an, 0);

    for (int i = 11; i >= 0; --i)
        sql(QStringLiteral("INSERT INTO [E3] ([ID],[I1]) VALUES (7,?)"), {i});
    sql(QStringLiteral("INSERT INTO [E3] ([ID],[I1]) VALUES (8,40)"));
    daten.INDEX(&mini, &maxi, &an, QStringLiteral("I1"));
    EXPECT_EQ(mini, 0);
    EXPECT_EQ(maxi, 11);
    EXPECT_EQ(an, 12);
    // Any result may be left out.
    daten.INDEX(nullptr, &maxi, nullptr, QStringLiteral("I1"));
    EXPECT_EQ(maxi, 11);

    // Without the record key: the whole table; a later column is examined
    // within the values of the earlier ones.
    daten.ESPID(QString());
    int32_t lmin = 0, lmax = 0, lan = 0;
    daten.INDEXL(&lmin, &lmax, &lan, QStringLiteral("I1"));
    EXPECT_EQ(lmax, 40);
    EXPECT_EQ(lan, 13);
    daten.INDEXL(&lmin, &lmax, &lan, QStringLiteral("ID"), 7, QStringLiteral("I1"));
    EXPECT_EQ(lmax, 11);
    EXPECT_EQ(lan, 12);
}

TEST_F(Listen, IndexNarrowsByTheTextKeysOnlyWhenTheFirstIsSet) {
    sql(QStringLiteral(
        "INSERT INTO [VELD_VE2] ([IDK],[MNR],[SPALTE]) VALUES (1,1,'DET'),(1,2,'V'),(1,5,'V'),"
        "(2,9,'V')"));
    daten.ETABELLE(QStringLiteral("VELD_VE2"));
    daten.ESPID(QStringLiteral("IDK"));
    daten.ESPIDW(1);
    int16_t mini = 0, maxi = 0, an = 0;
    daten.ESPK1(QStringLiteral("SPALTE"));
    daten.ESPK1W(QStringLiteral("V"));
    daten.INDEX(&mini, &maxi, &an, QStringLiteral("MNR"));
    EXPECT_EQ(mini, 2);
    EXPECT_EQ(maxi, 5);
    EXPECT_EQ(an, 2);
    daten.ESPK1(QString());
    daten.ESPK2(QStringLiteral("SPALTE"));
    daten.ESPK2W(QStringLiteral("V"));
    daten.INDEX(&mini, &maxi, &an, QStringLiteral("MNR"));
    EXPECT_EQ(mini, 1);
    EXPECT_EQ(maxi, 5);
    EXPECT_EQ(an, 3);
}

TEST_F(Listen, ANullInTheExaminedColumnIsReportedAndKeepsTheSmallestValue) {
    daten.ETABELLE(QStringLiteral("E3"));
    daten.ESPIDW(7);
    sql(QStringLiteral("INSERT INTO [E3] ([ID],[I1]) VALUES (7,NULL),(7,4),(7,6)"));
    int16_t mini = -5, maxi = 0, an = 0;
    boxen.expect(vbOK, QStringLiteral("VB-Error: 94"));
    daten.INDEX(&mini, &maxi, &an, QStringLiteral("I1"));
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("Index"));
    EXPECT_EQ(boxen.boxes()[0].style, 49);
    EXPECT_EQ(mini, -5);
    EXPECT_EQ(maxi, 6);
    EXPECT_EQ(an, 3);

    QVariant vmin, vmax;
    daten.INDEXV(&vmin, &vmax, &an, QStringLiteral("I1"));
    EXPECT_TRUE(IsNull(vmin));
    EXPECT_EQ(vmax.toInt(), 6);

    // Cancel leaves at once: the count stays as it was.
    boxen.expect(vbCancel);
    int32_t lmin = 1, lmax = 2, lan = 3;
    daten.INDEXL(&lmin, &lmax, &lan, QStringLiteral("I1"));
    EXPECT_EQ(boxen.boxes().last().title, QStringLiteral("Datenfehler"));
    EXPECT_EQ(lmin, 1);
    EXPECT_EQ(lmax, 2);
    EXPECT_EQ(lan, 3);
}

TEST_F(Listen, TheKeyListsLeaveOutTheMultipleEvaluation) {
    datensaetze();
    std::vector<int32_t> id = {99};
    daten.LID(id, true);
    EXPECT_EQ(id, std::vector<int32_t>({2, 3}));
    daten.LID(id);
    EXPECT_EQ(id, std::vector<int32_t>({2, 1, 3})); // by identifier: a2, b1, c'3
    std::vector<QString> ken;
    daten.LKEN(ken, true);
    EXPECT_EQ(ken, std::vector<QString>({QStringLiteral("a2"), QStringLiteral("c'3")}));
    daten.LKEN(ken, false);
    EXPECT_EQ(ken, std::vector<QString>(
                       {QStringLiteral("a2"), QStringLiteral("b1"), QStringLiteral("c'3")}));

    // Only the multiple evaluation active: the list stays as it was.
    sql(QStringLiteral("UPDATE [E1] SET [AKT]=false WHERE [ID]<>0"));
    daten.LID(id, true);
    EXPECT_EQ(id, std::vector<int32_t>({2, 1, 3}));
    sql(QStringLiteral("DELETE FROM [E1] WHERE [ID]=1"));
    daten.LID(id);
    EXPECT_EQ(id, std::vector<int32_t>({2, 3}));

    // A Null identifier reaches the caller; the list is then partly filled.
    sql(QStringLiteral("UPDATE [E1] SET [KEN]=NULL WHERE [ID]=3"));
    ken.clear();
    EXPECT_EQ(Fehlernummer([&] { daten.LKEN(ken); }), 94);
}

TEST_F(Listen, LoeschenDeletesTheViewOfTheRecord) {
    messwerte(7, {1, 2, 3, 4});
    messwerte(8, {5});
    daten.ETABELLE(QStringLiteral("E3"));
    daten.ESPIDW(7);
    EXPECT_TRUE(daten.LOESCHEN(QStringLiteral("I1"), 2));
    EXPECT_EQ(spalte(QStringLiteral("SELECT [I1] FROM [E3] WHERE [ID]=7 ORDER BY [I1]")),
              QVariantList({short(0), short(1), short(3)}));
    EXPECT_TRUE(daten.LOESCHEN());
    EXPECT_EQ(fenster.ZEILEN(QStringLiteral("E3"), QStringLiteral("[ID]=7")), 0);
    EXPECT_EQ(fenster.ZEILEN(QStringLiteral("E3"), QStringLiteral("[ID]=8")), 1);
    EXPECT_TRUE(daten.LOESCHEN()); // nothing left: still done

    // With a text key only the rows that match it.
    datensaetze();
    fenster.DATENSATZANLEGEN(3, QStringLiteral("zweite"));
    daten.ETABELLE(QStringLiteral("E1"));
    daten.ESPIDW(3);
    daten.ESPK1(QStringLiteral("KEN"));
    daten.ESPK1W(QStringLiteral("c'3"));
    EXPECT_TRUE(daten.LOESCHEN());
    EXPECT_EQ(spalte(QStringLiteral("SELECT [KEN] FROM [E1] WHERE [ID]=3")),
              QVariantList({QStringLiteral("zweite")}));
}

TEST_F(Listen, LoeschenOnATableThatDoesNotExistShowsItsBox) {
    daten.ETABELLE(QStringLiteral("E9"));
    boxen.expect(vbOK, QStringLiteral("VB-Error: "));
    EXPECT_FALSE(daten.LOESCHEN());
    EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("Datenfehler"));
}

TEST_F(Listen, IdkritFindsRecordsByItsCriteria) {
    datensaetze();
    daten.ETABELLE(QStringLiteral("E1"));
    std::vector<int32_t> ids = {42};
    QString op = QStringLiteral("LIKE");
    EXPECT_TRUE(daten.IDKRIT(ids, QStringLiteral("KOM"), QStringLiteral("Ton"), &op));
    EXPECT_EQ(ids, std::vector<int32_t>({1, 2})); // ordered by KOM: "Ton, grau", "Tonstein"
    EXPECT_EQ(op, QStringLiteral("LIKE"));

    op.clear();
    EXPECT_TRUE(daten.IDKRIT(ids, QStringLiteral("KOM"), QStringLiteral("Tonstein"), &op));
    EXPECT_EQ(ids, std::vector<int32_t>({2}));
    EXPECT_EQ(op, QStringLiteral("="));

    // A number compares with its operator; "LIKE" becomes "=".
    op = QStringLiteral("LIKE");
    QString op2 = QStringLiteral(">=");
    EXPECT_TRUE(daten.IDKRIT(ids, QStringLiteral("ID"), 3, &op, QStringLiteral("KEN"),
                             QStringLiteral("c'3"), &op2));
    EXPECT_EQ(ids, std::vector<int32_t>({3}));
    EXPECT_EQ(op, QStringLiteral("="));
    EXPECT_EQ(op2, QStringLiteral("="));
    op = QStringLiteral("<");
    EXPECT_TRUE(daten.IDKRIT(ids, QStringLiteral("ID"), 2, &op));
    EXPECT_EQ(ids, std::vector<int32_t>({0, 1}));

    // Nothing found: false, the list as it was.
    op = QStringLiteral("LIKE");
    EXPECT_FALSE(daten.IDKRIT(ids, QStringLiteral("KOM"), QStringLiteral("Kies"), &op));
    EXPECT_EQ(ids, std::vector<int32_t>({0, 1}));

    // A later criterion without the first makes no statement: the box.
    boxen.expect(vbOK, QStringLiteral("VB-Error: "));
    EXPECT_FALSE(daten.IDKRIT(ids, QStringLiteral("KOM"), std::nullopt, nullptr,
                              QStringLiteral("KEN"), QStringLiteral("a2")));
    EXPECT_EQ(boxen.boxes().last().title, QStringLiteral("Datenfehler"));
}
