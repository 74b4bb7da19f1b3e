#pragma once

// While it lives, the machine has no printer installed; the printers the
// tests had before come back when it goes.

#include "platform/controls/PrinterTarget.h"

class KEINDRUCKER {
public:
    KEINDRUCKER() : m_vorher(PrinterTarget::InstalledPrinters()) {
        PrinterTarget::SetInstalledPrinters(QStringList());
    }
    ~KEINDRUCKER() { PrinterTarget::SetInstalledPrinters(m_vorher); }
    KEINDRUCKER(const KEINDRUCKER&) = delete;
    KEINDRUCKER& operator=(const KEINDRUCKER&) = delete;

private:
    QStringList m_vorher;
};
