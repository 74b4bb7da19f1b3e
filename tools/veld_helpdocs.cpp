// Writes a document beside the program as an ODF text document from its
// HTML source: veld_helpdocs <source.html> <target>. The readme VELD.doc and
// the notes VELD_H.doc keep their names; the desktop's word processor opens
// them by their content. The target is written under a temporary name and
// renamed into place.

#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <cstdio>

int main(int argc, char** argv) {
    // Laying out a text document needs fonts, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: veld_helpdocs <source.html> <target>\n");
        return 2;
    }
    const QString quelle = QFile::decodeName(argv[1]);
    const QString ziel = QFile::decodeName(argv[2]);
    QFile lesen(quelle);
    if (!lesen.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "veld_helpdocs: cannot read %s\n", argv[1]);
        return 1;
    }
    QTextDocument dokument;
    dokument.setHtml(QString::fromUtf8(lesen.readAll()));
    const QString neu = ziel + QStringLiteral(".neu");
    QFile::remove(neu);
    QTextDocumentWriter schreiber(neu, "odf");
    if (!schreiber.write(&dokument)) {
        QFile::remove(neu);
        std::fprintf(stderr, "veld_helpdocs: cannot write %s\n", argv[2]);
        return 1;
    }
    QFile::remove(ziel);
    if (!QFile::rename(neu, ziel)) {
        QFile::remove(neu);
        std::fprintf(stderr, "veld_helpdocs: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
