#include "pages/frmANZEIGEN.h"

#include "data/HAUPTFENSTER.h"
#include "pages/AUSGABESEITE.h"
#include "platform/controls/Forms.h"
#include "platform/controls/TWIPS.h"
#include "platform/runtime/Variant.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScreen>

namespace {

// A child window is shown, hidden and maximised through its MDI frame.
QWidget* RAHMEN(QWidget* form)
{
    return Forms::IsMdiChild(form) ? form->parentWidget() : form;
}

// A number as the user types it: in the user's notation, or with a point as
// the decimal mark whatever the locale.
bool ISTZAHL(const QString& text)
{
    double wert = 0;
    if (ParseNumberText(text, wert)) return true;
    bool ok = false;
    QLocale::c().toDouble(text.trimmed(), &ok);
    return ok;
}

} // namespace

frmANZEIGEN::frmANZEIGEN(QWidget* parent) : EINZELDIALOG(QStringLiteral("frmANZEIGEN"), parent)
{
    setWindowTitle(QStringLiteral("Anzeigen"));

    lblSEITEN[0] = new QLabel(QStringLiteral("Vorhandene Seiten:"), this);
    lblSEITEN[1] = new QLabel(this);
    QFont fett = lblSEITEN[1]->font();
    fett.setBold(true);
    lblSEITEN[1]->setFont(fett);
    lblSEITE = new QLabel(QStringLiteral("Anzeigen: "), this);
    txtSEITE = new QLineEdit(this);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdABBRECHEN = new QPushButton(QStringLiteral("Abbrechen"), this);
    lblSEITEN[0]->setObjectName(QStringLiteral("lblSEITEN0"));
    lblSEITEN[1]->setObjectName(QStringLiteral("lblSEITEN1"));
    lblSEITE->setObjectName(QStringLiteral("lblSEITE"));
    txtSEITE->setObjectName(QStringLiteral("txtSEITE"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdABBRECHEN->setObjectName(QStringLiteral("cmdABBRECHEN"));
    MoveTwips(lblSEITEN[0], 240, 300, 2500, -1);
    MoveTwips(lblSEITEN[1], 2820, 300, 600, -1);
    MoveTwips(lblSEITE, 240, 660, 2400, -1);
    MoveTwips(txtSEITE, 2670, 600, 615, 315);
    MoveTwips(cmdOK, 210, 1320, 1335, 375);
    MoveTwips(cmdABBRECHEN, 1710, 1320, 1335, 375);
    setFixedSize(PIXEL(3480, this), PIXEL(2040, this));
    // Enter presses OK (the default button); Esc is Cancel (keyPress below).
    cmdOK->setDefault(true);
    cmdABBRECHEN->setAutoDefault(false);

    connect(cmdOK, &QPushButton::clicked, this, &frmANZEIGEN::cmdOK_Click);
    connect(cmdABBRECHEN, &QPushButton::clicked, this, &frmANZEIGEN::cmdABBRECHEN_Click);
    // Esc is Cancel whichever control has the focus.
    TASTENVORSCHAU();

    Form_Load();
}

frmANZEIGEN::~frmANZEIGEN()
{
    // No focus change of the controls going may run the check any more.
    for (QWidget* kontrolle : findChildren<QWidget*>()) kontrolle->removeEventFilter(this);
}

void frmANZEIGEN::ZEIGEN()
{
    frmANZEIGEN* dialog = LADEN();
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void frmANZEIGEN::Form_Load()
{
    if (frmMAIN().SPRACHE() == 1) {
        setWindowTitle(QStringLiteral("Show"));
        lblSEITEN[0]->setText(QStringLiteral("Available Pages:"));
        lblSEITE->setText(QStringLiteral("Show Page Nr.: "));
        cmdABBRECHEN->setText(QStringLiteral("Cancel"));
    }
    // The pages are numbered by kind first, then in the order they loaded.
    m_seiten.clear();
    const QList<QWidget*> formen = Forms::All();
    for (const QString& praefix : SEITENPRAEFIXE())
        for (QWidget* form : formen)
            if (Forms::Name(form).contains(praefix, Qt::CaseInsensitive)) m_seiten.append(form);
    const QString aktiv = frmMAIN().AKTIVESKIND();
    for (qsizetype i = 0; i < m_seiten.size(); ++i)
        if (!aktiv.isEmpty() && Forms::Name(m_seiten[i]) == aktiv)
            txtSEITE->setText(QString::number(i + 1));
    lblSEITEN[1]->setText(QString::number(m_seiten.size()));
}

bool frmANZEIGEN::event(QEvent* ereignis)
{
    const bool ergebnis = EINZELDIALOG::event(ereignis);
    if (ereignis->type() == QEvent::WindowActivate) Form_Activate();
    return ergebnis;
}

void frmANZEIGEN::Form_Activate()
{
    const QScreen* bildschirm = screen() ? screen() : QGuiApplication::primaryScreen();
    if (bildschirm) {
        const QRect flaeche = bildschirm->geometry();
        const QRect rahmen = frameGeometry();
        move(flaeche.left() + int(flaeche.width() - 1.5 * rahmen.width()),
             flaeche.top() + flaeche.height() - 2 * rahmen.height());
    }
    txtSEITE->setFocus(Qt::OtherFocusReason);
    txtSEITE->setSelection(0, 1);
}

bool frmANZEIGEN::eventFilter(QObject* objekt, QEvent* ereignis)
{
    // Leaving the field within the dialog checks it; switching to another
    // window does not.
    if (objekt == txtSEITE && ereignis->type() == QEvent::FocusOut) {
        const Qt::FocusReason grund = static_cast<QFocusEvent*>(ereignis)->reason();
        if (grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason)
            txtSEITE_LostFocus();
    }
    if (ereignis->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(ereignis)->key() == Qt::Key_Escape) {
        cmdABBRECHEN_Click();
        return true;
    }
    return EINZELDIALOG::eventFilter(objekt, ereignis);
}

void frmANZEIGEN::txtSEITE_LostFocus()
{
    SEITENPRUEFEN();
}

void frmANZEIGEN::SEITENPRUEFEN()
{
    QString text = txtSEITE->text();
    if (!ISTZAHL(text)) text = QStringLiteral("1");
    // The leading number, read with a point, halves to the even neighbour:
    // "2.5" is 2 and "3.5" is 4 in every locale.
    double seite = Round(Val(text));
    const double anzahl = double(m_seiten.size());
    if (seite >= anzahl) seite = anzahl;
    if (seite < 1) seite = 1;
    m_seite = seite;
    txtSEITE->setText(QString::number(qint64(seite)));
}

void frmANZEIGEN::cmdOK_Click()
{
    SEITENPRUEFEN();
    const qsizetype gewaehlt = qsizetype(m_seite) - 1;
    // A chosen page that was closed meanwhile leaves every page as it is; a
    // closed page may still be on its way out.
    if (gewaehlt >= 0 && gewaehlt < m_seiten.size() && Forms::IsLoaded(m_seiten[gewaehlt])) {
        for (qsizetype i = 0; i < m_seiten.size(); ++i) {
            QWidget* seite = m_seiten[i];
            if (!Forms::IsLoaded(seite)) continue;
            if (i == gewaehlt)
                frmMAIN().SEITEZEIGEN(Forms::Name(seite));
            else
                RAHMEN(seite)->hide();
        }
    }
    close();
}

void frmANZEIGEN::cmdABBRECHEN_Click()
{
    close();
}
