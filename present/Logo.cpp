#include "Logo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

QPixmap quendraLogo(int height)
{
    QPixmap logo(height, height);
    logo.fill(Qt::transparent);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(0, 0, 0, height);
    shade.setColorAt(0, QColor(40, 70, 160));
    shade.setColorAt(1, QColor(0, 0, 90));
    painter.setBrush(shade);
    painter.setPen(QPen(QColor(200, 160, 40), qMax(1, height / 24)));
    const qreal inset = qMax(1, height / 24);
    painter.drawRoundedRect(QRectF(inset, inset, height - 2 * inset, height - 2 * inset),
                            height / 5.0, height / 5.0);
    QFont font(QStringLiteral("Serif"));
    font.setBold(true);
    font.setPixelSize(height * 2 / 3);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(logo.rect(), Qt::AlignCenter, QStringLiteral("Q"));
    return logo;
}
