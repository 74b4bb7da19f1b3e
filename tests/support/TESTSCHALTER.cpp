#include "support/TESTSCHALTER.h"

#include "arbeitskopie/ARBEITSKOPIE.h"
#include "platform/database/DatabaseFile.h"

#include <utility>

void MARKENUNLESBAR(bool unlesbar) {
    DatabaseMark::SetReadable(unlesbar ? +[] { return false; } : nullptr);
}

STARTHALT::STARTHALT(std::function<void(const char* stelle)> halt) {
    ARBEITSKOPIE::HALTEPUNKT = std::move(halt);
}

STARTHALT::~STARTHALT() {
    ARBEITSKOPIE::HALTEPUNKT = nullptr;
}
