#include "platform/database/Sql.h"

#include "platform/database/DatabaseError.h"
#include "platform/runtime/Variant.h"

#include <charconv>
#include <cmath>

QString SqlText(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

namespace {
template <typename Real> QString shortest(Real value) {
    if (std::isnan(value)) return QStringLiteral("NULL");
    if (std::isinf(value)) return value > 0 ? QStringLiteral("9e999") : QStringLiteral("-9e999");
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, int(result.ptr - buffer));
}
} // namespace

QString SqlNumber(double value) {
    return shortest(value);
}
QString SqlNumber(float value) {
    return shortest(value);
}
QString SqlNumber(qlonglong value) {
    return QString::number(value);
}
QString SqlNumber(int value) {
    return QString::number(value);
}
QString SqlBool(bool value) {
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

QString SqlValue(const QVariant& value) {
    if (IsEmpty(value) || IsNull(value)) return QStringLiteral("NULL");
    switch (value.typeId()) {
    case QMetaType::Bool:
        return SqlBool(value.toBool());
    case QMetaType::Float:
        return SqlNumber(value.toFloat());
    case QMetaType::Double:
        return SqlNumber(value.toDouble());
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return SqlNumber(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return QString::number(value.toULongLong());
    default:
        return SqlText(value.toString());
    }
}

QString SqlName(const QString& name) {
    if (name.contains(QLatin1Char(']')))
        throw DatabaseError::Make(DatabaseError::Command,
                                  QStringLiteral("invalid name: %1").arg(name));
    return QLatin1Char('[') + name + QLatin1Char(']');
}
