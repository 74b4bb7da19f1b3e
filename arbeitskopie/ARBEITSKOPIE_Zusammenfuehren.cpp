// The Save's join with a project that someone else wrote into since the copy
// last met it (ZUSAMMENFUEHRUNG says what each record becomes), and the base
// it sets the two beside (BASIS), which the guard of the first change after
// a Save or a start writes.

#include "arbeitskopie/ARBEITSKOPIE.h"

#include "arbeitskopie/BASIS.h"
#include "arbeitskopie/DATENSATZSTAENDE.h"
#include "arbeitskopie/ZUSAMMENFUEHRUNG.h"
#include "platform/database/Connection.h"
#include "platform/database/DatabaseFile.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/System.h"

#include <QDir>
#include <QFile>

void ARBEITSKOPIE::BASISSICHERN() {
    // Called before the first change mark: the copy holds no unsaved change,
    // so it is what the project held when the copy last met it. A base that
    // cannot be written must not leave an older one in its place: without
    // one, the Save asks about every record held otherwise.
    if (m_zustand.isEmpty()) return;
    const QString datei = BASIS::DATEI(m_zustand);
    try {
        if (BASIS::SCHREIBEN(datei, DATENSATZSTAENDE::LESEN(*m_DBPROJEKT))) return;
    } catch (const RuntimeError&) {
    }
    QFile::remove(datei);
}

std::optional<DATENSATZSTAENDE> ARBEITSKOPIE::BASISLESEN(const DATENSATZSTAENDE& kopie) {
    // Without an unsaved change the copy is its own base.
    if (!BOGEAENDERT()) return kopie;
    if (m_zustand.isEmpty()) return std::nullopt;
    return BASIS::LESEN(BASIS::DATEI(m_zustand));
}

std::optional<QStringList> ARBEITSKOPIE::NURINKOPIE(const std::optional<DATENSATZSTAENDE>& kopie) {
    if (!kopie) return std::nullopt;
    const DATENSATZSTAENDE& k = *kopie;
    try {
        Connection projekt;
        projekt.SetConnectionTimeout(30);
        projekt.Open(m_dialog.PROJEKTDATENBANK());
        const DATENSATZSTAENDE p = DATENSATZSTAENDE::LESEN(projekt);
        const std::optional<DATENSATZSTAENDE> basis =
            m_zustand.isEmpty() ? std::nullopt : BASIS::LESEN(BASIS::DATEI(m_zustand));
        QStringList nur;
        for (auto it = k.Staende().cbegin(); it != k.Staende().cend(); ++it) {
            const auto* imProjekt = p.Stand(it.key());
            if (imProjekt && imProjekt->inhalt == it->inhalt) continue;
            const auto* vorher = basis ? basis->Stand(it.key()) : nullptr;
            // Unchanged since the copy met the project: someone removed or
            // changed it there on purpose.
            if (vorher && vorher->inhalt == it->inhalt) continue;
            nur << it.key();
        }
        return ZUSAMMENFUEHRUNG::NAMEN(nur, k, p, MEHRFACHNAME());
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

QString ARBEITSKOPIE::NEINVERWIRFT(const std::optional<QStringList>& nur) const {
    const bool en = m_dialog.SPRACHE() == 1;
    if (!nur)
        return QStringLiteral("\r\n") +
               (en ? QStringLiteral("No discards every change of the working copy.")
                   : QString::fromUtf8("Nein verwirft alle Änderungen der Arbeitskopie."));
    if (nur->isEmpty()) return QString();
    return QStringLiteral("\r\n") +
           (en ? QStringLiteral("No discards these records, which only the working copy holds "
                                "so: ")
               : QString::fromUtf8("Nein verwirft diese Datensätze, die nur die Arbeitskopie so "
                                   "enthält: ")) +
           AUFZAEHLUNG(*nur) + QStringLiteral(".");
}

bool ARBEITSKOPIE::UNVERAENDERT(const std::optional<DATENSATZSTAENDE>& kopie) {
    if (!kopie || m_BOGEAENDERT || m_zustand.isEmpty()) return false;
    const std::optional<DATENSATZSTAENDE> basis = BASIS::LESEN(BASIS::DATEI(m_zustand));
    return basis && *basis == *kopie;
}

std::optional<DATENSATZSTAENDE> ARBEITSKOPIE::KOPIESTAENDE(Connection& kopie) {
    try {
        return DATENSATZSTAENDE::LESEN(kopie);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

QString ARBEITSKOPIE::MEHRFACHNAME() const {
    return m_dialog.SPRACHE() == 1 ? QStringLiteral("the multiple evaluation")
                                   : QStringLiteral("die Mehrfachauswertung");
}

bool ARBEITSKOPIE::ZUSAMMENFUEHREN(ErrorHandler& eh, const QString& titel,
                                   std::optional<ENTSCHEIDUNG>& entscheidung,
                                   QStringList& uebernommen, bool fragen) {
    for (;;) {
        std::optional<DATENSATZSTAENDE> projektstaende;
        Connection projekt;
        if (!eh.Run([&] {
                projekt.SetConnectionTimeout(30);
                projekt.Open(m_dialog.PROJEKTDATENBANK());
                projektstaende = DATENSATZSTAENDE::LESEN(projekt);
            }))
            return false;
        // The copy is read and written under its write lock, so that another
        // run of the user cannot change a record between the plan and the
        // take. No box waits with it held: a question ends it first, and the
        // plan is made again after the answer.
        QStringList offen;
        DATENSATZSTAENDE kopiestaende;
        std::optional<DATENSATZSTAENDE> basis;
        const bool fertig = eh.Run([&] {
            Transaction transaktion(*m_DBPROJEKT);
            kopiestaende = DATENSATZSTAENDE::LESEN(*m_DBPROJEKT);
            basis = BASISLESEN(kopiestaende);
            ZUSAMMENFUEHRUNG plan = ZUSAMMENFUEHRUNG::PLANEN(basis ? &*basis : nullptr,
                                                             kopiestaende, *projektstaende);
            for (const QString& schluessel : plan.KONFLIKTE) {
                const auto* k = kopiestaende.Stand(schluessel);
                const auto* p = projektstaende->Stand(schluessel);
                const QByteArray beide = (k ? k->inhalt : QByteArray()) + '|' +
                                         (p ? p->inhalt : QByteArray());
                // Asked already about these very versions.
                if (entscheidung && entscheidung->gefragt.value(schluessel) == beide) {
                    if (!entscheidung->eigene) plan.UEBERNEHMEN << schluessel;
                    continue;
                }
                // Without a question, a record both changed stays as this
                // user left it, for the Save to ask about.
                if (fragen) offen << schluessel;
            }
            if (!offen.isEmpty()) return;
            ZUSAMMENFUEHRUNG::UEBERTRAGEN(*m_DBPROJEKT, projekt, plan.UEBERNEHMEN);
            transaktion.Commit();
            uebernommen += ZUSAMMENFUEHRUNG::NAMEN(plan.UEBERNEHMEN, kopiestaende,
                                                    *projektstaende, MEHRFACHNAME());
        });
        if (!fertig) return false;
        if (offen.isEmpty()) return true;
        projekt.Close();

        SetMousePointer(vbDefault);
        const int antwort = KONFLIKTFRAGEN(
            titel,
            ZUSAMMENFUEHRUNG::NAMEN(offen, kopiestaende, *projektstaende, MEHRFACHNAME()),
            !basis.has_value());
        // The session ended while the question waited: nothing is written.
        if (!m_dialog.GELADEN() || m_dialog.ENTLADEN() || antwort == vbCancel) return false;
        SetMousePointer(vbHourglass);
        ENTSCHEIDUNG neu{antwort == vbYes, {}};
        for (const QString& schluessel : offen) {
            const auto* k = kopiestaende.Stand(schluessel);
            const auto* p = projektstaende->Stand(schluessel);
            neu.gefragt.insert(schluessel, (k ? k->inhalt : QByteArray()) + '|' +
                                               (p ? p->inhalt : QByteArray()));
        }
        // An earlier answer holds for the records it was about.
        if (entscheidung && entscheidung->eigene == neu.eigene)
            for (auto it = entscheidung->gefragt.cbegin(); it != entscheidung->gefragt.cend(); ++it)
                if (!neu.gefragt.contains(it.key())) neu.gefragt.insert(it.key(), it.value());
        entscheidung = neu;
    }
}

int ARBEITSKOPIE::KONFLIKTFRAGEN(const QString& titel, const QStringList& namen,
                                 bool ohneBasis) {
    const QString projekt = QDir::toNativeSeparators(m_dialog.PROJEKTDATENBANK());
    const QString liste = AUFZAEHLUNG(namen);
    QString text;
    if (m_dialog.SPRACHE() == 1) {
        text = QStringLiteral("Project ") + m_dialog.PROJEKT() + QStringLiteral(" (") + projekt +
               QStringLiteral(") was changed by another user or program since the working copy "
                              "last met it. What was changed only there or only here is kept "
                              "as it was left.") +
               QStringLiteral("\r\n");
        if (ohneBasis)
            text += QStringLiteral("What was changed here cannot be told: the working copy's "
                                   "base is missing. ");
        text += QStringLiteral("These records were changed here and there: ") + liste +
                QStringLiteral(".") + QStringLiteral("\r\n") +
                QStringLiteral("Yes: your version of them is saved; the project's version of "
                               "them is lost.") +
                QStringLiteral("\r\n") +
                QStringLiteral("No: the project's version of them is kept; your version of "
                               "them is lost.") +
                QStringLiteral("\r\n") +
                QStringLiteral("Cancel: nothing is saved; all your changes stay in the working "
                               "copy.");
    } else {
        text = QStringLiteral("Das Projekt ") + m_dialog.PROJEKT() + QStringLiteral(" (") +
               projekt +
               QString::fromUtf8(") wurde seit dem letzten Abgleich der Arbeitskopie von einem "
                                 "anderen Benutzer oder Programm geändert. Was nur dort oder nur "
                                 "hier geändert wurde, bleibt, wie es geändert wurde.") +
               QStringLiteral("\r\n");
        if (ohneBasis)
            text += QString::fromUtf8("Was hier geändert wurde, lässt sich nicht feststellen: "
                                      "die Basis der Arbeitskopie fehlt. ");
        text += QString::fromUtf8("Diese Datensätze wurden hier und dort geändert: ") + liste +
                QStringLiteral(".") + QStringLiteral("\r\n") +
                QString::fromUtf8("Ja: Ihre Fassung wird gespeichert; die Fassung im Projekt "
                                  "geht verloren.") +
                QStringLiteral("\r\n") +
                QString::fromUtf8("Nein: die Fassung im Projekt bleibt; Ihre Fassung geht "
                                  "verloren.") +
                QStringLiteral("\r\n") +
                QString::fromUtf8("Abbrechen: es wird nichts gespeichert; alle Ihre Änderungen "
                                  "bleiben in der Arbeitskopie.");
    }
    return m_dialog.FRAGEN(text, vbYesNoCancel + vbExclamation + vbDefaultButton3, titel);
}

void ARBEITSKOPIE::AUFFRISCHEN(ErrorHandler& eh) {
    // A start that keeps a copy nobody can tell is in use brings it up to
    // what the project holds now: what others saved since comes in, nothing
    // of this user's unsaved work goes, and nothing is asked.
    const QList<DatabaseMark> bekannt = PROJEKTABDRUECKE() + m_eigeneprojektabdruecke;
    const std::optional<DatabaseMark> jetzt =
        eh.Value([&] { return MarkOfDatabase(m_dialog.PROJEKTDATENBANK()); });
    if (!jetzt || DatabaseMark::Contains(bekannt, *jetzt)) return;
    const bool unveraendert = !BOGEAENDERT();
    const QStringList vorher = ZUSTANDSDATEIEN(kAenderungsvermerke);
    std::optional<ENTSCHEIDUNG> keine;
    QStringList uebernommen;
    if (!ZUSAMMENFUEHREN(eh, QString(), keine, uebernommen, false)) return;
    // A copy without changes of its own is now what the project is: the
    // marks of the join's writes go, and the project's digest is its base.
    if (unveraendert) {
        QStringList neu = ZUSTANDSDATEIEN(kAenderungsvermerke);
        for (const QString& alt : vorher) neu.removeAll(alt);
        ZUSTANDGESPEICHERT(neu);
        PROJEKTABDRUECKESETZEN({*jetzt});
    }
    if (uebernommen.isEmpty()) return;
    const QString zeile =
        (m_dialog.SPRACHE() == 1 ? QStringLiteral("Taken from others: ")
                                 : QString::fromUtf8("Von anderen übernommen: ")) +
        uebernommen.join(QStringLiteral(", "));
    m_dialog.HINWEISEN(zeile, zeile);
}
