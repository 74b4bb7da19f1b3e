// The files kept beside the working copy. What a run keeps when its working
// copy is replaced or deleted under it: the file VELD_ersetzt*.mdb beside
// the copy (ABGELOESTEKOPIESICHERN) is found again at the next start, which offers the records it
// holds that the project and the copy lack; and a quit that cannot keep such a file says why the
// program stays open, and lets the user end it all the same.
//
// Records are told apart by their identifier (E1.KEN), as the record import
// tells them: a record whose identifier the copy or the project holds is not
// brought in again, whatever its rows hold. So a file is only put aside as
// done (VELD_uebernommen*.mdb), never deleted: what it held under an
// identifier the copy has stays readable there.

#include "arbeitskopie/ARBEITSKOPIE.h"

#include "arbeitskopie/PROJEKTABDRUCK.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/DatabaseFile.h"

#include "exchange/frmEXPIMP.h"
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/System.h"
#include "platform/runtime/Variant.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {
const QString kAbgelegt = QStringLiteral("VELD_ersetzt*.mdb");

// The identifiers of a database's records, in the engine's letter case rule.
QSet<QString> kennungen(Connection& verbindung) {
    QSet<QString> alle;
    for (Recordset rs(QStringLiteral("SELECT [KEN] FROM [E1] WHERE [ID]<>0"), verbindung);
         !rs.Eof(); rs.MoveNext())
        alle.insert(CStr(rs.Value(QStringLiteral("KEN"))).toLower());
    return alle;
}

// The identifiers of a database file that is there; none when it cannot be
// read (a held or damaged project is no reason to keep back what a kept
// file offers: the copy's own check decides in the end).
QSet<QString> kennungen(const QString& datei) {
    if (!QFileInfo::exists(datei)) return {};
    try {
        Connection verbindung;
        verbindung.SetConnectionTimeout(30);
        verbindung.Open(datei);
        return kennungen(verbindung);
    } catch (const RuntimeError&) {
        return {};
    }
}

QString namen(const QStringList& dateien) {
    QStringList gezeigt;
    for (const QString& datei : dateien)
        gezeigt << QDir::toNativeSeparators(datei);
    return gezeigt.join(QStringLiteral("\r\n"));
}
} // namespace

QList<QPair<int32_t, QString>> ARBEITSKOPIE::FEHLENDEDATENSAETZE(Connection& quelle,
                                                                 const QString& kopie) {
    QSet<QString> vorhanden = kennungen(m_dialog.PROJEKTDATENBANK());
    if (m_DBPROJEKT->IsOpen() && !KOPIEVERSCHOBEN() &&
        QFileInfo(m_DBPROJEKT->Path()) == QFileInfo(kopie))
        vorhanden.unite(kennungen(*m_DBPROJEKT));
    else
        vorhanden.unite(kennungen(kopie));
    QList<QPair<int32_t, QString>> fehlend;
    for (Recordset rs(QStringLiteral("SELECT [ID],[KEN] FROM [E1] WHERE [ID]<>0 ORDER BY [ID]"),
                      quelle);
         !rs.Eof(); rs.MoveNext()) {
        const QString ken = CStr(rs.Value(QStringLiteral("KEN")));
        if (vorhanden.contains(ken.toLower())) continue;
        vorhanden.insert(ken.toLower());
        fehlend.append({CLng(rs.Value(QStringLiteral("ID"))), ken});
    }
    return fehlend;
}

bool ARBEITSKOPIE::ABGELOESTBEENDEN(const QString& titel) {
    std::optional<RuntimeError> fehler;
    if (ABGELOESTEKOPIESICHERN(titel, false, &fehler)) return true;
    if (!fehler) return false;
    const bool en = m_dialog.SPRACHE() == 1;
    // The program stays open for as long as what the run stored cannot be
    // kept, unless the user ends it knowing what is lost.
    const int antwort = m_dialog.FRAGEN(
        fehler->Description() + QStringLiteral("\r\n") +
            (en ? QStringLiteral("So what this run stored in the working copy that was replaced "
                                 "or deleted under it cannot be kept, and VELD stays open "
                                 "so that it is not lost. Mend that, then quit again.")
                : QString::fromUtf8("Deshalb kann nicht abgelegt werden, was dieser Lauf in der "
                                    "ersetzten oder gelöschten Arbeitskopie gespeichert hat, "
                                    "und VELD bleibt geöffnet, damit es nicht verloren geht. "
                                    "Beheben Sie das und beenden Sie dann erneut.")) +
            QStringLiteral("\r\n") +
            (en ? QStringLiteral("Quit VELD all the same?")
                : QStringLiteral("Soll VELD trotzdem beendet werden?")),
        vbYesNo + vbExclamation + vbDefaultButton2, titel);
    if (antwort != vbYes || !m_dialog.GELADEN() || m_dialog.ENTLADEN()) return false;

    QStringList verloren;
    try {
        for (const auto& [id, ken] : FEHLENDEDATENSAETZE(*m_DBPROJEKT, m_dialog.XMDBPFAD()))
            verloren << ken;
    } catch (const RuntimeError&) {
        // What cannot be read is lost all the same; the box says so in general.
    }
    const QString liste = verloren.join(QStringLiteral(", "));
    const int ende = m_dialog.FRAGEN(
        (en ? QStringLiteral("Quitting loses what this run stored in the working copy since its "
                             "last Save") +
                  (liste.isEmpty() ? QString()
                                   : QStringLiteral(", among it the records ") + liste +
                                         QStringLiteral(", which neither the project nor the "
                                                        "working copy holds"))
            : QString::fromUtf8("Beim Beenden geht verloren, was dieser Lauf seit seinem letzten "
                                "Speichern in der Arbeitskopie gespeichert hat") +
                  (liste.isEmpty()
                       ? QString()
                       : QStringLiteral(", darunter die Datensätze ") + liste +
                             QStringLiteral(", die weder im Projekt noch in der Arbeitskopie "
                                            "stehen"))) +
            QStringLiteral("."),
        vbOKCancel + vbExclamation + vbDefaultButton2, titel);
    return ende == vbOK && m_dialog.GELADEN() && !m_dialog.ENTLADEN();
}

void ARBEITSKOPIE::ABGELOESTEANBIETEN() {
    // Only a run that can mark what it brings in; otherwise the files stay
    // for a later start.
    if (!m_DBPROJEKT->IsOpen() || !ZUSTANDBEKANNT()) return;
    const QString kopie = m_DBPROJEKT->Path();
    const QDir ordner(QFileInfo(kopie).path());
    QStringList dateien;
    for (const QString& name : ordner.entryList({kAbgelegt}, QDir::Files, QDir::Name)) {
        // An empty file is a name taken by a run that is writing its file
        // right now, or whose file could not be written.
        if (QFileInfo(ordner.filePath(name)).size() > 0) dateien << ordner.filePath(name);
    }
    if (dateien.isEmpty()) return;

    struct Fund {
        QString datei;
        QList<QPair<int32_t, QString>> fehlend;
    };
    QList<Fund> funde;
    QStringList unlesbar;
    QStringList angeboten;
    for (const QString& datei : dateien) {
        try {
            Connection quelle;
            quelle.SetConnectionTimeout(30);
            quelle.Open(datei);
            Fund fund{datei, {}};
            // One identifier is offered once, from the first file holding it.
            for (const auto& datensatz : FEHLENDEDATENSAETZE(quelle, kopie)) {
                if (angeboten.contains(datensatz.second, Qt::CaseInsensitive)) continue;
                angeboten << datensatz.second;
                fund.fehlend << datensatz;
            }
            funde << fund;
        } catch (const RuntimeError& fehler) {
            unlesbar << QDir::toNativeSeparators(datei) + QStringLiteral(" (") +
                            fehler.Description() + QLatin1Char(')');
        }
    }
    const bool en = m_dialog.SPRACHE() == 1;
    QStringList gefunden;
    for (const Fund& fund : funde)
        gefunden << fund.datei;
    QString text = gefunden.isEmpty()
                       ? QString()
                       : (en ? QStringLiteral("Runs of VELD whose working copy was replaced or "
                                              "deleted under them kept what they stored in:")
                             : QString::fromUtf8("Läufe von VELD, deren Arbeitskopie ersetzt oder "
                                                 "gelöscht wurde, haben ihre Datensätze "
                                                 "abgelegt in:")) +
                             QStringLiteral("\r\n") + namen(gefunden);
    if (!unlesbar.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral("\r\n")) +
                (en ? QStringLiteral("These files kept by such runs cannot be read; they stay "
                                     "as they are:")
                    : QString::fromUtf8("Diese von solchen Läufen abgelegten Dateien können "
                                        "nicht gelesen werden; sie bleiben, wie sie sind:")) +
                QStringLiteral("\r\n") + unlesbar.join(QStringLiteral("\r\n"));

    bool uebernehmen = false;
    if (!angeboten.isEmpty()) {
        const QString liste = angeboten.join(QStringLiteral(", "));
        text +=
            QStringLiteral("\r\n") +
            (en ? QStringLiteral("Project ") + m_dialog.PROJEKT() +
                      QStringLiteral(" and the working copy lack these records of them: ") + liste +
                      QStringLiteral(".\r\nTake them into the working copy? The next Save puts "
                                     "them into the project, and a file all of whose records "
                                     "are then in the working copy is put aside as done. "
                                     "With No the files stay and are offered again at the "
                                     "next start.")
                : QStringLiteral("Im Projekt ") + m_dialog.PROJEKT() +
                      QStringLiteral(" und in der Arbeitskopie fehlen daraus die Datensätze ") +
                      liste +
                      QString::fromUtf8(".\r\nSollen sie in die Arbeitskopie übernommen werden? "
                                        "Das nächste Speichern bringt sie in das Projekt, und "
                                        "eine Datei, deren Datensätze dann alle in der "
                                        "Arbeitskopie stehen, wird als erledigt beiseitegelegt. "
                                        "Bei Nein bleiben die Dateien liegen und werden beim "
                                        "nächsten Start wieder angeboten."));
        uebernehmen = m_dialog.FRAGEN(text, vbYesNo + vbQuestion, kTitel) == vbYes;
        // The session ended while the question waited: nothing is written.
        if (m_dialog.SITZUNGENDET() || m_dialog.ENTLADEN() || !uebernehmen) return;
    }

    ErrorHandler eh(QStringLiteral("VB-Error: "), kTitel);
    QStringList erledigt;
    for (const Fund& fund : funde) {
        if (eh.Left()) break;
        Connection quelle;
        if (!eh.Run([&] {
                quelle.SetConnectionTimeout(30);
                quelle.Open(fund.datei);
            }))
            continue;
        for (const auto& [id, ken] : fund.fehlend)
            eh.Run([&, id = id] { frmEXPIMP::DATENSATZUEBERNEHMEN(quelle, id, *m_DBPROJEKT); });
        // Done only when every record it held is in the copy now.
        const std::optional<bool> vollstaendig =
            eh.Value([&] { return FEHLENDEDATENSAETZE(quelle, kopie).isEmpty(); });
        quelle.Close();
        if (!vollstaendig || !*vollstaendig || eh.Left()) continue;
        eh.Run([&] {
            const QString ziel = FREIERNAME(kopie, QStringLiteral("uebernommen"));
            try {
                std::filesystem::rename(QFile::encodeName(fund.datei).toStdString(),
                                        QFile::encodeName(ziel).toStdString());
            } catch (...) {
                QFile::remove(ziel);
                throw;
            }
            erledigt << ziel;
        });
    }
    if (uebernehmen) return;
    // Nothing was offered: the box tells once what was found and where it
    // lies now.
    if (!erledigt.isEmpty())
        text += QStringLiteral("\r\n") +
                (en ? QStringLiteral("Project ") + m_dialog.PROJEKT() +
                          QStringLiteral(" or the working copy hold all their records; they "
                                         "were put aside as done:")
                    : QStringLiteral("Alle ihre Datensätze stehen schon im Projekt ") +
                          m_dialog.PROJEKT() +
                          QString::fromUtf8(" oder in der Arbeitskopie; sie wurden als erledigt "
                                            "beiseitegelegt:")) +
                QStringLiteral("\r\n") + namen(erledigt);
    m_dialog.FRAGEN(text, vbOKOnly + (unlesbar.isEmpty() ? vbInformation : vbExclamation), kTitel);
}

QString ARBEITSKOPIE::KOPIEBEISEITELEGEN(const QString& arbeitskopie, const QString& zusatz) {
    const QString ziel = FREIERNAME(arbeitskopie, zusatz);
    try {
        std::filesystem::rename(FSPFAD(arbeitskopie), FSPFAD(ziel));
    } catch (...) {
        QFile::remove(ziel);
        throw;
    }
    // A journal left with the copy belongs to it.
    for (const QString& endung : kBeiDateien)
        if (QFileInfo::exists(arbeitskopie + endung)) {
            std::error_code egal;
            std::filesystem::rename(FSPFAD(arbeitskopie + endung), FSPFAD(ziel + endung), egal);
        }
    QFile::remove(PROJEKTABDRUCK::HERKUNFTSDATEI(arbeitskopie));
    return ziel;
}

QString ARBEITSKOPIE::FREIERNAME(const QString& arbeitskopie, const QString& zusatz) {
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
            throw RuntimeError(
                70, GermanTexts() ? QString::fromUtf8("In den Ordner %1 darf nicht "
                                                      "geschrieben werden.")
                                        .arg(ordner)
                                  : QStringLiteral("The folder %1 cannot be written.").arg(ordner));
        default:
            throw DatabaseError::IoFailureError(QDir::toNativeSeparators(ziel));
        }
    }
}

bool ARBEITSKOPIE::ABGELOESTEKOPIESICHERN(const QString& titel, bool still,
                                          std::optional<RuntimeError>* fehler) {
    ErrorHandler eh(QStringLiteral("VB-Error: "), titel);
    const QString kopie = m_dialog.XMDBPFAD();
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
            if (m_dialog.SPRACHE() == 1)
                m_dialog.FRAGEN(
                    QStringLiteral("The working copy ") + QDir::toNativeSeparators(kopie) +
                        QStringLiteral(" was replaced or deleted while this run worked on it; "
                                       "project ") +
                        m_dialog.PROJEKT() +
                        QStringLiteral(" was not overwritten. This run stored nothing since "
                                       "its last Save, so nothing is kept."),
                    vbOKOnly + vbExclamation, titel);
            else
                m_dialog.FRAGEN(
                    QStringLiteral("Die Arbeitskopie ") + QDir::toNativeSeparators(kopie) +
                        QString::fromUtf8(" wurde ersetzt oder gelöscht, während dieser Lauf "
                                          "mit ihr arbeitete; das Projekt ") +
                        m_dialog.PROJEKT() +
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
    if (m_dialog.SPRACHE() == 1)
        m_dialog.FRAGEN(
            QStringLiteral("The working copy ") + QDir::toNativeSeparators(kopie) +
                QStringLiteral(" was replaced or deleted while this run worked on it; project ") +
                m_dialog.PROJEKT() + QStringLiteral(" was not overwritten.") +
                QStringLiteral("\r\n") +
                QStringLiteral("What this run had stored in it is kept as ") + ort +
                QStringLiteral("."),
            vbOKOnly + vbExclamation, titel);
    else
        m_dialog.FRAGEN(
            QStringLiteral("Die Arbeitskopie ") + QDir::toNativeSeparators(kopie) +
                QString::fromUtf8(" wurde ersetzt oder gelöscht, während dieser Lauf mit ihr "
                                  "arbeitete; das Projekt ") +
                m_dialog.PROJEKT() + QString::fromUtf8(" wurde nicht überschrieben.") +
                QStringLiteral("\r\n") +
                QStringLiteral("Was dieser Lauf in ihr gespeichert hatte, liegt unter ") + ort +
                QStringLiteral("."),
            vbOKOnly + vbExclamation, titel);
    return true;
}
