#include "app/controls/TPanel.h"

#include <QPainter>

namespace krn310 {

TPanel::TPanel(Bevel bevel, QWidget* parent) : QFrame(parent), bevel_(bevel)
{
    setFrameStyle(QFrame::Panel | (bevel == Bevel::Raised ? QFrame::Raised : QFrame::Sunken));
    setLineWidth(1);
}

TShape::TShape(QWidget* parent) : QWidget(parent) {}

void TShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace krn310
