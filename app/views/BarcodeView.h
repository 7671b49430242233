#pragma once

#include "app/controls/TComboBox.h"
#include "app/controls/TEdit.h"
#include "app/controls/TGroupBox.h"

#include <QLabel>

namespace krn310 {

// GroupBox6 "Параметры штрих-кода (набор параметров 1)".
struct BarcodeView {
    TGroupBox* GroupBox6 = nullptr;
    QLabel* Label16 = nullptr;
    TEdit* Edit4 = nullptr;           // barcode height in dots
    QLabel* Label17 = nullptr;
    TEdit* Edit5 = nullptr;           // module width
    QLabel* Label18 = nullptr;
    TComboBox* ComboBox10 = nullptr;  // HRI position
    QLabel* Label19 = nullptr;
    TComboBox* ComboBox11 = nullptr;  // HRI font
};

BarcodeView BuildBarcodeView(QWidget* form);

} // namespace krn310
