#include "platform/profile/SerialPorts.h"

#include "platform/profile/AtomicFile.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

namespace krn310 {

namespace {

// serial_core's PORT_UNKNOWN.
constexpr int kUartTypeUnknown = 0;

std::optional<int> ReadIntAttribute(const std::filesystem::path& file)
{
    const std::optional<std::string> text = ReadWholeFile(file);
    if (!text)
        return std::nullopt;
    std::string_view digits = *text;
    while (!digits.empty() && (digits.back() == '\n' || digits.back() == ' '))
        digits.remove_suffix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

bool IsSerialPort(const std::filesystem::path& tty)
{
    std::error_code ec;
    if (!std::filesystem::exists(tty / "device", ec))
        return false;
    const std::filesystem::path type = tty / "type";
    if (!std::filesystem::exists(type, ec))
        return true;
    return ReadIntAttribute(type) != kUartTypeUnknown;
}

// The kernel names nested device nodes with '!' in place of '/'.
std::string DeviceName(std::string sysfsName)
{
    std::replace(sysfsName.begin(), sysfsName.end(), '!', '/');
    return sysfsName;
}

} // namespace

std::vector<std::string> ListSerialPorts(const std::filesystem::path& sysfsRoot)
{
    std::vector<std::string> ports;
    std::error_code ec;
    std::filesystem::directory_iterator it(sysfsRoot / "class" / "tty", ec);
    for (const std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec)) {
        if (IsSerialPort(it->path()))
            ports.push_back(DeviceName(it->path().filename().string()));
    }
    std::sort(ports.begin(), ports.end());
    return ports;
}

} // namespace krn310
