#pragma once

// What the files of the main window share among themselves and nobody else
// needs.

#include <QString>

namespace HAUPTFENSTERINTERN {
// The title of the program's boxes.
inline const QString kTitel = QStringLiteral("VELD");
} // namespace HAUPTFENSTERINTERN
