// The status bar of the main window: its panels as created, the project
// path of panel 1, the record panel, the routing of panel presses and the
// panels of the input window (store and discard).

#include "shell/frmMAINFENSTER.h"

#include "platform/database/Connection.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/System.h"
#include "platform/runtime/Variant.h"
#include "input/mdiEINGABE.h"
#include "platform/controls/Forms.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/MsgBox.h"
#include "shell/EINGABEFENSTER.h"
#include "shell/PANELBEFEHLE.h"
#include "shell/STATUSLEISTE.h"

#include <QLineEdit>
#include <QSaveFile>
#include <optional>

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
    connect(stbMAIN, &STATUSLEISTE::MAUSGEDRUECKT, this, [this](const QPoint& punkt) { stbMAIN_MouseDown(punkt); });
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

void frmMAINFENSTER::stbMAIN_MouseDown(const QPoint& punkt) {
    const int index = stbMAIN->PanelBei(punkt);
    if (index >= 8 && index <= 15) stbMAIN->Panels(index)->SetBevel(PANEL::sbrInset);
    SleepWithEvents(250);
}

void frmMAINFENSTER::stbMAIN_PanelClick(int panel) {
    PANEL* gedrueckt = stbMAIN->Panels(panel);
    ErrorHandler eh(QStringLiteral("VB-Error: "), gedrueckt ? gedrueckt->Text() : QString());
    // An invalid property value and a cancelled print dialog end the
    // command without a word.
    eh.LeaveSilentlyOn({380, 32755});
    const QString titel = gedrueckt ? gedrueckt->Text() : QString();
    switch (panel) {
    case 8: // store the input window's record
        PANELBEFEHLE::SPEICHERN(*this, titel, eh);
        break;
    case 9: // discard the input
        PANELBEFEHLE::VERWERFEN(*this, eh);
        break;
    case 10: // another page
        eh.Run([&] { PANELBEFEHLE::ANZEIGEN(); });
        break;
    case 11: // print the loaded pages
        PANELBEFEHLE::DRUCKEN(*this, eh);
        break;
    case 12: // screenshot bitmap
        PANELBEFEHLE::KOPIE(*this, eh);
        break;
    case 13: { // the active page to a word-processor document
        const QString dokument = PANELBEFEHLE::WORD(*this, eh);
        if (!dokument.isEmpty()) eh.Run([&] { DOKUMENTOEFFNEN(dokument, titel); });
        break;
    }
    case 15: // back to the start screen
        PANELBEFEHLE::SCHLIESSEN(*this, eh);
        break;
    default: // 14 (AutoCAD) and any other panel: the common ending only
        break;
    }
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

// The panels of the input window ------------------------------------------------

namespace PANELBEFEHLE {

namespace {

// The record of an identifier; the multiple evaluation's row 0 is no record
// of the user's and is never overwritten.
std::optional<int32_t> KENNUNGSDATENSATZ(Connection& db, const QString& ken) {
    std::optional<int32_t> id;
    Recordset rs(QStringLiteral("SELECT [ID] FROM [E1] WHERE [KEN]=? AND [ID]>0"), db, {ken});
    if (!rs.Eof()) id = CLng(rs.Value(QStringLiteral("ID")));
    rs.Close();
    return id;
}

// What the overwrite question stands for: the record of the identifier, and
// its identifier, comment, general data and readings as they are now. The
// active flag and the results are not the record's data: another run's
// store or evaluation changes them without changing what is overwritten.
struct KENNUNGSSTAND {
    std::optional<int32_t> id;
    QStringList zeilen;
    bool operator==(const KENNUNGSSTAND&) const = default;
};

KENNUNGSSTAND KENNUNGSSTANDLESEN(Connection& db, const QString& ken) {
    KENNUNGSSTAND stand;
    stand.id = KENNUNGSDATENSATZ(db, ken);
    if (!stand.id) return stand;
    for (const char* sql : {"SELECT [KEN],[KOM] FROM [E1] WHERE [ID]=? ORDER BY rowid",
                            "SELECT * FROM [E2] WHERE [ID]=? ORDER BY rowid",
                            "SELECT * FROM [E3] WHERE [ID]=? ORDER BY rowid"}) {
        Recordset rs(QString::fromLatin1(sql), db, {*stand.id});
        for (; !rs.Eof(); rs.MoveNext()) {
            QString zeile;
            for (int i = 0; i < rs.FieldCount(); ++i) {
                const QVariant wert = rs.Fields(i).Value();
                zeile += QString::number(wert.typeId()) + QLatin1Char(':') +
                         (IsNull(wert) ? QString() : wert.toString()) + QLatin1Char('\x1f');
            }
            stand.zeilen << zeile;
        }
        rs.Close();
        stand.zeilen << QString(); // the end of the table's rows
    }
    return stand;
}

void eingabeVerlassen(frmMAINFENSTER& f, mdiEINGABE* eingabe, ErrorHandler& eh) {
    if (eingabe) eh.Run([&] { Forms::Unload(eingabe); });
    eh.Run([&] {
        f.SETZEPANELSICHTBAR(8, false);
        f.SETZEPANELSICHTBAR(9, false);
    });
    eh.Run([&] { EINGABEFENSTER::HAUPTMENUS(f, true); });
    SetMousePointer(vbDefault);
}

} // namespace

void SPEICHERN(frmMAINFENSTER& f, const QString& titel, ErrorHandler& eh) {
    mdiEINGABE* eingabe = EINGABEFENSTER::GELADEN();
    if (!eingabe) return;
    // Every box from here on lets events run, and the session may end in
    // it: the input window stays for this code, which stops once the
    // window is unloaded.
    const Forms::Busy beschaeftigt(eingabe);
    // A value still open in a cell editor is what the user sees in the
    // grid: it is committed (checked and formatted) before the store, and a
    // value the check refuses stops the store with the window open.
    if (!eingabe->ZELLEUEBERNEHMEN()) return;
    // The identifier field refuses to be left empty, but a save from the
    // keyboard or the panel never leaves it: the same check runs here.
    if (!eingabe->KENNUNGPRUEFEN()) {
        if (Forms::IsLoaded(eingabe)) {
            eingabe->txtKEN->activateWindow();
            eingabe->txtKEN->setFocus();
        }
        return;
    }
    const QString ken = eingabe->txtKEN->text();
    Connection& db = *f.DBPROJEKT();

    // Whether a record of that identifier is there, and which, decides the
    // store: read again inside the transaction, which begins as a writer,
    // so that no other run can store between the reading and the writing.
    // The overwrite question cannot wait with the copy locked: it is asked
    // before, and when another run changed what it was asked about
    // meanwhile (another record of the identifier, or the same record stored
    // anew), the store rolls back and decides again.
    const auto gelesen = eh.Value([&] { return KENNUNGSSTANDLESEN(db, ken); });
    if (!gelesen) return;
    KENNUNGSSTAND stand = *gelesen;
    std::optional<int32_t>& id = stand.id;
    std::optional<Transaction> transaktion;
    for (;;) {
        if (id) {
            const QString frage = f.SPRACHE() == 1
                                      ? QStringLiteral("Do you want to overwrite the file") + ken +
                                            QStringLiteral("?")
                                      : QStringLiteral("Soll der vorhandene Datensatz ") + ken +
                                            QStringLiteral(" überschrieben werden?");
            if (MsgBox(frage, vbYesNo + vbQuestion, titel) != vbYes) return;
            if (!Forms::IsLoaded(eingabe)) return;
        }
        // One transaction: the old record's row goes, the window stores
        // itself and the others lose their active flag together, or nothing
        // changes and the window stays open with its data. Another run that
        // holds the copy past the time-out is told as such.
        SetMousePointer(vbHourglass);
        if (!eh.Run([&] { transaktion.emplace(db); })) return;
        const auto jetzt = eh.Value([&] { return KENNUNGSSTANDLESEN(db, ken); });
        if (!jetzt) return;
        if (*jetzt == stand) break;
        if (!eh.Run([&] { transaktion->Rollback(); })) return;
        transaktion.reset();
        SetMousePointer(vbDefault);
        stand = *jetzt;
    }
    // A copy whose change cannot be marked is not written: the store says
    // why in its own box, before the window writes anything.
    if (!eh.Run([&] { db.PassWriteGuard(); })) return;
    if (id) {
        if (!eh.Run([&] { db.Execute(QStringLiteral("DELETE FROM [E1] WHERE [ID]=?"), {*id}); }))
            return;
    } else {
        id = eh.Value([&] {
            Recordset rs(QStringLiteral("SELECT * FROM [E1] ORDER BY [ID] Desc"), db);
            const int32_t neu = rs.Eof() ? 1 : CLng(rs.Value(QStringLiteral("ID"))) + 1;
            rs.Close();
            return neu;
        });
        if (!id) return;
    }
    if (!eingabe->OK(*id)) return;
    if (!eh.Run([&] {
            db.Execute(
                QStringLiteral("UPDATE [E1] SET [AKT]=false WHERE [AKT]=true AND [ID]<>?"),
                {*id});
        }))
        return;
    // Results computed from the old data are stale: an evaluated record is
    // computed again.
    if (!eh.Run([&] {
            db.Execute(QStringLiteral("UPDATE [A1] SET [BONEU]=true WHERE [ID]=?"), {*id});
        }))
        return;
    if (!eh.Run([&] { transaktion->Commit(); })) return;

    eh.Run([&] { f.DATENSATZANZEIGE(); });
    f.SETZEBOGEAENDERT(true);
    eingabeVerlassen(f, eingabe, eh);
}

void VERWERFEN(frmMAINFENSTER& f, ErrorHandler& eh) {
    // Without an input window (its load failed) the input state is left
    // all the same: the panels go and the menus come back.
    mdiEINGABE* eingabe = EINGABEFENSTER::GELADEN();
    SetMousePointer(vbHourglass);
    eingabeVerlassen(f, eingabe, eh);
    // New blanked the record panel, but discarding changes no active flag:
    // the panel shows the active records again rather than a stale "-".
    eh.Run([&] { f.DATENSATZANZEIGE(); });
}

} // namespace PANELBEFEHLE
