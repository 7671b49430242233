#pragma once

#include "app/controls/TComboBox.h"
#include "app/controls/TEdit.h"
#include "app/controls/TGroupBox.h"

#include <QLabel>

namespace krn310 {

// GroupBox5 "Позиционирование текста (набор параметров 1)".
struct PositioningView {
    TGroupBox* GroupBox5 = nullptr;
    QLabel* Label12 = nullptr;
    TComboBox* ComboBox9 = nullptr;   // justification
    QLabel* Label13 = nullptr;
    TEdit* Edit1 = nullptr;           // left margin
    QLabel* Label14 = nullptr;
    TEdit* Edit2 = nullptr;           // print area width
    QLabel* Label23 = nullptr;
    TEdit* Edit6 = nullptr;           // space between lines
    QLabel* Label15 = nullptr;
    TEdit* Edit3 = nullptr;           // tab stops
    QLabel* Label22 = nullptr;
    TComboBox* ComboBox13 = nullptr;  // upside-down printing
};

PositioningView BuildPositioningView(QWidget* form);

} // namespace krn310
