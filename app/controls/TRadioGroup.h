#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>

#include <vector>

namespace krn310 {

// A captioned group of radio buttons, one per item, stacked evenly;
// ItemIndex is the checked item, -1 for none.
class TRadioGroup : public QGroupBox {
public:
    TRadioGroup(const QString& caption, QWidget* parent);

    void SetItems(const QStringList& items);
    QStringList Items() const;
    int ItemIndex() const { return buttons_.checkedId(); }
    // An index outside the items leaves none checked.
    void SetItemIndex(int index);

    QRadioButton* Button(int index) const { return items_.at(static_cast<size_t>(index)); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceButtons();

    QButtonGroup buttons_;
    std::vector<QRadioButton*> items_;
};

} // namespace krn310
