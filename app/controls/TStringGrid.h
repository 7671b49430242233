#pragma once

#include <QTableWidget>

namespace krn310 {

// A text grid without scroll bars, headers or fixed cells; the program
// writes its cells, the operator only reads them.
class TStringGrid : public QTableWidget {
public:
    TStringGrid(int colCount, int rowCount, QWidget* parent);

    int ColCount() const { return columnCount(); }
    int RowCount() const { return rowCount(); }
    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString& text);

    int ColWidths(int col) const { return columnWidth(col); }
    void SetColWidths(int col, int width) { setColumnWidth(col, width); }
    int DefaultRowHeight() const;
    void SetDefaultRowHeight(int height);
};

} // namespace krn310
