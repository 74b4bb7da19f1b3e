#include "support/KINDPROZESS.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <algorithm>
#include <map>
#include <string>

namespace {
std::map<std::string, KINDPROZESS::FUNKTION>& verzeichnis() {
    static std::map<std::string, KINDPROZESS::FUNKTION> funktionen;
    return funktionen;
}
} // namespace

KINDPROZESS::KINDPROZESS(const char* name, FUNKTION funktion) {
    verzeichnis()[name] = funktion;
}

bool KINDPROZESS::ISTKIND(int argc, char** argv) {
    return argc >= 3 && std::string(argv[1]) == "--kind";
}

int KINDPROZESS::AUSFUEHREN(int argc, char** argv) {
    const auto funktion = verzeichnis().find(argv[2]);
    if (funktion == verzeichnis().end()) return 125;
    QStringList argumente;
    for (int i = 3; i < argc; ++i)
        argumente << QString::fromLocal8Bit(argv[i]);
    return funktion->second(argumente);
}

void KINDPROZESS::STARTEN(QProcess& prozess, const QString& name, const QStringList& argumente) {
    prozess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    prozess.start(QCoreApplication::applicationFilePath(),
                  QStringList{QStringLiteral("--kind"), name} + argumente);
    prozess.waitForStarted();
}

QString KINDPROZESS::ZEILE(QProcess& prozess, int millisekunden) {
    const QDeadlineTimer frist(millisekunden);
    while (!prozess.canReadLine()) {
        if (prozess.state() == QProcess::NotRunning || frist.hasExpired()) return QString();
        prozess.waitForReadyRead(int(std::max<qint64>(1, frist.remainingTime())));
    }
    return QString::fromUtf8(prozess.readLine()).trimmed();
}

QString KINDPROZESS::BEFEHL(QProcess& prozess, const QString& zeile) {
    prozess.write((zeile + QLatin1Char('\n')).toUtf8());
    prozess.waitForBytesWritten();
    return ZEILE(prozess);
}
