// The user's working copy of the project database: its path, the decision
// at start when a copy is still there, the copy itself, and its state of
// unsaved changes.
//
// A copy is made under a temporary name beside the working copy and renamed
// into place only when it is complete, so that a run killed during the copy
// never leaves a half copy that the next start would offer as the user's
// changes. Beside the copy a small file (VELD.projekt) names the project
// database it was made from: a copy left by a run on another project is
// never offered for this one, nor saved over it.
//
// Two runs of one user share the copy: the second finds the first at work
// on it and uses it as it is, without a question; only a copy that no live
// run holds was left by an interrupted run and is offered. A lock on the
// copy's folder, shared by every run for its lifetime, tells whether another
// run works on the copy; only a run that gets the lock alone asks about,
// replaces or deletes it. Getting it alone means giving up the shared lock
// first, so two runs trying at once would both fail and both think the other
// alive: a second lock, on the state folder, lets one run at a time decide.
//
// Whether the copy holds unsaved changes belongs to the copy, not to one run,
// so that a run that dies leaves nothing unknown to the others. The state
// folder beside the copy (VELD.zustand) holds marks, empty files:
// - "<run>.lauf" for every run, made at its start before it can write and
//   removed at its orderly end. One that is left belongs to a run that died,
//   at any moment, perhaps in the middle of a store: what it wrote is taken
//   as unsaved until a Save or the last run's answer settles it.
// - "<run>.<n>.geaendert" for every change a command marks (store, delete,
//   import, evaluation). A Save clears the marks it found before it began;
//   one made meanwhile stays for a later Save or the question at the end.
#include "shell/frmMAINFENSTER.h"

#include "platform/database/Connection.h"
#include "platform/database/DatabaseFile.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {
const QString kTitel = QStringLiteral("VELD");

std::filesystem::path fsPfad(const QString& pfad) {
    return std::filesystem::path(QFile::encodeName(pfad).toStdString());
}

// Journal files that belong to a database file; a stale one must never meet
// a database it was not written for.
const QStringList kBeiDateien = {QStringLiteral("-journal"), QStringLiteral("-wal"),
                                 QStringLiteral("-shm")};

QString gleichnamig(const QString& pfad) {
    return QDir::cleanPath(QFileInfo(pfad).absoluteFilePath());
}

QString herkunftLesen(const QString& datei) {
    QFile lesen(datei);
    if (!lesen.open(QIODevice::ReadOnly | QIODevice::Text)) return QString();
    return QString::fromUtf8(lesen.readAll()).trimmed();
}

// Written beside and renamed into place, so that it is read whole or not at
// all; a file that is missing only makes the next start ask its question.
void herkunftSchreiben(const QString& datei, const QString& projektdatenbank) {
    const QString neu = datei + QStringLiteral(".neu");
    QFile schreiben(neu);
    const QByteArray inhalt = (gleichnamig(projektdatenbank) + QLatin1Char('\n')).toUtf8();
    const bool geschrieben = schreiben.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                             schreiben.write(inhalt) == inhalt.size() && schreiben.flush();
    schreiben.close();
    std::error_code fehler;
    if (geschrieben) std::filesystem::rename(fsPfad(neu), fsPfad(datei), fehler);
    if (!geschrieben || fehler) {
        QFile::remove(neu);
        throw StandardError(75);
    }
}

const QString kLaufmarken = QStringLiteral("*.lauf");
const QString kAenderungsmarken = QStringLiteral("*.geaendert");

// A mark is on the disk before anything relies on it, a power loss included.
bool markeAnlegen(const QString& datei) {
    const int fd =
        ::open(QFile::encodeName(datei).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool fest = ::fsync(fd) == 0;
    ::close(fd);
    const int ordner =
        ::open(QFile::encodeName(QFileInfo(datei).path()).constData(), O_RDONLY | O_CLOEXEC);
    if (ordner >= 0) {
        ::fsync(ordner);
        ::close(ordner);
    }
    return fest;
}
} // namespace

QString frmMAINFENSTER::XMDBPFAD() {
    QString pfad = QFileInfo(QDir::cleanPath(PROGRAMMPFAD())).path() + QStringLiteral("/BENUTZER");
    if (!QFileInfo(pfad).isDir()) QDir().mkdir(pfad);
    pfad += QLatin1Char('/') + BENUTZER();
    if (!QFileInfo(pfad).isDir()) QDir().mkdir(pfad);
    return pfad + QLatin1Char('/') + kTitel + QStringLiteral(".mdb");
}

QString frmMAINFENSTER::HERKUNFTSDATEI(const QString& arbeitskopie) {
    return QFileInfo(arbeitskopie).path() + QStringLiteral("/VELD.projekt");
}

void frmMAINFENSTER::ARBEITSKOPIEVORBEREITEN(ErrorHandler& eh) {
    const std::optional<QString> kopie = eh.Value([&] { return XMDBPFAD(); });
    if (!kopie) return;
    const QString arbeitskopie = *kopie;
    // What killed runs left beside the project database and the copy goes.
    RemoveDeadTemporaries(QFileInfo(PROJEKTDATENBANK()).absolutePath());
    RemoveDeadTemporaries(QFileInfo(arbeitskopie).absolutePath());
    const QString zustand =
        QFileInfo(arbeitskopie).path() + QLatin1Char('/') + kTitel + QStringLiteral(".zustand");
    if (QFileInfo(zustand).isDir() || QDir().mkdir(zustand)) m_zustand = zustand;
    // One start at a time decides about the copy; a start that finds another
    // deciding waits for its decision and then shares the copy it decided.
    if (!m_zustand.isEmpty() && m_entscheidung.Open(m_zustand) && !m_entscheidung.TryExclusive()) {
        if (STARTHALT) STARTHALT("WARTET");
        m_entscheidung.Exclusive();
    }
    struct Freigabe {
        FileLock& sperre;
        ~Freigabe() { sperre.Unlock(); }
    } freigabe{m_entscheidung};
    if (m_kopiesperre.Open(QFileInfo(arbeitskopie).path())) m_kopiesperre.Shared();
    if (!m_zustand.isEmpty()) LAUFANMELDEN();
    if (STARTHALT) STARTHALT("HALT");

    if (QFileInfo::exists(arbeitskopie)) {
        const QString herkunft = herkunftLesen(HERKUNFTSDATEI(arbeitskopie));
        if (!herkunft.isEmpty() && herkunft != gleichnamig(PROJEKTDATENBANK())) {
            // Another project's unsaved changes: they are kept under a name
            // of their own, and this project gets a fresh copy.
            const std::optional<QString> neu = eh.Value([&] {
                // A copy that another run still works on cannot be moved.
                if (!m_kopiesperre.TryExclusive()) throw StandardError(70);
                return UEBRIGEKOPIESICHERN(arbeitskopie, herkunft);
            });
            if (!neu) {
                // Never copy over changes that could not be put aside; the
                // run shares the copy as it is.
                m_kopiesperre.Shared();
                return;
            }
            if (eh.Run([&] { FRISCHEKOPIE(arbeitskopie); })) ZUSTANDLEEREN();
            m_kopiesperre.Shared();
            const QString projekt = QFileInfo(herkunft).absoluteDir().dirName();
            if (m_SPRACHE == 1)
                MsgBox(QStringLiteral("The working copy of project ") + projekt +
                           QStringLiteral(" was not saved. It has been kept as ") + *neu +
                           QStringLiteral("."),
                       vbOKOnly + vbExclamation, kTitel);
            else
                MsgBox(QStringLiteral("Die Arbeitskopie des Projekts ") + projekt +
                           QStringLiteral(" wurde nicht gespeichert. Sie liegt unter ") + *neu +
                           QStringLiteral("."),
                       vbOKOnly + vbExclamation, kTitel);
        } else if (!m_kopiesperre.TryExclusive()) {
            // Another run of this user works on the copy right now: nothing
            // was interrupted, and this run shares the copy as it is, with
            // its state.
        } else {
            // No other run holds the copy: a run that is gone left it. The
            // lock stays exclusive until the answer is carried out, so a run
            // starting meanwhile waits and then shares the decided copy.
            const int antwort =
                m_SPRACHE == 1
                    ? MsgBox(QStringLiteral("Program was interuped during the execution!") +
                                 QStringLiteral("\r\n") +
                                 QStringLiteral(
                                     "Do you want to save the changes till the interuption?"),
                             vbYesNo + vbQuestion, kTitel)
                    : MsgBox(
                          QString::fromUtf8("Programm wurde während der Ausführung unterbrochen!") +
                              QStringLiteral("\r\n") +
                              QStringLiteral(
                                  "Soll die bis zum Abbruch vorhandenen Daten gepeichert werden?"),
                          vbYesNo + vbQuestion, kTitel);
            if (antwort == vbYes) {
                // From now on the copy is this project's, and what the gone
                // runs left in it counts as this run's unsaved changes.
                eh.Run(
                    [&] { herkunftSchreiben(HERKUNFTSDATEI(arbeitskopie), PROJEKTDATENBANK()); });
                ZUSTANDLEEREN();
                SETZEBOGEAENDERT(true);
            } else if (eh.Run([&] { FRISCHEKOPIE(arbeitskopie); })) {
                ZUSTANDLEEREN();
            }
            m_kopiesperre.Shared();
        }
    } else {
        // A copy made while another run starts is made once.
        const bool allein = m_kopiesperre.TryExclusive();
        if (eh.Run([&] { FRISCHEKOPIE(arbeitskopie); }) && allein) ZUSTANDLEEREN();
        m_kopiesperre.Shared();
    }
    eh.Run([&] { ARBEITSKOPIEOEFFNEN(arbeitskopie); });
}

QStringList frmMAINFENSTER::MARKEN(const QString& muster) const {
    if (m_zustand.isEmpty()) return {};
    return QDir(m_zustand).entryList(QStringList{muster}, QDir::Files);
}

void frmMAINFENSTER::MARKENLOESCHEN(const QStringList& marken) {
    for (const QString& marke : marken)
        QFile::remove(m_zustand + QLatin1Char('/') + marke);
}

void frmMAINFENSTER::LAUFANMELDEN() {
    m_lauf = QUuid::createUuid().toString(QUuid::Id128);
    markeAnlegen(m_zustand + QLatin1Char('/') + m_lauf + QStringLiteral(".lauf"));
}

QStringList frmMAINFENSTER::FREMDELAEUFE() const {
    QStringList laeufe = MARKEN(kLaufmarken);
    laeufe.removeAll(m_lauf + QStringLiteral(".lauf"));
    return laeufe;
}

bool frmMAINFENSTER::BOGEAENDERT() {
    return m_BOGEAENDERT || !MARKEN(kAenderungsmarken).isEmpty();
}

void frmMAINFENSTER::SETZEBOGEAENDERT(bool geaendert) {
    if (!geaendert) {
        ZUSTANDGESPEICHERT(GESPEICHERTERZUSTAND());
        return;
    }
    // Every change gets a mark of its own, so that a Save of another run
    // that began before it cannot clear it.
    const QStringList fruehere = MARKEN(m_lauf + QStringLiteral(".*.geaendert"));
    if (!m_zustand.isEmpty() &&
        markeAnlegen(m_zustand + QLatin1Char('/') + m_lauf + QLatin1Char('.') +
                     QString::number(++m_aenderung) + QStringLiteral(".geaendert")))
        MARKENLOESCHEN(fruehere);
    else
        m_BOGEAENDERT = true;
}

bool frmMAINFENSTER::ALLEINENTSCHEIDEN() {
    if (m_entscheidet) return true;
    // A start deciding now is a run, too.
    if (!m_entscheidung.TryExclusive()) return false;
    if (!m_kopiesperre.TryExclusive()) {
        m_entscheidung.Unlock();
        return false;
    }
    m_entscheidet = true;
    return true;
}

void frmMAINFENSTER::ENTSCHEIDUNGFREIGEBEN() {
    if (!m_entscheidet) return;
    m_entscheidet = false;
    m_kopiesperre.Shared();
    m_entscheidung.Unlock();
}

void frmMAINFENSTER::ZUSTANDLEEREN() {
    // Every change mark and every gone run's mark: the copy is settled.
    ZUSTANDGESPEICHERT(MARKEN(kAenderungsmarken) + FREMDELAEUFE());
}

QStringList frmMAINFENSTER::GESPEICHERTERZUSTAND() {
    // The changes marked before the Save begins are in the copy it writes;
    // so is whatever runs that died before wrote, known when no other run
    // lives now.
    QStringList marken = MARKEN(kAenderungsmarken);
    const bool hielt = m_entscheidet;
    if (ALLEINENTSCHEIDEN()) {
        marken += FREMDELAEUFE();
        if (!hielt) ENTSCHEIDUNGFREIGEBEN();
    }
    return marken;
}

void frmMAINFENSTER::ZUSTANDGESPEICHERT(const QStringList& marken) {
    MARKENLOESCHEN(marken);
    m_BOGEAENDERT = false;
}

void frmMAINFENSTER::FRISCHEKOPIE(const QString& arbeitskopie) {
    const QString herkunft = HERKUNFTSDATEI(arbeitskopie);
    const QString neu = arbeitskopie + QStringLiteral(".neu");
    // Until the new copy is in place, it belongs to no project.
    QFile::remove(herkunft);
    QFile::remove(neu);
    try {
        CopyDatabase(PROJEKTDATENBANK(), neu);
        for (const QString& endung : kBeiDateien)
            QFile::remove(arbeitskopie + endung);
        std::filesystem::rename(fsPfad(neu), fsPfad(arbeitskopie));
    } catch (...) {
        QFile::remove(neu);
        throw;
    }
    herkunftSchreiben(herkunft, PROJEKTDATENBANK());
}

QString frmMAINFENSTER::UEBRIGEKOPIESICHERN(const QString& arbeitskopie, const QString& herkunft) {
    const QString ordner = QFileInfo(arbeitskopie).path();
    const QString projekt = QFileInfo(herkunft).absoluteDir().dirName();
    const QString stamm = ordner + QLatin1Char('/') + kTitel + QLatin1Char('_') + projekt;
    QString ziel = stamm + QStringLiteral(".mdb");
    for (int n = 2; QFileInfo::exists(ziel); ++n)
        ziel = stamm + QLatin1Char('_') + QString::number(n) + QStringLiteral(".mdb");
    std::filesystem::rename(fsPfad(arbeitskopie), fsPfad(ziel));
    // A journal left with the copy belongs to it.
    for (const QString& endung : kBeiDateien)
        if (QFileInfo::exists(arbeitskopie + endung)) {
            std::error_code egal;
            std::filesystem::rename(fsPfad(arbeitskopie + endung), fsPfad(ziel + endung), egal);
        }
    QFile::remove(HERKUNFTSDATEI(arbeitskopie));
    return ziel;
}

void frmMAINFENSTER::ARBEITSKOPIEOEFFNEN(const QString& arbeitskopie) {
    m_DBPROJEKT->SetConnectionTimeout(30);
    m_DBPROJEKT->Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; ") +
                      QStringLiteral("Data Source=") + arbeitskopie +
                      QStringLiteral(";Persist Security Info=False"));
}
