#pragma once

// The number of file descriptors the test process holds open, to check that
// a reader closes its file on every way out.

#include <filesystem>

inline int OpenDescriptors() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}
