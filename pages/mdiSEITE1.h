#pragma once

// mdiSEITE1, the output page of one evaluation: figure 11 (the water uptake
// over time) in picBILD11; the table of the readings (figure 12) and the
// block of characteristic values with the framed result (figure 13) in
// picBILD12 with its scroll bar vscBILD12; header and footer on the page.
// It is built completely while it loads and draws again only on request.

#include "pages/SEITENFORM.h"

#include <memory>
#include <vector>

class OutputObject;
class ScrollBar;
class clsDATEN;
class clsGRAFIK;
class clsTABELLE;

class mdiSEITE1 : public SEITENFORM {
    Q_OBJECT
public:
    explicit mdiSEITE1(QWidget* parent = nullptr);
    ~mdiSEITE1() override;

    // Reads the active record and draws header, footer and the three
    // figures. No error handler: a failure reaches the command that loads
    // the page.
    void Form_Load();

    // OBJ 0 the screen, 1 the printer at the box's place plus XDL, YDO mm.
    void BILD11(int16_t OBJ = 0, float XDL = 0, float YDO = 0, QObject* AutoCADDatei = nullptr);
    void BILD12(int16_t OBJ = 0, float XDL = 0, float YDO = 0);
    void BILD13(int16_t OBJ = 0, float XDL = 0, float YDO = 0, QObject* AutoCADDatei = nullptr);

    bool BILDZEICHNEN(int16_t bild) override;

    PictureBox* picBILD11;
    PictureBox* picBILD12;
    ScrollBar& vscBILD12();

    // The page's state after the load, for its figures.
    bool BONEU = false;
    int32_t ID = 0;
    QString KEN, KOM;
    int16_t VT = 0;
    float DMAX = 0, MS = 0, TMAX = 0, VELD = 0;
    // The points of the curve: elapsed times and water uptakes.
    std::vector<float> DET, W;
    // The axis ranges of figure 11 as last drawn.
    float XMIN = 0, XMAX = 0, YMIN = 0, YMAX = 0;

    // The drawing objects the figures leave (the block reads the table's).
    clsGRAFIK* GRAFIK11() const { return m_bild11.get(); }
    clsTABELLE* TABELLE12() const { return m_tabelle12.get(); }

protected:
    QList<FIGUR> FIGUREN() override;
    QVariant KENNZEICHNUNG() override { return KEN; }
    QString KOMMENTAR() override { return KOM; }
    void Form_Unload() override;

private:
    void picBILD11_MouseDown(int16_t Button);
    void vscBILD12_Change();

    std::unique_ptr<clsDATEN> m_e1, m_e2, m_e3, m_a1, m_a2, m_g0;
    std::unique_ptr<clsGRAFIK> m_bild11, m_text13;
    std::unique_ptr<clsTABELLE> m_tabelle12;
};
