#include "settings/TabStops.h"

#include "platform/StrToInt.h"

namespace krn310 {

std::string DecodeTabStops(std::span<const uint8_t, kTabStopCount> stops)
{
    std::string text;
    for (std::size_t i = 0; i < kTabStopCount && stops[i] != 0; ++i)
        text += std::to_string(stops[i]) + ",";
    return text + "0";
}

void EncodeTabStops(std::string_view text, std::span<uint8_t, kTabStopCount> stops)
{
    for (auto& stop : stops)
        stop = 0;
    for (std::size_t i = 0; i < kTabStopCount; ++i) {
        const auto comma = text.find(',');
        if (comma == std::string_view::npos)
            return;
        stops[i] = static_cast<uint8_t>(StrToInt(text.substr(0, comma)));
        text.remove_prefix(comma + 1);
    }
}

} // namespace krn310
