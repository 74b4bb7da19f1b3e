#pragma once

// What the source files of clsDATEN share: the parameter lists of the
// members' definitions, the texts of values in messages and statements, and
// the pace at which long writes let windows repaint.

#include "data/clsDATEN.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/System.h"

#include <QElapsedTimer>
#include <QString>
#include <QVariant>
#include <exception>
#include <optional>

// The extra keys in a definition (the defaults stay in the declaration).
#define CLSDATEN_SPI_DEF                                                                           \
    const QString &SPI1, const SCHLUESSELWERT &SPI1W, const QString &SPI2,                         \
        const SCHLUESSELWERT &SPI2W, const QString &SPI3, const SCHLUESSELWERT &SPI3W,             \
        const QString &SPI4, const SCHLUESSELWERT &SPI4W
#define CLSDATEN_SPI3_DEF                                                                          \
    const QString &SPI1, const SCHLUESSELWERT &SPI1W, const QString &SPI2,                         \
        const SCHLUESSELWERT &SPI2W, const QString &SPI3, const SCHLUESSELWERT &SPI3W,             \
        const QString &SPI4
// The keys of a call, handed on as received.
#define CLSDATEN_SPI_ARG                                                                           \
    SCHLUESSEL {                                                                                   \
        {SPI1, SPI2, SPI3, SPI4}, {                                                                \
            SPI1W, SPI2W, SPI3W, SPI4W                                                             \
        }                                                                                          \
    }
#define CLSDATEN_SPI_WEITER SPI1, SPI1W, SPI2, SPI2W, SPI3, SPI3W, SPI4, SPI4W
#define CLSDATEN_SPI3_WEITER SPI1, SPI1W, SPI2, SPI2W, SPI3, SPI3W, SPI4

namespace clsdaten {

inline const QString kTitel = QStringLiteral("Datenfehler");
inline const QString kZeilenumbruch = QStringLiteral("\r\n");
inline const QString kVbError = QStringLiteral("VB-Error: ");

// A value as a message shows it: Empty and Null as nothing, every other
// value as the runtime writes it in the user's locale.
QString WERTTEXT(const QVariant& wert);

// A value as it goes into a statement: a text quoted with its apostrophes
// doubled, a number in the notation SQL reads, a date as its text. A key
// without a value (Empty, Null) cannot select anything: error 94.
QString LITERAL(const QVariant& wert);

// An empty text is written as Null.
QVariant LEERALSNULL(const QVariant& wert);

// The error of a property value that a control refuses (380).
RuntimeError EIGENSCHAFTSFEHLER();

// Another program holding the database past the time-out, or a working copy
// that refuses every write, is no fault of the value: when the failure is
// that, its own message is shown (the class's title, OK only) and the result
// is true.
bool GESPERRT(const std::exception& fehler);
bool GESPERRT(const std::exception_ptr& fehler);

// Lets windows repaint while a long series is written or read, at most every
// 50 ms rather than after every row, with the user's input held back so that
// nothing can close or change under a half-done transfer.
class TAKT {
public:
    TAKT() { m_uhr.start(); }
    void SCHRITT() {
        if (m_uhr.elapsed() < 50) return;
        if (!m_halt) m_halt.emplace();
        DoEvents();
        m_uhr.restart();
    }

private:
    QElapsedTimer m_uhr;
    std::optional<HoldUserInput> m_halt;
};

} // namespace clsdaten
