#pragma once

// The base of the working copy: what each record was when the copy last met
// the project (taken from it, written over it by a Save, or a record the
// Save's join took from it). A Save into a project that someone else wrote
// into since sets the copy and the project beside it, record by record; the
// records that differ from their base are this user's changes.
//
// The base lives inside the copy's own database, so that no start, kill,
// compaction or move of the copy can part the two: the table VELD_BASIS
// holds, for every record key written since the copy last met the project,
// how its rows changed since (their digest as DATENSATZSTAENDE sums it: the
// rows before minus the rows now) and whether it had its general data
// before and under which identifier. The copy's connection keeps that row
// from the rows the engine changes (RowJournal), in the transaction of the
// change itself, whatever wrote it and whenever its guard ran. A record
// without a row is as it was. When the copy meets the project, the rows of
// what met it go in the same transaction; a fresh copy starts without rows.
//
// A copy made before the base was kept, with unsaved changes, has no base:
// the table VELD_BASISSTAND then holds a row, and the join asks about every
// record held otherwise until a Save.
//
// VELD_PROJEKTSTAND names the project contents the copy last met as a
// whole, so that a Save knows whether anybody else wrote into the project
// since; it moves with the base, in the same transactions.
//
// VELD_BASISABDRUCK names the project content (its mark) that every record
// without a row holds as the copy does. It moves when the copy meets the
// project whole: a fresh copy, a Save, a join after which every record that
// the two hold otherwise is this user's change. With it, a join reads only
// the records written here and those that the project's history
// (PROJEKTVERLAUF) says were changed there since that content.
//
// A copy that something beside the program wrote into (FREMD) has a base
// that cannot tell what was changed here: whatever reads the base (LESEN,
// ABDRUCK, GEAENDERT, VERAENDERT, AUSDATEI) then tells none, and no caller
// needs to ask again.
//
// These tables, with the copy's project and user (VELD_HERKUNFT) and its
// counter (VELD_ZAEHLER), are the copy's own bookkeeping (TABELLEN): the
// project that a Save writes holds none of them, and a fresh copy starts
// with none of another copy's.

#include "arbeitskopie/DATENSATZSTAENDE.h"
#include "platform/database/DatabaseFile.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>

class Connection;

class KOPIEBASIS {
public:
    // The copy's own tables: the project a Save writes from the copy does
    // not carry them, and a fresh copy drops what it brought.
    static const QStringList& TABELLEN();

    // A new copy (not yet at the copy's path) of the project: its base is
    // itself. Any base the file carried from elsewhere goes. The copy names
    // inside itself the project database it belongs to and its user (the
    // name of the user's folder), so that a file put at the copy's path is
    // known for what it is whatever the files beside it say.
    static void NEU(const QString& datei, const DatabaseMark& abdruck,
                    const QString& projektdatenbank = QString(),
                    const QString& benutzer = QString());
    // The same for a file that is at the copy's path already and holds
    // exactly the project content `abdruck` (a plain copy of the project
    // file): through its own connection, in one transaction.
    static void ALSPROJEKT(Connection& kopie, const DatabaseMark& abdruck,
                           const QString& projektdatenbank, const QString& benutzer);
    // The project database and user a copy names inside itself; nullopt for
    // a file that names none (made before copies named them).
    struct HERKUNFT {
        QString projektdatenbank;
        QString benutzer;
    };
    static std::optional<HERKUNFT> HERKUNFTLESEN(Connection& kopie);
    // Makes the copy's connection keep the base (called at every open, as
    // the columns of the file decide what is hashed). A file without the
    // base's tables (made before the base was kept) gets them: with a base
    // of its own where it holds no unsaved change (`unveraendert`), with
    // none otherwise.
    static void EINRICHTEN(Connection& kopie, bool unveraendert = false);

    // The copy's records and its base (nullopt where it has none), read in
    // one go through the copy's connection (in the caller's transaction).
    struct STAENDE {
        DATENSATZSTAENDE kopie;
        std::optional<DATENSATZSTAENDE> basis;
        // Records that were in the base under another identifier than they
        // have now: the identifier before (its key) and the one now.
        QHash<QString, QString> umbenannt;
    };
    static STAENDE LESEN(Connection& kopie);
    // The same for the records under these identifiers (DATENSATZSTAENDE's
    // keys) only.
    static STAENDE LESEN(Connection& kopie, const QSet<QString>& schluessel);
    // The same, with the base as far as the program's own journal saw it
    // also where something beside the program wrote into the copy (FREMD):
    // what a kept file's run changed itself.
    static STAENDE GESEHEN(Connection& kopie);

    // The project content that the base of every record without a row is
    // (unknown where the copy cannot tell), and the identifiers of the
    // records written since, as they were before and as they are now.
    struct AENDERUNGEN {
        DatabaseMark abdruck;
        QSet<QString> schluessel;
    };
    static AENDERUNGEN GEAENDERT(Connection& kopie);
    // Whether the copy holds unsaved work: a record held otherwise than its
    // base. True also where that cannot be told (no base, a write beside
    // the program, a Save left open).
    static bool VERAENDERT(Connection& kopie);
    // The lowest key a record new in the copy may take: every key the base
    // knows (a record deleted here among them) stays with its record, so
    // that a take never writes under the key of a deletion that is still
    // to reach the project.
    static qint64 FREIAB(Connection& kopie);
    static DatabaseMark ABDRUCK(Connection& kopie);

    // The project contents the copy last met as a whole (taken from it,
    // saved over it, or brought up to it unasked): the project may be
    // overwritten unasked while it is one of them. Several while a Save is
    // not known to have landed; none where the copy's base is older than
    // what it met (work taken from a kept file). nullopt for a copy made
    // before copies kept them. Written in the caller's transaction.
    static std::optional<QList<DatabaseMark>> PROJEKTSTAENDE(Connection& kopie);
    static void PROJEKTSTAENDESETZEN(Connection& kopie, const QList<DatabaseMark>& staende);

    // The records of these keys met the project (the join took them): their
    // base is what the copy holds of them now. `abdruck` is the project
    // content that the other records' base is now: the content joined where
    // every record held otherwise is this user's change, unknown otherwise.
    // In the caller's transaction.
    static void ABGEGLICHEN(Connection& kopie, const QList<qint64>& schluessel,
                            const DatabaseMark& abdruck);
    // The records under these identifiers (DATENSATZSTAENDE's keys) were
    // just taken from a kept file (`datei`) in the caller's transaction:
    // their base is what the file's run last met, where the file keeps a
    // base, so that the Save sets the run's work beside what others changed
    // since as it does any change of this user's. `vorher`: the copy's
    // records under those identifiers before the take (key, identifier).
    static void AUSDATEI(Connection& kopie, Connection& datei, const QStringList& schluessel,
                         const std::map<qint64, QString>& vorher);

    // The whole copy met the project (a Save wrote it over it as the content
    // `abdruck`), through a connection that keeps no base of its own, in its
    // open transaction.
    static void ABGEGLICHEN(Connection& kopie, const DatabaseMark& abdruck);

    // A Save's new project and the copy cannot change in one step. So the
    // copy meets the content `neu` before the new project takes the place
    // of the old one (the content `ersetzt`), with the base before kept
    // beside (VORGEMERKT): open until it is known whether the project
    // became `neu`. BESTAETIGT drops the base before; ZURUECK brings it
    // back, with what was written since added to it. While a Save is open
    // the copy tells no base (nor its content) to anyone: a run killed in
    // between leaves a copy that knows both and is settled by OFFEN's mark
    // at the next join or Save. Each in the caller's transaction, through a
    // connection that keeps no base of its own.
    static void VORGEMERKT(Connection& kopie, const DatabaseMark& neu,
                           const DatabaseMark& ersetzt = DatabaseMark());
    static void BESTAETIGT(Connection& kopie);
    static void ZURUECK(Connection& kopie);
    static std::optional<DatabaseMark> OFFEN(Connection& kopie);
    // The project contents that tell an open Save never landed: the one it
    // was to replace and the others the copy had met before it.
    static QList<DatabaseMark> VORHERSTAENDE(Connection& kopie);
    // Where nothing tells whether the project took the open Save, it is
    // settled record by record. OFFENLESEN reads, for every record whose
    // base before is otherwise than what the Save wrote (under the
    // identifiers they have on either side), what the Save wrote of them
    // and their base before (nullopt where the copy had no base before the
    // Save), and under each identifier the keys of those records. TEILWEISE
    // gives the
    // records `zurueck` their base before back (with what was written
    // since added to it); every other record keeps what the Save wrote as
    // its base.
    struct OFFENESTAENDE {
        DATENSATZSTAENDE geschrieben;
        std::optional<DATENSATZSTAENDE> vorher;
        QHash<QString, QList<qint64>> datensaetze;
    };
    static OFFENESTAENDE OFFENLESEN(Connection& kopie);
    static void TEILWEISE(Connection& kopie, const QSet<qint64>& zurueck);

    // Whether something other than this program's own writes wrote into
    // the copy since it last met the project as a whole (another program,
    // the engine's shell): every write of the program's (GESCHRIEBEN, in
    // its transaction before the commit) keeps the engine's file change
    // counter that its commit leaves, so another writer shows as a counter
    // the copy did not write. `ganz`: the copy met the project whole. A
    // copy in WAL mode, whose counter tells nothing, counts as written by
    // another, and so does one without its counter's table (another
    // program dropped it, or a program before the counter made the copy).
    // Such a copy's base tells no more than that it cannot tell. Asked in a
    // writing transaction of its own, FREMD knows what that transaction's
    // GESCHRIEBEN wrote.
    static void GESCHRIEBEN(Connection& kopie, bool ganz = false,
                            const std::optional<quint32>& zuBeginn = std::nullopt);
    static bool FREMD(Connection& kopie);
    // After a write of the program's own outside its journal (a compaction):
    // the copy at `kopie` keeps what FREMD said before it (`fremd`).
    static void STEMPELN(const QString& kopie, bool fremd);

private:
    static STAENDE lesen(Connection& kopie, const QSet<QString>* schluessel,
                         bool gesehen = false);
};
