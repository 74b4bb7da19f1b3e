#pragma once

// Switches that tests throw in the program's neutral hooks, each put back by
// its test.

#include <functional>

// Every database mark taken from now on is unknown (true), as of a file
// whose pages cannot be read, or read again (false).
void MARKENUNLESBAR(bool unlesbar);

// While it lives, a start calls `halt` where another start may look at its
// locks ("WARTET" where it waits for another start's decision, "HALT" where
// it has taken its locks and not yet decided).
class STARTHALT {
public:
    explicit STARTHALT(std::function<void(const char* stelle)> halt);
    ~STARTHALT();
    STARTHALT(const STARTHALT&) = delete;
    STARTHALT& operator=(const STARTHALT&) = delete;
};

// From now on the process ends at once, as a kill ends it, at the point of a
// Save named `stelle`: "ERSETZEND" (the new project is written, not in place
// yet, the copy not told), "VORGEMERKT" (the copy met the new project, which
// is not in place yet), "ERSETZT" (the new project took the old one's
// place, the copy not told yet) or "IMPROJEKT" (the same, also for a project
// written in place).
void ABSTURZBEI(const char* stelle);
