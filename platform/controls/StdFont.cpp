#include "platform/controls/StdFont.h"

#include <QFont>

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

QFont DesignFont(const QString& name, double points, bool bold) {
    QFont font(FontFamily(name));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}
