#include "app/controls/TRadioGroup.h"

namespace krn310 {

namespace {

constexpr int kCaptionHeight = 14;
constexpr int kMargin = 8;

} // namespace

TRadioGroup::TRadioGroup(const QString& caption, QWidget* parent) : QGroupBox(caption, parent)
{
    buttons_.setExclusive(true);
}

void TRadioGroup::SetItems(const QStringList& items)
{
    for (QRadioButton* button : items_) {
        buttons_.removeButton(button);
        delete button;
    }
    items_.clear();
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items.at(i), this);
        buttons_.addButton(button, i);
        items_.push_back(button);
        button->show();
    }
    PlaceButtons();
}

QStringList TRadioGroup::Items() const
{
    QStringList items;
    for (const QRadioButton* button : items_)
        items << button->text();
    return items;
}

void TRadioGroup::SetItemIndex(int index)
{
    if (index >= 0 && index < static_cast<int>(items_.size())) {
        items_[static_cast<size_t>(index)]->setChecked(true);
        return;
    }
    // An exclusive group keeps one button checked; lift that while clearing.
    buttons_.setExclusive(false);
    for (QRadioButton* button : items_)
        button->setChecked(false);
    buttons_.setExclusive(true);
}

void TRadioGroup::resizeEvent(QResizeEvent* event)
{
    QGroupBox::resizeEvent(event);
    PlaceButtons();
}

void TRadioGroup::PlaceButtons()
{
    if (items_.empty())
        return;
    const int count = static_cast<int>(items_.size());
    const int rowHeight = (height() - kCaptionHeight - kMargin / 2) / count;
    for (int i = 0; i < count; ++i)
        items_[static_cast<size_t>(i)]->setGeometry(kMargin, kCaptionHeight + i * rowHeight, width() - 2 * kMargin,
                                                    rowHeight);
}

} // namespace krn310
