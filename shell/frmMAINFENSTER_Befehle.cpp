// The commands of the File, Extras and ? menus that belong to the shell:
// New, Open, Select, the exchange dialogs, Delete, Done, Save, Quit, the
// compaction of the working copy, help, readme, notes and the info box.

#include "shell/frmMAINFENSTER.h"

#include "evaluation/AUSWERTUNGSBEFEHLE.h"
#include "platform/controls/Forms.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/DatabaseFile.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/System.h"
#include "platform/runtime/Variant.h"
#include "input/mdiEINGABE.h"
#include "platform/database/Recordset.h"
#include "platform/database/Transaction.h"
#include "shell/AUSWAHLDIALOG.h"
#include "shell/DATENAUSTAUSCH.h"
#include "shell/EINGABEFENSTER.h"
#include "shell/HILFEFENSTER.h"
#include "shell/STATUSLEISTE.h"
#include "shell/TAETIGKEIT.h"
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
constexpr int kKontextKomprimieren = 34;

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
    for (const char* tabelle : {"E1", "E2", "E3", "A1", "A2", "G0"})
        db.Execute(QStringLiteral("DELETE FROM [%1] WHERE [ID]=?").arg(QLatin1String(tabelle)),
                   {id});
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
            const QString frage = m_SPRACHE == 1 ? QStringLiteral("File ") + ken +
                                                       QStringLiteral(" will be deleted!")
                                                 : QStringLiteral("Datensatz ") + ken +
                                                       QStringLiteral(" wird gelöscht!");
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

float frmMAINFENSTER::GROESSEMB(const QString& datei) {
    const QFileInfo info(datei);
    if (!info.isFile()) throw StandardError(53);
    return float(Round(double(info.size()) / 1e6, 1));
}

bool frmMAINFENSTER::SPEICHERN() {
    const QString titel = mnuSPEICHERN->text();
    ErrorHandler eh(QStringLiteral("VB-Error: "), titel);
    // A copy replaced or deleted under this run is never saved over the
    // project, nor are the marks of the copy now at the path cleared: the
    // copy at the path, or another run on it, may hold newer work. This
    // comes before anything reads the copy's file: its size, its compaction.
    if (KOPIEVERSCHOBEN()) return ABGELOESTEKOPIESICHERN(titel);
    // A step that failed stops the Save: nothing is written over the
    // project database after a failed size test or compaction.
    const std::optional<float> groesse = eh.Value([&] { return GROESSEMB(XMDBPFAD()); });
    if (!groesse) return false;
    if (*groesse > 10.0f) {
        const std::optional<float> erneut = eh.Value([&] { return GROESSEMB(XMDBPFAD()); });
        if (!erneut) return false;
        const QString mb = SingleText(*erneut);
        const QString frage =
            m_SPRACHE == 1 ? QStringLiteral("Database reaches ") + mb + QStringLiteral(" MB! ") +
                                 QStringLiteral("\r\n") +
                                 QStringLiteral("Do you want to compact the file?")
                           : QStringLiteral("Datenbank hat ") + mb +
                                 QStringLiteral(" MB erreicht! ") + QStringLiteral("\r\n") +
                                 QStringLiteral("Soll die Datei komprimiert werden?");
        const int antwort = MsgBox(frage, vbYesNo + vbQuestion + vbMsgBoxHelpButton, titel,
                                   PROGRAMMPFAD() + QLatin1Char('/') + kHilfedatei,
                                   kKontextKomprimieren);
        if (m_entladen) return false;
        if (antwort == vbYes && !KOMPRIMIEREN()) return false;
    }
    // The session ended in a box of the compaction: the run is over, and
    // its changes stay in the copy for the next start.
    if (!Forms::IsLoaded(this)) return false;
    // Replaced while the compaction's question waited.
    if (KOPIEVERSCHOBEN()) return ABGELOESTEKOPIESICHERN(titel);
    SetMousePointer(vbHourglass);
    // The project as the user agreed to overwrite it, or as found to hold
    // nothing that the copy lacks.
    std::optional<DatabaseMark> erlaubt;
    SPEICHERVERSUCH versuch;
    for (;;) {
        versuch = SPEICHERNVERSUCHEN(eh, erlaubt);
        if (versuch.ausgang != SPEICHERVERSUCH::Ausgang::Fremd) break;
        // Someone else wrote into the project (or the copy's mark is gone):
        // the question comes only where the Save would remove a record
        // that the copy does not hold as the project does. A project that
        // holds nothing more (the user's own export, another run of the
        // user that saved meanwhile, the project put back as it was) is
        // overwritten unasked.
        const std::optional<QStringList> verloren = eh.Value([&] { return ABWEICHUNGEN(); });
        if (!verloren) {
            SetMousePointer(vbDefault);
            return false;
        }
        if (!verloren->isEmpty()) {
            SetMousePointer(vbDefault);
            if (!UEBERSCHREIBENFRAGEN(titel, *verloren, versuch.bekannt.isEmpty())) return false;
            SetMousePointer(vbHourglass);
        }
        erlaubt = versuch.marke;
    }
    SetMousePointer(vbDefault);
    if (versuch.abgebrochen && Forms::IsLoaded(this))
        MsgBox(eh.Message(*versuch.abgebrochen), vbOKOnly + vbExclamation, titel);
    if (versuch.beschaedigt) {
        if (m_SPRACHE == 1)
            MsgBox(QStringLiteral("The working copy is damaged; project ") + m_PROJEKT +
                       QStringLiteral(" was not overwritten.") + QStringLiteral("\r\n") +
                       QStringLiteral("The working copy is kept: ") + XMDBPFAD(),
                   vbOKOnly + vbCritical, titel);
        else
            MsgBox(QString::fromUtf8("Die Arbeitskopie ist beschädigt; das Projekt ") + m_PROJEKT +
                       QString::fromUtf8(" wurde nicht überschrieben.") + QStringLiteral("\r\n") +
                       QString::fromUtf8("Die Arbeitskopie bleibt erhalten: ") + XMDBPFAD(),
                   vbOKOnly + vbCritical, titel);
    }
    return versuch.ausgang == SPEICHERVERSUCH::Ausgang::Gespeichert;
}

frmMAINFENSTER::SPEICHERVERSUCH
frmMAINFENSTER::SPEICHERNVERSUCHEN(ErrorHandler& eh, const std::optional<DatabaseMark>& erlaubt) {
    // The copy holds the write lock from listing the marks to clearing them:
    // a write of another run is either in the copy and its mark cleared, or
    // after it with a mark of its own. The copy goes through the engine's
    // backup and its check, and replaces the project database only while the
    // Save holds the project's write lock: the project database is either
    // the old one or the whole, sound new one, and a program with open work
    // in it is waited for, never cut off.
    // (The lock is a writing transaction of a second connection: the copy's
    // own connection must only read for the engine's backup.)
    // The project is shared with the other users and programs of the
    // laboratory: what it is now is compared, under its write lock, with
    // what the copy was taken from, and a project that someone else changed
    // since is overwritten only after the user's word, asked with no lock
    // held.
    SPEICHERVERSUCH versuch;
    // A wait that the user cancels ends the Save as its time-out does, with
    // one box: the changes stay unsaved in the copy, and after the quit's
    // Yes the program keeps running.
    const auto wartend = [&](const std::function<void()>& schritt) {
        return [&versuch, schritt] {
            try {
                schritt();
            } catch (const RuntimeError& fehler) {
                if (fehler.Number() != DatabaseError::Cancelled) throw;
                versuch.abgebrochen = fehler;
            }
        };
    };
    Connection sperre;
    const bool gesperrt = eh.Run(wartend([&] {
                              sperre.Open(m_DBPROJEKT->Path());
                              sperre.BeginTrans();
                          })) &&
                          !versuch.abgebrochen;
    // What the project may be to be overwritten unasked: what the copy was
    // taken from or last saved as, by any run of the user.
    versuch.bekannt = PROJEKTMARKEN() + m_eigeneprojektmarken;
    if (gesperrt) {
        const QStringList gesichert = GESPEICHERTERZUSTAND();
        QList<DatabaseMark> erlaubte = versuch.bekannt;
        if (erlaubt) erlaubte << *erlaubt;
        // The new project's mark is beside the copy before the new project
        // takes the old one's place, together with the old one's: a run
        // killed in between leaves a mark that the project is either of.
        const auto vorErsetzen = [&](const DatabaseMark& neu) {
            if (!KOPIEVERSCHOBEN()) PROJEKTMARKENSETZEN(QList<DatabaseMark>{neu} + versuch.bekannt);
        };
        bool fremd = false;
        const bool geschrieben =
            eh.Run(wartend([&] {
                try {
                    // A project whose mark could not be taken is overwritten
                    // as the user agreed, not asked about again.
                    fremd = !CopyDatabaseIfUnchanged(*m_DBPROJEKT, PROJEKTDATENBANK(), erlaubte,
                                                     versuch.marke,
                                                     !erlaubt || erlaubt->known, vorErsetzen);
                } catch (const RuntimeError& fehler) {
                    if (fehler.Number() != DatabaseError::Damaged) throw;
                    versuch.beschaedigt = true;
                }
            })) &&
            !versuch.beschaedigt && !versuch.abgebrochen && !fremd;
        if (fremd) {
            versuch.ausgang = SPEICHERVERSUCH::Ausgang::Fremd;
        } else if (geschrieben) {
            versuch.ausgang = SPEICHERVERSUCH::Ausgang::Gespeichert;
            m_eigeneAenderung = false;
            // Replaced under the Save: the project holds what this run had,
            // and nothing of the copy now at the path is settled.
            if (!KOPIEVERSCHOBEN()) {
                PROJEKTMARKENSETZEN({versuch.marke});
                ZUSTANDGESPEICHERT(gesichert);
            }
        }
    }
    sperre.Close();
    return versuch;
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
    ZUSTANDERNEUERN();
    if (!ZUSTANDBEKANNT() || KOPIEVERSCHOBEN()) {
        eh.Run([&] { AENDERUNGVORMERKEN(); });
        return false;
    }
    SetMousePointer(vbHourglass);
    const QString arbeitskopie = XMDBPFAD();
    const QString temporaer = KOMPRIMIERDATEI(arbeitskopie);
    const std::optional<float> vorher = eh.Value([&] { return GROESSEMB(arbeitskopie); });
    bool fertig = vorher.has_value();
    // Alone with the copy (no other run of the user has it open, and none
    // can start meanwhile) the copy is compacted into a file of its own and
    // copied back. While another run works on it, the copy is never closed
    // under it or replaced: the engine compacts it in place under its locks.
    const bool hielt = m_entscheidet;
    const bool allein = fertig && ALLEINENTSCHEIDEN();
    if (allein) TAETIGKEIT::MELDEN(m_zustand, TAETIGKEIT::KOMPRIMIEREN);
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
                 }) &&
                 fertig;
        if (!hielt) ENTSCHEIDUNGFREIGEBEN();
    }
    if (fertig) {
        const std::optional<float> nachher = eh.Value([&] { return GROESSEMB(arbeitskopie); });
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
