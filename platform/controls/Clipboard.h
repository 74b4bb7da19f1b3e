#pragma once

// The clipboard's pictures, and the screenshot that the print-screen key
// takes: the picture of a window onto the clipboard.

#include <QImage>
#include <QString>

class QWidget;

namespace Clipboard {

void Clear();
void SetImage(const QImage& image);
// The clipboard's picture; a null image when it holds none.
QImage Image();

} // namespace Clipboard

// Puts the picture of a window, as it is on the screen, on the clipboard.
void PrintScreen(QWidget* window);

// Saves a picture as a Windows bitmap (.bmp); raises runtime error 75 when
// the file cannot be written and 481 for a null picture.
void SavePicture(const QImage& image, const QString& path);
