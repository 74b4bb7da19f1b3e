#include "arbeitskopie/PROJEKTABDRUCK.h"

#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <filesystem>

namespace PROJEKTABDRUCK {
namespace {
std::filesystem::path fsPfad(const QString& pfad) {
    return std::filesystem::path(QFile::encodeName(pfad).toStdString());
}

QStringList zeilen(const QString& datei) {
    QFile lesen(datei);
    if (!lesen.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    return QString::fromUtf8(lesen.readAll()).split(QLatin1Char('\n'));
}
} // namespace

// A copy put aside is never named after garbage.
const QString FREMD = QStringLiteral("fremd");

QString HERKUNFTSDATEI(const QString& arbeitskopie) {
    return QFileInfo(arbeitskopie).path() + QStringLiteral("/VELD.projekt");
}

QString HERKUNFT(const QString& datei) {
    return zeilen(datei).value(0).trimmed();
}

QList<DatabaseMark> ABDRUECKE(const QString& datei) {
    return DatabaseMark::ListFromText(zeilen(datei).value(1));
}

QString GLEICHNAMIG(const QString& pfad) {
    return QDir::cleanPath(QFileInfo(pfad).absoluteFilePath());
}

QString PROJEKTNAME(const QString& herkunft) {
    // A line that names no project database (the file garbled or written by
    // something else) gives FREMD.
    const QFileInfo datei(herkunft);
    const QString name = datei.dir().dirName();
    const bool zulaessig = !name.isEmpty() && name.size() <= 64 &&
                           name.front().isLetterOrNumber() &&
                           std::all_of(name.begin(), name.end(), [](QChar c) {
                               return c.isLetterOrNumber() || QStringLiteral(" ._-+()").contains(c);
                           });
    if (!datei.isAbsolute() || datei.fileName() != QStringLiteral("VELD.mdb") || !zulaessig)
        return FREMD;
    return name;
}

void SCHREIBEN(const QString& datei, const QString& projektdatenbank,
               const QList<DatabaseMark>& abdruecke) {
    // A file that is missing only makes the next start ask its question.
    const QString neu = datei + QStringLiteral(".neu");
    QFile schreiben(neu);
    const QByteArray inhalt = (GLEICHNAMIG(projektdatenbank) + QLatin1Char('\n') +
                               DatabaseMark::ListToText(abdruecke) + QLatin1Char('\n'))
                                  .toUtf8();
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

} // namespace PROJEKTABDRUCK
