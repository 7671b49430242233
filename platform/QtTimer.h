#pragma once

#include "platform/Timer.h"

#include <QTimer>

namespace krn310 {

// TTimer on Qt's event loop. Precise timing, since the flows count on whole
// seconds and the watchdog on tenths.
class TQtTimer : public TTimer {
public:
    explicit TQtTimer(unsigned interval = 1000);

    void SetInterval(unsigned ms) override;
    unsigned Interval() const override { return interval_; }
    void SetEnabled(bool enabled) override;
    bool Enabled() const override { return enabled_; }

private:
    QTimer timer_;
    unsigned interval_;
    bool enabled_ = false;
};

} // namespace krn310
