#pragma once

#include <cstdint>
#include <vector>

namespace krn310 {

// The ten commands of a full read, in the order they go on the wire.
std::vector<std::vector<uint8_t>> ReadAllCommands();

} // namespace krn310
