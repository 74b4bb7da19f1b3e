// POLYGON: one curve in the layout that SKALEN left, in one of nine forms,
// with markers on chosen points. Its labels and arrow heads are in
// clsGRAFIK_Beschriftung.

#include "drawing/FEHLERBOX.h"
#include "drawing/PUNKTSYMBOL.h"
#include "drawing/clsGRAFIK.h"
#include "platform/controls/OutputObject.h"
#include "platform/runtime/Variant.h"

#include <QVariantList>

namespace {
constexpr int32_t kWeiss = 0xFFFFFF;

// Points a form needs: the histogram outlines and form 8 take a step width
// from a neighbour.
int Mindestpunkte(int16_t form) {
    return (form == 1 || form == 2 || form == 7 || form == 8) ? 2 : 1;
}

// Forms that start or close their outline at the base point.
bool BrauchtBasis(int16_t form) {
    return form == 1 || form == 2 || form == 4 || form == 5 || form == 6 || form == 7 || form == 8;
}

// A draw flag of the polyline: only the number 1 draws; True (-1), 0 and
// an empty element leave a gap.
bool Zeichnen(const QVariant& flagge) {
    const VarType art = VarTypeOf(flagge);
    if (art == VarType::Boolean || art == VarType::Empty || art == VarType::Null) return false;
    return IsNumeric(flagge) && CDbl(flagge) == 1;
}
} // namespace

std::optional<int32_t> clsGRAFIK::KURVENFARBE(int16_t PSTYP) {
    static const int palette[] = {1, 2, 3, 4, 5, 10, 9, 0};
    if (PSTYP < 0 || PSTYP > 7) return std::nullopt;
    return QBColor(palette[PSTYP]);
}

std::vector<int> clsGRAFIK::PUNKTAUSWAHL(int16_t PSIT, int n) {
    std::vector<int> punkte;
    if (n <= 0 || PSIT == 0) return punkte;
    if (PSIT == -1) return {0};
    if (PSIT == 1) return {n - 1};
    if (PSIT == 2) {
        punkte.push_back(0);
        if (n > 1) punkte.push_back(n - 1);
        return punkte;
    }
    long long k = 1;
    if (PSIT > 2) k = static_cast<long long>(Round(double(n - 1) / double(PSIT - 1)));
    if (k <= 0) k = 1;
    for (long long i = 0; i <= n - 1; i += k)
        punkte.push_back(int(i));
    return punkte;
}

void clsGRAFIK::POLYGON(const SINGLEFELD& X, const SINGLEFELD& Y, int16_t PSIT, int16_t PSTYP,
                        int16_t PNR, const QString& TEXT, int16_t LAGETEXT, int16_t LAGEPFEIL,
                        bool FARBEN, const QVariant& BOL) {
    QString text = TEXT;
    POLYGON(X, Y, PSIT, PSTYP, PNR, text, LAGETEXT, LAGEPFEIL, FARBEN, BOL);
}

void clsGRAFIK::POLYGON(const SINGLEFELD& X, const SINGLEFELD& Y, int16_t PSIT, int16_t PSTYP,
                        int16_t PNR, QString& TEXT, int16_t LAGETEXT, int16_t LAGEPFEIL,
                        bool FARBEN, const QVariant& BOL) {
    FEHLERBOX fehler("VB-Fehler: ", "Polygon");
    if (!m_EOBJEKT) {
        fehler.MELDEN(OBJEKTVARIABLEFEHLT());
        return;
    }
    OutputObject& objekt = *m_EOBJEKT;
    const int16_t form = m_EPTYP;

    // Arrays that do not carry the curve are reported once, before anything
    // is drawn: indices from 0 (or -1 with the base point), Y with every
    // index of X, and as many points as the form needs.
    const int n = X.UBOUND() + 1;
    const bool grenzenPassen = (X.LBOUND() == 0 || X.LBOUND() == -1) &&
                               (Y.LBOUND() == 0 || Y.LBOUND() == -1) && Y.LBOUND() <= X.LBOUND() &&
                               Y.UBOUND() >= X.UBOUND();
    if (!grenzenPassen || n < Mindestpunkte(form)) {
        fehler.MELDEN(RuntimeError::SubscriptOutOfRange());
        return;
    }
    if (form == 0 && BOL.isValid() && n >= 2) {
        if (BOL.typeId() != QMetaType::QVariantList) {
            fehler.MELDEN(RuntimeError::TypeMismatch());
            return;
        }
        if (BOL.toList().size() < n - 1) {
            fehler.MELDEN(RuntimeError::SubscriptOutOfRange());
            return;
        }
    }
    // SKALEN has reported a layout that cannot place a point: nothing more
    // to say. A layout nobody reported (SKALEN not run) fails below, once.
    if (LAYOUTVERWORFEN()) return;

    const int32_t farbe = objekt.ForeColor();
    struct FarbeZurueck {
        OutputObject& objekt;
        int32_t farbe;
        ~FarbeZurueck() { objekt.SetForeColor(farbe); }
    } zurueck{objekt, farbe};

    if (FARBEN)
        if (const std::optional<int32_t> kurvenfarbe = KURVENFARBE(PSTYP))
            objekt.SetForeColor(*kurvenfarbe);

    // Page positions, from logarithms of copies on a logarithmic axis: the
    // caller's values stay as they are, so a second drawing of the same
    // arrays (the printout) shows the same curve.
    std::vector<float> xp(static_cast<size_t>(n)), yp(static_cast<size_t>(n));
    float xB = 0, yB = 0;
    if (!fehler.AUSFUEHREN([&] {
            KOORDTRANSROH(XMIN, YMIN, xB, yB);
            if (X.LBOUND() == -1 && BrauchtBasis(form)) KOORDTRANSROH(X(-1), Y(-1), xB, yB);
            const bool logX = m_ESKTX == 1, logY = m_ESKTY == 1;
            for (int i = 0; i < n; ++i) {
                const float x = logX ? LOG10(X(i)) : X(i);
                const float y = logY ? LOG10(Y(i)) : Y(i);
                KOORDTRANSROH(x, y, xp[size_t(i)], yp[size_t(i)]);
            }
        }))
        return;

    KURVENFORM(fehler, xp, yp, xB, yB, BOL);
    if (!fehler.VERLASSEN()) MARKIEREN(fehler, xp, yp, PSIT, PSTYP);
    if (!fehler.VERLASSEN()) PUNKTNUMMERN(fehler, xp, yp, PNR);
    if (!fehler.VERLASSEN()) KURVENTEXT(fehler, xp, yp, TEXT, LAGETEXT);
    if (!fehler.VERLASSEN()) KURVENPFEILE(fehler, xp, yp, LAGEPFEIL);
}

void clsGRAFIK::KURVENFORM(FEHLERBOX& fehler, const std::vector<float>& x,
                           const std::vector<float>& y, float xB, float yB, const QVariant& BOL) {
    const int n = int(x.size());
    // Every line is one clipped segment; each segment is drawn on its own,
    // so a long curve costs in proportion to its points whatever the pen.
    const auto linie = [&](float x1, float y1, float x2, float y2) {
        fehler.AUSFUEHREN([&] { LINIEROH(x1, y1, x2, y2, std::nullopt, 0); });
    };
    const auto senkrecht = [&](float xs, float a, float b) { linie(xs, a, xs, b); };
    const auto waagrecht = [&](float ys, float a, float b) { linie(a, ys, b, ys); };
    const auto mitte = [](float a, float b) { return (a + b) / 2; };

    switch (m_EPTYP) {
    case 0: {
        const QVariantList flaggen = BOL.isValid() ? BOL.toList() : QVariantList();
        for (int i = 1; i < n && !fehler.VERLASSEN(); ++i)
            if (!BOL.isValid() || Zeichnen(flaggen[i - 1])) linie(x[i - 1], y[i - 1], x[i], y[i]);
        break;
    }
    case 1:
        for (int i = 0; i < n && !fehler.VERLASSEN(); ++i) {
            if (i == 0) {
                const float d = x[1] - x[0];
                senkrecht(x[0] - d / 2, yB, y[0]);
                waagrecht(y[0], x[0] - d / 2, x[0] + d / 2);
            } else if (i < n - 1) {
                waagrecht(y[i], x[i], mitte(x[i - 1], x[i]));
                waagrecht(y[i], x[i], mitte(x[i], x[i + 1]));
                senkrecht(mitte(x[i - 1], x[i]), y[i - 1], y[i]);
            } else {
                const float d = x[i] - x[i - 1];
                senkrecht(x[i] - d / 2, y[i - 1], y[i]);
                waagrecht(y[i], x[i] - d / 2, x[i] + d / 2);
                senkrecht(x[i] + d / 2, y[i], yB);
            }
        }
        break;
    case 2:
    case 7:
        for (int i = 0; i < n && !fehler.VERLASSEN(); ++i) {
            if (i == 0) {
                const float e = y[1] - y[0];
                waagrecht(y[0] - e / 2, xB, x[0]);
                senkrecht(x[0], y[0] - e / 2, y[0] + e / 2);
            } else if (i < n - 1) {
                senkrecht(x[i], y[i], mitte(y[i - 1], y[i]));
                senkrecht(x[i], y[i], mitte(y[i], y[i + 1]));
                waagrecht(mitte(y[i - 1], y[i]), x[i - 1], x[i]);
            } else {
                const float e = y[i] - y[i - 1];
                waagrecht(y[i] - e / 2, x[i - 1], x[i]);
                senkrecht(x[i], y[i] - e / 2, y[i] + e / 2);
                waagrecht(y[i] + e / 2, x[i], xB);
            }
        }
        break;
    case 3: {
        // Dots strictly inside the plot area.
        const float links = m_EXDL + RL, rechts = m_EXDL + m_ELX - RR;
        const float oben = m_EYDO + RO, unten = m_EYDO + m_ELY - RU;
        for (int i = 0; i < n && !fehler.VERLASSEN(); ++i)
            if (x[i] > links && x[i] < rechts && y[i] > oben && y[i] < unten)
                fehler.AUSFUEHREN([&] { Objekt().PSet(x[i], y[i]); });
        break;
    }
    case 4:
        senkrecht(xB, yB, y[0]);
        waagrecht(y[0], xB, x[0]);
        for (int i = 0; i <= n - 2 && !fehler.VERLASSEN(); ++i) {
            senkrecht(x[i], y[i], y[i + 1]);
            waagrecht(y[i + 1], x[i], x[i + 1]);
        }
        senkrecht(x[n - 1], y[n - 1], yB);
        break;
    case 5:
        waagrecht(yB, xB, x[0]);
        senkrecht(x[0], yB, y[0]);
        for (int i = 0; i <= n - 2 && !fehler.VERLASSEN(); ++i) {
            waagrecht(y[i], x[i], x[i + 1]);
            senkrecht(x[i + 1], y[i], y[i + 1]);
        }
        waagrecht(y[n - 1], x[n - 1], xB);
        break;
    case 6:
        linie(xB, yB, x[0], y[0]);
        for (int i = 0; i <= n - 2 && !fehler.VERLASSEN(); ++i) {
            senkrecht(x[i], y[i], y[i + 1]);
            waagrecht(y[i + 1], x[i], x[i + 1]);
        }
        break;
    case 8: {
        // Treads between the midpoints m_i of neighbouring points.
        const auto m = [&](int i) { return y[i] + (y[i + 1] - y[i]) / 2; };
        for (int i = 0; i < n && !fehler.VERLASSEN(); ++i) {
            if (i == 0) {
                waagrecht(y[0], xB, x[0]);
                senkrecht(x[0], y[0], m(0));
                waagrecht(m(0), x[0], x[1]);
            } else if (i < n - 1) {
                senkrecht(x[i], m(i - 1), y[i]);
                senkrecht(x[i], y[i], m(i));
                waagrecht(m(i), x[i], x[i + 1]);
            } else {
                senkrecht(x[i], m(i - 1), y[i]);
                waagrecht(y[i], x[i], xB);
            }
        }
        break;
    }
    default: // no curve; markers and labels follow all the same
        break;
    }
}

void clsGRAFIK::MARKIEREN(FEHLERBOX& fehler, const std::vector<float>& x,
                          const std::vector<float>& y, int16_t PSIT, int16_t PSTYP) {
    // A marker stands on a point inside the plot area or on its edge; it is
    // drawn whole, not clipped.
    const float links = m_EXDL + RL, rechts = m_EXDL + m_ELX - RR;
    const float oben = m_EYDO + RO, unten = m_EYDO + m_ELY - RU;
    OutputObject& objekt = Objekt();
    for (int i : PUNKTAUSWAHL(PSIT, int(x.size()))) {
        if (fehler.VERLASSEN()) return;
        if (x[i] >= links && x[i] <= rechts && y[i] >= oben && y[i] <= unten)
            fehler.AUSFUEHREN([&] { PUNKTSYMBOL(objekt, PSTYP, x[i], y[i], kWeiss); });
    }
}
