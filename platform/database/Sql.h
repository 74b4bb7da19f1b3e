#pragma once

// Pieces of SQL statements written from values. A text value never goes into
// a statement as it is: SqlText quotes it with its apostrophes doubled, so an
// identifier like "O'Brien" reaches the database intact and cannot end the
// literal. Numbers are written in the C notation that SQL reads, whatever the
// user's locale.

#include <QString>
#include <QVariant>

// 'text' with every apostrophe doubled.
QString SqlText(const QString& text);
// A number as SQL reads it: "12.5", "-3", "1e+40"; a Single keeps its
// shortest exact form (12.3f -> "12.3").
QString SqlNumber(double value);
QString SqlNumber(float value);
QString SqlNumber(qlonglong value);
QString SqlNumber(int value);
// "true" or "false".
QString SqlBool(bool value);
// Any value: Null and Empty as NULL, Booleans as true/false, numbers as
// SqlNumber, everything else as SqlText of its text.
QString SqlValue(const QVariant& value);
// [name]; a name holding "]" cannot be bracketed and is refused with a
// RuntimeError.
QString SqlName(const QString& name);
