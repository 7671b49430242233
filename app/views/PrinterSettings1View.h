#pragma once

#include "app/controls/TCheckBox.h"
#include "app/controls/TGroupBox.h"
#include "app/controls/TPanel.h"
#include "app/controls/TTrackBar.h"

#include <QLabel>

namespace krn310 {

// GroupBox2 "Настройки принтера-1 (набор параметров 2)": contrast, speed and
// the printer's switches.
struct PrinterSettings1View {
    TGroupBox* GroupBox2 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label26 = nullptr;
    TPanel* Panel1 = nullptr;
    TTrackBar* TrackBar1 = nullptr;  // print contrast 1..100
    QLabel* Label32 = nullptr;
    QLabel* Label33 = nullptr;
    QLabel* Label34 = nullptr;
    QLabel* Label41 = nullptr;       // speed above the slider's thumb
    TPanel* Panel3 = nullptr;
    TTrackBar* TrackBar2 = nullptr;  // maximum print speed 18..125
    TCheckBox* CheckBox4 = nullptr;
    TCheckBox* CheckBox5 = nullptr;
    TCheckBox* CheckBox6 = nullptr;
    TCheckBox* CheckBox7 = nullptr;
    TCheckBox* CheckBox8 = nullptr;
};

PrinterSettings1View BuildPrinterSettings1View(QWidget* form);

} // namespace krn310
