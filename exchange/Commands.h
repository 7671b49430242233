#pragma once

#include <array>
#include <cstdint>

namespace krn310 {

// Every command the configurator sends, byte for byte, without terminator.
// GS ( E takes pL pH = 02 00, counting only the function byte and the
// selector letter; for function 5 the block bytes and a trailer follow
// uncounted.

using Command2 = std::array<uint8_t, 2>;
using Command3 = std::array<uint8_t, 3>;
using Command7 = std::array<uint8_t, 7>;

inline constexpr Command3 ModelNameCommand = {0x1D, 0x49, 0x43};        // GS I 'C'
inline constexpr Command3 MakerNameCommand = {0x1D, 0x49, 0x42};        // GS I 'B'
inline constexpr Command3 FirmwareVersionCommand = {0x1D, 0x49, 0x41};  // GS I 'A'
inline constexpr Command3 SerialNumberCommand = {0x1D, 0x49, 0x44};     // GS I 'D'

inline constexpr Command3 PrinterStatusCommand = {0x10, 0x04, 0x01};    // DLE EOT 1
inline constexpr Command3 OfflineStatusCommand = {0x10, 0x04, 0x02};    // DLE EOT 2
inline constexpr Command3 PaperStatusCommand = {0x10, 0x04, 0x04};      // DLE EOT 4, roll paper sensor

// GS ( E function 6: read a settings block.
inline constexpr Command7 ReadSet1Command = {0x1D, 0x28, 0x45, 0x02, 0x00, 0x06, 0x74};         // 't'
inline constexpr Command7 ReadSet2PrinterCommand = {0x1D, 0x28, 0x45, 0x02, 0x00, 0x06, 0x75};  // 'u'
inline constexpr Command7 ReadSet2NetworkCommand = {0x1D, 0x28, 0x45, 0x02, 0x00, 0x06, 0x78};  // 'x'

// GS ( E function 5: heads of the block writes, 256 block bytes follow.
inline constexpr Command7 WriteSet1Command = {0x1D, 0x28, 0x45, 0x02, 0x00, 0x05, 0x74};         // 't'
inline constexpr Command7 WriteSet2PrinterCommand = {0x1D, 0x28, 0x45, 0x02, 0x00, 0x05, 0x75};  // 'u'
inline constexpr Command7 WriteSet2NetworkCommand = {0x1D, 0x28, 0x45, 0x02, 0x00, 0x05, 0x78};  // 'x'

// GS ( E function 5 with 'v' / 'w': restore the factory values of set 1 / set 2.
inline constexpr Command7 FactorySet1Command = {0x1D, 0x28, 0x45, 0x02, 0x00, 0x05, 0x76};
inline constexpr Command7 FactorySet2Command = {0x1D, 0x28, 0x45, 0x02, 0x00, 0x05, 0x77};

inline constexpr Command2 InitializeCommand = {0x1B, 0x40};  // ESC @, trailer of the set 1 messages
inline constexpr Command2 RestartCommand = {0x1B, 0x42};     // ESC B, the printer restarts; it answers 1B 42

// A settings block travels as 256 bytes in each direction.
inline constexpr uint32_t kBlockReplyLength = 256;

} // namespace krn310
