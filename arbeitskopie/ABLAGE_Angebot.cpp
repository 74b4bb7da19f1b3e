// The other runs' kept files. The next start on the project sets each file,
// its base and the project beside each other as the Save's join does, and
// offers, one file a box, what that run added, changed or deleted; what it
// never touched is never offered, whatever the project holds of it now. The
// user takes the work, lets it go, or keeps the file for a later start. A
// file is only put aside (VELD_uebernommen*.mdb when taken or done,
// VELD_verworfen*.mdb when let go), never deleted, and never while its run
// lives.

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
#include <map>
#include <set>

namespace {
const QString kAbgelegt = QStringLiteral("VELD_ersetzt*.mdb");

QByteArray inhalt(const DATENSATZSTAENDE* staende, const QString& schluessel) {
    const DATENSATZSTAENDE::STAND* stand = staende ? staende->Stand(schluessel) : nullptr;
    return stand ? stand->inhalt : QByteArray();
}
} // namespace

ABLAGE::ARBEIT ABLAGE::ARBEITLESEN(const KOPIEBASIS::STAENDE& datei,
                                   const DATENSATZSTAENDE* projekt, const DATENSATZSTAENDE* kopie,
                                   bool projektSeither, bool fremd) {
    ARBEIT arbeit;
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
        // What the run's journal saw it change; where that journal did not
        // see every write, any record the file holds may be the run's work.
        const bool gesehen = basis && jetzt != vorher;
        // What the run never touched is nobody's to take. Without a base,
        // what the file lacks is never taken either: it may be what another
        // added after the run's copy was made.
        if (!gesehen && (jetzt.isEmpty() || (basis && !fremd))) continue;
        if (jetzt == inhalt(dort, s)) continue;
        arbeit.erledigt = false;
        // In the copy already, as the file holds it: its Save is to come.
        if (kopie && inhalt(kopie, s) == jetzt) continue;
        if (!gesehen) {
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

QStringList ABLAGE::ARBEIT::NEHMEN() const {
    return neu + geaendert + geloescht + beide.keys();
}

bool ABLAGE::SPERREN(FileLock& sperre, const QString& datei) {
    // A file whose run still lives is that run's: it works on in it, or
    // writes it anew at its next keep. A lock that fails otherwise tells
    // nothing of its run, so the file is left, too.
    sperre = FileLock(LAEUFE::kAnteilsbyte);
    return sperre.OpenPresent(datei) && sperre.TryExclusive();
}

void ABLAGE::ANBIETEN() {
    if (!m_kopie->IsOpen()) return;
    const QString kopie = m_kopie->Path();
    const QStringList dateien = DATEIEN();
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
        inKopie = DATENSATZSTAENDE::LESEN(*m_kopie);
    } catch (const RuntimeError&) {
        return;
    }

    // One kept file, one offer: each box names its own file and what its
    // own run did.
    QStringList unlesbar, erledigt, verworfen;
    ErrorHandler eh(QStringLiteral("VB-Error: "), KOPIEDATEIEN::kTitel);
    for (const QString& datei : dateien) {
        if (eh.Left() || m_dialog.SITZUNGENDET() || m_dialog.ENTLADEN()) break;
        FileLock sperre;
        if (!SPERREN(sperre, datei)) continue;
        bool ohneHerkunft = false, fremd = false;
        KOPIEBASIS::STAENDE staende;
        try {
            Connection quelle;
            quelle.SetConnectionTimeout(30);
            quelle.Open(datei);
            const std::optional<QString> herkunft = HERKUNFT(quelle);
            // Another project's file is left where it is, for a start on
            // that project.
            if (herkunft && !KOPIEDATEIEN::DIESELBEDATEI(*herkunft, projektdatenbank)) continue;
            ohneHerkunft = !herkunft;
            staende = KOPIEBASIS::GESEHEN(quelle);
            // A base that did not see every write into its run's copy tells
            // only part: the file is offered as one whose run's changes
            // cannot be told, with what its base tells of them.
            fremd = KOPIEBASIS::FREMD(quelle);
        } catch (const RuntimeError& fehler) {
            unlesbar << QDir::toNativeSeparators(datei) + QStringLiteral(" (") +
                            fehler.Description() + QLatin1Char(')');
            continue;
        }
        // Without a base, a record held otherwise is the run's only where
        // nobody saved into the project since the file was kept.
        const bool seither = !projekt || QFileInfo(projektdatenbank).lastModified() >
                                             QFileInfo(datei).lastModified();
        const ARBEIT arbeit =
            ARBEITLESEN(staende, projekt ? &*projekt : nullptr, &inKopie, seither, fremd);
        const DATENSATZSTAENDE& dort = projekt ? *projekt : inKopie;
        if (arbeit.erledigt) {
            try {
                erledigt << QFileInfo(KOPIEDATEIEN::BEISEITELEGEN(datei, kopie)).fileName();
            } catch (const RuntimeError&) {
                // Put aside at a later start.
            }
            continue;
        }
        if (arbeit.NEHMEN().isEmpty() && arbeit.zweifel.isEmpty()) continue;

        const int antwort =
            FRAGEN(datei, ohneHerkunft, !staende.basis || fremd, arbeit, staende.kopie, dort);
        // The session ended while the question waited: nothing is written.
        if (m_dialog.SITZUNGENDET() || m_dialog.ENTLADEN()) return;
        if (antwort == vbNo) {
            // Let go: put aside, never deleted.
            try {
                verworfen << QFileInfo(KOPIEDATEIEN::BEISEITELEGEN(datei, kopie,
                                                                   QStringLiteral("verworfen")))
                                 .fileName();
            } catch (const RuntimeError&) {
            }
            continue;
        }
        if (antwort != vbYes) continue;
        QStringList nehmen = arbeit.NEHMEN();
        if (!arbeit.zweifel.isEmpty()) {
            const QString namen = KOPIEDATEIEN::AUFZAEHLUNG(
                m_dialog.SPRACHE(),
                ZUSAMMENFUEHRUNG::NAMEN(arbeit.zweifel, staende.kopie, dort,
                                        KOPIEDATEIEN::MEHRFACHNAME(m_dialog.SPRACHE()),
                                        KOPIEDATEIEN::OHNEKENNUNGNAME(m_dialog.SPRACHE())));
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
                vbYesNo + vbExclamation + vbDefaultButton2, KOPIEDATEIEN::kTitel);
            if (m_dialog.SITZUNGENDET() || m_dialog.ENTLADEN()) return;
            if (auch == vbYes) nehmen += arbeit.zweifel;
        }
        const bool genommen = eh.Run([&] {
            Connection quelle;
            quelle.SetConnectionTimeout(30);
            quelle.Open(datei);
            Transaction transaktion(*m_kopie);
            // What the copy held under those identifiers before the take.
            std::map<qint64, QString> vorher;
            const std::set<qint64> ids = DATENSATZSTAENDE::DATENSATZSCHLUESSEL(
                *m_kopie, QSet<QString>(nehmen.cbegin(), nehmen.cend()));
            for (const auto& [id, ken] : DATENSATZSTAENDE::ROHLESEN(*m_kopie, &ids).kennungen)
                vorher.emplace(id, DATENSATZSTAENDE::SCHLUESSEL(ken));
            ZUSAMMENFUEHRUNG::UEBERTRAGEN(*m_kopie, quelle, nehmen, KOPIEBASIS::FREIAB(*m_kopie));
            KOPIEBASIS::AUSDATEI(*m_kopie, quelle, nehmen, vorher);
            // A record changed by the run and by someone else since has its
            // run's base now, older than the project the copy last met: the
            // next Save joins (and asks about it) rather than overwrite that
            // project unasked.
            if (!arbeit.beide.isEmpty()) KOPIEBASIS::PROJEKTSTAENDESETZEN(*m_kopie, {});
            transaktion.Commit();
        });
        if (!genommen) continue;
        // Taken: the copy holds the work now, as its unsaved change with
        // its run's base; the file is not offered again.
        try {
            erledigt << QFileInfo(KOPIEDATEIEN::BEISEITELEGEN(datei, kopie)).fileName();
        } catch (const RuntimeError&) {
        }
        try {
            inKopie = DATENSATZSTAENDE::LESEN(*m_kopie);
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
                        vbOKOnly + vbExclamation, KOPIEDATEIEN::kTitel);
    BEISEITEGELEGTMELDEN(erledigt, verworfen);
}

int ABLAGE::FRAGEN(const QString& datei, bool ohneHerkunft, bool ohneBasis, const ARBEIT& arbeit,
                   const DATENSATZSTAENDE& hier, const DATENSATZSTAENDE& dort) {
    using ART = ZUSAMMENFUEHRUNG::ART;
    const bool en = m_dialog.SPRACHE() == 1;
    const auto benannt = [&](const QStringList& schluessel) {
        return KOPIEDATEIEN::AUFZAEHLUNG(
            m_dialog.SPRACHE(),
            ZUSAMMENFUEHRUNG::NAMEN(schluessel, hier, dort,
                                    KOPIEDATEIEN::MEHRFACHNAME(m_dialog.SPRACHE()),
                                    KOPIEDATEIEN::OHNEKENNUNGNAME(m_dialog.SPRACHE())));
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
    return m_dialog.FRAGEN(text, vbYesNoCancel + vbQuestion + vbDefaultButton3,
                           KOPIEDATEIEN::kTitel);
}

void ABLAGE::BEISEITEGELEGTMELDEN(const QStringList& erledigt, const QStringList& verworfen) {
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

void ABLAGE::ERLEDIGEN() {
    // After a Save: the kept files of this project whose run's work the
    // project now holds are put aside, and the status bar says which.
    // Nothing to read where no file is kept.
    const QStringList dateien = DATEIEN();
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
        if (!SPERREN(sperre, datei)) continue;
        try {
            KOPIEBASIS::STAENDE staende;
            bool fremd = false;
            {
                Connection quelle;
                quelle.Open(datei);
                const std::optional<QString> herkunft = HERKUNFT(quelle);
                // A file that does not name this project is offered, and put
                // aside, only with a word.
                if (!herkunft ||
                    !KOPIEDATEIEN::DIESELBEDATEI(*herkunft, m_dialog.PROJEKTDATENBANK()))
                    continue;
                staende = KOPIEBASIS::GESEHEN(quelle);
                fremd = KOPIEBASIS::FREMD(quelle);
            }
            if (ARBEITLESEN(staende, &projekt, nullptr, true, fremd).erledigt)
                erledigt << QFileInfo(KOPIEDATEIEN::BEISEITELEGEN(datei, kopie)).fileName();
        } catch (const RuntimeError&) {
            // Left for the next start's offer.
        }
    }
    BEISEITEGELEGTMELDEN(erledigt, {});
}

QStringList ABLAGE::DATEIEN() const {
    const QDir ordner(QFileInfo(m_dialog.XMDBPFAD()).path());
    QStringList dateien;
    for (const QString& name : ordner.entryList({kAbgelegt}, QDir::Files, QDir::Name)) {
        const QString datei = ordner.filePath(name);
        // An empty file holds nothing (earlier versions took a name so);
        // this run's own file is what it still works on.
        if (QFileInfo(datei).size() > 0 && datei != m_abgelegt) dateien << datei;
    }
    return dateien;
}

std::optional<QString> ABLAGE::HERKUNFT(Connection& quelle) {
    if (quelle.TableColumns(kHerkunftstabelle).empty()) return std::nullopt;
    Recordset rs(QStringLiteral("SELECT [PROJEKT] FROM [%1]").arg(kHerkunftstabelle), quelle);
    if (rs.Eof()) return std::nullopt;
    return CStr(rs.Fields(0).Value());
}
