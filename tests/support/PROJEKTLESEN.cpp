#include "support/PROJEKTLESEN.h"

#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/Variant.h"

#include <QStringList>

QString KENNUNGENLESEN(const QString& datenbank) {
    Connection verbindung(datenbank);
    Recordset zeilen(QStringLiteral("SELECT [KEN] FROM [E1] ORDER BY [ID]"), verbindung);
    QStringList kennungen;
    for (; !zeilen.Eof(); zeilen.MoveNext())
        kennungen << CStr(zeilen.Value(QStringLiteral("KEN")));
    return kennungen.join(QLatin1Char(','));
}

QString KOMMENTARLESEN(const QString& datenbank, int id) {
    Connection verbindung(datenbank);
    Recordset zeile(QStringLiteral("SELECT [KOM] FROM [E1] WHERE [ID]=?"), verbindung, {id});
    return zeile.Eof() ? QString() : CStr(zeile.Fields(0).Value());
}
