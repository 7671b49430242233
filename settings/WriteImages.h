#pragma once

#include "settings/BlockBytes.h"

namespace krn310 {

// The areas the three blocks are written from. The main window owns exactly
// one for the whole run: all zero at start, each keeping its last encoding
// (also the part written before a failed one) until the next overwrites it.
struct WriteImages {
    SettingsBlock Set1{};        // 't'
    SettingsBlock Set2Printer{}; // 'u'
    SettingsBlock Set2Network{}; // 'x'
};

} // namespace krn310
