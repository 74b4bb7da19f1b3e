#pragma once

// While it lives, the machine has no printer installed; the printers the
// tests had before come back when it goes.

#include "platform/controls/PrinterTarget.h"

struct KEINDRUCKER {
    const QStringList vorher = PrinterTarget::InstalledPrinters();
    KEINDRUCKER() { PrinterTarget::SetInstalledPrinters(QStringList()); }
    ~KEINDRUCKER() { PrinterTarget::SetInstalledPrinters(vorher); }
};
