#pragma once

#include <cstdint>

namespace krn310 {

// A window message as the components' window procedures receive it.
struct TMessage {
    uint32_t Msg = 0;
    uint32_t WParam = 0;
    int32_t LParam = 0;
    int32_t Result = 0;
};

inline constexpr uint32_t WM_QUERYENDSESSION = 17;
inline constexpr uint32_t WM_ENDSESSION = 22;
inline constexpr uint32_t WM_TIMER = 275;
inline constexpr uint32_t WM_USER = 1024;

} // namespace krn310
