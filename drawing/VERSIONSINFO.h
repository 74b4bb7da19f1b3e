#pragma once

// The program's version information as the page header and footer carry it:
// the product name (the header's title), the legal copyright (the footer's
// copyright line) and the legal trademarks, which name the program's
// developers (the footer's developer credit).

#include <QString>

namespace VERSIONSINFO {
QString PRODUKTNAME();
QString COPYRIGHT();
QString MARKEN();
} // namespace VERSIONSINFO
