#pragma once

#include <QString>

class QMdiArea;
class QWidget;

// Makes the output page of that name ("mdiSEITE1", "mdiMSEITE1") and loads
// it: the page becomes a child window of `bereich` (hidden until it is
// shown; none: a window of its own), joins the loaded forms, and its load
// handler builds it. A failure of the load handler reaches the caller; the
// page then stays loaded with what it has drawn. nullptr for a name that no
// page has.
QWidget* SEITELADEN(const QString& name, QMdiArea* bereich);
