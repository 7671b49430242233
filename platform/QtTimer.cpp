#include "platform/QtTimer.h"

namespace krn310 {

TQtTimer::TQtTimer(unsigned interval) : interval_(interval)
{
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(static_cast<int>(interval_));
    QObject::connect(&timer_, &QTimer::timeout, [this] { Fire(); });
}

void TQtTimer::SetInterval(unsigned ms)
{
    if (ms == interval_)
        return;
    interval_ = ms;
    // QTimer restarts a running timer when its interval is set, which is
    // exactly the rule for a changed interval.
    timer_.setInterval(static_cast<int>(interval_));
    if (enabled_ && interval_ > 0 && !timer_.isActive())
        timer_.start();
    if (interval_ == 0)
        timer_.stop();
}

void TQtTimer::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (enabled_ && interval_ > 0)
        timer_.start();
    else
        timer_.stop();
}

} // namespace krn310
