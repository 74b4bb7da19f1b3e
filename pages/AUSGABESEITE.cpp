#include "pages/AUSGABESEITE.h"

#include "data/HAUPTFENSTER.h"
#include "platform/controls/Forms.h"
#include "platform/controls/PrinterTarget.h"
#include "platform/runtime/MsgBox.h"

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

QWidget* AKTIVESFENSTER()
{
    const QString name = frmMAIN().AKTIVESKIND();
    return name.isEmpty() ? nullptr : Forms::Find(name);
}

AUSGABESEITE* AKTIVESEITE()
{
    return ALSAUSGABESEITE(AKTIVESFENSTER());
}

bool DRUCKERBEREIT(const QString& titel)
{
    if (!PrinterTarget::InstalledPrinters().isEmpty()) return true;
    MsgBox(frmMAIN().SPRACHE() == 1 ? QStringLiteral("No printer is installed!")
                                    : QStringLiteral("Es ist kein Drucker installiert!"),
           vbOKOnly + vbExclamation, titel);
    return false;
}
