#pragma once

// The selection dialog frmAUSWAHL as the record commands show it: modal,
// owned by the main window, after the command has written its mode letter
// into AUSWAHLMODUS. Tests put their own in place (one that stores a choice
// and answers "OK" or "Abbrechen"); an empty function brings the real
// dialog back.

#include <functional>

class QWidget;

namespace AUSWAHLDIALOG {

void ZEIGEN(QWidget* besitzer);
void ERSETZEN(std::function<void(QWidget*)> dialog);

} // namespace AUSWAHLDIALOG
