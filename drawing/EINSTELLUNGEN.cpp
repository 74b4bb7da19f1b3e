#include "drawing/EINSTELLUNGEN.h"

#include "drawing/FEHLERBOX.h"
#include "drawing/SCHRIFTSATZ.h"
#include "platform/controls/OutputObject.h"
#include "platform/runtime/Variant.h"

#include <cmath>

namespace {
OutputObject& Objekt(OutputObject* objekt) {
    if (!objekt) throw OBJEKTVARIABLEFEHLT();
    return *objekt;
}
} // namespace

void STIFTEINSTELLEN(OutputObject* objekt, float pixelProEinheit, int16_t LINIENART,
                     float& LINIENBREITE, int32_t FARBE, const char* praefix, const char* titel) {
    FEHLERBOX fehler(praefix, titel);
    fehler.AUSFUEHREN([&] {
        if (LINIENBREITE == 0) {
            LINIENBREITE = 1;
        } else {
            LINIENBREITE = LINIENBREITE * pixelProEinheit;
            // The thinnest line a device can draw is one pixel: a width that
            // rounds to nothing would otherwise be refused by the device.
            if (std::isfinite(LINIENBREITE) && Round(double(LINIENBREITE)) < 1.0) LINIENBREITE = 1;
        }
    });
    fehler.AUSFUEHREN([&] { Objekt(objekt).SetDrawStyle(LINIENART); });
    fehler.AUSFUEHREN([&] { Objekt(objekt).SetDrawWidth(LINIENBREITE); });
    fehler.AUSFUEHREN([&] { Objekt(objekt).SetDrawMode(13); });
    fehler.AUSFUEHREN([&] { Objekt(objekt).SetForeColor(FARBE); });
}

void SCHRIFTEINSTELLEN(OutputObject* objekt, SCHRIFTSATZ& satz, const QString& SCHRIFTART,
                       int16_t SCHRIFTGROESSE, bool FETT, bool UNTERSTRICHEN, bool KURSIV,
                       int32_t FARBE, const char* praefix, const char* titel) {
    FEHLERBOX fehler(praefix, titel);
    fehler.AUSFUEHREN([&] {
        Objekt(objekt).SetFontName(SCHRIFTART.isEmpty() ? QStringLiteral("Arial") : SCHRIFTART);
    });
    fehler.AUSFUEHREN(
        [&] { Objekt(objekt).SetFontSize(SCHRIFTGROESSE > 0 ? float(SCHRIFTGROESSE) : 8.0f); });
    fehler.AUSFUEHREN([&] { Objekt(objekt).SetFontBold(FETT); });
    fehler.AUSFUEHREN([&] { Objekt(objekt).SetFontItalic(KURSIV); });
    fehler.AUSFUEHREN([&] { Objekt(objekt).SetFontUnderline(UNTERSTRICHEN); });
    fehler.AUSFUEHREN([&] { Objekt(objekt).SetForeColor(FARBE > 0 ? FARBE : 0); });
    fehler.AUSFUEHREN([&] { satz.AUFBAUEN(Objekt(objekt).Font()); });
}
