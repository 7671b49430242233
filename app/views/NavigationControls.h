#pragma once

#include "app/controls/THeaderControl.h"
#include "app/controls/TImageList.h"
#include "app/controls/TPanel.h"
#include "app/controls/TTreeView.h"

namespace krn310 {

// The left column: the navigation tree and, under it, the connect/disconnect
// header in Panel4.
struct NavigationControls {
    TTreeView* TreeView1 = nullptr;
    TPanel* Panel4 = nullptr;
    THeaderControl* HeaderControl1 = nullptr;
};

// Where each node carries its ViewNumber.
inline constexpr int kViewNumberRole = Qt::UserRole;

// The ViewNumber of each tree node, in node order.
inline constexpr int kNodeViewNumbers[8] = {8, 1, 5, 2, 3, 4, 6, 7};

NavigationControls BuildNavigationControls(QWidget* form, const TImageList& images);

} // namespace krn310
