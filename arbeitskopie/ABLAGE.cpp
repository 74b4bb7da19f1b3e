// A run's own kept file: what it stored since its last Save, kept when its
// working copy is replaced or deleted under it (VELD_ersetzt*.mdb beside
// the copy), a whole copy of the run's database and so of its base, what
// that run's copy held when it last met the project. The run moves into it
// and works on there. A quit that cannot keep such a file says why the
// program stays open, and lets the user end it all the same.

#include "arbeitskopie/ABLAGE.h"

#include "arbeitskopie/KOPIEDATEIEN.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/DatabaseFile.h"
#include "platform/database/Recordset.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Variant.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <filesystem>
#include <utility>

namespace {
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
} // namespace

ABLAGE::ABLAGE(ARBEITSKOPIEDIALOG& dialog, std::shared_ptr<Connection> kopie)
    : m_dialog(dialog), m_kopie(std::move(kopie)) {}

ABLAGE::~ABLAGE() {
    if (m_vorgemerkt) QFile::remove(m_abgelegt + KOPIEDATEIEN::kNeu);
}

bool ABLAGE::ZUBEHALTEN() {
    if (m_eigeneAenderung) return true;
    if (EIGENEABLAGE() || !m_kopie->IsOpen()) return false;
    // Read through the run's own connection: the file it worked on.
    try {
        return KOPIEBASIS::FREMD(*m_kopie);
    } catch (const RuntimeError&) {
        // What cannot be read cannot be kept either.
        return false;
    }
}

bool ABLAGE::VERSCHOBEN() const {
    return m_umgezogen || (m_kopie && m_kopie->IsOpen() && m_kopie->HasMoved());
}

RuntimeError ABLAGE::VERSCHOBENFEHLER() const {
    const QString kopie = QDir::toNativeSeparators(m_dialog.XMDBPFAD());
    const bool en = m_dialog.SPRACHE() == 1;
    QString text = en ? QStringLiteral("The working copy ") + kopie +
                            QStringLiteral(" is no longer the file this run works on: it was "
                                           "replaced or deleted.")
                      : QStringLiteral("Die Arbeitskopie ") + kopie +
                            QString::fromUtf8(" ist nicht mehr die Datei, mit der dieser Lauf "
                                              "arbeitet: sie wurde ersetzt oder gelöscht.");
    if (m_umziehen) {
        const QString datei = QDir::toNativeSeparators(m_abgelegt);
        text += en ? QStringLiteral(" This run keeps what it stored in ") + datei +
                         QStringLiteral(" and works on in that file, which the next start "
                                        "offers. Store again: then this is kept there, too.")
                   : QStringLiteral(" Dieser Lauf legt, was er gespeichert hat, unter ") + datei +
                         QString::fromUtf8(" ab und arbeitet dort weiter; der nächste Start "
                                           "bietet es an. Speichern Sie noch einmal, dann "
                                           "steht auch dies dort.");
    } else {
        text += en ? QStringLiteral(" This run writes nothing more into it; its Save and its "
                                    "end keep what it stored in a file of its own beside the "
                                    "working copy.")
                   : QString::fromUtf8(" Dieser Lauf schreibt nichts mehr in sie; beim "
                                       "Speichern und Beenden legt er, was er in ihr "
                                       "gespeichert hat, in einer eigenen Datei neben der "
                                       "Arbeitskopie ab.");
    }
    return DatabaseError::Make(DatabaseError::Replaced, text);
}

bool ABLAGE::SICHERN(const QString& titel, bool still, std::optional<RuntimeError>* fehler) {
    ErrorHandler eh(QStringLiteral("VB-Error: "), titel);
    const QString kopie = m_dialog.XMDBPFAD();
    QString ziel;
    const auto sichern = [&] {
        // The run's own file is written anew; its first takes a free name.
        NAMENEHMEN();
        ziel = m_abgelegt;
        ABLEGEN();
    };
    // What the run stored since its last Save (or what another program
    // wrote into its copy) is all there is to keep: a run that stored
    // nothing since keeps no file. What it kept already is where the box
    // says. A run that moved into its own file works on in it: that is kept.
    if (m_umgezogen || (!m_eigeneAenderung && EIGENEABLAGE())) {
        if (still) return true;
        m_eigeneAenderung = false;
        ziel = m_abgelegt;
    } else if (!ZUBEHALTEN()) {
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

bool ABLAGE::BEENDEN(const QString& titel) {
    std::optional<RuntimeError> fehler;
    if (SICHERN(titel, false, &fehler)) return true;
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
        for (const auto& [id, ken] : FEHLENDEDATENSAETZE(*m_kopie, m_dialog.XMDBPFAD()))
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

QList<QPair<int32_t, QString>> ABLAGE::FEHLENDEDATENSAETZE(Connection& quelle,
                                                           const QString& kopie) {
    QSet<QString> vorhanden = kennungen(m_dialog.PROJEKTDATENBANK());
    if (m_kopie->IsOpen() && !VERSCHOBEN() && QFileInfo(m_kopie->Path()) == QFileInfo(kopie))
        vorhanden.unite(kennungen(*m_kopie));
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

void ABLAGE::UMZUGVORBEREITEN() {
    // Inside the refused write: only the name of the run's own file is taken
    // (the box names it); the move itself waits until the write is over.
    if (m_umziehen || m_umgezogen) return;
    try {
        NAMENEHMEN();
    } catch (const RuntimeError&) {
        return;
    }
    m_umziehen = true;
    m_dialog.SPAETER([this] { UMZIEHEN(); });
}

void ABLAGE::UMZIEHEN() {
    if (!m_umziehen || m_umgezogen || !m_kopie->IsOpen()) return;
    // A command still inside its transaction: a moment later.
    if (m_kopie->TransactionLevel() > 0) {
        m_dialog.SPAETER([this] { UMZIEHEN(); });
        return;
    }
    m_umziehen = false;
    try {
        NAMENEHMEN();
        ABLEGEN();
        m_kopie->Open(m_abgelegt);
        m_kopie->SetConnectionTimeout(30);
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

void ABLAGE::AUSWAHLVORBEREITEN() {
    // The move reopens the connection: never under a transaction.
    if (m_umgezogen || !m_kopie->IsOpen() || m_kopie->TransactionLevel() > 0 || !VERSCHOBEN())
        return;
    UMZUGVORBEREITEN();
    UMZIEHEN();
}

void ABLAGE::NAMENEHMEN() {
    if (m_vorgemerkt || EIGENEABLAGE()) return;
    m_abgelegt = KOPIEDATEIEN::NAMEVORMERKEN(m_dialog.XMDBPFAD(), QStringLiteral("ersetzt"));
    m_vorgemerkt = true;
}

void ABLAGE::ABLEGEN() {
    // Written beside its name (where the name was taken, for a first keep)
    // and put in its place whole, with this run's share on it from the
    // first moment: no other run offers the file, puts it aside or takes
    // its name while this run lives and may write it anew or work on in
    // it. A keep that fails leaves the file as it was, or none.
    const QString ziel = m_abgelegt;
    const QString neu = ziel + KOPIEDATEIEN::kNeu;
    if (!m_vorgemerkt) QFile::remove(neu);
    m_vorgemerkt = false;
    try {
        // Whether the run's copy knows every write into it: the file keeps
        // that, so that its offer tells a change its journal never saw.
        bool fremd = true;
        try {
            fremd = KOPIEBASIS::FREMD(*m_kopie);
        } catch (const RuntimeError&) {
        }
        CopyDatabase(*m_kopie, neu);
        {
            // The file names its project, where alone it is offered.
            Connection abgelegt(neu);
            Transaction transaktion(abgelegt);
            abgelegt.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS [%1] ([PROJEKT] TEXT)")
                                 .arg(kHerkunftstabelle));
            abgelegt.Execute(QStringLiteral("DELETE FROM [%1]").arg(kHerkunftstabelle));
            abgelegt.Execute(
                QStringLiteral("INSERT INTO [%1] ([PROJEKT]) VALUES (?)").arg(kHerkunftstabelle),
                {QFileInfo(m_dialog.PROJEKTDATENBANK()).absoluteFilePath()});
            KOPIEBASIS::GESCHRIEBEN(abgelegt, !fremd);
            if (fremd) abgelegt.Execute(QStringLiteral("UPDATE [VELD_ZAEHLER] SET [FREMD]=1"));
            transaktion.Commit();
        }
        KOPIEDATEIEN::BELEGTUMBENENNEN(neu, ziel, m_abgelegtanteil);
    } catch (const std::filesystem::filesystem_error&) {
        QFile::remove(neu);
        throw DatabaseError::IoFailureError(QDir::toNativeSeparators(ziel));
    } catch (...) {
        QFile::remove(neu);
        throw;
    }
}

bool ABLAGE::EIGENEABLAGE() const {
    // The run's own file is still at its name: the file it wrote and holds
    // its share on.
    const QFileInfo datei(m_abgelegt);
    if (m_abgelegt.isEmpty() || m_vorgemerkt || !datei.isFile()) return false;
    if (m_abgelegtanteil.IsOpen())
        return m_abgelegtanteil.StillAtPath() == FileLock::Identity::Same;
    return true;
}
