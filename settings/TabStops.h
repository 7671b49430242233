#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace krn310 {

inline constexpr std::size_t kTabStopCount = 32;

// The Edit3 text of the stored tab stops: each non-zero stop followed by ",",
// then the closing "0" ("8,16,24,0"; "0" alone when there are none).
std::string DecodeTabStops(std::span<const uint8_t, kTabStopCount> stops);

// Clears the stops, then stores the low 8 bits of every comma-terminated
// number, at most 32; what follows the last comma is not stored. A token that
// does not convert throws EConvertError naming it, leaving the stops stored so far.
void EncodeTabStops(std::string_view text, std::span<uint8_t, kTabStopCount> stops);

} // namespace krn310
