#include "arbeitskopie/KOPIEDATEIEN.h"

#include "arbeitskopie/LAEUFE.h"
#include "arbeitskopie/PROJEKTABDRUCK.h"
#include "platform/database/DatabaseError.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/System.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace KOPIEDATEIEN {

std::filesystem::path FSPFAD(const QString& pfad) {
    return std::filesystem::path(QFile::encodeName(pfad).toStdString());
}

bool DIESELBEDATEI(const QString& a, const QString& b) {
    const QFileInfo x(a), y(b);
    if (x.exists() && y.exists()) return x.canonicalFilePath() == y.canonicalFilePath();
    return QDir::cleanPath(x.absoluteFilePath()) == QDir::cleanPath(y.absoluteFilePath());
}

namespace {
// Why a file beside the copy could not be made (errno of the attempt), told
// as what it is: a full disk or a missing folder is no fault of the file
// access.
[[noreturn]] void nichtAngelegt(const QString& ziel) {
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
            70,
            GermanTexts()
                ? QString::fromUtf8("In den Ordner %1 darf nicht geschrieben werden.").arg(ordner)
                : QStringLiteral("The folder %1 cannot be written.").arg(ordner));
    default:
        throw DatabaseError::IoFailureError(QDir::toNativeSeparators(ziel));
    }
}

QString name(const QString& arbeitskopie, const QString& zusatz, int n) {
    return QFileInfo(arbeitskopie).path() + QStringLiteral("/VELD_") + zusatz +
           (n == 1 ? QString() : QLatin1Char('_') + QString::number(n)) + QStringLiteral(".mdb");
}

// Makes the file, unless it is there; false when it is.
bool anlegen(const QString& datei) {
    const int fd =
        ::open(QFile::encodeName(datei).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    if (errno == EEXIST) return false;
    nichtAngelegt(datei);
}
} // namespace

QString FREIERNAME(const QString& arbeitskopie, const QString& zusatz) {
    // The name is taken by making the file, so that two runs never take one.
    for (int n = 1;; ++n) {
        const QString ziel = name(arbeitskopie, zusatz, n);
        if (anlegen(ziel)) return ziel;
    }
}

QString NAMEVORMERKEN(const QString& arbeitskopie, const QString& zusatz) {
    for (int n = 1;; ++n) {
        const QString ziel = name(arbeitskopie, zusatz, n);
        if (QFileInfo::exists(ziel) || !anlegen(ziel + kNeu)) continue;
        // Another run may have put its file in place between the look and
        // the making: the name is its own then.
        if (!QFileInfo::exists(ziel)) return ziel;
        QFile::remove(ziel + kNeu);
    }
}

QString KOPIEBEISEITELEGEN(const QString& arbeitskopie, const QString& zusatz) {
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

QString BEISEITELEGEN(const QString& datei, const QString& kopie, const QString& zusatz) {
    const QString ziel = FREIERNAME(kopie, zusatz);
    try {
        std::filesystem::rename(FSPFAD(datei), FSPFAD(ziel));
    } catch (...) {
        QFile::remove(ziel);
        throw DatabaseError::IoFailureError(QDir::toNativeSeparators(datei));
    }
    return ziel;
}

void BELEGTUMBENENNEN(const QString& neu, const QString& ziel, FileLock& anteil) {
    FileLock neuer(LAEUFE::kAnteilsbyte);
    const bool belegt = neuer.OpenPresent(neu) && neuer.Shared();
    std::filesystem::rename(FSPFAD(neu), FSPFAD(ziel));
    if (belegt) {
        neuer.Moved(ziel);
        anteil = std::move(neuer);
    } else {
        anteil.Release();
    }
}

QString AUFZAEHLUNG(int sprache, const QStringList& kennungen, int hoechstens) {
    QString text = kennungen.mid(0, hoechstens).join(QStringLiteral(", "));
    if (kennungen.size() > hoechstens)
        text += (sprache == 1 ? QStringLiteral(" and %1 more") : QStringLiteral(" und %1 weitere"))
                    .arg(kennungen.size() - hoechstens);
    return text;
}

QString MEHRFACHNAME(int sprache) {
    return sprache == 1 ? QStringLiteral("the multiple evaluation")
                        : QStringLiteral("die Mehrfachauswertung");
}

QString OHNEKENNUNGNAME(int sprache) {
    return sprache == 1 ? QStringLiteral("(a test without identifier)")
                        : QStringLiteral("(ein Versuch ohne Kennung)");
}

} // namespace KOPIEDATEIEN
