// The commands of the File, Extras and ? menus that belong to the shell:
// New, Open, Select, the exchange dialogs, Delete, Done, Save, Quit, the
// compaction of the working copy, help, readme, notes and the info box.

#include "shell/frmMAINFENSTER.h"

#include "arbeitskopie/ARBEITSKOPIE.h"

#include "arbeitskopie/TAETIGKEIT.h"
#include "data/DATENSATZTABELLEN.h"
#include "evaluation/AUSWERTUNGSBEFEHLE.h"
#include "input/mdiEINGABE.h"
#include "platform/controls/Forms.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/DatabaseFile.h"
#include "platform/database/Recordset.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/System.h"
#include "platform/runtime/Variant.h"
#include "shell/AUSWAHLDIALOG.h"
#include "shell/DATENAUSTAUSCH.h"
#include "shell/EINGABEFENSTER.h"
#include "shell/HILFEFENSTER.h"
#include "shell/STATUSLEISTE.h"
#include "shell/frmINFO.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QVariant>
#include <functional>
#include <optional>

namespace {
const QString kHilfedatei = QStringLiteral("VELD.HLP");

// A file in the program's directory whatever the letter case of its name
// ("VELD.hlp" or "VELD.HLP"); empty when there is none.
QString dateiOhneGrossKlein(const QString& ordner, const QString& name) {
    const QString genau = ordner + QLatin1Char('/') + name;
    if (QFileInfo(genau).isFile()) return genau;
    for (const QString& eintrag : QDir(ordner).entryList(QDir::Files))
        if (eintrag.compare(name, Qt::CaseInsensitive) == 0)
            return ordner + QLatin1Char('/') + eintrag;
    return QString();
}

void entfernen(const QString& datei) {
    // Only files of ours: a folder of that name is left alone and stops
    // the compaction.
    for (const QString& endung : {QString(), QStringLiteral("-journal")}) {
        const QFileInfo info(datei + endung);
        if (info.isDir() || (info.exists() && !QFile::remove(datei + endung)))
            throw StandardError(75);
    }
}

// Removes a record with every row that belongs to it, all or none.
void DATENSATZLOESCHEN(Connection& db, int32_t id) {
    Transaction transaktion(db);
    for (const QString& tabelle : DATENSATZTABELLEN())
        db.Execute(QStringLiteral("DELETE FROM [%1] WHERE [ID]=?").arg(tabelle), {id});
    transaktion.Commit();
}

QString verbindungstext(const QString& pfad) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; ") + QStringLiteral("Data Source=") +
           pfad + QStringLiteral(";Persist Security Info=False");
}
} // namespace

// File menu ----------------------------------------------------------------

void frmMAINFENSTER::mnuNEU_Click() {
    ErrorHandler eh(QStringLiteral("VB-Error: "), mnuNEU->text());
    eh.Run([&] { SetMousePointer(vbArrow); });
    eh.Run([&] { EINGABEFENSTER::LADEN(*MDIBEREICH); });
    // The run ended in a box of the input window's load: no input state.
    if (m_entladen) return SetMousePointer(vbDefault);
    eh.Run([&] {
        stbMAIN->Panels(6)->SetText(QStringLiteral("-"));
        stbMAIN->Panels(6)->SetToolTipText(QString());
    });
    eh.Run([&] {
        SETZEPANELSICHTBAR(8, true);
        SETZEPANELSICHTBAR(9, true);
    });
    eh.Run([&] { EINGABEFENSTER::HAUPTMENUS(*this, false); });
    SetMousePointer(vbDefault);
}

void frmMAINFENSTER::mnuOEFFNEN_Click() {
    const QString titel = mnuOEFFNEN->text();
    ErrorHandler eh(QStringLiteral("VB-Error: "), titel);
    // The selection comes again until exactly one record is active or the
    // user gives up.
    std::optional<int32_t> id;
    while (!id && !eh.Left()) {
        m_AUSWAHLMODUS = QStringLiteral("O");
        if (!eh.Run([&] { AUSWAHLDIALOG::ZEIGEN(this); })) continue;
        // The run ended while the dialog was open: its copy is closed.
        if (m_entladen || m_AUSWAHLMODUS != QLatin1String("OK")) return;
        const std::optional<std::vector<int32_t>> aktiv = eh.Value([&] {
            std::vector<int32_t> ids;
            Recordset rs(QStringLiteral("SELECT [ID],[KEN] FROM [E1] WHERE [AKT]=true and "
                                        "[ID]>0 ORDER BY [KEN]"),
                         *m_DBPROJEKT);
            for (; !rs.Eof(); rs.MoveNext())
                ids.push_back(CLng(rs.Value(QStringLiteral("ID"))));
            return ids;
        });
        if (!aktiv) continue;
        if (aktiv->size() == 1) {
            id = aktiv->front();
            break;
        }
        const QString meldung =
            aktiv->empty()
                ? (m_SPRACHE == 1 ? QStringLiteral("There is no selected file!")
                                  : QStringLiteral("Es gibt keinen aktuellen Datensatz!"))
                : (m_SPRACHE == 1
                       ? QStringLiteral("Only one file can be opened!")
                       : QStringLiteral("Es kann nur ein aktueller Datensatz geöffnet werden!"));
        if (MsgBox(meldung, vbOKCancel + vbExclamation, titel) != vbOK) return;
    }
    if (!id) return;

    SetMousePointer(vbHourglass);
    QPointer<mdiEINGABE> eingabe;
    eh.Run([&] { eingabe = EINGABEFENSTER::LADEN(*MDIBEREICH); });
    // The session can end in a pause, and the input window with it: then
    // there is nothing to fill and no input state to enter.
    const bool geladen = !eingabe.isNull();
    const auto pause = [&] {
        eh.Run([&] { DoEvents(); });
        return !m_entladen && (!geladen || Forms::IsLoaded(eingabe));
    };
    if (!pause()) return SetMousePointer(vbDefault);
    eh.Run([&] { DATENSATZANZEIGE(); });
    if (eingabe) eh.Run([&] { eingabe->OEFFNEN(*id); });
    if (!pause()) return SetMousePointer(vbDefault);
    eh.Run([&] {
        SETZEPANELSICHTBAR(8, true);
        SETZEPANELSICHTBAR(9, true);
        EINGABEFENSTER::HAUPTMENUS(*this, false);
    });
    SetMousePointer(vbDefault);
}

void frmMAINFENSTER::mnuAUSWAHL_Click() {
    ErrorHandler eh(QStringLiteral("VB-Error: "), mnuAUSWAHL->text());
    m_AUSWAHLMODUS = QStringLiteral("A");
    if (!eh.Run([&] { AUSWAHLDIALOG::ZEIGEN(this); })) return;
    if (m_entladen || m_AUSWAHLMODUS != QLatin1String("OK")) return;
    const std::optional<int> aktiv = eh.Value([&] {
        Recordset rs(QStringLiteral("SELECT [ID] FROM [E1] WHERE [AKT]=true"), *m_DBPROJEKT);
        return rs.Eof() ? 0 : rs.RecordCount();
    });
    // A new choice of several records makes the multiple evaluation of an
    // earlier run obsolete: its record and comment go (its A1 row stays).
    if (aktiv && *aktiv > 1) {
        eh.Run([&] { m_DBPROJEKT->Execute(QStringLiteral("DELETE FROM [E1] WHERE [ID]=0")); });
        eh.Run([&] { m_DBPROJEKT->Execute(QStringLiteral("DELETE FROM [M1] WHERE [IDM]=1")); });
    }
    eh.Run([&] { DATENSATZANZEIGE(); });
    SETZEBOGEAENDERT(true);
}

void frmMAINFENSTER::mnuEXPIMP_Click() {
    EINGABEFENSTER::HAUPTMENUS(*this, false);
    // The menus come back however the dialog ends.
    struct Menues {
        frmMAINFENSTER& f;
        ~Menues() { EINGABEFENSTER::HAUPTMENUS(f, true); }
    } menues{*this};
    DATENAUSTAUSCH::EXPIMP(this);
    // The session may have ended with the dialog open: its imports are
    // marked in the copy already, and the closed copy is not read again.
    if (m_entladen) return;
    if (m_AUSWAHLMODUS == QLatin1String("OK")) SETZEBOGEAENDERT(true);
    // An import brings the records' active flags along: the record panel
    // shows what is active now, as after Open, Select and Delete.
    ErrorHandler eh(QStringLiteral("VB-Error: "), mnuEXPIMP->text());
    eh.Run([&] { DATENSATZANZEIGE(); });
}

void frmMAINFENSTER::mnuEXPINF_Click() {
    ErrorHandler eh(QStringLiteral("VB-Error: "), mnuEXPINF->text());
    eh.Run([&] { DATENAUSTAUSCH::EXPINF(this); });
}

void frmMAINFENSTER::mnuLOESCHEN_Click() {
    const QString titel = mnuLOESCHEN->text();
    ErrorHandler eh(QStringLiteral("VB-Error: "), titel);
    m_AUSWAHLMODUS = QStringLiteral("L");
    if (!eh.Run([&] { AUSWAHLDIALOG::ZEIGEN(this); })) return;
    if (m_entladen || m_AUSWAHLMODUS != QLatin1String("OK")) return;
    const std::optional<std::vector<std::pair<int32_t, QString>>> aktiv = eh.Value([&] {
        std::vector<std::pair<int32_t, QString>> zeilen;
        Recordset rs(QStringLiteral("SELECT * FROM [E1] WHERE [AKT]=true"), *m_DBPROJEKT);
        for (; !rs.Eof(); rs.MoveNext())
            zeilen.emplace_back(CLng(rs.Value(QStringLiteral("ID"))),
                                CStr(rs.Value(QStringLiteral("KEN"))));
        return zeilen;
    });
    // Record by record: once one is deleted, a refusal of the copy says
    // which are gone, not that nothing was changed.
    DatabaseError::WhatStands stand;
    QStringList geloescht;
    if (aktiv) {
        for (const auto& [id, ken] : *aktiv) {
            if (eh.Left()) break;
            const QString frage =
                m_SPRACHE == 1
                    ? QStringLiteral("File ") + ken + QStringLiteral(" will be deleted!")
                    : QStringLiteral("Datensatz ") + ken + QStringLiteral(" wird gelöscht!");
            const int antwort = MsgBox(frage, vbOKCancel + vbExclamation, titel);
            // The run ended while the question waited: no further question,
            // and the closed copy is neither changed nor read again.
            if (m_entladen) return;
            if (antwort != vbOK) continue;
            // The record goes whole: its general data, readings, results,
            // curve and diagram layout with it, or nothing of it.
            if (!eh.Run([&] { DATENSATZLOESCHEN(*m_DBPROJEKT, id); })) continue;
            geloescht << ken;
            const QString liste = geloescht.join(QStringLiteral(", "));
            stand.Set(QStringLiteral("schon gelöscht: %1; sonst wurde nichts geändert").arg(liste),
                      QStringLiteral("deleted already: %1; nothing else was changed").arg(liste));
        }
    }
    // The run may also have ended in the box of a failed deletion.
    if (m_entladen) return;
    eh.Run([&] { DATENSATZANZEIGE(); });
    SETZEBOGEAENDERT(true);
}

// The Evaluate menu's commands belong to the evaluation.
void frmMAINFENSTER::mnuAUSWERTEN_Click() {
    AUSWERTUNG::mnuAUSWERTEN_Click();
}
void frmMAINFENSTER::mnuBERECHNEN_Click() {
    AUSWERTUNG::mnuBERECHNEN_Click();
}
void frmMAINFENSTER::mnuMBERECHNEN_Click() {
    AUSWERTUNG::mnuMBERECHNEN_Click();
}
void frmMAINFENSTER::mnuNEUBERECHNEN_Click() {
    AUSWERTUNG::mnuNEUBERECHNEN_Click();
}

void frmMAINFENSTER::mnuSCHLIESSEN_Click() {
    m_BOSCHLIESSEN = true;
    m_grund = 1;
    close();
    m_grund = 0;
}

void frmMAINFENSTER::mnuBEENDEN_Click() {
    m_BOSCHLIESSEN = false;
    m_grund = 1;
    close();
    m_grund = 0;
}

void frmMAINFENSTER::mnuSPEICHERN_Click() {
    SPEICHERN();
}

bool frmMAINFENSTER::SPEICHERN() {
    return m_arbeitskopie->SPEICHERN(mnuSPEICHERN->text(),
                                     PROGRAMMPFAD() + QLatin1Char('/') + kHilfedatei,
                                     [this] { return KOMPRIMIEREN(); });
}

// Extras menu ---------------------------------------------------------------

QString frmMAINFENSTER::KOMPRIMIERDATEI(const QString& arbeitskopie) {
    const qsizetype stelle = arbeitskopie.indexOf(QStringLiteral(".mdb"), 0, Qt::CaseInsensitive);
    return (stelle < 0 ? arbeitskopie : arbeitskopie.left(stelle)) + QStringLiteral("TEMP.mdb");
}

float frmMAINFENSTER::ERSPARNIS(float vorher, float nachher) {
    // A copy that rounds to 0.0 MB (small projects are that small) saved
    // nothing worth a percentage.
    if (vorher == 0.0f) return 0.0f;
    return float(Round(double((vorher - nachher) * 100.0f / vorher), 1));
}

void frmMAINFENSTER::mnuKOMPRIMIEREN_Click() {
    KOMPRIMIEREN();
}

bool frmMAINFENSTER::KOMPRIMIEREN() {
    const QString titel = mnuKOMPRIMIEREN->text();
    ErrorHandler eh(QStringLiteral("VB-Error: "), titel);
    // A run that cannot know the copy's state changes nothing in it: the
    // compaction is refused before anything is closed, by the guard of
    // every write and with its box.
    m_arbeitskopie->ZUSTANDERNEUERN();
    if (!m_arbeitskopie->ZUSTANDBEKANNT() || m_arbeitskopie->KOPIEVERSCHOBEN()) {
        eh.Run([&] { m_arbeitskopie->AENDERUNGVORMERKEN(); });
        return false;
    }
    SetMousePointer(vbHourglass);
    const QString arbeitskopie = XMDBPFAD();
    const QString temporaer = KOMPRIMIERDATEI(arbeitskopie);
    const std::optional<float> vorher =
        eh.Value([&] { return ARBEITSKOPIE::GROESSEMB(arbeitskopie); });
    bool fertig = vorher.has_value();
    // Alone with the copy (no other run of the user has it open, and none
    // can start meanwhile) the copy is compacted into a file of its own and
    // copied back. While another run works on it, the copy is never closed
    // under it or replaced: the engine compacts it in place under its locks.
    const bool hielt = m_arbeitskopie->ENTSCHEIDET();
    const bool allein = fertig && m_arbeitskopie->ALLEINENTSCHEIDEN();
    // The compaction rewrites the copy outside its journal: what the copy
    // knew of writes beside the program stays as it was.
    const bool fremd = m_arbeitskopie->FREMDGESCHRIEBEN();
    if (allein) TAETIGKEIT::MELDEN(m_arbeitskopie->ZUSTANDSORDNER(), TAETIGKEIT::KOMPRIMIEREN);
    if (!allein) {
        fertig = fertig && eh.Run([&] { m_DBPROJEKT->Compact(); });
    } else {
        // A compaction file left by a killed run goes first; the copy is
        // replaced only by a complete and sound compacted file.
        fertig = eh.Run([&] { entfernen(temporaer); });
        fertig = fertig && eh.Run([&] { m_DBPROJEKT->Close(); });
        fertig = fertig && eh.Run([&] { CompactDatabase(arbeitskopie, temporaer); });
        fertig = fertig && eh.Run([&] { CheckDatabase(temporaer); });
        fertig = fertig && eh.Run([&] { CopyDatabase(temporaer, arbeitskopie); });
        try {
            entfernen(temporaer);
        } catch (const RuntimeError&) {
            // Removed at the next compaction.
        }
        // Whatever happened, the program goes on with the working copy
        // through the same connection object that the other windows hold;
        // unless the run ended meanwhile (the session ended in a box of the
        // compaction).
        ErrorHandler wieder(QStringLiteral("VB-Error: "), titel);
        fertig = Forms::IsLoaded(this) && wieder.Run([&] {
            m_DBPROJEKT->SetConnectionTimeout(30);
            m_DBPROJEKT->Open(verbindungstext(arbeitskopie));
        }) && fertig;
        if (!hielt) m_arbeitskopie->ENTSCHEIDUNGFREIGEBEN();
    }
    if (fertig) m_arbeitskopie->KOMPRIMIERT(fremd);
    if (fertig) {
        const std::optional<float> nachher =
            eh.Value([&] { return ARBEITSKOPIE::GROESSEMB(arbeitskopie); });
        if (nachher) {
            const float prozent = ERSPARNIS(*vorher, *nachher);
            eh.Run([&] {
                if (m_SPRACHE == 1)
                    MsgBox(QStringLiteral("Database was compact about ") + SingleText(prozent) +
                               QStringLiteral(" % to ") + SingleText(*nachher) +
                               QStringLiteral(" MB!"),
                           vbInformation, titel);
                else
                    MsgBox(QStringLiteral("Datenbank wurde um ") + SingleText(prozent) +
                               QStringLiteral(" % auf ") + SingleText(*nachher) +
                               QStringLiteral(" MB komprimiert !"),
                           vbInformation, titel);
            });
        }
    }
    SetMousePointer(vbDefault);
    return fertig;
}

// ? menu --------------------------------------------------------------------

void frmMAINFENSTER::mnuFRAGEZEICHEN_Click() {
    const QString ordner = PROGRAMMPFAD();
    mnuHILFE->setEnabled(!dateiOhneGrossKlein(ordner, QStringLiteral("VELD.hlp")).isEmpty());
    mnuREADME->setEnabled(QFileInfo(ordner + QStringLiteral("/VELD.doc")).isFile());
    mnuHINWEISE->setEnabled(QFileInfo(ordner + QStringLiteral("/VELD_H.doc")).isFile());
    mnuINFO->setEnabled(true);
}

int frmMAINFENSTER::HILFEKONTEXT() const {
    // The help context of the active control of the active child window;
    // without one, that of the child; without a child, the main window's.
    const QMdiSubWindow* kind = MDIBEREICH->activeSubWindow();
    if (kind && kind->widget()) {
        const QWidget* fokus = kind->widget()->focusWidget();
        if (fokus && fokus != kind->widget()) return fokus->property("HelpContextID").toInt();
        return kind->widget()->property("HelpContextID").toInt();
    }
    return property("HelpContextID").toInt();
}

void frmMAINFENSTER::mnuHILFE_Click() {
    SetMousePointer(vbHourglass);
    QString datei = dateiOhneGrossKlein(PROGRAMMPFAD(), kHilfedatei);
    if (datei.isEmpty()) datei = PROGRAMMPFAD() + QLatin1Char('/') + kHilfedatei;
    HILFEZEIGEN(datei, HILFEKONTEXT());
    SetMousePointer(vbDefault);
}

void frmMAINFENSTER::DOKUMENTOEFFNEN(const QString& datei, const QString& titel) {
    SetMousePointer(vbHourglass);
    const bool geoeffnet = OpenDocument(datei);
    SetMousePointer(vbDefault);
    if (!geoeffnet) {
        // No word processor here: the user learns why nothing opens.
        if (m_SPRACHE == 1)
            MsgBox(
                QStringLiteral("There is no program on this computer that can open the document ") +
                    datei + QStringLiteral("."),
                vbOKOnly + vbExclamation, titel);
        else
            MsgBox(QString::fromUtf8(
                       "Auf diesem Rechner ist kein Programm eingerichtet, das das Dokument ") +
                       datei + QString::fromUtf8(" öffnen kann."),
                   vbOKOnly + vbExclamation, titel);
    }
}

void frmMAINFENSTER::mnuREADME_Click() {
    DOKUMENTOEFFNEN(PROGRAMMPFAD() + QStringLiteral("/VELD.doc"), QStringLiteral("?/ReadMe"));
}

void frmMAINFENSTER::mnuHINWEISE_Click() {
    DOKUMENTOEFFNEN(PROGRAMMPFAD() + QStringLiteral("/VELD_H.doc"), QStringLiteral("?/Hinweise"));
}

void frmMAINFENSTER::mnuINFO_Click() {
    frmINFO info(AUTOSTART(), this);
    info.exec();
}
