#pragma once

// The Save's join of the working copy with a project that someone else wrote
// into since the copy last met it. Each record (and the project's own rows)
// is set beside its base, what it was when the copy last met the project:
// - changed by nobody, or by this user alone: it goes as the copy holds it;
// - changed by the other alone (added, changed or deleted): the copy takes
//   the project's version before the copy goes over the project;
// - changed by both to the same content: nothing to do;
// - changed by both otherwise (or one changed what the other deleted), or
//   an identifier held twice on a side that changed: the user decides.
// Without a base (it could not be kept) every record that the two hold
// otherwise is the user's to decide.

#include "arbeitskopie/DATENSATZSTAENDE.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QStringList>

class Connection;

struct ZUSAMMENFUEHRUNG {
    // What each side did with a record both changed, as the box tells it.
    enum class ART {
        GEAENDERT,     // changed here and there
        HIERGELOESCHT, // deleted here, changed there
        DORTGELOESCHT, // changed here, deleted there
        BEIDENEU,      // a new record on each side under one identifier
        MEHRFACH,      // an identifier held by several records on a side
        UNBEKANNT,     // without a base: held otherwise here and there
        UMBENANNT,     // given another identifier here, changed there
    };

    // Keys (DATENSATZSTAENDE) whose project version the copy takes.
    QStringList UEBERNEHMEN;
    // Keys that both sides changed otherwise, and what each side did.
    QStringList KONFLIKTE;
    QHash<QString, ART> ARTEN;
    // For a record renamed here that the other changed: its identifier here.
    // It is one record with the one before: the project's version of it
    // replaces both.
    QHash<QString, QString> NEUEKENNUNG;

    // The user's answers for records both sides changed, each for the
    // versions (the copy's and the project's content) the record had when
    // asked: true keeps this user's version.
    using ENTSCHEIDUNGEN = QHash<QString, QPair<QByteArray, bool>>;
    static QByteArray FASSUNGEN(const DATENSATZSTAENDE& kopie, const DATENSATZSTAENDE& projekt,
                                const QString& schluessel);
    // What the Save does with the plan, given the answers so far: the keys
    // whose project version the copy takes (what others alone changed, and
    // what the user said No to, `verneint` among them), the keys still to
    // ask about (an answer counts only for the versions it was given for;
    // none where `fragen` is false: such a record stays as this user left
    // it), and whether every record that stays otherwise than the project
    // holds it is this user's change (`ganz`: only then is the project
    // content the base of all others). What is in none of them stays as the
    // copy holds it.
    struct SCHRITTE {
        QStringList nehmen, verneint, fragen;
        bool ganz = false;
    };
    SCHRITTE AUSFUEHREN(const ENTSCHEIDUNGEN& entscheidungen, const DATENSATZSTAENDE* basis,
                        const DATENSATZSTAENDE& kopie, const DATENSATZSTAENDE& projekt,
                        bool fragen) const;

    // `umbenannt`: the records this user gave another identifier (before,
    // now), as KOPIEBASIS reads them. `ungewiss`: records whose base cannot
    // be told: held otherwise here and there, they are asked about.
    static ZUSAMMENFUEHRUNG PLANEN(const DATENSATZSTAENDE* basis, const DATENSATZSTAENDE& kopie,
                                   const DATENSATZSTAENDE& projekt,
                                   const QHash<QString, QString>& umbenannt = {},
                                   const QSet<QString>& ungewiss = {});

    // The identifiers of keys as a box names them, sorted as the engine
    // sorts them; a record without an identifier by `ohneKennung`, the
    // project's own rows by `mehrfach`, last.
    static QStringList NAMEN(const QStringList& schluessel, const DATENSATZSTAENDE& kopie,
                             const DATENSATZSTAENDE& projekt, const QString& mehrfach,
                             const QString& ohneKennung);

    // Writes the project's version of the records `schluessel` into the copy,
    // all in one transaction of `kopie`: the copy's rows of each go, the
    // project's come, value for value as the engine holds them (under the
    // copy's key where it had the record, else a free one, `frei` or above;
    // with the copy's active flag where it had one), so that a take changes
    // nothing a later Save writes back. A record the project lacks is
    // deleted. Returns the record keys of
    // the copy that it wrote or deleted (0 for the project's own rows).
    // Raises the databases' errors, the copy as it was before. `mit`: for a
    // key, the identifier here of the same record renamed (NEUEKENNUNG),
    // whose records the project's version replaces, too.
    static QList<qint64> UEBERTRAGEN(Connection& kopie, Connection& projekt,
                                     const QStringList& schluessel, qint64 frei = 1,
                                     const QHash<QString, QString>& mit = {});
};
