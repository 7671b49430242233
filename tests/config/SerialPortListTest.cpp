#include "config/LocalConfig.h"

#include "tests/config/FakeSysfs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace krn310 {
namespace {

using Names = std::vector<std::string>;

TEST(FillSerialPortListTest, SortsAsTextIgnoringCaseAndSelectsTheFirst)
{
    test::FakeSysfs sysfs;
    sysfs.AddTypicalMachine();
    ListControl comboBox2;
    FillSerialPortList(comboBox2, sysfs.root());
    EXPECT_EQ(comboBox2.items, (Names{"ttyACM0", "ttymxc0", "ttyS0", "ttyS10", "ttyS2", "ttyUSB0"}));
    EXPECT_EQ(comboBox2.itemIndex, 0);
}

TEST(FillSerialPortListTest, NamesEqualButForCaseKeepAFixedOrder)
{
    test::FakeSysfs sysfs;
    sysfs.AddTty("ttyab0", "platform/b");
    sysfs.AddTty("ttyAB0", "platform/a");
    sysfs.AddTty("ttyAa0", "platform/c");
    ListControl comboBox2;
    FillSerialPortList(comboBox2, sysfs.root());
    EXPECT_EQ(comboBox2.items, (Names{"ttyAa0", "ttyAB0", "ttyab0"}));
}

TEST(FillSerialPortListTest, NoPortsLeaveTheListEmptyWithoutSelection)
{
    test::FakeSysfs sysfs;
    sysfs.AddTty("tty0", "");
    sysfs.AddTty("ttyS0", "platform/serial8250/serial8250:0/serial8250:0.0", "0");
    ListControl comboBox2{{"stale"}, 0};
    FillSerialPortList(comboBox2, sysfs.root());
    EXPECT_TRUE(comboBox2.items.empty());
    EXPECT_EQ(comboBox2.itemIndex, -1);
}

} // namespace
} // namespace krn310
