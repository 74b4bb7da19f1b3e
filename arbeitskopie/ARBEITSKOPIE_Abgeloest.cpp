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

#include "arbeitskopie/DATENSATZSTAENDE.h"
#include "arbeitskopie/PROJEKTABDRUCK.h"
#include "arbeitskopie/ZUSAMMENFUEHRUNG.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/DatabaseFile.h"

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
        alle.insert(DATENSATZSTAENDE::SCHLUESSEL(rs.Value(QStringLiteral("KEN"))));
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
        const QString schluessel = DATENSATZSTAENDE::SCHLUESSEL(rs.Value(QStringLiteral("KEN")));
        if (vorhanden.contains(schluessel)) continue;
        vorhanden.insert(schluessel);
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
    const QStringList dateien = ABGELEGTEDATEIEN();
    if (dateien.isEmpty()) return;
    const bool en = m_dialog.SPRACHE() == 1;
    const QString projektdatenbank = m_dialog.PROJEKTDATENBANK();

    // What the project and the copy hold now, record by record. A project
    // that cannot be read holds nothing a kept file could be compared with:
    // then everything in the files is offered, and nothing is put aside.
    std::optional<DATENSATZSTAENDE> projekt;
    try {
        Connection verbindung;
        verbindung.SetConnectionTimeout(30);
        verbindung.Open(projektdatenbank);
        projekt = DATENSATZSTAENDE::LESEN(verbindung);
    } catch (const RuntimeError&) {
    }
    DATENSATZSTAENDE inKopie;
    try {
        inKopie = DATENSATZSTAENDE::LESEN(*m_DBPROJEKT);
    } catch (const RuntimeError&) {
        return;
    }
    const auto gleich = [](const std::optional<DATENSATZSTAENDE>& staende, const QString& s,
                           const QByteArray& inhalt) {
        const DATENSATZSTAENDE::STAND* stand = staende ? staende->Stand(s) : nullptr;
        return stand && stand->inhalt == inhalt;
    };

    struct Fund {
        QString datei;
        bool herkunftUnbekannt = false;
        DATENSATZSTAENDE staende;
        QStringList angeboten; // keys
    };
    QList<Fund> funde;
    QStringList unlesbar, sicher, neu, geaendert, ohneHerkunft;
    QSet<QString> schonAngeboten;
    for (const QString& datei : dateien) {
        Fund fund{datei, false, {}, {}};
        try {
            Connection quelle;
            quelle.SetConnectionTimeout(30);
            quelle.Open(datei);
            const std::optional<QString> herkunft = ABGELEGTEHERKUNFT(quelle);
            // Another project's file is left where it is, for a start on
            // that project.
            if (herkunft && !DIESELBEDATEI(*herkunft, projektdatenbank)) continue;
            fund.herkunftUnbekannt = !herkunft;
            fund.staende = DATENSATZSTAENDE::LESEN(quelle);
        } catch (const RuntimeError& fehler) {
            unlesbar << QDir::toNativeSeparators(datei) + QStringLiteral(" (") +
                            fehler.Description() + QLatin1Char(')');
            continue;
        }
        bool allesImProjekt = projekt.has_value();
        for (auto it = fund.staende.Staende().cbegin(); it != fund.staende.Staende().cend(); ++it) {
            if (gleich(projekt, it.key(), it->inhalt)) continue;
            allesImProjekt = false;
            // In the copy already, as the file holds it: its Save is what
            // is still to come.
            if (gleich(inKopie, it.key(), it->inhalt)) continue;
            // One record is offered once, from the first file holding it.
            if (schonAngeboten.contains(it.key())) continue;
            schonAngeboten.insert(it.key());
            fund.angeboten << it.key();
            const bool anderswo = inKopie.Stand(it.key()) || (projekt && projekt->Stand(it.key()));
            (anderswo ? geaendert : neu) << ZUSAMMENFUEHRUNG::NAMEN(
                {it.key()}, fund.staende, fund.staende, MEHRFACHNAME(), OHNEKENNUNGNAME());
        }
        if (allesImProjekt) {
            sicher << datei;
            continue;
        }
        if (fund.herkunftUnbekannt) ohneHerkunft << QDir::toNativeSeparators(datei);
        funde << fund;
    }

    // Files whose every record the project holds as they do are done.
    QStringList erledigt;
    for (const QString& datei : sicher) {
        try {
            erledigt << ABGELEGTEBEISEITELEGEN(datei, kopie);
        } catch (const RuntimeError&) {
            // Put aside at a later start.
        }
    }

    QStringList gefunden;
    for (const Fund& fund : funde)
        gefunden << fund.datei;
    QString text;
    if (!gefunden.isEmpty())
        text = (en ? QStringLiteral("Runs of VELD whose working copy was replaced or deleted "
                                    "under them kept what they stored in:")
                   : QString::fromUtf8("Läufe von VELD, deren Arbeitskopie ersetzt oder "
                                       "gelöscht wurde, haben ihre Datensätze abgelegt in:")) +
               QStringLiteral("\r\n") + namen(gefunden);
    const auto absatz = [&](const QString& teil) {
        text += (text.isEmpty() ? QString() : QStringLiteral("\r\n")) + teil;
    };
    if (!ohneHerkunft.isEmpty())
        absatz((en ? QStringLiteral("From which project these files come cannot be told (they "
                                    "were kept before files named their project): ")
                   : QString::fromUtf8("Von welchem Projekt diese Dateien stammen, lässt sich "
                                       "nicht feststellen (sie wurden abgelegt, bevor Dateien "
                                       "ihr Projekt nannten): ")) +
               ohneHerkunft.join(QStringLiteral(", ")) + QStringLiteral("."));
    if (!unlesbar.isEmpty())
        absatz((en ? QStringLiteral("These files kept by such runs cannot be read; they stay "
                                    "as they are:")
                   : QString::fromUtf8("Diese von solchen Läufen abgelegten Dateien können "
                                       "nicht gelesen werden; sie bleiben, wie sie sind:")) +
               QStringLiteral("\r\n") + unlesbar.join(QStringLiteral("\r\n")));
    if (!erledigt.isEmpty())
        absatz((en ? QStringLiteral("Project ") + m_dialog.PROJEKT() +
                         QStringLiteral(" holds all records of these files as they do; they "
                                        "were put aside as done:")
                   : QStringLiteral("Alle ihre Datensätze stehen schon so im Projekt ") +
                         m_dialog.PROJEKT() +
                         QString::fromUtf8("; diese Dateien wurden als erledigt "
                                           "beiseitegelegt:")) +
               QStringLiteral("\r\n") + namen(erledigt));

    if (neu.isEmpty() && geaendert.isEmpty()) {
        if (!text.isEmpty())
            m_dialog.FRAGEN(text, vbOKOnly + (unlesbar.isEmpty() ? vbInformation : vbExclamation),
                            kTitel);
        return;
    }
    if (!neu.isEmpty())
        absatz((en ? QStringLiteral("Project ") + m_dialog.PROJEKT() +
                         QStringLiteral(" and the working copy lack these records of them: ")
                   : QStringLiteral("Im Projekt ") + m_dialog.PROJEKT() +
                         QStringLiteral(" und in der Arbeitskopie fehlen daraus die "
                                        "Datensätze ")) +
               AUFZAEHLUNG(neu) + QStringLiteral("."));
    if (!geaendert.isEmpty())
        absatz((en ? QStringLiteral("These records they hold otherwise than the project and the "
                                    "working copy: ")
                   : QString::fromUtf8("Diese Datensätze enthalten sie anders als das Projekt "
                                       "und die Arbeitskopie: ")) +
               AUFZAEHLUNG(geaendert) + QStringLiteral("."));
    absatz(en ? QStringLiteral("Take them into the working copy? A record held otherwise then "
                               "replaces the working copy's; the next Save puts them into the "
                               "project. A file is put aside once the project holds all its "
                               "records; until then it is offered again at every start.")
              : QString::fromUtf8("Sollen sie in die Arbeitskopie übernommen werden? Ein anders "
                                  "enthaltener Datensatz ersetzt dann den der Arbeitskopie; das "
                                  "nächste Speichern bringt sie in das Projekt. Eine Datei wird "
                                  "beiseitegelegt, sobald das Projekt alle ihre Datensätze "
                                  "enthält; bis dahin wird sie bei jedem Start wieder "
                                  "angeboten."));
    const bool uebernehmen = m_dialog.FRAGEN(text, vbYesNo + vbQuestion, kTitel) == vbYes;
    // The session ended while the question waited: nothing is written.
    if (m_dialog.SITZUNGENDET() || m_dialog.ENTLADEN() || !uebernehmen) return;

    ErrorHandler eh(QStringLiteral("VB-Error: "), kTitel);
    for (const Fund& fund : funde) {
        if (eh.Left()) break;
        if (fund.angeboten.isEmpty()) continue;
        eh.Run([&] {
            Connection quelle;
            quelle.SetConnectionTimeout(30);
            quelle.Open(fund.datei);
            ZUSAMMENFUEHRUNG::UEBERTRAGEN(*m_DBPROJEKT, quelle, fund.angeboten);
        });
    }
}

void ARBEITSKOPIE::UMZUGVORBEREITEN() {
    // Inside the refused write: only the name of the run's own file is taken
    // (the box names it); the move itself waits until the write is over.
    if (m_umziehen || m_umgezogen) return;
    if (m_abgelegt.isEmpty()) {
        try {
            m_abgelegt = FREIERNAME(m_dialog.XMDBPFAD(), QStringLiteral("ersetzt"));
        } catch (const RuntimeError&) {
            return;
        }
    }
    m_umziehen = true;
    m_dialog.SPAETER([this] { UMZIEHEN(); });
}

void ARBEITSKOPIE::UMZIEHEN() {
    if (!m_umziehen || m_umgezogen || !m_DBPROJEKT->IsOpen()) return;
    // A command still inside its transaction: a moment later.
    if (m_DBPROJEKT->TransactionLevel() > 0) {
        m_dialog.SPAETER([this] { UMZIEHEN(); });
        return;
    }
    m_umziehen = false;
    try {
        ABLEGEN(m_abgelegt);
        m_DBPROJEKT->Open(m_abgelegt);
        m_DBPROJEKT->SetConnectionTimeout(30);
    } catch (const RuntimeError&) {
        // The run stays on its old file, refusing writes; its Save and quit
        // still try to keep what it stored.
        return;
    }
    m_umgezogen = true;
    m_eigeneAenderung = false;
    const QString datei = QDir::toNativeSeparators(m_abgelegt);
    m_dialog.HINWEISEN(
        m_dialog.SPRACHE() == 1
            ? QStringLiteral("The working copy went; this run works on in ") + datei
            : QString::fromUtf8("Die Arbeitskopie ist fort; dieser Lauf arbeitet in ") + datei +
                  QString::fromUtf8(" weiter"),
        QString());
}

void ARBEITSKOPIE::AUSWAHLVORBEREITEN() {
    // The move reopens the connection: never under a transaction.
    if (m_umgezogen || !m_DBPROJEKT->IsOpen() || m_DBPROJEKT->TransactionLevel() > 0 ||
        !KOPIEVERSCHOBEN())
        return;
    UMZUGVORBEREITEN();
    UMZIEHEN();
}

void ARBEITSKOPIE::ABLEGEN(const QString& ziel) {
    CopyDatabase(*m_DBPROJEKT, ziel);
    // The file names its project, where alone it is offered.
    Connection abgelegt(ziel);
    abgelegt.Execute(
        QStringLiteral("CREATE TABLE IF NOT EXISTS [%1] ([PROJEKT] TEXT)").arg(kHerkunftstabelle));
    abgelegt.Execute(QStringLiteral("DELETE FROM [%1]").arg(kHerkunftstabelle));
    abgelegt.Execute(
        QStringLiteral("INSERT INTO [%1] ([PROJEKT]) VALUES (?)").arg(kHerkunftstabelle),
        {QFileInfo(m_dialog.PROJEKTDATENBANK()).absoluteFilePath()});
}

void ARBEITSKOPIE::ABGELEGTEERLEDIGEN() {
    // After a Save: the kept files of this project whose every record the
    // project now holds as they do are put aside, and the status bar says
    // which. Nothing to read where no file is kept.
    const QStringList dateien = ABGELEGTEDATEIEN();
    if (dateien.isEmpty()) return;
    const QString kopie = m_dialog.XMDBPFAD();
    QStringList erledigt;
    try {
        Connection projekt;
        projekt.SetConnectionTimeout(30);
        projekt.Open(m_dialog.PROJEKTDATENBANK());
        const DATENSATZSTAENDE staende = DATENSATZSTAENDE::LESEN(projekt);
        projekt.Close();
        for (const QString& datei : dateien) {
            Connection quelle;
            quelle.Open(datei);
            const std::optional<QString> herkunft = ABGELEGTEHERKUNFT(quelle);
            // A file that does not name this project is offered, and put
            // aside, only with a word.
            if (!herkunft || !DIESELBEDATEI(*herkunft, m_dialog.PROJEKTDATENBANK())) continue;
            const DATENSATZSTAENDE abgelegt = DATENSATZSTAENDE::LESEN(quelle);
            quelle.Close();
            bool alle = true;
            for (auto it = abgelegt.Staende().cbegin(); alle && it != abgelegt.Staende().cend();
                 ++it) {
                const DATENSATZSTAENDE::STAND* stand = staende.Stand(it.key());
                alle = stand && stand->inhalt == it->inhalt;
            }
            if (alle) erledigt << QFileInfo(ABGELEGTEBEISEITELEGEN(datei, kopie)).fileName();
        }
    } catch (const RuntimeError&) {
        // Left for the next start's offer.
    }
    if (erledigt.isEmpty()) return;
    const QString zeile =
        (m_dialog.SPRACHE() == 1 ? QStringLiteral("Put aside as done: ")
                                 : QStringLiteral("Als erledigt beiseitegelegt: ")) +
        erledigt.join(QStringLiteral(", "));
    m_dialog.HINWEISEN(zeile, zeile);
}

QStringList ARBEITSKOPIE::ABGELEGTEDATEIEN() const {
    const QDir ordner(QFileInfo(m_dialog.XMDBPFAD()).path());
    QStringList dateien;
    for (const QString& name : ordner.entryList({kAbgelegt}, QDir::Files, QDir::Name)) {
        const QString datei = ordner.filePath(name);
        // An empty file is a name taken by a run that is writing its file
        // right now, or whose file could not be written; this run's own
        // file is what it still works on.
        if (QFileInfo(datei).size() > 0 && datei != m_abgelegt) dateien << datei;
    }
    return dateien;
}

std::optional<QString> ARBEITSKOPIE::ABGELEGTEHERKUNFT(Connection& quelle) {
    if (quelle.TableColumns(kHerkunftstabelle).empty()) return std::nullopt;
    Recordset rs(QStringLiteral("SELECT [PROJEKT] FROM [%1]").arg(kHerkunftstabelle), quelle);
    if (rs.Eof()) return std::nullopt;
    return CStr(rs.Fields(0).Value());
}

bool ARBEITSKOPIE::DIESELBEDATEI(const QString& a, const QString& b) {
    const QFileInfo x(a), y(b);
    if (x.exists() && y.exists()) return x.canonicalFilePath() == y.canonicalFilePath();
    return QDir::cleanPath(x.absoluteFilePath()) == QDir::cleanPath(y.absoluteFilePath());
}

QString ARBEITSKOPIE::ABGELEGTEBEISEITELEGEN(const QString& datei, const QString& kopie) {
    const QString ziel = FREIERNAME(kopie, QStringLiteral("uebernommen"));
    try {
        std::filesystem::rename(FSPFAD(datei), FSPFAD(ziel));
    } catch (...) {
        QFile::remove(ziel);
        throw DatabaseError::IoFailureError(QDir::toNativeSeparators(datei));
    }
    return ziel;
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
        // The run's own file is written anew; its first takes a free name.
        const bool erster = !QFileInfo::exists(m_abgelegt);
        ziel = erster ? FREIERNAME(kopie, QStringLiteral("ersetzt")) : m_abgelegt;
        try {
            ABLEGEN(ziel);
        } catch (...) {
            if (erster) QFile::remove(ziel);
            throw;
        }
        m_abgelegt = ziel;
    };
    // What the run stored since its last Save is all there is to keep: a run
    // that stored nothing since keeps no file. What it kept already is
    // where the box says.
    // A run that moved into its own file works on in it: that is kept.
    if (m_umgezogen || (!m_eigeneAenderung && QFileInfo(m_abgelegt).isFile() &&
                        QFileInfo(m_abgelegt).size() > 0)) {
        if (still) return true;
        m_eigeneAenderung = false;
        ziel = m_abgelegt;
    } else if (!m_eigeneAenderung) {
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
    } else if (still || fehler) {
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
    } else {
        m_eigeneAenderung = false;
    }
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
