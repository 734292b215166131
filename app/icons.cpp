// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>
#include <functional>

namespace zifrax {

namespace {

// Pictures are drawn on a 32 × 32 canvas and scaled for every size asked for.
using Drawing = std::function<void(QPainter&)>;

QImage imageFrom(const Drawing& draw, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    draw(painter);
    return image;
}

QIcon iconFrom(const Drawing& draw)
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(imageFrom(draw, size)));
    return icon;
}

void drawSmiley(QPainter& p)
{
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(255, 221, 0));
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(10, 10, 3.5, 5));
    p.drawEllipse(QRectF(18.5, 10, 3.5, 5));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(8, 8, 16, 15), -20 * 16, -140 * 16);
}

void drawLightBulb(QPainter& p)
{
    // Rays around the lit glass, then the glass, then the screw base.
    p.setPen(QPen(QColor(255, 170, 0), 1.5, Qt::SolidLine, Qt::RoundCap));
    const QPointF centre(16, 12);
    for (int i = 0; i < 8; ++i) {
        const double angle = qDegreesToRadians(-90.0 + i * 45.0 - 22.5);
        if (qSin(angle) > 0.5)
            continue;  // no rays into the base
        p.drawLine(centre + QPointF(qCos(angle) * 11.5, qSin(angle) * 11.5),
                   centre + QPointF(qCos(angle) * 15, qSin(angle) * 15));
    }
    QPainterPath glass;
    glass.moveTo(12, 22);
    glass.cubicTo(12, 18, 7, 16, 7, 11);
    glass.arcTo(QRectF(7, 2, 18, 18), 180, -180);
    glass.cubicTo(25, 16, 20, 18, 20, 22);
    glass.closeSubpath();
    p.setPen(QPen(QColor(140, 110, 0), 1));
    p.setBrush(QColor(255, 240, 80));
    p.drawPath(glass);
    p.setPen(QPen(QColor(70, 70, 70), 1));
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(QRectF(12, 22, 8, 6));
    p.drawLine(QPointF(12, 24), QPointF(20, 24));
    p.drawLine(QPointF(12, 26), QPointF(20, 26));
    p.setBrush(QColor(70, 70, 70));
    p.drawRect(QRectF(14, 28, 4, 2));
}

void drawStopSign(QPainter& p)
{
    QPolygonF octagon;
    for (int i = 0; i < 8; ++i) {
        const double angle = qDegreesToRadians(22.5 + i * 45.0);
        octagon << QPointF(16 + 15 * qCos(angle), 16 + 15 * qSin(angle));
    }
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(QColor(204, 0, 0));
    p.drawPolygon(octagon);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(9);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, QStringLiteral("STOP"));
}

}  // namespace

QIcon smileyIcon() { return iconFrom(drawSmiley); }
QImage smileyImage(int size) { return imageFrom(drawSmiley, size); }
QIcon lightBulbIcon() { return iconFrom(drawLightBulb); }
QIcon stopSignIcon() { return iconFrom(drawStopSign); }

}  // namespace zifrax
