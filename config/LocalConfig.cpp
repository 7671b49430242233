#include "config/LocalConfig.h"

#include "platform/profile/ExecutablePath.h"
#include "platform/profile/PrivateProfile.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>

namespace krn310 {

namespace {

constexpr std::string_view kSection = "CONFIG";
constexpr std::string_view kInterfaceTypeKey = "INTERFACE_TYPE";
constexpr std::string_view kComPortKey = "COM_PORT";
constexpr std::string_view kBaudRateKey = "BAUD_RATE";
constexpr std::string_view kEtherIpKey = "ETHER_IP";
constexpr std::string_view kEtherPortKey = "ETHER_PORT";

constexpr std::string_view kDefaultEtherIp = "192.168.0.100";
constexpr std::string_view kDefaultEtherPort = "62002";

// Decimal, or hexadecimal after "0x" or "0X"; anything else gives 0.
int ParseInterfaceType(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.front() == '-' || text.front() == '+')
        return 0;
    int64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (ec != std::errc() || end != text.data() + text.size())
        return 0;
    const int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return 0;
    return static_cast<int>(value);
}

std::string FirstItem(const ListControl& list)
{
    return list.items.empty() ? std::string() : list.items.front();
}

} // namespace

std::filesystem::path ConfigFilePath()
{
    return ConfigFilePath(ExecutablePath());
}

std::filesystem::path ConfigFilePath(const std::filesystem::path& executable)
{
    if (executable.empty())
        return {};
    std::filesystem::path file = executable;
    file.replace_extension(".INI");
    return file;
}

void LoadLocalConfig(ConnectionControls& controls)
{
    LoadLocalConfig(controls, ConfigFilePath());
}

void LoadLocalConfig(ConnectionControls& controls, const std::filesystem::path& file)
{
    const auto read = [&file](std::string_view key, std::string_view defaultValue) {
        return GetPrivateProfileString(kSection, key, defaultValue, file);
    };
    SelectIndex(controls.ComboBox1, ParseInterfaceType(read(kInterfaceTypeKey, "")));
    SelectItemByText(controls.ComboBox2, read(kComPortKey, FirstItem(controls.ComboBox2)));
    SelectItemByText(controls.ComboBox3, read(kBaudRateKey, FirstItem(controls.ComboBox3)));
    controls.Edit8 = read(kEtherIpKey, kDefaultEtherIp);
    controls.Edit9 = read(kEtherPortKey, kDefaultEtherPort);
}

void SaveLocalConfig(const ConnectionControls& controls)
{
    SaveLocalConfig(controls, ConfigFilePath());
}

void SaveLocalConfig(const ConnectionControls& controls, const std::filesystem::path& file)
{
    const std::pair<std::string_view, std::string> values[] = {
        {kInterfaceTypeKey, std::to_string(controls.ComboBox1.itemIndex)},
        {kComPortKey, SelectedText(controls.ComboBox2)},
        {kBaudRateKey, SelectedText(controls.ComboBox3)},
        {kEtherIpKey, controls.Edit8},
        {kEtherPortKey, controls.Edit9},
    };
    for (const auto& [key, value] : values) {
        if (!WritePrivateProfileString(kSection, key, value, file))
            return;
    }
}

} // namespace krn310
