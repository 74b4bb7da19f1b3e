// The files kept beside the working copy. What a run keeps when its working
// copy is replaced or deleted under it: the file VELD_ersetzt*.mdb beside
// the copy (ABGELOESTEKOPIESICHERN), a whole copy of the run's database and
// so of its base, what that run's copy held when it last met the project.
// The next start on the project sets each file, its base and the project
// beside each other as the Save's join does, and offers, one file a box,
// what that run added, changed or deleted; what it never touched is never
// offered, whatever the project holds of it now. The user takes the work,
// lets it go, or keeps the file for a later start. A file is only put aside
// (VELD_uebernommen*.mdb when taken or done, VELD_verworfen*.mdb when let
// go), never deleted, and never while its run lives. A quit that cannot keep
// such a file says why the program stays open, and lets the user end it all
// the same.

#include "arbeitskopie/ARBEITSKOPIE.h"

#include "arbeitskopie/DATENSATZSTAENDE.h"
#include "arbeitskopie/KOPIEBASIS.h"
#include "arbeitskopie/PROJEKTABDRUCK.h"
#include "arbeitskopie/ZUSAMMENFUEHRUNG.h"
#include "platform/database/DatabaseError.h"
#include "platform/database/DatabaseFile.h"

#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "platform/database/Transaction.h"
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
#include <map>
#include <set>
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

QByteArray inhalt(const DATENSATZSTAENDE* staende, const QString& schluessel) {
    const DATENSATZSTAENDE::STAND* stand = staende ? staende->Stand(schluessel) : nullptr;
    return stand ? stand->inhalt : QByteArray();
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

ARBEITSKOPIE::ABGELEGTEARBEIT ARBEITSKOPIE::ABGELEGTEARBEITLESEN(const KOPIEBASIS::STAENDE& datei,
                                                                 const DATENSATZSTAENDE* projekt,
                                                                 const DATENSATZSTAENDE* kopie,
                                                                 bool projektSeither) {
    ABGELEGTEARBEIT arbeit;
    const DATENSATZSTAENDE& hier = datei.kopie;
    const DATENSATZSTAENDE* basis = datei.basis ? &*datei.basis : nullptr;
    // A project that cannot be read: the working copy stands in for it, and
    // nothing counts as done.
    const DATENSATZSTAENDE* dort = projekt ? projekt : kopie;
    arbeit.erledigt = projekt != nullptr;
    QSet<QString> alle;
    for (const DATENSATZSTAENDE* s : {basis, &hier, dort})
        if (s)
            for (auto it = s->Staende().cbegin(); it != s->Staende().cend(); ++it)
                alle.insert(it.key());
    ZUSAMMENFUEHRUNG plan, planKopie;
    if (dort) plan = ZUSAMMENFUEHRUNG::PLANEN(basis, hier, *dort);
    // An unsaved change of this user in the working copy is as much another's
    // as the project's.
    if (kopie && basis) planKopie = ZUSAMMENFUEHRUNG::PLANEN(basis, hier, *kopie);
    QStringList schluessel = alle.values();
    schluessel.sort();
    for (const QString& s : schluessel) {
        const QByteArray vorher = inhalt(basis, s), jetzt = inhalt(&hier, s);
        // What the run never touched is nobody's to take. Without a base,
        // what the file lacks is never taken either: it may be what another
        // added after the run's copy was made.
        if (basis ? jetzt == vorher : jetzt.isEmpty()) continue;
        if (jetzt == inhalt(dort, s)) continue;
        arbeit.erledigt = false;
        // In the copy already, as the file holds it: its Save is to come.
        if (kopie && inhalt(kopie, s) == jetzt) continue;
        if (!basis) {
            if (inhalt(dort, s).isEmpty())
                arbeit.neu << s;
            else
                (projektSeither ? arbeit.zweifel : arbeit.geaendert) << s;
        } else if (plan.KONFLIKTE.contains(s)) {
            arbeit.beide.insert(s, plan.ARTEN.value(s));
        } else if (planKopie.KONFLIKTE.contains(s)) {
            arbeit.beide.insert(s, planKopie.ARTEN.value(s));
        } else {
            (vorher.isEmpty()  ? arbeit.neu
             : jetzt.isEmpty() ? arbeit.geloescht
                               : arbeit.geaendert)
                << s;
        }
    }
    return arbeit;
}

QStringList ARBEITSKOPIE::ABGELEGTEARBEIT::NEHMEN() const {
    return neu + geaendert + geloescht + beide.keys();
}

bool ARBEITSKOPIE::ABGELEGTSPERREN(FileLock& sperre, const QString& datei) {
    // A file whose run still lives is that run's: it works on in it, or
    // writes it anew at its next keep. A lock that fails otherwise tells
    // nothing of its run, so the file is left, too.
    sperre = FileLock(LAEUFE::kAnteilsbyte);
    return sperre.OpenPresent(datei) && sperre.TryExclusive();
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
    // then the copy stands in for it, and nothing is put aside as done.
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

    // One kept file, one offer: each box names its own file and what its
    // own run did.
    QStringList unlesbar, erledigt, verworfen;
    ErrorHandler eh(QStringLiteral("VB-Error: "), kTitel);
    for (const QString& datei : dateien) {
        if (eh.Left() || m_dialog.SITZUNGENDET() || m_dialog.ENTLADEN()) break;
        FileLock sperre;
        if (!ABGELEGTSPERREN(sperre, datei)) continue;
        bool ohneHerkunft = false;
        KOPIEBASIS::STAENDE staende;
        try {
            Connection quelle;
            quelle.SetConnectionTimeout(30);
            quelle.Open(datei);
            const std::optional<QString> herkunft = ABGELEGTEHERKUNFT(quelle);
            // Another project's file is left where it is, for a start on
            // that project.
            if (herkunft && !DIESELBEDATEI(*herkunft, projektdatenbank)) continue;
            ohneHerkunft = !herkunft;
            staende = KOPIEBASIS::LESEN(quelle);
            // A base that did not see every write into its run's copy tells
            // nothing: the file is offered as one whose run's changes
            // cannot be told.
            if (KOPIEBASIS::FREMD(quelle)) staende.basis.reset();
        } catch (const RuntimeError& fehler) {
            unlesbar << QDir::toNativeSeparators(datei) + QStringLiteral(" (") +
                            fehler.Description() + QLatin1Char(')');
            continue;
        }
        // Without a base, a record held otherwise is the run's only where
        // nobody saved into the project since the file was kept.
        const bool seither = !projekt || QFileInfo(projektdatenbank).lastModified() >
                                             QFileInfo(datei).lastModified();
        const ABGELEGTEARBEIT arbeit =
            ABGELEGTEARBEITLESEN(staende, projekt ? &*projekt : nullptr, &inKopie, seither);
        const DATENSATZSTAENDE& dort = projekt ? *projekt : inKopie;
        if (arbeit.erledigt) {
            try {
                erledigt << QFileInfo(ABGELEGTEBEISEITELEGEN(datei, kopie)).fileName();
            } catch (const RuntimeError&) {
                // Put aside at a later start.
            }
            continue;
        }
        if (arbeit.NEHMEN().isEmpty() && arbeit.zweifel.isEmpty()) continue;

        const int antwort = ABGELEGTEFRAGEN(datei, ohneHerkunft, !staende.basis.has_value(), arbeit,
                                            staende.kopie, dort);
        // The session ended while the question waited: nothing is written.
        if (m_dialog.SITZUNGENDET() || m_dialog.ENTLADEN()) return;
        if (antwort == vbNo) {
            // Let go: put aside, never deleted.
            try {
                verworfen << QFileInfo(
                                 ABGELEGTEBEISEITELEGEN(datei, kopie, QStringLiteral("verworfen")))
                                 .fileName();
            } catch (const RuntimeError&) {
            }
            continue;
        }
        if (antwort != vbYes) continue;
        QStringList nehmen = arbeit.NEHMEN();
        if (!arbeit.zweifel.isEmpty()) {
            const QString namen = AUFZAEHLUNG(ZUSAMMENFUEHRUNG::NAMEN(
                arbeit.zweifel, staende.kopie, dort, MEHRFACHNAME(), OHNEKENNUNGNAME()));
            const QString ort = QDir::toNativeSeparators(datei);
            const int auch = m_dialog.FRAGEN(
                en ? QStringLiteral("Project ") + m_dialog.PROJEKT() +
                         QStringLiteral(" was changed after ") + ort +
                         QStringLiteral(" was kept, and it holds these records otherwise than "
                                        "the file; who changed them cannot be told: ") +
                         namen + QStringLiteral(".\r\n") +
                         QStringLiteral("Take the file's version of them, too? Yes: it replaces "
                                        "the project's at the next Save. No: the project's "
                                        "version stays.")
                   : QStringLiteral("Das Projekt ") + m_dialog.PROJEKT() +
                         QString::fromUtf8(" wurde geändert, nachdem ") + ort +
                         QString::fromUtf8(" abgelegt wurde, und enthält diese Datensätze "
                                           "anders als die Datei; wer sie geändert hat, lässt "
                                           "sich nicht feststellen: ") +
                         namen + QStringLiteral(".\r\n") +
                         QString::fromUtf8("Soll auch ihre Fassung der Datei übernommen werden? "
                                           "Ja: sie ersetzt beim nächsten Speichern die des "
                                           "Projekts. Nein: die Fassung im Projekt bleibt."),
                vbYesNo + vbExclamation + vbDefaultButton2, kTitel);
            if (m_dialog.SITZUNGENDET() || m_dialog.ENTLADEN()) return;
            if (auch == vbYes) nehmen += arbeit.zweifel;
        }
        const bool genommen = eh.Run([&] {
            Connection quelle;
            quelle.SetConnectionTimeout(30);
            quelle.Open(datei);
            Transaction transaktion(*m_DBPROJEKT);
            // What the copy held under those identifiers before the take.
            std::map<qint64, QString> vorher;
            const std::set<qint64> ids = DATENSATZSTAENDE::DATENSATZSCHLUESSEL(
                *m_DBPROJEKT, QSet<QString>(nehmen.cbegin(), nehmen.cend()));
            for (const auto& [id, ken] : DATENSATZSTAENDE::ROHLESEN(*m_DBPROJEKT, &ids).kennungen)
                vorher.emplace(id, DATENSATZSTAENDE::SCHLUESSEL(ken));
            ZUSAMMENFUEHRUNG::UEBERTRAGEN(*m_DBPROJEKT, quelle, nehmen,
                                          KOPIEBASIS::FREIAB(*m_DBPROJEKT));
            KOPIEBASIS::AUSDATEI(*m_DBPROJEKT, quelle, nehmen, vorher);
            transaktion.Commit();
        });
        if (!genommen) continue;
        // A record changed by the run and by someone else since has its
        // run's base now, older than the project the copy last met: the
        // next Save joins (and asks about it) rather than overwrite that
        // project unasked.
        if (!arbeit.beide.isEmpty()) PROJEKTABDRUECKESETZEN({});
        // Taken: the copy holds the work now, as its unsaved change with
        // its run's base; the file is not offered again.
        try {
            erledigt << QFileInfo(ABGELEGTEBEISEITELEGEN(datei, kopie)).fileName();
        } catch (const RuntimeError&) {
        }
        try {
            inKopie = DATENSATZSTAENDE::LESEN(*m_DBPROJEKT);
        } catch (const RuntimeError&) {
            break;
        }
    }

    if (!unlesbar.isEmpty() && !m_dialog.SITZUNGENDET() && !m_dialog.ENTLADEN())
        m_dialog.FRAGEN((en ? QStringLiteral("These files kept by runs of VELD whose working "
                                             "copy was replaced or deleted cannot be read; they "
                                             "stay as they are:")
                            : QString::fromUtf8("Diese von Läufen von VELD, deren Arbeitskopie "
                                                "ersetzt oder gelöscht wurde, abgelegten Dateien "
                                                "können nicht gelesen werden; sie bleiben, wie "
                                                "sie sind:")) +
                            QStringLiteral("\r\n") + unlesbar.join(QStringLiteral("\r\n")),
                        vbOKOnly + vbExclamation, kTitel);
    BEISEITEGELEGTMELDEN(erledigt, verworfen);
}

int ARBEITSKOPIE::ABGELEGTEFRAGEN(const QString& datei, bool ohneHerkunft, bool ohneBasis,
                                  const ABGELEGTEARBEIT& arbeit, const DATENSATZSTAENDE& hier,
                                  const DATENSATZSTAENDE& dort) {
    using ART = ZUSAMMENFUEHRUNG::ART;
    const bool en = m_dialog.SPRACHE() == 1;
    const auto benannt = [&](const QStringList& schluessel) {
        return AUFZAEHLUNG(
            ZUSAMMENFUEHRUNG::NAMEN(schluessel, hier, dort, MEHRFACHNAME(), OHNEKENNUNGNAME()));
    };
    const QString zeile = QStringLiteral("\r\n");
    QString text =
        (en ? QStringLiteral("A run of VELD whose working copy was replaced or deleted kept its "
                             "work in:")
            : QString::fromUtf8("Ein Lauf von VELD, dessen Arbeitskopie ersetzt oder gelöscht "
                                "wurde, hat seine Arbeit abgelegt in:")) +
        zeile + QDir::toNativeSeparators(datei) + zeile;
    if (ohneHerkunft)
        text += (en ? QStringLiteral("From which project this file comes cannot be told (it was "
                                     "kept before files named their project).")
                    : QString::fromUtf8("Von welchem Projekt diese Datei stammt, lässt sich nicht "
                                        "feststellen (sie wurde abgelegt, bevor Dateien ihr "
                                        "Projekt nannten).")) +
                zeile;
    if (ohneBasis)
        text += (en ? QStringLiteral("What that run changed cannot be told: the file was kept "
                                     "before files held their run's base.")
                    : QString::fromUtf8("Was dieser Lauf geändert hat, lässt sich nicht "
                                        "feststellen: die Datei wurde abgelegt, bevor Dateien die "
                                        "Basis ihres Laufs enthielten.")) +
                zeile;
    struct Gruppe {
        const QStringList& schluessel;
        const char* englisch;
        const char* deutsch;
    };
    const Gruppe gruppen[] = {
        {arbeit.neu,
         ohneBasis ? "The project lacks these records: " : "That run added these records: ",
         ohneBasis ? "Im Projekt fehlen diese Datensätze: "
                   : "Dieser Lauf hat diese Datensätze angelegt: "},
        {arbeit.geaendert,
         ohneBasis ? "The file holds these records otherwise than the project: "
                   : "That run changed these records: ",
         ohneBasis ? "Diese Datensätze enthält die Datei anders als das Projekt: "
                   : "Dieser Lauf hat diese Datensätze geändert: "},
        {arbeit.geloescht,
         "That run deleted these records: ", "Dieser Lauf hat diese Datensätze gelöscht: "},
        {arbeit.zweifel,
         "The file holds these records otherwise than the project, which was changed after the "
         "file was kept: ",
         "Diese Datensätze enthält die Datei anders als das Projekt, das nach dem Ablegen der "
         "Datei geändert wurde: "},
    };
    for (const Gruppe& g : gruppen)
        if (!g.schluessel.isEmpty())
            text += (en ? QString::fromUtf8(g.englisch) : QString::fromUtf8(g.deutsch)) +
                    benannt(g.schluessel) + QStringLiteral(".") + zeile;
    // Changed by the run and by someone else since, in the words of the
    // Save's box.
    struct Art {
        ART art;
        const char* englisch;
        const char* deutsch;
    };
    static const Art arten[] = {
        {ART::GEAENDERT, "These records were changed in this file and in the project: ",
         "Diese Datensätze wurden in dieser Datei und im Projekt geändert: "},
        {ART::HIERGELOESCHT, "These records were deleted in this file and changed in the project: ",
         "Diese Datensätze wurden in dieser Datei gelöscht und im Projekt geändert: "},
        {ART::DORTGELOESCHT, "These records were changed in this file and deleted in the project: ",
         "Diese Datensätze wurden in dieser Datei geändert und im Projekt gelöscht: "},
        {ART::BEIDENEU,
         "A new record was made in this file and another one in the project under these "
         "identifiers: ",
         "Unter diesen Kennungen wurde in dieser Datei und im Projekt je ein neuer Datensatz "
         "angelegt: "},
        {ART::MEHRFACH,
         "These identifiers are held by several records in this file or in the "
         "project: ",
         "Diese Kennungen tragen in dieser Datei oder im Projekt mehrere Datensätze: "},
    };
    for (const Art& a : arten) {
        QStringList teil;
        for (auto it = arbeit.beide.cbegin(); it != arbeit.beide.cend(); ++it)
            if (it.value() == a.art) teil << it.key();
        if (!teil.isEmpty())
            text += (en ? QString::fromUtf8(a.englisch) : QString::fromUtf8(a.deutsch)) +
                    benannt(teil) + QStringLiteral(".") + zeile;
    }
    QStringList alle = arbeit.NEHMEN() + arbeit.zweifel;
    const bool verloren = !arbeit.beide.isEmpty();
    if (en)
        text += QStringLiteral("Yes: that run's work is taken into the working copy; the next "
                               "Save puts it into the project") +
                (verloren ? QStringLiteral(" and asks about the records changed in both, as "
                                           "about any record changed here and there")
                          : QString()) +
                QStringLiteral(".") +
                (arbeit.zweifel.isEmpty()
                     ? QString()
                     : QStringLiteral(" The records the project holds otherwise since are asked "
                                      "about next.")) +
                zeile + QStringLiteral("No: that run's work on these records is let go: ") +
                benannt(alle) + QStringLiteral(".") + zeile +
                QStringLiteral("After Yes or No the file is put aside and not offered again.") +
                zeile +
                QStringLiteral("Cancel: nothing is taken or let go; the file is offered again "
                               "at the next start.");
    else
        text += QString::fromUtf8("Ja: die Arbeit dieses Laufs wird in die Arbeitskopie "
                                  "übernommen; das nächste Speichern bringt sie in das Projekt") +
                (verloren ? QString::fromUtf8(" und fragt nach den in beiden geänderten "
                                              "Datensätzen wie nach jedem hier und dort "
                                              "geänderten Datensatz")
                          : QString()) +
                QStringLiteral(".") +
                (arbeit.zweifel.isEmpty()
                     ? QString()
                     : QString::fromUtf8(" Nach den seither im Projekt anders enthaltenen "
                                         "Datensätzen wird danach gefragt.")) +
                zeile +
                QString::fromUtf8("Nein: die Arbeit dieses Laufs an diesen Datensätzen wird "
                                  "verworfen: ") +
                benannt(alle) + QStringLiteral(".") + zeile +
                QString::fromUtf8("Nach Ja oder Nein wird die Datei beiseitegelegt und nicht "
                                  "wieder angeboten.") +
                zeile +
                QString::fromUtf8("Abbrechen: es wird nichts übernommen und nichts verworfen; "
                                  "die Datei wird beim nächsten Start wieder angeboten.");
    return m_dialog.FRAGEN(text, vbYesNoCancel + vbQuestion + vbDefaultButton3, kTitel);
}

void ARBEITSKOPIE::BEISEITEGELEGTMELDEN(const QStringList& erledigt, const QStringList& verworfen) {
    const bool en = m_dialog.SPRACHE() == 1;
    QStringList teile;
    if (!erledigt.isEmpty())
        teile << (en ? QStringLiteral("Put aside as done: ")
                     : QStringLiteral("Als erledigt beiseitegelegt: ")) +
                     erledigt.join(QStringLiteral(", "));
    if (!verworfen.isEmpty())
        teile << (en ? QStringLiteral("Let go and put aside: ")
                     : QString::fromUtf8("Verworfen und beiseitegelegt: ")) +
                     verworfen.join(QStringLiteral(", "));
    if (teile.isEmpty()) return;
    const QString zeile = teile.join(QStringLiteral("; "));
    m_dialog.HINWEISEN(zeile, zeile);
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
    // Written beside its name and put in its place whole, with this run's
    // share on it from the first moment: no other run offers the file, puts
    // it aside or takes its name while this run lives and may write it anew
    // or work on in it.
    const QString neu = ziel + QStringLiteral(".neu");
    QFile::remove(neu);
    try {
        // Whether the run's copy knows every write into it: the file keeps
        // that, so that its offer tells a change its journal never saw.
        bool fremd = true;
        try {
            fremd = KOPIEBASIS::FREMD(*m_DBPROJEKT);
        } catch (const RuntimeError&) {
        }
        CopyDatabase(*m_DBPROJEKT, neu);
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
        BELEGTUMBENENNEN(neu, ziel, m_abgelegtanteil);
    } catch (const std::filesystem::filesystem_error&) {
        QFile::remove(neu);
        throw DatabaseError::IoFailureError(QDir::toNativeSeparators(ziel));
    } catch (...) {
        QFile::remove(neu);
        throw;
    }
}

bool ARBEITSKOPIE::EIGENEABLAGE() const {
    // The run's own file is still at its name: the empty file its name was
    // taken by, or the file it wrote and holds its share on.
    const QFileInfo datei(m_abgelegt);
    if (m_abgelegt.isEmpty() || !datei.isFile()) return false;
    if (m_abgelegtanteil.IsOpen())
        return m_abgelegtanteil.StillAtPath() == FileLock::Identity::Same;
    return true;
}

void ARBEITSKOPIE::ABGELEGTEERLEDIGEN() {
    // After a Save: the kept files of this project whose run's work the
    // project now holds are put aside, and the status bar says which.
    // Nothing to read where no file is kept.
    const QStringList dateien = ABGELEGTEDATEIEN();
    if (dateien.isEmpty()) return;
    const QString kopie = m_dialog.XMDBPFAD();
    DATENSATZSTAENDE projekt;
    try {
        Connection verbindung;
        verbindung.SetConnectionTimeout(30);
        verbindung.Open(m_dialog.PROJEKTDATENBANK());
        projekt = DATENSATZSTAENDE::LESEN(verbindung);
    } catch (const RuntimeError&) {
        return;
    }
    QStringList erledigt;
    for (const QString& datei : dateien) {
        FileLock sperre;
        if (!ABGELEGTSPERREN(sperre, datei)) continue;
        try {
            KOPIEBASIS::STAENDE staende;
            {
                Connection quelle;
                quelle.Open(datei);
                const std::optional<QString> herkunft = ABGELEGTEHERKUNFT(quelle);
                // A file that does not name this project is offered, and put
                // aside, only with a word.
                if (!herkunft || !DIESELBEDATEI(*herkunft, m_dialog.PROJEKTDATENBANK())) continue;
                staende = KOPIEBASIS::LESEN(quelle);
                if (KOPIEBASIS::FREMD(quelle)) staende.basis.reset();
            }
            if (ABGELEGTEARBEITLESEN(staende, &projekt, nullptr, true).erledigt)
                erledigt << QFileInfo(ABGELEGTEBEISEITELEGEN(datei, kopie)).fileName();
        } catch (const RuntimeError&) {
            // Left for the next start's offer.
        }
    }
    BEISEITEGELEGTMELDEN(erledigt, {});
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

QString ARBEITSKOPIE::ABGELEGTEBEISEITELEGEN(const QString& datei, const QString& kopie,
                                             const QString& zusatz) {
    const QString ziel = FREIERNAME(kopie, zusatz);
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
        const bool erster = !EIGENEABLAGE();
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
    if (m_umgezogen || (!m_eigeneAenderung && EIGENEABLAGE() && QFileInfo(m_abgelegt).size() > 0)) {
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
