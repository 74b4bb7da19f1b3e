// The user's working copy of the project database: its path, the decision
// at start when a copy is still there, and the copy itself. Which runs
// share it and who may decide about it alone is in frmMAINFENSTER_Allein;
// its state of unsaved changes in frmMAINFENSTER_Marken.
//
// A copy is made under a temporary name beside the working copy and renamed
// into place only when it is complete, so that a run killed during the copy
// never leaves a half copy that the next start would offer as the user's
// changes. Beside the copy a small file (VELD.projekt) names the project
// database it was made from: a copy left by a run on another project is
// never offered for this one, nor saved over it.
//
// A copy that an interrupted run left damaged is not offered: a Yes would
// keep it and every command would then fail on it, and copied over, the
// interrupted run's changes would be lost for good. Like a copy of another
// project, it is put aside under a name that says what it is, where the user
// (or whoever repairs it) finds it, and the run goes on with a fresh copy of
// the project.

#include "shell/frmMAINFENSTER.h"

#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/DatabaseFile.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/System.h"
#include "platform/runtime/WaitWindow.h"
#include "shell/TAETIGKEIT.h"
#include "shell/frmMAINFENSTER_Intern.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

using HAUPTFENSTERINTERN::kTitel;

namespace {
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

// VELD.projekt: on its first line the project database that the copy was
// made from; on its second the mark of that database as it was when the
// copy was taken from it or last saved over it, so that a Save knows
// whether anybody else wrote into the project since.
QStringList herkunftZeilen(const QString& datei) {
    QFile lesen(datei);
    if (!lesen.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    return QString::fromUtf8(lesen.readAll()).split(QLatin1Char('\n'));
}

QString herkunftLesen(const QString& datei) {
    return herkunftZeilen(datei).value(0).trimmed();
}

// The project a copy was made from, as VELD.projekt names it: the folder of
// its project database. A line that names no such database (the file
// garbled or written by something else) gives kFremd: a copy put aside is
// never named after garbage.
const QString kFremd = QStringLiteral("fremd");

QString projektname(const QString& herkunft) {
    const QFileInfo datei(herkunft);
    const QString name = datei.dir().dirName();
    const bool zulaessig =
        !name.isEmpty() && name.size() <= 64 && name.front().isLetterOrNumber() &&
        std::all_of(name.begin(), name.end(), [](QChar c) {
            return c.isLetterOrNumber() || QStringLiteral(" ._-+()").contains(c);
        });
    if (!datei.isAbsolute() || datei.fileName() != kTitel + QStringLiteral(".mdb") || !zulaessig)
        return kFremd;
    return name;
}

QList<DatabaseMark> projektmarkenLesen(const QString& datei) {
    return DatabaseMark::ListFromText(herkunftZeilen(datei).value(1));
}

// Written beside and renamed into place, so that it is read whole or not at
// all; a file that is missing only makes the next start ask its question.
void herkunftSchreiben(const QString& datei, const QString& projektdatenbank,
                       const QList<DatabaseMark>& marken) {
    const QString neu = datei + QStringLiteral(".neu");
    QFile schreiben(neu);
    const QByteArray inhalt = (gleichnamig(projektdatenbank) + QLatin1Char('\n') +
                               DatabaseMark::ListToText(marken) + QLatin1Char('\n'))
                                  .toUtf8();
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

bool frmMAINFENSTER::ARBEITSKOPIEVORBEREITEN(ErrorHandler& eh) {
    const std::optional<QString> kopie = eh.Value([&] { return XMDBPFAD(); });
    if (!kopie) return true;
    const QString arbeitskopie = *kopie;
    // What killed runs left beside the project database and the copy goes.
    RemoveDeadTemporaries(QFileInfo(PROJEKTDATENBANK()).absolutePath());
    RemoveDeadTemporaries(QFileInfo(arbeitskopie).absolutePath());
    const QString zustand =
        QFileInfo(arbeitskopie).path() + QLatin1Char('/') + kTitel + QStringLiteral(".zustand");
    if (QFileInfo(zustand).isDir() || QDir().mkdir(zustand))
        m_zustand = zustand;
    else
        ZUSTANDFEHLT(zustand, QFileInfo::exists(zustand)
                                  ? GRUND("a file of that name is in the way",
                                          "eine Datei dieses Namens steht im Weg")
                                  : GRUND("it cannot be made", "er kann nicht angelegt werden"));
    // One start at a time decides about the copy; a start that finds another
    // deciding waits for its decision and then shares the copy it decided.
    // The copy's lock is a file beside the copy, not in the state folder: a
    // state folder removed under live runs must not make a new start think
    // it is alone with the copy.
    if (!m_zustand.isEmpty() &&
        !m_entscheidung.Open(m_zustand + QStringLiteral("/VELD.entscheidung")))
        ZUSTANDFEHLT(m_zustand, SPERRGRUND(m_entscheidung));
    if (!m_kopiesperre.Open(QFileInfo(arbeitskopie).path() + QStringLiteral("/VELD.sperre")))
        ZUSTANDFEHLT(QFileInfo(arbeitskopie).path(), SPERRGRUND(m_kopiesperre));
    if (!STARTSPERREN(arbeitskopie)) {
        if (STARTHALT) STARTHALT("WARTET");
        // A wait cancelled, timed out or ended by the session ends the start
        // with the one box of every such start (none at the session's end).
        if (!eh.Run([&] { ENTSCHEIDUNGABWARTEN(arbeitskopie); })) return true;
    }
    if (m_zustandsfehler.isEmpty()) TAETIGKEIT::MELDEN(m_zustand, TAETIGKEIT::START);
    struct Freigabe {
        FileLock& sperre;
        ~Freigabe() {
            TAETIGKEIT::BEENDEN();
            sperre.Unlock();
        }
    } freigabe{m_entscheidung};
    if (!m_zustand.isEmpty()) LAUFANMELDEN();
    // A run that cannot keep its state beside the copy is told once; it
    // changes nothing in the copy and decides nothing about it.
    if (!m_zustandsfehler.isEmpty()) ZUSTANDMELDEN();
    if (STARTHALT) STARTHALT("HALT");

    if (QFileInfo::exists(arbeitskopie)) {
        const QString herkunft = herkunftLesen(HERKUNFTSDATEI(arbeitskopie));
        if (!herkunft.isEmpty() && herkunft != gleichnamig(PROJEKTDATENBANK())) {
            // Another project's copy is never moved without knowing that no
            // run works on it, nor taken for this project's (a Save would
            // write it over this project): a run that cannot know ends here,
            // told why, and the copy stays as it is.
            if (!ZUSTANDBEKANNT()) {
                if (m_zustandsfehler.isEmpty())
                    ZUSTANDFEHLT(m_zustand,
                                 GRUND("the run's mark is gone", "die Marke des Laufs fehlt"));
                ZUSTANDMELDEN();
                return false;
            }
            const QString projekt = projektname(herkunft);
            QString welches = m_SPRACHE == 1 ? QStringLiteral("project ") + projekt
                                             : QStringLiteral("zum Projekt ") + projekt;
            if (projekt == kFremd)
                welches = m_SPRACHE == 1 ? QStringLiteral("another project")
                                         : QStringLiteral("einem anderen Projekt");
            // A copy that another run still works on (or may: the copy's
            // lock refused) cannot be moved, and this run cannot share it
            // either: a Save would write the other project's records over
            // this one. The start ends, told why.
            if (!KOPIEALLEIN()) {
                if (!m_zustandsfehler.isEmpty())
                    ZUSTANDMELDEN();
                else if (!m_anteilfehler.isEmpty())
                    ANTEILPRUEFEN(arbeitskopie);
                else if (m_SPRACHE == 1)
                    MsgBox(QStringLiteral("The working copy belongs to ") + welches +
                               QStringLiteral(", on which another run of VELD is working right "
                                              "now.") +
                               QStringLiteral("\r\n") +
                               QStringLiteral("End that run first; this start ends."),
                           vbOKOnly + vbExclamation, kTitel);
                else
                    MsgBox(QString::fromUtf8("Die Arbeitskopie gehört ") + welches +
                               QString::fromUtf8(", an dem gerade ein anderer Lauf von VELD "
                                                 "arbeitet.") +
                               QStringLiteral("\r\n") +
                               QString::fromUtf8("Beenden Sie zuerst diesen Lauf; dieser Start "
                                                 "wird beendet."),
                           vbOKOnly + vbExclamation, kTitel);
                return false;
            }
            // Another project's unsaved changes: they are kept under a name
            // of their own, and this project gets a fresh copy.
            if (!KOPIEERSETZEN(eh, arbeitskopie, projekt)) return false;
        } else if (!KOPIEALLEIN() && !UNGEWISSVERLASSEN()) {
            // Another run of this user works on the copy right now: nothing
            // was interrupted, and this run shares the copy as it is, with
            // its state. A run that cannot know the copy's state leaves it
            // as it is, too.
        } else if (m_anteilfehler.isEmpty() && BESCHAEDIGTEKOPIESICHERN(eh, arbeitskopie)) {
            // A damaged copy is never offered: it was put aside, and this
            // run has a fresh one (or ends, told why).
            if (m_abgebrochen) return false;
        } else {
            // No other run holds the copy: a run that is gone left it. The
            // lock stays exclusive until the answer is carried out, so a run
            // starting meanwhile waits and then shares the decided copy.
            // Where the share of the copy is refused, the question says that
            // the start cannot be sure that no run works on the copy.
            const int antwort =
                !m_anteilfehler.isEmpty() ? UNGEWISSFRAGEN(arbeitskopie)
                : m_SPRACHE == 1
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
                // The project's mark stays what the gone run took it from.
                eh.Run([&] {
                    const QString herkunft = HERKUNFTSDATEI(arbeitskopie);
                    herkunftSchreiben(herkunft, PROJEKTDATENBANK(), projektmarkenLesen(herkunft));
                });
                ZUSTANDLEEREN();
                SETZEBOGEAENDERT(true);
            } else if (eh.Run([&] { FRISCHEKOPIE(arbeitskopie); })) {
                ZUSTANDLEEREN();
            }
            KOPIETEILEN();
        }
    } else {
        // A copy made while another run starts is made once.
        const bool allein = KOPIEALLEIN();
        if (eh.Run([&] { FRISCHEKOPIE(arbeitskopie); }) && allein) ZUSTANDLEEREN();
        KOPIETEILEN();
    }
    if (!eh.Left()) ANTEILPRUEFEN(arbeitskopie);
    // What runs kept when the copy went from under them is offered while
    // this start still decides, so that two starts never bring it in twice.
    if (eh.Run([&] { ARBEITSKOPIEOEFFNEN(arbeitskopie); })) ABGELOESTEANBIETEN();
    return true;
}

void frmMAINFENSTER::FRISCHEKOPIE(const QString& arbeitskopie) {
    const QString herkunft = HERKUNFTSDATEI(arbeitskopie);
    const QString neu = arbeitskopie + QStringLiteral(".neu");
    DatabaseMark marke;
    // Until the new copy is in place, it belongs to no project.
    QFile::remove(herkunft);
    QFile::remove(neu);
    try {
        // The new file is the working copy to the user, also in its boxes.
        CopyDatabase(PROJEKTDATENBANK(), neu, arbeitskopie, &marke);
        // The new copy carries this run's share from the moment it is at the
        // copy's path: a start meanwhile never finds it without a live run.
        FileLock anteil(kAnteilsbyte);
        const bool belegt = anteil.OpenPresent(neu) && anteil.Shared();
        for (const QString& endung : kBeiDateien)
            QFile::remove(arbeitskopie + endung);
        std::filesystem::rename(fsPfad(neu), fsPfad(arbeitskopie));
        // No connection of this run is open on the copy replaced, so its
        // descriptor may close.
        if (belegt) {
            anteil.Moved(arbeitskopie);
            m_kopieanteil = std::move(anteil);
        } else {
            m_kopieanteil.Release();
        }
    } catch (...) {
        QFile::remove(neu);
        throw;
    }
    m_eigeneprojektmarken = {marke};
    herkunftSchreiben(herkunft, PROJEKTDATENBANK(), {marke});
}

QList<DatabaseMark> frmMAINFENSTER::PROJEKTMARKEN() {
    return projektmarkenLesen(HERKUNFTSDATEI(XMDBPFAD()));
}

void frmMAINFENSTER::PROJEKTMARKENSETZEN(const QList<DatabaseMark>& marken) {
    m_eigeneprojektmarken = marken;
    // A mark that cannot be written leaves the line before as it was, and
    // with it the project the copy belongs to: an older mark only makes a
    // Save compare the records, it never lets one overwrite another's work.
    try {
        herkunftSchreiben(HERKUNFTSDATEI(XMDBPFAD()), PROJEKTDATENBANK(), marken);
    } catch (const RuntimeError&) {
    }
}

bool frmMAINFENSTER::BESCHAEDIGTEKOPIESICHERN(ErrorHandler& eh, const QString& arbeitskopie) {
    // The engine's check reads every page, so that damage inside a table is
    // found here and not by the first command that reads it.
    bool beschaedigt = false;
    const bool geprueft = eh.Run([&] {
        try {
            CheckDatabase(arbeitskopie);
        } catch (const RuntimeError& fehler) {
            if (fehler.Number() != DatabaseError::Damaged) throw;
            beschaedigt = true;
        }
    });
    if (!geprueft) {
        // A copy that cannot be read (held, unreadable) ends the start,
        // left as it is; one the user chose to go on with is offered.
        if (!eh.Left()) return false;
        KOPIETEILEN();
        return true;
    }
    if (!beschaedigt) return false;
    if (!KOPIEERSETZEN(eh, arbeitskopie, QString())) m_abgebrochen = true;
    return true;
}

bool frmMAINFENSTER::KOPIEERSETZEN(ErrorHandler& eh, const QString& arbeitskopie,
                                   const QString& fremdprojekt) {
    const bool en = m_SPRACHE == 1;
    const bool beschaedigt = fremdprojekt.isEmpty();
    const std::optional<QString> ziel = eh.Value([&] {
        return KOPIEBEISEITELEGEN(arbeitskopie,
                                  beschaedigt ? QStringLiteral("beschaedigt") : fremdprojekt);
    });
    if (!ziel) {
        // Never copied over, nor worked on: what could not be put aside
        // stays where it is, and the start ends (its box says why).
        KOPIETEILEN();
        return eh.Left();
    }
    const QString ort = QDir::toNativeSeparators(*ziel) + QLatin1Char('.');
    QString was;
    if (beschaedigt)
        was = en ? QStringLiteral("The working copy left by an interrupted run is damaged and "
                                  "cannot be used. It has been kept as ") +
                       ort
                 : QString::fromUtf8("Die Arbeitskopie, die ein unterbrochener Lauf hinterlassen "
                                     "hat, ist beschädigt und kann nicht benutzt werden. Sie liegt "
                                     "unter ") +
                       ort;
    else if (fremdprojekt == kFremd)
        was = en ? QStringLiteral("The working copy of another project was not saved. It has "
                                  "been kept as ") +
                       ort
                 : QStringLiteral("Die Arbeitskopie eines anderen Projekts wurde nicht "
                                  "gespeichert. Sie liegt unter ") +
                       ort;
    else
        was = en ? QStringLiteral("The working copy of project ") + fremdprojekt +
                       QStringLiteral(" was not saved. It has been kept as ") + ort
                 : QStringLiteral("Die Arbeitskopie des Projekts ") + fremdprojekt +
                       QStringLiteral(" wurde nicht gespeichert. Sie liegt unter ") + ort;
    bool frisch = false;
    {
        // A refusal of the project says what stands: the copy lies aside,
        // and no new one was made.
        const DatabaseError::WhatStands stand(
            QStringLiteral("eine neue Arbeitskopie wurde nicht angelegt"),
            QStringLiteral("no new working copy was made"));
        frisch = eh.Run([&] { FRISCHEKOPIE(arbeitskopie); });
    }
    // What the marks beside the copy tell belongs to the copy put aside.
    if (frisch) ZUSTANDLEEREN();
    KOPIETEILEN();
    if (!frisch) {
        // One box: where the copy lies, and why the start ends.
        if (!m_sitzungsende)
            MsgBox(was + QStringLiteral("\r\n") + eh.ErrDescription() + QStringLiteral("\r\n") +
                       (en ? QStringLiteral("VELD does not start.")
                           : QStringLiteral("VELD wird nicht gestartet.")),
                   vbOKOnly + vbExclamation, kTitel);
        return false;
    }
    if (beschaedigt)
        was += QStringLiteral("\r\n") +
               (en ? QStringLiteral("The work goes on with a new copy of project ") + m_PROJEKT +
                         QStringLiteral(".")
                   : QStringLiteral("Es wird mit einer neuen Kopie des Projekts ") + m_PROJEKT +
                         QStringLiteral(" weitergearbeitet."));
    MsgBox(was, vbOKOnly + vbExclamation, kTitel);
    return true;
}

QString frmMAINFENSTER::KOPIEBEISEITELEGEN(const QString& arbeitskopie, const QString& zusatz) {
    const QString ziel = FREIERNAME(arbeitskopie, zusatz);
    try {
        std::filesystem::rename(fsPfad(arbeitskopie), fsPfad(ziel));
    } catch (...) {
        QFile::remove(ziel);
        throw;
    }
    // A journal left with the copy belongs to it.
    for (const QString& endung : kBeiDateien)
        if (QFileInfo::exists(arbeitskopie + endung)) {
            std::error_code egal;
            std::filesystem::rename(fsPfad(arbeitskopie + endung), fsPfad(ziel + endung), egal);
        }
    QFile::remove(HERKUNFTSDATEI(arbeitskopie));
    return ziel;
}

QString frmMAINFENSTER::FREIERNAME(const QString& arbeitskopie, const QString& zusatz) {
    const QString stamm = QFileInfo(arbeitskopie).path() + QStringLiteral("/VELD_") + zusatz;
    // The name is taken by making the file, so that two runs never take one.
    for (int n = 1;; ++n) {
        const QString ziel = stamm + (n == 1 ? QString() : QLatin1Char('_') + QString::number(n)) +
                             QStringLiteral(".mdb");
        const int fd = ::open(QFile::encodeName(ziel).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            return ziel;
        }
        if (errno == EEXIST) continue;
        // Told as what it is: a full disk or a missing folder is no
        // fault of the file access.
        const QString ordner = QDir::toNativeSeparators(QFileInfo(ziel).path());
        switch (errno) {
        case ENOSPC:
        case EDQUOT:
            throw DatabaseError::DiskFullError(QDir::toNativeSeparators(ziel));
        case ENOENT:
        case ENOTDIR:
            throw RuntimeError(76, GermanTexts()
                                       ? QStringLiteral("Der Ordner %1 fehlt.").arg(ordner)
                                       : QStringLiteral("The folder %1 is missing.").arg(ordner));
        case EACCES:
        case EPERM:
        case EROFS:
            throw RuntimeError(70, GermanTexts()
                                       ? QString::fromUtf8("In den Ordner %1 darf nicht "
                                                           "geschrieben werden.")
                                             .arg(ordner)
                                       : QStringLiteral("The folder %1 cannot be written.")
                                             .arg(ordner));
        default:
            throw DatabaseError::IoFailureError(QDir::toNativeSeparators(ziel));
        }
    }
}

void frmMAINFENSTER::ARBEITSKOPIEOEFFNEN(const QString& arbeitskopie) {
    m_DBPROJEKT->SetConnectionTimeout(30);
    m_DBPROJEKT->Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; ") +
                      QStringLiteral("Data Source=") + arbeitskopie +
                      QStringLiteral(";Persist Security Info=False"));
}
