#include "platform/ManualClock.h"

#include <algorithm>

namespace krn310 {

ManualClock::~ManualClock()
{
    for (TManualTimer* t : timers_)
        t->clock_ = nullptr;
}

void ManualClock::Detach(TManualTimer* t)
{
    timers_.erase(std::remove(timers_.begin(), timers_.end(), t), timers_.end());
}

uint64_t ManualClock::NextDue() const
{
    uint64_t next = UINT64_MAX;
    for (const TManualTimer* t : timers_)
        if (t->Running() && t->due_ < next)
            next = t->due_;
    return next;
}

void ManualClock::Advance(uint64_t ms)
{
    const uint64_t end = now_ + ms;
    for (;;) {
        // Handlers may create, destroy, enable or disable timers: look again
        // after every expiry instead of keeping an iterator.
        TManualTimer* first = nullptr;
        for (TManualTimer* t : timers_)
            if (t->Running() && t->due_ <= end && (!first || t->due_ < first->due_))
                first = t;
        if (!first)
            break;
        now_ = first->due_;
        first->Expire();
    }
    now_ = end;
}

std::unique_ptr<TManualTimer> ManualClock::CreateTimer(unsigned interval)
{
    return std::unique_ptr<TManualTimer>(new TManualTimer(*this, interval));
}

TManualTimer::TManualTimer(ManualClock& clock, unsigned interval)
    : clock_(&clock), interval_(interval)
{
    clock_->Attach(this);
}

TManualTimer::~TManualTimer()
{
    if (clock_)
        clock_->Detach(this);
}

void TManualTimer::SetInterval(unsigned ms)
{
    if (ms == interval_)
        return;
    interval_ = ms;
    if (enabled_ && clock_)
        due_ = clock_->Now() + interval_;
}

void TManualTimer::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (enabled_ && clock_)
        due_ = clock_->Now() + interval_;
}

void TManualTimer::Expire()
{
    // Periodic: the next expiry is one interval on, unless the handler
    // disables the timer or changes its interval.
    due_ += interval_;
    ++fires_;
    Fire();
}

} // namespace krn310
