#include "shell/BILDER.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

QPixmap VERLAGSLOGO(int hoehe) {
    hoehe = std::max(hoehe, 8);
    QPixmap bild(hoehe, hoehe);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF rand(1, 1, hoehe - 2, hoehe - 2);
    p.setPen(QPen(QColor(20, 70, 40), std::max(1.0, hoehe / 30.0)));
    p.setBrush(QColor(225, 236, 214));
    p.drawRoundedRect(rand, hoehe / 8.0, hoehe / 8.0);
    // Three soil layers under the initials.
    const QColor schichten[] = {QColor(150, 110, 60), QColor(120, 85, 45), QColor(90, 60, 30)};
    for (int i = 0; i < 3; ++i) {
        const double oben = hoehe * (0.62 + i * 0.1);
        p.fillRect(QRectF(hoehe * 0.12, oben, hoehe * 0.76, hoehe * 0.08), schichten[i]);
    }
    QFont schrift(QStringLiteral("Arial"));
    schrift.setBold(true);
    schrift.setPixelSize(std::max(4, int(hoehe * 0.38)));
    p.setFont(schrift);
    p.setPen(QColor(20, 70, 40));
    p.drawText(QRectF(0, hoehe * 0.1, hoehe, hoehe * 0.5), Qt::AlignCenter, QStringLiteral("BH"));
    return bild;
}

QPixmap GERAETEBILD(int breite, int hoehe) {
    breite = std::max(breite, 20);
    hoehe = std::max(hoehe, 20);
    QPixmap bild(breite, hoehe);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 80), 2));
    const double w = breite, h = hoehe;
    // The vessel with the filter plate and the sample on it.
    const QRectF gefaess(w * 0.08, h * 0.35, w * 0.34, h * 0.35);
    p.setBrush(QColor(200, 225, 245));
    p.drawRect(gefaess);
    p.fillRect(QRectF(gefaess.left() + 2, gefaess.top() - h * 0.06, gefaess.width() - 4, h * 0.06),
               QColor(150, 110, 60));
    p.drawLine(QPointF(gefaess.left(), gefaess.top()), QPointF(gefaess.right(), gefaess.top()));
    // The tube to the pipette and the graduated pipette lying level.
    QPainterPath rohr;
    rohr.moveTo(gefaess.center().x(), gefaess.bottom());
    rohr.lineTo(gefaess.center().x(), h * 0.85);
    rohr.lineTo(w * 0.55, h * 0.85);
    rohr.lineTo(w * 0.55, h * 0.62);
    p.setBrush(Qt::NoBrush);
    p.drawPath(rohr);
    const QRectF pipette(w * 0.55, h * 0.58, w * 0.4, h * 0.08);
    p.setBrush(QColor(200, 225, 245));
    p.drawRect(pipette);
    p.fillRect(
        QRectF(pipette.left() + 1, pipette.top() + 1, pipette.width() * 0.6, pipette.height() - 2),
        QColor(90, 150, 210));
    p.setPen(QPen(QColor(60, 60, 80), 1));
    for (int i = 1; i < 10; ++i) {
        const double x = pipette.left() + pipette.width() * i / 10.0;
        p.drawLine(QPointF(x, pipette.top()),
                   QPointF(x, pipette.top() + pipette.height() * (i % 5 ? 0.35 : 0.6)));
    }
    return bild;
}
