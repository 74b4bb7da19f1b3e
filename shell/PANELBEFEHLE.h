#pragma once

// The commands of the status-bar panels 8 to 15, run by the main window's
// panel handler under its error handler (eh): a failing statement shows the
// handler's box, and a command goes on only where what follows does not
// need what failed.

#include <QList>
#include <QString>

class AUSGABESEITE;
class ErrorHandler;
class WordDocument;
class QWidget;
class frmMAINFENSTER;

namespace PANELBEFEHLE {

// 8: stores the input window's record; 9: discards the input.
void SPEICHERN(frmMAINFENSTER& f, const QString& titel, ErrorHandler& eh);
void VERWERFEN(frmMAINFENSTER& f, ErrorHandler& eh);
// 10: the page chooser.
void ANZEIGEN();
// 11: prints the loaded pages.
void DRUCKEN(frmMAINFENSTER& f, ErrorHandler& eh);
// 12: the screenshot bitmap.
void KOPIE(frmMAINFENSTER& f, ErrorHandler& eh);
// 13: the active page into a new word-processor document; the document's
// file, or "" when there is no page.
QString WORD(frmMAINFENSTER& f, ErrorHandler& eh);
// Types a page's visible pictures into a document, each under its name.
void WORDDOKUMENT(AUSGABESEITE& seite, WordDocument& dokument, ErrorHandler& eh);
// 15: back to the start screen.
void SCHLIESSEN(frmMAINFENSTER& f, ErrorHandler& eh);
// Whether panel 15 is closing the pages now.
bool SCHLIESST();

// The loaded pages in the order the print dialog numbers them.
QList<QWidget*> SEITEN();
// A file name without the path separators it must not hold.
QString DATEINAME(const QString& name);

} // namespace PANELBEFEHLE
