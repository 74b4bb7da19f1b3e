#pragma once

// The input window: one test record, its identifier and comment at the top,
// a tab control below with the general data (tab 0) and the readings grid
// (tab 1). The window stores nothing on its own: the shell's save panel
// calls OK with the record key, File, Open calls OEFFNEN. The grid is driven
// by a grid editor (clsFLX); the grid, its cell editor, its heading picture
// and its four buttons are element 0 of their control arrays, and every
// handler of that group works on the grid editor of the control's index.
//
// The window sees every key before its controls: the keypad decimal key
// types the locale's decimal separator, Alt+Q quits, Ctrl+S saves (panel 8),
// Ctrl+C and Ctrl+V copy and paste in the grid while the grid has the focus.

#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

class MSFlexGrid;
class PictureBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class clsDATEN;
class clsFLX;

class mdiEINGABE : public QWidget {
    Q_OBJECT
public:
    explicit mdiEINGABE(QWidget* parent = nullptr);
    ~mdiEINGABE() override;

    // Sets the window up: the language, the grid editor and its columns, the
    // data-access objects, tab 0 and "Enslin". The window registers itself
    // among the loaded forms.
    void Form_Load();

    // Stores the window into record AKTID (E1, E2, E3); true only when every
    // step succeeded. What a failed step leaves is the caller's to undo.
    bool OK(int32_t AKTID);
    // Loads record AKTID into the window.
    void OEFFNEN(int32_t AKTID);

    // A key seen by the window before its controls (KeyCode as the runtime
    // numbers keys, Shift 1 Shift, 2 Ctrl, 4 Alt). A key it takes as a
    // command comes back as KeyCode 0 and goes no further.
    void Form_KeyDown(int& KeyCode, int Shift);

    // The identifier check: false, after the message, when the identifier
    // holds blanks only or nothing.
    bool KENNUNGPRUEFEN();
    // Leaving txtKEN: Cancel keeps the focus there.
    void txtKEN_Validate(bool& Cancel);

    // The grid group's events, by the control's index.
    void msgFLX_Click(int Index);
    void msgFLX_DblClick(int Index);
    void msgFLX_KeyPress(int Index, int KeyAscii);
    void msgFLX_MouseDown(int Index, float X);
    void msgFLX_MouseUp(int Index);
    void msgFLX_MouseMove(int Index, float X, float Y);
    void msgFLX_Scroll(int Index);
    void txtFLX_KeyPress(int Index, int& KeyAscii);
    void picFLX_MouseMove(int Index, float X, float Y);
    void cmdH_Click(int Index);
    void cmdW_Click(int Index);
    void cmdK_Click(int Index);
    void cmdE_Click(int Index);

    // Commits a value still open in a cell editor into its cell (the cell
    // check, then the column's format) and refreshes the grid; false, after
    // the check's message, when the check refused it and the editor stays
    // open. True when no editor was open.
    bool ZELLEUEBERNEHMEN();

    void Form_Resize();

    // The grid editors, one per grid (here one).
    clsFLX& FLX(int Index) const { return *m_FLX.at(size_t(Index)); }

    // Controls.
    QGroupBox* fraKEN;
    QLabel* lblKEN;
    QLineEdit* txtKEN;
    QLabel* lblKOM;
    QLineEdit* txtKOM;
    QTabWidget* SSTab;
    std::vector<QFrame*> fraREITER;
    QLabel* lblVG;
    QComboBox* cboVT;
    QLabel* lblMS;
    QLineEdit* txtMS;
    QLabel* lblDMAX;
    QLabel* lblINDEX;
    QLineEdit* txtDMAX;
    QLabel* lblTMAX;
    QComboBox* cboTMAX;
    std::vector<MSFlexGrid*> msgFLX;
    std::vector<PictureBox*> picFLX;
    std::vector<QLineEdit*> txtFLX;
    std::vector<QPushButton*> cmdH;
    std::vector<QPushButton*> cmdW;
    std::vector<QPushButton*> cmdK;
    std::vector<QPushButton*> cmdE;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void STEUERELEMENTEANLEGEN();
    void RASTERGRUPPEANLEGEN(QWidget* behaelter, int Index);
    void RASTEREINRICHTEN(int Index);
    void Form_Unload();
    // The keypad decimal key on a control: the separator in its place.
    void DEZIMALTASTE(QObject* ziel);
    int rasterIndex(const QObject* steuerelement) const;
    // Loaded and not unloaded since: its grid editors are there for its code.
    bool geladen() const;

    std::vector<std::unique_ptr<clsFLX>> m_FLX;
    std::unique_ptr<clsDATEN> m_E1;
    std::unique_ptr<clsDATEN> m_E2;
    std::unique_ptr<clsDATEN> m_E3;
    int16_t m_SPRACHE = 3;
    bool m_pruefen = false;
    // The key press being handed from its control to the containers.
    const QEvent* m_taste = nullptr;
};
