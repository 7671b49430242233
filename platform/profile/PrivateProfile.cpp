#include "platform/profile/PrivateProfile.h"

#include "platform/profile/AtomicFile.h"
#include "platform/profile/IniText.h"

#include <optional>

namespace krn310 {

namespace {

// Cuts after `chars` UTF-8 characters, never inside one.
std::string CutToChars(std::string text, std::size_t chars)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && count++ == chars) {
            text.resize(i);
            break;
        }
    }
    return text;
}

} // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::filesystem::path& file)
{
    std::optional<std::string> value;
    if (!file.empty()) {
        if (const std::optional<std::string> text = ReadWholeFile(file))
            value = FindIniValue(*text, section, key);
    }
    return CutToChars(value ? std::move(*value) : std::string(defaultValue), kProfileValueBufferChars - 1);
}

bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::filesystem::path& file)
{
    if (file.empty())
        return false;
    bool missing = false;
    std::optional<std::string> text = ReadWholeFile(file, &missing);
    // A file that exists but cannot be read must not be replaced by one that
    // holds only this key.
    if (!text && !missing)
        return false;
    const std::optional<std::string> updated = SetIniValue(text ? *text : std::string(), section, key, value);
    return updated && ReplaceFileAtomically(file, *updated);
}

} // namespace krn310
