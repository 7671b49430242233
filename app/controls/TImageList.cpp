#include "app/controls/TImageList.h"

#include <QPainter>
#include <QRadialGradient>

namespace krn310 {

QPixmap TImageList::Image(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    return images_[static_cast<size_t>(index)];
}

QPixmap DrawLamp(const QColor& color, int size)
{
    QPixmap lamp(size, size);
    lamp.fill(Qt::transparent);
    QPainter painter(&lamp);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF body(1.5, 1.5, size - 3.0, size - 3.0);
    // A highlight up and to the left makes the disc read as a lamp.
    QRadialGradient glow(body.center() - QPointF(size / 6.0, size / 6.0), size / 1.6);
    glow.setColorAt(0.0, color.lighter(190));
    glow.setColorAt(0.5, color);
    glow.setColorAt(1.0, color.darker(170));
    painter.setBrush(glow);
    painter.setPen(QPen(color.darker(250), 1.0));
    painter.drawEllipse(body);
    return lamp;
}

} // namespace krn310
