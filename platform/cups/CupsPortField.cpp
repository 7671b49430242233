#include "platform/cups/CupsPortField.h"

#include <string_view>

namespace krn310 {

namespace {

constexpr std::string_view kSerialPrefix = "serial:/dev/";

bool IsNullDevice(std::string_view uri)
{
    return uri == kNullDeviceUri || uri == "file:/dev/null";
}

// "NAME:" with a device name that can stand in a serial URI's path.
bool IsSerialPortText(std::string_view port)
{
    if (port.size() < 2 || port.back() != ':')
        return false;
    const std::string_view name = port.substr(0, port.size() - 1);
    return name.find_first_of(":?#") == std::string_view::npos && name.front() != '/';
}

} // namespace

std::string PortFieldOfDeviceUri(const std::string& uri)
{
    const std::string_view text = uri;
    if (IsNullDevice(text))
        return kFilePort;
    if (text.starts_with(kSerialPrefix)) {
        std::string_view name = text.substr(kSerialPrefix.size());
        name = name.substr(0, name.find('?'));
        const std::string port = std::string(name) + ":";
        if (IsSerialPortText(port))
            return port;
    }
    return uri;
}

std::string DeviceUriForPortField(const std::string& port, const std::string& previousUri)
{
    if (!previousUri.empty() && PortFieldOfDeviceUri(previousUri) == port)
        return previousUri;
    if (port == kFilePort)
        return kNullDeviceUri;
    if (IsSerialPortText(port))
        return std::string(kSerialPrefix) + port.substr(0, port.size() - 1);
    return port;
}

} // namespace krn310
