#include "pages/frmKONTEXT11.h"

#include "platform/database/Recordset.h"

#include "data/HAUPTFENSTER.h"
#include "data/clsDATEN.h"
#include "pages/AUSGABESEITE.h"
#include "platform/controls/Forms.h"
#include "platform/controls/TWIPS.h"
#include "platform/runtime/System.h"
#include "platform/runtime/Variant.h"
#include "platform/runtime/Zeichensatz.h"

#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <utility>

namespace {

// The entries of the start list of the x axis; the other lists are parts of it.
const QList<int>& EINTRAEGE()
{
    static const QList<int> eintraege{0,    5,    10,   15,    20,    25,    30,    35,    40,
                                      45,   50,   60,   70,    80,    90,    100,   150,   200,
                                      250,  300,  350,  400,   450,   500,   600,   700,   800,
                                      900,  1000, 1500, 2000,  2500,  5000,  7500,  10000, 15000,
                                      20000, 25000, 50000, 75000, 100000};
    return eintraege;
}

void FUELLEN(QComboBox& liste, int von, int bis)
{
    liste.clear();
    for (int wert : EINTRAEGE())
        if (wert >= von && wert <= bis) liste.addItem(QString::number(wert));
    // Filling selects the first entry; the stored ranges decide instead.
    liste.setCurrentIndex(-1);
}

// The number of the chosen entry; a list without a choice counts as 0.
float GEWAEHLT(const QComboBox& liste)
{
    return liste.currentIndex() < 0 ? 0.0f : liste.currentText().toFloat();
}

QLabel* BESCHRIFTUNG(QWidget* rahmen, const QString& name, const QString& text, double links,
                     double oben, bool fett = false)
{
    auto* label = new QLabel(text, rahmen);
    label->setObjectName(name);
    if (fett) {
        QFont schrift = label->font();
        schrift.setBold(true);
        label->setFont(schrift);
    }
    MoveTwips(label, links, oben);
    return label;
}

QComboBox* LISTE(QWidget* rahmen, const QString& name, double links, double oben)
{
    auto* liste = new QComboBox(rahmen);
    liste->setObjectName(name);
    // A drop-down list: the user picks an entry and cannot type.
    liste->setEditable(false);
    MoveTwips(liste, links, oben, 1005);
    return liste;
}

QPushButton* KNOPF(QWidget* rahmen, const QString& name, const QString& text, double links,
                   double oben)
{
    auto* knopf = new QPushButton(text, rahmen);
    knopf->setObjectName(name);
    MoveTwips(knopf, links, oben, 1600, 400);
    return knopf;
}

} // namespace

frmKONTEXT11::frmKONTEXT11(int32_t id, QWidget* parent) : frmKONTEXT11(11, id, parent) {}

frmKONTEXT11::frmKONTEXT11(int16_t bild, int32_t id, QWidget* parent)
    : QDialog(parent ? parent : frmMAIN().FENSTER()), m_bild(bild)
{
    setObjectName(bild == 110 ? QStringLiteral("frmKONTEXT110") : QStringLiteral("frmKONTEXT11"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    setWindowTitle(QStringLiteral("Kontextmenü Diagramm"));

    fraREITER = new QGroupBox(this);
    fraREITER->setObjectName(QStringLiteral("fraREITER"));
    MoveTwips(fraREITER, 120, 60, 3600, 2880);
    const QString delta(SymbolFontChar('D'));
    lblXACHSE = BESCHRIFTUNG(fraREITER, QStringLiteral("lblXACHSE"), QStringLiteral("x-Achse"), 360,
                             390, true);
    lblXMIN = BESCHRIFTUNG(fraREITER, QStringLiteral("lblXMIN"), QStringLiteral("Xmin"), 1110, 750);
    cboXMIN = LISTE(fraREITER, QStringLiteral("cboXMIN"), 1635, 675);
    lblDEX = BESCHRIFTUNG(fraREITER, QStringLiteral("lblDEX"), delta, 1260, 1140);
    lblXDIFF = BESCHRIFTUNG(fraREITER, QStringLiteral("lblXDIFF"), QStringLiteral("X"), 1380, 1155);
    cboXDIFF = LISTE(fraREITER, QStringLiteral("cboXDIFF"), 1635, 1095);
    lblYACHSE = BESCHRIFTUNG(fraREITER, QStringLiteral("lblYACHSE"), QStringLiteral("y-Achse"), 300,
                             1635, true);
    lblYMIN = BESCHRIFTUNG(fraREITER, QStringLiteral("lblYMIN"), QStringLiteral("Ymin"), 1110, 1995);
    cboYMIN = LISTE(fraREITER, QStringLiteral("cboYMIN"), 1635, 1935);
    lblDEY = BESCHRIFTUNG(fraREITER, QStringLiteral("lblDEY"), delta, 1290, 2400);
    lblYDIFF = BESCHRIFTUNG(fraREITER, QStringLiteral("lblYDIFF"), QStringLiteral("Y"), 1410, 2400);
    cboYDIFF = LISTE(fraREITER, QStringLiteral("cboYDIFF"), 1635, 2355);

    fraSCHALTFLAECHEN = new QGroupBox(this);
    fraSCHALTFLAECHEN->setObjectName(QStringLiteral("fraSCHALTFLAECHEN"));
    MoveTwips(fraSCHALTFLAECHEN, 120, 3000, 3600, 660);
    cmdOK = KNOPF(fraSCHALTFLAECHEN, QStringLiteral("cmdOK"), QStringLiteral("OK"), 120, 150);
    cmdABBRECHEN = KNOPF(fraSCHALTFLAECHEN, QStringLiteral("cmdABBRECHEN"),
                         QStringLiteral("Abbrechen"), 1880, 150);
    // Wide enough for the title: a window manager cuts a longer one.
    setFixedSize(std::max(PIXEL(3840, this), WindowTitleWidth(windowTitle())), PIXEL(3780, this));

    connect(cmdOK, &QPushButton::clicked, this, &frmKONTEXT11::cmdOK_Click);
    connect(cmdABBRECHEN, &QPushButton::clicked, this, &frmKONTEXT11::cmdABBRECHEN_Click);

    Forms::Load(this);
    Form_Load(id);
}

// Unload: the layout data-access object goes with the dialog.
frmKONTEXT11::~frmKONTEXT11() = default;

frmKONTEXT110::frmKONTEXT110(QWidget* parent) : frmKONTEXT11(110, 0, parent) {}

void frmKONTEXT11::ZEIGEN(int16_t bild, int32_t id)
{
    frmKONTEXT11* dialog = bild == 110 ? new frmKONTEXT110 : new frmKONTEXT11(id);
    // Deleted by OK, Cancel or closing (exec honours delete-on-close).
    dialog->exec();
}

void frmKONTEXT11::Form_Load(int32_t id)
{
    m_daten = std::make_unique<clsDATEN>();
    m_daten->ETABELLE(QStringLiteral("G0"));
    // The figure's own record: the page's record for figure 11, the
    // multiple evaluation's record 0 for figure 110.
    m_daten->ESPIDW(m_bild == 110 ? 0 : id);

    FUELLEN(*cboXMIN, 0, 100000);
    FUELLEN(*cboXDIFF, 5, 100000);
    FUELLEN(*cboYMIN, 0, 10000);
    FUELLEN(*cboYDIFF, 5, 10000);

    // A value that cannot be read stays 0 (the data object says why).
    for (auto [spalte, wert] : {std::pair{"XMIN", &XMIN}, {"XMAX", &XMAX}, {"YMIN", &YMIN},
                                {"YMAX", &YMAX}})
        m_daten->DTVS(QString::fromLatin1(spalte), *wert, QStringLiteral("IDOBJEKT"), BILDWERT());

    // Whether the figure has its row: only ranges read from it can be kept
    // without a write.
    try {
        m_zeile = !m_daten->DT(QStringLiteral("XMIN"), QStringLiteral("IDOBJEKT"), BILDWERT())
                       ->Eof();
    } catch (const std::exception&) {
        m_zeile = false;
    }

    LISTENWAHL(*cboXDIFF, XMAX - XMIN);
    LISTENWAHL(*cboXMIN, XMIN);
    LISTENWAHL(*cboYDIFF, YMAX - YMIN);
    LISTENWAHL(*cboYMIN, YMIN);
}

QVariant frmKONTEXT11::BILDWERT() const
{
    // The figure identifier goes into the key condition as a Single.
    return QVariant(float(m_bild));
}

void frmKONTEXT11::LISTENWAHL(QComboBox& liste, float wert)
{
    liste.setCurrentIndex(
        liste.findText(SingleText(wert), Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void frmKONTEXT11::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (isMinimized()) return;
    const QScreen* bildschirm = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!bildschirm) return;
    const QRect flaeche = bildschirm->geometry();
    move(flaeche.left() + int(flaeche.width() * 0.6), flaeche.top() + int(flaeche.height() * 0.1));
}

void frmKONTEXT11::cmdOK_Click()
{
    const float gelesen[4] = {XMIN, XMAX, YMIN, YMAX};
    XMIN = GEWAEHLT(*cboXMIN);
    YMIN = GEWAEHLT(*cboYMIN);
    XMAX = XMIN + GEWAEHLT(*cboXDIFF);
    YMAX = YMIN + GEWAEHLT(*cboYDIFF);

    // Scale factors 0 first, so that the figure follows the new ranges; a
    // missing row is made by the first write. Ranges as they were change
    // nothing: the figure is only drawn again, and the copy keeps no change.
    const bool gleich = m_zeile && gelesen[0] == XMIN && gelesen[1] == XMAX && gelesen[2] == YMIN &&
                        gelesen[3] == YMAX;
    if (!gleich)
        for (auto [spalte, wert] : {std::pair{"MX", 0.0f}, {"MY", 0.0f}, {"XMIN", XMIN},
                                    {"XMAX", XMAX}, {"YMIN", YMIN}, {"YMAX", YMAX}})
            m_daten->DVTS(QString::fromLatin1(spalte), wert, QStringLiteral("IDOBJEKT"),
                          BILDWERT());

    // The dialog is modal: the active child is the page that opened it.
    QPointer<frmKONTEXT11> selbst(this);
    if (AUSGABESEITE* seite = AKTIVESEITE()) seite->BILDZEICHNEN(m_bild);
    if (selbst) close();
}

void frmKONTEXT11::cmdABBRECHEN_Click()
{
    close();
}
