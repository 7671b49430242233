#pragma once

#include "app/controls/TComboBox.h"
#include "app/controls/TEdit.h"
#include "app/controls/TGroupBox.h"

#include <QLabel>

#include <array>

namespace krn310 {

// GroupBox7 "Параметры соединения (набор параметров 2)": the printer's own
// RS-232 (GroupBox10) and Ethernet (GroupBox11) settings.
struct ConnectionParamsView {
    TGroupBox* GroupBox7 = nullptr;

    TGroupBox* GroupBox10 = nullptr;
    QLabel* Label27 = nullptr;
    TComboBox* ComboBox14 = nullptr;  // printer baud rate
    QLabel* Label28 = nullptr;
    TComboBox* ComboBox15 = nullptr;
    QLabel* Label29 = nullptr;
    TComboBox* ComboBox16 = nullptr;
    QLabel* Label30 = nullptr;
    TComboBox* ComboBox17 = nullptr;  // printer flow control

    TGroupBox* GroupBox11 = nullptr;
    QLabel* Label31 = nullptr;
    TEdit* Edit10 = nullptr;  // MAC, left to right: Edit10, Edit24 .. Edit28
    TEdit* Edit24 = nullptr;
    TEdit* Edit25 = nullptr;
    TEdit* Edit26 = nullptr;
    TEdit* Edit27 = nullptr;
    TEdit* Edit28 = nullptr;
    QLabel* Label35 = nullptr;
    TEdit* Edit11 = nullptr;  // IP address
    TEdit* Edit12 = nullptr;
    TEdit* Edit13 = nullptr;
    TEdit* Edit14 = nullptr;
    QLabel* Label36 = nullptr;
    TEdit* Edit23 = nullptr;  // TCP port
    QLabel* Label38 = nullptr;
    TEdit* Edit22 = nullptr;  // subnet mask, left to right: Edit22, Edit21, Edit19, Edit20
    TEdit* Edit21 = nullptr;
    TEdit* Edit19 = nullptr;
    TEdit* Edit20 = nullptr;
    QLabel* Label37 = nullptr;
    TEdit* Edit15 = nullptr;  // gateway
    TEdit* Edit16 = nullptr;
    TEdit* Edit17 = nullptr;
    TEdit* Edit18 = nullptr;

    // The six MAC fields, left to right; they share one key filter.
    std::array<TEdit*, 6> MacEdits() const { return {Edit10, Edit24, Edit25, Edit26, Edit27, Edit28}; }
};

ConnectionParamsView BuildConnectionParamsView(QWidget* form);

} // namespace krn310
