#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "support/ScriptedDialogs.h"

#include <QLocale>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {
void divisionByZero() { throw RuntimeError::DivisionByZero(); }
}  // namespace

TEST(ErrorHandler, OkGoesOnWithTheNextStatement)
{
    ScriptedDialogs dialogs;
    dialogs.expect(vbOK);
    QStringList done;
    ErrorHandler eh("VB-Error: ", "VELD");
    EXPECT_TRUE(eh.Run([&] { done << "1"; }));
    EXPECT_FALSE(eh.Run([&] {
        divisionByZero();
        done << "2";
    }));
    EXPECT_TRUE(eh.Run([&] { done << "3"; }));
    EXPECT_EQ(done, (QStringList{"1", "3"}));
    EXPECT_FALSE(eh.Left());
    EXPECT_TRUE(eh.AnyFailed());
    EXPECT_EQ(eh.ErrNumber(), 11);
}

TEST(ErrorHandler, CancelLeavesTheProcedure)
{
    ScriptedDialogs dialogs;
    dialogs.expect(vbCancel);
    QStringList done;
    ErrorHandler eh("VB-Error: ", "VELD");
    eh.Run([&] { throw RuntimeError::Overflow(); });
    EXPECT_TRUE(eh.Left());
    EXPECT_FALSE(eh.Run([&] { done << "after"; }));
    EXPECT_FALSE(eh.Value([&] { return 1; }).has_value());
    EXPECT_TRUE(done.isEmpty());
    EXPECT_EQ(dialogs.boxes().size(), 1);  // no second box after leaving
}

TEST(ErrorHandler, TheProcedureOwnPrefixStyleAndTitle)
{
    ScriptedDialogs dialogs;
    dialogs.expect(vbOK);
    dialogs.expect(vbOK);
    dialogs.expect(vbOK);
    ErrorHandler(" VB-Fehler:", "Auswerten/Neuberechnen").Run([] { divisionByZero(); });
    ErrorHandler("VB-Fehler: \r\nFehlerNr. ", "LINIE", 49).Run([] {
        throw RuntimeError::Overflow();
    });
    ErrorHandler("Werte der Spalte MS der Tabelle E2 können nicht aus der Spalte MS "
                 "eingelesen werden!\r\nVB-Error: ",
                 "Datenfehler")
        .Run([] { throw RuntimeError::TypeMismatch(); });

    ASSERT_EQ(dialogs.boxes().size(), 3);
    EXPECT_EQ(dialogs.boxes().at(0).prompt, " VB-Fehler:11\r\nDivision by zero");
    EXPECT_EQ(dialogs.boxes().at(0).style, 49);
    EXPECT_EQ(dialogs.boxes().at(0).title, "Auswerten/Neuberechnen");
    EXPECT_EQ(dialogs.boxes().at(1).prompt, "VB-Fehler: \r\nFehlerNr. 6\r\nOverflow");
    EXPECT_EQ(dialogs.boxes().at(1).title, "LINIE");
    EXPECT_EQ(dialogs.boxes().at(2).prompt,
              "Werte der Spalte MS der Tabelle E2 können nicht aus der Spalte MS eingelesen "
              "werden!\r\nVB-Error: 13\r\nType mismatch");
}

TEST(ErrorHandler, GermanDescriptionsUnderAGermanLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ScriptedDialogs dialogs;
    dialogs.expect(vbOK);
    ErrorHandler("VB-Error: ", "Bild 11").Run([] { divisionByZero(); });
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(dialogs.boxes().at(0).prompt, "VB-Error: 11\r\nDivision durch Null");
}

TEST(ErrorHandler, DependentStatementsAreSkippedAfterAFailure)
{
    ScriptedDialogs dialogs;
    dialogs.expect(vbOK);
    dialogs.expect(vbOK);
    ErrorHandler eh("VB-Error: ", "Test");
    QStringList done;

    // A value that could not be computed is never used...
    std::optional<double> x = eh.Value([]() -> double { throw RuntimeError::Overflow(); });
    EXPECT_FALSE(x.has_value());
    if (x) eh.Run([&] { done << "uses x"; });

    // ...a statement that could not open something is not followed by the
    // statements that use it, while independent ones still run.
    int handle = 0;
    if (eh.Run([&] { throw RuntimeError::SubscriptOutOfRange(); })) {
        eh.Run([&] { done << QString::number(handle); });
    }
    eh.Run([&] { done << "independent"; });

    std::optional<int> y = eh.Value([] { return 42; });
    ASSERT_TRUE(y.has_value());
    EXPECT_EQ(*y, 42);
    EXPECT_EQ(done, QStringList{"independent"});
    EXPECT_EQ(eh.Failures(), 2);
}

TEST(ErrorHandler, OtherExceptionsGetTheRuntimeNumbers)
{
    ScriptedDialogs dialogs;
    for (int i = 0; i < 6; ++i) dialogs.expect(vbOK);
    ErrorHandler eh("VB-Error: ", "T");
    eh.Run([] { throw std::out_of_range("vector::at"); });
    EXPECT_EQ(eh.ErrNumber(), 9);
    eh.Run([] { throw std::bad_alloc(); });
    EXPECT_EQ(eh.ErrNumber(), 7);
    eh.Run([] { (void)std::filesystem::file_size("/nonexistent/veld/file.mdb"); });
    EXPECT_EQ(eh.ErrNumber(), 53);
    eh.Run([] { throw std::overflow_error("too big"); });
    EXPECT_EQ(eh.ErrNumber(), 6);
    eh.Run([] { throw std::runtime_error("Datenbank gesperrt"); });
    EXPECT_EQ(eh.ErrNumber(), 51);
    EXPECT_EQ(eh.ErrDescription(), "Datenbank gesperrt");
    eh.Run([] { throw 17; });
    EXPECT_EQ(eh.ErrNumber(), 51);
    EXPECT_EQ(dialogs.boxes().at(0).prompt, "VB-Error: 9\r\nSubscript out of range");
    EXPECT_FALSE(eh.Left());
}

TEST(ErrorHandler, SilentErrorsLeaveWithoutABox)
{
    ScriptedDialogs dialogs;  // no box expected
    ErrorHandler eh("VB-Error: ", "Drucken");
    eh.LeaveSilentlyOn({380, 32755});
    bool after = false;
    eh.Run([] { throw RuntimeError(32755, "Abbrechen gewählt"); });
    eh.Run([&] { after = true; });
    EXPECT_TRUE(eh.Left());
    EXPECT_FALSE(after);
    EXPECT_EQ(eh.ErrNumber(), 32755);
    EXPECT_TRUE(dialogs.boxes().isEmpty());
}

TEST(ErrorHandler, OkOnlyBoxThatEndsTheProcedure)
{
    ScriptedDialogs dialogs;
    dialogs.expect(vbOK);
    ErrorHandler eh("VB-Error: ", "VELD", 48);
    eh.LeaveAfterEveryBox();
    bool after = false;
    eh.Run([] { throw RuntimeError::InvalidUseOfNull(); });
    eh.Run([&] { after = true; });
    EXPECT_TRUE(eh.Left());
    EXPECT_FALSE(after);
    EXPECT_EQ(dialogs.boxes().at(0).style, 48);
}

TEST(ErrorHandler, ProceduresWithoutHandlerReachTheCaller)
{
    // The inner procedure has a handler of its own and is left by Cancel:
    // the caller goes on. A procedure without one fails into the caller's box.
    ScriptedDialogs dialogs;
    dialogs.expect(vbCancel, "VB-Error: 11");
    dialogs.expect(vbOK, "VB-Fehler: 94");
    auto inner = [] {
        ErrorHandler eh("VB-Error: ", "innen");
        eh.Run([] { divisionByZero(); });
        return !eh.Left();
    };
    auto withoutHandler = [] { throw RuntimeError::InvalidUseOfNull(); };

    ErrorHandler outer("VB-Fehler: ", "außen");
    bool innerResult = true;
    EXPECT_TRUE(outer.Run([&] { innerResult = inner(); }));
    EXPECT_FALSE(innerResult);
    EXPECT_FALSE(outer.Run(withoutHandler));
    EXPECT_FALSE(outer.Left());
    EXPECT_EQ(dialogs.boxes().at(1).title, "außen");
}

TEST(ErrorHandler, StandardErrorsCarryTheirDescriptions)
{
    EXPECT_EQ(StandardError(5).Description(), "Invalid procedure call or argument");
    EXPECT_EQ(StandardError(53).Description(), "File not found");
    EXPECT_EQ(StandardError(11).Description(), "Division by zero");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(StandardError(5).Description(),
              "Ungültiger Prozeduraufruf oder ungültiges Argument");
    EXPECT_EQ(StandardError(76).Number(), 76);
    QLocale::setDefault(QLocale::c());
}
