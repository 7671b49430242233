#pragma once

#include <string>

namespace krn310 {

// What a decoder of a block with a UserFlag tells the window besides the views:
// which branch it took and the text for the block's row of the service grid.
struct BlockDecodeResult {
    bool UserValues = false;
    std::string GridCell; // "пользовательский" or "по-умолчанию"
};

// The service grid rows of the two parameter sets (value in column 1).
inline constexpr int kSet1GridRow = 4;
inline constexpr int kSet2GridRow = 5;

} // namespace krn310
