#include "platform/profile/SerialPorts.h"

#include "tests/config/FakeSysfs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace krn310 {
namespace {

using Names = std::vector<std::string>;

TEST(SerialPortsTest, ListsRealPortsOnly)
{
    test::FakeSysfs sysfs;
    sysfs.AddTypicalMachine();
    EXPECT_EQ(ListSerialPorts(sysfs.root()), (Names{"ttyACM0", "ttyS0", "ttyS10", "ttyS2", "ttyUSB0", "ttymxc0"}));
}

TEST(SerialPortsTest, EdgesOfTheTree)
{
    struct Case {
        const char* name;
        void (*build)(test::FakeSysfs&);
        Names expected;
    };
    const Case cases[] = {
        {"no tty class at all", [](test::FakeSysfs&) {}, {}},
        {"only virtual ttys",
         [](test::FakeSysfs& s) {
             s.AddTty("tty0", "");
             s.AddTty("console", "");
         },
         {}},
        {"only placeholder UARTs",
         [](test::FakeSysfs& s) {
             s.AddTty("ttyS0", "platform/serial8250/serial8250:0/serial8250:0.0", "0");
             s.AddTty("ttyS1", "platform/serial8250/serial8250:0/serial8250:0.1", "0");
         },
         {}},
        {"unreadable UART type counts as present",
         [](test::FakeSysfs& s) { s.AddTty("ttyS0", "pnp0/00:00/00:00:0/00:00:0.0", "garbage"); },
         {"ttyS0"}},
        {"dangling device link",
         [](test::FakeSysfs& s) {
             s.AddTty("ttyUSB0", "pci0000:00/usb1/1-1");
             std::filesystem::remove_all(s.root() / "devices/pci0000:00/usb1/1-1/tty/ttyUSB0/device");
             std::filesystem::create_directory_symlink("../../gone",
                                                       s.root() / "devices/pci0000:00/usb1/1-1/tty/ttyUSB0/device");
         },
         {}},
        {"nested device name",
         [](test::FakeSysfs& s) { s.AddTty("serial!port0", "platform/uart0"); },
         {"serial/port0"}},
    };
    for (const Case& c : cases) {
        test::FakeSysfs sysfs;
        c.build(sysfs);
        EXPECT_EQ(ListSerialPorts(sysfs.root()), c.expected) << c.name;
    }
}

TEST(SerialPortsTest, ThisMachineListsNoVirtualTty)
{
    const Names ports = ListSerialPorts();
    for (const char* virtualTty : {"tty", "tty0", "tty1", "console", "ptmx"})
        EXPECT_EQ(std::count(ports.begin(), ports.end(), virtualTty), 0) << virtualTty;
    for (const std::string& port : ports)
        EXPECT_TRUE(std::filesystem::exists(kSysfsRoot / "class/tty" / port / "device")) << port;
}

} // namespace
} // namespace krn310
