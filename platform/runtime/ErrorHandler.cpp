#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/System.h"

#include "platform/runtime/MsgBox.h"

#include <QLocale>
#include <filesystem>
#include <new>
#include <optional>
#include <stdexcept>
#include <system_error>

namespace {
RuntimeError described(int number, const char* de, const char* en)
{
    const bool german = GermanTexts();
    return RuntimeError(number, QString::fromUtf8(german ? de : en));
}
}  // namespace

RuntimeError StandardError(int number)
{
    switch (number) {
    case 5:
        return described(5, "Ungültiger Prozeduraufruf oder ungültiges Argument",
                         "Invalid procedure call or argument");
    case 7: return described(7, "Nicht genügend Speicher", "Out of memory");
    case 51: return described(51, "Interner Fehler", "Internal error");
    case 53: return described(53, "Datei nicht gefunden", "File not found");
    case 70: return described(70, "Zugriff verweigert", "Permission denied");
    case 75: return described(75, "Fehler beim Zugriff auf Pfad/Datei", "Path/File access error");
    case 76: return described(76, "Pfad nicht gefunden", "Path not found");
    default: return RuntimeError::FromNumber(number);
    }
}

ErrorHandler::ErrorHandler(const QString& prefix, const QString& title, int style)
    : m_prefix(prefix), m_title(title), m_style(style)
{
}

bool ErrorHandler::Run(const std::function<void()>& statement)
{
    if (m_left) return false;
    std::optional<RuntimeError> failure;
    {
        // A box held while the statement wrote waits for its return.
        const HeldBoxPlace place;
        try {
            statement();
        } catch (const RuntimeError& e) {
            failure = e;
        } catch (const std::exception& e) {
            failure = Translate(e);
        } catch (...) {
            failure = StandardError(51);
        }
    }
    // Shown here, after the commit has returned: when the run ended in it,
    // the procedure is left and nothing follows.
    if (ShowHeldBox() == 0) {
        m_left = true;
        return false;
    }
    if (!failure) return true;
    Report(*failure);
    return false;
}

bool ErrorHandler::Report(const RuntimeError& error)
{
    if (m_left) return false;
    ++m_failures;
    m_errNumber = error.Number();
    m_errDescription = error.Description();
    // A wait that the user cancelled (18) ends the procedure without a word:
    // the user knows why it stopped.
    if (error.Number() == kUserInterrupt || m_silent.contains(error.Number())) {
        m_left = true;
        return false;
    }
    // A refusal of the whole command ends the procedure after its box: every
    // later statement would be refused as well, and one box says why. Its
    // box offers OK alone, since there is nothing to go on with.
    if (error.Refusal()) {
        MsgBox(Message(error), vbOKOnly + (m_style & 0x70), m_title);
        m_left = true;
        return false;
    }
    const int answer = MsgBox(Message(error), m_style, m_title);
    if (answer != vbOK || m_leaveAlways) m_left = true;
    return !m_left;
}

QString ErrorHandler::Message(const RuntimeError& error) const
{
    return m_prefix + QString::number(error.Number()) + kLineBreak + error.Description();
}

RuntimeError ErrorHandler::Translate(const std::exception& e)
{
    if (auto* re = dynamic_cast<const RuntimeError*>(&e)) return *re;
    if (dynamic_cast<const std::bad_alloc*>(&e)) return StandardError(7);
    if (dynamic_cast<const std::out_of_range*>(&e)) return StandardError(9);
    if (dynamic_cast<const std::overflow_error*>(&e) || dynamic_cast<const std::range_error*>(&e) ||
        dynamic_cast<const std::underflow_error*>(&e))
        return StandardError(6);
    if (auto* fe = dynamic_cast<const std::filesystem::filesystem_error*>(&e)) {
        const std::error_code code = fe->code();
        if (code == std::errc::no_such_file_or_directory) return StandardError(53);
        if (code == std::errc::permission_denied || code == std::errc::operation_not_permitted)
            return StandardError(70);
        return StandardError(75);
    }
    if (dynamic_cast<const std::invalid_argument*>(&e) ||
        dynamic_cast<const std::domain_error*>(&e) || dynamic_cast<const std::length_error*>(&e))
        return StandardError(5);
    const QString text = QString::fromLocal8Bit(e.what()).trimmed();
    if (text.isEmpty() || text == QLatin1String("std::exception")) return StandardError(51);
    return RuntimeError(51, text);
}
