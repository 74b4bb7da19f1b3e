#include "arbeitskopie/TAETIGKEIT.h"

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>
#include <cerrno>
#include <csignal>
#include <filesystem>

namespace TAETIGKEIT {
namespace {

const char* const kArten[] = {"FRAGE", "KOMPRIMIEREN", "START"};

// The file this process wrote last.
QString g_datei;

QString datei(const QString& zustand) {
    return zustand + QStringLiteral("/VELD.taetigkeit");
}

// Who writes: this machine and this process.
QByteArray wer() {
    return QSysInfo::machineHostName().toUtf8().replace(' ', '_') + ' ' +
           QByteArray::number(QCoreApplication::applicationPid());
}

QByteArray lesen(const QString& pfad) {
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly)) return QByteArray();
    return datei.read(200).trimmed();
}

bool lebt(const QByteArray& rechner, qint64 prozess) {
    // A process of another machine cannot be asked; it counts as live.
    if (rechner != QSysInfo::machineHostName().toUtf8().replace(' ', '_')) return true;
    return prozess > 0 && (::kill(pid_t(prozess), 0) == 0 || errno == EPERM);
}

} // namespace

void MELDEN(const QString& zustand, ART art) {
    if (zustand.isEmpty()) return;
    // Written beside and renamed into place: a reader gets it whole or not.
    const QString ziel = datei(zustand);
    const QString neu =
        ziel + QStringLiteral(".") + QString::number(QCoreApplication::applicationPid());
    QFile schreiben(neu);
    const QByteArray inhalt = QByteArray(kArten[art]) + ' ' + wer() + '\n';
    const bool geschrieben = schreiben.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                             schreiben.write(inhalt) == inhalt.size() && schreiben.flush();
    schreiben.close();
    std::error_code fehler;
    if (geschrieben)
        std::filesystem::rename(QFile::encodeName(neu).toStdString(),
                                QFile::encodeName(ziel).toStdString(), fehler);
    // Only what a waiting run shows is lost when it cannot be written.
    if (!geschrieben || fehler)
        QFile::remove(neu);
    else
        g_datei = ziel;
}

void BEENDEN() {
    if (g_datei.isEmpty()) return;
    const QList<QByteArray> teile = lesen(g_datei).split(' ');
    if (teile.size() == 3 && teile.at(1) + ' ' + teile.at(2) == wer()) QFile::remove(g_datei);
    g_datei.clear();
}

QString LESEN(const QString& zustand, int sprache) {
    if (zustand.isEmpty()) return QString();
    const QList<QByteArray> teile = lesen(datei(zustand)).split(' ');
    if (teile.size() != 3 || teile.at(1) + ' ' + teile.at(2) == wer() ||
        !lebt(teile.at(1), teile.at(2).toLongLong()))
        return QString();
    const bool englisch = sprache == 1;
    if (teile.at(0) == kArten[FRAGE])
        return englisch ? QStringLiteral("Another run of VELD asks whether the changes in the "
                                         "working copy are to be saved.")
                        : QString::fromUtf8("Ein anderer Lauf von VELD fragt, ob die Änderungen "
                                            "in der Arbeitskopie gespeichert werden sollen.");
    if (teile.at(0) == kArten[KOMPRIMIEREN])
        return englisch ? QStringLiteral("Another run of VELD compacts the working copy.")
                        : QStringLiteral("Ein anderer Lauf von VELD komprimiert die Arbeitskopie.");
    if (teile.at(0) == kArten[START])
        return englisch ? QStringLiteral("Another run of VELD is starting and decides about the "
                                         "working copy.")
                        : QString::fromUtf8("Ein anderer Lauf von VELD startet und entscheidet "
                                            "über die Arbeitskopie.");
    return QString();
}

} // namespace TAETIGKEIT
