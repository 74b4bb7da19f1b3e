// Writes the empty project database VELD.mdb that lies beside the program:
// veld_maketemplate <output path>. The file is written under a temporary
// name and renamed into place, so an earlier template is replaced whole.

#include "data/SCHEMA.h"
#include "platform/runtime/RuntimeError.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: veld_maketemplate <output path>\n");
        return 2;
    }
    const QString ziel = QFile::decodeName(argv[1]);
    const QString neu = ziel + QStringLiteral(".neu");
    try {
        QFile::remove(neu);
        PROJEKTDATENBANKANLEGEN(neu);
        std::filesystem::rename(std::filesystem::path(argv[1]).concat(".neu"),
                                std::filesystem::path(argv[1]));
    } catch (const RuntimeError& fehler) {
        QFile::remove(neu);
        std::fprintf(stderr, "veld_maketemplate: %s (%d)\n",
                     fehler.Description().toLocal8Bit().constData(), fehler.Number());
        return 1;
    } catch (const std::exception& fehler) {
        QFile::remove(neu);
        std::fprintf(stderr, "veld_maketemplate: %s\n", fehler.what());
        return 1;
    }
    return 0;
}
