#include "drawing/VERSIONSINFO.h"

namespace VERSIONSINFO {

QString PRODUKTNAME() {
    return QStringLiteral("Varmikon");
}

QString COPYRIGHT() {
    return QString::fromUtf8("© 2002 Bodenlabor-Software Hadmersfeld. Alle Rechte vorbehalten.");
}

QString MARKEN() {
    return QString::fromUtf8("H. Almsfeld, B. Quendt, M. Sörby, J. Ilievski-Roth");
}

} // namespace VERSIONSINFO
