#pragma once

#include "app/controls/TPanel.h"
#include "app/controls/TSpeedButton.h"

#include <QLabel>

namespace krn310 {

// Panel2: apply and factory values for parameter set 1 (left) and 2 (right).
struct ApplyPanel {
    TPanel* Panel2 = nullptr;
    QLabel* Label24 = nullptr;
    TSpeedButton* SpeedButton3 = nullptr;  // apply set 1
    TSpeedButton* SpeedButton4 = nullptr;  // factory values of set 1
    QLabel* Label25 = nullptr;
    TSpeedButton* SpeedButton5 = nullptr;  // apply set 2
    TSpeedButton* SpeedButton6 = nullptr;  // factory values of set 2
};

ApplyPanel BuildApplyPanel(QWidget* form);

} // namespace krn310
