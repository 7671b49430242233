#include "bench/ReadAllCommands.h"

#include "exchange/Commands.h"

namespace krn310 {

std::vector<std::vector<uint8_t>> ReadAllCommands()
{
    const auto bytes = [](const auto& command) { return std::vector<uint8_t>(command.begin(), command.end()); };
    return {bytes(ModelNameCommand),    bytes(MakerNameCommand),     bytes(FirmwareVersionCommand),
            bytes(SerialNumberCommand), bytes(PrinterStatusCommand), bytes(OfflineStatusCommand),
            bytes(PaperStatusCommand),  bytes(ReadSet1Command),      bytes(ReadSet2PrinterCommand),
            bytes(ReadSet2NetworkCommand)};
}

} // namespace krn310
