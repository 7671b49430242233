#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "settings/BlockBytes.h"

namespace krn310::test {

// A block built as the printer would send it: the given little-endian 32-bit
// words over a background of filler bytes.
inline SettingsBlock BlockWithWords(std::initializer_list<std::pair<std::size_t, uint32_t>> words, uint8_t filler = 0)
{
    SettingsBlock block;
    block.fill(filler);
    for (const auto& [offset, value] : words) {
        block[offset] = static_cast<uint8_t>(value);
        block[offset + 1] = static_cast<uint8_t>(value >> 8);
        block[offset + 2] = static_cast<uint8_t>(value >> 16);
        block[offset + 3] = static_cast<uint8_t>(value >> 24);
    }
    return block;
}

// An image that has held something else before: every byte 0xAA.
inline SettingsBlock FilledImage()
{
    SettingsBlock image;
    image.fill(0xAA);
    return image;
}

inline std::vector<uint8_t> Bytes(const SettingsBlock& image, std::size_t offset, std::size_t count)
{
    return {image.begin() + static_cast<std::ptrdiff_t>(offset),
            image.begin() + static_cast<std::ptrdiff_t>(offset + count)};
}

inline bool AllZero(const SettingsBlock& image, std::size_t first, std::size_t last)
{
    for (std::size_t i = first; i <= last; ++i)
        if (image[i] != 0)
            return false;
    return true;
}

} // namespace krn310::test
