#include "comm/thread.h"

#include "platform/MessageWindow.h"
#include "platform/WindowMessage.h"

#include <cerrno>
#include <cstdint>
#include <system_error>

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <unistd.h>

namespace krn310 {

TCommThread::TCommThread(bool CreateSuspended, TZComm* owner, int portHandle, THiddenWindow* notifyWindow)
    : owner_(owner), portHandle_(portHandle), notifyWindow_(notifyWindow)
{
    wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
    if (!CreateSuspended)
        Start();
}

TCommThread::~TCommThread()
{
    Terminate();
    WaitFor();
    ::close(wakeFd_);
}

void TCommThread::Start()
{
    if (!thread_.joinable())
        thread_ = std::thread([this] { Execute(); });
}

void TCommThread::Terminate()
{
    terminated_.store(true);
    Wake();
}

void TCommThread::WaitFor()
{
    if (thread_.joinable())
        thread_.join();
}

void TCommThread::NotificationHandled()
{
    notificationOutstanding_.store(false);
    Wake();
}

void TCommThread::Wake()
{
    const uint64_t one = 1;
    // A full counter already means "awake"; nothing else can fail here.
    [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
}

void TCommThread::TakeWakeUps()
{
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &count, sizeof count);
}

// Per-thread nice value: under the normal time-sharing policy the scheduling
// priority of pthread attributes is always 0, so nice is the one step below
// normal that Linux offers, and raising it needs no privilege.
void TCommThread::LowerPriority()
{
    const id_t tid = static_cast<id_t>(gettid());
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, tid);
    if (errno == 0)
        setpriority(PRIO_PROCESS, tid, nice + 1);
    threadId_.store(static_cast<int>(tid));
}

void TCommThread::Execute()
{
    LowerPriority();
    while (!terminated_.load()) {
        pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {portHandle_, POLLIN, 0}};
        // The device is left out while a notification is outstanding and
        // after it has gone, so neither can make the wait return at once.
        const bool watchDevice = !notificationOutstanding_.load() && !deviceLost_.load() && portHandle_ >= 0;
        const int r = ::poll(fds, watchDevice ? 2 : 1, -1);
        if (r < 0) {
            // Anything but a signal would fail again at once: keep to the
            // wake-up descriptor from now on.
            if (errno != EINTR)
                deviceLost_.store(true);
            continue;
        }
        if (fds[0].revents & POLLIN)
            TakeWakeUps();
        if (!watchDevice || terminated_.load())
            continue;
        if (fds[1].revents & POLLIN) {
            notificationOutstanding_.store(true);
            notifyWindow_->Post(WM_USER, static_cast<uint32_t>(portHandle_), 0);
        }
        if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL))
            deviceLost_.store(true);
    }
}

} // namespace krn310
