#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace krn310 {

// One settings block as the printer sends and receives it.
inline constexpr std::size_t kSettingsBlockSize = 256;
using SettingsBlock = std::array<uint8_t, kSettingsBlockSize>;
using SettingsBlockView = std::span<const uint8_t, kSettingsBlockSize>;

// Multi-byte fields of the blocks are little-endian, whatever the host is.
inline uint32_t ReadU32(SettingsBlockView block, std::size_t offset)
{
    return static_cast<uint32_t>(block[offset]) | static_cast<uint32_t>(block[offset + 1]) << 8 |
           static_cast<uint32_t>(block[offset + 2]) << 16 | static_cast<uint32_t>(block[offset + 3]) << 24;
}

inline int32_t ReadI32(SettingsBlockView block, std::size_t offset)
{
    return static_cast<int32_t>(ReadU32(block, offset));
}

inline uint16_t ReadU16(SettingsBlockView block, std::size_t offset)
{
    return static_cast<uint16_t>(block[offset] | block[offset + 1] << 8);
}

inline void WriteU32(SettingsBlock& image, std::size_t offset, uint32_t value)
{
    image[offset] = static_cast<uint8_t>(value);
    image[offset + 1] = static_cast<uint8_t>(value >> 8);
    image[offset + 2] = static_cast<uint8_t>(value >> 16);
    image[offset + 3] = static_cast<uint8_t>(value >> 24);
}

inline void WriteI32(SettingsBlock& image, std::size_t offset, int32_t value)
{
    WriteU32(image, offset, static_cast<uint32_t>(value));
}

inline void WriteFlag(SettingsBlock& image, std::size_t offset, bool set)
{
    WriteU32(image, offset, set ? 1u : 0u);
}

// Clears bytes first..last, both included.
inline void ClearBytes(SettingsBlock& image, std::size_t first, std::size_t last)
{
    for (std::size_t i = first; i <= last; ++i)
        image[i] = 0;
}

// A list field read back: the item index, or -1 when the value names no item.
inline int ListIndex(uint32_t value, int itemCount)
{
    return value < static_cast<uint32_t>(itemCount) ? static_cast<int>(value) : -1;
}

} // namespace krn310
