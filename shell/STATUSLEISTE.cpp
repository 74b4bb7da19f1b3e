#include "shell/STATUSLEISTE.h"

#include "platform/controls/StdFont.h"
#include "platform/controls/TWIPS.h"
#include "platform/runtime/MsgBox.h"

#include <QMouseEvent>
#include <algorithm>

namespace {
// Design widths in twips, panel 1 first.
constexpr int kBreiten[STATUSLEISTE::ANZAHL] = {2461, 1402, 318,  2064, 318,  1984, 12136, 2293,
                                                2293, 2293, 2293, 2293, 2293, 2293, 2293};
constexpr int kSpacer = 7;
} // namespace

PANEL::PANEL(int index, int breiteTwips, QWidget* parent)
    : QLabel(parent), m_index(index), m_breite(breiteTwips) {
    setObjectName(QStringLiteral("stbMAIN_Panel%1").arg(index));
    setTextFormat(Qt::PlainText);
    setMargin(2);
    SetBevel(sbrRaised);
}

void PANEL::SetText(const QString& text) {
    m_text = text;
    setText(msgbox::WholeWords(text));
}

void PANEL::mousePressEvent(QMouseEvent* event) {
    event->ignore();
}

void PANEL::mouseReleaseEvent(QMouseEvent* event) {
    event->ignore();
}

namespace {
constexpr int kAbstand = 2;
}

void PANELREIHE::Hinzufuegen(PANEL* panel, bool fuellt) {
    m_panels.push_back(panel);
    if (fuellt) {
        m_fuellt = panel;
        panel->setWordWrap(true);
    }
    panel->installEventFilter(this);
}

int PANELREIHE::Hoehe() const {
    // The spacer wraps its text: its height is that of one line, as the
    // others have.
    int hoehe = 0;
    for (const PANEL* panel : m_panels)
        if (panel != m_fuellt) hoehe = std::max(hoehe, panel->sizeHint().height());
    return hoehe;
}

int PANELREIHE::EigeneZeile() const {
    if (!m_fuellt || m_fuellt->isHidden() || m_fuellt->Text().isEmpty() || width() <= 0) return 0;
    int feste = 0;
    for (const PANEL* panel : m_panels)
        if (!panel->isHidden() && panel != m_fuellt) feste += panel->minimumWidth() + kAbstand;
    // The text on one line, with the panel's frame, margin and indent.
    const QFontMetrics metrik = m_fuellt->fontMetrics();
    const QMargins rand = m_fuellt->contentsMargins();
    const int noetig = metrik.horizontalAdvance(m_fuellt->Text()) + rand.left() + rand.right() +
                       2 * m_fuellt->margin() + metrik.horizontalAdvance(QLatin1Char('x'));
    if (noetig <= width() - feste) return 0;
    // At most four lines, however narrow the window.
    const int zeilen =
        std::min(m_fuellt->heightForWidth(width()),
                 4 * metrik.lineSpacing() + rand.top() + rand.bottom() + 2 * m_fuellt->margin());
    return std::max(Hoehe(), zeilen) + kAbstand;
}

QSize PANELREIHE::sizeHint() const {
    int breite = 0;
    for (const PANEL* panel : m_panels)
        if (!panel->isHidden() && panel != m_fuellt) breite += panel->minimumWidth() + kAbstand;
    return QSize(breite, Hoehe() + m_eigeneZeile);
}

QSize PANELREIHE::minimumSizeHint() const {
    return QSize(0, Hoehe() + m_eigeneZeile);
}

bool PANELREIHE::event(QEvent* event) {
    if (event->type() == QEvent::LayoutRequest) Anordnen();
    return QWidget::event(event);
}

bool PANELREIHE::eventFilter(QObject* objekt, QEvent* event) {
    // A panel shown or hidden moves the panels to its right.
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) {
        updateGeometry();
        Anordnen();
    }
    return QWidget::eventFilter(objekt, event);
}

void PANELREIHE::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Anordnen();
}

void PANELREIHE::Anordnen() {
    const int eigeneZeile = EigeneZeile();
    if (eigeneZeile != m_eigeneZeile) {
        // The status bar takes the row's new height.
        m_eigeneZeile = eigeneZeile;
        updateGeometry();
    }
    // The filling panel takes what the others leave of the row's width, or
    // the whole width above them.
    int feste = 0;
    for (const PANEL* panel : m_panels)
        if (!panel->isHidden() && panel != m_fuellt) feste += panel->minimumWidth() + kAbstand;
    const int oben = m_eigeneZeile;
    const int hoehe = std::max(0, height() - oben);
    int x = 0;
    for (PANEL* panel : m_panels) {
        if (panel->isHidden()) continue;
        const int breite = panel == m_fuellt ? std::max(0, width() - feste) : panel->minimumWidth();
        // The panels keep their places in the row while the spacer's text
        // stands above them.
        if (panel == m_fuellt && oben > 0)
            panel->setGeometry(0, 0, width(), oben - kAbstand);
        else
            panel->setGeometry(x, oben, breite, hoehe);
        x += breite + kAbstand;
    }
}

void PANEL::SetBevel(int bevel) {
    m_bevel = bevel;
    setFrameStyle(QFrame::Panel | (bevel == sbrInset ? QFrame::Sunken : QFrame::Raised));
}

STATUSLEISTE::STATUSLEISTE(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("stbMAIN"));
    setSizeGripEnabled(false);
    setFont(DesignFont(QStringLiteral("Arial"), 11.25));

    auto* reihe = new PANELREIHE(this);
    for (int i = 1; i <= ANZAHL; ++i) {
        auto* panel = new PANEL(i, kBreiten[i - 1], reihe);
        if (i != kSpacer) panel->setFixedWidth(PIXEL(kBreiten[i - 1], this));
        reihe->Hinzufuegen(panel, i == kSpacer);
        m_panels.push_back(panel);
    }
    addWidget(reihe, 1);
}

PANEL* STATUSLEISTE::Panels(int index) const {
    if (index < 1 || index > ANZAHL) return nullptr;
    return m_panels[size_t(index - 1)];
}

int STATUSLEISTE::PanelLinks(int index) const {
    const PANEL* panel = Panels(index);
    if (!panel) return 0;
    return panel->mapTo(this, QPoint(0, 0)).x();
}

int STATUSLEISTE::PanelBei(const QPoint& punkt) const {
    for (const PANEL* panel : m_panels) {
        if (!panel->Visible()) continue;
        const QPoint oben = panel->mapTo(this, QPoint(0, 0));
        if (punkt.x() >= oben.x() && punkt.x() <= oben.x() + panel->width() &&
            punkt.y() >= oben.y() && punkt.y() < oben.y() + panel->height())
            return panel->Index();
    }
    return 0;
}

void STATUSLEISTE::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QStatusBar::mousePressEvent(event);
        return;
    }
    m_gedrueckt = true;
    emit MAUSGEDRUECKT(event->position().toPoint());
    event->accept();
}

void STATUSLEISTE::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_gedrueckt) {
        QStatusBar::mouseReleaseEvent(event);
        return;
    }
    m_gedrueckt = false;
    event->accept();
    const int index = PanelBei(event->position().toPoint());
    // A press on one panel released over another (or none) leaves no panel
    // looking pressed: only the clicked one waits for its command's end.
    for (PANEL* panel : m_panels)
        if (panel->Index() != index) panel->SetBevel(PANEL::sbrRaised);
    if (index > 0) emit PANELGEKLICKT(index);
}
