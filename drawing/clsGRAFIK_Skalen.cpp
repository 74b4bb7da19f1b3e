// SKALEN: the layout of the current figure from its row in G0, the ranges
// of both axes, the scale factors, the scroll bars, and the axes drawn last.

#include "data/clsDATEN.h"
#include "drawing/FEHLERBOX.h"
#include "drawing/clsGRAFIK.h"
#include "platform/runtime/MsgBox.h"
#include "platform/controls/OutputObject.h"
#include "platform/controls/ScrollBar.h"
#include "platform/runtime/Variant.h"

#include <QList>
#include <cmath>
#include <memory>

namespace {
// An array of Singles in a Variant: std::vector<float> or QList<float>.
bool SingleFeld(const QVariant& wert, std::vector<float>& daten) {
    if (wert.metaType() == QMetaType::fromType<std::vector<float>>()) {
        daten = wert.value<std::vector<float>>();
        return true;
    }
    if (wert.metaType() == QMetaType::fromType<QList<float>>()) {
        const QList<float> liste = wert.value<QList<float>>();
        daten.assign(liste.begin(), liste.end());
        return true;
    }
    return false;
}

bool IstListe(const QVariant& liste) {
    return liste.typeId() == QMetaType::QVariantList;
}
} // namespace

void clsGRAFIK::SKALEN(int16_t NR, const QVariant& X, const QVariant& Y) {
    std::vector<float> x{0.0f}, y{0.0f};
    if (X.isValid() && !SingleFeld(X, x)) {
        MsgBox(QStringLiteral("Datenfehler: Sie Müssen ein Single-Feld für X übergeben!"),
               vbExclamation, QStringLiteral("Skalen"));
        return;
    }
    if (Y.isValid() && !SingleFeld(Y, y)) {
        MsgBox(QStringLiteral("Datenfehler: Sie Müssen ein Single-Feld für Y übergeben!"),
               vbExclamation, QStringLiteral("Skalen"));
        return;
    }
    SKALEN(NR, x, y);
}

void clsGRAFIK::SKALEN(int16_t NR, const std::vector<float>& X, const std::vector<float>& Y) {
    FEHLERBOX fehler("VB-Fehler:", "Skalen");
    m_LAYOUTGEMELDET = false;
    // Whatever box SKALEN shows speaks for a layout it leaves unusable: the
    // drawing operations that follow add none of their own.
    struct Gemeldet {
        const FEHLERBOX& fehler;
        bool& gemeldet;
        ~Gemeldet() {
            if (fehler.GEMELDET()) gemeldet = true;
        }
    } gemeldet{fehler, m_LAYOUTGEMELDET};
    m_XWERTE.clear();
    m_YWERTE.clear();
    m_XLOGWERTE.clear();
    m_YLOGWERTE.clear();
    m_NXLOG = -1;
    m_NYLOG = -1;

    std::unique_ptr<clsDATEN> daten;
    if (!fehler.AUSFUEHREN([&] {
            daten = std::make_unique<clsDATEN>();
            daten->ETABELLE(QStringLiteral("G0"));
            daten->ESPIDW(m_EID);
        }))
        return;
    const QString schluessel = QStringLiteral("IDOBJEKT");
    const QVariant objekt(static_cast<int>(m_EIDOBJEKT));

    // A read that fails ends SKALEN whatever the answer: the data-access
    // object has named the column already.
    const auto lesen = [&](const char* spalte, auto& ziel) {
        if (fehler.VERLASSEN()) return false;
        bool gelesen = false;
        try {
            using Ziel = std::remove_reference_t<decltype(ziel)>;
            if constexpr (std::is_same_v<Ziel, int16_t>)
                gelesen = daten->DTVI(QString::fromLatin1(spalte), ziel, schluessel, objekt);
            else
                gelesen = daten->DTVS(QString::fromLatin1(spalte), ziel, schluessel, objekt);
        } catch (const std::exception& e) {
            fehler.MELDEN(ErrorHandler::Translate(e));
            return false;
        }
        if (!gelesen) fehler.MELDEN(RuntimeError(0, QString()));
        return gelesen;
    };
    const auto schreiben = [&](const char* spalte, float wert) {
        if (m_EBONURLESEN) return;
        fehler.AUSFUEHREN(
            [&] { daten->DVTS(QString::fromLatin1(spalte), wert, schluessel, objekt); });
    };

    if (!(lesen("OX", OX) && lesen("OY", OY) && lesen("RL", RL) && lesen("RR", RR) &&
          lesen("RO", RO) && lesen("RU", RU) && lesen("XMIN", XMIN) && lesen("XMAX", XMAX) &&
          lesen("YMIN", YMIN) && lesen("YMAX", YMAX)))
        return;

    // The ranges, through the candidate lists of each axis that has them.
    if (IstListe(m_ELXMIN))
        fehler.AUSFUEHREN([&] {
            ACHSWERTE(NR, m_EBOXMIN, m_EBOXMAX, m_ESKTX, X, XMIN, XMAX, m_XWERTE, m_XLOGWERTE, NXIT,
                      m_NXLOG, NXGIT, NXZL, m_ELXMIN, m_ELXDIFF, m_ELXIT, m_ELXGIT, m_ELXZL);
        });
    if (IstListe(m_ELYMIN))
        fehler.AUSFUEHREN([&] {
            ACHSWERTE(NR, m_EBOYMIN, m_EBOYMAX, m_ESKTY, Y, YMIN, YMAX, m_YWERTE, m_YLOGWERTE, NYIT,
                      m_NYLOG, NYGIT, NYZL, m_ELYMIN, m_ELYDIFF, m_ELYIT, m_ELYGIT, m_ELYZL);
        });

    // Coupled scales: the following axis gets as many units per millimetre
    // as the other, then its length is snapped once more.
    if (m_EXYIT == 1) {
        fehler.AUSFUEHREN([&] {
            YMAX = CheckedSingle(DivDouble((double(XMAX) - XMIN) * (double(m_ELY) - RO - RU),
                                           double(m_ELX) - RL - RR) +
                                 YMIN);
        });
        fehler.AUSFUEHREN([&] {
            ACHSWERTE(0, false, false, m_ESKTY, Y, YMIN, YMAX, m_YWERTE, m_YLOGWERTE, NYIT, m_NYLOG,
                      NYGIT, NYZL, m_ELYMIN, m_ELYDIFF, m_ELYIT, m_ELYGIT, m_ELYZL);
        });
    } else if (m_EXYIT == 2) {
        fehler.AUSFUEHREN([&] {
            XMAX = CheckedSingle(DivDouble((double(YMAX) - YMIN) * (double(m_ELX) - RL - RR),
                                           double(m_ELY) - RO - RU) +
                                 XMIN);
        });
        fehler.AUSFUEHREN([&] {
            ACHSWERTE(0, false, false, m_ESKTX, X, XMIN, XMAX, m_XWERTE, m_XLOGWERTE, NXIT, m_NXLOG,
                      NXGIT, NXZL, m_ELXMIN, m_ELXDIFF, m_ELXIT, m_ELXGIT, m_ELXZL);
        });
    }

    // The ends taken from the data are kept in the row.
    if (m_EBOXMIN) schreiben("XMIN", XMIN);
    if (m_EBOXMAX) schreiben("XMAX", XMAX);
    if (m_EBOYMIN) schreiben("YMIN", YMIN);
    if (m_EBOYMAX) schreiben("YMAX", YMAX);
    if (NR == 1 || NR == 2 || fehler.VERLASSEN()) return;

    // Logarithmic axes are laid out in decades.
    if (m_ESKTX == 1) {
        LOG10(XMIN, XMIN);
        LOG10(XMAX, XMAX);
    }
    if (m_ESKTY == 1) {
        LOG10(YMIN, YMIN);
        LOG10(YMAX, YMAX);
    }

    if (!(lesen("MYMX", MYMX) && lesen("MX", MX) && lesen("MY", MY))) return;
    // A drawing that only reads takes no scale of the row: its own are
    // computed anew, as after a reset of the row's.
    if (m_EBONURLESEN) MYMX = MX = MY = 0;
    if (!(MX != 0 && MY != 0)) {
        if (MX == 0)
            fehler.AUSFUEHREN([&] {
                MX = CheckedSingle(DivDouble(double(XMAX) - XMIN, double(m_ELX) - RL - RR));
            });
        if (MY == 0)
            fehler.AUSFUEHREN([&] {
                MY = CheckedSingle(DivDouble(double(YMAX) - YMIN, double(m_ELY) - RO - RU));
            });
        if (MYMX > 0)
            fehler.AUSFUEHREN([&] {
                // The axis that needs more units per millimetre keeps its
                // factor; the other follows the ratio.
                if (MX <= MY)
                    MX = CheckedSingle(DivDouble(MY, MYMX));
                else
                    MY = CheckedSingle(double(MX) * MYMX);
            });
        schreiben("MX", MX);
        schreiben("MY", MY);
    }
    daten.reset();
    if (fehler.VERLASSEN()) return;

    // A layout that cannot place a point is reported here once; the axes
    // and the curves of the figure then draw nothing.
    if (!LAYOUTGUELTIG()) {
        m_LAYOUTGEMELDET = true;
        fehler.MELDEN(RuntimeError::DivisionByZero());
        return;
    }

    BALKEN(fehler);
    if ((m_EXBALKEN && m_EXBALKEN->Visible()) || (m_EYBALKEN && m_EYBALKEN->Visible())) return;
    ACHSEN(fehler);
}

bool clsGRAFIK::LAYOUTGUELTIG() const {
    for (float wert : {XMIN, XMAX, YMIN, YMAX, MX, MY, RL, RR, RO, RU, XVERSCHIEBUNG, YVERSCHIEBUNG,
                       m_EXDL, m_EYDO, m_ELX, m_ELY})
        if (!std::isfinite(wert)) return false;
    return MX != 0 && MY != 0 && XMAX != XMIN && YMAX != YMIN;
}

void clsGRAFIK::BALKEN(FEHLERBOX& fehler) {
    // Shift of the plotted content for a range longer than the plot area:
    // at the bar's end the end of the range meets the far edge.
    const auto verschieben = [&](ScrollBar& balken, float laenge, float flaeche,
                                 float& verschiebung, bool waagrecht) {
        OutputObject& objekt = Objekt();
        const float breite =
            CheckedSingle(double(laenge) * 1.01 - (waagrecht ? double(RL) + RR : double(RO) + RU));
        const float bedarf = waagrecht ? CheckedSingle(DivDouble(double(XMAX) - XMIN, MX))
                                       : CheckedSingle(DivDouble(double(YMAX) - YMIN, MY));
        if (objekt.IsPictureBox()) {
            if (breite > bedarf) {
                balken.SetValue(0);
                balken.SetVisible(false);
            } else {
                if (waagrecht) {
                    balken.SetTop(objekt.ScaleHeight() - 5);
                    balken.SetLeft(0);
                    balken.SetWidth(objekt.ScaleWidth() - 5);
                    balken.SetHeight(5);
                } else {
                    balken.SetTop(0);
                    balken.SetLeft(objekt.ScaleWidth() - 5);
                    balken.SetWidth(5);
                    balken.SetHeight(objekt.ScaleHeight() - 5);
                }
                balken.SetMin(0);
                balken.SetMax(10000);
                const double gross =
                    Round(10000.0 * (1.0 - DivDouble(double(bedarf) - breite, bedarf)));
                balken.SetLargeChange(int(gross));
                balken.SetSmallChange(int(Round(gross / 50.0)));
                balken.SetVisible(true);
            }
        } else if (!objekt.IsPrinter()) {
            return;
        }
        const int wert = balken.Value();
        verschiebung =
            wert == 0 ? 0.0f : CheckedSingle(Round(wert / 10000.0, 3) * (double(flaeche) - bedarf));
    };
    if (m_EXBALKEN)
        fehler.AUSFUEHREN(
            [&] { verschieben(*m_EXBALKEN, m_ELX, m_ELX - RL - RR, XVERSCHIEBUNG, true); });
    if (m_EYBALKEN)
        fehler.AUSFUEHREN(
            [&] { verschieben(*m_EYBALKEN, m_ELY, m_ELY - RO - RU, YVERSCHIEBUNG, false); });
}
