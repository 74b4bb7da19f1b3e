// The data-access object's state: its default record, its connection
// (EBOV, EINFMDB), and the statement of a view with its keys.

#include "test_clsdaten_labor.h"

#include "data/SCHEMA.h"
#include "platform/database/Transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

class Zustand : public DatenTest {};

} // namespace

TEST_F(Zustand, ANewObjectTakesTheFirstActiveRecordInRowidOrder) {
    {
        clsDATEN daten;
        EXPECT_EQ(daten.ESPIDW(), 0); // no record at all
        EXPECT_EQ(daten.ETABELLE(), QStringLiteral("E1"));
        EXPECT_EQ(daten.ESPID(), QStringLiteral("ID"));
        EXPECT_EQ(daten.VERBINDUNG(), fenster.DBPROJEKT());
    }
    fenster.DATENSATZANLEGEN(9, QStringLiteral("P9"), QString(), false);
    fenster.DATENSATZANLEGEN(5, QStringLiteral("P5"), QString(), true);
    fenster.DATENSATZANLEGEN(2, QStringLiteral("P2"), QString(), true);
    clsDATEN daten;
    EXPECT_EQ(daten.ESPIDW(), 5); // the first laid down, not the smallest key
    // Changing the table keeps the key value.
    daten.ETABELLE(QStringLiteral("A2"));
    EXPECT_EQ(daten.ESPIDW(), 5);
}

TEST_F(Zustand, AFailedInitialisationShowsItsBoxAndLeavesTheKeyZero) {
    sql(QStringLiteral("DROP TABLE [E1]"));
    boxen.expect(vbOK, QStringLiteral("VB-Error: "));
    clsDATEN daten;
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("Datenfehler"));
    EXPECT_EQ(boxen.boxes()[0].style, 49);
    EXPECT_EQ(daten.ESPIDW(), 0);
    EXPECT_EQ(daten.ETABELLE(), QStringLiteral("E1"));
}

TEST_F(Zustand, EbovSwitchesToThePresetsExceptInADevelopmentRun) {
    clsDATEN daten;
    daten.EBOV(true);
    EXPECT_EQ(daten.VERBINDUNG(), fenster.DBVORGABE());
    daten.EBOV(false);
    EXPECT_EQ(daten.VERBINDUNG(), fenster.DBPROJEKT());
    fenster.SETZEPROGRAMMPFAD(fenster.WURZEL() + QStringLiteral("/Source/VELD"));
    daten.EBOV(true);
    EXPECT_EQ(daten.VERBINDUNG(), fenster.DBPROJEKT());
}

TEST_F(Zustand, EinfmdbWithoutTheFileKeepsTheConnection) {
    clsDATEN daten;
    bool BOINF = true;
    daten.EINFMDB(BOINF, QStringLiteral("TALVIR"));
    EXPECT_FALSE(BOINF);
    EXPECT_EQ(daten.VERBINDUNG(), fenster.DBPROJEKT());
    EXPECT_EQ(daten.EINFMDB(), QStringLiteral("TALVIR"));
}

TEST_F(Zustand, EinfmdbOpensItsOwnConnectionInTheDatabaseDirectory) {
    const QString pfad = fenster.DATENBANKPFAD() + QStringLiteral("/TALVIR.mdb");
    PROJEKTDATENBANKANLEGEN(pfad);
    clsDATEN daten;
    bool BOINF = false;
    daten.EINFMDB(BOINF, QStringLiteral("TALVIR"));
    EXPECT_TRUE(BOINF);
    ASSERT_NE(daten.VERBINDUNG(), fenster.DBPROJEKT());
    EXPECT_EQ(daten.VERBINDUNG()->Path(), QFileInfo(pfad).absoluteFilePath());
    EXPECT_EQ(daten.VERBINDUNG()->ConnectionTimeout(), 30);

    // The transfers work on it.
    daten.ESPIDW(3);
    EXPECT_TRUE(daten.DVTT(QStringLiteral("KEN"), QStringLiteral("fremd")));
    Connection talvir(pfad);
    Recordset rs(QStringLiteral("SELECT [KEN] FROM [E1] WHERE [ID]=3"), talvir);
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(rs.Fields(0).Value().toString(), QStringLiteral("fremd"));
    EXPECT_EQ(fenster.ZEILEN(QStringLiteral("E1")), 0);
}

TEST_F(Zustand, ObjectsSharingAConnectionWriteInTheCallersTransaction) {
    const QString pfad = fenster.DATENBANKPFAD() + QStringLiteral("/TALVIR.mdb");
    INFORMATIONSDATENBANKANLEGEN(pfad);
    clsDATEN e1, e0;
    bool BOINF = false;
    e1.EINFMDB(BOINF, QStringLiteral("TALVIR"));
    ASSERT_TRUE(BOINF);
    e0.EVERBINDUNG(e1.VERBINDUNG());
    e0.ETABELLE(QStringLiteral("E0"));
    EXPECT_EQ(e0.VERBINDUNG(), e1.VERBINDUNG());
    e0.ESPIDW(4);
    e1.ESPIDW(4);
    {
        Transaction t(*e1.VERBINDUNG());
        EXPECT_TRUE(e1.DVTT(QStringLiteral("KEN"), QStringLiteral("P4")));
        EXPECT_TRUE(e0.DVTT(QStringLiteral("PROJ"), QStringLiteral("TE0000.00")));
        // Not committed: both writes go.
    }
    Connection talvir(pfad);
    EXPECT_EQ(Recordset(QStringLiteral("SELECT * FROM [E1]"), talvir).RecordCount(), 0);
    EXPECT_EQ(Recordset(QStringLiteral("SELECT * FROM [E0]"), talvir).RecordCount(), 0);
    {
        Transaction t(*e1.VERBINDUNG());
        EXPECT_TRUE(e1.DVTT(QStringLiteral("KEN"), QStringLiteral("P4")));
        EXPECT_TRUE(e0.DVTT(QStringLiteral("PROJ"), QStringLiteral("TE0000.00")));
        t.Commit();
    }
    EXPECT_EQ(Recordset(QStringLiteral("SELECT * FROM [E1] WHERE [ID]=4"), talvir).RecordCount(), 1);
    EXPECT_EQ(Recordset(QStringLiteral("SELECT * FROM [E0] WHERE [ID]=4"), talvir).RecordCount(), 1);
}

TEST_F(Zustand, EinfmdbLooksInTheProjectFolderInADevelopmentRun) {
    fenster.SETZEPROGRAMMPFAD(fenster.WURZEL() + QStringLiteral("/source/VELD"));
    PROJEKTDATENBANKANLEGEN(fenster.DATENBANKPFAD() + QStringLiteral("/TALVIR.mdb"));
    clsDATEN daten;
    bool BOINF = true;
    daten.EINFMDB(BOINF, QStringLiteral("TALVIR"));
    EXPECT_FALSE(BOINF); // only the database directory holds one

    const QString pfad = fenster.PROJEKTSPFAD() + QStringLiteral("/TE0000.00/TALVIR.mdb");
    PROJEKTDATENBANKANLEGEN(pfad);
    daten.EINFMDB(BOINF, QStringLiteral("TALVIR"));
    EXPECT_TRUE(BOINF);
    EXPECT_EQ(daten.VERBINDUNG()->Path(), QFileInfo(pfad).absoluteFilePath());
}

TEST_F(Zustand, EinfmdbOnAFileThatIsNoDatabaseGivesFalseAfterOk) {
    QFile datei(fenster.DATENBANKPFAD() + QStringLiteral("/KAPUTT.mdb"));
    ASSERT_TRUE(datei.open(QIODevice::WriteOnly));
    datei.write(QByteArray(4096, 'x'));
    datei.close();

    clsDATEN daten;
    bool BOINF = true;
    boxen.expect(vbOK, QStringLiteral("VB-Error: "));
    daten.EINFMDB(BOINF, QStringLiteral("KAPUTT"));
    ASSERT_EQ(boxen.boxes().size(), 1);
    EXPECT_EQ(boxen.boxes()[0].title, QStringLiteral("Datenzugriff - Datenbank KAPUTT"));
    EXPECT_EQ(boxen.boxes()[0].style, 49);
    EXPECT_FALSE(BOINF);
    EXPECT_EQ(daten.VERBINDUNG(), fenster.DBPROJEKT());

    // Cancel leaves the flag as the caller passed it.
    boxen.expect(vbCancel);
    BOINF = true;
    daten.EINFMDB(BOINF, QStringLiteral("KAPUTT"));
    EXPECT_TRUE(BOINF);
    EXPECT_EQ(daten.VERBINDUNG(), fenster.DBPROJEKT());
}

TEST_F(Zustand, TheStatementOfAViewNamesItsKeysAndOrdersByTheExtraKeys) {
    clsDATEN daten;
    daten.ETABELLE(QStringLiteral("A2"));
    daten.ESPIDW(7);
    EXPECT_EQ(daten.DTANWEISUNG(QStringLiteral("W"), QStringLiteral("I")),
              QStringLiteral("SELECT [W],[ID],[I] FROM [A2] WHERE [ID] = 7 ORDER BY [I]"));
    daten.ESPIDW(-3);
    EXPECT_EQ(
        daten.DTANWEISUNG(QStringLiteral("W"), QStringLiteral("I"), 2),
        QStringLiteral("SELECT [W],[ID],[I] FROM [A2] WHERE [ID] = -3 AND [I]=2 ORDER BY [I]"));
    daten.ESPK1(QStringLiteral("KEN"));
    daten.ESPK1W(QStringLiteral("O'Neil"));
    EXPECT_EQ(
        daten.DTANWEISUNG(QStringLiteral("W")),
        QStringLiteral("SELECT [W],[ID],[KEN] FROM [A2] WHERE [ID] = -3 AND [KEN] ='O''Neil'"));
}

TEST_F(Zustand, NumbersGoIntoTheStatementInCNotationWhateverTheLocale) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    clsDATEN daten;
    daten.ETABELLE(QStringLiteral("E3"));
    daten.ESPIDW(1);
    EXPECT_EQ(daten.DTANWEISUNG(QStringLiteral("V"), QStringLiteral("DET"), 2.5f),
              QStringLiteral(
                  "SELECT [V],[ID],[DET] FROM [E3] WHERE [ID] = 1 AND [DET]=2.5 ORDER BY [DET]"));
    sql(QStringLiteral("INSERT INTO [E3] ([ID],[I1],[DET],[V]) VALUES (1,0,2.5,7.25)"));
    float v = 0;
    EXPECT_TRUE(daten.DTVS(QStringLiteral("V"), v, QStringLiteral("DET"), 2.5f));
    EXPECT_FLOAT_EQ(v, 7.25f);
}

TEST_F(Zustand, ApostrophesInKeyValuesSelectTheirRows) {
    fenster.DATENSATZANLEGEN(1, QStringLiteral("O'Neil"), QStringLiteral("mit Apostroph"));
    fenster.DATENSATZANLEGEN(1, QStringLiteral("ONeil"), QStringLiteral("ohne"));
    clsDATEN daten;
    daten.ESPIDW(1);
    daten.ESPK1(QStringLiteral("KEN"));
    daten.ESPK1W(QStringLiteral("O'Neil"));
    QString kom;
    EXPECT_TRUE(daten.DTVT(QStringLiteral("KOM"), kom));
    EXPECT_EQ(kom, QStringLiteral("mit Apostroph"));

    // The same as an extra key value.
    daten.ESPK1(QString());
    EXPECT_TRUE(
        daten.DTVT(QStringLiteral("KOM"), kom, QStringLiteral("KEN"), QStringLiteral("O'Neil")));
    EXPECT_EQ(kom, QStringLiteral("mit Apostroph"));
    EXPECT_TRUE(daten.DVTT(QStringLiteral("KOM"), QStringLiteral("geändert"), QStringLiteral("KEN"),
                           QStringLiteral("O'Neil")));
    EXPECT_EQ(spalte(QStringLiteral("SELECT [KOM] FROM [E1] ORDER BY rowid")),
              QVariantList({QStringLiteral("geändert"), QStringLiteral("ohne")}));
}

TEST_F(Zustand, AnEmptyTextKeyNarrowsToEmptyTextsAndIsNotWrittenIntoNewRows) {
    fenster.DATENSATZANLEGEN(4, QStringLiteral("A"), QStringLiteral("a"));
    clsDATEN daten;
    daten.ESPIDW(4);
    daten.ESPK1(QStringLiteral("KEN"));
    daten.ESPK1W(QString());
    QString kom = QStringLiteral("vorher");
    EXPECT_TRUE(daten.DTVT(QStringLiteral("KOM"), kom));
    EXPECT_EQ(kom, QString()); // the row with KEN "A" is not in the view
    EXPECT_TRUE(daten.DVTT(QStringLiteral("KOM"), QStringLiteral("neu")));
    EXPECT_EQ(fenster.ZEILEN(QStringLiteral("E1")), 2);
    EXPECT_TRUE(IsNull(fenster.WERT(QStringLiteral("SELECT [KEN] FROM [E1] WHERE [KOM]='neu'"))));
}

TEST_F(Zustand, DtHandsAnOpenRowSetToItsCaller) {
    messwerte(7, {1.5, 2.5, 3.5});
    clsDATEN daten;
    daten.ETABELLE(QStringLiteral("E3"));
    daten.ESPIDW(7);
    std::unique_ptr<Recordset> rs = daten.DT(QStringLiteral("V"), QStringLiteral("I1"));
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(rs->Fields(0).Name(), QStringLiteral("V"));
    // A statement the database refuses reaches the caller.
    EXPECT_NE(Fehlernummer([&] { daten.DT(QStringLiteral("GIBTESNICHT")); }), 0);
}
