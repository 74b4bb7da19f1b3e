// Pen and font of the table's output object, the title and the footnote,
// and the curve symbols of the "SYMBOL" columns.

#include "drawing/EINSTELLUNGEN.h"
#include "drawing/PUNKTSYMBOL.h"
#include "drawing/TEXTMALER.h"
#include "drawing/clsTABELLE.h"
#include "platform/controls/OutputObject.h"
#include "platform/runtime/Variant.h"

void clsTABELLE::LINIENEINSTELLUNGEN(int16_t LINIENART, float& LINIENBREITE, int32_t FARBE) {
    STIFTEINSTELLEN(m_EOBJEKT, m_pixelX, LINIENART, LINIENBREITE, FARBE, "VB-Error ",
                    "Linieneinstellungen");
}

void clsTABELLE::LINIENEINSTELLUNGEN(int16_t LINIENART, float&& LINIENBREITE, int32_t FARBE) {
    float breite = LINIENBREITE;
    LINIENEINSTELLUNGEN(LINIENART, breite, FARBE);
}

void clsTABELLE::SCHRIFTEINSTELLUNGEN(const QString& SCHRIFTART, int16_t SCHRIFTGROESSE, bool FETT,
                                      bool UNTERSTRICHEN, bool KURSIV, int32_t FARBE) {
    SCHRIFTEINSTELLEN(m_EOBJEKT, m_SCHRIFTSATZ, SCHRIFTART, SCHRIFTGROESSE, FETT, UNTERSTRICHEN,
                      KURSIV, FARBE, "VB-Error:", "Schrifteinstellungen");
}

void clsTABELLE::TEXT(float X, float Y, const QVariant& TXT, int16_t horizontal, int16_t vertikal) {
    TEXTMALER::TEXT(m_EOBJEKT, m_SCHRIFTSATZ, TEXTVARIANTE::TABELLE(), X, Y, TXT, horizontal,
                    vertikal);
}

void clsTABELLE::TITEL(const QVariant& TXT) {
    const float X = m_EXDL + m_ERL;
    const float Y = m_EYDO + m_ERO - m_ERZ - 1.5f;
    TEXT(X, Y, TXT, 0, 2);
}

void clsTABELLE::FUSSNOTE(const QVariant& TXT) {
    const float X = m_EXDL + m_ERL + 1.5f;
    const float Y = m_EYDO + m_ERO + m_H0 + m_H1 + m_H2 + m_ERZ + 1.5f;
    TEXT(X, Y, TXT, 0, 0);
}

void clsTABELLE::KURVENSYMBOL(float X, float Y, const QVariant& index) {
    OutputObject& o = Objekt();
    // The symbols have colours of their own, not those of the curves.
    static const int32_t farben[8] = {RGB(0, 0, 255), RGB(0, 255, 0),   RGB(0, 255, 255),
                                      RGB(255, 0, 0), RGB(255, 0, 255), RGB(0, 180, 0),
                                      RGB(0, 0, 180), RGB(0, 0, 0)};
    const double nummer = (IsEmpty(index) || IsNull(index)) ? 0.0 : CDbl(index);
    const int32_t vorher = o.ForeColor();
    // The pen colour comes back even when a shape fails half-way.
    struct Zurueck {
        OutputObject& o;
        int32_t farbe;
        ~Zurueck() { o.SetForeColor(farbe); }
    } zurueck{o, vorher};
    for (int i = 0; i < 8; ++i) {
        if (nummer != i) continue;
        o.SetForeColor(farben[i]);
        if (i < 7)
            PUNKTSYMBOL(o, i, X, Y, 0);
        else
            o.PSet(X, Y);
        break;
    }
}
