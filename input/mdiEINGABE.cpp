// The input window's controls, its load, resize and unload.

#include "input/mdiEINGABE.h"

#include "data/HAUPTFENSTER.h"
#include "data/clsDATEN.h"
#include "input/clsFLX.h"
#include "platform/controls/Forms.h"
#include "platform/controls/MSFlexGrid.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/StdFont.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QVariantList>

namespace {

QFont schrift(const QString& name, double punkte) {
    return DesignFont(name, punkte);
}

template <class T> T* benannt(T* steuerelement, const char* name) {
    steuerelement->setObjectName(QString::fromLatin1(name));
    return steuerelement;
}

QLabel* beschriftung(QWidget* behaelter, const char* name, const QString& text, int x, int y) {
    auto* label = benannt(new QLabel(text, behaelter), name);
    label->move(x, y);
    label->adjustSize();
    return label;
}

} // namespace

mdiEINGABE::mdiEINGABE(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("mdiEINGABE"));
    setWindowTitle(QStringLiteral("Eingabe"));
    STEUERELEMENTEANLEGEN();
}

mdiEINGABE::~mdiEINGABE() = default;

void mdiEINGABE::STEUERELEMENTEANLEGEN() {
    setFont(schrift(QStringLiteral("Arial"), 9));

    fraKEN = benannt(new QGroupBox(this), "fraKEN");
    fraKEN->setGeometry(20, 20, 620, 56);
    lblKEN = beschriftung(fraKEN, "lblKEN", QStringLiteral("Datensatz"), 12, 24);
    txtKEN = benannt(new QLineEdit(fraKEN), "txtKEN");
    txtKEN->setGeometry(90, 20, 200, 24);
    lblKOM = beschriftung(fraKEN, "lblKOM", QStringLiteral("Kommentar"), 310, 24);
    txtKOM = benannt(new QLineEdit(fraKEN), "txtKOM");
    txtKOM->setGeometry(390, 20, 218, 24);

    SSTab = benannt(new QTabWidget(this), "SSTab");
    SSTab->setFont(schrift(QStringLiteral("Arial Narrow"), 10));
    SSTab->setGeometry(20, 84, 620, 420);
    const QStringList reiter{QStringLiteral("Allgemeine Daten"), QString::fromUtf8("Meßwerte")};
    for (int i = 0; i < reiter.size(); ++i) {
        auto* seite = new QWidget;
        auto* rahmen = benannt(new QFrame(seite), "fraREITER");
        rahmen->setProperty("Index", i);
        rahmen->setFrameShape(QFrame::StyledPanel);
        rahmen->setGeometry(8, 8, 596, 370);
        // The controls on the pages keep the window's font; only the tabs
        // are narrow.
        rahmen->setFont(font());
        fraREITER.push_back(rahmen);
        SSTab->addTab(seite, reiter.at(i));
    }

    QFrame* allgemein = fraREITER[0];
    lblVG = beschriftung(allgemein, "lblVG", QStringLiteral("Versuchstyp"), 24, 34);
    cboVT = benannt(new QComboBox(allgemein), "cboVT");
    cboVT->addItems({QStringLiteral("Enslin"), QStringLiteral("Neff")});
    cboVT->setGeometry(220, 30, 130, 24);
    lblMS = beschriftung(allgemein, "lblMS", QStringLiteral("Feststoffmasse [g]"), 24, 74);
    txtMS = benannt(new QLineEdit(allgemein), "txtMS");
    txtMS->setGeometry(220, 70, 130, 24);
    lblDMAX =
        beschriftung(allgemein, "lblDMAX", QString::fromUtf8("Größtkorn d      [mm]"), 24, 114);
    // "max" as a subscript of the d, in the gap the caption leaves for it.
    lblINDEX = benannt(new QLabel(QStringLiteral("max"), allgemein), "lblINDEX");
    lblINDEX->setFont(schrift(QStringLiteral("Arial"), 6.5));
    lblINDEX->adjustSize();
    lblINDEX->move(24 + QFontMetrics(lblDMAX->font()).horizontalAdvance(QString::fromUtf8("Größtkorn d")) + 1,
                   114 + QFontMetrics(lblDMAX->font()).ascent() - lblINDEX->height() / 2);
    txtDMAX = benannt(new QLineEdit(allgemein), "txtDMAX");
    txtDMAX->setGeometry(220, 110, 130, 24);
    lblTMAX = beschriftung(allgemein, "lblTMAX", QStringLiteral("Bezugszeit [min]"), 24, 154);
    cboTMAX = benannt(new QComboBox(allgemein), "cboTMAX");
    cboTMAX->setEditable(true);
    cboTMAX->addItem(QStringLiteral("1440"));
    cboTMAX->setGeometry(220, 150, 130, 24);

    RASTERGRUPPEANLEGEN(fraREITER[1], 0);
}

void mdiEINGABE::RASTERGRUPPEANLEGEN(QWidget* behaelter, int Index) {
    auto* grid = benannt(new MSFlexGrid(behaelter), "msgFLX");
    grid->SetIndex(int16_t(Index));
    // Room for the six columns and the vertical scroll bar.
    grid->setGeometry(10, 10, 450, 350);
    // The designed shape: 2 rows, 6 columns, one of each fixed.
    grid->SetCols(6);
    msgFLX.push_back(grid);

    auto* bild = benannt(new PictureBox(behaelter), "picFLX");
    SetControlIndex(*bild, int16_t(Index));
    bild->SetFont(StdFont(QStringLiteral("Arial"), 10));
    picFLX.push_back(bild);

    auto* editor = benannt(new QLineEdit(behaelter), "txtFLX");
    SetControlIndex(*editor, int16_t(Index));
    editor->hide();
    txtFLX.push_back(editor);

    auto knopf = [&](std::vector<QPushButton*>& feld, const char* name, const QString& text,
                     int y) {
        auto* k = benannt(new QPushButton(text, behaelter), name);
        SetControlIndex(*k, int16_t(Index));
        k->setGeometry(470, y, 116, 28);
        feld.push_back(k);
        return k;
    };
    QPushButton* h = knopf(cmdH, "cmdH", QString::fromUtf8("Zeile einfügen"), 10);
    QPushButton* w = knopf(cmdW, "cmdW", QStringLiteral("Zeile entfernen"), 46);
    QPushButton* k = knopf(cmdK, "cmdK", QStringLiteral("Kopieren"), 94);
    QPushButton* e = knopf(cmdE, "cmdE", QString::fromUtf8("Einfügen"), 130);

    connect(grid, &MSFlexGrid::Click, this, [this, Index] { msgFLX_Click(Index); });
    connect(grid, &MSFlexGrid::DblClick, this, [this, Index] { msgFLX_DblClick(Index); });
    connect(grid, &MSFlexGrid::KeyPress, this,
            [this, Index](int taste) { msgFLX_KeyPress(Index, taste); });
    connect(grid, &MSFlexGrid::MouseDown, this,
            [this, Index](int, int, float x, float) { msgFLX_MouseDown(Index, x); });
    connect(grid, &MSFlexGrid::MouseUp, this,
            [this, Index](int, int, float, float) { msgFLX_MouseUp(Index); });
    connect(grid, &MSFlexGrid::MouseMove, this,
            [this, Index](int, int, float x, float y) { msgFLX_MouseMove(Index, x, y); });
    connect(grid, &MSFlexGrid::Scroll, this, [this, Index] { msgFLX_Scroll(Index); });
    bild->setMouseTracking(true);
    bild->installEventFilter(this);
    connect(h, &QPushButton::clicked, this, [this, Index] { cmdH_Click(Index); });
    connect(w, &QPushButton::clicked, this, [this, Index] { cmdW_Click(Index); });
    connect(k, &QPushButton::clicked, this, [this, Index] { cmdK_Click(Index); });
    connect(e, &QPushButton::clicked, this, [this, Index] { cmdE_Click(Index); });
}

void mdiEINGABE::RASTEREINRICHTEN(int Index) {
    clsFLX& flx = FLX(Index);
    flx.EFLX(msgFLX[size_t(Index)]);
    flx.ETXT(txtFLX[size_t(Index)]);
    flx.EPIC(picFLX[size_t(Index)]);
    // Each column as wide as its headings, at least 15 mm: a wider heading
    // ("[TT.MM.JJ]", "Wasservolumen") would run into its neighbour's.
    flx.ELSB(QVariantList{15, 20, 20, 15, 28, 15});
    flx.ELST1(QStringList{QStringLiteral("Lfd."), QStringLiteral("Datum"),
                          QStringLiteral("Uhrzeit"), QStringLiteral("Zeitdiff."),
                          QStringLiteral("Wasservolumen"), QStringLiteral("Temp.")});
    flx.ELST2(QStringList{QStringLiteral("Nr."), QStringLiteral("[TT.MM.JJ]"),
                          QStringLiteral("[hh:mm:ss]"), QStringLiteral("[min]"),
                          QString::fromUtf8("[cm³]"), QString::fromUtf8("[°C]")});
    flx.ELSTTT(QStringList{QString(), QString(), QString(), QString(), QString(), QString()});
    flx.ELSTYP(QVariantList{1, 4, 5, 6, 0, 0});
    flx.ELFORMAT(QStringList{QStringLiteral("#0"), QStringLiteral("dd/mm/yy"),
                             QStringLiteral("hh:mm:ss"), QStringLiteral("#0.0"),
                             QStringLiteral("#0.00"), QStringLiteral("#0.00")});
    flx.ELA(QVariantList{1, 2, 2, 2, 2, 2});
    flx.EDET(0);
    flx.SCHRIFTEINSTELLUNGEN(QString(), 10, false, false, false, 0);
    flx.BESCHRIFTEN();
}

void mdiEINGABE::Form_Load() {
    Forms::Load(this);
    // The grid editor's set-up reports its failures in boxes.
    const Forms::Busy beschaeftigt(this);
    m_SPRACHE = frmMAIN().SPRACHE();
    m_FLX.clear();
    for (size_t i = 0; i < msgFLX.size(); ++i)
        m_FLX.push_back(std::make_unique<clsFLX>());
    RASTEREINRICHTEN(0);

    m_E1 = std::make_unique<clsDATEN>();
    m_E1->ETABELLE(QStringLiteral("E1"));
    m_E2 = std::make_unique<clsDATEN>();
    m_E2->ETABELLE(QStringLiteral("E2"));
    m_E3 = std::make_unique<clsDATEN>();
    m_E3->ETABELLE(QStringLiteral("E3"));

    SSTab->setCurrentIndex(0);
    cboVT->setCurrentIndex(0);

    // Key preview: the window sees the keys of every control that can hold
    // the focus before the control does. A container that hands its focus
    // to another control (the tab control, an editable combo box's line)
    // never gets a key first and is not watched.
    for (QWidget* steuerelement : findChildren<QWidget*>())
        if (steuerelement->focusPolicy() != Qt::NoFocus && !steuerelement->focusProxy())
            steuerelement->installEventFilter(this);
    txtKEN->setFocus();
}

void mdiEINGABE::Form_Resize() {
    const QWidget* fenster = parentWidget() ? parentWidget() : this;
    if (fenster->isMinimized() || isMinimized()) return;
    SSTab->move((width() - SSTab->width()) / 2, int(1.5 * fraKEN->height()));
    fraKEN->move(SSTab->x(), SSTab->y() - int(1.15 * fraKEN->height()));
}

void mdiEINGABE::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void mdiEINGABE::Form_Unload() {
    m_FLX.clear();
    m_E1.reset();
    m_E2.reset();
    m_E3.reset();
}

void mdiEINGABE::closeEvent(QCloseEvent* event) {
    // The window asks nothing and never refuses; from now on it is unloaded
    // and checks no identifier any more. While code of the window runs (a
    // box of it waits when the session ends), its grid editors and
    // data-access objects stay for that code and go with the window.
    event->accept();
    if (!Forms::IsBusy(this)) Form_Unload();
    Forms::Closed(this);
}
