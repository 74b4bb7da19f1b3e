#include "pages/SEITENFORM.h"

#include "data/HAUPTFENSTER.h"
#include "data/clsDATEN.h"
#include "drawing/VERSIONSINFO.h"
#include "drawing/clsGRAFIK.h"
#include "drawing/clsKOPFFUSS.h"
#include "drawing/clsTABELLE.h"
#include "pages/SEITENDIALOGE.h"
#include "platform/controls/Forms.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/PrinterTarget.h"
#include "platform/controls/ShiftState.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/System.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QKeyEvent>
#include <QScopedValueRollback>

namespace {
constexpr float kTwipsJeMm = 56.7f;
}

SEITENFORM::SEITENFORM(const QString& name, const QString& drucktitel, QWidget* parent)
    : QScrollArea(parent), m_drucktitel(drucktitel) {
    setObjectName(name);
    setWindowTitle(QString());
    setFont(QFont(QStringLiteral("Arial")));
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    // Beside a surface smaller than the window the page shows its window's
    // colour, as the page itself.
    viewport()->setBackgroundRole(QPalette::Window);
    FORM = new PictureBox(this, OutputObject::Kind::Form);
    FORM->setObjectName(name + QStringLiteral("_FORM"));
    FORM->SetName(name);
    FORM->Click = [this] { Form_Click(); };
    // The surface keeps its size; a smaller window scrolls it, the wheel
    // included, inside the page rather than the page in the client area.
    setWidget(FORM);
}

SEITENFORM::~SEITENFORM() {
    // The page's objects go with it even when it was never closed.
    m_kopffuss.reset();
}

QList<PictureBox*> SEITENFORM::BILDER() {
    return m_bilder;
}

PictureBox* SEITENFORM::NEUESBILD(const QString& name) {
    auto* bild = new PictureBox(FORM);
    bild->setObjectName(name);
    bild->SetName(name);
    return bild;
}

std::unique_ptr<clsDATEN> SEITENFORM::DATENOBJEKT(const QString& tabelle) {
    auto d = std::make_unique<clsDATEN>();
    d->ETABELLE(tabelle);
    return d;
}

namespace {
// The figure's output object and origin: its box at 0, 0, or the printer at
// the box's place on the page plus the offsets.
template <class OBJEKT>
void ursprung(OBJEKT& o, PictureBox* bild, int16_t OBJ, float XDL, float YDO) {
    if (OBJ == 0) {
        o.setEOBJEKT(bild);
        o.setEXDL(0);
        o.setEYDO(0);
    } else if (OBJ == 1) {
        o.setEOBJEKT(&Printer());
        o.setEXDL(bild->Left() / kTwipsJeMm + XDL);
        o.setEYDO(bild->Top() / kTwipsJeMm + YDO);
    }
}
} // namespace

void SEITENFORM::DIAGRAMMZIEL(clsGRAFIK& g, PictureBox* bild, int16_t OBJ, float XDL, float YDO) {
    ursprung(g, bild, OBJ, XDL, YDO);
    if (OBJ == 1) {
        g.setELX(150);
        g.setELY(138);
    }
}

void SEITENFORM::TABELLENZIEL(clsTABELLE& t, PictureBox* bild, int16_t OBJ, float XDL, float YDO) {
    ursprung(t, bild, OBJ, XDL, YDO);
    // The printer shows the rows the screen shows.
    t.setEYBALKEN(&bild->VScroll());
}

void SEITENFORM::MAXIMIEREN() {
    // The page takes the main window's client area: the surface of the page
    // keeps that size for its header and footer, whatever size the window
    // has meanwhile.
    if (OutputObject* rahmen = frmMAIN().RAHMENOBJEKT()) {
        if (!parentWidget()) resize(rahmen->PixelWidth(), rahmen->PixelHeight());
        FLAECHEANPASSEN(*rahmen);
    } else {
        FORM->setGeometry(rect());
    }
}

void SEITENFORM::FLAECHEANPASSEN(OutputObject& rahmen) {
    // In twips, so the surface takes its size at once, also while the page
    // is hidden (a hidden widget would only be resized when it shows). Its
    // place is the page's scrolling.
    FORM->SetWidth(rahmen.Width());
    FORM->SetHeight(rahmen.Height());
}

void SEITENFORM::ANORDNEN(PictureBox* links, PictureBox* rechts) {
    links->SetLeft(15 * kTwipsJeMm);
    links->SetTop(30 * kTwipsJeMm);
    links->SetWidth(145 * kTwipsJeMm);
    links->SetHeight(130 * kTwipsJeMm);
    rechts->SetLeft(15 * kTwipsJeMm + links->Width());
    rechts->SetTop(links->Top());
    rechts->SetWidth(95 * kTwipsJeMm);
    rechts->SetHeight(links->Height());
    // The figures draw in millimetres; the page lays them out in twips.
    for (PictureBox* bild : {links, rechts}) {
        bild->SetScaleMode(6);
        bild->setFocusPolicy(Qt::ClickFocus);
    }
}

void SEITENFORM::KOPFFUSSZEICHNEN(int16_t OBJ, QObject* /*AutoCADDatei*/) {
    ErrorHandler eh(QStringLiteral("VB-Fehler: "), QStringLiteral("Kopffusszeile"));
    if (OBJ == 0)
        eh.Run([&] {
            // The page follows the main window's client area it spans.
            if (OutputObject* rahmen = frmMAIN().RAHMENOBJEKT()) FLAECHEANPASSEN(*rahmen);
            FORM->Cls();
        });
    if (OBJ == 0 || OBJ == 1) eh.Run([&] { m_kopffuss = std::make_unique<clsKOPFFUSS>(); });
    if (!m_kopffuss) return;
    clsKOPFFUSS& k = *m_kopffuss;
    eh.Run([&] {
        if (OBJ == 1) {
            k.setAUSGABEOBJEKT(&Printer(), &Printer());
        } else {
            OutputObject* rahmen = frmMAIN().RAHMENOBJEKT();
            k.setAUSGABEOBJEKT(rahmen ? rahmen : FORM, FORM);
        }
    });
    eh.Run([&] { k.setBEARBEITER(frmMAIN().BEARBEITER()); });
    eh.Run([&] { k.setCOPYRIGHT(VERSIONSINFO::COPYRIGHT()); });
    eh.Run([&] { k.setEBOKFS(HBOKFS); });
    eh.Run([&] { k.setKENNZEICHNUNG(KENNZEICHNUNG()); });
    eh.Run([&] { k.setDATUM(QDateTime(QDate::currentDate(), QTime(0, 0))); });
    eh.Run([&] { k.setKOMMENTAR(KOMMENTAR()); });
    eh.Run([&] { k.setRANDABSTAND(15); });
    if (OBJ == 0) {
        eh.Run([&] { k.setRANDABSTAND(QStringLiteral("oben"), 7.5f); });
        eh.Run([&] { k.setRANDABSTAND(QStringLiteral("unten"), 7.5f); });
    }
    eh.Run([&] { k.setSEITE(1); });
    eh.Run([&] { k.setSEITENANZAHL(1); });
    eh.Run([&] { k.setPROGRAMMIERER(VERSIONSINFO::MARKEN()); });
    eh.Run([&] { k.setPROJEKT(frmMAIN().PROJEKT()); });
    eh.Run([&] { k.setUEBERSCHRIFT(VERSIONSINFO::PRODUKTNAME()); });
    eh.Run([&] { k.setSPRACHE(3); });
    eh.Run([&] { k.setUHRZEIT(QDateTime::currentDateTime()); });
    eh.Run([&] { k.KOPFFUSSZEILE(); });
}

void SEITENFORM::BILDSCHIRMZEICHNEN() {
    for (const FIGUR& figur : FIGUREN()) {
        if (!Forms::IsLoaded(this)) return;
        figur.zeichnen(0, 0, 0);
        DoEvents();
    }
}

bool SEITENFORM::LADEZEICHNEN(const QList<int>& fortschritt) {
    KOPFFUSSZEICHNEN(0);
    const QList<FIGUR> figuren = FIGUREN();
    for (qsizetype i = 0; i <= figuren.size(); ++i) {
        DoEvents();
        if (m_geschlossen) return false;
        frmMAIN().SETZEFORTSCHRITT(fortschritt.value(i));
        if (i < figuren.size()) figuren[i].zeichnen(0, 0, 0);
    }
    return true;
}

void SEITENFORM::DRUCKEN() {
    // An unloaded page prints nothing. That no print starts inside a print
    // (Ctrl+P or panel 11 again while this one lets events run) is the
    // print command's guard.
    if (!Forms::IsLoaded(this)) return;
    const Forms::Busy beschaeftigt(this);
    const QScopedValueRollback<bool> druck(m_druckt, true);
    // Without a printer no document is started and the page stays as it is.
    if (!DRUCKERBEREIT(m_drucktitel)) return;
    ErrorHandler eh(QStringLiteral("VB-Fehler: "), m_drucktitel);
    PrinterTarget& drucker = Printer();
    eh.Run([&] { drucker.SetScaleMode(6); });
    eh.Run([&] { drucker.SetPaperSize(9); });
    eh.Run([&] { drucker.SetOrientation(2); });
    if (HBOKF) eh.Run([&] { KOPFFUSSZEICHNEN(1); });
    eh.Run([&] { DoEvents(); });
    for (const FIGUR& figur : FIGUREN()) {
        if (!Forms::IsLoaded(this)) break;
        eh.Run([&] { figur.zeichnen(1, figur.XDL, figur.YDO); });
        eh.Run([&] { DoEvents(); });
    }
    // Unloaded while it printed (Esc, panel 15, the end of the run): the
    // sheet drawn so far is dropped, and the printer sees none of it; nothing
    // is drawn on a closed page.
    if (!Forms::IsLoaded(this)) {
        drucker.KillDoc();
        return;
    }
    // Only now does the sheet reach the printer, whole.
    eh.Run([&] { drucker.EndDoc(); });
    // Left through Cancel: the sheet is dropped, and nothing of it is
    // carried into the next print job; the screen is drawn again all the
    // same, as the figures drawn for paper took its drawing objects.
    if (eh.Left()) drucker.KillDoc();
    ErrorHandler bildschirm(QStringLiteral("VB-Fehler: "), m_drucktitel);
    if (HBOKF) bildschirm.Run([&] { KOPFFUSSZEICHNEN(0); });
    for (const FIGUR& figur : FIGUREN()) {
        if (!Forms::IsLoaded(this)) break;
        bildschirm.Run([&] { figur.zeichnen(0, 0, 0); });
        bildschirm.Run([&] { DoEvents(); });
    }
}

void SEITENFORM::KONTEXT(bool hbokf, bool hbokfs, int32_t FARBEMDI, int32_t FARBEPIC) {
    if (!Forms::IsLoaded(this)) return;
    const Forms::Busy beschaeftigt(this);
    FORM->SetBackColor(FARBEMDI);
    // A new background colour erases what is drawn in the box.
    for (PictureBox* bild : m_bilder) {
        bild->SetBackColor(FARBEPIC);
        bild->Cls();
    }
    HBOKF = hbokf;
    HBOKFS = hbokfs;
    FORM->Cls();
    if (HBOKF) KOPFFUSSZEICHNEN(0);
    BILDSCHIRMZEICHNEN();
}

void SEITENFORM::Form_Click() {
    LAYOUTUEBERGABE werte;
    werte.HBOKF = HBOKF;
    werte.HBOKFS = HBOKFS;
    werte.FARBEMDI = FORM->BackColor();
    if (!m_bilder.isEmpty()) werte.FARBEPIC = m_bilder.first()->BackColor();
    SEITENDIALOGE::LAYOUT(werte);
}

void SEITENFORM::Form_KeyDown(int KeyCode, int Shift) {
    const Forms::Busy beschaeftigt(this);
    if (KeyCode == 27) PANELBEFEHL(15);
    if (KeyCode == 81 && (Shift & 4)) frmMAIN().mnuBEENDEN_Click();
    if (Shift & 2) {
        switch (KeyCode) {
        case 83:
            PANELBEFEHL(10);
            break;
        case 80:
            PANELBEFEHL(11);
            break;
        case 67:
            PANELBEFEHL(12);
            break;
        case 87:
            PANELBEFEHL(13);
            break;
        case 65:
            PANELBEFEHL(14);
            break;
        default:
            break;
        }
    }
}

void SEITENFORM::PANELBEFEHL(int panel) {
    // A key pressed again while its command lets events run (the
    // screenshot) would start the command inside itself. Printing is
    // guarded by the print command alone, whose guard also holds against a
    // press of its panel while a page prints.
    const int bit = 1 << panel;
    if (panel != 11 && (m_laufend & bit)) return;
    const QScopedValueRollback<int> lauf(m_laufend, m_laufend | bit);
    frmMAIN().stbMAIN_PanelClick(panel);
}

void SEITENFORM::Form_Activate() {
    frmMAIN().SETZEPANELSICHTBAR(14, false);
}

void SEITENFORM::keyPressEvent(QKeyEvent* taste) {
    // The commands of the keys let events run: an Esc or panel 15 there
    // unloads the page, which must outlive this handler.
    const Forms::Busy beschaeftigt(this);
    // The figures and the scroll bar leave these keys to the page, wherever
    // the focus is on it.
    const int code = taste->key() == Qt::Key_Escape ? 27 : taste->key();
    Form_KeyDown(code, ShiftState(taste->modifiers()));
    QScrollArea::keyPressEvent(taste);
}

void SEITENFORM::ENTLADEN() {
    if (m_entladen) return;
    m_entladen = true;
    m_kopffuss.reset();
    Form_Unload();
}

void SEITENFORM::closeEvent(QCloseEvent* ereignis) {
    // The page asks nothing and never refuses. Closed through its own window
    // (close button, system menu, Ctrl+F4) it is unloaded as panel 15 does
    // it, so the next evaluation builds it afresh. While code of the page
    // runs, its objects stay for that code; they go with the page.
    ereignis->accept();
    m_geschlossen = true;
    if (!Forms::IsBusy(this)) ENTLADEN();
    Forms::Closed(this);
    emit FENSTERGESCHLOSSEN();
}
