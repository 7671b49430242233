#pragma once

#include <chrono>
#include <cstdint>

namespace krn310::sim {

// The line speed a 'u' block's BaudIndex selects: 1 = 115200 .. 11 = 600; 0 for anything else.
uint32_t BaudForIndex(uint32_t baudIndex);

// How long one byte takes on the line: a start bit, eight data bits and a stop bit.
std::chrono::nanoseconds ByteTime(uint32_t baud);

// When byte number `index` (0-based) of a paced write is due, counted from the write's start.
std::chrono::nanoseconds ByteDue(uint32_t baud, size_t index);

}  // namespace krn310::sim
