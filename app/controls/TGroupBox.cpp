#include "app/controls/TGroupBox.h"

#include <QStyleOptionGroupBox>
#include <QStylePainter>

namespace krn310 {

TGroupBox::TGroupBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

void TGroupBox::SetCaptionColor(const QColor& color)
{
    captionColor_ = color;
    update();
}

void TGroupBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    if (captionColor_.isValid() && isEnabled())
        option.textColor = captionColor_;
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
}

} // namespace krn310
