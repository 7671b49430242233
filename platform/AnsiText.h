#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace krn310 {

// The printer and the stored names speak 8-bit text in Windows-1251, the
// Cyrillic code page of the printer's fonts A and B; the user interface speaks
// UTF-8.

std::string AnsiToUtf8(std::span<const uint8_t> ansi);
std::string AnsiToUtf8(std::string_view ansi);

// Characters that Windows-1251 cannot hold become '?'; a malformed UTF-8
// sequence counts as one such character per byte.
std::string Utf8ToAnsi(std::string_view utf8);

} // namespace krn310
