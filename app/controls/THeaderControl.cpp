#include "app/controls/THeaderControl.h"

#include "app/controls/ControlEvent.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionHeader>

namespace krn310 {

THeaderControl::THeaderControl(QWidget* parent) : QWidget(parent) {}

void THeaderControl::SetImages(const TImageList* images)
{
    images_ = images;
    update();
}

int THeaderControl::AddSection(const QString& text, int imageIndex, int width)
{
    sections_.push_back({text, imageIndex, width});
    update();
    return SectionCount() - 1;
}

QString THeaderControl::SectionText(int index) const
{
    return Valid(index) ? sections_[static_cast<size_t>(index)].text : QString();
}

int THeaderControl::SectionImageIndex(int index) const
{
    return Valid(index) ? sections_[static_cast<size_t>(index)].imageIndex : -1;
}

int THeaderControl::SectionWidth(int index) const
{
    return Valid(index) ? sections_[static_cast<size_t>(index)].width : 0;
}

void THeaderControl::SetSectionText(int index, const QString& text)
{
    if (!Valid(index))
        return;
    sections_[static_cast<size_t>(index)].text = text;
    update();
}

void THeaderControl::SetSectionImageIndex(int index, int imageIndex)
{
    if (!Valid(index))
        return;
    sections_[static_cast<size_t>(index)].imageIndex = imageIndex;
    update();
}

QRect THeaderControl::SectionRect(int index) const
{
    int left = 0;
    for (int i = 0; i < index && i < SectionCount(); ++i)
        left += sections_[static_cast<size_t>(i)].width;
    return QRect(left, 0, SectionWidth(index), height());
}

int THeaderControl::SectionAt(const QPoint& pos) const
{
    for (int i = 0; i < SectionCount(); ++i) {
        if (SectionRect(i).contains(pos))
            return i;
    }
    return -1;
}

void THeaderControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionHeader empty;
    empty.initFrom(this);
    empty.rect = rect();
    style()->drawControl(QStyle::CE_HeaderEmptyArea, &empty, &painter, this);

    for (int i = 0; i < SectionCount(); ++i) {
        QStyleOptionHeader option;
        option.initFrom(this);
        option.rect = SectionRect(i);
        option.section = i;
        option.orientation = Qt::Horizontal;
        option.position = SectionCount() == 1 ? QStyleOptionHeader::OnlyOneSection : QStyleOptionHeader::Middle;
        option.text = sections_[static_cast<size_t>(i)].text;
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.iconAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        if (images_) {
            const QPixmap image = images_->Image(sections_[static_cast<size_t>(i)].imageIndex);
            if (!image.isNull())
                option.icon = QIcon(image);
        }
        const bool down = i == pressed_ && pressedInside_;
        option.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawControl(QStyle::CE_Header, &option, &painter, this);
    }
}

void THeaderControl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = SectionAt(event->position().toPoint());
    pressedInside_ = pressed_ >= 0;
    update();
}

void THeaderControl::mouseMoveEvent(QMouseEvent* event)
{
    if (pressed_ < 0)
        return;
    const bool inside = SectionRect(pressed_).contains(event->position().toPoint());
    if (inside != pressedInside_) {
        pressedInside_ = inside;
        update();
    }
}

void THeaderControl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || pressed_ < 0)
        return;
    const int section = pressed_;
    const bool clicked = SectionRect(section).contains(event->position().toPoint());
    pressed_ = -1;
    pressedInside_ = false;
    update();
    if (clicked)
        RaiseEvent(OnSectionClick, section);
}

} // namespace krn310
