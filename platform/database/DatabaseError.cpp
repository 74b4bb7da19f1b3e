#include "platform/database/DatabaseError.h"
#include "platform/runtime/System.h"

#include <QLocale>
#include <QVariant>

namespace DatabaseError {
namespace {
bool german() {
    return GermanTexts();
}

WhatStands* g_stand = nullptr;

// A refusal of the database at `path`: what it is, then that nothing was
// changed (`deutsch` and `englisch` end with it), or what stands after the
// steps that the command had done before.
RuntimeError refusal(int number, const QString& path, const char* deutsch, const char* englisch,
                     const char* nichtsGeaendert = "; es wurde nichts geändert.",
                     const char* nothingChanged = "; nothing was changed.") {
    const QString text = QString::fromUtf8(german() ? deutsch : englisch).arg(path);
    const QString stand = g_stand ? g_stand->Text() : QString();
    if (stand.isEmpty())
        return Make(number, text + QString::fromUtf8(german() ? nichtsGeaendert : nothingChanged));
    return Make(number, text + QStringLiteral("; ") + stand + QLatin1Char('.'));
}

QString shown(const QVariant& value) {
    if (value.typeId() == QMetaType::QString)
        return QLatin1Char('\'') + value.toString() + QLatin1Char('\'');
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (value.typeId() == QMetaType::Float) return QString::number(value.toFloat(), 'g', 7);
    if (value.typeId() == QMetaType::Double) return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}
} // namespace

RuntimeError Make(int number, const QString& description) {
    RuntimeError error(number, description);
    // A database that refuses every write ends the procedure that meets it.
    // A damaged file does not: it is mostly another file that a procedure
    // opens and whose failure its box lets the user go past.
    error.SetRefusal(Refuses(number) && number != Damaged);
    return error;
}

RuntimeError NoCurrentRecordError() {
    return Make(
        NoCurrentRecord,
        german()
            ? QStringLiteral(
                  "Entweder BOF oder EOF ist True, oder der aktuelle Datensatz wurde gelöscht. "
                  "Der angeforderte Vorgang erfordert einen aktuellen Datensatz.")
            : QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                             "Requested operation requires a current record."));
}

RuntimeError NotUpdatableError() {
    return Make(NotUpdatable,
                german()
                    ? QStringLiteral("Das aktuelle Recordset unterstützt keine Aktualisierung.")
                    : QStringLiteral("Current Recordset does not support updating."));
}

RuntimeError ItemNotFoundError(const QString& item) {
    return Make(
        ItemNotFound,
        german()
            ? QStringLiteral("Das Objekt '%1' wurde in der Auflistung nicht gefunden.").arg(item)
            : QStringLiteral("Item '%1' cannot be found in the collection.").arg(item));
}

RuntimeError ObjectClosedError() {
    return Make(ObjectClosed,
                german()
                    ? QStringLiteral("Der Vorgang ist für ein geschlossenes Objekt nicht zulässig.")
                    : QStringLiteral("Operation is not allowed when the object is closed."));
}

RuntimeError NotAllowedError(const QString& what) {
    return Make(
        NotAllowed,
        german()
            ? QStringLiteral("Der Vorgang ist in diesem Zusammenhang nicht zulässig: %1").arg(what)
            : QStringLiteral("Operation is not allowed in this context: %1").arg(what));
}

RuntimeError CantConvertError(const QVariant& value, const QString& column) {
    return Make(CantConvert,
                german() ? QStringLiteral("Der Wert %1 passt nicht zum Datentyp der Spalte %2.")
                               .arg(shown(value), column)
                         : QStringLiteral("The value %1 does not match the data type of column %2.")
                               .arg(shown(value), column));
}

RuntimeError DataOverflowError(const QVariant& value, const QString& column) {
    return Make(DataOverflow,
                german() ? QStringLiteral("Der Wert %1 ist zu groß für die Spalte %2 (Überlauf).")
                               .arg(shown(value), column)
                         : QStringLiteral("The value %1 is too large for column %2 (overflow).")
                               .arg(shown(value), column));
}

RuntimeError FileNotFoundError(const QString& path) {
    return Make(Failure, german() ? QStringLiteral("Die Datei '%1' wurde nicht gefunden.").arg(path)
                                  : QStringLiteral("Could not find file '%1'.").arg(path));
}
RuntimeError LockedError(const QString& path) {
    return refusal(Locked, path,
                   "Die Datenbank %1 ist gerade von einem anderen Lauf "
                   "oder Programm gesperrt",
                   "The database %1 is locked by another run or program "
                   "right now");
}

RuntimeError DamagedError(const QString& path, const QString& detail) {
    const QString text = german() ? QStringLiteral("Die Datenbank %1 ist beschädigt").arg(path)
                                  : QStringLiteral("The database %1 is damaged").arg(path);
    return Make(Damaged, detail.isEmpty()
                             ? text + QLatin1Char('.')
                             : text + QStringLiteral(" (") + detail + QStringLiteral(")."));
}

RuntimeError ReadOnlyError(const QString& path) {
    return refusal(ReadOnly, path, "Die Datenbank %1 oder ihr Ordner ist schreibgeschützt",
                   "The database %1 or its folder is read-only");
}

RuntimeError DiskFullError(const QString& path) {
    return refusal(DiskFull, path, "Auf dem Datenträger der Datenbank %1 ist kein Platz mehr",
                   "The disk of the database %1 is full");
}

RuntimeError IoFailureError(const QString& path) {
    return refusal(IoFailure, path,
                   "Die Datenbank %1 kann nicht gelesen oder geschrieben "
                   "werden (Fehler des Datenträgers)",
                   "The database %1 cannot be read or written (a disk "
                   "error)");
}

RuntimeError ReplacedError(const QString& path) {
    return refusal(Replaced, path,
                   "Die Datenbank %1 wurde durch eine andere Datei ersetzt oder entfernt, "
                   "seit sie geöffnet wurde",
                   "The database %1 was replaced by another file or removed since it was "
                   "opened");
}

RuntimeError CancelledError() {
    return Make(Cancelled, german() ? QStringLiteral("Unterbrechung durch den Benutzer")
                                    : QStringLiteral("User interrupt occurred"));
}

RuntimeError CancelledError(const QString& path) {
    return refusal(Cancelled, path,
                   "Die Datenbank %1 ist gerade von einem anderen Lauf oder "
                   "Programm gesperrt; das Warten darauf wurde abgebrochen",
                   "The database %1 is locked by another run or program "
                   "right now; the wait for it was cancelled",
                   ", es wurde nichts geändert.", " and nothing was changed.");
}

WhatStands::WhatStands() : m_outer(g_stand) {
    g_stand = this;
}

WhatStands::WhatStands(const QString& deutsch, const QString& englisch) : WhatStands() {
    Set(deutsch, englisch);
}

WhatStands::~WhatStands() {
    g_stand = m_outer;
}

void WhatStands::Set(const QString& deutsch, const QString& englisch) {
    m_deutsch = deutsch;
    m_englisch = englisch;
}

QString WhatStands::Text() const {
    return german() ? m_deutsch : m_englisch;
}

RuntimeError ExistsError(const QString& path) {
    return Make(Failure, german()
                             ? QStringLiteral("Die Datenbank %1 ist schon vorhanden.").arg(path)
                             : QStringLiteral("The database %1 exists already.").arg(path));
}

bool Refuses(int number) {
    switch (number) {
    case Locked:
    case Damaged:
    case ReadOnly:
    case DiskFull:
    case IoFailure:
    case Replaced:
    case NotKept:
    case Cancelled:
        return true;
    default:
        return false;
    }
}
} // namespace DatabaseError
