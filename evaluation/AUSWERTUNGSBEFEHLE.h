#pragma once

// The commands of the Evaluate menu, on the main window's services alone:
//   mnuAUSWERTEN_Click    the menu opens: counts the active records, makes
//                         the rows the commands need (the record's A1 row;
//                         for several records the multiple evaluation's E1
//                         and A1 rows 0) and enables the items that fit;
//   mnuBERECHNEN_Click    Calculate: the page of one record from its stored
//                         results;
//   mnuNEUBERECHNEN_Click Recalculate: evaluates the one active record, then
//                         shows its page, built while A1.BONEU is still set;
//   mnuMBERECHNEN_Click   Calculate multiple: the multiple evaluation's
//                         comment (asked once), then its page.
// Each has its own error box "VB-Error: " titled with its menu caption; OK
// goes on with the next statement, Cancel ends the command.

#include <QString>

namespace AUSWERTUNG {

void mnuAUSWERTEN_Click();
void mnuBERECHNEN_Click();
void mnuNEUBERECHNEN_Click();
void mnuMBERECHNEN_Click();

// The identifier of the first record (by ID) of those that `auswahl`, a
// condition on [E1], admits whose results are not current: no A1 row, or its
// BONEU set. Empty when every one has current results.
QString OHNEERGEBNIS(const QString& auswahl);

// The refusal of a record whose results are not current (no A1 row, or its
// BONEU set) where several records are evaluated together, in the main
// window's language: it must first be evaluated by itself.
QString ZUERSTEINZELN(const QString& KEN);

} // namespace AUSWERTUNG
