#pragma once

#include <atomic>
#include <thread>

namespace krn310 {

class THiddenWindow;
class TZComm;

// The serial port's event thread: waits, without using the processor, until
// the device has received bytes and posts WM_USER (wParam = port handle) to
// the component's window. It never reads, writes or touches the component.
//
// Notifications are paced: after posting, the thread waits until the window
// has handled the notification (NotificationHandled) before it looks at the
// device again, so a burst of bytes gives few notifications.
class TCommThread {
public:
    // Throws std::system_error when the wake-up descriptor or the thread
    // cannot be created.
    TCommThread(bool CreateSuspended, TZComm* owner, int portHandle, THiddenWindow* notifyWindow);
    ~TCommThread();
    TCommThread(const TCommThread&) = delete;
    TCommThread& operator=(const TCommThread&) = delete;

    // Starts a thread created suspended; throws std::system_error when the
    // system refuses a thread.
    void Start();
    // Asks the thread to end and wakes it from its wait.
    void Terminate();
    // Waits until the thread has ended.
    void WaitFor();

    // Called on the user-interface thread once a notification has been handled.
    void NotificationHandled();
    bool NotificationOutstanding() const { return notificationOutstanding_.load(); }

    // True once the device has reported that it is gone.
    bool DeviceLost() const { return deviceLost_.load(); }

    std::thread::native_handle_type NativeHandle() { return thread_.native_handle(); }
    // The system's id of the running thread, 0 until it has started.
    int ThreadId() const { return threadId_.load(); }

private:
    void Execute();
    void Wake();
    void TakeWakeUps();
    void LowerPriority();

    TZComm* owner_;
    const int portHandle_;
    THiddenWindow* const notifyWindow_;
    int wakeFd_ = -1;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> notificationOutstanding_{false};
    std::atomic<bool> deviceLost_{false};
    std::atomic<int> threadId_{0};
    std::thread thread_;
};

} // namespace krn310
