#pragma once

#include "platform/serial/SerialLineState.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace krn310::serial {

enum class ModemLine { Dtr, Rts };

struct WriteOutcome {
    size_t Written = 0;     // bytes the device accepted
    bool Completed = false; // all of them were accepted within the time limit
};

// One serial device, as the serial component uses it. The component and its
// event thread share the descriptor: the thread only waits on Handle(), all
// other calls come from the user-interface thread.
class ISerialDevice {
public:
    virtual ~ISerialDevice() = default;

    // Opens the device for exclusive use without waiting; false when it is
    // missing, not a terminal, or held open by someone else.
    virtual bool Open(const std::string& path) = 0;
    virtual bool IsOpen() const = 0;
    // The descriptor to wait on for received bytes; -1 when there is none.
    virtual int Handle() const = 0;
    virtual void Close() = 0;

    virtual bool GetLineState(SerialLineState& state) = 0;
    virtual bool SetLineState(const SerialLineState& state) = 0;
    virtual bool GetTimeouts(SerialTimeouts& timeouts) = 0;
    virtual bool SetTimeouts(const SerialTimeouts& timeouts) = 0;
    virtual bool SetQueueSizes(uint32_t input, uint32_t output) = 0;

    virtual bool SetModemLine(ModemLine line, bool on) = 0;
    virtual bool SetBreak(bool on) = 0;
    // Stops or resumes output as a received XOFF or XON would.
    virtual bool SuspendOutput(bool suspended) = 0;

    // Gives the line errors seen since the last call (CE_ flags) and the
    // queue counts, and clears the errors.
    virtual bool ClearError(uint32_t& errors, ComStat& status) = 0;
    // Discards what is queued in the chosen directions.
    virtual bool Flush(bool input, bool output) = 0;

    // Takes up to len bytes already received; never waits. Bytes read, or -1.
    virtual long Read(uint8_t* buffer, size_t len) = 0;
    // Hands all len bytes to the device, waiting for room at most timeoutMs.
    virtual WriteOutcome Write(const uint8_t* bytes, size_t len, int timeoutMs) = 0;
};

// The host's serial devices (termios).
std::unique_ptr<ISerialDevice> MakeSystemSerialDevice();

} // namespace krn310::serial
