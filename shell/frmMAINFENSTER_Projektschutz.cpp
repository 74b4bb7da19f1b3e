// What keeps the work of others from being overwritten, and this run's
// work from being lost, where the files of the copy and the project are
// shared: the project database with the other users of the project and the
// laboratory's other programs, the working copy with tools that replace or
// delete files under a live run (a sync, a restore, a tidy user).

#include "shell/frmMAINFENSTER.h"

#include "platform/controls/Forms.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/DatabaseFile.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool frmMAINFENSTER::KOPIEVERSCHOBEN() const {
    return m_DBPROJEKT && m_DBPROJEKT->IsOpen() && m_DBPROJEKT->HasMoved();
}

RuntimeError frmMAINFENSTER::KOPIEVERSCHOBENFEHLER() const {
    const QString kopie = QDir::toNativeSeparators(m_DBPROJEKT->Path());
    return DatabaseError::Make(
        DatabaseError::Replaced,
        m_SPRACHE == 1
            ? QStringLiteral("The working copy ") + kopie +
                  QStringLiteral(" is no longer the file this run works on: it was replaced "
                                 "or deleted. This run writes nothing more into it; its "
                                 "Save and its end keep what it stored in a file of its "
                                 "own beside the working copy.")
            : QStringLiteral("Die Arbeitskopie ") + kopie +
                  QString::fromUtf8(" ist nicht mehr die Datei, mit der dieser Lauf arbeitet: "
                                    "sie wurde ersetzt oder gelöscht. Dieser Lauf schreibt "
                                    "nichts mehr in sie; beim Speichern und Beenden legt er, "
                                    "was er in ihr gespeichert hat, in einer eigenen Datei "
                                    "neben der Arbeitskopie ab."));
}

bool frmMAINFENSTER::ABGELOESTEKOPIESICHERN(const QString& titel, bool still,
                                            std::optional<RuntimeError>* fehler) {
    ErrorHandler eh(QStringLiteral("VB-Error: "), titel);
    const QString kopie = XMDBPFAD();
    QString ziel;
    const auto sichern = [&] {
        ziel = FREIERNAME(kopie, QStringLiteral("ersetzt"));
        try {
            CopyDatabase(*m_DBPROJEKT, ziel);
        } catch (...) {
            QFile::remove(ziel);
            throw;
        }
    };
    // What the run stored since its last Save is all there is to keep: a run
    // that stored nothing since keeps no file.
    if (!m_eigeneAenderung) {
        if (!still && !fehler) {
            if (m_SPRACHE == 1)
                MsgBox(QStringLiteral("The working copy ") + QDir::toNativeSeparators(kopie) +
                           QStringLiteral(" was replaced or deleted while this run worked on it; "
                                          "project ") +
                           m_PROJEKT +
                           QStringLiteral(" was not overwritten. This run stored nothing since "
                                          "its last Save, so nothing is kept."),
                       vbOKOnly + vbExclamation, titel);
            else
                MsgBox(QStringLiteral("Die Arbeitskopie ") + QDir::toNativeSeparators(kopie) +
                           QString::fromUtf8(" wurde ersetzt oder gelöscht, während dieser Lauf "
                                             "mit ihr arbeitete; das Projekt ") +
                           m_PROJEKT +
                           QString::fromUtf8(" wurde nicht überschrieben. Dieser Lauf hat seit "
                                             "seinem letzten Speichern nichts gespeichert, es "
                                             "wird also nichts abgelegt."),
                       vbOKOnly + vbExclamation, titel);
        }
        return true;
    }
    if (still || fehler) {
        // The session ends: no box can wait, the file is kept all the same.
        try {
            sichern();
        } catch (const RuntimeError& grund) {
            if (fehler) fehler->emplace(grund);
            return false;
        } catch (const std::exception& grund) {
            if (fehler) fehler->emplace(ErrorHandler::Translate(grund));
            return false;
        }
        m_eigeneAenderung = false;
        if (still) return true;
    } else if (!eh.Run(sichern)) {
        return false;
    }
    m_eigeneAenderung = false;
    const QString ort = QDir::toNativeSeparators(ziel);
    if (m_SPRACHE == 1)
        MsgBox(
            QStringLiteral("The working copy ") + QDir::toNativeSeparators(kopie) +
                QStringLiteral(" was replaced or deleted while this run worked on it; project ") +
                m_PROJEKT + QStringLiteral(" was not overwritten.") + QStringLiteral("\r\n") +
                QStringLiteral("What this run had stored in it is kept as ") + ort +
                QStringLiteral("."),
            vbOKOnly + vbExclamation, titel);
    else
        MsgBox(QStringLiteral("Die Arbeitskopie ") + QDir::toNativeSeparators(kopie) +
                   QString::fromUtf8(" wurde ersetzt oder gelöscht, während dieser Lauf mit ihr "
                                     "arbeitete; das Projekt ") +
                   m_PROJEKT + QString::fromUtf8(" wurde nicht überschrieben.") +
                   QStringLiteral("\r\n") +
                   QStringLiteral("Was dieser Lauf in ihr gespeichert hatte, liegt unter ") + ort +
                   QStringLiteral("."),
               vbOKOnly + vbExclamation, titel);
    return true;
}
