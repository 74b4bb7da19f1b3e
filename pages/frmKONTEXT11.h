#pragma once

// The axis-range dialogs of the pages' diagrams: frmKONTEXT11 for figure 11
// of the page of one evaluation, frmKONTEXT110 for figure 110 of the page of
// a multiple evaluation. One design: they differ in the figure (the G0 row's
// IDOBJEKT), the record key of that row (the page's record for figure 11,
// the multiple-evaluation record 0 for figure 110) and the figure that OK has
// the active page draw again.
//
// The dialog shows the stored ranges of the figure's layout row as a start
// and a width per axis, picked from fixed lists; OK writes the chosen ranges
// (and scale factors 0, so that the figure follows them) and redraws the
// figure; Cancel writes and draws nothing. It is modal, owned by the main
// window, loaded afresh for every opening and unloaded (deleted) by OK and
// Cancel.

#include <QDialog>
#include <QVariant>
#include <cstdint>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class clsDATEN;

class frmKONTEXT11 : public QDialog {
    Q_OBJECT
public:
    // The dialog of figure 11 for the record `id` (the record of the page
    // that opens it). Runs the load handler.
    explicit frmKONTEXT11(int32_t id, QWidget* parent = nullptr);
    ~frmKONTEXT11() override;

    // Loads the dialog of figure `bild` (11 for the record `id`, 110 for the
    // multiple evaluation) and shows it modally; returns when it is unloaded.
    static void ZEIGEN(int16_t bild, int32_t id);

    // The figure identifier: 11 or 110.
    int16_t BILD() const { return m_bild; }

    QGroupBox* fraREITER;
    QLabel* lblXACHSE;
    QLabel* lblXMIN;
    QComboBox* cboXMIN;
    QLabel* lblDEX;
    QLabel* lblXDIFF;
    QComboBox* cboXDIFF;
    QLabel* lblYACHSE;
    QLabel* lblYMIN;
    QComboBox* cboYMIN;
    QLabel* lblDEY;
    QLabel* lblYDIFF;
    QComboBox* cboYDIFF;
    QGroupBox* fraSCHALTFLAECHEN;
    QPushButton* cmdOK;
    QPushButton* cmdABBRECHEN;

public slots:
    void cmdOK_Click();
    void cmdABBRECHEN_Click();

protected:
    frmKONTEXT11(int16_t bild, int32_t id, QWidget* parent);
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load(int32_t id);
    QVariant BILDWERT() const;
    // Selects the entry whose text equals the value's display text; without
    // one the list shows nothing.
    static void LISTENWAHL(QComboBox& liste, float wert);

    const int16_t m_bild;
    std::unique_ptr<clsDATEN> m_daten;
    bool m_zeile = false; // the figure's layout row was there when the dialog opened
    float XMIN = 0;
    float XMAX = 0;
    float YMIN = 0;
    float YMAX = 0;
};

class frmKONTEXT110 : public frmKONTEXT11 {
    Q_OBJECT
public:
    explicit frmKONTEXT110(QWidget* parent = nullptr);
};
