#pragma once

#include <QComboBox>

#include <functional>

namespace krn310 {

// A drop-down list the operator cannot type into. ItemIndex -1 means no item
// is selected.
class TComboBox : public QComboBox {
public:
    explicit TComboBox(QWidget* parent);

    int ItemIndex() const { return currentIndex(); }
    // An index outside the items leaves the list with no item selected.
    void SetItemIndex(int index);
    // The selected item's text; empty when none is selected.
    QString Text() const { return currentText(); }

    void SetItems(const QStringList& items);
    QStringList Items() const;
    // Adds one item, at its sorted place when the list is sorted.
    void AddItem(const QString& item);
    void SetSorted(bool sorted) { sorted_ = sorted; }
    bool Sorted() const { return sorted_; }

    // Raised when the operator chooses an item; not when the program sets one.
    std::function<void()> OnChange;

private:
    bool sorted_ = false;
};

} // namespace krn310
