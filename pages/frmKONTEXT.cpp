#include "pages/frmKONTEXT.h"

#include "data/HAUPTFENSTER.h"
#include "pages/AUSGABESEITE.h"
#include "pages/SEITENDIALOGE.h"
#include "platform/controls/CheckBoxValue.h"
#include "platform/controls/Forms.h"
#include "platform/controls/KeyCodes.h"
#include "platform/controls/ShiftState.h"
#include "platform/controls/TWIPS.h"
#include "platform/runtime/System.h"
#include "platform/runtime/Variant.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace {

QFont SCHRIFT(const QWidget& vorlage, bool fett)
{
    QFont schrift = vorlage.font();
    schrift.setBold(fett);
    return schrift;
}

} // namespace

frmKONTEXT::frmKONTEXT(QWidget* parent) : EINZELDIALOG(QStringLiteral("frmKONTEXT"), parent)
{

    fraSKALEN = new QGroupBox(QStringLiteral("Seitenlayout"), this);
    fraSKALEN->setObjectName(QStringLiteral("fraSKALEN"));
    fraSKALEN->setFont(SCHRIFT(*this, true));
    MoveTwips(fraSKALEN, 120, 60, 3600, 2880);
    const QString farben[2] = {QStringLiteral("Seitenfarbe"), QStringLiteral("Pictureboxfarben")};
    for (int i = 0; i < 2; ++i) {
        cmdFARBEN[i] = new QPushButton(farben[i], fraSKALEN);
        cmdFARBEN[i]->setObjectName(QStringLiteral("cmdFARBEN%1").arg(i));
        cmdFARBEN[i]->setAutoDefault(false);
        MoveTwips(cmdFARBEN[i], 360, 480 + 600 * i, 2295, 375);
        connect(cmdFARBEN[i], &QPushButton::clicked, this, [this, i] { cmdFARBEN_Click(i); });
    }
    chkBOKF = new QCheckBox(QStringLiteral("Kopf / Fußzeile darstellen"), fraSKALEN);
    chkBOKF->setObjectName(QStringLiteral("chkBOKF"));
    chkBOKFS = new QCheckBox(QStringLiteral("Seitennummerierung darstellen"), fraSKALEN);
    chkBOKFS->setObjectName(QStringLiteral("chkBOKFS"));
    for (QWidget* kontrolle : fraSKALEN->findChildren<QWidget*>())
        kontrolle->setFont(SCHRIFT(*kontrolle, false));
    MoveTwips(chkBOKF, 240, 1680, 3200, -1);
    MoveTwips(chkBOKFS, 240, 2280, 3200, -1);
    // Both switches start checked; the hand-over's tags apply on the resize.
    chkBOKF->setCheckState(Qt::Checked);
    chkBOKFS->setCheckState(Qt::Checked);

    fraSCHALTFLAECHEN = new QGroupBox(this);
    fraSCHALTFLAECHEN->setObjectName(QStringLiteral("fraSCHALTFLAECHEN"));
    MoveTwips(fraSCHALTFLAECHEN, 120, 3000, 3600, 660);
    cmdOK = new QPushButton(QStringLiteral("OK"), fraSCHALTFLAECHEN);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    MoveTwips(cmdOK, 120, 150, 1600, 400);
    cmdABBRECHEN = new QPushButton(QStringLiteral("Abbrechen"), fraSCHALTFLAECHEN);
    cmdABBRECHEN->setObjectName(QStringLiteral("cmdABBRECHEN"));
    MoveTwips(cmdABBRECHEN, 1880, 150, 1600, 400);
    for (QPushButton* knopf : {cmdOK, cmdABBRECHEN}) knopf->setAutoDefault(false);
    setFixedSize(PIXEL(3840, this), PIXEL(3780, this));

    connect(chkBOKF, &QCheckBox::stateChanged, this, &frmKONTEXT::chkBOKF_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmKONTEXT::cmdOK_Click);
    connect(cmdABBRECHEN, &QPushButton::clicked, this, &frmKONTEXT::cmdABBRECHEN_Click);

    TASTENVORSCHAU();

    Form_Load();
}

frmKONTEXT::~frmKONTEXT()
{
    // The coupling must not run while the check boxes go.
    chkBOKF->disconnect(this);
}

void frmKONTEXT::UEBERGABE(const LAYOUTUEBERGABE& werte)
{
    frmKONTEXT* dialog = LADEN();
    SETZETAG(dialog->chkBOKF, werte.HBOKF ? QStringLiteral("1") : QStringLiteral("0"));
    SETZETAG(dialog->chkBOKFS, werte.HBOKFS ? QStringLiteral("1") : QStringLiteral("0"));
    dialog->cdlFARBEN[0].SetColor(werte.FARBEMDI);
    dialog->cdlFARBEN[1].SetColor(werte.FARBEPIC);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

QString frmKONTEXT::TAG(const QCheckBox* kontrollkaestchen)
{
    return kontrollkaestchen->property("Tag").toString();
}

void frmKONTEXT::SETZETAG(QCheckBox* kontrollkaestchen, const QString& text)
{
    kontrollkaestchen->setProperty("Tag", text);
}

void frmKONTEXT::Form_Load()
{
    // The active child is the page that opens the dialog; pages carry an
    // empty tag, so the caption ends in the blank.
    QWidget* kind = AKTIVESFENSTER();
    QString tag;
    if (AUSGABESEITE* seite = ALSAUSGABESEITE(kind))
        tag = seite->TAG();
    else if (kind)
        tag = kind->property("Tag").toString();
    setWindowTitle(QStringLiteral("Kontextmenü ") + tag);
    // Wide enough for the title: a window manager cuts a longer one.
    setFixedWidth(std::max(PIXEL(3840, this), WindowTitleWidth(windowTitle())));
}

void frmKONTEXT::resizeEvent(QResizeEvent* event)
{
    EINZELDIALOG::resizeEvent(event);
    if (!isMinimized()) {
        const QScreen* bildschirm = screen() ? screen() : QGuiApplication::primaryScreen();
        if (bildschirm) {
            const QPoint ecke = bildschirm->geometry().topLeft();
            move(ecke.x() + PIXEL(20 * 56.7, this), ecke.y() + PIXEL(35 * 56.7, this));
        }
    }
    SCHALTERLADEN();
}

void frmKONTEXT::SCHALTERLADEN()
{
    // chkBOKF first: unchecking it runs the coupling before chkBOKFS gets
    // its own value.
    for (QCheckBox* kontrollkaestchen : {chkBOKF, chkBOKFS}) {
        // The page hands over only 0 and 1; no other number is a check
        // box's value, and the box stays as it is.
        const double wert = Round(Val(TAG(kontrollkaestchen)));
        if (wert >= 0 && wert <= 2) SetCheckBoxValue(*kontrollkaestchen, int16_t(wert));
    }
}

void frmKONTEXT::chkBOKF_Click()
{
    // A grey chkBOKF leaves the numbering as it is.
    const int16_t wert = CheckBoxValue(*chkBOKF);
    if (wert == 0 || wert == 1) {
        chkBOKFS->setEnabled(wert == 1);
        SetCheckBoxValue(*chkBOKFS, wert);
    }
}

void frmKONTEXT::cmdFARBEN_Click(int index)
{
    cdlFARBEN[index].ShowColor(this);
}

void frmKONTEXT::cmdOK_Click()
{
    QPointer<frmKONTEXT> selbst(this);
    UEBERNEHMEN();
    // The page's redraw lets events run: the dialog may be gone by now.
    if (selbst) close();
}

void frmKONTEXT::UEBERNEHMEN()
{
    SetMousePointer(vbHourglass);
    int32_t FARBEMDI = cdlFARBEN[0].Color();
    int32_t FARBEPIC = cdlFARBEN[1].Color();
    // A grey check box counts as off.
    bool HBOKF = CheckBoxValue(*chkBOKF) == 1;
    bool HBOKFS = CheckBoxValue(*chkBOKFS) == 1;
    // The dialog is modeless: the active child at OK may be another page,
    // or no page at all, which has nothing to take the settings.
    if (AUSGABESEITE* seite = AKTIVESEITE()) seite->KONTEXT(HBOKF, HBOKFS, FARBEMDI, FARBEPIC);
    SetMousePointer(vbDefault);
}

void frmKONTEXT::cmdABBRECHEN_Click()
{
    close();
}

bool frmKONTEXT::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (ereignis->type() == QEvent::KeyPress) {
        auto* taste = static_cast<QKeyEvent*>(ereignis);
        int16_t KeyCode = KeyCodeOf(*taste);
        int16_t Shift = ShiftState(taste->modifiers());
        if (KeyCode != 0) {
            Form_KeyDown(KeyCode, Shift);
            if (KeyCode == 0) return true;
        }
    }
    return EINZELDIALOG::eventFilter(objekt, ereignis);
}

void frmKONTEXT::Form_KeyDown(int16_t& KeyCode, int16_t& Shift)
{
    const bool strg = (Shift & 2) != 0;
    switch (KeyCode) {
    case 13:
        KeyCode = 0;
        focusNextChild();
        break;
    case 83:
        if (!strg) break;
        KeyCode = 0;
        cmdOK_Click();
        break;
    case 81:
        if (!strg) break;
        KeyCode = 0;
        frmMAIN().mnuBEENDEN_Click();
        break;
    case 27:
        KeyCode = 0;
        cmdABBRECHEN_Click();
        break;
    case 112:
        KeyCode = 0;
        frmMAIN().mnuHILFE_Click();
        break;
    default:
        break;
    }
}
