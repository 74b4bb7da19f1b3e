#include "pages/AUSGABESEITE.h"

#include <QWidget>

AUSGABESEITE* ALSAUSGABESEITE(QWidget* fenster)
{
    return dynamic_cast<AUSGABESEITE*>(fenster);
}

const QList<QString>& SEITENPRAEFIXE()
{
    static const QList<QString> praefixe{QStringLiteral("mdiESEITE"), QStringLiteral("mdiSEITE"),
                                         QStringLiteral("mdiPSEITE"), QStringLiteral("mdiMSEITE")};
    return praefixe;
}

bool ISTSEITENNAME(const QString& name)
{
    for (const QString& praefix : SEITENPRAEFIXE())
        if (name.contains(praefix, Qt::CaseInsensitive)) return true;
    return false;
}
