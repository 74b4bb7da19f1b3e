// The row set: walking a static set of rows, fields by name and index, values
// typed by the declared column types, AddNew/Update/Delete by rowid that touch
// only what was changed, read-only results, and the conversion of written
// values as the original engine converts them (under de_DE and C).

#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/DatabaseFile.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/Variant.h"

#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class RecordsetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        CreateDatabase(dir.filePath(QStringLiteral("t.mdb")));
        db.Open(dir.filePath(QStringLiteral("t.mdb")));
        db.Execute(QStringLiteral("CREATE TABLE [R] ([ID] LONG, [N] SHORT, [S] SINGLE, [D] DOUBLE, "
                                  "[B] BOOLEAN NOT NULL DEFAULT 0, "
                                  "[T] TEXT COLLATE NOCASE, [V] VARIANT)"));
        db.Execute(QStringLiteral(
            "INSERT INTO [R] ([ID],[N],[T]) VALUES (1,10,'eins'),(2,20,'zwei'),(3,30,'drei')"));
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    QVariant single(const QString& sql) {
        Recordset rs(sql, db);
        return rs.Eof() ? QVariant() : rs.Fields(0).Value();
    }
    int number(const QString& sql) { return single(sql).toInt(); }

    QTemporaryDir dir;
    Connection db;
};

void expectError(int number, const std::function<void()>& step) {
    try {
        step();
        ADD_FAILURE() << "no error " << number;
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), number) << error.Description().toStdString();
    }
}

} // namespace

TEST_F(RecordsetTest, WalksTheRowsBothWays) {
    Recordset rs(QStringLiteral("SELECT [ID],[T] FROM [R] ORDER BY [ID]"), db);
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_FALSE(rs.Bof());
    QList<int> seen;
    while (!rs.Eof()) {
        seen << rs.Fields("ID").Value().toInt();
        rs.MoveNext();
    }
    EXPECT_EQ(seen, QList<int>({1, 2, 3}));
    expectError(DatabaseError::NoCurrentRecord, [&] { rs.MoveNext(); });
    expectError(DatabaseError::NoCurrentRecord, [&] { rs.Fields("T").Value(); });
    rs.MoveLast();
    EXPECT_EQ(rs.Fields("T").Value(), QVariant(QStringLiteral("drei")));
    rs.MovePrevious();
    rs.MovePrevious();
    rs.MovePrevious();
    EXPECT_TRUE(rs.Bof());
    EXPECT_FALSE(rs.Eof());
    rs.MoveFirst();
    EXPECT_EQ(rs.Fields(0).Value(), QVariant(1));
}

TEST_F(RecordsetTest, AnEmptySetIsBothBofAndEof) {
    Recordset rs(QStringLiteral("SELECT * FROM [R] WHERE [ID]=99"), db);
    EXPECT_TRUE(rs.Eof());
    EXPECT_TRUE(rs.Bof());
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_EQ(rs.FieldCount(), 7);
    expectError(DatabaseError::NoCurrentRecord, [&] { rs.MoveFirst(); });
    expectError(DatabaseError::NoCurrentRecord, [&] { rs.MoveLast(); });
}

TEST_F(RecordsetTest, TheRowsAreReadWhenItOpens) {
    Recordset rs(QStringLiteral("SELECT [ID] FROM [R]"), db);
    db.Execute(QStringLiteral("DELETE FROM [R]"));
    EXPECT_EQ(rs.RecordCount(), 3);
    rs.MoveLast();
    EXPECT_EQ(rs.Fields(0).Value(), QVariant(3));
}

TEST_F(RecordsetTest, FieldsByNameIgnoreLetterCaseAndByIndex) {
    Recordset rs(QStringLiteral("SELECT [ID], [T] AS Titel FROM [R] WHERE [ID]=2"), db);
    EXPECT_EQ(rs.FieldCount(), 2);
    EXPECT_EQ(rs.Fields(1).Name(), QStringLiteral("Titel"));
    EXPECT_EQ(rs.Fields("titel").Value(), QVariant(QStringLiteral("zwei")));
    EXPECT_EQ(rs.Fields("id").Value(), QVariant(2));
    expectError(DatabaseError::ItemNotFound, [&] { rs.Fields("KEN"); });
    expectError(DatabaseError::ItemNotFound, [&] { rs.Fields(2); });
    rs.Close();
    expectError(DatabaseError::ObjectClosed, [&] { rs.Eof(); });
}

TEST_F(RecordsetTest, ValuesComeTypedByTheDeclaredColumnType) {
    db.Execute(QStringLiteral("INSERT INTO [R] VALUES (4, 7, 12.3, 0.1, 1, 'x', 'frei')"));
    Recordset rs(QStringLiteral("SELECT * FROM [R] WHERE [ID]=4"), db);
    EXPECT_EQ(rs.Fields("ID").Value().typeId(), QMetaType::Int);
    EXPECT_EQ(rs.Fields("N").Value().typeId(), QMetaType::Short);
    EXPECT_EQ(rs.Fields("N").Value().toInt(), 7);
    EXPECT_EQ(rs.Fields("S").Value(), QVariant(12.3f));
    EXPECT_EQ(rs.Fields("D").Value(), QVariant(0.1));
    EXPECT_EQ(rs.Fields("B").Value(), QVariant(true));
    EXPECT_EQ(rs.Fields("T").Value(), QVariant(QStringLiteral("x")));
    EXPECT_EQ(rs.Fields("V").Value(), QVariant(QStringLiteral("frei")));
    Recordset nulls(QStringLiteral("SELECT [S],[D],[V],[B] FROM [R] WHERE [ID]=1"), db);
    EXPECT_TRUE(IsNull(nulls.Fields("S").Value()));
    EXPECT_TRUE(IsNull(nulls.Fields("D").Value()));
    EXPECT_TRUE(IsNull(nulls.Fields("V").Value()));
    EXPECT_EQ(nulls.Fields("B").Value(), QVariant(false));
    EXPECT_EQ(number(QStringLiteral("SELECT Max([ID]) FROM [R]")), 4);
}

TEST_F(RecordsetTest, AddNewInsertsTheSetFieldsAndTheDefaults) {
    Recordset rs(QStringLiteral("SELECT * FROM [R] WHERE [ID]=5"), db);
    rs.AddNew();
    EXPECT_FALSE(rs.Eof());
    rs.Fields("ID") = 5;
    rs.Fields("T") = QStringLiteral("fünf");
    EXPECT_EQ(rs.Fields("T").Value(), QVariant(QStringLiteral("fünf")));
    rs.Update();
    EXPECT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields("B").Value(), QVariant(false)); // the column's default
    EXPECT_EQ(number(QStringLiteral(
                  "SELECT count(*) FROM [R] WHERE [ID]=5 AND [T]='FÜNF' COLLATE BINARY")),
              0);
    EXPECT_EQ(single(QStringLiteral("SELECT [T] FROM [R] WHERE [ID]=5")),
              QVariant(QStringLiteral("fünf")));
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM [R] WHERE [ID]=5 AND [B]=false")), 1);
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
}

TEST_F(RecordsetTest, UpdateWritesOnlyTheChangedFieldsOfItsOwnRow) {
    db.Execute(
        QStringLiteral("INSERT INTO [R] ([ID],[N],[T]) VALUES (2,20,'zwei')")); // a twin of row 2
    Recordset rs(QStringLiteral("SELECT * FROM [R] WHERE [ID]=2"), db);
    ASSERT_EQ(rs.RecordCount(), 2);
    // Another writer changes a column behind the row set's back.
    db.Execute(QStringLiteral("UPDATE [R] SET [D]=9.5 WHERE [ID]=2"));
    rs.Fields("N") = 21;
    rs.Update();
    Recordset check(QStringLiteral("SELECT [N],[D],[T] FROM [R] WHERE [ID]=2 ORDER BY rowid"), db);
    EXPECT_EQ(check.Fields("N").Value().toInt(), 21);
    EXPECT_EQ(check.Fields("D").Value(), QVariant(9.5));
    EXPECT_EQ(check.Fields("T").Value(), QVariant(QStringLiteral("zwei")));
    check.MoveNext();
    EXPECT_EQ(check.Fields("N").Value().toInt(), 20); // the twin is untouched
}

TEST_F(RecordsetTest, MovingOffAChangedRowUpdatesItAndCancelUpdateDropsIt) {
    Recordset rs(QStringLiteral("SELECT [ID],[T] FROM [R] ORDER BY [ID]"), db);
    rs.Fields("T") = QStringLiteral("EINS");
    rs.MoveNext();
    rs.Fields("T") = QStringLiteral("ZWEI");
    rs.CancelUpdate();
    EXPECT_EQ(rs.Fields("T").Value(), QVariant(QStringLiteral("zwei")));
    rs.AddNew();
    rs.Fields("ID") = 9;
    rs.CancelUpdate();
    EXPECT_EQ(rs.RecordCount(), 3);
    rs.Close();
    EXPECT_EQ(single(QStringLiteral("SELECT [T] FROM [R] WHERE [ID]=1")),
              QVariant(QStringLiteral("EINS")));
    EXPECT_EQ(single(QStringLiteral("SELECT [T] FROM [R] WHERE [ID]=2")),
              QVariant(QStringLiteral("zwei")));
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM [R]")), 3);
}

TEST_F(RecordsetTest, DeleteRemovesTheCurrentRowOnly) {
    db.Execute(QStringLiteral("INSERT INTO [R] ([ID],[N],[T]) VALUES (2,20,'zwei')"));
    Recordset rs(QStringLiteral("SELECT [ID],[N] FROM [R] WHERE [ID]=2"), db);
    rs.Delete();
    expectError(DatabaseError::NoCurrentRecord, [&] { rs.Fields("N").Value(); });
    EXPECT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM [R] WHERE [ID]=2")), 1);
    rs.MoveNext();
    EXPECT_FALSE(rs.Eof());
    EXPECT_EQ(rs.Fields("ID").Value(), QVariant(2));
}

TEST_F(RecordsetTest, DeletingEveryRowInALoopLeavesNone) {
    Recordset rs(QStringLiteral("SELECT [ID] FROM [R] WHERE [ID]>0"), db);
    rs.MoveFirst();
    while (!rs.Eof()) {
        rs.Delete();
        rs.MoveNext();
    }
    EXPECT_TRUE(rs.Bof());
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM [R]")), 0);
}

TEST_F(RecordsetTest, ReplacingAViewOverwritesAddsAndDeletesInOrder) {
    // The row writer's pattern: three values over a view of the three rows,
    // then two values over it.
    const QList<QVariant> first = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                   QStringLiteral("d")};
    auto write = [&](const QList<QVariant>& values) {
        Recordset rs(QStringLiteral("SELECT [T],[N],[ID] FROM [R] WHERE [ID] > 0 ORDER BY [N]"),
                     db);
        for (qsizetype i = 0; i < values.size(); ++i) {
            if (rs.Eof())
                rs.AddNew();
            else if (i == 0)
                rs.MoveFirst();
            rs.Fields("T") = values[i];
            rs.Fields("N") = int(i);
            rs.Fields("ID") = 1;
            rs.Update();
            if (!rs.Eof()) rs.MoveNext();
        }
        while (!rs.Eof()) {
            rs.Delete();
            rs.MoveNext();
        }
    };
    write(first);
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM [R]")), 4);
    write({QStringLiteral("x"), QStringLiteral("y")});
    Recordset rs(QStringLiteral("SELECT [T] FROM [R] ORDER BY [N]"), db);
    ASSERT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs.Fields(0).Value(), QVariant(QStringLiteral("x")));
    rs.MoveNext();
    EXPECT_EQ(rs.Fields(0).Value(), QVariant(QStringLiteral("y")));
}

TEST_F(RecordsetTest, AReadOnlyResultRefusesChanges) {
    db.Execute(QStringLiteral("CREATE TABLE [A] ([ID] LONG, [W] SINGLE)"));
    db.Execute(QStringLiteral("INSERT INTO [A] VALUES (1, 2.5)"));
    for (const QString& sql :
         {QStringLiteral("SELECT Max([ID]) FROM [R]"),
          QStringLiteral("SELECT [R].[ID],[W] FROM [R],[A] WHERE [R].[ID]=[A].[ID]"),
          QStringLiteral("SELECT [R].[ID] FROM [R] JOIN [A] ON [R].[ID]=[A].[ID]"),
          QStringLiteral("SELECT [ID], count(*) FROM [R] GROUP BY [ID]"),
          QStringLiteral("SELECT DISTINCT [ID] FROM [R]"),
          QStringLiteral("SELECT [ID] FROM [R] UNION SELECT [ID] FROM [A]")}) {
        SCOPED_TRACE(sql.toStdString());
        Recordset rs(sql, db);
        EXPECT_FALSE(rs.Updatable());
        expectError(DatabaseError::NotUpdatable, [&] { rs.AddNew(); });
        expectError(DatabaseError::NotUpdatable, [&] { rs.Fields(0) = 5; });
    }
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM [R]")), 3);
    // A sub-query in the condition leaves the rows writable.
    Recordset rs(
        QStringLiteral(
            "SELECT [ID],[T],[N]*2 AS Doppelt FROM [R] WHERE [ID] IN (SELECT [ID] FROM [A])"),
        db);
    EXPECT_TRUE(rs.Updatable());
    expectError(DatabaseError::NotUpdatable, [&] { rs.Fields("Doppelt") = 1; });
    rs.Fields("T") = QStringLiteral("neu");
    rs.Update();
    EXPECT_EQ(single(QStringLiteral("SELECT [T] FROM [R] WHERE [ID]=1")),
              QVariant(QStringLiteral("neu")));
}

TEST_F(RecordsetTest, CopyingFieldsByPositionKeepsEveryValue) {
    db.Execute(QStringLiteral("INSERT INTO [R] VALUES (4, -7, 1.5, 2.25, 1, 'vier', 3)"));
    Recordset source(QStringLiteral("SELECT * FROM [R] WHERE [ID]=4"), db);
    QVariantList buffer;
    for (int j = 0; j < source.FieldCount(); ++j)
        buffer << source.Fields(j).Value();
    source.Close();
    Recordset target(QStringLiteral("SELECT * FROM [R] WHERE [ID]=8"), db);
    target.AddNew();
    target.Fields(0) = 8;
    for (int j = 1; j < target.FieldCount(); ++j)
        target.Fields(j) = buffer[j];
    target.Update();
    Recordset check(QStringLiteral("SELECT * FROM [R] WHERE [ID]=8"), db);
    for (int j = 1; j < check.FieldCount(); ++j)
        EXPECT_EQ(check.Fields(j).Value(), buffer[j]) << j;
}

TEST_F(RecordsetTest, KeepsWritingAfterItsConnectionWasReopened) {
    Recordset rs(QStringLiteral("SELECT [ID],[T] FROM [R] WHERE [ID]>100"), db);
    rs.AddNew();
    rs.Fields("ID") = 101;
    rs.Update();
    db.Reopen(); // drops the statements the connection kept
    rs.AddNew();
    rs.Fields("ID") = 102;
    rs.Update();
    db.Execute(QStringLiteral("CREATE INDEX [R_T] ON [R] ([T])")); // a schema change
    rs.AddNew();
    rs.Fields("ID") = 103;
    rs.Update();
    rs.MoveFirst();
    rs.Fields("T") = QStringLiteral("erste");
    rs.Update();
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM [R] WHERE [ID]>100")), 3);
    EXPECT_EQ(single(QStringLiteral("SELECT [T] FROM [R] WHERE [ID]=101")),
              QVariant(QStringLiteral("erste")));
    db.Close();
    expectError(DatabaseError::ObjectClosed, [&] {
        rs.Fields("T") = QStringLiteral("zu");
        rs.Update();
    });
}

// Conversions of written values ------------------------------------------------

class RecordsetWriteTest : public RecordsetTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        RecordsetTest::SetUp();
        QLocale::setDefault(GetParam() ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c());
    }
    bool german() const { return GetParam(); }
    QString dec(QString text) const {
        return german() ? text : text.replace(QLatin1Char(','), QLatin1Char('.'));
    }
    // Writes a value into a column of the first row and returns it as read
    // back.
    QVariant roundTrip(const QString& column, const QVariant& value) {
        {
            Recordset rs(QStringLiteral("SELECT * FROM [R] WHERE rowid=1"), db);
            rs.Fields(column) = value;
            rs.Update();
        }
        return single(QStringLiteral("SELECT [%1] FROM [R] WHERE rowid=1").arg(column));
    }
};

INSTANTIATE_TEST_SUITE_P(Locales, RecordsetWriteTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "de_DE" : "C";
                         });

TEST_P(RecordsetWriteTest, ANumberTextIsReadInTheUsersNotation) {
    EXPECT_EQ(roundTrip(QStringLiteral("S"), dec(QStringLiteral("12,5"))), QVariant(12.5f));
    EXPECT_EQ(roundTrip(QStringLiteral("D"), dec(QStringLiteral(" -0,125 "))), QVariant(-0.125));
    EXPECT_EQ(roundTrip(QStringLiteral("ID"), QStringLiteral("17")), QVariant(17));
    // The other notation is no number here: under de_DE "12.5" is not 125.
    expectError(DatabaseError::CantConvert, [&] {
        roundTrip(QStringLiteral("S"), german() ? QStringLiteral("12.5") : QStringLiteral("12,5"));
    });
    EXPECT_EQ(single(QStringLiteral("SELECT [S] FROM [R] WHERE rowid=1")), QVariant(12.5f));
}

TEST_P(RecordsetWriteTest, ATextThatIsNoNumberIsRefusedAndNothingIsStored) {
    Recordset rs(QStringLiteral("SELECT * FROM [R] WHERE [ID]=1"), db);
    rs.Fields("T") = QStringLiteral("geändert");
    try {
        rs.Fields("S") = QStringLiteral("abc");
        FAIL();
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), DatabaseError::CantConvert);
        EXPECT_TRUE(error.Description().contains(QStringLiteral("abc")));
        EXPECT_TRUE(error.Description().contains(QStringLiteral("S")));
    }
    rs.CancelUpdate();
    rs.Close();
    EXPECT_TRUE(IsNull(single(QStringLiteral("SELECT [S] FROM [R] WHERE [ID]=1"))));
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM [R] WHERE typeof([S])='text'")), 0);

    Recordset added(QStringLiteral("SELECT * FROM [R] WHERE [ID]=6"), db);
    added.AddNew();
    added.Fields("ID") = 6;
    expectError(DatabaseError::CantConvert, [&] { added.Fields("N") = QStringLiteral("zehn"); });
    added.CancelUpdate();
    added.Close();
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM [R] WHERE [ID]=6")), 0);
}

TEST_P(RecordsetWriteTest, AnEmptyTextIsNull) {
    roundTrip(QStringLiteral("S"), 3.0);
    EXPECT_TRUE(IsNull(roundTrip(QStringLiteral("S"), QString())));
    roundTrip(QStringLiteral("N"), 3);
    EXPECT_TRUE(IsNull(roundTrip(QStringLiteral("N"), QStringLiteral("  "))));
    EXPECT_TRUE(IsNull(roundTrip(QStringLiteral("D"), QVariant()))); // Empty
    EXPECT_TRUE(IsNull(roundTrip(QStringLiteral("T"), VNull())));
    EXPECT_EQ(roundTrip(QStringLiteral("T"), QString()),
              QVariant(QString())); // a text column keeps ""
}

TEST_P(RecordsetWriteTest, NumbersBeyondTheColumnsRangeOverflow) {
    expectError(DatabaseError::DataOverflow, [&] { roundTrip(QStringLiteral("N"), 40000); });
    expectError(DatabaseError::DataOverflow,
                [&] { roundTrip(QStringLiteral("N"), dec(QStringLiteral("32767,5"))); });
    EXPECT_EQ(roundTrip(QStringLiteral("N"), -32768).toInt(), -32768);
    expectError(DatabaseError::DataOverflow,
                [&] { roundTrip(QStringLiteral("ID"), 3000000000.0); });
    expectError(DatabaseError::DataOverflow, [&] { roundTrip(QStringLiteral("S"), 1e39); });
    expectError(DatabaseError::DataOverflow,
                [&] { roundTrip(QStringLiteral("S"), dec(QStringLiteral("-4e38"))); });
    EXPECT_EQ(roundTrip(QStringLiteral("D"), 1e39), QVariant(1e39));
    EXPECT_EQ(number(QStringLiteral("SELECT [N] FROM [R] WHERE [ID]=1")), -32768);
}

TEST_P(RecordsetWriteTest, WholeNumberColumnsRoundHalvesToEven) {
    EXPECT_EQ(roundTrip(QStringLiteral("ID"), 2.5), QVariant(2));
    EXPECT_EQ(roundTrip(QStringLiteral("ID"), dec(QStringLiteral("3,5"))), QVariant(4));
    EXPECT_EQ(roundTrip(QStringLiteral("N"), -2.5).toInt(), -2);
}

TEST_P(RecordsetWriteTest, BooleansAreStoredOneAndZero) {
    EXPECT_EQ(roundTrip(QStringLiteral("B"), true), QVariant(true));
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM [R] WHERE [B]=true")), 1);
    EXPECT_EQ(number(QStringLiteral("SELECT [B] FROM [R] WHERE [B]=true")), 1);
    EXPECT_EQ(roundTrip(QStringLiteral("B"), -1), QVariant(true));
    EXPECT_EQ(roundTrip(QStringLiteral("B"), 0), QVariant(false));
    EXPECT_EQ(roundTrip(QStringLiteral("B"), VNull()), QVariant(false));
    // True in a number column is the runtime's -1.
    EXPECT_EQ(roundTrip(QStringLiteral("ID"), true), QVariant(-1));
}

TEST_P(RecordsetWriteTest, NumbersIntoTextColumnsUseTheUsersNotation) {
    EXPECT_EQ(roundTrip(QStringLiteral("T"), 12.5), QVariant(dec(QStringLiteral("12,5"))));
    EXPECT_EQ(roundTrip(QStringLiteral("T"), 7), QVariant(QStringLiteral("7")));
}

TEST_P(RecordsetWriteTest, AVariantColumnKeepsWhatItIsGiven) {
    EXPECT_EQ(roundTrip(QStringLiteral("V"), 3), QVariant(3));
    EXPECT_EQ(roundTrip(QStringLiteral("V"), 0.5), QVariant(0.5));
    EXPECT_EQ(roundTrip(QStringLiteral("V"), QStringLiteral("a'b")),
              QVariant(QStringLiteral("a'b")));
}
