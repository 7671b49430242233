#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace krn310 {

// The INI text itself, without the file: finding a value and editing one so
// that everything else in the text (comments, other sections and keys, their
// order, line endings) stays as it was.
//
// Section and key names match without regard to ASCII case; blanks around
// names and values are dropped; a value in double quotes loses them. Lines
// starting with ';' are comments. The first matching section and the first
// matching key in it count.

// The value of the key, or nothing when the section or the key is missing.
std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// The text with the key set to the value, the section and the key added when
// missing. Nothing when the names or the value cannot be stored in an INI
// line (line breaks, an empty name, "]" in a section or "=" in a key name).
// A value that reading would change (blanks at its ends, enclosing quotes)
// is written in quotes so that it reads back exactly.
std::optional<std::string> SetIniValue(std::string_view text, std::string_view section,
                                       std::string_view key, std::string_view value);

} // namespace krn310
