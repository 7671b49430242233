#include "app/controls/TTreeView.h"

#include "app/controls/ControlEvent.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace krn310 {

namespace {

// The node under the mouse is drawn underlined in blue, as a tracking tree does.
class HotTrackDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if ((option->state & QStyle::State_MouseOver) && !(option->state & QStyle::State_Selected)) {
            option->font.setUnderline(true);
            option->palette.setColor(QPalette::Text, QColor(0, 0, 255));
        }
    }
};

} // namespace

TTreeView::TTreeView(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    header()->hide();
    header()->setStretchLastSection(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_Hover);
    setItemDelegate(new HotTrackDelegate(this));

    QPalette colours = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);

    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* now, QTreeWidgetItem* before) {
        if (!autoExpand_)
            return;
        if (before)
            before->setExpanded(false);
        if (now)
            now->setExpanded(true);
    });
}

QTreeWidgetItem* TTreeView::Selected() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void TTreeView::SetSelected(QTreeWidgetItem* node)
{
    if (node)
        setCurrentItem(node);
    else
        clearSelection();
}

void TTreeView::mousePressEvent(QMouseEvent* event)
{
    // Only the left button selects, as in a tree of the design's toolkit.
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    // On empty space the view would clear the selection; a tree keeps it.
    if (!indexAt(event->position().toPoint()).isValid()) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void TTreeView::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && viewport()->rect().contains(event->position().toPoint()))
        RaiseEvent(OnClick);
}

} // namespace krn310
