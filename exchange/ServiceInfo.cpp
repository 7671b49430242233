#include "exchange/ServiceInfo.h"

#include "platform/AnsiText.h"
#include "platform/StringTable.h"

namespace krn310 {

namespace {

constexpr uint8_t kDrawerBit = 0x04;       // DLE EOT 1, set: drawer closed
constexpr uint8_t kCoverBit = 0x04;        // DLE EOT 2, set: cover open
constexpr uint8_t kErrorBit = 0x40;        // DLE EOT 2
constexpr uint8_t kNearEndBits = 0x0C;     // DLE EOT 4
constexpr uint8_t kPaperOutBits = 0x60;    // DLE EOT 4

int Pick(bool test, int whenSet, int otherwise)
{
    return test ? whenSet : otherwise;
}

} // namespace

std::string IdentificationText(const uint8_t* reply, uint32_t length)
{
    if (length < 2)
        return {};
    return AnsiToUtf8(std::span<const uint8_t>(reply + 1, length - 2));
}

StatusLines DecodeStatus(StatusKind kind, uint8_t b)
{
    switch (kind) {
    case StatusKind::Printer:
        return {{{{IDS_DRAWER, Pick(b & kDrawerBit, IDS_CLOSED, IDS_OPEN)}, {0, 0}}}, 1};
    case StatusKind::Offline:
        return {{{{IDS_COVER, Pick(b & kCoverBit, IDS_OPEN, IDS_CLOSED)},
                  {IDS_PRINTER_STATE, Pick(b & kErrorBit, IDS_ERROR, IDS_NORMAL)}}},
                2};
    case StatusKind::Paper:
        return {{{{IDS_NEAR_END_SENSOR, Pick(b & kNearEndBits, IDS_NEAR_END, IDS_NORMAL)},
                  {IDS_PAPER_SENSOR, Pick(b & kPaperOutBits, IDS_PAPER_OUT, IDS_NORMAL)}}},
                2};
    }
    return {{}, 0};
}

} // namespace krn310
