#pragma once

#include <QTreeWidget>

#include <functional>

namespace krn310 {

// A navigation tree: one column, nodes neither editable nor decorated,
// whole-row selection that stays marked without the focus, hot tracking.
// OnClick follows the mouse only: a left click anywhere in the tree raises
// it, a click on empty space keeps the selection, other buttons select
// nothing, and a selection moved with the keyboard raises nothing.
class TTreeView : public QTreeWidget {
public:
    explicit TTreeView(QWidget* parent);

    // The selected node, or null when none is selected.
    QTreeWidgetItem* Selected() const;
    void SetSelected(QTreeWidgetItem* node);
    int Count() const { return topLevelItemCount(); }
    QTreeWidgetItem* Item(int index) const { return topLevelItem(index); }

    // Expands the node that becomes selected and collapses the one left.
    void SetAutoExpand(bool on) { autoExpand_ = on; }
    bool AutoExpand() const { return autoExpand_; }

    std::function<void()> OnClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool autoExpand_ = false;
};

} // namespace krn310
