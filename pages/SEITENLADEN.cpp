#include "pages/SEITENLADEN.h"

#include <QMdiArea>
#include <QWidget>

QWidget* SEITELADEN(const QString& /*name*/, QMdiArea* /*bereich*/) {
    return nullptr;
}
