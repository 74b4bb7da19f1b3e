// Pen and font of the diagram's output object.

#include "drawing/EINSTELLUNGEN.h"
#include "drawing/clsGRAFIK.h"

void clsGRAFIK::LINIENEINSTELLUNGEN(int16_t LINIENART, float& LINIENBREITE, int32_t FARBE) {
    STIFTEINSTELLEN(m_EOBJEKT, m_pixelX, LINIENART, LINIENBREITE, FARBE, "VB-Fehler ",
                    "Linieneinstellungen");
}

void clsGRAFIK::LINIENEINSTELLUNGEN(int16_t LINIENART, float&& LINIENBREITE, int32_t FARBE) {
    float breite = LINIENBREITE;
    LINIENEINSTELLUNGEN(LINIENART, breite, FARBE);
}

void clsGRAFIK::SCHRIFTEINSTELLUNGEN(const QString& SCHRIFTART, int16_t SCHRIFTGROESSE, bool FETT,
                                     bool UNTERSTRICHEN, bool KURSIV, int32_t FARBE) {
    SCHRIFTEINSTELLEN(m_EOBJEKT, m_SCHRIFTSATZ, SCHRIFTART, SCHRIFTGROESSE, FETT, UNTERSTRICHEN,
                      KURSIV, FARBE, "VB-Fehler:", "Schrifteinstellungen");
}
