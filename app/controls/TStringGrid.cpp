#include "app/controls/TStringGrid.h"

#include <QHeaderView>

namespace krn310 {

TStringGrid::TStringGrid(int colCount, int rowCount, QWidget* parent) : QTableWidget(rowCount, colCount, parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setWordWrap(false);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    for (int row = 0; row < rowCount; ++row) {
        for (int col = 0; col < colCount; ++col) {
            auto* cell = new QTableWidgetItem;
            cell->setFlags(Qt::ItemIsEnabled);
            setItem(row, col, cell);
        }
    }
}

QString TStringGrid::Cells(int col, int row) const
{
    const QTableWidgetItem* cell = item(row, col);
    return cell ? cell->text() : QString();
}

void TStringGrid::SetCells(int col, int row, const QString& text)
{
    if (QTableWidgetItem* cell = item(row, col))
        cell->setText(text);
}

int TStringGrid::DefaultRowHeight() const
{
    return verticalHeader()->defaultSectionSize();
}

void TStringGrid::SetDefaultRowHeight(int height)
{
    verticalHeader()->setDefaultSectionSize(height);
    for (int row = 0; row < rowCount(); ++row)
        setRowHeight(row, height);
}

} // namespace krn310
