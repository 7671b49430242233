#pragma once

#include "exchange/Commands.h"

#include <cstdint>

namespace krn310 {

// How each receive step knows that its reply is whole. A reply is the bytes
// collected so far from index 0.

// GS I: a header byte, the text, a 00 byte.
inline bool IsIdentificationComplete(const uint8_t* reply, uint32_t length)
{
    return length >= 1 && reply[length - 1] == 0x00;
}

// DLE EOT: one status byte.
inline bool IsStatusComplete(uint32_t length)
{
    return length >= 1;
}

// GS ( E function 6: the 256-byte block.
inline bool IsBlockComplete(uint32_t length)
{
    return length >= kBlockReplyLength;
}

// The answer to a message ending in ESC B begins 1B 42.
inline bool IsRestartReplyComplete(const uint8_t* reply, uint32_t length)
{
    return length >= 2 && reply[0] == RestartCommand[0] && reply[1] == RestartCommand[1];
}

} // namespace krn310
