#pragma once

#include "platform/serial/SerialLineState.h"

#include <cstdint>
#include <optional>

#include <termios.h>

namespace krn310::serial {

// Edits of a termios record, without a descriptor, so that the mapping of the
// line state is testable on its own.

// Raw 8-bit transfer: no line editing, echo, signals or output processing;
// reads never wait (the device is non-blocking).
void SetRawMode(termios& t);
// False for a rate the system has no constant for.
bool SetSpeed(termios& t, int32_t baud);
std::optional<int32_t> GetSpeed(const termios& t);
// 5 to 8 data bits; false otherwise.
bool SetDataBits(termios& t, unsigned bits);
// kNoParity .. kSpaceParity (mark and space through CMSPAR); false otherwise.
bool SetParity(termios& t, uint8_t parity);
// One and a half stop bits have no flag of their own: two stop bits are set,
// which a UART turns into one and a half with five data bits.
bool SetStopBits(termios& t, uint8_t stopBits);
void SetHardwareFlow(termios& t, bool on);
void SetSoftwareFlow(termios& t, bool output, bool input, char xon, char xoff);
// Checking on: a byte with a parity or framing error is read as NUL.
// Never drops nor marks bytes, so the stream keeps its length.
void SetInputCheck(termios& t, bool check);

// The whole line state; false when some value has no termios meaning.
// Fields termios cannot hold are left to the caller.
bool ApplyLineState(termios& t, const SerialLineState& state);
// Overwrites the fields termios holds, keeps the others.
void ReadLineState(const termios& t, SerialLineState& state);

} // namespace krn310::serial
