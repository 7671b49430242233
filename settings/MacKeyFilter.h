#pragma once

namespace krn310 {

// The key filter of the six MAC fields: a typed character passes only if it is
// a hexadecimal digit; every other character, Backspace (8) included, is
// discarded. Keys that type no character never reach it.
bool Edit10KeyPress(char32_t key);

} // namespace krn310
