#pragma once

#include "platform/Timer.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace krn310 {

class TManualTimer;

// A clock that moves only when told to, for tests and fuzzers that need exact
// timings. Timers created from it fire, in order of their due time, while
// Advance() passes over that time.
class ManualClock {
public:
    ManualClock() = default;
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;
    ~ManualClock();

    uint64_t Now() const { return now_; }

    // Moves the clock forward by ms, firing every timer that falls due on the way
    // (a timer falling due at exactly Now() + ms fires too).
    void Advance(uint64_t ms);

    // The earliest due time of an enabled timer, or UINT64_MAX when none runs.
    uint64_t NextDue() const;

    std::unique_ptr<TManualTimer> CreateTimer(unsigned interval = 1000);

private:
    friend class TManualTimer;
    void Attach(TManualTimer* t) { timers_.push_back(t); }
    void Detach(TManualTimer* t);

    uint64_t now_ = 0;
    std::vector<TManualTimer*> timers_;
};

class TManualTimer : public TTimer {
public:
    ~TManualTimer() override;

    void SetInterval(unsigned ms) override;
    unsigned Interval() const override { return interval_; }
    void SetEnabled(bool enabled) override;
    bool Enabled() const override { return enabled_; }

    // A timer with interval 0 never fires, as with window timers.
    bool Running() const { return enabled_ && interval_ > 0; }
    uint64_t Due() const { return due_; }
    unsigned FireCount() const { return fires_; }

private:
    friend class ManualClock;
    TManualTimer(ManualClock& clock, unsigned interval);
    void Expire();

    ManualClock* clock_;
    unsigned interval_;
    bool enabled_ = false;
    uint64_t due_ = 0;
    unsigned fires_ = 0;
};

} // namespace krn310
