#pragma once

#include "app/controls/TComboBox.h"
#include "app/controls/TEdit.h"
#include "app/controls/TGroupBox.h"

#include <QLabel>

namespace krn310 {

// GroupBox1 "Соединение с принтером": the local connection parameters.
struct ConnectionView {
    TGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    TComboBox* ComboBox1 = nullptr;  // interface: 0 RS-232, 1 Ethernet
    QLabel* Label2 = nullptr;
    TComboBox* ComboBox2 = nullptr;  // serial ports, sorted
    QLabel* Label3 = nullptr;
    TComboBox* ComboBox3 = nullptr;  // baud rate
    QLabel* Label4 = nullptr;
    TComboBox* ComboBox4 = nullptr;
    QLabel* Label5 = nullptr;
    TComboBox* ComboBox5 = nullptr;
    QLabel* Label6 = nullptr;
    TComboBox* ComboBox6 = nullptr;  // flow control
    TEdit* Edit8 = nullptr;          // printer IP address
    TEdit* Edit9 = nullptr;          // printer TCP port
    QLabel* Label39 = nullptr;
    QLabel* Label40 = nullptr;
};

ConnectionView BuildConnectionView(QWidget* form);

} // namespace krn310
