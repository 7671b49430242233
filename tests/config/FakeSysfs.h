#pragma once

#include "tests/config/TempDir.h"

#include <filesystem>
#include <optional>
#include <string>

namespace krn310::test {

// A sysfs tree laid out as the kernel lays it out: class/tty/<name> links to
// the tty's directory under devices/, whose "device" link (absent for
// virtual ttys) points at the hardware, with "type" for UART ports.
class FakeSysfs {
public:
    const std::filesystem::path& root() const { return dir_.path(); }

    // devicePath empty: a virtual tty.
    void AddTty(const std::string& name, const std::string& devicePath,
                std::optional<std::string> uartType = std::nullopt)
    {
        namespace fs = std::filesystem;
        const fs::path device = devicePath.empty() ? fs::path("devices/virtual") : fs::path("devices") / devicePath;
        const fs::path tty = device / "tty" / name;
        fs::create_directories(root() / tty);
        WriteFile(root() / tty / "dev", "4:64\n");
        if (!devicePath.empty())
            fs::create_directory_symlink("../..", root() / tty / "device");
        if (uartType)
            WriteFile(root() / tty / "type", *uartType + "\n");
        fs::create_directories(root() / "class/tty");
        fs::create_directory_symlink(fs::path("../..") / tty, root() / "class/tty" / name);
    }

    // A machine with every kind of tty: USB and ACM adapters, an i.MX UART,
    // 8250 ports with and without a UART behind them, and virtual ttys.
    void AddTypicalMachine()
    {
        AddTty("ttyUSB0", "pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/ttyUSB0");
        AddTty("ttyACM0", "pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0");
        AddTty("ttymxc0", "platform/30860000.serial", "62");
        AddTty("ttyS0", "pnp0/00:00/00:00:0/00:00:0.0", "4");
        AddTty("ttyS2", "platform/serial8250/serial8250:0/serial8250:0.2", "4");
        AddTty("ttyS10", "pci0000:00/0000:00:1e.0/0000:05:00.0", "4");
        AddTty("ttyS1", "platform/serial8250/serial8250:0/serial8250:0.1", "0");
        AddTty("ttyS3", "platform/serial8250/serial8250:0/serial8250:0.3", "0");
        AddTty("tty0", "");
        AddTty("tty1", "");
        AddTty("console", "");
        AddTty("ptmx", "");
        AddTty("tty", "");
    }

private:
    TempDir dir_;
};

} // namespace krn310::test
