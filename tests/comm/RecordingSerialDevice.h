#pragma once

#include "platform/serial/SerialDevice.h"

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

namespace krn310::test {

// A serial device that records every operation, for what a pseudo-terminal
// cannot show: modem lines, line errors, the order of the steps.
class RecordingSerialDevice final : public serial::ISerialDevice {
public:
    struct Shared {
        std::vector<std::string> calls;
        serial::SerialLineState deviceState;  // what GetLineState reports
        std::vector<serial::SerialLineState> applied;
        serial::SerialTimeouts timeouts;
        bool openSucceeds = true;
        bool setLineStateSucceeds = true;
        bool writeCompletes = true;
        std::deque<uint32_t> pendingErrors;
        std::vector<uint8_t> inQueue;
        std::vector<uint8_t> written;
        bool open = false;
    };

    explicit RecordingSerialDevice(Shared& shared) : s_(shared) {}

    bool Open(const std::string& path) override
    {
        s_.calls.push_back("Open " + path);
        s_.open = s_.openSucceeds;
        return s_.open;
    }
    bool IsOpen() const override { return s_.open; }
    int Handle() const override { return -1; }
    void Close() override
    {
        if (s_.open)
            s_.calls.push_back("Close");
        s_.open = false;
    }
    bool GetLineState(serial::SerialLineState& state) override
    {
        s_.calls.push_back("GetLineState");
        state = s_.deviceState;
        return s_.open;
    }
    bool SetLineState(const serial::SerialLineState& state) override
    {
        s_.calls.push_back("SetLineState");
        s_.applied.push_back(state);
        if (s_.setLineStateSucceeds)
            s_.deviceState = state;
        return s_.open && s_.setLineStateSucceeds;
    }
    bool GetTimeouts(serial::SerialTimeouts& timeouts) override
    {
        s_.calls.push_back("GetTimeouts");
        timeouts = s_.timeouts;
        return s_.open;
    }
    bool SetTimeouts(const serial::SerialTimeouts& timeouts) override
    {
        s_.calls.push_back("SetTimeouts");
        s_.timeouts = timeouts;
        return s_.open;
    }
    bool SetQueueSizes(uint32_t input, uint32_t output) override
    {
        s_.calls.push_back("SetQueueSizes " + std::to_string(input) + " " + std::to_string(output));
        return s_.open;
    }
    bool SetModemLine(serial::ModemLine line, bool on) override
    {
        s_.calls.push_back(std::string(on ? "Set " : "Clear ") + (line == serial::ModemLine::Dtr ? "DTR" : "RTS"));
        return s_.open;
    }
    bool SetBreak(bool on) override
    {
        s_.calls.push_back(on ? "Set BREAK" : "Clear BREAK");
        return s_.open;
    }
    bool SuspendOutput(bool suspended) override
    {
        s_.calls.push_back(suspended ? "XOFF" : "XON");
        return s_.open;
    }
    bool ClearError(uint32_t& errors, serial::ComStat& status) override
    {
        errors = 0;
        if (!s_.pendingErrors.empty()) {
            errors = s_.pendingErrors.front();
            s_.pendingErrors.pop_front();
        }
        status.InQue = static_cast<uint32_t>(s_.inQueue.size());
        status.OutQue = 7;
        return s_.open;
    }
    bool Flush(bool input, bool output) override
    {
        s_.calls.push_back(std::string("Flush") + (input ? " in" : "") + (output ? " out" : ""));
        return s_.open;
    }
    long Read(uint8_t* buffer, size_t len) override
    {
        const size_t n = std::min(len, s_.inQueue.size());
        std::copy_n(s_.inQueue.begin(), n, buffer);
        s_.inQueue.erase(s_.inQueue.begin(), s_.inQueue.begin() + static_cast<long>(n));
        return static_cast<long>(n);
    }
    serial::WriteOutcome Write(const uint8_t* bytes, size_t len, int timeoutMs) override
    {
        s_.calls.push_back("Write " + std::to_string(len) + " " + std::to_string(timeoutMs));
        if (!s_.open || !s_.writeCompletes)
            return {0, false};
        s_.written.insert(s_.written.end(), bytes, bytes + len);
        return {len, true};
    }

private:
    Shared& s_;
};

} // namespace krn310::test
