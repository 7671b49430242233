#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace krn310 {

// Private-profile (INI) files in UTF-8. Every call goes straight to the file;
// nothing is cached between calls. Matching rules: platform/profile/IniText.h.

// Values are read into a buffer of this many characters, the last one for the
// terminator, so a longer value is cut to one less.
constexpr std::size_t kProfileValueBufferChars = 2048;

// The value of the key in the section, or the default when the file, the
// section or the key is missing (a key with an empty value reads as empty).
// The result holds at most kProfileValueBufferChars - 1 characters.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::filesystem::path& file);

// Sets the key in the section, creating the file and the section when
// missing and keeping the rest of the file. The file is replaced atomically;
// false when the write failed, and then the old file is as it was.
bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::filesystem::path& file);

} // namespace krn310
