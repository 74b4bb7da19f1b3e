#include "shell/DATENAUSTAUSCH.h"

#include <QDialog>

namespace {

std::function<void(QWidget*)>& ExpImp() {
    static std::function<void(QWidget*)> dialog;
    return dialog;
}

std::function<void(QWidget*)>& ExpInf() {
    static std::function<void(QWidget*)> dialog;
    return dialog;
}

// Until the exchange dialogs are built, an empty dialog under their caption
// stands in for them.
void leererDialog(QWidget* besitzer, const QString& titel) {
    QDialog dialog(besitzer);
    dialog.setObjectName(titel);
    dialog.setWindowTitle(titel);
    dialog.setModal(true);
    dialog.exec();
}

} // namespace

namespace DATENAUSTAUSCH {

void EXPIMP(QWidget* besitzer) {
    if (ExpImp())
        ExpImp()(besitzer);
    else
        leererDialog(besitzer, QStringLiteral("Export/Import"));
}

void EXPINF(QWidget* besitzer) {
    if (ExpInf())
        ExpInf()(besitzer);
    else
        leererDialog(besitzer, QStringLiteral("Export Informationssystem"));
}

void ERSETZEEXPIMP(std::function<void(QWidget*)> dialog) {
    ExpImp() = std::move(dialog);
}

void ERSETZEEXPINF(std::function<void(QWidget*)> dialog) {
    ExpInf() = std::move(dialog);
}

} // namespace DATENAUSTAUSCH
