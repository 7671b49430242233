#pragma once

#include "platform/WindowMessage.h"

#include <QObject>

#include <functional>
#include <map>

class QTimer;

namespace krn310 {

// A hidden window: a receiver on the user-interface thread whose window
// procedure gets every message posted to it, one at a time, in the order they
// were posted. Post() is safe from any thread; everything else belongs to the
// thread that created the window. Messages still queued when the window is
// destroyed are dropped.
class THiddenWindow : public QObject {
public:
    using WindowProc = std::function<void(TMessage&)>;

    explicit THiddenWindow(WindowProc proc);
    ~THiddenWindow() override;

    // Queues a message for the window procedure and returns at once.
    void Post(uint32_t msg, uint32_t wParam, int32_t lParam);

    // Window timers: WM_TIMER with wParam = id every ms milliseconds until
    // KillTimer. Setting an existing id restarts it with the new time.
    void SetTimer(uint32_t id, unsigned ms);
    bool KillTimer(uint32_t id);
    bool TimerRunning(uint32_t id) const { return timers_.count(id) != 0; }

    // Sends a message to the window procedure at once, as SendMessage does.
    int32_t Send(uint32_t msg, uint32_t wParam, int32_t lParam);

protected:
    void customEvent(QEvent* event) override;

private:
    WindowProc proc_;
    std::map<uint32_t, QTimer*> timers_;
};

} // namespace krn310
