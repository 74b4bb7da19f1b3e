#include "shell/AUSWAHLDIALOG.h"

#include "shell/frmAUSWAHL.h"

namespace {

std::function<void(QWidget*)>& Dialog() {
    static std::function<void(QWidget*)> dialog;
    return dialog;
}

} // namespace

namespace AUSWAHLDIALOG {

void ZEIGEN(QWidget* besitzer) {
    if (Dialog()) {
        Dialog()(besitzer);
        return;
    }
    frmAUSWAHL dialog(besitzer);
    dialog.exec();
}

void ERSETZEN(std::function<void(QWidget*)> dialog) {
    Dialog() = std::move(dialog);
}

} // namespace AUSWAHLDIALOG
