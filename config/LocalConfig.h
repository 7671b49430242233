#pragma once

#include "config/ConnectionControls.h"

#include <filesystem>
#include <string_view>

namespace krn310 {

// The operator's last connection choices, kept in section CONFIG of an INI
// file beside the executable, and the serial port list of the connection
// view. Nothing here reports a failure: a missing or unreadable file gives the
// defaults, a failed write is dropped.

// The executable's path with its extension replaced by ".INI", or ".INI"
// appended when it has none. Empty when the executable cannot be found.
std::filesystem::path ConfigFilePath();
std::filesystem::path ConfigFilePath(const std::filesystem::path& executable);

// Fills ComboBox2 with the machine's serial ports, sorted as the list sorts
// (by text, ignoring case: "ttyS10" before "ttyS2"), and selects the first;
// no ports leave it empty with no selection.
void FillSerialPortList(ListControl& comboBox2);
void FillSerialPortList(ListControl& comboBox2, const std::filesystem::path& sysfsRoot);

// Reads INTERFACE_TYPE, COM_PORT, BAUD_RATE, ETHER_IP and ETHER_PORT, in this
// order, into ComboBox1, ComboBox2, ComboBox3, Edit8 and Edit9. Run after
// FillSerialPortList, so that COM_PORT meets the discovered ports.
void LoadLocalConfig(ConnectionControls& controls);
void LoadLocalConfig(ConnectionControls& controls, const std::filesystem::path& file);

// Writes the same keys in the same order; the first failed write ends it, and
// the keys after it keep their old values in the file.
void SaveLocalConfig(const ConnectionControls& controls);
void SaveLocalConfig(const ConnectionControls& controls, const std::filesystem::path& file);

// Selects the first item equal to the text, compared byte for byte in 8-bit
// ANSI (so case matters), else item 0; an empty list keeps its selection.
void SelectItemByText(ListControl& list, std::string_view text);

} // namespace krn310
