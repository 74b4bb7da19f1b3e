#include "pages/SEITENLADEN.h"

#include "pages/mdiMSEITE1.h"
#include "pages/mdiSEITE1.h"
#include "platform/controls/Forms.h"
#include "platform/controls/PictureBox.h"

#include <QAction>
#include <QEvent>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>
#include <QWindowStateChangeEvent>
#include <algorithm>

namespace {

// Reports the activation of a page's child window: when it becomes the active
// one while shown, and when it is shown as the active one (the MDI area
// makes a new child window active while it is still hidden).
class AKTIVIERUNG : public QObject {
public:
    AKTIVIERUNG(QMdiArea* bereich, QMdiSubWindow* fenster, SEITENFORM* seite)
        : QObject(seite), m_bereich(bereich), m_fenster(fenster), m_seite(seite) {
        fenster->installEventFilter(this);
        connect(bereich, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* aktiv) {
            if (aktiv == m_fenster && m_fenster->isVisible()) m_seite->Form_Activate();
        });
    }

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override {
        if (objekt == m_fenster && ereignis->type() == QEvent::Show &&
            m_bereich->activeSubWindow() == m_fenster)
            m_seite->Form_Activate();
        return QObject::eventFilter(objekt, ereignis);
    }

private:
    QMdiArea* m_bereich;
    QMdiSubWindow* m_fenster;
    SEITENFORM* m_seite;
};

// The frame's system menu closes the page with Ctrl+F4 alone: the
// platform's Close keys include Ctrl+W, which is the page's key for the
// word-processor document (panel 13), and the menu would take it before the
// page sees it.
void SCHLIESSENTASTE(QMdiSubWindow& fenster) {
    const QList<QKeySequence> schliessen = QKeySequence::keyBindings(QKeySequence::Close);
    if (QMenu* menu = fenster.systemMenu())
        for (QAction* aktion : menu->actions())
            if (!aktion->shortcuts().isEmpty() && aktion->shortcuts() == schliessen)
                aktion->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
}

// Restored, a page's window lies within the client area, its title bar and
// buttons in view, however the main window's size changed since.
void INNERHALB(QMdiSubWindow& fenster) {
    const QMdiArea* bereich = fenster.mdiArea();
    if (!bereich || fenster.isMaximized() || fenster.isMinimized()) return;
    const QRect flaeche = bereich->viewport()->rect();
    QRect lage = fenster.geometry();
    lage.setSize(lage.size().boundedTo(flaeche.size()));
    lage.moveTo(std::clamp(lage.x(), 0, flaeche.width() - lage.width()),
                std::clamp(lage.y(), 0, flaeche.height() - lage.height()));
    fenster.setGeometry(lage);
}

// Maximised, a page keeps its empty caption, and the main window its own;
// restored or minimised, its frame names the records the page shows, so that
// a minimised page is no blank icon. The title is set before the frame
// takes the new state: a maximised frame with a title would write it into
// the main window's caption.
class BESCHRIFTUNG : public QObject {
public:
    BESCHRIFTUNG(QMdiSubWindow* fenster, SEITENFORM* seite)
        : QObject(seite), m_fenster(fenster), m_seite(seite) {
        fenster->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override {
        // A state the frame only passes through on its way (an override)
        // changes no title.
        if (objekt == m_fenster && ereignis->type() == QEvent::WindowStateChange &&
            !static_cast<QWindowStateChangeEvent*>(ereignis)->isOverride()) {
            m_fenster->setWindowTitle(m_fenster->isMaximized() ? QString()
                                                               : m_seite->BESCHRIFTUNG());
            // The frame takes its restored place after this event.
            QTimer::singleShot(0, m_fenster, [fenster = m_fenster] { INNERHALB(*fenster); });
        }
        return QObject::eventFilter(objekt, ereignis);
    }

private:
    QMdiSubWindow* m_fenster;
    SEITENFORM* m_seite;
};

// Restored, a page's window shows the page as it is laid out (the surface
// that holds header, footer and figures), rather than the bare title bar a
// page without a layout of its own would get: as much of it as the client
// area holds, the rest reached by scrolling inside the page.
void NORMALGROESSE(QMdiSubWindow& fenster, SEITENFORM& seite) {
    fenster.ensurePolished();
    fenster.setGeometry(QRect(QPoint(0, 0), seite.FORM->size().grownBy(fenster.contentsMargins())));
    INNERHALB(fenster);
}

template <class SEITE> QWidget* laden(QMdiArea* bereich) {
    auto* seite = new SEITE;
    if (bereich) {
        QMdiSubWindow* fenster = bereich->addSubWindow(seite);
        // Closed through its frame, the page unloads itself and the frame
        // goes when the page's code has returned (Forms::Closed).
        fenster->setAttribute(Qt::WA_DeleteOnClose, false);
        SCHLIESSENTASTE(*fenster);
        new AKTIVIERUNG(bereich, fenster, seite);
    }
    Forms::Load(seite);
    // The load lets events run between its figures.
    const Forms::Busy beschaeftigt(seite);
    try {
        seite->Form_Load();
    } catch (...) {
        // The failure goes to the command that loaded the page; a page
        // built halfway must not stay loaded, or it would be shown, printed
        // and never loaded again.
        Forms::Unload(seite);
        throw;
    }
    if (auto* fenster = qobject_cast<QMdiSubWindow*>(seite->parentWidget())) {
        NORMALGROESSE(*fenster, *seite);
        new BESCHRIFTUNG(fenster, seite);
    }
    return seite;
}

} // namespace

QWidget* SEITELADEN(const QString& name, QMdiArea* bereich) {
    if (name.compare(QStringLiteral("mdiSEITE1"), Qt::CaseInsensitive) == 0)
        return laden<mdiSEITE1>(bereich);
    if (name.compare(QStringLiteral("mdiMSEITE1"), Qt::CaseInsensitive) == 0)
        return laden<mdiMSEITE1>(bereich);
    return nullptr;
}
