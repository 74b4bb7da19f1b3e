#pragma once

// A whole record copied from one project database into another under a key
// of the target: for the record export and import, and for the Save that
// takes another user's records into the working copy.

#include <QString>
#include <cstdint>

class Connection;

// How the values reach the target.
enum class KOPIEWERTE {
    // Converted to the target column's type, as a row set reads and writes
    // them: the record export and import, between projects whose columns
    // may be declared otherwise.
    ZIELTYP,
    // Value for value, as the engine holds them in the source: the Save's
    // take of a record from the project into its own copy, which must not
    // change what the project holds (a reading that another program stored
    // more exactly than single precision stays as exact).
    GESPEICHERT,
};

// Writes the record `id` of `quelle` under the key `neu` into `ziel`, inside
// the caller's transaction, row by row in every table of a record. Each
// target column takes the source's value of the column of the same name
// (as `werte` says); a column that the source lacks takes its default. Rows
// left under the new key by an earlier mishap would merge into the record:
// they go first (the E1 row is the caller's to free). Raises the databases'
// errors.
void DATENSATZSCHREIBEN(Connection& quelle, int32_t id, Connection& ziel, int32_t neu,
                        KOPIEWERTE werte = KOPIEWERTE::ZIELTYP);

// The rows of one table whose column `schluessel` is `alt`, from the source
// into the target with `neu` in that column.
void ZEILENKOPIEREN(Connection& quelle, Connection& ziel, const QString& tabelle,
                    const QString& schluessel, int32_t alt, int32_t neu,
                    KOPIEWERTE werte = KOPIEWERTE::ZIELTYP);
