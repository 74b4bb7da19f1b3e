#pragma once

#include <QList>
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
// it closed, removes it from the list and deletes it later. Returns whether
// it was unloaded.
bool Unload(QWidget* form);

QList<QWidget*> All();
int Count();
QString Name(const QWidget* form);
// A child window of the main window's MDI area.
bool IsMdiChild(const QWidget* form);
// The first loaded form of this name, letter case ignored; none: nullptr.
QWidget* Find(const QString& name);

} // namespace Forms
