#pragma once

#include <functional>

namespace krn310 {

// Runs the Qt event loop until done() holds or limitMs pass; gives done().
// The loop sleeps while nothing happens and looks at done() whenever it has
// handled what was pending and every 10 ms, so waiting costs no processor
// time and ends as soon as done() holds.
bool RunEventLoopUntil(const std::function<bool()>& done, int limitMs);

} // namespace krn310
