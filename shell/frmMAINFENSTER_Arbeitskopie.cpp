// The user's working copy of the project database: its path, the decision
// at start when a copy is still there, and the copy itself.
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
// replaces or deletes it.

#include "shell/frmMAINFENSTER.h"

#include "platform/database/Connection.h"
#include "platform/database/DatabaseFile.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>

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
    if (m_kopiesperre.Open(QFileInfo(arbeitskopie).path())) m_kopiesperre.Shared();
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
            if (!neu) return; // never copy over changes that could not be put aside
            eh.Run([&] { FRISCHEKOPIE(arbeitskopie); });
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
            // was interrupted, and this run shares the copy as it is.
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
                m_kopieBehalten = true;
                // From now on the copy is this project's.
                eh.Run(
                    [&] { herkunftSchreiben(HERKUNFTSDATEI(arbeitskopie), PROJEKTDATENBANK()); });
            } else {
                eh.Run([&] { FRISCHEKOPIE(arbeitskopie); });
            }
            m_kopiesperre.Shared();
        }
    } else {
        // A copy made while another run starts is made once.
        m_kopiesperre.TryExclusive();
        eh.Run([&] { FRISCHEKOPIE(arbeitskopie); });
        m_kopiesperre.Shared();
    }
    eh.Run([&] { ARBEITSKOPIEOEFFNEN(arbeitskopie); });
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
