#include "platform/serial/SerialDevice.h"

#include "platform/serial/TermiosLine.h"

#include <cerrno>
#include <chrono>

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace krn310::serial {

namespace {

template <class Call>
int RetryOnInterrupt(Call call)
{
    int r;
    do {
        r = call();
    } while (r < 0 && errno == EINTR);
    return r;
}

class TermiosSerialDevice final : public ISerialDevice {
public:
    ~TermiosSerialDevice() override { Close(); }

    bool Open(const std::string& path) override
    {
        if (fd_ >= 0 || path.empty())
            return false;
        const int fd = RetryOnInterrupt([&] { return ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC); });
        if (fd < 0)
            return false;
        // Both locks: flock keeps out cooperating programs even when run as
        // root, TIOCEXCL refuses every further open of the terminal.
        if (!isatty(fd) || flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
            ::close(fd);
            return false;
        }
        fd_ = fd;
        applied_ = SerialLineState{};
        timeouts_ = SerialTimeouts{};
        counted_ = ReadCounters(lastCounts_);
        return true;
    }

    bool IsOpen() const override { return fd_ >= 0; }
    int Handle() const override { return fd_; }

    void Close() override
    {
        if (fd_ < 0)
            return;
        ioctl(fd_, TIOCNXCL);
        flock(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
    }

    bool GetLineState(SerialLineState& state) override
    {
        termios t{};
        if (fd_ < 0 || tcgetattr(fd_, &t) != 0)
            return false;
        state = applied_;
        ReadLineState(t, state);
        return true;
    }

    bool SetLineState(const SerialLineState& state) override
    {
        termios t{};
        if (fd_ < 0 || tcgetattr(fd_, &t) != 0 || !ApplyLineState(t, state))
            return false;
        if (RetryOnInterrupt([&] { return tcsetattr(fd_, TCSANOW, &t); }) != 0)
            return false;
        applied_ = state;
        // Applying the settings may drop the modem lines on some drivers;
        // a pseudo-terminal has none, so failures here mean nothing.
        if (state.DtrControl == kLineControlEnable)
            SetModemLine(ModemLine::Dtr, true);
        if (state.RtsControl == kLineControlEnable)
            SetModemLine(ModemLine::Rts, true);
        return true;
    }

    bool GetTimeouts(SerialTimeouts& timeouts) override
    {
        if (fd_ < 0)
            return false;
        timeouts = timeouts_;
        return true;
    }

    // Reads and writes never block here; the component applies its own
    // limits, so the record is only kept.
    bool SetTimeouts(const SerialTimeouts& timeouts) override
    {
        if (fd_ < 0)
            return false;
        timeouts_ = timeouts;
        return true;
    }

    // The kernel sizes its own queues.
    bool SetQueueSizes(uint32_t, uint32_t) override { return fd_ >= 0; }

    bool SetModemLine(ModemLine line, bool on) override
    {
        if (fd_ < 0)
            return false;
        int bits = line == ModemLine::Dtr ? TIOCM_DTR : TIOCM_RTS;
        return ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bits) == 0;
    }

    bool SetBreak(bool on) override { return fd_ >= 0 && ioctl(fd_, on ? TIOCSBRK : TIOCCBRK) == 0; }

    bool SuspendOutput(bool suspended) override { return fd_ >= 0 && tcflow(fd_, suspended ? TCOOFF : TCOON) == 0; }

    bool ClearError(uint32_t& errors, ComStat& status) override
    {
        errors = 0;
        status = ComStat{};
        if (fd_ < 0)
            return false;
        int in = 0;
        int out = 0;
        if (ioctl(fd_, FIONREAD, &in) != 0 || ioctl(fd_, TIOCOUTQ, &out) != 0)
            return false;
        status.InQue = static_cast<uint32_t>(in);
        status.OutQue = static_cast<uint32_t>(out);
        // The driver counts errors since it was loaded; report the growth.
        serial_icounter_struct now{};
        if (counted_ && ReadCounters(now)) {
            if (now.buf_overrun != lastCounts_.buf_overrun)
                errors |= CE_RXOVER;
            if (now.overrun != lastCounts_.overrun)
                errors |= CE_OVERRUN;
            if (now.parity != lastCounts_.parity)
                errors |= CE_RXPARITY;
            if (now.frame != lastCounts_.frame)
                errors |= CE_FRAME;
            if (now.brk != lastCounts_.brk)
                errors |= CE_BREAK;
            lastCounts_ = now;
        }
        return true;
    }

    bool Flush(bool input, bool output) override
    {
        if (fd_ < 0)
            return false;
        if (!input && !output)
            return true;
        return tcflush(fd_, input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH) == 0;
    }

    long Read(uint8_t* buffer, size_t len) override
    {
        if (fd_ < 0)
            return -1;
        ssize_t n;
        do {
            n = ::read(fd_, buffer, len);
        } while (n < 0 && errno == EINTR);
        if (n < 0)
            return errno == EAGAIN ? 0 : -1;
        return static_cast<long>(n);
    }

    WriteOutcome Write(const uint8_t* bytes, size_t len, int timeoutMs) override
    {
        WriteOutcome outcome;
        if (fd_ < 0)
            return outcome;
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (outcome.Written < len) {
            const ssize_t n = ::write(fd_, bytes + outcome.Written, len - outcome.Written);
            if (n > 0) {
                outcome.Written += static_cast<size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno != EAGAIN)
                return outcome;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                return outcome;
            pollfd p{fd_, POLLOUT, 0};
            const int r = ::poll(&p, 1, static_cast<int>(left));
            if (r < 0 && errno != EINTR)
                return outcome;
            if (r > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)))
                return outcome;
        }
        outcome.Completed = true;
        return outcome;
    }

private:
    bool ReadCounters(serial_icounter_struct& counts) const { return ioctl(fd_, TIOCGICOUNT, &counts) == 0; }

    int fd_ = -1;
    SerialLineState applied_;
    SerialTimeouts timeouts_;
    bool counted_ = false;
    serial_icounter_struct lastCounts_{};
};

} // namespace

std::unique_ptr<ISerialDevice> MakeSystemSerialDevice()
{
    return std::make_unique<TermiosSerialDevice>();
}

} // namespace krn310::serial
