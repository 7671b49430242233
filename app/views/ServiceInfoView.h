#pragma once

#include "app/controls/TGroupBox.h"
#include "app/controls/TSpeedButton.h"
#include "app/controls/TStringGrid.h"

namespace krn310 {

// GroupBox8 "Служебная информация": the identification and status grid.
struct ServiceInfoView {
    TGroupBox* GroupBox8 = nullptr;
    TStringGrid* StringGrid1 = nullptr;  // 2 columns, 18 rows: labels, values
    TSpeedButton* SpeedButton2 = nullptr;
};

ServiceInfoView BuildServiceInfoView(QWidget* form);

} // namespace krn310
