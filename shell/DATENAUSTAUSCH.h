#pragma once

// The data-exchange dialogs as the File menu shows them: modal, owned by the
// main window. Tests put their own in place; an empty function brings the
// real dialog back.

#include <functional>

class QWidget;

namespace DATENAUSTAUSCH {

// frmEXPIMP: copies records between this project and another one.
void EXPIMP(QWidget* besitzer);
// frmEXPINF: writes results into the information system.
void EXPINF(QWidget* besitzer);

void ERSETZEEXPIMP(std::function<void(QWidget*)> dialog);
void ERSETZEEXPINF(std::function<void(QWidget*)> dialog);

} // namespace DATENAUSTAUSCH
