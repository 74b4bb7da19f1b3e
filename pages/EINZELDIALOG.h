#pragma once

// A modeless dialog of the main window that is loaded at most once: its
// first opening loads it, a later one finds the loaded one. It joins the
// loaded forms and is deleted when it closes (OK, Cancel, the close box).

#include "data/HAUPTFENSTER.h"
#include "platform/controls/Forms.h"

#include <QCloseEvent>
#include <QDialog>
#include <QPointer>

template <class DIALOG> class EINZELDIALOG : public QDialog {
public:
    // The loaded dialog, or nullptr.
    static DIALOG* GELADEN() { return static_cast<DIALOG*>(INSTANZ().data()); }
    // The loaded dialog; loaded now when there is none.
    static DIALOG* LADEN() { return GELADEN() ? GELADEN() : new DIALOG; }

protected:
    EINZELDIALOG(const QString& name, QWidget* parent)
        : QDialog(parent ? parent : frmMAIN().FENSTER())
    {
        setObjectName(name);
        setAttribute(Qt::WA_DeleteOnClose);
        setModal(false);
        INSTANZ() = this;
        Forms::Load(this);
    }

    // Key preview: the dialog's eventFilter sees the keys whichever of its
    // controls has the focus.
    void TASTENVORSCHAU()
    {
        installEventFilter(this);
        for (QWidget* kontrolle : findChildren<QWidget*>()) kontrolle->installEventFilter(this);
    }

    void closeEvent(QCloseEvent* event) override
    {
        QDialog::closeEvent(event);
        // Closed is unloaded, even before the deletion comes round.
        if (event->isAccepted() && INSTANZ() == this) INSTANZ() = nullptr;
    }

private:
    static QPointer<QDialog>& INSTANZ()
    {
        static QPointer<QDialog> instanz;
        return instanz;
    }
};
