#include "platform/controls/StdFont.h"

QString FontFamily(const QString& name) {
    const QString key = name.trimmed().toLower();
    if (key.isEmpty() || key == QLatin1String("arial") || key == QLatin1String("symbol") ||
        key == QLatin1String("ms sans serif"))
        return QStringLiteral("Liberation Sans");
    if (key == QLatin1String("arial narrow")) return QStringLiteral("Liberation Sans Narrow");
    if (key == QLatin1String("times new roman")) return QStringLiteral("Liberation Serif");
    if (key == QLatin1String("courier new")) return QStringLiteral("Liberation Mono");
    return name;
}
