#include "shell/STATUSLEISTE.h"

#include "platform/controls/TWIPS.h"

#include <QHBoxLayout>
#include <QMouseEvent>

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
    // Mouse events belong to the status bar, which knows all panels.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PANEL::SetBevel(int bevel) {
    m_bevel = bevel;
    setFrameStyle(QFrame::Panel | (bevel == sbrInset ? QFrame::Sunken : QFrame::Raised));
}

STATUSLEISTE::STATUSLEISTE(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("stbMAIN"));
    setSizeGripEnabled(false);
    QFont schrift(QStringLiteral("Arial"));
    schrift.setPointSizeF(11.25);
    setFont(schrift);

    auto* traeger = new QWidget(this);
    auto* reihe = new QHBoxLayout(traeger);
    reihe->setContentsMargins(0, 0, 0, 0);
    reihe->setSpacing(2);
    for (int i = 1; i <= ANZAHL; ++i) {
        auto* panel = new PANEL(i, kBreiten[i - 1], traeger);
        if (i == kSpacer) {
            // The spacer gives way when the window is narrow.
            panel->setMinimumWidth(0);
            reihe->addWidget(panel, 1);
        } else {
            panel->setFixedWidth(PIXEL(kBreiten[i - 1], this));
            reihe->addWidget(panel);
        }
        m_panels.push_back(panel);
    }
    addWidget(traeger, 1);
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

int STATUSLEISTE::PanelBei(int x) const {
    for (const PANEL* panel : m_panels) {
        if (!panel->Visible()) continue;
        const int links = PanelLinks(panel->Index());
        if (x >= links && x <= links + panel->width()) return panel->Index();
    }
    return 0;
}

void STATUSLEISTE::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QStatusBar::mousePressEvent(event);
        return;
    }
    m_gedrueckt = true;
    emit MAUSGEDRUECKT(int(event->position().x()));
    event->accept();
}

void STATUSLEISTE::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_gedrueckt) {
        QStatusBar::mouseReleaseEvent(event);
        return;
    }
    m_gedrueckt = false;
    event->accept();
    const int index = PanelBei(int(event->position().x()));
    if (index > 0) emit PANELGEKLICKT(index);
}
