#pragma once

#include "platform/EventLoopWait.h"

namespace krn310::test {

// Runs the Qt event loop until done() holds or limitMs pass; gives done().
// The limit only keeps a broken test from hanging: no test asserts on it.
template <class Done>
bool RunUntil(Done done, int limitMs = 10000)
{
    return RunEventLoopUntil(done, limitMs);
}

// Runs the event loop for about ms milliseconds.
inline void RunFor(int ms)
{
    RunUntil([] { return false; }, ms);
}

} // namespace krn310::test
