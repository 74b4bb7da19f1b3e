#pragma once

#include <QString>
#include <stdexcept>

// A failure of the runtime or of the database, carrying the runtime's error
// number and its description, as the error boxes show them.
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, const QString& description);

    int Number() const { return m_number; }
    const QString& Description() const { return m_description; }

    // A refusal of the whole command rather than a fault of one statement
    // (the database takes no write at all): the procedure's error handler
    // tells it once and ends the procedure, whatever the answer.
    bool Refusal() const { return m_refusal; }
    void SetRefusal(bool refusal = true) { m_refusal = refusal; }

    // The runtime's standard errors, with their descriptions in the user's
    // language (German for a German locale, English otherwise).
    static RuntimeError InvalidProcedureCall(); // 5
    static RuntimeError Overflow();             // 6
    static RuntimeError SubscriptOutOfRange();  // 9
    static RuntimeError DivisionByZero();       // 11
    static RuntimeError TypeMismatch();         // 13
    static RuntimeError InputPastEndOfFile();   // 62
    static RuntimeError InvalidUseOfNull();     // 94
    static RuntimeError FromNumber(int number); // any of the above by number

private:
    int m_number;
    QString m_description;
    bool m_refusal = false;
};
