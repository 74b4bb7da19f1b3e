#include "support/TESTSCHALTER.h"

#include "arbeitskopie/ARBEITSKOPIE.h"
#include "platform/database/DatabaseFile.h"

#include <cstring>
#include <string>
#include <unistd.h>
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

void ABSTURZBEI(const char* stelle) {
    if (std::strcmp(stelle, "ERSETZT") == 0) {
        SetReplacedHook([](const QString&) { ::_exit(9); });
        return;
    }
    static std::string bei;
    bei = stelle;
    ARBEITSKOPIE::HALTEPUNKT = [](const char* hier) {
        if (bei == hier) ::_exit(9);
    };
}
