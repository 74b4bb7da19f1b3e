#pragma once

// The error handler of one call of a drawing routine. The routine runs its
// statements through AUSFUEHREN; the first failure of the call shows the
// routine's box (prefix & error number & line break & description, OK and
// Cancel with the exclamation icon, the routine's title). OK goes on with the
// next statement, Cancel leaves the routine: every later AUSFUEHREN does
// nothing. A routine that draws many points thus shows one box per call, not
// one per point; later failures of the same call skip their statement
// without a box.

#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/RuntimeError.h"

#include <QString>
#include <exception>

class FEHLERBOX {
public:
    // prefix and title as the routine's box shows them.
    FEHLERBOX(const char* praefix, const char* titel) : m_praefix(praefix), m_titel(titel) {}

    // Runs one statement; true when it ran to its end.
    template <class F> bool AUSFUEHREN(F&& anweisung) {
        if (m_verlassen) return false;
        try {
            anweisung();
            return true;
        } catch (const std::exception& e) {
            MELDEN(ErrorHandler::Translate(e));
        } catch (...) {
            MELDEN(StandardError(51));
        }
        return false;
    }

    // Reports a failure as AUSFUEHREN would; true when the routine goes on.
    bool MELDEN(const RuntimeError& fehler);

    bool VERLASSEN() const { return m_verlassen; }
    bool GEMELDET() const { return m_gemeldet; }
    int FEHLERNUMMER() const { return m_nummer; }

private:
    const char* m_praefix;
    const char* m_titel;
    bool m_verlassen = false;
    bool m_gemeldet = false;
    int m_nummer = 0;
};

// The runtime's error 91: a drawing routine called without its output object.
RuntimeError OBJEKTVARIABLEFEHLT();
