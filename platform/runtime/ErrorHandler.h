#pragma once

// The error handler of a procedure. The procedure runs its statements in
// order through Run; a statement that fails shows the procedure's box
//     prefix & error number & "\r\n" & description
// with the procedure's style and title. OK goes on with the next statement,
// any other answer leaves the procedure: every later Run then does nothing.
// A refusal of the whole command (RuntimeError::Refusal) shows its box with
// OK alone and leaves the procedure. A box held while the statement wrote
// (see WritingBegins) is shown once the statement has returned; when the
// run ends in it, the procedure is left.
//
//     ErrorHandler eh("VB-Error: ", "Datenfehler");       // style 49
//     eh.Run([&] { a(); });
//     if (eh.Run([&] { rs = open(); }))                   // only with rs
//         eh.Run([&] { use(rs); });
//     std::optional<double> x = eh.Value([&] { return f(); });
//     if (x) eh.Run([&] { g(*x); });
//     return !eh.Left();
//
// A statement whose failure leaves a value undefined must not be followed by
// the statements that need it: Run and Value tell whether the statement ran
// to its end, so the caller runs the dependent ones only then.
//
// Failures other than RuntimeError get the runtime's number for their kind:
//   std::bad_alloc 7, std::out_of_range 9, std::overflow_error /
//   std::range_error / std::underflow_error 6, std::invalid_argument /
//   std::domain_error / std::length_error 5; std::filesystem::filesystem_error
//   53 (no such file or directory), 70 (permission denied), 75 (any other);
//   any other exception 51 (internal error), with its own text when it has
//   one.

#include "platform/runtime/RuntimeError.h"

#include <QList>
#include <QString>
#include <exception>
#include <functional>
#include <optional>
#include <type_traits>

class ErrorHandler {
public:
    // The style of the boxes of nearly every procedure: OK and Cancel with
    // the exclamation icon.
    static constexpr int kStyle = 49;
    static inline const QString kLineBreak = QStringLiteral("\r\n");
    // The user interrupted the procedure (cancelled a wait): it is left
    // without a box.
    static constexpr int kUserInterrupt = 18;

    ErrorHandler(const QString& prefix, const QString& title, int style = kStyle);

    // Runs one statement. True when it ran to its end; false when it failed
    // (the box was shown) or the procedure had already been left.
    bool Run(const std::function<void()>& statement);

    // Runs a statement that gives a value: the value, or nothing when it
    // failed or the procedure had been left.
    template <class F>
    auto Value(F&& statement) -> std::optional<std::invoke_result_t<F&>>
    {
        std::optional<std::invoke_result_t<F&>> result;
        Run([&] { result.emplace(statement()); });
        return result;
    }

    // Reports a failure caught by the caller itself, as Run would.
    // Returns true when the procedure goes on (OK).
    bool Report(const RuntimeError& error);

    // The user chose to leave (Cancel), or an error that leaves silently came.
    bool Left() const { return m_left; }
    // Some statement failed since the handler was made.
    bool AnyFailed() const { return m_failures > 0; }
    int Failures() const { return m_failures; }
    // The last failure (Err.Number and Err.Description); 0 and "" before.
    int ErrNumber() const { return m_errNumber; }
    const QString& ErrDescription() const { return m_errDescription; }

    // These error numbers leave the procedure at once without a box.
    void LeaveSilentlyOn(const QList<int>& numbers) { m_silent = numbers; }
    // After the box the procedure is left whatever the answer (for boxes
    // with an OK button only that end the procedure).
    void LeaveAfterEveryBox(bool leave = true) { m_leaveAlways = leave; }

    // The box's text for an error.
    QString Message(const RuntimeError& error) const;

    // The runtime error that a caught exception stands for (see above).
    static RuntimeError Translate(const std::exception& e);

private:
    QString m_prefix;
    QString m_title;
    int m_style;
    bool m_left = false;
    bool m_leaveAlways = false;
    int m_failures = 0;
    int m_errNumber = 0;
    QString m_errDescription;
    QList<int> m_silent;
};

// A runtime error by its number with the runtime's description in the
// user's language, for the numbers the platform raises: those of
// RuntimeError::FromNumber and 5 (invalid procedure call or argument),
// 7 (out of memory), 51 (internal error), 53 (file not found),
// 70 (permission denied), 75 (path/file access error), 76 (path not found).
RuntimeError StandardError(int number);
