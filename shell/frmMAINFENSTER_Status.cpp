// The status bar of the main window: its panels as created, the project
// path of panel 1, the record panel and the routing of panel presses.

#include "shell/frmMAINFENSTER.h"

#include "platform/database/Connection.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/System.h"
#include "platform/runtime/Variant.h"
#include "shell/STATUSLEISTE.h"

#include <QSaveFile>

void frmMAINFENSTER::STATUSLEISTEANLEGEN() {
    stbMAIN = new STATUSLEISTE(this);
    setStatusBar(stbMAIN);
    struct Entwurf {
        const char* text;
        const char* tipp;
    };
    static const Entwurf entwurf[STATUSLEISTE::ANZAHL] = {
        {"Projektspfad\\", ""},
        {"Projekt", ""},
        {"/", ""},
        {"Programm", ""},
        {"/", ""},
        {"Datensatz", ""},
        {"", ""},
        {"OK", "Eingabedaten speichern"},
        {"Abbrechen", "Eingabedaten verwerfen"},
        {"Anzeigen", "Ausgabeseite anzeigen"},
        {"Drucken", "Ausgabeseite drucken"},
        {"Kopie", "Bildschirmkopie speichern"},
        {"Word", "Ausgabeseite in ein Word-Dokument übertragen"},
        {"AutoCAD", "Ausgabeseite in eine AutoCAD-Zeichnung übertragen"},
        {"Schließen", "Zurück zum Startbildschirm"},
    };
    for (int i = 1; i <= STATUSLEISTE::ANZAHL; ++i) {
        PANEL* panel = stbMAIN->Panels(i);
        panel->SetText(QString::fromUtf8(entwurf[i - 1].text));
        panel->SetToolTipText(QString::fromUtf8(entwurf[i - 1].tipp));
        // The command panels are shown by the windows that use them.
        panel->SetVisible(i <= 7);
    }
    connect(stbMAIN, &STATUSLEISTE::MAUSGEDRUECKT, this, [this](int x) { stbMAIN_MouseDown(x); });
    connect(stbMAIN, &STATUSLEISTE::PANELGEKLICKT, this,
            [this](int index) { stbMAIN_PanelClick(index); });
}

QString frmMAINFENSTER::PROJEKTPFADANZEIGE(const QString& projektspfad) {
    QString x = projektspfad;
    if (x.size() <= 20) return x + QLatin1Char('/');
    // The first pass drops the first character, each further one the
    // leading path component (keeping the "/" in front of the next).
    qsizetype p = 2;
    while (x.size() > 20) {
        if (p < 1) {
            // A last component longer than 20 characters: nothing left to
            // cut at, so the path's last 20 characters stand for it.
            x = x.right(20);
            break;
        }
        x = x.mid(p - 1);
        p = x.indexOf(QLatin1Char('/'), 2) + 1;
    }
    return QStringLiteral(" ... ") + x + QLatin1Char('/');
}

void frmMAINFENSTER::DATENSATZANZEIGE() {
    QString text;
    QString tipp;
    {
        Recordset zeilen(
            QStringLiteral("SELECT [KEN],[KOM] FROM [E1] WHERE [AKT]=true ORDER BY [KEN]"),
            *m_DBPROJEKT);
        if (zeilen.Eof()) {
            text = QStringLiteral("-");
        } else if (zeilen.RecordCount() == 1) {
            text = CStr(zeilen.Value(QStringLiteral("KEN")));
            const QVariant kom = zeilen.Value(QStringLiteral("KOM"));
            tipp = IsNull(kom) ? QString() : CStr(kom);
        } else {
            QStringList kennungen;
            for (; !zeilen.Eof(); zeilen.MoveNext())
                kennungen << CStr(zeilen.Value(QStringLiteral("KEN")));
            text = kennungen.first() + QStringLiteral(",...");
            tipp = kennungen.join(QStringLiteral(", "));
        }
        zeilen.Close();
    }
    stbMAIN->Panels(6)->SetText(text);
    stbMAIN->Panels(6)->SetToolTipText(tipp);
}

void frmMAINFENSTER::stbMAIN_MouseDown(int x) {
    for (int index = 8; index <= 15; ++index) {
        PANEL* panel = stbMAIN->Panels(index);
        if (!panel->Visible()) continue;
        const int links = stbMAIN->PanelLinks(index);
        if (x >= links && x <= links + panel->width()) panel->SetBevel(PANEL::sbrInset);
    }
    SleepWithEvents(250);
}

void frmMAINFENSTER::stbMAIN_PanelClick(int panel) {
    PANEL* gedrueckt = stbMAIN->Panels(panel);
    ErrorHandler eh(QStringLiteral("VB-Error: "), gedrueckt ? gedrueckt->Text() : QString());
    // An invalid property value and a cancelled print dialog end the
    // command without a word.
    eh.LeaveSilentlyOn({380, 32755});
    eh.Run([&] {
        switch (panel) {
        case 8:  // store the input window's record
        case 9:  // discard the input
        case 10: // another page
        case 11: // print the loaded pages
        case 12: // screenshot bitmap
        case 13: // the active page to a word-processor document
        case 14: // (no action)
        case 15: // back to the start screen
            // The commands of the input window and of the output pages.
            break;
        default:
            break;
        }
    });
    // Common ending of every press.
    if (panel >= 8 && panel <= 15) gedrueckt->SetBevel(PANEL::sbrRaised);
    SetMousePointer(vbDefault);
}

void frmMAINFENSTER::ZUSTANDSCHREIBEN(const QString& datei) {
    QSaveFile ausgabe(datei);
    if (!ausgabe.open(QIODevice::WriteOnly | QIODevice::Text)) return;
    QString text = QStringLiteral("Caption=") + windowTitle() + QLatin1Char('\n');
    for (int i = 1; i <= STATUSLEISTE::ANZAHL; ++i) {
        const PANEL* panel = stbMAIN->Panels(i);
        text += QStringLiteral("Panel%1=%2\n").arg(i).arg(panel->Text());
        text += QStringLiteral("Panel%1.ToolTipText=%2\n").arg(i).arg(panel->ToolTipText());
        text += QStringLiteral("Panel%1.Visible=%2\n").arg(i).arg(panel->Visible() ? 1 : 0);
    }
    ausgabe.write(text.toUtf8());
    ausgabe.commit();
}
