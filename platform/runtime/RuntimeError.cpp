#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/System.h"

#include <QLocale>

RuntimeError::RuntimeError(int number, const QString& description)
    : std::runtime_error(description.toStdString()), m_number(number), m_description(description)
{
}

namespace {
bool german() { return GermanTexts(); }
RuntimeError standard(int number, const char* de, const char* en)
{
    return RuntimeError(number, german() ? QString::fromUtf8(de) : QString::fromUtf8(en));
}
}  // namespace

RuntimeError RuntimeError::InvalidProcedureCall()
{
    return standard(5, "Ungültiger Prozeduraufruf oder ungültiges Argument", "Invalid procedure call or argument");
}
RuntimeError RuntimeError::Overflow() { return standard(6, "Überlauf", "Overflow"); }
RuntimeError RuntimeError::SubscriptOutOfRange()
{
    return standard(9, "Index außerhalb des gültigen Bereichs", "Subscript out of range");
}
RuntimeError RuntimeError::DivisionByZero() { return standard(11, "Division durch Null", "Division by zero"); }
RuntimeError RuntimeError::TypeMismatch() { return standard(13, "Typen unverträglich", "Type mismatch"); }
RuntimeError RuntimeError::InputPastEndOfFile()
{
    return standard(62, "Einlesen hinter Dateiende", "Input past end of file");
}
RuntimeError RuntimeError::InvalidUseOfNull()
{
    return standard(94, "Unzulässige Verwendung von Null", "Invalid use of Null");
}
RuntimeError RuntimeError::FromNumber(int number)
{
    switch (number) {
    case 5: return InvalidProcedureCall();
    case 6: return Overflow();
    case 9: return SubscriptOutOfRange();
    case 11: return DivisionByZero();
    case 13: return TypeMismatch();
    case 62: return InputPastEndOfFile();
    case 94: return InvalidUseOfNull();
    default: return RuntimeError(number, german() ? QStringLiteral("Anwendungs- oder objektdefinierter Fehler")
                                                  : QStringLiteral("Application-defined or object-defined error"));
    }
}
