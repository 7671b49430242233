#include "app/controls/TComboBox.h"

#include "app/controls/ControlEvent.h"

namespace krn310 {

TComboBox::TComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    connect(this, &QComboBox::activated, this, [this](int) { RaiseEvent(OnChange); });
}

void TComboBox::SetItemIndex(int index)
{
    setCurrentIndex(index >= 0 && index < count() ? index : -1);
}

void TComboBox::SetItems(const QStringList& items)
{
    clear();
    for (const QString& item : items)
        AddItem(item);
}

QStringList TComboBox::Items() const
{
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items << itemText(i);
    return items;
}

void TComboBox::AddItem(const QString& item)
{
    int at = count();
    if (sorted_) {
        at = 0;
        while (at < count() && QString::compare(itemText(at), item, Qt::CaseInsensitive) <= 0)
            ++at;
    }
    const int selected = currentIndex();
    insertItem(at, item);
    // Inserting into an empty list would select the item; a list starts with none.
    if (selected < 0)
        setCurrentIndex(-1);
}

} // namespace krn310
