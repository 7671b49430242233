#pragma once

#include <cstdint>

namespace krn310::serial {

// The line state of a serial device in the component's own terms (one field
// per line-state flag the component sets); a device maps it onto whatever its
// system offers and keeps what the system cannot hold.
inline constexpr uint8_t kNoParity = 0;
inline constexpr uint8_t kOddParity = 1;
inline constexpr uint8_t kEvenParity = 2;
inline constexpr uint8_t kMarkParity = 3;
inline constexpr uint8_t kSpaceParity = 4;

inline constexpr uint8_t kOneStopBit = 0;
inline constexpr uint8_t kOne5StopBits = 1;
inline constexpr uint8_t kTwoStopBits = 2;

inline constexpr uint8_t kLineControlDisable = 0;
inline constexpr uint8_t kLineControlEnable = 1;
inline constexpr uint8_t kLineControlHandshake = 2;

struct SerialLineState {
    int32_t BaudRate = 9600;
    uint8_t ByteSize = 8;
    uint8_t Parity = kNoParity;
    uint8_t StopBits = kOneStopBit;
    bool Binary = true;
    bool ParityCheck = false;
    bool OutxCtsFlow = false;
    bool OutxDsrFlow = false;
    uint8_t DtrControl = kLineControlEnable;
    bool DsrSensitivity = false;
    bool TXContinueOnXoff = false;
    bool OutX = false;
    bool InX = false;
    bool ErrorReplace = false;
    bool DiscardNull = false;
    uint8_t RtsControl = kLineControlEnable;
    bool AbortOnError = false;
    uint16_t XonLim = 0;
    uint16_t XoffLim = 0;
    char XonChar = 17;
    char XoffChar = 19;

    bool operator==(const SerialLineState&) const = default;
};

// Read and write time-outs in milliseconds, kept with the device.
struct SerialTimeouts {
    uint32_t ReadIntervalTimeout = 0;
    uint32_t ReadTotalTimeoutMultiplier = 0;
    uint32_t ReadTotalTimeoutConstant = 0;
    uint32_t WriteTotalTimeoutMultiplier = 0;
    uint32_t WriteTotalTimeoutConstant = 0;

    bool operator==(const SerialTimeouts&) const = default;
};

// Queue counts as a line-status query gives them.
struct ComStat {
    uint32_t Flags = 0;
    uint32_t InQue = 0;
    uint32_t OutQue = 0;
};

// Line-error flags reported (and cleared) by a line-status query.
inline constexpr uint32_t CE_RXOVER = 0x0001;   // receive buffer overflow
inline constexpr uint32_t CE_OVERRUN = 0x0002;  // character lost by the UART
inline constexpr uint32_t CE_RXPARITY = 0x0004;
inline constexpr uint32_t CE_FRAME = 0x0008;
inline constexpr uint32_t CE_BREAK = 0x0010;

} // namespace krn310::serial
