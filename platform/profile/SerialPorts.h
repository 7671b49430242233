#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace krn310 {

inline const std::filesystem::path kSysfsRoot = "/sys";

// The serial ports this machine has, named as under /dev ("ttyS0",
// "ttyUSB0", "ttyACM0"), in byte order of their names. Taken from
// <sysfsRoot>/class/tty: entries with a device behind them (virtual consoles,
// "tty", "console" and "ptmx" have none), without UART ports whose "type"
// says no UART was found (the 8250 driver registers placeholders ttyS0..ttySn
// whether or not the hardware exists). Empty when the tree cannot be read.
std::vector<std::string> ListSerialPorts(const std::filesystem::path& sysfsRoot = kSysfsRoot);

} // namespace krn310
