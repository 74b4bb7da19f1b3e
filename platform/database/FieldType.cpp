#include "platform/database/FieldType.h"

#include "platform/database/DatabaseError.h"
#include "platform/runtime/Variant.h"

#include <QByteArray>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <sqlite3.h>

FieldType FieldTypeFromDeclared(const char* declared) {
    if (!declared) return FieldType::Unknown;
    const QByteArray word = QByteArray(declared).trimmed().split(' ').value(0).toUpper();
    if (word == FieldTypeName::Long) return FieldType::Long;
    if (word == FieldTypeName::Integer) return FieldType::Integer;
    if (word == FieldTypeName::Single) return FieldType::Single;
    if (word == FieldTypeName::Double) return FieldType::Double;
    if (word == FieldTypeName::Boolean) return FieldType::Boolean;
    if (word == FieldTypeName::Text) return FieldType::Text;
    if (word == FieldTypeName::Variant) return FieldType::Variant;
    return FieldType::Unknown;
}

namespace {

enum class Kind { Null, Bool, Whole, Real, Text, Other };

Kind kindOf(const QVariant& v) {
    switch (VarTypeOf(v)) {
    case VarType::Empty:
    case VarType::Null:
        return Kind::Null;
    case VarType::Boolean:
        return Kind::Bool;
    case VarType::Integer:
        return Kind::Whole;
    case VarType::Single:
    case VarType::Double:
        return Kind::Real;
    case VarType::String:
        return Kind::Text;
    default:
        return Kind::Other;
    }
}

// A number that the value stands for, as the original engine reads it into a
// number column: True is -1, a text is read in the user's decimal notation.
// Returns false for an empty text (Null); raises a data error for anything
// that is not a number.
bool numberOf(const QVariant& v, const QString& column, double& real, qlonglong& whole,
              bool& isWhole) {
    switch (kindOf(v)) {
    case Kind::Null:
        return false;
    case Kind::Bool:
        whole = v.toBool() ? -1 : 0;
        isWhole = true;
        return true;
    case Kind::Whole:
        if (v.typeId() == QMetaType::ULongLong &&
            v.toULongLong() > quint64(std::numeric_limits<qlonglong>::max()))
            throw DatabaseError::DataOverflowError(v, column);
        whole = v.toLongLong();
        isWhole = true;
        return true;
    case Kind::Real:
        real = v.toDouble();
        isWhole = false;
        if (std::isnan(real)) throw DatabaseError::CantConvertError(v, column);
        return true;
    case Kind::Text: {
        const QString text = v.toString();
        if (text.trimmed().isEmpty()) return false;
        if (!ParseNumberText(text, real)) throw DatabaseError::CantConvertError(v, column);
        isWhole = false;
        return true;
    }
    case Kind::Other:
        break;
    }
    throw DatabaseError::CantConvertError(v, column);
}

QVariant wholeInRange(const QVariant& v, const QString& column, qlonglong low, qlonglong high) {
    double real = 0;
    qlonglong whole = 0;
    bool isWhole = false;
    if (!numberOf(v, column, real, whole, isWhole)) return VNull();
    if (!isWhole) {
        // Halves go to the even neighbour, as the engine rounds into a whole
        // number column (the default rounding mode of nearbyint).
        const double rounded = std::nearbyint(real);
        if (!(rounded >= double(low) && rounded <= double(high)))
            throw DatabaseError::DataOverflowError(v, column);
        whole = static_cast<qlonglong>(rounded);
    }
    if (whole < low || whole > high) throw DatabaseError::DataOverflowError(v, column);
    return QVariant(whole);
}

QVariant realInRange(const QVariant& v, const QString& column, bool single) {
    double real = 0;
    qlonglong whole = 0;
    bool isWhole = false;
    if (!numberOf(v, column, real, whole, isWhole)) return VNull();
    if (isWhole) real = double(whole);
    if (!std::isfinite(real)) throw DatabaseError::DataOverflowError(v, column);
    if (single) {
        const float f = static_cast<float>(real);
        if (!std::isfinite(f)) throw DatabaseError::DataOverflowError(v, column);
        real = double(f);
    }
    return QVariant(real);
}

QVariant booleanOf(const QVariant& v, const QString& column) {
    if (kindOf(v) == Kind::Bool) return QVariant(qlonglong(v.toBool() ? 1 : 0));
    if (kindOf(v) == Kind::Text) {
        const QString t = v.toString().trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
            t.compare(QLatin1String("wahr"), Qt::CaseInsensitive) == 0)
            return QVariant(qlonglong(1));
        if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 ||
            t.compare(QLatin1String("falsch"), Qt::CaseInsensitive) == 0)
            return QVariant(qlonglong(0));
    }
    double real = 0;
    qlonglong whole = 0;
    bool isWhole = false;
    // Yes/No columns hold no Null: a Null or an empty text is False.
    if (!numberOf(v, column, real, whole, isWhole)) return QVariant(qlonglong(0));
    return QVariant(qlonglong((isWhole ? whole != 0 : real != 0.0) ? 1 : 0));
}

QVariant variantOf(const QVariant& v, const QString& column) {
    switch (kindOf(v)) {
    case Kind::Null:
        return VNull();
    case Kind::Bool:
        return QVariant(qlonglong(v.toBool() ? -1 : 0));
    case Kind::Whole:
        return wholeInRange(v, column, std::numeric_limits<qlonglong>::min(),
                            std::numeric_limits<qlonglong>::max());
    case Kind::Real:
        return realInRange(v, column, false);
    case Kind::Text:
        return v.typeId() == QMetaType::QByteArray ? QVariant(v.toByteArray())
                                                   : QVariant(v.toString());
    case Kind::Other:
        break;
    }
    throw DatabaseError::CantConvertError(v, column);
}

QVariant textOf(const QVariant& v) {
    switch (kindOf(v)) {
    case Kind::Null:
        return VNull();
    case Kind::Text:
        return QVariant(v.toString());
    default:
        return QVariant(CStr(v));
    }
}

} // namespace

QVariant StoredValue(FieldType type, const QVariant& value, const QString& column) {
    switch (type) {
    case FieldType::Long:
        return wholeInRange(value, column, std::numeric_limits<int32_t>::min(),
                            std::numeric_limits<int32_t>::max());
    case FieldType::Integer:
        return wholeInRange(value, column, std::numeric_limits<int16_t>::min(),
                            std::numeric_limits<int16_t>::max());
    case FieldType::Single:
        return realInRange(value, column, true);
    case FieldType::Double:
        return realInRange(value, column, false);
    case FieldType::Boolean:
        return booleanOf(value, column);
    case FieldType::Text:
        return textOf(value);
    case FieldType::Variant:
    case FieldType::Unknown:
        return variantOf(value, column);
    }
    return VNull();
}

namespace {
QVariant wholeValue(qlonglong v) {
    if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())
        return QVariant(int(v));
    return QVariant(v);
}

// A number read from the stored form; false when it is a text that is no
// number (only statements of our own could store one).
bool storedNumber(const QVariant& stored, double& real, qlonglong& whole, bool& isWhole) {
    switch (stored.typeId()) {
    case QMetaType::LongLong:
        whole = stored.toLongLong();
        isWhole = true;
        return true;
    case QMetaType::Double:
        real = stored.toDouble();
        isWhole = false;
        return true;
    default: {
        bool ok = false;
        whole = stored.toString().trimmed().toLongLong(&ok);
        if (ok) {
            isWhole = true;
            return true;
        }
        real = stored.toString().trimmed().toDouble(&ok);
        isWhole = false;
        return ok;
    }
    }
}
} // namespace

QVariant FieldValue(FieldType type, const QVariant& stored) {
    if (IsNull(stored) || IsEmpty(stored)) return VNull();
    if (type == FieldType::Text) {
        if (stored.typeId() == QMetaType::Double)
            return QVariant(QString::number(stored.toDouble(), 'g', 15));
        return QVariant(stored.toString());
    }
    if (type == FieldType::Variant || type == FieldType::Unknown) {
        if (stored.typeId() == QMetaType::LongLong) return wholeValue(stored.toLongLong());
        return stored;
    }
    double real = 0;
    qlonglong whole = 0;
    bool isWhole = false;
    if (!storedNumber(stored, real, whole, isWhole)) return stored; // not a number: shown as it is
    switch (type) {
    case FieldType::Long:
        if (!isWhole) whole = static_cast<qlonglong>(std::nearbyint(real));
        return wholeValue(whole);
    case FieldType::Integer:
        if (!isWhole) whole = static_cast<qlonglong>(std::nearbyint(real));
        if (whole >= std::numeric_limits<int16_t>::min() &&
            whole <= std::numeric_limits<int16_t>::max())
            return QVariant::fromValue(static_cast<short>(whole));
        return wholeValue(whole);
    case FieldType::Single: {
        const double d = isWhole ? double(whole) : real;
        if (std::fabs(d) > double(std::numeric_limits<float>::max())) return QVariant(d);
        return QVariant(static_cast<float>(d));
    }
    case FieldType::Double:
        return QVariant(isWhole ? double(whole) : real);
    case FieldType::Boolean:
        return QVariant(isWhole ? whole != 0 : real != 0.0);
    default:
        return stored;
    }
}

QVariant ColumnStored(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement, column));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(statement, column)));
    }
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(statement, column)));
    }
    default:
        return VNull();
    }
}

void BindValues(sqlite3_stmt* statement, const QVariantList& values) {
    const int wanted = sqlite3_bind_parameter_count(statement);
    if (wanted != values.size())
        throw DatabaseError::Make(DatabaseError::Command,
                                  QStringLiteral("%1 values for %2 parameters (%3)")
                                      .arg(values.size())
                                      .arg(wanted)
                                      .arg(QString::fromUtf8(sqlite3_sql(statement))));
    for (int i = 0; i < wanted; ++i)
        BindValue(statement, i + 1, values.at(i));
}

void BindValue(sqlite3_stmt* statement, int parameter, const QVariant& value) {
    switch (kindOf(value)) {
    case Kind::Null:
        sqlite3_bind_null(statement, parameter);
        return;
    case Kind::Bool:
        sqlite3_bind_int64(statement, parameter, value.toBool() ? 1 : 0);
        return;
    case Kind::Whole:
        sqlite3_bind_int64(statement, parameter, value.toLongLong());
        return;
    case Kind::Real:
        sqlite3_bind_double(statement, parameter, value.toDouble());
        return;
    case Kind::Text:
        if (value.typeId() == QMetaType::QByteArray) {
            const QByteArray bytes = value.toByteArray();
            sqlite3_bind_blob64(statement, parameter, bytes.constData(),
                                sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
        } else {
            const QByteArray utf8 = value.toString().toUtf8();
            sqlite3_bind_text64(statement, parameter, utf8.constData(), sqlite3_uint64(utf8.size()),
                                SQLITE_TRANSIENT, SQLITE_UTF8);
        }
        return;
    case Kind::Other: {
        const QByteArray utf8 = value.toString().toUtf8();
        sqlite3_bind_text64(statement, parameter, utf8.constData(), sqlite3_uint64(utf8.size()),
                            SQLITE_TRANSIENT, SQLITE_UTF8);
        return;
    }
    }
}
