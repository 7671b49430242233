#pragma once

#include "platform/HandlerGuard.h"

#include <utility>

namespace krn310 {

// Raises a control's event the way the window's handlers expect: an
// unassigned handler is not called, and an exception escaping the handler is
// reported in an error box while the program goes on.
template <class Handler, class... Args>
void RaiseEvent(const Handler& handler, Args&&... args)
{
    if (handler)
        RunGuarded([&] { handler(std::forward<Args>(args)...); });
}

// Wraps a handler for a caller that does not guard it itself (timers,
// components), e.g. Timer1.OnTimer = Guarded([this] { Timer1Timer(); }).
template <class Handler>
auto Guarded(Handler handler)
{
    return [handler = std::move(handler)](auto&&... args) {
        RunGuarded([&] { handler(std::forward<decltype(args)>(args)...); });
    };
}

} // namespace krn310
