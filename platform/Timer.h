#pragma once

#include <functional>

namespace krn310 {

// A window timer as the program's handlers rely on it: periodic while enabled,
// and
//  - setting an interval restarts the count only when the interval changes,
//  - enabling an enabled timer changes nothing,
//  - enabling a disabled timer starts a full interval.
// The program backs it with Qt (QtTimer.h), the tests with a manual clock
// (ManualClock.h).
class TTimer {
public:
    virtual ~TTimer() = default;

    virtual void SetInterval(unsigned ms) = 0;
    virtual unsigned Interval() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;

    std::function<void()> OnTimer;

protected:
    void Fire()
    {
        if (OnTimer)
            OnTimer();
    }
};

} // namespace krn310
