#pragma once

// mdiMSEITE1, the output page of a multiple evaluation: the curves of all
// active records in figure 110 (picBILD110); the table of their results with
// mean, standard deviation and coefficient of variation (figure 120) in
// picBILD120 with its scroll bar vscBILD120; header and footer on the page,
// naming every record. It is built completely while it loads.

#include "pages/SEITENFORM.h"

#include <memory>
#include <vector>

class ScrollBar;
class clsDATEN;
class clsGRAFIK;
class clsTABELLE;

class mdiMSEITE1 : public SEITENFORM {
    Q_OBJECT
public:
    explicit mdiMSEITE1(QWidget* parent = nullptr);
    ~mdiMSEITE1() override;

    // Reads the active records, the multiple evaluation's flag and comment,
    // and draws header, footer and both figures. No error handler: a
    // failure reaches the command that loads the page.
    void Form_Load();

    void BILD110(int16_t OBJ = 0, float XDL = 0, float YDO = 0, QObject* AutoCADDatei = nullptr);
    void BILD120(int16_t OBJ = 0, float XDL = 0, float YDO = 0);

    bool BILDZEICHNEN(int16_t bild) override;

    PictureBox* picBILD110;
    PictureBox* picBILD120;
    ScrollBar& vscBILD120();

    // The page's state after the load.
    bool BONEU = false;
    std::vector<int32_t> IDS; // the active records but 0, ascending
    std::vector<QString> KENS;
    QString KOM;
    float XMIN = 0, XMAX = 0, YMIN = 0, YMAX = 0;

protected:
    QList<FIGUR> FIGUREN() override;
    QVariant KENNZEICHNUNG() override;
    QString KOMMENTAR() override { return KOM; }
    void Form_Unload() override;

private:
    std::unique_ptr<clsDATEN> m_e1, m_e2, m_e3, m_a1, m_a2, m_m1, m_g0;
    std::unique_ptr<clsGRAFIK> m_bild110;
    std::unique_ptr<clsTABELLE> m_tabelle120;
};
