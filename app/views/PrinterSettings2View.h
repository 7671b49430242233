#pragma once

#include "app/controls/TCheckBox.h"
#include "app/controls/TGroupBox.h"
#include "app/controls/TRadioGroup.h"

namespace krn310 {

// GroupBox3 "Настройки принтера-2 (набор параметров 2)": the buzzer.
struct PrinterSettings2View {
    TGroupBox* GroupBox3 = nullptr;
    TGroupBox* GroupBox9 = nullptr;
    TCheckBox* CheckBox9 = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;  // cash drawer channel 0 or 1
};

PrinterSettings2View BuildPrinterSettings2View(QWidget* form);

} // namespace krn310
