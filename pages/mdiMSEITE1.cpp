#include "pages/mdiMSEITE1.h"

#include "data/HAUPTFENSTER.h"
#include "data/clsDATEN.h"
#include "drawing/STATISTIK.h"
#include "drawing/clsGRAFIK.h"
#include "drawing/clsTABELLE.h"
#include "pages/SEITENDIALOGE.h"
#include "pages/WASSERDIAGRAMM.h"
#include "platform/controls/Forms.h"
#include "platform/controls/PictureBox.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/System.h"
#include "platform/runtime/Variant.h"

#include <QStringList>

namespace {
const QString kIDOBJEKT = QStringLiteral("IDOBJEKT");
} // namespace

mdiMSEITE1::mdiMSEITE1(QWidget* parent)
    : SEITENFORM(QStringLiteral("mdiMSEITE1"), QStringLiteral("Drucken von MSeite 1"), parent) {
    picBILD110 = NEUESBILD(QStringLiteral("picBILD110"));
    picBILD120 = NEUESBILD(QStringLiteral("picBILD120"));
    m_bilder = {picBILD120, picBILD110};
    // Any button on the diagram opens its axis ranges; the dialog is modal,
    // and the page outlives it.
    picBILD110->MouseDown = [this](int16_t, int16_t, float, float) {
        const Forms::Busy beschaeftigt(this);
        SEITENDIALOGE::ACHSEN(110, 0);
    };
    vscBILD120().Change = [this] {
        if (!TABELLEZEICHNET()) BILD120(0, 0, 0);
    };
}

mdiMSEITE1::~mdiMSEITE1() {
    vscBILD120().Change = nullptr;
    Form_Unload();
}

ScrollBar& mdiMSEITE1::vscBILD120() {
    return picBILD120->VScroll();
}

void mdiMSEITE1::Form_Load() {
    MAXIMIEREN();
    HBOKF = true;
    HBOKFS = true;
    ANORDNEN(picBILD110, picBILD120);
    frmMAIN().SETZEFORTSCHRITT(40);

    m_e1 = DATENOBJEKT(QStringLiteral("E1"));
    m_e2 = DATENOBJEKT(QStringLiteral("E2"));
    m_e3 = DATENOBJEKT(QStringLiteral("E3"));
    m_a1 = DATENOBJEKT(QStringLiteral("A1"));
    m_a2 = DATENOBJEKT(QStringLiteral("A2"));
    m_m1 = DATENOBJEKT(QStringLiteral("M1"));
    m_g0 = DATENOBJEKT(QStringLiteral("G0"));

    IDS.clear();
    KENS.clear();
    m_e1->LID(IDS, true);
    m_e1->LKEN(KENS, true);
    m_a1->ESPIDW(0);
    m_a1->DTVB(QStringLiteral("BONEU"), BONEU);
    m_m1->ESPID(QStringLiteral("IDM"));
    m_m1->ESPIDW(1);
    m_m1->DTVT(QStringLiteral("KOM"), KOM);
    // Without records the count is 0: the figures stay empty.
    KENS.resize(IDS.size());

    if (!LADEZEICHNEN({50, 75, 95})) return;
    BONEU = false;
}

QList<SEITENFORM::FIGUR> mdiMSEITE1::FIGUREN() {
    return {{[this](int16_t o, float x, float y) { BILD110(o, x, y); }, 5, 10},
            {[this](int16_t o, float x, float y) { BILD120(o, x, y); }, 15, 10}};
}

QVariant mdiMSEITE1::KENNZEICHNUNG() {
    // No records: an empty identification line, not a list without elements.
    if (KENS.empty()) return QString();
    return QStringList(KENS.begin(), KENS.end());
}

bool mdiMSEITE1::BILDZEICHNEN(int16_t bild) {
    if (bild != 110) return false;
    BILD110();
    return true;
}

void mdiMSEITE1::BILD110(int16_t OBJ, float XDL, float YDO, QObject* /*AutoCADDatei*/) {
    ErrorHandler eh(QStringLiteral("VB-Fehler: "), QStringLiteral("Bild 110"));
    if (OBJ == 0) eh.Run([&] { picBILD110->Cls(); });
    if (OBJ == 0 || OBJ == 1) eh.Run([&] { m_bild110 = std::make_unique<clsGRAFIK>(); });
    if (!m_bild110 || !m_g0) return;
    clsGRAFIK& g = *m_bild110;
    eh.Run([&] { m_g0->ESPIDW(0); });
    BILDLAYOUT layout(eh, *m_g0, g, 110, DARFSPEICHERN(OBJ), BONEU, true);
    eh.Run([&] {
        g.setEID(0);
        g.setEIDOBJEKT(110);
    });
    eh.Run([&] { DIAGRAMMZIEL(g, picBILD110, OBJ, XDL, YDO); });
    eh.Run([&] { DIAGRAMMACHSEN(g, BONEU); });
    eh.Run([&] { g.LINIENEINSTELLUNGEN(0, 0, 0); });
    eh.Run([&] { g.SCHRIFTEINSTELLUNGEN(QString(), 0, false, false, false, 0); });

    // The data range of all records; the curves are kept for the second pass.
    std::vector<std::vector<float>> zeiten(IDS.size()), aufnahmen(IDS.size());
    std::vector<float> x{0, 0}, y{0, 0};
    for (size_t p = 0; p < IDS.size(); ++p) {
        eh.Run([&] {
            m_e3->ESPIDW(IDS[p]);
            m_a2->ESPIDW(IDS[p]);
            KURVE(MESSREIHELESEN(*m_e3, *m_a2, false), zeiten[p], aufnahmen[p]);
            for (size_t j = 0; j < zeiten[p].size(); ++j) {
                if (zeiten[p][j] > x[1]) x[1] = zeiten[p][j];
                if (aufnahmen[p][j] > y[1]) y[1] = aufnahmen[p][j];
            }
        });
    }
    eh.Run([&] { x[1] = x[1] + 1; });
    eh.Run([&] { g.SKALEN(-1, x, y); });
    layout.ENDE();
    eh.Run([&] {
        m_g0->DTVS(QStringLiteral("YMIN"), YMIN, kIDOBJEKT, int16_t(110));
        m_g0->DTVS(QStringLiteral("YMAX"), YMAX, kIDOBJEKT, int16_t(110));
        m_g0->DTVS(QStringLiteral("XMIN"), XMIN, kIDOBJEKT, int16_t(110));
        m_g0->DTVS(QStringLiteral("XMAX"), XMAX, kIDOBJEKT, int16_t(110));
    });
    eh.Run([&] { y = {YMAX, YMIN}; });

    for (size_t p = 0; p < IDS.size(); ++p) {
        // Seven styles by position, for every position.
        const int16_t index = int16_t(p % 7);
        eh.Run([&] {
            // POLYGON may rewrite its label: the stored identifier stays.
            QString kennung = KENS[p];
            g.POLYGON(clsGRAFIK::SINGLEFELD(zeiten[p]), clsGRAFIK::SINGLEFELD(aufnahmen[p]),
                      MARKENZAHL(zeiten[p].size()), index, 0, kennung, 3, 0, true);
        });
        float tmax = 0;
        eh.Run([&] {
            m_e2->ESPIDW(IDS[p]);
            m_e2->DTVS(QStringLiteral("TMAX"), tmax);
        });
        eh.Run([&] {
            x = {tmax, tmax};
            g.POLYGON(clsGRAFIK::SINGLEFELD(x), clsGRAFIK::SINGLEFELD(y), 0, 0, 0, QString(), 0, 0,
                      false);
        });
        eh.Run([&] {
            float xp = 0, yp = 0;
            g.KOORDTRANS(tmax, YMIN, xp, yp);
            g.TEXT(xp + 1.5f - g.EXDL(), yp - 0.5f - g.EYDO(), Format(tmax, QStringLiteral("#0")),
                   2, 0, 0, 2);
        });
    }
}

void mdiMSEITE1::BILD120(int16_t OBJ, float XDL, float YDO) {
    ErrorHandler eh(QStringLiteral("VB-Fehler: "), QStringLiteral("Bild 120"));
    if (OBJ == 0) eh.Run([&] { picBILD120->Cls(); });
    if (OBJ == 0 || OBJ == 1) eh.Run([&] { m_tabelle120 = std::make_unique<clsTABELLE>(); });
    if (!m_tabelle120 || !m_e2) return;
    clsTABELLE& t = *m_tabelle120;
    eh.Run([&] { TABELLENZIEL(t, picBILD120, OBJ, XDL, YDO); });
    eh.Run([&] {
        t.setERZ(1);
        t.setELSB(clsTABELLE::LISTE({17, 13, 13, 13, 14, 14}));
        t.setELGIT(clsTABELLE::LISTE({1, 1, 1, 1, 1}));
        t.setELGITLEER(clsTABELLE::LISTE({0, 0, 0, 0, 0, 0}));
        t.setEZA(1);
        t.setELA(clsTABELLE::LISTE({0, 0, 2, 2, 2, 2}));
        t.setELFORMAT(clsTABELLE::LISTE({QVariant(), QVariant(), QStringLiteral("0.00"),
                                         QStringLiteral("0.00"), QStringLiteral("0"),
                                         QStringLiteral("0.0")}));
        t.setERO(7);
        t.setERU(25);
    });
    // d max is a grain size: millimetres.
    TABELLENZELLEN kopf(6, 2);
    eh.Run([&] {
        const char* zeile1[] = {"Datensatz", "V.typ", "d{t,3}max", "m{t,1}s", "t{t,3}max", "w{t,3}max"};
        const char* zeile2[] = {"", "", "[mm]", "[g]", "[min]", "[%]"};
        for (int s = 0; s < 6; ++s) {
            kopf(s, 0) = QString::fromUtf8(zeile1[s]);
            if (*zeile2[s]) kopf(s, 1) = QString::fromUtf8(zeile2[s]);
        }
    });
    const int anzahl = int(IDS.size());
    TABELLENZELLEN rumpf(6, anzahl);
    std::vector<float> ergebnisse(size_t(anzahl), 0.0f);
    for (int i = 0; i < anzahl; ++i) {
        eh.Run([&] {
            m_e2->ESPIDW(IDS[size_t(i)]);
            m_a1->ESPIDW(IDS[size_t(i)]);
        });
        eh.Run([&] { rumpf(0, i) = KENS[size_t(i)]; });
        eh.Run([&] {
            QVariant vt;
            m_e2->DTVV(QStringLiteral("VT"), vt);
            rumpf(1, i) = VERSUCHSTYP(vt);
        });
        eh.Run([&] {
            m_e2->DTVV(QStringLiteral("DMAX"), rumpf(2, i));
            m_e2->DTVV(QStringLiteral("MS"), rumpf(3, i));
            m_e2->DTVV(QStringLiteral("TMAX"), rumpf(4, i));
            m_a1->DTVV(QStringLiteral("VELD"), rumpf(5, i));
        });
        // A record without a result counts with 0.
        eh.Run([&] {
            const QVariant& w = rumpf(5, i);
            ergebnisse[size_t(i)] = IsEmpty(w) || IsNull(w) ? 0.0f : CSng(w);
        });
    }
    float mittel = 0, abweichung = 0;
    QVariant variation;
    eh.Run([&] { STATISTIK(ergebnisse, mittel, abweichung, variation); });
    TABELLENZELLEN statistik(6, 3);
    eh.Run([&] {
        statistik(0, 0) = QStringLiteral("Mittelwert");
        statistik(0, 1) = QStringLiteral("Stand.abw.");
        statistik(0, 2) = QStringLiteral("Var.koeff.");
        statistik(5, 0) = mittel;
        statistik(5, 1) = abweichung;
        // A mean of 0 has no coefficient of variation.
        statistik(5, 2) = IsEmpty(variation) ? QVariant(QStringLiteral("-")) : variation;
    });
    eh.Run([&] { t.LINIENEINSTELLUNGEN(0, 0, 0); });
    eh.Run([&] { t.SCHRIFTEINSTELLUNGEN(QString(), 8, false, false, false, 0); });
    eh.Run([&] { t.TABELLE(kopf, 0); });
    eh.Run([&] {
        TABELLENSPERRE sperre(*this);
        t.TABELLE(rumpf, 1);
    });
    eh.Run([&] { t.TABELLE(statistik, 2); });
}

void mdiMSEITE1::Form_Unload() {
    m_e1.reset();
    m_e2.reset();
    m_e3.reset();
    m_a1.reset();
    m_a2.reset();
    m_m1.reset();
    m_g0.reset();
}
