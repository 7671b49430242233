#pragma once

#include <string>
#include <vector>

namespace krn310 {

// A drop-down list as the configuration sees it: its item texts (UTF-8) and
// the selected index, -1 for none. The window copies its widgets into one of
// these and back.
struct ListControl {
    std::vector<std::string> items;
    int itemIndex = -1;
};

// The text of the selected item; empty when nothing is selected.
std::string SelectedText(const ListControl& list);

// Selects the index as a list does: an index outside the items leaves no
// selection.
void SelectIndex(ListControl& list, int index);

// The controls of the connection view that the local configuration fills and
// stores, named as in the window.
struct ConnectionControls {
    ListControl ComboBox1;  // interface: "RS-232", "Ethernet"
    ListControl ComboBox2;  // serial port names
    ListControl ComboBox3;  // baud rates, "115200" first
    std::string Edit8;      // printer IP address
    std::string Edit9;      // printer TCP port
};

} // namespace krn310
