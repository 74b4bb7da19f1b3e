#pragma once

// The windows' layouts are given in twips (1440 to the inch); the screen
// counts pixels. The conversion takes the logical resolution of the widget's
// screen (96 dots per inch, 15 twips to the pixel, when there is none).

class QRect;
class QWidget;

double TWIPSJEPIXEL(const QWidget* widget = nullptr);
int PIXEL(double twips, const QWidget* widget = nullptr);
double TWIPS(int pixel, const QWidget* widget = nullptr);

// A control's Move: places the widget in its parent at left, top and gives it
// a width and height, all in twips; a negative one takes its natural size.
void MoveTwips(QWidget* widget, double left, double top, double width = -1, double height = -1);

// A place given in twips (left, top, width, height) as pixels of the widget's
// screen.
QRect PIXELRECHTECK(double left, double top, double width, double height,
                    const QWidget* widget = nullptr);
