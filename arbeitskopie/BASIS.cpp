#include "arbeitskopie/BASIS.h"

#include <QFile>
#include <QSaveFile>

QString BASIS::DATEI(const QString& zustandsordner) {
    return zustandsordner + QStringLiteral("/basis");
}

bool BASIS::SCHREIBEN(const QString& datei, const DATENSATZSTAENDE& staende) {
    // QSaveFile writes beside the file, flushes it to the disk and renames it
    // over the old one only when everything was written.
    QSaveFile datei_(datei);
    if (!datei_.open(QIODevice::WriteOnly)) return false;
    const QByteArray text = staende.TEXT();
    if (datei_.write(text) != text.size()) {
        datei_.cancelWriting();
        return false;
    }
    return datei_.commit();
}

std::optional<DATENSATZSTAENDE> BASIS::LESEN(const QString& datei) {
    QFile f(datei);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return DATENSATZSTAENDE::AUSTEXT(f.readAll());
}
