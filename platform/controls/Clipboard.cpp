#include "platform/controls/Clipboard.h"
#include "platform/runtime/System.h"

#include "platform/runtime/RuntimeError.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLocale>
#include <QPixmap>
#include <QWidget>

namespace {

RuntimeError Fehler(int nummer, const QString& deutsch, const QString& englisch) {
    return RuntimeError(nummer, GermanTexts() ? deutsch : englisch);
}

} // namespace

namespace Clipboard {

void Clear() {
    QGuiApplication::clipboard()->clear();
}

void SetImage(const QImage& image) {
    QGuiApplication::clipboard()->setImage(image);
}

QImage Image() {
    return QGuiApplication::clipboard()->image();
}

} // namespace Clipboard

void PrintScreen(QWidget* window) {
    if (!window) return;
    Clipboard::SetImage(window->grab().toImage());
}

void SavePicture(const QImage& image, const QString& path) {
    if (image.isNull())
        throw Fehler(481, QStringLiteral("Ungültiges Bild"), QStringLiteral("Invalid picture"));
    if (!image.save(path, "BMP"))
        throw Fehler(75, QStringLiteral("Fehler beim Zugriff auf Pfad/Datei"),
                     QStringLiteral("Path/File access error"));
}
