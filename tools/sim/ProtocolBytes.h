#pragma once

#include <array>
#include <cstdint>

// The printer's side of the wire protocol, kept apart from the configurator's
// own tables on purpose: the simulator is a second, independent reading of it.
namespace krn310::sim::wire {

inline constexpr uint8_t Esc = 0x1B;
inline constexpr uint8_t Gs = 0x1D;
inline constexpr uint8_t Dle = 0x10;
inline constexpr uint8_t Eot = 0x04;

inline constexpr uint8_t GsIdentify = 0x49;        // GS I n
inline constexpr uint8_t GsParen = 0x28;           // GS ( E ...
inline constexpr uint8_t GsParenUserSetup = 0x45;
inline constexpr uint8_t UserSetupLengthLow = 0x02; // pL pH count only fn and selector
inline constexpr uint8_t UserSetupLengthHigh = 0x00;
inline constexpr uint8_t FunctionWrite = 0x05;
inline constexpr uint8_t FunctionRead = 0x06;
inline constexpr uint8_t EscInitialize = 0x40;     // ESC @
inline constexpr uint8_t EscRestart = 0x42;        // ESC B

inline constexpr uint8_t SelectorSet1 = 't';
inline constexpr uint8_t SelectorSet2Printer = 'u';
inline constexpr uint8_t SelectorSet2Network = 'x';
inline constexpr uint8_t SelectorFactorySet1 = 'v';
inline constexpr uint8_t SelectorFactorySet2 = 'w';

inline constexpr size_t UserSetupHeadLength = 7;   // 1D 28 45 02 00 fn sel
inline constexpr size_t BlockLength = 256;

// Leads every identification answer; the configurator skips it unread.
inline constexpr uint8_t IdentificationHeader = 0x5F;
inline constexpr uint8_t IdentificationEnd = 0x00;

inline constexpr std::array<uint8_t, 2> RestartReply = {Esc, EscRestart};

}  // namespace krn310::sim::wire
