#include "config/LocalConfig.h"

#include "platform/profile/SerialPorts.h"

#include <algorithm>
#include <string>

namespace krn310 {

namespace {

unsigned char AsciiLower(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

// The list's own order: text ignoring case; names equal but for case keep a
// fixed order between them.
bool SortsBefore(const std::string& a, const std::string& b)
{
    const auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
    if (ia != a.end() && ib != b.end())
        return AsciiLower(*ia) < AsciiLower(*ib);
    if (ia != a.end() || ib != b.end())
        return ia == a.end();
    return a < b;
}

} // namespace

void FillSerialPortList(ListControl& comboBox2)
{
    FillSerialPortList(comboBox2, kSysfsRoot);
}

void FillSerialPortList(ListControl& comboBox2, const std::filesystem::path& sysfsRoot)
{
    comboBox2.items = ListSerialPorts(sysfsRoot);
    std::sort(comboBox2.items.begin(), comboBox2.items.end(), SortsBefore);
    comboBox2.itemIndex = comboBox2.items.empty() ? -1 : 0;
}

} // namespace krn310
