#include "arbeitskopie/PROJEKTVERLAUF.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QStringList>
#include <algorithm>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace PROJEKTVERLAUF {
namespace {

// Each entry ends with a digest of the rest of its line: an entry cut
// short (a write broken off on a network share), with a changed name or
// edited is no entry and breaks the chain, and the join reads the project
// whole. Files of the first kind had none; their entries count as none.
const QByteArray kKopf = QByteArrayLiteral("VELD-VERLAUF 2");

QByteArray pruefsumme(const QByteArray& rest) {
    return QCryptographicHash::hash(rest, QCryptographicHash::Blake2b_256).toHex().left(32);
}
// The entries kept: a copy whose base is older than the oldest is joined by
// reading the project whole.
constexpr int kEintraege = 200;
// ...and at most so many bytes of them: Saves of many tests each (an import)
// would make every join read long lines.
constexpr qsizetype kGroesse = 1 << 20;

struct EINTRAG {
    QString von, nach;
    QByteArray zeile;
};

std::vector<EINTRAG> lesen(const QString& datei) {
    QFile f(datei);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QList<QByteArray> zeilen = f.readAll().split('\n');
    if (zeilen.isEmpty() || zeilen.front() != kKopf) return {};
    std::vector<EINTRAG> eintraege;
    for (qsizetype i = 1; i < zeilen.size(); ++i) {
        const QList<QByteArray> teile = zeilen[i].split(' ');
        if (teile.size() != 4) continue;
        const QByteArray rest = teile[0] + ' ' + teile[1] + ' ' + teile[2];
        if (pruefsumme(rest) != teile[3]) continue;
        const DatabaseMark von = DatabaseMark::FromText(QString::fromLatin1(teile[0]));
        const DatabaseMark nach = DatabaseMark::FromText(QString::fromLatin1(teile[1]));
        if (!von.known || !nach.known) continue;
        eintraege.push_back({von.ToText(), nach.ToText(), zeilen[i]});
    }
    return eintraege;
}

QSet<QString> schluessel(const EINTRAG& eintrag) {
    QSet<QString> ergebnis;
    const QByteArray liste = eintrag.zeile.split(' ').value(2);
    for (const QByteArray& teil : liste.split(','))
        if (teil != "-") ergebnis.insert(QString::fromUtf8(QByteArray::fromBase64(teil)));
    return ergebnis;
}

std::filesystem::path fsPfad(const QString& pfad) {
    return std::filesystem::path(QFile::encodeName(pfad).toStdString());
}

} // namespace

QString DATEI(const QString& projektdatenbank) {
    const QFileInfo info(projektdatenbank);
    return info.absolutePath() + QLatin1Char('/') + info.completeBaseName() +
           QStringLiteral(".verlauf");
}

void EINTRAGEN(const QString& projektdatenbank, const DatabaseMark& von, const DatabaseMark& nach,
               const QSet<QString>& schluessel) {
    if (!von.known || !nach.known) return;
    const QString datei = DATEI(projektdatenbank);
    std::vector<EINTRAG> eintraege = lesen(datei);
    QByteArrayList teile;
    for (const QString& s : schluessel)
        teile << s.toUtf8().toBase64();
    std::sort(teile.begin(), teile.end());
    // A Save that changed no record still says so: "-".
    const QByteArray rest = von.ToText().toLatin1() + ' ' + nach.ToText().toLatin1() + ' ' +
                            (teile.isEmpty() ? QByteArray("-") : teile.join(','));
    eintraege.push_back({von.ToText(), nach.ToText(), rest + ' ' + pruefsumme(rest)});
    // The newest first, as many as the limits let in (the newest always).
    size_t anfang = eintraege.size() - 1;
    qsizetype groesse = eintraege.back().zeile.size();
    while (anfang > 0 && eintraege.size() - anfang < size_t(kEintraege) &&
           groesse + eintraege[anfang - 1].zeile.size() <= kGroesse)
        groesse += eintraege[--anfang].zeile.size();
    QByteArray inhalt = kKopf + '\n';
    for (size_t i = anfang; i < eintraege.size(); ++i)
        inhalt += eintraege[i].zeile + '\n';
    const QString neu = TemporaryPathBeside(datei);
    QFile schreiben(neu);
    // On the disk before it takes the place of the one before.
    const bool geschrieben = schreiben.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                             schreiben.write(inhalt) == inhalt.size() && schreiben.flush() &&
                             ::fsync(schreiben.handle()) == 0;
    schreiben.close();
    std::error_code fehler;
    if (geschrieben) {
        if (QFileInfo::exists(datei)) QFile::setPermissions(neu, QFile::permissions(datei));
        std::filesystem::rename(fsPfad(neu), fsPfad(datei), fehler);
    }
    if (!geschrieben || fehler) QFile::remove(neu);
}

std::optional<QSet<QString>> GEAENDERT(const QString& projektdatenbank, const DatabaseMark& von,
                                       const DatabaseMark& nach) {
    if (!von.known || !nach.known) return std::nullopt;
    if (von.Same(nach)) return QSet<QString>();
    const std::vector<EINTRAG> eintraege = lesen(DATEI(projektdatenbank));
    // Back from the content now to the base's, each content once: the
    // entry by which it was first reached is its way back.
    QHash<QString, size_t> weg;
    QStringList offen{nach.ToText()};
    const QString ziel = von.ToText();
    while (!offen.isEmpty() && !weg.contains(ziel)) {
        const QString inhalt = offen.takeFirst();
        for (size_t i = eintraege.size(); i-- > 0;) {
            const EINTRAG& e = eintraege[i];
            if (e.nach != inhalt || weg.contains(e.von) || e.von == nach.ToText()) continue;
            weg.insert(e.von, i);
            offen << e.von;
        }
    }
    if (!weg.contains(ziel)) return std::nullopt;
    QSet<QString> geaendert;
    for (QString inhalt = ziel; inhalt != nach.ToText();) {
        const EINTRAG& e = eintraege[weg.value(inhalt)];
        geaendert.unite(schluessel(e));
        inhalt = e.nach;
    }
    return geaendert;
}

bool BEKANNT(const QString& projektdatenbank, const DatabaseMark& inhalt) {
    if (!inhalt.known) return false;
    const QString text = inhalt.ToText();
    for (const EINTRAG& e : lesen(DATEI(projektdatenbank)))
        if (e.von == text || e.nach == text) return true;
    return false;
}

} // namespace PROJEKTVERLAUF
