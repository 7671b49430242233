#pragma once

#include "settings/BlockBytes.h"
#include "settings/BlockDecodeResult.h"
#include "settings/Set2NetworkBlock.h"
#include "settings/SpeedSlider.h"

namespace krn310 {

// What the views "Настройки принтера 1", "Настройки принтера 2" and the
// "RS-232" group hold, named as the window's controls.
struct Set2PrinterView {
    int ComboBox14 = -1; // printer baud rate, item index (0 = 115200 ... 10 = 600)
    int ComboBox17 = -1; // flow control
    int TrackBar1 = 100; // contrast, 1..100
    bool CheckBox4 = false; // power-on message
    bool CheckBox5 = false; // autocutter
    bool CheckBox6 = false; // automatic line feed
    bool CheckBox7 = false; // no buffer preload
    bool CheckBox8 = false; // near-end sensor off
    bool CheckBox9 = false; // buzzer on
    int RadioGroup1 = 0; // buzzer channel
    SpeedSlider TrackBar2;
    SpeedLabel Label41;

    bool operator==(const Set2PrinterView&) const = default;
};

inline constexpr int kFlowControlItems = 3;
inline constexpr int kContrastMin = 1;
inline constexpr int kContrastMax = 100;

// Fills the printer views from a received 'u' block. interfaceType is the
// connection's InterfaceType at this moment (it sets the slider maximum).
// The factory branch also fills the Ethernet fields of network.
BlockDecodeResult DecodeSet2PrinterBlock(SettingsBlockView block, Set2PrinterView& view, Set2NetworkView& network,
                                         int interfaceType);

// Writes the 'u' image; it has nothing that can fail.
void EncodeSet2PrinterBlock(const Set2PrinterView& view, SettingsBlock& image);

// Writes the 'u' image, then the 'x' image. A text of the 'x' block that does
// not convert throws EConvertError and leaves the fields written so far.
void EncodeSet2Blocks(const Set2PrinterView& printer, const Set2NetworkView& network, SettingsBlock& printerImage,
                      SettingsBlock& networkImage);

} // namespace krn310
