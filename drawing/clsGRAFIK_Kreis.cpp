// KREIS: a circle or an arc of a circle in the diagram, clipped to the plot
// area, drawn with the output object's Circle or as short chords, with
// arrow heads or dots at its ends.
//
// Page angles run from the page's x axis towards its y axis (clockwise as
// seen, since y grows downwards); Circle takes counter-clockwise angles, so
// a page angle t is drawn as 2 pi - t. Every arc here runs from its start
// downwards to its end, through 0 when the end is the greater.

#include "drawing/FEHLERBOX.h"
#include "drawing/clsGRAFIK.h"
#include "platform/runtime/MsgBox.h"
#include "platform/controls/OutputObject.h"
#include "platform/runtime/Variant.h"

#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace {
constexpr float kPi = 3.1415927f;
constexpr float kZweiPi = 2 * 3.1415927f;
constexpr float kGrad = 0.01745329f;
constexpr double kZweiPiGenau = 6.283185307179586;

// A point where the circle crosses the border of the plot area; rand is the
// edge (0 left, 1 bottom, 2 right, 3 top) of a single point, -1 in a pair.
struct RANDPUNKT {
    float x = 0, y = 0, w = 0;
    int16_t rand = -1;
};

// How far the requested arc runs downwards from ths to the, 0 to 2 pi.
// Ends that meet are a whole turn when the diagram's angles differ, and an
// arc of length 0 when they are the same.
double Bogenweite(float ths, float the, float al1, float al2) {
    constexpr double eps = 1e-5;
    double d = std::fmod(double(ths) - the, kZweiPiGenau);
    if (d < 0) d += kZweiPiGenau;
    if (d < eps || d > kZweiPiGenau - eps)
        return std::fabs(double(al2) - al1) < eps ? 0 : kZweiPiGenau;
    return d;
}

// How far below page angle a the angle b lies, 0 to 2 pi.
double Unten(float a, float b) {
    double d = std::fmod(double(a) - b, kZweiPiGenau);
    if (d < 0) d += kZweiPiGenau;
    return d;
}

void Endlich(float wert) {
    if (!std::isfinite(wert)) throw RuntimeError::Overflow();
}
} // namespace

void clsGRAFIK::KREIS(float XM, float YM, float R, float AL1, float&& AL2, int16_t LAGEPFEIL,
                      bool BOKREISP, const QVariant& KO) {
    float al2 = AL2;
    KREIS(XM, YM, R, AL1, al2, LAGEPFEIL, BOKREISP, KO);
}

void clsGRAFIK::KREIS(float XM, float YM, float R, float AL1, float& AL2, int16_t LAGEPFEIL,
                      bool BOKREISP, const QVariant& KO) {
    if (AL2 == 0) AL2 = kZweiPi;
    // SKALEN has reported this layout once; its figure draws nothing more.
    if (LAYOUTVERWORFEN()) return;
    FEHLERBOX fehler("VB-Fehler: \r\nFehlerNr. ", "KREIS");

    // Centre and page radius. A centre that cannot be placed ends the call:
    // there is nothing to draw around.
    float xm = 0, ym = 0, r = 0;
    bool zeichnen = true;
    if (!fehler.AUSFUEHREN([&] {
            Objekt();
            const int16_t art = KO.isValid() ? CInt(KO) : int16_t(1);
            if (art == 0) {
                xm = XM;
                ym = YM;
                r = R;
            } else if (art == 1) {
                KOORDTRANSROH(XM, YM, xm, ym);
                const float xs = CheckedSingle(double(XM) + double(R) * std::cos(double(AL1)));
                const float ys = CheckedSingle(double(YM) + double(R) * std::sin(double(AL1)));
                float xps = 0, yps = 0;
                KOORDTRANSROH(xs, ys, xps, yps);
                r = CheckedSingle(std::sqrt((double(xps) - xm) * (double(xps) - xm) +
                                            (double(yps) - ym) * (double(yps) - ym)));
            } else if (art == 2) {
                xm = CheckedSingle(double(XM) + XVERSCHIEBUNG + m_EXDL);
                ym = CheckedSingle(double(YM) + YVERSCHIEBUNG + m_EYDO);
                r = R;
            } else {
                // A kind of coordinates that names no place.
                zeichnen = false;
                return;
            }
            Endlich(xm);
            Endlich(ym);
            Endlich(r);
        }))
        return;
    if (!zeichnen) return;
    OutputObject& objekt = *m_EOBJEKT;

    // The plot rectangle, without the scroll shifts.
    const float xl = m_EXDL + RL;
    const float yo = m_EYDO + RO;
    const float xr = m_EXDL + m_ELX - RR;
    const float yu = m_EYDO + m_ELY - RU;

    // A plot area wholly inside the circle shows nothing of its line.
    const auto abstand = [&](float x, float y) {
        return std::sqrt((double(x) - xm) * (double(x) - xm) + (double(y) - ym) * (double(y) - ym));
    };
    if (xm >= xl && xm <= xr && ym >= yo && ym <= yu && abstand(xl, yo) <= r &&
        abstand(xr, yo) <= r && abstand(xl, yu) <= r && abstand(xr, yu) <= r)
        return;

    // The requested arc in page angles.
    float ths, the;
    if (OX == 1 && OY == 1) {
        ths = kZweiPi - AL1;
        the = kZweiPi - AL2;
    } else if (OX == -1 && OY == 1) {
        ths = kPi + AL2;
        the = kPi + AL1;
    } else if (OX == 1 && OY == -1) {
        ths = AL2;
        the = AL1;
    } else {
        ths = kPi - AL1;
        the = kPi - AL2;
    }
    if (ths > kZweiPi) ths -= kZweiPi;
    if (the > kZweiPi) the -= kZweiPi;
    const double weite = Bogenweite(ths, the, AL1, AL2);
    if (weite == 0) return;
    const bool ganz = weite == kZweiPiGenau;

    // One piece from page angle t1 down to t2 with Circle; false when the
    // angles cannot be drawn, which ends KREIS. A piece of length 0 (a line
    // that only touches the circle) is left out.
    bool beendet = false;
    const auto stueck = [&](float t1, float t2) {
        float f1 = kZweiPi - t1;
        float f2 = kZweiPi - t2;
        if (f1 > kZweiPi) f1 -= kZweiPi;
        if (f1 < 0) f1 += kZweiPi;
        if (f2 > kZweiPi) f2 -= kZweiPi;
        if (f2 < 0) f2 += kZweiPi;
        if (f1 < 0 || f2 < 0) {
            MsgBox(QStringLiteral("Winkel  H1 bzw. H2 < 0"), vbExclamation,
                   QStringLiteral("KREIS"));
            beendet = true;
            return false;
        }
        if (f1 == f2) return true;
        if (!fehler.AUSFUEHREN([&] { objekt.Circle(xm, ym, r, objekt.ForeColor(), f1, f2); }))
            beendet = fehler.VERLASSEN();
        return !beendet;
    };

    if (BOKREISP) {
        // Chords of 10 degrees downwards from the start; the last one ends
        // on the end of the arc. (The step falls short of 10 degrees by a
        // few millionths: a whole turn is still 36 chords, not 36 and a
        // sliver.)
        const double schritt = 10 * double(kGrad);
        const int n = std::max(1, int(std::ceil(weite / schritt - 1e-4)));
        for (int k = 0; k < n && !fehler.VERLASSEN(); ++k) {
            const double t1 = double(ths) - k * schritt;
            const double t2 = k == n - 1 ? double(ths) - weite : double(ths) - (k + 1) * schritt;
            LINIE(float(xm + r * std::cos(t1)), float(ym + r * std::sin(t1)),
                  float(xm + r * std::cos(t2)), float(ym + r * std::sin(t2)), std::nullopt, 0);
        }
    } else {
        // Nothing of the circle can reach into the plot area.
        if (!(xm + r > xl && xm - r < xr && ym + r >= yo && ym - r <= yu)) return;
        if (xm - r >= xl && xm + r <= xr && ym - r >= yo && ym + r <= yu) {
            // Wholly inside, touching included.
            if ((AL1 == 0 && AL2 == kZweiPi) || ganz) {
                fehler.AUSFUEHREN([&] { objekt.Circle(xm, ym, r, objekt.ForeColor()); });
            } else if (!stueck(ths, the)) {
                return;
            }
        } else if (!BOGENSTUECKE(fehler, xm, ym, r, ths, the, weite, stueck)) {
            return;
        }
    }
    if (fehler.VERLASSEN() || beendet || LAGEPFEIL <= 0) return;
    ENDMARKEN(fehler, xm, ym, r, ths, the, float(weite), LAGEPFEIL);
}

bool clsGRAFIK::BOGENSTUECKE(FEHLERBOX& fehler, float xm, float ym, float r, float ths, float the,
                             double weite, const std::function<bool(float, float)>& stueck) {
    const bool ganz = weite == kZweiPiGenau;
    const float xl = m_EXDL + RL;
    const float yo = m_EYDO + RO;
    const float xr = m_EXDL + m_ELX - RR;
    const float yu = m_EYDO + m_ELY - RU;

    // The points where the circle crosses the border, walking the border
    // counter-clockwise as seen: the left edge downwards, the bottom to the
    // right, the right edge upwards, the top to the left.
    std::array<RANDPUNKT, 8> p;
    int n = 0, paare = 0;
    bool beginntMitPaar = false;
    for (int16_t rand = 0; rand <= 3; ++rand) {
        std::array<float, 2> s{0, 0};
        bool gefunden = false;
        float lo, hi;
        bool jenseits;
        if (rand == 0 || rand == 2) {
            const float linie = rand == 0 ? xl : xr;
            KREISSCHNITTX(xm, ym, r, linie, s, gefunden);
            lo = yo;
            hi = yu;
            jenseits = rand == 0 ? xm < xl : xm > xr;
        } else {
            const float linie = rand == 1 ? yu : yo;
            KREISSCHNITTY(xm, ym, r, linie, s, gefunden);
            lo = xl;
            hi = xr;
            jenseits = rand == 1 ? ym > yu : ym < yo;
        }
        if (!gefunden) continue;
        const float s0 = s[0], s1 = s[1];
        const auto punkt = [&](float t, int16_t code) {
            RANDPUNKT q;
            q.rand = code;
            switch (rand) {
            case 0:
                q.x = xl, q.y = t;
                break;
            case 1:
                q.x = t, q.y = yu;
                break;
            case 2:
                q.x = xr, q.y = t;
                break;
            default:
                q.x = t, q.y = yo;
            }
            p[size_t(n++)] = q;
        };
        if (!(s1 > lo && s0 < hi && (s0 >= lo || s1 <= hi))) continue;
        if (s0 < lo && lo < s1) {
            punkt(s1, rand);
        } else if (s0 >= lo && s1 > hi) {
            punkt(s0, rand);
        } else if ((lo < s0 && s1 < hi) || (s0 == lo && s1 == hi && jenseits)) {
            if (n == 0) beginntMitPaar = true;
            const bool vorwaerts = rand == 0 || rand == 1;
            punkt(vorwaerts ? s0 : s1, -1);
            punkt(vorwaerts ? s1 : s0, -1);
            ++paare;
        }
    }
    if (n % 2 == 1) {
        MsgBox(QStringLiteral("Ungerade Anzahl von Schnittpunkten des Kreises mit den Grenzen"),
               vbExclamation, QStringLiteral("Bogen"));
        return false;
    }
    if (n == 0) return false;
    for (int i = 0; i < n; ++i)
        WINKEL(xm, ym, p[size_t(i)].x, p[size_t(i)].y, p[size_t(i)].w);

    // The visible arcs, each from its start down to its end.
    const auto w = [&](int i) { return p[size_t(i % n)].w; };
    std::vector<std::pair<float, float>> boegen;
    if (paare > 0 && (2 * paare == n || beginntMitPaar)) {
        for (int j = 0; j <= n - 2; j += 2)
            boegen.emplace_back(w(j + 1), w(j + 2));
    } else if (paare > 0) {
        for (int j = 0; j <= n - 2; j += 2)
            boegen.emplace_back(w(j), w(j + 1));
    } else {
        const RANDPUNKT& a = p[0];
        const RANDPUNKT& b = p[1];
        bool vorwaerts = true;
        if (a.rand == 0 && (b.rand == 1 || b.rand == 2))
            vorwaerts = ym < a.y;
        else if (a.rand == 0 && b.rand == 3)
            vorwaerts = xm < b.x;
        else if (a.rand == 1 && (b.rand == 2 || b.rand == 3))
            vorwaerts = xm < a.x;
        else if (a.rand == 2 && b.rand == 3)
            vorwaerts = ym > a.y;
        boegen.emplace_back(vorwaerts ? a.w : b.w, vorwaerts ? b.w : a.w);
    }

    // Each visible arc against the requested one. Both are measured
    // downwards from the start A of the visible arc: the visible arc covers
    // 0 to its length, the requested arc starts o below A and may come round
    // past A once more; what both cover is drawn, from A downwards.
    for (const auto& [A, B] : boegen) {
        if (fehler.VERLASSEN()) return false;
        const double laenge = Unten(A, B);
        if (laenge == 0) continue; // a line that only touches the circle
        if (ganz) {
            if (!stueck(A, B)) return false;
            continue;
        }
        const double o = Unten(A, ths);
        const double ende = o + weite;
        constexpr double eps = 1e-6;
        // The part that comes round past A: from A down to the requested end
        // or to B.
        if (ende - kZweiPiGenau > eps) {
            const bool bisB = laenge <= ende - kZweiPiGenau;
            if (!stueck(A, bisB ? B : the)) return false;
        }
        // The part from the requested start down to its end or to B.
        if (laenge - o > eps) {
            const bool bisB = laenge <= ende;
            if (!stueck(ths, bisB ? B : the)) return false;
        }
    }
    return true;
}

void clsGRAFIK::ENDMARKEN(FEHLERBOX& fehler, float xm, float ym, float r, float ths, float the,
                          float weite, int16_t LAGEPFEIL) {
    OutputObject& objekt = *m_EOBJEKT;
    float l = 2.5f;
    const float halb = 15 * kGrad;
    if (!fehler.AUSFUEHREN([&] {
            const float laenge = CheckedSingle(double(weite) * r);
            if (2 * l > laenge) l = laenge / 2;
        }))
        return;
    // The marks are filled; whatever happens, later circles are not.
    struct FuellungZurueck {
        OutputObject& objekt;
        ~FuellungZurueck() {
            objekt.SetFillStyle(1);
            objekt.SetFillColor(RGB(255, 255, 255));
        }
    } zurueck{objekt};
    objekt.SetFillColor(objekt.ForeColor());
    objekt.SetFillStyle(0);

    const auto spitze = [&](float t, float& x, float& y) {
        x = CheckedSingle(xm + double(r) * std::cos(double(t)));
        y = CheckedSingle(ym + double(r) * std::sin(double(t)));
    };
    // A head with its tip on the circle at t and its base at alpha.
    const auto kopf = [&](float t, bool amAnfang) {
        float sx = 0, sy = 0, ux = 0, uy = 0, vx = 0, vy = 0;
        if (!fehler.AUSFUEHREN([&] {
                spitze(t, sx, sy);
                const float versatz = CheckedSingle(DivDouble(l, r));
                const float alpha = amAnfang ? t - versatz : t + versatz;
                float qx = 0, qy = 0;
                spitze(alpha, qx, qy);
                const double b = double(l) * std::tan(double(halb));
                ux = CheckedSingle(qx - b * std::cos(double(alpha)));
                uy = CheckedSingle(qy - b * std::sin(double(alpha)));
                vx = CheckedSingle(qx + b * std::cos(double(alpha)));
                vy = CheckedSingle(qy + b * std::sin(double(alpha)));
            }))
            return;
        LINIE(sx, sy, ux, uy, std::nullopt, 0);
        LINIE(ux, uy, vx, vy, std::nullopt, 0);
        LINIE(vx, vy, sx, sy, std::nullopt, 0);
    };
    const auto punkt = [&](float t) {
        fehler.AUSFUEHREN([&] {
            float x = 0, y = 0;
            spitze(t, x, y);
            objekt.Circle(x, y, 0.5f, objekt.ForeColor());
        });
    };
    switch (LAGEPFEIL) {
    case 1:
        kopf(the, false);
        break;
    case 2:
        kopf(ths, true);
        break;
    case 3:
        kopf(the, false);
        kopf(ths, true);
        break;
    case 4:
        punkt(ths);
        kopf(the, false);
        break;
    case 5:
        kopf(ths, true);
        punkt(the);
        break;
    default:
        break;
    }
}
