#include "platform/net/HostResolver.h"
#include "platform/net/LoopbackGuard.h"
#include "platform/net/WinSock.h"
#include "platform/net/WinSockErrors.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>

namespace krn310::net {

namespace {

// Under the loopback guard a name stands only for its loopback addresses.
int ResolveGuarded(IHostResolver& resolver, const std::string& name, THostEntry& entry, bool loopbackOnly)
{
    const int error = resolver.Resolve(name, entry);
    if (error != 0 || !loopbackOnly)
        return error;
    std::erase_if(entry.h_addr_list, [](uint32_t address) { return !IsLoopbackAddress(address); });
    return entry.h_addr_list.empty() ? WSAENETUNREACH : 0;
}

// Runs the lookup on a thread of its own, which hands its outcome to done
// and ends; throws std::system_error when no thread can be had.
void StartLookup(const std::string& name, std::function<void(int, THostEntry&)> done)
{
    std::thread([resolver = CurrentHostResolver(), name, loopbackOnly = LoopbackOnly(), done = std::move(done)] {
        THostEntry found;
        const int error = ResolveGuarded(*resolver, name, found, loopbackOnly);
        done(error, found);
    }).detach();
}

struct BlockingLookup {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    int error = 0;
    THostEntry entry;
};

} // namespace

// Shared with the worker thread; the worker posts only while window is set,
// and clearing it under the mutex is what makes a cancel or a cleanup final.
struct TWinSock::AsyncLookup {
    std::mutex mutex;
    THiddenWindow* window = nullptr;
    uint32_t msg = 0;
    uint32_t handle = 0;
    bool finished = false;
    int error = 0;
    THostEntry entry;
};

int TWinSock::GetHostByName(const std::string& name, THostEntry& entry, int limitMs,
                            const std::function<void()>& onLimit)
{
    auto lookup = std::make_shared<BlockingLookup>();
    try {
        // A name that cannot be looked up must not hold this thread longer
        // than the limit, so the lookup runs apart and may be given up.
        StartLookup(name, [lookup](int error, THostEntry& found) {
            std::lock_guard lock(lookup->mutex);
            lookup->error = error;
            lookup->entry = std::move(found);
            lookup->done = true;
            lookup->finished.notify_all();
        });
    } catch (const std::system_error&) {
        return Fail(WSAENOBUFS);
    }

    std::unique_lock lock(lookup->mutex);
    const auto done = [&] { return lookup->done; };
    if (limitMs < 0) {
        lookup->finished.wait(lock, done);
    } else if (!lookup->finished.wait_for(lock, std::chrono::milliseconds(limitMs), done)) {
        lock.unlock();
        blocking_ = true;
        blockingCancelled_ = false;
        if (onLimit)
            onLimit();
        blocking_ = false;
        return Fail(blockingCancelled_ ? WSAEINTR : WSAETIMEDOUT);
    }
    if (lookup->error != 0)
        return Fail(lookup->error);
    entry = std::move(lookup->entry);
    return 0;
}

int TWinSock::CancelBlockingCall()
{
    if (!blocking_)
        return Fail(WSAEINVAL);
    blockingCancelled_ = true;
    return 0;
}

uint32_t TWinSock::AsyncGetHostByName(THiddenWindow* window, uint32_t msg, const std::string& name)
{
    if (window == nullptr) {
        Fail(WSAEINVAL);
        return 0;
    }
    auto lookup = std::make_shared<AsyncLookup>();
    lookup->window = window;
    lookup->msg = msg;
    lookup->handle = nextLookup_++;
    if (nextLookup_ == 0)
        nextLookup_ = 1;
    try {
        StartLookup(name, [lookup](int error, THostEntry& found) {
            std::lock_guard lock(lookup->mutex);
            lookup->finished = true;
            lookup->error = error;
            lookup->entry = std::move(found);
            if (lookup->window)
                lookup->window->Post(lookup->msg, lookup->handle, MakeSelectLParam(0, error));
        });
    } catch (const std::system_error&) {
        Fail(WSAENOBUFS);
        return 0;
    }
    lookups_[lookup->handle] = lookup;
    return lookup->handle;
}

bool TWinSock::TakeAsyncHostEntry(uint32_t handle, THostEntry& entry)
{
    auto it = lookups_.find(handle);
    if (it == lookups_.end())
        return false;
    std::shared_ptr<AsyncLookup> lookup = it->second;
    std::lock_guard lock(lookup->mutex);
    if (!lookup->finished)
        return false;
    lookups_.erase(it);
    if (lookup->error != 0)
        return false;
    entry = lookup->entry;
    return true;
}

int TWinSock::CancelAsyncRequest(uint32_t handle)
{
    auto it = lookups_.find(handle);
    if (it == lookups_.end())
        return Fail(WSAEINVAL);
    std::shared_ptr<AsyncLookup> lookup = it->second;
    std::lock_guard lock(lookup->mutex);
    if (lookup->finished)
        return Fail(WSAEALREADY);
    lookup->window = nullptr;
    lookups_.erase(it);
    return 0;
}

void TWinSock::ForgetLookups()
{
    for (auto& [handle, lookup] : lookups_) {
        std::lock_guard lock(lookup->mutex);
        lookup->window = nullptr;
    }
    lookups_.clear();
}

} // namespace krn310::net
