#include "app/controls/TCheckBox.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace krn310 {

TCheckBox::TCheckBox(QWidget* parent) : QCheckBox(parent) {}

void TCheckBox::SetCaptionOnLeft(bool onLeft)
{
    captionOnLeft_ = onLeft;
    update();
}

void TCheckBox::paintEvent(QPaintEvent* event)
{
    if (!captionOnLeft_) {
        QCheckBox::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);

    QRect box = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    box.moveRight(rect().right());
    QStyleOptionButton boxOption = option;
    boxOption.rect = box;
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, boxOption);

    const QRect captionRect(0, 0, box.left() - 4, height());
    painter.drawItemText(captionRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, palette(),
                         isEnabled(), text(), QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = painter.boundingRect(captionRect, Qt::AlignLeft | Qt::AlignVCenter, text()).adjusted(-1, 0, 1, 0);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool TCheckBox::hitButton(const QPoint& pos) const
{
    return captionOnLeft_ ? rect().contains(pos) : QCheckBox::hitButton(pos);
}

} // namespace krn310
