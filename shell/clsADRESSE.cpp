#include "shell/clsADRESSE.h"

#include "data/HAUPTFENSTER.h"

// The publisher is a small software house of a soil-testing foundation; its
// postal code, telephone numbers and internet domain are of the kinds that
// are never given out, so the block names nobody real.

namespace {
QString nachSprache(const char* englisch, const char* deutsch) {
    switch (frmMAIN().SPRACHE()) {
    case 1:
        return QString::fromUtf8(englisch);
    case 3:
        return QString::fromUtf8(deutsch);
    default:
        return QString();
    }
}
} // namespace

QString clsADRESSE::FIRMA1() const {
    return nachSprache("Hadmersfeld Soil Laboratory Software", "Bodenlabor-Software Hadmersfeld");
}

QString clsADRESSE::FIRMA2() const {
    return nachSprache("at the Foundation for Soil Testing Hadmersfeld",
                       "bei der Stiftung Bodenprüfung Hadmersfeld");
}

QString clsADRESSE::PLZ() const {
    return nachSprache("D-00000 Hadmersfeld (Germany)", "D-00000 Hadmersfeld");
}

QString clsADRESSE::STR() const {
    return QStringLiteral("Am Probenhof 12");
}

QString clsADRESSE::VORSITZ() const {
    return QStringLiteral("Prof. Dr.-Ing. Almut Verhoeven-Kast");
}

QString clsADRESSE::TEL() const {
    return QStringLiteral("+49 30 23125 471");
}

QString clsADRESSE::FAX() const {
    return QStringLiteral("+49 30 23125 472");
}

QString clsADRESSE::EMAIL() const {
    return QStringLiteral("info@bodenlabor-hadmersfeld.example");
}

QString clsADRESSE::URL() const {
    return QStringLiteral("www.bodenlabor-hadmersfeld.example");
}
