// The schema: every table and column of the program's databases in their
// order and with the types the program reads, the key indexes, the template
// beside the program, and the program's own statements running unchanged on
// it (bracket names, true, <>, Max, LIKE, Desc), with values converted as the
// original engine converts them.

#include "data/SCHEMA.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/DatabaseFile.h"
#include "platform/database/Recordset.h"
#include "platform/database/Sql.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/Variant.h"

#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Expected {
    const char* table;
    std::vector<std::pair<const char*, QMetaType::Type>> columns;
};

constexpr auto L = QMetaType::Int;     // Long
constexpr auto I = QMetaType::Short;   // Integer
constexpr auto S = QMetaType::Float;   // Single
constexpr auto D = QMetaType::Double;  // Double
constexpr auto B = QMetaType::Bool;    // Boolean
constexpr auto T = QMetaType::QString; // Text

const std::vector<Expected>& projectTables() {
    static const std::vector<Expected> tables = {
        {"E1", {{"ID", L}, {"KEN", T}, {"KOM", T}, {"AKT", B}}},
        {"E2", {{"ID", L}, {"VT", I}, {"DMAX", S}, {"MS", S}, {"TMAX", S}}},
        {"E3",
         {{"ID", L}, {"I1", I}, {"DATUM", T}, {"UHRZEIT", T}, {"DET", S}, {"V", S}, {"TEMP", D}}},
        {"A1", {{"ID", L}, {"BONEU", B}, {"VELD", S}}},
        {"A2", {{"ID", L}, {"I", I}, {"W", S}}},
        {"M1", {{"IDM", L}, {"KOM", T}}},
        {"G0",
         {{"ID", L},
          {"IDOBJEKT", I},
          {"OX", I},
          {"OY", I},
          {"RL", S},
          {"RR", S},
          {"RO", S},
          {"RU", S},
          {"XMIN", S},
          {"XMAX", S},
          {"YMIN", S},
          {"YMAX", S},
          {"MX", S},
          {"MY", S},
          {"MYMX", S},
          {"MSP", S}}},
    };
    return tables;
}

const std::vector<Expected>& presetTables() {
    // POSITION is read as whatever it holds: an integer written comes back
    // as an int.
    static const std::vector<Expected> tables = {
        {"VELD_VE1",
         {{"IDK", L},
          {"AKVK", T},
          {"ZL", I},
          {"DATUM", T},
          {"UHRZEIT", T},
          {"KENZ1NR", T},
          {"KENZ1KZ", T},
          {"TZS", T},
          {"TZZ", T}}},
        {"VELD_VE2",
         {{"IDK", L},
          {"MNR", L},
          {"SPALTE", T},
          {"POSITION", L},
          {"PRAEFIX", T},
          {"SUFFIX", T},
          {"FORMAT", T},
          {"FAKTOR", S}}},
    };
    return tables;
}

const std::vector<Expected>& archiveTables() {
    static const std::vector<Expected> tables = {
        {"ADMIN",
         {{"BENUTZER", T}, {"PROG", T}, {"PROJEKTSPFAD", T}, {"PROJEKT", T}, {"BEARBEITER", T}}},
    };
    return tables;
}

// Checks that the database holds exactly these tables with exactly these
// columns in this order, and that a value 1 written into every column reads
// back with the type the program reads.
void expectTables(const QString& path, std::vector<Expected> expected) {
    Connection db(path);
    QStringList names;
    for (const Expected& table : expected)
        names << QString::fromLatin1(table.table);
    QStringList found;
    Recordset list(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"), db);
    for (; !list.Eof(); list.MoveNext())
        found << list.Fields(0).Value().toString();
    names.sort();
    found.sort();
    EXPECT_EQ(found, names) << path.toStdString();

    Transaction scratch(db); // nothing stays written
    for (const Expected& table : expected) {
        SCOPED_TRACE(table.table);
        Recordset rs(QStringLiteral("SELECT * FROM [%1]").arg(QString::fromLatin1(table.table)),
                     db);
        ASSERT_EQ(rs.FieldCount(), int(table.columns.size()));
        rs.AddNew();
        for (size_t j = 0; j < table.columns.size(); ++j) {
            EXPECT_EQ(rs.Fields(int(j)).Name(), QString::fromLatin1(table.columns[j].first));
            rs.Fields(int(j)) = 1;
        }
        rs.Update();
        Recordset back(QStringLiteral("SELECT * FROM [%1]").arg(QString::fromLatin1(table.table)),
                       db);
        for (size_t j = 0; j < table.columns.size(); ++j) {
            const QVariant value = back.Fields(int(j)).Value();
            EXPECT_EQ(value.typeId(), int(table.columns[j].second)) << table.columns[j].first;
            EXPECT_EQ(value.toString(),
                      table.columns[j].second == B ? QStringLiteral("true") : QStringLiteral("1"));
        }
    }
}

const std::vector<Expected>& informationTables() {
    static const std::vector<Expected> tables = {
        {"E0", {{"ID", L}, {"QART", I}, {"PROJ", T}, {"QUELLE", T}, {"BEARBEITER", T}, {"DATUM", T}}},
        {"E1", {{"ID", L}, {"KEN", T}, {"KOM", T}}},
        {"E2", {{"ID", L}, {"MAXWE", S}, {"MAXWN", S}, {"ZEIT", S}}},
    };
    return tables;
}

class SchemaTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("VELD.mdb"));
        PROJEKTDATENBANKANLEGEN(path);
        db.Open(path);
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
    int count(const QString& sql, const QVariantList& parameters = {}) {
        Recordset rs(sql, db, parameters);
        return rs.RecordCount();
    }
    QTemporaryDir dir;
    QString path;
    Connection db;
};

} // namespace

TEST_F(SchemaTest, TheProjectDatabaseHoldsEveryTableAndColumnInOrder) {
    std::vector<Expected> all = projectTables();
    all.insert(all.end(), presetTables().begin(), presetTables().end());
    db.Close();
    expectTables(path, all);
}

TEST_F(SchemaTest, TheArchiveAndPresetsDatabasesHoldTheirTables) {
    ARCHIVDATENBANKANLEGEN(dir.filePath(QStringLiteral("ARCHIV.mdb")));
    VORGABEDATENBANKANLEGEN(dir.filePath(QStringLiteral("VORGABE.mdb")));
    expectTables(dir.filePath(QStringLiteral("ARCHIV.mdb")), archiveTables());
    expectTables(dir.filePath(QStringLiteral("VORGABE.mdb")), presetTables());
    EXPECT_THROW(ARCHIVDATENBANKANLEGEN(dir.filePath(QStringLiteral("ARCHIV.mdb"))), RuntimeError);
}

TEST_F(SchemaTest, TheInformationSystemIsMadeEmptyWithItsThreeTables) {
    const QString talvir = dir.filePath(QStringLiteral("TALVIR.mdb"));
    INFORMATIONSDATENBANKANLEGEN(talvir);
    expectTables(talvir, informationTables());
    Connection inf(talvir);
    for (const char* table : {"E0", "E1", "E2"})
        EXPECT_EQ(Recordset(QStringLiteral("SELECT * FROM [%1]").arg(QLatin1String(table)), inf)
                      .RecordCount(),
                  0);
    // Project names compare without regard to letter case, like every key.
    inf.Execute(QStringLiteral("INSERT INTO [E0] ([ID],[PROJ]) VALUES (1,'te0000.00')"));
    EXPECT_EQ(Recordset(QStringLiteral("SELECT * FROM [E0] WHERE [PROJ]='TE0000.00'"), inf)
                  .RecordCount(),
              1);
    EXPECT_THROW(INFORMATIONSDATENBANKANLEGEN(talvir), RuntimeError);
}

TEST_F(SchemaTest, TheTemplateBesideTheProgramHoldsEveryTable) {
    const QString vorlage = QStringLiteral(VELD_PROGRAM_DIR "/VELD.mdb");
    if (!QFileInfo::exists(vorlage))
        GTEST_SKIP() << "the template target was not built: " << vorlage.toStdString();
    // Read from a copy: the test never writes into the build's template.
    CopyDatabase(vorlage, dir.filePath(QStringLiteral("VORLAGE.mdb")));
    std::vector<Expected> all = projectTables();
    all.insert(all.end(), presetTables().begin(), presetTables().end());
    expectTables(dir.filePath(QStringLiteral("VORLAGE.mdb")), all);
    Connection copy(dir.filePath(QStringLiteral("VORLAGE.mdb")));
    for (const Expected& table : all) {
        Recordset rs(QStringLiteral("SELECT * FROM [%1]").arg(QString::fromLatin1(table.table)),
                     copy);
        EXPECT_EQ(rs.RecordCount(), 0) << table.table;
    }
}

TEST_F(SchemaTest, KeyColumnsAreIndexedAndNoneIsUnique) {
    const std::vector<std::pair<QString, QString>> wanted = {
        {"E1", "ID"}, {"E2", "ID"},   {"E3", "ID,I1"},
        {"A1", "ID"}, {"A2", "ID,I"}, {"G0", "ID,IDOBJEKT"}};
    for (const auto& [table, columns] : wanted) {
        QStringList found;
        Recordset indexes(QStringLiteral("SELECT name, [unique] FROM pragma_index_list(?)"), db,
                          {table});
        for (; !indexes.Eof(); indexes.MoveNext()) {
            EXPECT_EQ(indexes.Fields(1).Value().toInt(), 0) << table.toStdString();
            QStringList names;
            Recordset info(QStringLiteral("SELECT name FROM pragma_index_info(?) ORDER BY seqno"),
                           db, {indexes.Fields(0).Value()});
            for (; !info.Eof(); info.MoveNext())
                names << info.Fields(0).Value().toString();
            found << names.join(QLatin1Char(','));
        }
        EXPECT_TRUE(found.contains(columns))
            << table.toStdString() << ": " << found.join(' ').toStdString();
    }
}

TEST_F(SchemaTest, IdentifiersMayRepeatAndCompareWithoutLetterCase) {
    db.Execute(QStringLiteral(
        "INSERT INTO [E1] ([ID],[KEN],[KOM],[AKT]) VALUES (0,'M','Mehrfachauswertung',false)"));
    db.Execute(QStringLiteral(
        "INSERT INTO [E1] ([ID],[KEN],[KOM],[AKT]) VALUES (0,'M','Mehrfachauswertung',false)"));
    db.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN]) VALUES (1,'Probe A')"));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [E1] WHERE [KEN]='M'")), 2);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [E1] WHERE [KEN]='probe a'")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [E1] WHERE [KEN]<>'m'")), 1);
    Recordset rs(QStringLiteral("SELECT [AKT] FROM [E1] WHERE [ID]=1"), db);
    EXPECT_EQ(rs.Fields("AKT").Value(), QVariant(false)); // a new row is not active
}

TEST_F(SchemaTest, ActiveRowsStoredWithTrueAreFoundByTrue) {
    Recordset rs(QStringLiteral("SELECT * FROM [E1]"), db);
    for (int id = 1; id <= 4; ++id) {
        rs.AddNew();
        rs.Fields("ID") = id;
        rs.Fields("KEN") = QStringLiteral("P%1").arg(id);
        rs.Fields("AKT") = id % 2 == 1;
        rs.Update();
    }
    db.Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (?,?,?)"),
               {5, QStringLiteral("P5"), true});
    Recordset active(QStringLiteral("SELECT [ID] FROM [E1] WHERE [AKT]=true"), db);
    QList<int> ids;
    for (; !active.Eof(); active.MoveNext())
        ids << active.Fields("ID").Value().toInt();
    EXPECT_EQ(ids, QList<int>({1, 3, 5}));
    EXPECT_EQ(count(QStringLiteral("SELECT [ID] FROM [E1] WHERE [AKT]=false")), 2);
}

TEST_F(SchemaTest, AnApostropheInAKeyValueReachesTheDatabaseIntact) {
    const QString ken = QStringLiteral("O'Brien's Probe");
    {
        Recordset rs(QStringLiteral("SELECT * FROM [E1] WHERE [KEN]=") + SqlText(ken), db);
        EXPECT_TRUE(rs.Eof());
        rs.AddNew();
        rs.Fields("ID") = 1;
        rs.Fields("KEN") = ken;
        rs.Update();
    }
    Recordset rs(QStringLiteral("SELECT [ID],[KEN] FROM [E1] WHERE [KEN]=") + SqlText(ken), db);
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields("KEN").Value().toString(), ken);
    EXPECT_EQ(db.Execute(QStringLiteral("UPDATE [E1] SET [AKT]=true WHERE [KEN]<>") + SqlText(ken)),
              0);
}

TEST_F(SchemaTest, TheProgramsStatementsRunUnchanged) {
    db.Execute(QStringLiteral(
        "INSERT INTO [E1] ([ID],[KEN],[KOM],[AKT]) VALUES "
        "(7,'abc7','x',true),(3,'b3',NULL,false),(0,'M','Mehrfachauswertung',true)"));
    db.Execute(QStringLiteral("INSERT INTO [A2] ([ID],[I],[W]) VALUES (7,1,2.5),(7,0,1.5)"));
    db.Execute(QStringLiteral("INSERT INTO [E3] ([ID],[I1]) VALUES (7,0),(7,1),(7,2)"));
    db.Execute(QStringLiteral("INSERT INTO [M1] ([IDM],[KOM]) VALUES (1,'k')"));
    struct Case {
        QString sql;
        int rows;
    };
    const std::vector<Case> cases = {
        {"SELECT [ID] FROM [E1] WHERE [AKT]=true", 2},
        {"SELECT [W],[ID],[I] FROM [A2] WHERE [ID] = 7 ORDER BY [I]", 2},
        {"SELECT [I1] FROM E3 WHERE [ID] = 7 ORDER BY [I1]", 3},
        {"SELECT [ID] FROM [E1] WHERE [AKT]=true and [ID]<>0 ORDER BY [ID]", 1},
        {"SELECT [KEN] FROM [E1] WHERE [ID]<>0 ORDER BY [KEN]", 2},
        {"SELECT [ID],[KEN] FROM [E1] WHERE [AKT]=true and [ID]>0 ORDER BY [KEN]", 1},
        {"SELECT * FROM [E1] ORDER BY [ID] Desc", 3},
        {"SELECT * FROM [E1] WHERE ID>0 ORDER BY [KEN]", 2},
        {"SELECT [AKT] FROM [E1] WHERE [KEN]<>'' AND ID>0 ORDER BY [KEN]", 2},
        {"SELECT * FROM [E1] WHERE [KEN]<>'M' ORDER BY [KEN]", 2},
        {"SELECT [ID],[KEN] FROM [E1] WHERE [KEN]LIKE'%BC%' ORDER BY [KEN]", 1},
        {"SELECT [ID],[KEN] FROM [E1] WHERE [ID]>=3 AND [KEN]='B3' ORDER BY [ID],[KEN]", 1},
        {"SELECT * FROM [M1] WHERE [IDM]=1", 1},
        {"SELECT Max([ID]) FROM [E1]", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql.toStdString());
        EXPECT_EQ(count(c.sql), c.rows);
    }
    Recordset last(QStringLiteral("SELECT * FROM [E1] ORDER BY [ID] Desc"), db);
    EXPECT_EQ(last.Fields("ID").Value(), QVariant(7));
    // The save command clears the flag of every other active record, row by row.
    Recordset others(QStringLiteral("SELECT * FROM [E1] WHERE [KEN]<>'abc7' AND [AKT]=true"), db);
    for (; !others.Eof(); others.MoveNext()) {
        others.Fields("AKT") = false;
        others.Update();
    }
    EXPECT_EQ(count(QStringLiteral("SELECT [ID] FROM [E1] WHERE [AKT]=true")), 1);
}

// Values written into number columns ---------------------------------------------

class SchemaLocaleTest : public SchemaTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        SchemaTest::SetUp();
        QLocale::setDefault(GetParam() ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c());
        db.Execute(QStringLiteral("INSERT INTO [E2] ([ID],[VT],[MS]) VALUES (1,0,100)"));
    }
    QVariant ms() {
        Recordset rs(QStringLiteral("SELECT [MS] FROM [E2] WHERE [ID]=1"), db);
        return rs.Fields("MS").Value();
    }
    void writeMs(const QVariant& value) {
        Recordset rs(QStringLiteral("SELECT [MS],[ID] FROM [E2] WHERE [ID] = 1"), db);
        rs.Fields("MS") = value;
        rs.Update();
    }
};

INSTANTIATE_TEST_SUITE_P(Locales, SchemaLocaleTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "de_DE" : "C";
                         });

TEST_P(SchemaLocaleTest, ADryMassTypedInTheUsersNotationIsStoredAsANumber) {
    writeMs(GetParam() ? QStringLiteral("12,5") : QStringLiteral("12.5"));
    EXPECT_EQ(ms(), QVariant(12.5f));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [E2] WHERE [MS]=12.5")), 1);
}

TEST_P(SchemaLocaleTest, ADryMassThatIsNoNumberIsRefusedAndNothingIsStored) {
    try {
        writeMs(QStringLiteral("abc"));
        FAIL() << "stored a text into a number column";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), DatabaseError::CantConvert);
    }
    EXPECT_EQ(ms(), QVariant(100.0f));
    EXPECT_EQ(count(QStringLiteral(
                  "SELECT * FROM [E2] WHERE typeof([MS])<>'integer' AND typeof([MS])<>'real'")),
              0);
}

TEST_P(SchemaLocaleTest, AnEmptyDryMassIsNull) {
    writeMs(QString());
    EXPECT_TRUE(IsNull(ms()));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [E2] WHERE [MS] IS NULL")), 1);
}

TEST_P(SchemaLocaleTest, ReadingsTypedAsTextKeepTheirValues) {
    Recordset rs(QStringLiteral("SELECT [ID],[I1],[DATUM],[UHRZEIT],[DET],[V],[TEMP] FROM [E3] "
                                "WHERE [ID] = 1 ORDER BY [I1]"),
                 db);
    const QString dec = QLocale().decimalPoint();
    rs.AddNew();
    rs.Fields("ID") = 1;
    rs.Fields("I1") = QStringLiteral("0");
    rs.Fields("DATUM") = QStringLiteral("01.02.03");
    rs.Fields("UHRZEIT") = QStringLiteral("08:00:00");
    rs.Fields("DET") = QStringLiteral("1") + dec + QStringLiteral("5");
    rs.Fields("V") = QStringLiteral("0") + dec + QStringLiteral("25");
    rs.Fields("TEMP") = QString();
    rs.Update();
    Recordset back(QStringLiteral("SELECT * FROM [E3] WHERE [ID]=1"), db);
    EXPECT_EQ(back.Fields("I1").Value().typeId(), QMetaType::Short);
    EXPECT_EQ(back.Fields("DET").Value(), QVariant(1.5f));
    EXPECT_EQ(back.Fields("V").Value(), QVariant(0.25f));
    EXPECT_TRUE(IsNull(back.Fields("TEMP").Value()));
    EXPECT_EQ(back.Fields("DATUM").Value(), QVariant(QStringLiteral("01.02.03")));
}
