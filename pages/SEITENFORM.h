#pragma once

// What the two output pages share: the page window itself, drawn on through
// a picture box of the kind Form that fills it (header and footer), the two
// picture boxes of the figures side by side, the switches of the header and
// footer, and the page's handlers that are the same on both pages: header
// and footer, printing, the layout settings, the click on the page, the keys,
// the activation and the unload. A page adds its figures and its data.

#include "pages/AUSGABESEITE.h"

#include <QWidget>
#include <functional>
#include <memory>

class PictureBox;
class clsKOPFFUSS;

class SEITENFORM : public QWidget, public AUSGABESEITE {
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

    // The page as a surface (header and footer are drawn on it).
    PictureBox* FORM;

    bool HBOKF = true;
    bool HBOKFS = true;

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

    // Load steps 1 and 2: the page takes the main window's client area and
    // places its two picture boxes (left figure 145 x 130 mm at 15, 30; the
    // right one 95 mm wide beside it).
    void MAXIMIEREN();
    void ANORDNEN(PictureBox* links, PictureBox* rechts);
    // Header and footer: OBJ 0 on the page (cleared first), 1 on the printer.
    void KOPFFUSSZEICHNEN(int16_t OBJ, QObject* AutoCADDatei = nullptr);
    // The figures again on the screen, each followed by DoEvents.
    void BILDSCHIRMZEICHNEN();

    void keyPressEvent(QKeyEvent* taste) override;
    void closeEvent(QCloseEvent* ereignis) override;

    // The picture boxes of the page in its control order.
    QList<PictureBox*> m_bilder;

private:
    void ENTLADEN();

    QString m_drucktitel;
    std::unique_ptr<clsKOPFFUSS> m_kopffuss;
    bool m_entladen = false;
};
