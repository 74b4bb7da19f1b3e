#pragma once

// The tables of the program's databases as code: the project database (the
// records E1, their general data E2, readings E3, results A1 and A2, the
// multiple evaluation M1 and the diagram layouts G0), the administration
// table ADMIN of ARCHIV.mdb and the data-logger presets VELD_VE1/VELD_VE2 of
// VORGABE.mdb, and the tables E0, E1, E2 of the suite's information system
// TALVIR.mdb. The empty project template holds the presets tables too, since
// a development run reads the presets from the working copy.
//
// Every table keeps its columns in one fixed order with the record key ID
// first. Nothing relies on that order across databases: the record export
// and import copy columns by name, so a project database whose columns stand
// in another order takes each value in its own column. Text columns compare
// without regard to letter case, as the keys did in the original databases.
// E1.KEN has no unique index: the save command checks it, and the row of a
// multiple evaluation ("M") must always be insertable.

#include <QString>
#include <QStringList>
#include <vector>

class Connection;

struct SPALTE {
    QString NAME;
    const char* TYP; // a FieldTypeName
};

struct TABELLE {
    QString NAME;
    std::vector<SPALTE> SPALTEN;
    std::vector<QStringList> INDIZES; // the columns of each index
};

const std::vector<TABELLE>& PROJEKTTABELLEN(); // E1, E2, E3, A1, A2, M1, G0
const std::vector<TABELLE>& VORGABETABELLEN(); // VELD_VE1, VELD_VE2
const std::vector<TABELLE>& ARCHIVTABELLEN();  // ADMIN
// E0 (entry: kind, project, source, operator, date), E1 (identifier,
// comment), E2 (results and reference time), one entry per ID.
const std::vector<TABELLE>& INFORMATIONSTABELLEN();

// The CREATE TABLE statement of a table.
QString TABELLENANWEISUNG(const TABELLE& tabelle);

// Creates the tables and their indexes on an open connection, all or none.
void TABELLENANLEGEN(Connection& verbindung, const std::vector<TABELLE>& tabellen);

// Create a new database file with its tables; an existing file is refused.
void PROJEKTDATENBANKANLEGEN(const QString& pfad); // project tables and presets tables
void ARCHIVDATENBANKANLEGEN(const QString& pfad);
void VORGABEDATENBANKANLEGEN(const QString& pfad);
void INFORMATIONSDATENBANKANLEGEN(const QString& pfad); // an empty TALVIR.mdb
