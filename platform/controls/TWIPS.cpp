#include "platform/controls/TWIPS.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <cmath>

double TWIPSJEPIXEL(const QWidget* widget) {
    double dpi = 0;
    if (widget) dpi = widget->logicalDpiX();
    if (dpi <= 0 && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            dpi = screen->logicalDotsPerInchX();
    if (dpi <= 0) dpi = 96;
    return 1440.0 / dpi;
}

int PIXEL(double twips, const QWidget* widget) {
    return int(std::lround(twips / TWIPSJEPIXEL(widget)));
}

double TWIPS(int pixel, const QWidget* widget) {
    return pixel * TWIPSJEPIXEL(widget);
}

void MoveTwips(QWidget* widget, double left, double top, double width, double height) {
    widget->move(PIXEL(left, widget), PIXEL(top, widget));
    const QSize natuerlich = widget->sizeHint();
    widget->resize(width >= 0 ? PIXEL(width, widget) : natuerlich.width(),
                   height >= 0 ? PIXEL(height, widget) : natuerlich.height());
}

QRect PIXELRECHTECK(double left, double top, double width, double height, const QWidget* widget) {
    return QRect(PIXEL(left, widget), PIXEL(top, widget), PIXEL(width, widget),
                 PIXEL(height, widget));
}
