#pragma once

// What the two output pages share: the page window itself, drawn on through
// a picture box of the kind Form as large as the main window's client area
// (header and footer), which the page scrolls when its window is smaller (a
// restored window stays within the client area); the two picture boxes of
// the figures side by side, the switches of the header and footer, and the
// page's handlers that are the same on both pages: header
// and footer, printing, the layout settings, the click on the page, the keys,
// the activation and the unload. A page adds its figures and its data.

#include "pages/AUSGABESEITE.h"

#include <QScrollArea>
#include <functional>
#include <memory>

class OutputObject;
class PictureBox;
class clsDATEN;
class clsGRAFIK;
class clsKOPFFUSS;
class clsTABELLE;

class SEITENFORM : public QScrollArea, public AUSGABESEITE {
    Q_OBJECT
public:
    ~SEITENFORM() override;

    // AUSGABESEITE
    QWidget* FORMULAR() override { return this; }
    void DRUCKEN() override;
    void KONTEXT(bool HBOKF, bool HBOKFS, int32_t FARBEMDI, int32_t FARBEPIC) override;
    QList<PictureBox*> BILDER() override;

    // The page's own key handler: Esc goes back to the start screen (panel
    // 15), Alt+Q quits, Ctrl+S, P, C, W and A press the panels 10 to 14.
    // The page sees the keys wherever its focus is.
    void Form_KeyDown(int KeyCode, int Shift);
    // The page became the active window: panel 14 goes.
    void Form_Activate();
    // A click on the page itself (not on its figures): the layout dialog.
    void Form_Click();
    // The records the page shows, as its header names them ("P-1", or
    // "P-1, P-2" on the page of a multiple evaluation).
    QString BESCHRIFTUNG() { return KENNZEICHNUNG().toStringList().join(QStringLiteral(", ")); }

    // The page as a surface (header and footer are drawn on it).
    PictureBox* FORM;

    bool HBOKF = true;
    bool HBOKFS = true;

signals:
    // The page's window has closed and the page is unloaded, whoever closed
    // it.
    void FENSTERGESCHLOSSEN();

protected:
    // name: the page's window name; drucktitel: the title of the printing's
    // error box.
    SEITENFORM(const QString& name, const QString& drucktitel, QWidget* parent);

    // A figure of the page as printing and redrawing call it, with the
    // offsets it takes on paper.
    struct FIGUR {
        std::function<void(int16_t OBJ, float XDL, float YDO)> zeichnen;
        float XDL = 0;
        float YDO = 0;
    };
    virtual QList<FIGUR> FIGUREN() = 0;
    // The identification and the comment line of the header.
    virtual QVariant KENNZEICHNUNG() = 0;
    virtual QString KOMMENTAR() = 0;
    // Releases the page's data-access and drawing objects.
    virtual void Form_Unload() = 0;

    // A picture box of the page, on the page's surface.
    PictureBox* NEUESBILD(const QString& name);
    // A data-access object of the page on a table, keyed to the first
    // active record.
    static std::unique_ptr<clsDATEN> DATENOBJEKT(const QString& tabelle);
    // Where a figure draws: OBJ 0 its picture box at the origin, 1 the
    // printer at the box's place on the page plus XDL, YDO mm (a diagram
    // there 150 x 138 mm).
    static void DIAGRAMMZIEL(clsGRAFIK& g, PictureBox* bild, int16_t OBJ, float XDL, float YDO);
    static void TABELLENZIEL(clsTABELLE& t, PictureBox* bild, int16_t OBJ, float XDL, float YDO);

    // While a table draws its body it places its scroll bar; a change of
    // the bar meanwhile is no scroll by the user.
    class TABELLENSPERRE {
    public:
        explicit TABELLENSPERRE(SEITENFORM& seite) : m_seite(seite), m_vorher(seite.m_tabelle) {
            seite.m_tabelle = true;
        }
        ~TABELLENSPERRE() { m_seite.m_tabelle = m_vorher; }

    private:
        SEITENFORM& m_seite;
        bool m_vorher;
    };
    bool TABELLEZEICHNET() const { return m_tabelle; }

    // Load steps 1 and 2: the page takes the main window's client area and
    // places its two picture boxes (left figure 145 x 130 mm at 15, 30; the
    // right one 95 mm wide beside it).
    void MAXIMIEREN();
    // The page's surface takes the size of the main window's client area.
    void FLAECHEANPASSEN(OutputObject& rahmen);
    void ANORDNEN(PictureBox* links, PictureBox* rechts);
    // Whether a drawing of a figure for the target OBJ may store its layout
    // row: on the screen, and not while the page prints. The redraw after a
    // sheet stores nothing either, so that a print never waits for another
    // writer of the copy.
    bool DARFSPEICHERN(int16_t OBJ) const { return OBJ == 0 && !m_druckt; }
    // Header and footer: OBJ 0 on the page (cleared first), 1 on the printer.
    void KOPFFUSSZEICHNEN(int16_t OBJ, QObject* AutoCADDatei = nullptr);
    // The figures again on the screen, each followed by DoEvents; stops
    // when the page is unloaded meanwhile.
    void BILDSCHIRMZEICHNEN();
    // The drawing of the load: header and footer, then the figures, events
    // running after each, the progress bar set to the next value of
    // `fortschritt` before each figure and to its last value at the end
    // (one value more than figures). False when the page was unloaded
    // meanwhile (the run ended in a box of a figure): the load stops.
    bool LADEZEICHNEN(const QList<int>& fortschritt);

    void keyPressEvent(QKeyEvent* taste) override;
    void closeEvent(QCloseEvent* ereignis) override;

    // The picture boxes of the page in its control order.
    QList<PictureBox*> m_bilder;

private:
    void ENTLADEN();
    // Presses panel `panel` for the page's key, unless that command of the
    // page is still running (Ctrl+C while the screenshot lets events run): it
    // does not start again inside itself.
    void PANELBEFEHL(int panel);

    QString m_drucktitel;
    std::unique_ptr<clsKOPFFUSS> m_kopffuss;
    bool m_entladen = false;
    // The page's window has closed (also a page loaded outside the list of
    // forms, as the tests load it).
    bool m_geschlossen = false;
    bool m_tabelle = false;
    // The page prints (its sheet, then the screen again).
    bool m_druckt = false;
    // The panels whose commands the page's keys run now, one bit each: the
    // one guard of every key command but printing's, whose guard is in the
    // print command.
    int m_laufend = 0;
};
