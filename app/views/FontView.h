#pragma once

#include "app/controls/TCheckBox.h"
#include "app/controls/TComboBox.h"
#include "app/controls/TEdit.h"
#include "app/controls/TGroupBox.h"
#include "app/controls/TPanel.h"

#include <QLabel>

namespace krn310 {

// GroupBox4 "Параметры шрифта (набор параметров 1)".
struct FontView {
    TGroupBox* GroupBox4 = nullptr;
    QLabel* Label20 = nullptr;
    TComboBox* ComboBox12 = nullptr;  // font
    QLabel* Label21 = nullptr;
    TEdit* Edit7 = nullptr;           // space between characters
    QLabel* Label7 = nullptr;
    TComboBox* ComboBox7 = nullptr;   // height
    QLabel* Label8 = nullptr;
    TComboBox* ComboBox8 = nullptr;   // width
    QLabel* Label9 = nullptr;
    TShape* Shape1 = nullptr;
    TCheckBox* CheckBox1 = nullptr;   // bold
    TCheckBox* CheckBox2 = nullptr;   // underline
    TCheckBox* CheckBox3 = nullptr;   // negative
};

FontView BuildFontView(QWidget* form);

} // namespace krn310
