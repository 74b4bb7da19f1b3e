#include "pages/mdiSEITE1.h"

#include "data/HAUPTFENSTER.h"
#include "data/clsDATEN.h"
#include "drawing/FEHLERBOX.h"
#include "drawing/clsGRAFIK.h"
#include "drawing/clsTABELLE.h"
#include "pages/SEITENDIALOGE.h"
#include "pages/WASSERDIAGRAMM.h"
#include "platform/controls/Forms.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/PrinterTarget.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/System.h"
#include "platform/runtime/Variant.h"


namespace {
constexpr float kTwipsJeMm = 56.7f;
const QString kFehler = QStringLiteral("VB-Fehler: ");
const QString kIDOBJEKT = QStringLiteral("IDOBJEKT");
} // namespace

mdiSEITE1::mdiSEITE1(QWidget* parent)
    : SEITENFORM(QStringLiteral("mdiSEITE1"), QStringLiteral("Drucken von Seite 1"), parent) {
    picBILD11 = NEUESBILD(QStringLiteral("picBILD11"));
    picBILD12 = NEUESBILD(QStringLiteral("picBILD12"));
    // In the page's control order the table's box comes first.
    m_bilder = {picBILD12, picBILD11};
    picBILD11->MouseDown = [this](int16_t Button, int16_t, float, float) {
        picBILD11_MouseDown(Button);
    };
    vscBILD12().Change = [this] { vscBILD12_Change(); };
}

mdiSEITE1::~mdiSEITE1() {
    vscBILD12().Change = nullptr;
    Form_Unload();
}

ScrollBar& mdiSEITE1::vscBILD12() {
    return picBILD12->VScroll();
}

void mdiSEITE1::Form_Load() {
    MAXIMIEREN();
    ANORDNEN(picBILD11, picBILD12);
    HBOKF = true;
    HBOKFS = true;

    m_e1 = DATENOBJEKT(QStringLiteral("E1"));
    m_e2 = DATENOBJEKT(QStringLiteral("E2"));
    m_e3 = DATENOBJEKT(QStringLiteral("E3"));
    m_a1 = DATENOBJEKT(QStringLiteral("A1"));
    m_a2 = DATENOBJEKT(QStringLiteral("A2"));
    m_g0 = DATENOBJEKT(QStringLiteral("G0"));

    m_e1->DTVL(QStringLiteral("ID"), ID);
    m_e1->DTVT(QStringLiteral("KEN"), KEN);
    m_e1->DTVT(QStringLiteral("KOM"), KOM);
    m_a1->DTVB(QStringLiteral("BONEU"), BONEU);
    m_e2->DTVI(QStringLiteral("VT"), VT);
    m_e2->DTVS(QStringLiteral("DMAX"), DMAX);
    m_e2->DTVS(QStringLiteral("MS"), MS);
    m_e2->DTVS(QStringLiteral("TMAX"), TMAX);
    KURVE(MESSREIHELESEN(*m_e3, *m_a2, false), DET, W);
    m_a1->DTVS(QStringLiteral("VELD"), VELD);

    if (!LADEZEICHNEN({50, 65, 80, 95})) return;
    BONEU = false;
}

QList<SEITENFORM::FIGUR> mdiSEITE1::FIGUREN() {
    return {{[this](int16_t o, float x, float y) { BILD11(o, x, y); }, 5, 10},
            {[this](int16_t o, float x, float y) { BILD12(o, x, y); }, 15, 10},
            {[this](int16_t o, float x, float y) { BILD13(o, x, y); }, 15, 10}};
}

bool mdiSEITE1::BILDZEICHNEN(int16_t bild) {
    if (bild != 11) return false;
    BILD11();
    return true;
}

void mdiSEITE1::BILD11(int16_t OBJ, float XDL, float YDO, QObject* /*AutoCADDatei*/) {
    ErrorHandler eh(kFehler, QStringLiteral("Bild 11"));
    if (OBJ == 0) eh.Run([&] { picBILD11->Cls(); });
    if (OBJ == 0 || OBJ == 1) eh.Run([&] { m_bild11 = std::make_unique<clsGRAFIK>(); });
    if (!m_bild11 || !m_g0) return;
    clsGRAFIK& g = *m_bild11;
    BILDLAYOUT layout(eh, *m_g0, g, 11, DARFSPEICHERN(OBJ), BONEU, false);
    eh.Run([&] {
        g.setEID(ID);
        g.setEIDOBJEKT(11);
    });
    eh.Run([&] { DIAGRAMMZIEL(g, picBILD11, OBJ, XDL, YDO); });
    eh.Run([&] { DIAGRAMMACHSEN(g, BONEU); });
    eh.Run([&] { g.LINIENEINSTELLUNGEN(0, 0, 0); });
    eh.Run([&] { g.SCHRIFTEINSTELLUNGEN(QString(), 0, false, false, false, 0); });
    if (BONEU)
        eh.Run([&] { g.SKALEN(-1, DET, W); });
    else
        eh.Run([&] { g.SKALEN(0); });
    layout.ENDE();
    eh.Run([&] {
        m_g0->DTVS(QStringLiteral("YMIN"), YMIN, kIDOBJEKT, int16_t(11));
        m_g0->DTVS(QStringLiteral("YMAX"), YMAX, kIDOBJEKT, int16_t(11));
        m_g0->DTVS(QStringLiteral("XMIN"), XMIN, kIDOBJEKT, int16_t(11));
        m_g0->DTVS(QStringLiteral("XMAX"), XMAX, kIDOBJEKT, int16_t(11));
    });
    eh.Run([&] {
        g.POLYGON(clsGRAFIK::SINGLEFELD(DET), clsGRAFIK::SINGLEFELD(W), MARKENZAHL(DET.size()), 0,
                  0, QString(), 0, 0, false);
    });
    std::vector<float> x(2), y(2);
    eh.Run([&] {
        x = {TMAX, TMAX};
        y = {YMAX, YMIN};
        g.POLYGON(clsGRAFIK::SINGLEFELD(x), clsGRAFIK::SINGLEFELD(y), 0, 0, 0, QString(), 0, 0,
                  false);
    });
    eh.Run([&] {
        x = {XMAX, XMIN};
        y = {VELD, VELD};
        g.POLYGON(clsGRAFIK::SINGLEFELD(x), clsGRAFIK::SINGLEFELD(y), 0, 0, 0, QString(), 0, 0,
                  false);
    });
    eh.Run([&] {
        g.KOORDTRANS(TMAX, YMIN, x[0], y[0]);
        g.TEXT(x[0] + 1.5f - g.EXDL(), y[0] - 0.5f - g.EYDO(), Format(TMAX, QStringLiteral("#0")),
               2, 0, 0, 2);
    });
    eh.Run([&] {
        g.KOORDTRANS(XMAX, VELD, x[0], y[0]);
        g.TEXT(x[0] - 1.0f - g.EXDL(), y[0] - 0.5f - g.EYDO(),
               Format(VELD, QStringLiteral("#0.0")), 2, 0, 2, 2);
    });
}

void mdiSEITE1::BILD12(int16_t OBJ, float XDL, float YDO) {
    ErrorHandler eh(kFehler, QStringLiteral("Bild 12"));
    if (OBJ == 0) eh.Run([&] { picBILD12->Cls(); });
    if (OBJ == 0 || OBJ == 1) eh.Run([&] { m_tabelle12 = std::make_unique<clsTABELLE>(); });
    if (!m_tabelle12 || !m_e3) return;
    clsTABELLE& t = *m_tabelle12;
    eh.Run([&] { TABELLENZIEL(t, picBILD12, OBJ, XDL, YDO); });
    eh.Run([&] {
        t.setERZ(1);
        t.setELSB(clsTABELLE::LISTE({11, 18, 18, 18, 18}));
        t.setELGIT(clsTABELLE::LISTE({2, 1, 1, 2}));
        t.setELGITLEER(clsTABELLE::LISTE({0, 0, 0, 0, 0}));
        t.setEZA(1);
        t.setELA(clsTABELLE::LISTE({1, 3, 3, 3, 3}));
        t.setELFORMAT(clsTABELLE::LISTE({QVariant(), QStringLiteral("##0.0"),
                                         QStringLiteral("0.00"), QStringLiteral("0.00"),
                                         QStringLiteral("0.00")}));
        t.setERO(23);
        t.setERU(20);
    });
    TABELLENZELLEN kopf(5, 2);
    eh.Run([&] {
        const char* zeile1[] = {"Lfd.", "{g,1}Dt", "V", "Temp.", "w"};
        const char* zeile2[] = {"Nr.", "[min]", "[cm³]", "[°C]", "[%]"};
        for (int s = 0; s < 5; ++s) {
            kopf(s, 0) = QString::fromUtf8(zeile1[s]);
            kopf(s, 1) = QString::fromUtf8(zeile2[s]);
        }
    });
    TABELLENZELLEN rumpf;
    eh.Run([&] {
        const MESSREIHE r = MESSREIHELESEN(*m_e3, *m_a2, true);
        rumpf = TABELLENZELLEN(5, int(r.n) + 1);
        for (int i = 0; i <= r.n; ++i) {
            rumpf(0, i) = r.I1[size_t(i)];
            rumpf(1, i) = r.DET[size_t(i)];
            rumpf(2, i) = r.V[size_t(i)];
            const QVariant& temp = r.TEMP[size_t(i)];
            // No reading, no temperature or one of 0: no temperature.
            rumpf(3, i) = IsEmpty(temp) || CDbl(temp) == 0.0 ? QVariant(QStringLiteral("-")) : temp;
            rumpf(4, i) = r.W[size_t(i)];
        }
    });
    eh.Run([&] { t.LINIENEINSTELLUNGEN(0, 0, 0); });
    eh.Run([&] { t.SCHRIFTEINSTELLUNGEN(QString(), 0, false, false, false, 0); });
    eh.Run([&] { t.TABELLE(kopf, 0); });
    eh.Run([&] {
        TABELLENSPERRE sperre(*this);
        t.TABELLE(rumpf, 1);
    });
}

void mdiSEITE1::BILD13(int16_t OBJ, float XDL, float YDO, QObject* /*AutoCADDatei*/) {
    ErrorHandler eh(kFehler, QStringLiteral("Bild 13"));
    if (OBJ == 0 || OBJ == 1) eh.Run([&] { m_text13 = std::make_unique<clsGRAFIK>(); });
    if (!m_text13) return;
    clsGRAFIK& g = *m_text13;
    eh.Run([&] { g.setEIDOBJEKT(13); });
    eh.Run([&] { g.setEOBJEKT(picBILD12); });
    if (OBJ == 0) {
        eh.Run([&] {
            g.setEOBJEKT(picBILD12);
            g.setEXDL(0);
            g.setEYDO(0);
        });
    } else if (OBJ == 1) {
        eh.Run([&] {
            g.setEOBJEKT(&Printer());
            g.setEXDL(picBILD12->Left() / kTwipsJeMm + XDL);
            g.setEYDO(picBILD12->Top() / kTwipsJeMm + YDO);
            g.setELX(picBILD12->Width() / kTwipsJeMm);
            g.setELY(picBILD12->Height() / kTwipsJeMm);
        });
    }
    eh.Run([&] { g.SCHRIFTEINSTELLUNGEN(QString(), 8, false, false, false, 0); });
    struct Zeile {
        float y;
        const char* text;
        std::function<QString()> wert;
    };
    // d max is a grain size: millimetres.
    const Zeile zeilen[] = {
        {3, "Versuchstyp", [&] { return VERSUCHSTYP(VT); }},
        {7, "d{t,3}max [mm]", [&] { return Format(DMAX, QStringLiteral("#0.00")); }},
        {11, "m{t,1}s [g]", [&] { return Format(MS, QStringLiteral("#0.00")); }},
        {15, "t{t,3}max [min]", [&] { return Format(TMAX, QStringLiteral("#0")); }},
    };
    for (const Zeile& z : zeilen) {
        eh.Run([&] { g.TEXT(3, z.y, QString::fromUtf8(z.text), 2, 0, 0, 0); });
        eh.Run([&] { g.TEXT(27, z.y, z.wert(), 2, 0, 0, 0); });
    }
    eh.Run([&] { g.SCHRIFTEINSTELLUNGEN(QString(), 10, false, false, false, 0); });
    float oben = 0;
    eh.Run([&] {
        if (!m_tabelle12) throw OBJEKTVARIABLEFEHLT();
        oben = m_tabelle12->ERO() + m_tabelle12->HOEHE();
    });
    const QString wert = Format(VELD, QStringLiteral("#0.0"));
    eh.Run([&] {
        g.TEXT(30, oben + 9, QStringLiteral("w{t,3}max = ") + wert + QStringLiteral(" [%]"), 2, 0,
               0, 0);
    });
    eh.Run([&] {
        OutputObject& objekt = *g.EOBJEKT();
        const float w = objekt.TextWidth(QStringLiteral("wmax = ") + wert + QStringLiteral(" [%]"));
        const float x = 28 + g.EXDL();
        const float y = oben + 7 + g.EYDO();
        objekt.Line(x, y, x + w + 3, y + 9, std::nullopt, OutputObject::LineForm::Box);
    });
}

void mdiSEITE1::picBILD11_MouseDown(int16_t Button) {
    // The dialog is modal: the page outlives it.
    const Forms::Busy beschaeftigt(this);
    if (Button == 2) SEITENDIALOGE::ACHSEN(11, ID);
}

void mdiSEITE1::vscBILD12_Change() {
    if (TABELLEZEICHNET()) return;
    // The table alone clears the box: the block of characteristic values
    // and the result follow it.
    BILD12(0, 0, 0);
    BILD13(0, 0, 0);
}

void mdiSEITE1::Form_Unload() {
    m_e1.reset();
    m_e2.reset();
    m_e3.reset();
    m_a1.reset();
    m_a2.reset();
    m_g0.reset();
}
