#pragma once

#include <QList>
#include <QPointer>
#include <QString>

class QWidget;

// The program's loaded forms in the order they were loaded: the main window,
// the child windows and the dialogs, hidden ones included. A form is added
// when it loads and leaves the list when it is unloaded or destroyed; the
// page chooser, the print command and "back to the start screen" walk it.
namespace Forms {

// Adds a loaded form (once; a second call keeps its place). Its Name is its
// objectName.
void Load(QWidget* form);
// Closes the form as the user would (its close handler may refuse) and, when
// it closed, unloads it (Closed). Returns whether it was unloaded.
bool Unload(QWidget* form);
// The form's window has closed, by Unload or through the window itself (its
// close button, its system menu): the form is unloaded. It leaves the list
// at once, and its window (the form, or its MDI frame) is deleted later,
// once no code of the form runs any more (see Busy); a window without a
// parent (the main window) is left to its owner. Calling it again does
// nothing.
void Closed(QWidget* form);

// Marks code of a form as running while it lives: a handler that lets the
// event loop run or shows a modal dialog. An unload meanwhile takes effect
// at once (off the list, the window closed) except for the deletion, which
// waits until the outermost Busy of the form has ended. The running code
// asks IsLoaded after each turn of the event loop and stops when its form
// is gone.
class Busy {
public:
    explicit Busy(QWidget* form);
    ~Busy();
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    QPointer<QWidget> m_form;
};
// Whether code of the form runs (a Busy of it lives).
bool IsBusy(const QWidget* form);

QList<QWidget*> All();
int Count();
// Whether the form is on the list (loaded and not unloaded since).
bool IsLoaded(const QWidget* form);
QString Name(const QWidget* form);
// A child window of the main window's MDI area.
bool IsMdiChild(const QWidget* form);
// The first loaded form of this name, letter case ignored; none: nullptr.
QWidget* Find(const QString& name);

} // namespace Forms
