// Marked-up and rotated text of the diagram.

#include "drawing/FEHLERBOX.h"
#include "drawing/TEXTMALER.h"
#include "drawing/clsGRAFIK.h"
#include "drawing/clsROTATOR.h"
#include "platform/controls/OutputObject.h"
#include "platform/runtime/Variant.h"

#include <cmath>

void clsGRAFIK::TEXT(float X, float Y, const QString& TEXT, int16_t KO, int16_t AL, int16_t ARX,
                     int16_t ARY) {
    QString text = TEXT;
    this->TEXT(X, Y, text, KO, AL, ARX, ARY);
}

void clsGRAFIK::TEXT(float X, float Y, QString& TEXT, int16_t KO, int16_t AL, int16_t ARX,
                     int16_t ARY) {
    if (TEXT.isEmpty()) return;
    FEHLERBOX fehler("VB-Fehler: ", "Text");

    // Reference point in page millimetres and the range it must lie in.
    float x = 0, y = 0, links = 0, rechts = 0, oben = 0, unten = 0;
    bool gueltig = false;
    if (!fehler.AUSFUEHREN([&] {
            Objekt();
            if (KO == 1) {
                // A layout that SKALEN has reported places no text either.
                if (LAYOUTVERWORFEN()) return;
                float xw = X, yw = Y;
                if (m_ESKTX == 1) LOG10(xw, xw);
                if (m_ESKTY == 1) LOG10(yw, yw);
                KOORDTRANS(xw, yw, x, y); // reports its own failure
                links = m_EXDL + RL - 1;
                rechts = m_EXDL + m_ELX - RR + 1;
                oben = m_EYDO + RO - 1;
                unten = m_EYDO + m_ELY - RU + 1;
                gueltig = std::isfinite(x) && std::isfinite(y);
            } else {
                if (KO == 2) {
                    x = X + XVERSCHIEBUNG + m_EXDL;
                    y = Y + YVERSCHIEBUNG + m_EYDO;
                } else {
                    x = X;
                    y = Y;
                }
                links = m_EXDL - 1;
                rechts = m_EXDL + m_ELX + 1;
                oben = m_EYDO - 1;
                unten = m_EYDO + m_ELY + 1;
                // Never draw at a place that is no number.
                if (!std::isfinite(x) || !std::isfinite(y)) throw RuntimeError::Overflow();
                gueltig = true;
            }
        }))
        return;
    if (!gueltig) return;

    // Measured as the caller wrote it, before the number rewrite.
    const QString kopie = TEXTMALER::MESSKOPIE(TEXT);
    const float a = float(AL) * 3.1415927f / 180.0f;
    const float cosA = float(std::cos(double(a)));
    const float sinA = float(std::sin(double(a)));
    OutputObject& objekt = *m_EOBJEKT;
    fehler.AUSFUEHREN([&] { m_SCHRIFTSATZ.SETZEN(0, objekt.Font()); });
    TEXTMALER::ZAHLUMSCHREIBEN(TEXT);
    float w = 0, h = 0;
    if (!fehler.AUSFUEHREN([&] {
            w = objekt.TextWidth(kopie);
            h = objekt.TextHeight(kopie);
        }))
        return;

    // A text is drawn whole or not at all.
    if (ARX == 0) {
        rechts = rechts - w * cosA;
    } else if (ARX == 1) {
        links = links + w * cosA / 2;
        rechts = rechts - w * cosA / 2;
    } else if (ARX == 2) {
        links = links + w * cosA;
    }
    if (ARY == 0) {
        unten = unten - h * cosA;
    } else if (ARY == 1) {
        oben = oben + h * cosA / 2;
        unten = unten - h * cosA / 2;
    } else if (ARY == 2) {
        oben = oben + h * cosA;
    }
    if (x <= links || x >= rechts || y <= oben || y >= unten) return;

    const float fx = ARX == 1 ? 0.5f : ARX == 2 ? 1.0f : 0.0f;
    const float fy = ARY == 1 ? 0.5f : ARY == 2 ? 1.0f : 0.0f;
    const float x0 = x - fx * w * cosA - fy * h * sinA;
    const float y0 = y + fx * w * sinA - fy * h * cosA;

    const TEXTMALER::DREHTEXTAUFRUF drehtext = [&](const QString& stueck, float px, float py,
                                                   const StdFont& schrift) {
        const int16_t groesse = CInt(double(schrift.Size()));
        if (groesse < 0 || groesse > 255) throw RuntimeError::Overflow();
        DREHTEXT(stueck, AL, px, py, uint8_t(groesse), schrift.Name());
    };
    TEXTMALER::STUECKEZEICHNEN(objekt, m_SCHRIFTSATZ, TEXTVARIANTE::GRAFIK(), TEXT, x0, y0, a,
                               drehtext, fehler);
}

void clsGRAFIK::DREHTEXT(const QString& TEXT, int16_t WINKEL, float X, float Y, uint8_t GROESSE,
                         const QString& SCHRIFTNAME) {
    OutputObject& objekt = Objekt();
    objekt.SetCurrentX(X);
    objekt.SetCurrentY(Y);
    objekt.SetFontName(SCHRIFTNAME);
    objekt.SetFontSize(GROESSE);
    objekt.SetFontTransparent(true);
    clsROTATOR rotator;
    rotator.setDevice(&objekt);
    rotator.setAngle(WINKEL);
    rotator.Label(TEXT);
}
