#pragma once

#include <string>

#include "settings/BlockBytes.h"

namespace krn310 {

// What the "ETHERNET" group holds: MAC bytes in display order (Edit10 = MAC[0]
// ... Edit28 = MAC[5]), IP Edit11..Edit14, gateway Edit15..Edit18, mask
// Edit22, Edit21, Edit19, Edit20 (o1..o4), TCP port Edit23.
struct Set2NetworkView {
    std::string Edit10;
    std::string Edit24;
    std::string Edit25;
    std::string Edit26;
    std::string Edit27;
    std::string Edit28;
    std::string Edit11;
    std::string Edit12;
    std::string Edit13;
    std::string Edit14;
    std::string Edit15;
    std::string Edit16;
    std::string Edit17;
    std::string Edit18;
    std::string Edit19;
    std::string Edit20;
    std::string Edit21;
    std::string Edit22;
    std::string Edit23;

    bool operator==(const Set2NetworkView&) const = default;
};

// Fills the Ethernet fields from a received 'x' block (it has no UserFlag).
void DecodeSet2NetworkBlock(SettingsBlockView block, Set2NetworkView& view);

// Writes the 'x' image. MAC[0..2] are the fixed 4B 52 4E; texts that do not
// convert throw EConvertError, leaving the fields written before.
void EncodeSet2NetworkBlock(const Set2NetworkView& view, SettingsBlock& image);

// The factory Ethernet values, which a factory 'u' block brings with it.
void FillFactoryNetworkValues(Set2NetworkView& view);

} // namespace krn310
