#include "tools/sim/LinePacing.h"

#include <array>

namespace krn310::sim {

uint32_t BaudForIndex(uint32_t baudIndex)
{
    static constexpr std::array<uint32_t, 11> rates = {115200, 57600, 38400, 28800, 19200, 14400,
                                                       9600,   4800,  2400,  1200,  600};
    if (baudIndex < 1 || baudIndex > rates.size())
        return 0;
    return rates[baudIndex - 1];
}

std::chrono::nanoseconds ByteTime(uint32_t baud)
{
    if (baud == 0)
        return std::chrono::nanoseconds(0);
    return std::chrono::nanoseconds(10'000'000'000LL / baud);
}

std::chrono::nanoseconds ByteDue(uint32_t baud, size_t index)
{
    if (baud == 0)
        return std::chrono::nanoseconds(0);
    return std::chrono::nanoseconds(10'000'000'000LL * static_cast<long long>(index) / baud);
}

}  // namespace krn310::sim
