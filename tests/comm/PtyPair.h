#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

namespace krn310::test {

// A pseudo-terminal: the component opens SlavePath(), the test holds the
// master and plays the other end of the line.
class PtyPair {
public:
    PtyPair()
    {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0)
            slavePath_ = ptsname(master_);
    }
    ~PtyPair() { CloseMaster(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool Ok() const { return master_ >= 0 && !slavePath_.empty(); }
    const std::string& SlavePath() const { return slavePath_; }
    int Master() const { return master_; }

    void CloseMaster()
    {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

    bool Send(const std::vector<uint8_t>& bytes)
    {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n > 0) {
                done += static_cast<size_t>(n);
                continue;
            }
            pollfd p{master_, POLLOUT, 0};
            if (::poll(&p, 1, 5000) <= 0)
                return false;
        }
        return true;
    }

    // Collects what the component sent until count bytes have come or the
    // limit (only a guard against hangs) has passed.
    std::vector<uint8_t> Receive(size_t count, int limitMs = 5000)
    {
        std::vector<uint8_t> got;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
            uint8_t chunk[4096];
            const ssize_t n = ::read(master_, chunk, sizeof chunk);
            if (n > 0) {
                got.insert(got.end(), chunk, chunk + n);
                continue;
            }
            pollfd p{master_, POLLIN, 0};
            ::poll(&p, 1, 20);
        }
        return got;
    }

private:
    int master_ = -1;
    std::string slavePath_;
};

// Waits on the test's own thread, without the event loop, until done() holds.
template <class Done>
bool WaitWithoutEvents(Done done, int limitMs = 5000)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!done() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return done();
}

} // namespace krn310::test
