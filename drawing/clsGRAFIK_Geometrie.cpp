// Coordinate transformation, scale factors, logarithm, circle crossings,
// direction angle and the arrow head of the diagram.

#include "drawing/FEHLERBOX.h"
#include "drawing/clsGRAFIK.h"
#include "platform/runtime/Variant.h"

#include <cmath>
#include <limits>

namespace {
constexpr float kPi = 3.1415927f;

// basis + zaehler / faktor as the runtime computes it into a Single: a
// failure leaves the non-finite value in the result and raises division by
// zero or overflow.
void Abbilden(double basis, double zaehler, double faktor, float& ziel) {
    if (faktor == 0) {
        ziel = zaehler == 0 ? std::numeric_limits<float>::quiet_NaN()
                            : (zaehler > 0 ? std::numeric_limits<float>::infinity()
                                           : -std::numeric_limits<float>::infinity());
        throw zaehler == 0 ? RuntimeError::Overflow() : RuntimeError::DivisionByZero();
    }
    ziel = float(basis + zaehler / faktor);
    if (!std::isfinite(ziel)) throw RuntimeError::Overflow();
}

void Zuweisen(double wert, float& ziel) {
    ziel = float(wert);
    if (!std::isfinite(ziel)) throw RuntimeError::Overflow();
}
} // namespace

void clsGRAFIK::KOORDTRANSROH(float X, float Y, float& XP, float& YP) {
    const double xBasis = double(m_EXDL) + XVERSCHIEBUNG + RL;
    float xp = 0, yp = 0;
    if (OX == 1)
        Abbilden(xBasis, double(X) - XMIN, MX, xp);
    else
        Abbilden(xBasis, double(XMAX) - X, MX, xp);
    const double yBasis = double(m_EYDO) + YVERSCHIEBUNG + RO;
    if (OY == 1)
        Abbilden(yBasis, double(YMAX) - Y, MY, yp);
    else
        Abbilden(yBasis, double(Y) - YMIN, MY, yp);
    XP = xp;
    YP = yp;
}

void clsGRAFIK::KOORDTRANS(float X, float Y, float& XP, float& YP) {
    // SKALEN has reported this layout already: no place, and no box for
    // every point of the figure.
    if (LAYOUTVERWORFEN()) {
        XP = std::numeric_limits<float>::quiet_NaN();
        YP = XP;
        return;
    }
    FEHLERBOX fehler("VB-Fehler: ", "Koordinatentransformation");
    const double xBasis = double(m_EXDL) + XVERSCHIEBUNG + RL;
    const double yBasis = double(m_EYDO) + YVERSCHIEBUNG + RO;
    fehler.AUSFUEHREN([&] {
        if (OX == 1)
            Abbilden(xBasis, double(X) - XMIN, MX, XP);
        else
            Abbilden(xBasis, double(XMAX) - X, MX, XP);
    });
    fehler.AUSFUEHREN([&] {
        if (OY == 1)
            Abbilden(yBasis, double(YMAX) - Y, MY, YP);
        else
            Abbilden(yBasis, double(Y) - YMIN, MY, YP);
    });
}

void clsGRAFIK::KOORDTRANSINV(float XP, float YP, float& X, float& Y, int16_t SKTX, int16_t SKTY) {
    FEHLERBOX fehler("VB-Fehler: ", "Inverse Koordinatentransformation");
    const double xBasis = double(m_EXDL) + XVERSCHIEBUNG + RL;
    const double yBasis = double(m_EYDO) + YVERSCHIEBUNG + RO;
    fehler.AUSFUEHREN([&] {
        if (OX == 1)
            Zuweisen((XP - xBasis) * MX + XMIN, X);
        else
            Zuweisen((xBasis - XP) * MX + XMAX, X);
    });
    fehler.AUSFUEHREN([&] {
        if (OY == 1)
            Zuweisen((yBasis - YP) * MY + YMAX, Y);
        else
            Zuweisen((YP - yBasis) * MY + YMIN, Y);
    });
    if (SKTX == 1) fehler.AUSFUEHREN([&] { Zuweisen(std::pow(10.0, double(X)), X); });
    if (SKTY == 1) fehler.AUSFUEHREN([&] { Zuweisen(std::pow(10.0, double(Y)), Y); });
}

void clsGRAFIK::LOG10(float WERT, float& ERGEBNIS) {
    ERGEBNIS = WERT > 0 ? float(std::log(double(WERT)) / std::log(10.0)) : 0.0f;
}

float clsGRAFIK::LOG10(float WERT) {
    float ergebnis = 0;
    LOG10(WERT, ergebnis);
    return ergebnis;
}

void clsGRAFIK::MASSSTAB(float XMIN, float XMAX, float YMIN, float YMAX, float ELX, float ELY,
                         float RL, float RR, float RU, float RO, float MYMX, float& MX, float& MY) {
    if (MX == 0) MX = CheckedSingle(DivDouble(double(XMAX) - XMIN, double(ELX) - RL - RR));
    if (MY == 0) MY = CheckedSingle(DivDouble(double(YMAX) - YMIN, double(ELY) - RO - RU));
    if (MYMX > 0) {
        if (MX > MY)
            MY = CheckedSingle(double(MX) * MYMX);
        else
            MX = CheckedSingle(DivDouble(MY, MYMX));
    }
}

namespace {
// The crossings s of a circle (centre on the axis at MITTE, the other centre
// coordinate at ABSTAND from the line) with a line parallel to an axis:
// s^2 - 2 MITTE s + MITTE^2 + ABSTAND^2 - R^2 = 0, in double precision.
void kreisschnitt(double mitte, double abstand, double r, std::array<float, 2>& S, bool& GEFUNDEN) {
    const double p = -mitte;
    const double q = mitte * mitte + abstand * abstand - r * r;
    const double d = p * p - q;
    if (d < 0) {
        GEFUNDEN = false;
        return;
    }
    GEFUNDEN = true;
    const double s = std::sqrt(d);
    S[0] = float(-p - s);
    S[1] = float(-p + s);
}
}  // namespace

void clsGRAFIK::KREISSCHNITTX(float XM, float YM, float R, float XG, std::array<float, 2>& S,
                              bool& GEFUNDEN) {
    kreisschnitt(YM, double(XG) - XM, R, S, GEFUNDEN);
}

void clsGRAFIK::KREISSCHNITTY(float XM, float YM, float R, float YG, std::array<float, 2>& S,
                              bool& GEFUNDEN) {
    kreisschnitt(XM, double(YG) - YM, R, S, GEFUNDEN);
}

void clsGRAFIK::WINKEL(float X1, float Y1, float X2, float Y2, float& W) {
    const double dx = double(X2) - X1;
    const double dy = double(Y2) - Y1;
    double winkel;
    if (dx == 0 && dy == 0)
        winkel = 0;
    else if (dx == 0)
        winkel = dy > 0 ? double(kPi) / 2 : 3 * double(kPi) / 2;
    else if (dy == 0)
        winkel = dx > 0 ? 0 : double(kPi);
    else {
        const double a = std::atan(dy / dx);
        if (dx > 0)
            winkel = dy < 0 ? a + 2 * double(kPi) : a;
        else
            winkel = a + double(kPi);
    }
    W = float(winkel);
}

void clsGRAFIK::PFEIL(float XP1, float YP1, float XP2, float YP2) {
    FEHLERBOX fehler("VB-Fehler: ", "Pfeil");
    float l = 2.5f;
    const float phi = 15.0f * 0.017453292f;
    float a = 0;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    const bool berechnet = fehler.AUSFUEHREN([&] {
        if (!m_EOBJEKT) throw OBJEKTVARIABLEFEHLT();
        WINKEL(XP2, YP2, XP1, YP1, a);
        const float d = float(std::sqrt((double(XP2) - XP1) * (double(XP2) - XP1) +
                                        (double(YP2) - YP1) * (double(YP2) - YP1)));
        if (2 * l > d) l = d / 2;
        x1 = float(XP2 + l * std::cos(double(a) + phi));
        y1 = float(YP2 + l * std::sin(double(a) + phi));
        x2 = float(XP2 + l * std::cos(double(a) - phi));
        y2 = float(YP2 + l * std::sin(double(a) - phi));
        // An arrow at a place that is no number is not drawn at all.
        if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
            throw RuntimeError::Overflow();
    });
    if (!berechnet) return;
    LINIE(XP2, YP2, x1, y1);
    LINIE(XP2, YP2, x2, y2);
    LINIE(x1, y1, x2, y2);
}
