// The status-bar panels of the output pages: the page chooser, printing the
// loaded pages, the screenshot bitmap, the page in a word-processor
// document and the way back to the start screen.

#include "shell/PANELBEFEHLE.h"

#include "pages/AUSGABESEITE.h"
#include "pages/SEITENDIALOGE.h"
#include "platform/controls/Clipboard.h"
#include "platform/controls/CommonDialog.h"
#include "platform/controls/Forms.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/WordDocument.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/System.h"
#include "shell/frmMAINFENSTER.h"

#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScopedValueRollback>
#include <algorithm>

namespace {

// Flags of the print dialog: no selection, collate, no printing to a file.
constexpr int kDruckFlags = CommonDialog::cdlPDNoSelection | CommonDialog::cdlPDCollate |
                            CommonDialog::cdlPDDisablePrintToFile;

// The window in the main window's client area that has or last had the
// focus; nullptr when there is none.
QWidget* aktivesKind(frmMAINFENSTER& f) {
    QMdiSubWindow* fenster = f.MDIBEREICH->currentSubWindow();
    return fenster ? fenster->widget() : nullptr;
}

} // namespace

namespace PANELBEFEHLE {

QList<QWidget*> SEITEN() {
    QList<QWidget*> seiten;
    const QList<QWidget*> formulare = Forms::All();
    for (const QString& praefix : SEITENPRAEFIXE())
        for (QWidget* formular : formulare)
            if (Forms::Name(formular).contains(praefix, Qt::CaseInsensitive))
                seiten.append(formular);
    return seiten;
}

QString DATEINAME(const QString& name) {
    QString ohne = name;
    ohne.remove(QLatin1Char('/'));
    ohne.remove(QLatin1Char('\\'));
    return ohne;
}

void ANZEIGEN() {
    SEITENDIALOGE::ANZEIGEN();
}

void DRUCKEN(frmMAINFENSTER& f, ErrorHandler& eh) {
    // The pages let events run while they print: a second press of the
    // panel or Ctrl+P on a page meanwhile would start a print inside the
    // print. This is printing's one guard; the pages' keys and DRUCKEN
    // rely on it.
    static bool druckt = false;
    if (druckt) return;
    const QScopedValueRollback<bool> laeuft(druckt, true);
    // A page may be unloaded while another prints (Esc, panel 15): it is
    // then printed no more.
    QList<QPointer<QWidget>> seiten;
    for (QWidget* seite : SEITEN())
        seiten.append(seite);
    // Nothing to print, nothing to ask.
    if (seiten.isEmpty()) return;
    // Without a printer there is nothing to choose in the print dialog.
    if (!DRUCKERBEREIT(f.PANELTEXT(11))) return;
    const int anzahl = int(seiten.size());
    int aktiv = 0;
    if (QWidget* kind = aktivesKind(f))
        for (int i = 0; i < anzahl; ++i)
            if (Forms::Name(seiten[i]) == Forms::Name(kind)) aktiv = i + 1;

    CommonDialog cdlDRUCKEN;
    cdlDRUCKEN.SetCancelError(true);
    cdlDRUCKEN.SetFlags(kDruckFlags);
    cdlDRUCKEN.SetMin(1);
    cdlDRUCKEN.SetMax(anzahl);
    // Without an active page every page is proposed.
    cdlDRUCKEN.SetFromPage(aktiv > 0 ? aktiv : 1);
    cdlDRUCKEN.SetToPage(aktiv > 0 ? aktiv : anzahl);
    if (!eh.Run([&] { cdlDRUCKEN.ShowPrinter(f.FENSTER()); })) return;

    SetMousePointer(vbHourglass);
    int von = 1;
    int bis = anzahl;
    if (cdlDRUCKEN.Flags() != kDruckFlags) {
        von = std::max(1, cdlDRUCKEN.FromPage());
        bis = std::min(anzahl, cdlDRUCKEN.ToPage());
    }
    for (int nummer = von; nummer <= bis && !eh.Left(); ++nummer) {
        QWidget* formular = seiten[nummer - 1];
        if (!Forms::IsLoaded(formular)) continue;
        if (AUSGABESEITE* seite = ALSAUSGABESEITE(formular)) eh.Run([&] { seite->DRUCKEN(); });
    }
    SetMousePointer(vbDefault);
}

void KOPIE(frmMAINFENSTER& f, ErrorHandler& eh) {
    QString ordner = f.PROJEKTSPFAD() + QLatin1Char('/') + f.PANELTEXT(2) + QStringLiteral("/JPG");
    if (!eh.Run([&] {
            if (!QDir().mkpath(ordner)) throw StandardError(76);
        }))
        return;
    ordner += QLatin1Char('/');
    // The name becomes a file in that folder, never a path elsewhere.
    const QString vorschlag = DATEINAME(f.PANELTEXT(6) + QStringLiteral("-1"));
    const QString antwort = DATEINAME(
        InputBox(QStringLiteral("Bitte bestätigen oder ändern Sie den Dateinamen. Vorgabe: ") +
                     ordner + vorschlag + QStringLiteral(".bmp"),
                 QStringLiteral("KOPIE"), vorschlag));
    if (antwort.isEmpty()) return;

    SetMousePointer(vbHourglass);
    eh.Run([&] { PrintScreen(f.FENSTER()); });
    eh.Run([&] { DoEvents(); });
    eh.Run([&] { SavePicture(Clipboard::Image(), ordner + antwort + QStringLiteral(".bmp")); });
    eh.Run([&] { DoEvents(); });
    SetMousePointer(vbDefault);
}

void WORDDOKUMENT(AUSGABESEITE& seite, WordDocument& dokument, ErrorHandler& eh) {
    const std::optional<QList<PictureBox*>> bilder = eh.Value([&] { return seite.BILDER(); });
    if (!bilder) return;
    for (PictureBox* bild : *bilder) {
        if (!bild || bild->isHidden()) continue;
        // The picture goes the way the word processor takes it: by the
        // clipboard.
        eh.Run([&] {
            dokument.TypeText(bild->objectName());
            dokument.TypeParagraph();
            Clipboard::Clear();
            Clipboard::SetImage(bild->Image());
            dokument.Paste();
            dokument.TypeParagraph();
        });
    }
}

QString WORD(frmMAINFENSTER& f, ErrorHandler& eh) {
    AUSGABESEITE* seite = ALSAUSGABESEITE(aktivesKind(f));
    if (!seite) return QString();
    SetMousePointer(vbHourglass);
    WordDocument dokument;
    WORDDOKUMENT(*seite, dokument, eh);
    const std::optional<QString> datei = eh.Value([&] { return dokument.SaveToTemporaryFile(); });
    SetMousePointer(vbDefault);
    return datei.value_or(QString());
}

namespace {
bool schliesst = false;
}

bool SCHLIESST() {
    return schliesst;
}

void SCHLIESSEN(frmMAINFENSTER& f, ErrorHandler& eh) {
    const QScopedValueRollback<bool> laeuft(schliesst, true);
    SetMousePointer(vbHourglass);
    // Every child window goes but the start screen.
    for (QWidget* formular : Forms::All()) {
        if (formular == f.FENSTER() || !Forms::IsMdiChild(formular)) continue;
        if (Forms::Name(formular) == QLatin1String("mdiAUTOSTART")) continue;
        eh.Run([&] { Forms::Unload(formular); });
    }
    eh.Run([&] {
        for (int panel = 10; panel <= 15; ++panel)
            f.SETZEPANELSICHTBAR(panel, false);
    });
    eh.Run([&] {
        f.SETZEMENUAKTIV(QStringLiteral("mnuDATEI"), true);
        f.SETZEMENUAKTIV(QStringLiteral("mnuEXTRAS"), true);
    });
    SetMousePointer(vbDefault);
}

} // namespace PANELBEFEHLE
