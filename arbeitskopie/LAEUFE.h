#pragma once

// The user's runs on one working copy, as each run sees them: who else works
// on the copy, who may decide about it alone, and the marks a run keeps in
// the copy's state folder (VELD.zustand) beside it:
// - "<run>.lauf", the run mark (LAUFZEICHEN): made at the run's start before
//   it can write, held locked for its lifetime, removed at its orderly end.
//   One left unlocked belongs to a run that died.
// - "<run>.<n>.geaendert", the change marks (AENDERUNGSVERMERK): a command's
//   word that it changed the copy. They are a hint to the other runs; what
//   is unsaved when the copy is kept, deleted or asked about is what the
//   copy's base inside it tells (KOPIEBASIS::VERAENDERT).
// - "behalten": the last run kept the copy with changes nobody was asked
//   about (at a session's end).
// And the locks (LAEUFE.cpp): the copy's lock file beside it, shared by
// every run; the decision lock in the state folder, so that one run at a
// time decides; and a share of one byte of the copy itself, the last word
// on who lives, as the copy cannot go without its records.
// The working copy (ARBEITSKOPIE) holds one for its run.

#include "arbeitskopie/ARBEITSKOPIEDIALOG.h"
#include "platform/runtime/FileLock.h"

#include <QString>
#include <QStringList>
#include <functional>

class LAEUFE {
public:
    // `verschoben`: whether the copy's file is no longer the one at its path.
    LAEUFE(ARBEITSKOPIEDIALOG& dialog, std::function<bool()> verschoben);

    // The byte of the copy (and of a kept file) that a live run holds shared,
    // far from those that the engine locks (from 0x40000000).
    static constexpr qint64 kAnteilsbyte = 0x7FFF0000;
    // A file made and on the disk before anything relies on it; false when
    // it could not be made so.
    static bool FESTANLEGEN(const QString& datei);

    // The start. OEFFNEN makes the state folder beside the copy and opens
    // the locks (what fails is kept as the state's failure); STARTSPERREN
    // takes, without waiting, the decision lock alone, the copy's lock
    // shared and the share of the copy itself: false while another run
    // holds one of them; true when all are held or one failed otherwise.
    // STARTFREIGEBEN gives the decision lock of the start back.
    void OEFFNEN(const QString& arbeitskopie);
    bool STARTSPERREN(const QString& arbeitskopie);
    void STARTFREIGEBEN();
    void LAUFANMELDEN();

    // The copy's state folder (empty before the start made it), and why the
    // state cannot be kept there (empty while it can). Whether this run's
    // state is on the disk beside the copy (its folder usable, its run mark
    // there); a run whose mark or folder went under it makes them anew
    // where it can. A failure is kept once and told once.
    QString ZUSTAND() const { return m_zustand; }
    QString ZUSTANDSFEHLER() const { return m_zustandsfehler; }
    bool ZUSTANDBEKANNT() const;
    void ZUSTANDERNEUERN();
    void ZUSTANDFEHLT(const QString& ordner, const QString& grund);
    void ZUSTANDMELDEN();
    // The files of the state folder that match `muster`; the run marks of
    // the other runs, live or dead.
    QStringList ZUSTANDSDATEIEN(const QString& muster) const;
    QStringList FREMDELAEUFE() const;

    // The share of the copy: why the file system refused it (empty while
    // it did not), told once (ANTEILPRUEFEN, also for a copy the start
    // made), and the question about a copy with unsaved changes that a run
    // refused its share cannot tell left (vbYes keeps them).
    QString ANTEILFEHLER() const { return m_anteilfehler; }
    void ANTEILPRUEFEN(const QString& arbeitskopie);
    int UNGEWISSFRAGEN(const QString& arbeitskopie);
    // The share this run holds on the copy, for a new copy that takes the
    // copy's place carrying it.
    FileLock& KOPIEANTEIL() { return m_kopieanteil; }

    // Whether this run has the copy to itself: its state known, the copy's
    // lock held alone, no other run's mark locked and (unless `mitAnteil`
    // is false) the share of the copy held alone. True with the copy's lock
    // held exclusively; otherwise shared (KOPIETEILEN shares it again).
    bool KOPIEALLEIN(bool mitAnteil = true);
    void KOPIETEILEN();
    // This run alone decides about the copy: both locks held alone until
    // ENTSCHEIDUNGFREIGEBEN. Whether it does now.
    bool ALLEINENTSCHEIDEN();
    void ENTSCHEIDUNGFREIGEBEN();
    bool ENTSCHEIDET() const { return m_entscheidet; }
    // At the run's end: its mark goes (unless its state was lost), and every
    // lock is given back; the share of the copy only once the copy's
    // connection is closed (`kopieOffen` false).
    void FREIGEBEN(bool kopieOffen);

    // The change marks. VERMERKEN makes sure a mark of this run stands
    // (false where the state cannot be kept: ZUSTANDSFEHLER says why);
    // NEUERVERMERK makes a new one for a command's change (one that cannot
    // be made is kept as UNVERMERKT; none where `vermerken` is false, as for
    // a run that moved into a file of its own). What a writing transaction marked
    // while the run had no change before is taken back by its rollback
    // (WACHE around the mark, ZURUECKNEHMEN).
    bool VERMERKEN();
    void NEUERVERMERK(bool vermerken);
    void WACHE(const std::function<void()>& vormerken);
    void ZURUECKNEHMEN();
    // The marks say the copy holds unsaved changes, or this run made one no
    // mark could record (UNVERMERKT, forgotten by UNVERMERKTVERGESSEN).
    bool VERMERKT() const;
    bool UNVERMERKT() const { return m_unvermerkt; }
    void UNVERMERKTVERGESSEN() { m_unvermerkt = false; }
    // The marks a Save finds before it begins (and those of runs that died
    // before, where no other run lives now), cleared once it saved them;
    // LEEREN clears all of them.
    QStringList GESPEICHERTERZUSTAND();
    void GESPEICHERT(const QStringList& vermerke);
    void LEEREN();
    // The mark of a copy kept at a session's end.
    QString BEHALTENVERMERK() const { return m_zustand + QStringLiteral("/behalten"); }

    // Why a lock failed, and a reason of the program's own, in the user's
    // language.
    QString SPERRGRUND(const FileLock& sperre) const;
    QString GRUND(const char* englisch, const char* deutsch) const;

    // The run marks and the change marks, as ZUSTANDSDATEIEN takes them.
    static inline const QString kLaufzeichen = QStringLiteral("*.lauf");
    static inline const QString kAenderungsvermerke = QStringLiteral("*.geaendert");

private:
    static inline const QString kTitel = QStringLiteral("VELD");

    ARBEITSKOPIEDIALOG& m_dialog;
    std::function<bool()> m_verschoben;

    QString LAUFZEICHEN() const;
    void LAUFABMELDEN();
    void ZUSTANDSDATEIENLOESCHEN(const QStringList& dateien);
    void ANTEILFEHLT(const QString& grund);
    bool KOPIEBELEGEN(const QString& arbeitskopie);
    bool KOPIESPERREGILT();
    bool ANDERELAUFEND();
    bool KOPIEANTEILALLEIN();
    bool ENTSCHEIDUNGNEHMEN();

    // Held shared on the working copy's folder for the whole run; the copy
    // is replaced or deleted only by a run that gets it exclusively, that
    // is while no other run of this user works on it.
    FileLock m_kopiesperre;
    // Held on the copy's state folder while a run decides about the copy,
    // so that one run at a time does.
    FileLock m_entscheidung;
    // Held alone on this run's mark for the whole run: a mark whose lock is
    // held belongs to a live run.
    FileLock m_laufsperre;
    // Held shared on one byte of the working copy itself for the whole run,
    // and alone only by a run that has the copy to itself. Its descriptor
    // stays open until the copy's connection is closed (closing one would
    // drop the engine's locks); a run whose file system refuses it is never
    // alone with the copy.
    FileLock m_kopieanteil{kAnteilsbyte};
    QString m_anteilfehler;
    bool m_anteilgemeldet = false;
    bool m_entscheidet = false;
    // The state folder, this run's name in it, and the number of its last
    // change mark.
    QString m_zustand;
    QString m_lauf;
    int m_aenderung = 0;
    // This run's latest change mark; a Save that cleared it makes the next
    // write mark again. And the mark that the open writing transaction made
    // when the run had no unsaved change before: its rollback takes it back.
    QString m_vermerk;
    QString m_zurueckzunehmen;
    // A change of this run that no mark could record: the other runs do not
    // know of it; for this run it counts as unsaved until its own Save or
    // its answer.
    bool m_unvermerkt = false;
    QString m_zustandsfehler;
    bool m_zustandgemeldet = false;
};
