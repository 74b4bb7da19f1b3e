// Symbols of soil-mechanics and structural sketches: hatching below a
// ground line, the level triangle, load areas and section forces. Angles
// come in degrees; on the page y points down, so a positive angle turns a
// symbol clockwise. The routines leave the line settings they chose.

#include "data/clsDATEN.h"
#include "drawing/FEHLERBOX.h"
#include "drawing/clsGRAFIK.h"
#include "platform/controls/OutputObject.h"
#include "platform/runtime/Variant.h"

#include <cmath>
#include <memory>

namespace {
constexpr float kGradZuRad = 0.017453292f;
constexpr float kViertelPi = 0.7853982f;
constexpr float kHalbPi = 1.5707964f;
constexpr float kPi = 3.1415927f;

// A Single from a computation; an overflow or a result that is no number is
// the runtime's overflow.
float S(double wert) {
    return CheckedSingle(wert);
}

struct PUNKT {
    float x = 0, y = 0;
};

PUNKT Plus(PUNKT a, PUNKT b) {
    return {S(double(a.x) + b.x), S(double(a.y) + b.y)};
}

// p + laenge * (cos w, sin w)
PUNKT Polar(PUNKT p, double laenge, double w) {
    return {S(p.x + laenge * std::cos(w)), S(p.y + laenge * std::sin(w))};
}
} // namespace

void clsGRAFIK::GELAENDESCHRAFFUR(float X1, float Y1, float H1, int16_t ANS, float BE, int16_t KO) {
    if (LAYOUTVERWORFEN()) return;
    FEHLERBOX fehler("VB-Fehler: ", "Geländeschraffur");
    PUNKT d1, d2;
    if (!fehler.AUSFUEHREN([&] {
            Objekt();
            const double fx = KO == 2 ? double(MX) : 1.0;
            const double fy = KO == 2 ? double(MY) : 1.0;
            const double s = OY == 1 ? 1.0 : -1.0;
            const float a = S(double(BE) * kGradZuRad * DivDouble(MX, MY));
            d1 = {S(H1 * std::cos(double(a) - kViertelPi) * fx),
                  S(H1 * std::sin(double(a) - kViertelPi) * s * fy)};
            const double w2 = double(a) - 3 * double(kViertelPi);
            d2 = {S(-H1 * std::cos(w2) * fx), S(-H1 * std::sin(w2) * s * fy)};
        }))
        return;

    // The strokes are two-point polylines, whatever form the curves of the
    // figure are drawn in.
    const int16_t form = m_EPTYP;
    m_EPTYP = 0;
    PUNKT u{X1, Y1};
    for (int i = 1; i <= ANS && !fehler.VERLASSEN(); ++i) {
        PUNKT p1, p2, p3, p4, p5, p6;
        if (!fehler.AUSFUEHREN([&] {
                p1 = Plus(u, d1);
                p2 = Plus(p1, d1);
                p3 = Plus(p1, d2);
                p4 = Plus(p2, d2);
                p5 = Plus(p4, d1);
                p6 = Plus(p4, d2);
            }))
            break;
        const auto strich = [&](PUNKT a, PUNKT b) {
            const float x[2] = {a.x, b.x};
            const float y[2] = {a.y, b.y};
            POLYGON(SINGLEFELD(x, 2), SINGLEFELD(y, 2), 0, 0, 0, QString(), 0, 0, false);
        };
        strich(u, p1);
        strich(p1, p2);
        strich(p1, p3);
        strich(p2, p4);
        strich(p4, p5);
        strich(p4, p6);
        u = p6;
    }
    m_EPTYP = form;
}

void clsGRAFIK::KOTENDREIECK(float X, float Y, float DH, float RIWI, int16_t GW, int16_t VOLL) {
    if (LAYOUTVERWORFEN()) return;
    FEHLERBOX fehler("VB-Fehler: ", "Kotendreieck");
    // The size becomes millimetres in a copy of its own: the caller's value
    // stays in world units for the next mark.
    float a = 0, dh = 0;
    PUNKT p;
    if (!fehler.AUSFUEHREN([&] {
            Objekt();
            a = S(double(RIWI) * kGradZuRad);
            KOORDTRANSROH(X, Y, p.x, p.y);
            dh = S(DivDouble(DH, MY));
        }))
        return;
    const auto linie = [&](PUNKT von, PUNKT bis) {
        LINIE(von.x, von.y, bis.x, bis.y, std::nullopt, 0);
    };
    // One line from c by the vector given, as a step of the handler.
    const auto strahl = [&](PUNKT c, double laenge, double w) {
        PUNKT ziel;
        if (fehler.AUSFUEHREN([&] { ziel = Polar(c, laenge, w); })) linie(c, ziel);
        return ziel;
    };

    // Level line, in two halves from the point.
    strahl(p, dh, a);
    strahl(p, dh, double(a) - kPi);

    // Triangle with its apex on the point.
    PUNKT c = p;
    bool umriss = true;
    const auto seite = [&](double laenge, double w) {
        if (!umriss || fehler.VERLASSEN()) return;
        PUNKT ziel;
        if (!fehler.AUSFUEHREN([&] { ziel = Polar(c, laenge, w); })) {
            umriss = false;
            return;
        }
        linie(c, ziel);
        c = ziel;
    };
    seite(double(dh) / std::cos(double(kViertelPi)), double(a) + kPi + kViertelPi);
    seite(2 * double(dh) * std::tan(double(kViertelPi)), a);
    seite(double(dh) / std::cos(double(kViertelPi)), double(a) + kHalbPi + kViertelPi);
    // The lines below depend on where the outline ended.
    if (!umriss || fehler.VERLASSEN()) return;

    if (GW == 1) {
        for (int k = 2; k <= 3 && !fehler.VERLASSEN(); ++k) {
            PUNKT b;
            double h = 0;
            if (!fehler.AUSFUEHREN([&] {
                    b = Polar(c, (k - 1) / 2.0 * (double(dh) / 2), double(a) + kHalbPi);
                    h = (3.5 - k) * double(dh) / 2;
                }))
                continue;
            strahl(b, h, double(a) + kPi);
            strahl(b, -h, double(a) + kPi);
        }
    }

    if (VOLL < 1) return;
    for (int k = 1; k <= 34 && !fehler.VERLASSEN(); ++k) {
        const float phi = S((1.0 - k / 70.0) * kHalbPi);
        const double laenge = double(dh) / std::sin(double(phi));
        if (VOLL == 2 || VOLL == 3) strahl(c, laenge, double(a) + kPi + phi);
        if (VOLL == 1 || VOLL == 3) strahl(c, laenge, double(a) - phi);
    }
}

void clsGRAFIK::LASTFLAECHEN(const SINGLEFELD& X, const SINGLEFELD& Y, const LASTORDINATEN& P,
                             int16_t IT) {
    if (LAYOUTVERWORFEN()) return;
    FEHLERBOX fehler("VB-Fehler: ", "Lastflächen");
    if (!fehler.AUSFUEHREN([&] { Objekt(); })) return;

    // The load scale of the figure: the first load area drawn fixes it, so
    // that all areas of one figure are drawn to the same scale. The row is
    // the one of the record a new data-access object starts on.
    float msp = 0;
    {
        std::unique_ptr<clsDATEN> daten;
        if (fehler.AUSFUEHREN([&] {
                daten = std::make_unique<clsDATEN>();
                daten->ETABELLE(QStringLiteral("G0"));
            })) {
            const QString schluessel = QStringLiteral("IDOBJEKT");
            const QVariant objekt(static_cast<int>(m_EIDOBJEKT));
            // A failed read or write is reported by the data-access object;
            // the drawing goes on with the scale it has.
            fehler.AUSFUEHREN([&] { daten->DTVS(QStringLiteral("MSP"), msp, schluessel, objekt); });
            if (msp == 0 && !fehler.VERLASSEN()) {
                fehler.AUSFUEHREN([&] {
                    const auto resultierende = [&](int i) {
                        const double y = double(P[0][size_t(i)]) + P[2][size_t(i)];
                        const double x = double(P[1][size_t(i)]) + P[3][size_t(i)];
                        return S(std::sqrt(y * y + x * x) / 15);
                    };
                    const float m0 = resultierende(0);
                    const float m1 = resultierende(1);
                    msp = m1 > m0 ? m1 : m0;
                });
                fehler.AUSFUEHREN(
                    [&] { daten->DVTS(QStringLiteral("MSP"), msp, schluessel, objekt); });
            }
        }
    }
    if (fehler.VERLASSEN()) return;

    LINIENEINSTELLUNGEN(0, 0, QBColor(12));
    PUNKT a0, a1;
    if (!fehler.AUSFUEHREN([&] {
            if (X.LBOUND() > 0 || X.UBOUND() < 1 || Y.LBOUND() > 0 || Y.UBOUND() < 1)
                throw RuntimeError::SubscriptOutOfRange();
            KOORDTRANSROH(X(0), Y(0), a0.x, a0.y);
            KOORDTRANSROH(X(1), Y(1), a1.x, a1.y);
        }))
        return;
    LINIE(a0.x, a0.y, a1.x, a1.y, std::nullopt, 0);

    // Ordinates in millimetres; a scale of 0 gives none, and no load can be
    // drawn.
    float q[4][2];
    if (!fehler.AUSFUEHREN([&] {
            for (int i = 0; i <= 1; ++i)
                for (int j = 0; j <= 3; ++j)
                    q[j][i] = S(DivDouble(P[size_t(j)][size_t(i)], msp));
        }))
        return;

    // One load on the line from a0 to a1: IT + 1 arrows from its own line
    // down onto that line, then its own line, which the next load stands on.
    // s is the step along the line below; the step along the load's own line
    // is left in t.
    PUNKT s, t;
    const auto last = [&](int jy, int jx, bool ersteLast) {
        const PUNKT o0{q[jx][0], S(-double(q[jy][0]))};
        const PUNKT o1{q[jx][1], S(-double(q[jy][1]))};
        if (!fehler.AUSFUEHREN([&] {
                if (ersteLast)
                    s = {S(DivDouble(double(a1.x) - a0.x, IT)),
                         S(DivDouble(double(a1.y) - a0.y, IT))};
                else
                    s = t;
                const PUNKT b0 = Plus(a0, o0), b1 = Plus(a1, o1);
                t = {S(DivDouble(double(b1.x) - b0.x, IT)), S(DivDouble(double(b1.y) - b0.y, IT))};
            }))
            return false;
        for (int k = 0; k <= IT && !fehler.VERLASSEN(); ++k) {
            PUNKT a, b;
            if (!fehler.AUSFUEHREN([&] {
                    a = {S(a0.x + double(k) * s.x), S(a0.y + double(k) * s.y)};
                    b = {S(double(a0.x) + o0.x + double(k) * t.x),
                         S(double(a0.y) + o0.y + double(k) * t.y)};
                }))
                continue;
            LINIE(a.x, a.y, b.x, b.y, std::nullopt, 0);
            PFEIL(b.x, b.y, a.x, a.y);
        }
        if (!fehler.AUSFUEHREN([&] {
                a0 = Plus(a0, o0);
                a1 = Plus(a1, o1);
            }))
            return false;
        LINIE(a0.x, a0.y, a1.x, a1.y, std::nullopt, 0);
        return !fehler.VERLASSEN();
    };
    if (!last(0, 1, true)) return;
    LINIENEINSTELLUNGEN(0, 0, QBColor(4));
    last(2, 3, false);
}

void clsGRAFIK::SCHNITTKRAFT(float X1, float Y1, float X2, float Y2, float SHHH, int16_t TYP,
                             int16_t SY) {
    if (LAYOUTVERWORFEN()) return;
    FEHLERBOX fehler("VB-Fehler: ", "Schnittkraft");
    if (!fehler.AUSFUEHREN([&] { Objekt(); })) return;
    LINIENEINSTELLUNGEN(0, 0.2f, QBColor(2));
    PUNKT p1, p2;
    if (!fehler.AUSFUEHREN([&] {
            KOORDTRANSROH(X1, Y1, p1.x, p1.y);
            KOORDTRANSROH(X2, Y2, p2.x, p2.y);
        }))
        return;
    LINIE(p1.x, p1.y, p2.x, p2.y, std::nullopt, 0);
    if (SY != 1 || (TYP < 1 || TYP > 3)) return;

    PUNKT b, e;
    if (!fehler.AUSFUEHREN([&] {
            float a = 0;
            WINKEL(p1.x, p1.y, p2.x, p2.y, a);
            const double dx = double(p2.x) - p1.x, dy = double(p2.y) - p1.y;
            const double h = std::sqrt(dx * dx + dy * dy) / 2;
            PUNKT m = Polar(p1, h, a);
            // Across the member through its middle, or along it and moved
            // 1.25 mm to the side of a - 90 degrees.
            double richtung;
            if (TYP == 1) {
                richtung = double(a) + kHalbPi;
            } else {
                m = Polar(m, 2.5 * 0.5, double(a) - kHalbPi);
                richtung = a;
            }
            e = Polar(m, double(SHHH) / 2, richtung);
            b = Polar(m, -double(SHHH) / 2, richtung);
        }))
        return;
    LINIE(b.x, b.y, e.x, e.y, std::nullopt, 0);
    PFEIL(b.x, b.y, e.x, e.y);
    PFEIL(e.x, e.y, b.x, b.y);
}
