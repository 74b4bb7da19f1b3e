#pragma once

// The page layout dialog: the page's background colour, its picture boxes'
// colour, and whether header and footer and the page numbering are drawn.
// It stores nothing: OK hands the four settings to the active page's KONTEXT.
//
// Modeless and one instance while it is open: the page's hand-over
// (UEBERGABE) loads it the first time and updates the open one on every
// later background click; only the first showing applies the switches
// handed over to the check boxes. OK and Cancel unload (delete) it.

#include "pages/EINZELDIALOG.h"
#include "platform/controls/ColorDialog.h"

#include <cstdint>

class QCheckBox;
class QGroupBox;
class QPushButton;
struct LAYOUTUEBERGABE;

class frmKONTEXT : public EINZELDIALOG<frmKONTEXT> {
    Q_OBJECT
public:
    // Runs the load handler (the caption from the active child's tag).
    explicit frmKONTEXT(QWidget* parent = nullptr);
    ~frmKONTEXT() override;

    // The page's hand-over: loads the dialog when it is not loaded, writes
    // the switches into the check boxes' tags and the colours into the two
    // colour dialogs, and shows it without making it modal.
    static void UEBERGABE(const LAYOUTUEBERGABE& werte);

    // The key handler, seen while any of the dialog's controls has the
    // focus: KeyCode as the runtime's key codes, Shift 1 Shift, 2 Ctrl, 4 Alt.
    // A key it acts on is set to 0.
    void Form_KeyDown(int16_t& KeyCode, int16_t& Shift);

    // A check box's tag text.
    static QString TAG(const QCheckBox* kontrollkaestchen);
    static void SETZETAG(QCheckBox* kontrollkaestchen, const QString& text);

    QGroupBox* fraSKALEN;
    QPushButton* cmdFARBEN[2];
    QCheckBox* chkBOKF;
    QCheckBox* chkBOKFS;
    QGroupBox* fraSCHALTFLAECHEN;
    QPushButton* cmdOK;
    QPushButton* cmdABBRECHEN;
    ColorDialog cdlFARBEN[2];

public slots:
    void chkBOKF_Click();
    void cmdFARBEN_Click(int index);
    void cmdOK_Click();
    void cmdABBRECHEN_Click();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void Form_Load();
    void SCHALTERLADEN();
    void UEBERNEHMEN();
};
