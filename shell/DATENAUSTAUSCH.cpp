#include "shell/DATENAUSTAUSCH.h"

#include "exchange/frmEXPIMP.h"
#include "exchange/frmEXPINF.h"

namespace {

std::function<void(QWidget*)>& ExpImp() {
    static std::function<void(QWidget*)> dialog;
    return dialog;
}

std::function<void(QWidget*)>& ExpInf() {
    static std::function<void(QWidget*)> dialog;
    return dialog;
}

} // namespace

namespace DATENAUSTAUSCH {

void EXPIMP(QWidget* besitzer) {
    if (ExpImp())
        ExpImp()(besitzer);
    else
        EXPIMPZEIGEN(besitzer);
}

void EXPINF(QWidget* besitzer) {
    if (ExpInf())
        ExpInf()(besitzer);
    else
        EXPINFZEIGEN(besitzer);
}

void ERSETZEEXPIMP(std::function<void(QWidget*)> dialog) {
    ExpImp() = std::move(dialog);
}

void ERSETZEEXPINF(std::function<void(QWidget*)> dialog) {
    ExpInf() = std::move(dialog);
}

} // namespace DATENAUSTAUSCH
