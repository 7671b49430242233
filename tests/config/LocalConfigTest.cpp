#include "config/LocalConfig.h"

#include "platform/MessageBox.h"
#include "platform/profile/AtomicFile.h"
#include "platform/profile/ExecutablePath.h"
#include "platform/profile/PrivateProfile.h"

#include "tests/config/ChildProcess.h"
#include "tests/config/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace krn310 {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

const std::vector<std::string> kBaudRates = {"115200", "57600", "38400", "28800", "19200", "14400",
                                             "9600",   "4800",  "2400",  "1200",  "600"};

// The connection view as the window's design leaves it, with the given ports
// already filled in. The edits start empty so that the defaults must come
// from the loader.
ConnectionControls DesignControls(std::vector<std::string> ports)
{
    ConnectionControls c;
    c.ComboBox1 = {{"RS-232", "Ethernet"}, 0};
    c.ComboBox2 = {std::move(ports), -1};
    if (!c.ComboBox2.items.empty())
        c.ComboBox2.itemIndex = 0;
    c.ComboBox3 = {kBaudRates, 0};
    return c;
}

const std::vector<std::string> kPorts = {"ttyS0", "ttyS1", "ttyUSB0"};

// What an operator leaves behind: Ethernet, ttyUSB0, 9600 and the given edits.
ConnectionControls EditedControls(std::string ip, std::string port)
{
    ConnectionControls c = DesignControls(kPorts);
    c.ComboBox1.itemIndex = 1;
    c.ComboBox2.itemIndex = 2;
    c.ComboBox3.itemIndex = 6;
    c.Edit8 = std::move(ip);
    c.Edit9 = std::move(port);
    return c;
}

class RecordingSink : public IMessageBoxSink {
public:
    void Show(const std::string& text, const std::string&, MessageBoxKind) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

class LocalConfigTest : public ::testing::Test {
protected:
    ConnectionControls Load(const std::vector<std::string>& ports = kPorts)
    {
        ConnectionControls c = DesignControls(ports);
        LoadLocalConfig(c, file);
        return c;
    }

    test::TempDir dir;
    fs::path file = dir / "krn310.INI";
    RecordingSink sink;
    ScopedMessageBoxSink sinkScope{sink};
};

TEST(ConfigFilePathTest, ReplacesOrAppendsTheExtension)
{
    struct Case {
        const char* executable;
        const char* expected;
    };
    const Case cases[] = {
        {"/opt/krn310/krn310", "/opt/krn310/krn310.INI"},
        {"/opt/krn310/krn310.bin", "/opt/krn310/krn310.INI"},
        {"/opt/krn310/krn310.ini", "/opt/krn310/krn310.INI"},
        {"/opt/krn.310/krn310", "/opt/krn.310/krn310.INI"},
        {"/opt/krn310/krn310.v1.01", "/opt/krn310/krn310.v1.INI"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConfigFilePath(c.executable), fs::path(c.expected)) << c.executable;
}

TEST(ConfigFilePathTest, LiesBesideTheRunningProgram)
{
    fs::path expected = ExecutablePath();
    expected += ".INI";
    EXPECT_EQ(ConfigFilePath(), expected);
}

TEST_F(LocalConfigTest, FirstRunWithoutFileGivesTheDefaults)
{
    const ConnectionControls c = Load({"ttyS0", "ttyUSB0"});
    EXPECT_EQ(c.ComboBox1.itemIndex, 0);
    EXPECT_EQ(c.ComboBox2.itemIndex, 0);
    EXPECT_EQ(c.ComboBox3.itemIndex, 0);
    EXPECT_EQ(SelectedText(c.ComboBox3), "115200");
    EXPECT_EQ(c.Edit8, "192.168.0.100");
    EXPECT_EQ(c.Edit9, "62002");
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(LocalConfigTest, SavesTheFiveKeysInOrder)
{
    SaveLocalConfig(EditedControls("10.1.2.3", "9100"), file);
    EXPECT_EQ(ReadFile(file),
              "[CONFIG]\nINTERFACE_TYPE=1\nCOM_PORT=ttyUSB0\nBAUD_RATE=9600\nETHER_IP=10.1.2.3\nETHER_PORT=9100\n");

    const ConnectionControls loaded = Load();
    EXPECT_EQ(loaded.ComboBox1.itemIndex, 1);
    EXPECT_EQ(loaded.ComboBox2.itemIndex, 2);
    EXPECT_EQ(loaded.ComboBox3.itemIndex, 6);
    EXPECT_EQ(loaded.Edit8, "10.1.2.3");
    EXPECT_EQ(loaded.Edit9, "9100");
}

TEST_F(LocalConfigTest, StoredPortAndBaudRateSelectTheirItem)
{
    struct Case {
        std::optional<std::string> comPort;  // nothing: key missing
        std::optional<std::string> baudRate;
        int port;
        int baud;
    };
    const Case cases[] = {
        {"ttyUSB0", "9600", 2, 6},
        {"ttyS1", "600", 1, 10},
        {"ttyS9", "9601", 0, 0},        // the machine lacks the port
        {"TTYUSB0", "9600 ", 0, 6},     // case differs; blanks at the end dropped
        {"ttyusb0", "115200", 0, 0},
        {"", "", 0, 0},
        {std::nullopt, std::nullopt, 0, 0},
    };
    for (const Case& c : cases) {
        std::string text = "[CONFIG]\n";
        if (c.comPort)
            text += "COM_PORT=" + *c.comPort + "\n";
        if (c.baudRate)
            text += "BAUD_RATE=" + *c.baudRate + "\n";
        WriteFile(file, text);
        const ConnectionControls loaded = Load();
        EXPECT_EQ(loaded.ComboBox2.itemIndex, c.port) << text;
        EXPECT_EQ(loaded.ComboBox3.itemIndex, c.baud) << text;
    }
}

TEST_F(LocalConfigTest, InterfaceTypeIsParsedAndRangeLeavesNoSelection)
{
    struct Case {
        std::optional<std::string> stored;
        int itemIndex;
    };
    const Case cases[] = {
        {"0", 0},   {"1", 1},    {"7", -1},   {"-1", -1},  {"0x1", 1},   {"0X1", 1},  {"0x0", 0},
        {"0x7", -1}, {"01", 1},  {"", 0},     {"abc", 0},  {"1x", 0},    {"0x", 0},   {"0x-1", 0},
        {" 1 ", 1}, {"99999999999", 0}, {std::nullopt, 0},
    };
    for (const Case& c : cases) {
        WriteFile(file, c.stored ? "[CONFIG]\nINTERFACE_TYPE=" + *c.stored + "\n" : "[CONFIG]\n");
        EXPECT_EQ(Load().ComboBox1.itemIndex, c.itemIndex) << (c.stored ? *c.stored : "(missing)");
    }
}

TEST_F(LocalConfigTest, NoInterfaceIsWrittenBackAsMinusOne)
{
    WriteFile(file, "[CONFIG]\nINTERFACE_TYPE=7\n");
    const ConnectionControls c = Load();
    ASSERT_EQ(c.ComboBox1.itemIndex, -1);
    SaveLocalConfig(c, file);
    EXPECT_EQ(GetPrivateProfileString("CONFIG", "INTERFACE_TYPE", "", file), "-1");
    EXPECT_EQ(Load().ComboBox1.itemIndex, -1);
}

TEST_F(LocalConfigTest, NoSerialPortsAtAll)
{
    WriteFile(file, "[CONFIG]\nCOM_PORT=ttyS0\n");
    ConnectionControls c = Load({});
    EXPECT_TRUE(c.ComboBox2.items.empty());
    EXPECT_EQ(c.ComboBox2.itemIndex, -1);
    SaveLocalConfig(c, file);
    EXPECT_EQ(GetPrivateProfileString("CONFIG", "COM_PORT", "missing", file), "");
}

TEST_F(LocalConfigTest, EditTextsSurviveExactlyAsTyped)
{
    const std::pair<std::string, std::string> typed[] = {
        {"999.300.1.x", "0123"}, {"", ""},  {" 10.0.0.1 ", "80 "}, {"\"10.0.0.1\"", "\""},
        {"хост;1", "=5"},       {"[CONFIG]", "; x"},
    };
    for (const auto& [ip, port] : typed) {
        ConnectionControls c = DesignControls(kPorts);
        c.Edit8 = ip;
        c.Edit9 = port;
        SaveLocalConfig(c, file);
        const ConnectionControls loaded = Load();
        EXPECT_EQ(loaded.Edit8, ip);
        EXPECT_EQ(loaded.Edit9, port);
    }
}

TEST_F(LocalConfigTest, HandWrittenValuesGoIntoTheEditsUnchanged)
{
    WriteFile(file, "; edited by hand\n[config]\nether_ip = not an address\nETHER_PORT=99999\n");
    const ConnectionControls c = Load();
    EXPECT_EQ(c.Edit8, "not an address");
    EXPECT_EQ(c.Edit9, "99999");
}

TEST_F(LocalConfigTest, SaveKeepsTheRestOfTheFile)
{
    WriteFile(file, "; site notes\n[CONFIG]\nETHER_PORT=1\nEXTRA=keep\n[OTHER]\nX=1\n");
    ConnectionControls c = DesignControls(kPorts);
    c.Edit8 = "10.0.0.2";
    c.Edit9 = "2";
    SaveLocalConfig(c, file);
    EXPECT_EQ(ReadFile(file),
              "; site notes\n[CONFIG]\nETHER_PORT=2\nEXTRA=keep\nINTERFACE_TYPE=0\nCOM_PORT=ttyS0\n"
              "BAUD_RATE=115200\nETHER_IP=10.0.0.2\n[OTHER]\nX=1\n");
}

TEST_F(LocalConfigTest, FailedWriteEndsTheSaveSilently)
{
    const std::string old =
        "[CONFIG]\nINTERFACE_TYPE=0\nCOM_PORT=ttyS0\nBAUD_RATE=115200\nETHER_IP=1.1.1.1\nETHER_PORT=1\n";
    const char* const newLines[] = {"INTERFACE_TYPE=1\n", "COM_PORT=ttyUSB0\n", "BAUD_RATE=9600\n",
                                    "ETHER_IP=2.2.2.2\n", "ETHER_PORT=2\n"};
    const char* const oldLines[] = {"INTERFACE_TYPE=0\n", "COM_PORT=ttyS0\n", "BAUD_RATE=115200\n",
                                    "ETHER_IP=1.1.1.1\n", "ETHER_PORT=1\n"};
    const ConnectionControls c = EditedControls("2.2.2.2", "2");
    for (int failing = 0; failing < 5; ++failing) {
        WriteFile(file, old);
        int writes = 0;
        {
            ScopedBeforeReplaceHook hook([&](const fs::path&) { return writes++ != failing; });
            SaveLocalConfig(c, file);
        }
        EXPECT_EQ(writes, failing + 1);
        std::string expected = "[CONFIG]\n";
        for (int key = 0; key < 5; ++key)
            expected += key < failing ? newLines[key] : oldLines[key];
        EXPECT_EQ(ReadFile(file), expected) << "failing write " << failing;
    }
    EXPECT_TRUE(sink.shown.empty());
}

TEST_F(LocalConfigTest, UnwritablePlaceShowsNothingAndKeepsDefaults)
{
    const fs::path plainFile = dir / "plain";
    WriteFile(plainFile, "not a directory");
    const fs::path unwritable = plainFile / "krn310.INI";
    ConnectionControls c = DesignControls(kPorts);
    c.Edit8 = "10.0.0.9";
    SaveLocalConfig(c, unwritable);
    EXPECT_EQ(ReadFile(plainFile), "not a directory");
    EXPECT_TRUE(sink.shown.empty());
    c = DesignControls(kPorts);
    LoadLocalConfig(c, unwritable);
    EXPECT_EQ(c.Edit8, "192.168.0.100");
}

// Permission bits do not stop root, so the save runs in a child that has
// given up root first.
TEST_F(LocalConfigTest, ReadOnlyDirectoryKeepsTheOldFile)
{
    const fs::path readOnly = dir / "ro";
    fs::create_directory(readOnly);
    const fs::path iniFile = readOnly / "krn310.INI";
    const std::string old = "[CONFIG]\nINTERFACE_TYPE=1\nETHER_IP=1.1.1.1\n";
    WriteFile(iniFile, old);
    ASSERT_EQ(::chmod(iniFile.c_str(), 0644), 0);
    ASSERT_EQ(::chmod(readOnly.c_str(), 0555), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);

    const int status = test::RunInChild([&] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            return 2;
        ConnectionControls c = DesignControls(kPorts);
        c.Edit8 = "2.2.2.2";
        SaveLocalConfig(c, iniFile);
        return sink.shown.empty() ? 0 : 3;
    });
    EXPECT_TRUE(test::ExitedWith(status, 0)) << status;
    EXPECT_EQ(ReadFile(iniFile), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(readOnly), fs::directory_iterator()), 1);
}

TEST_F(LocalConfigTest, InterruptedSaveKeepsTheOldFile)
{
    const std::string old = "[CONFIG]\nINTERFACE_TYPE=1\nCOM_PORT=ttyUSB0\nETHER_IP=1.1.1.1\n";
    WriteFile(file, old);
    const int status = test::RunInChild([&] {
        ScopedBeforeReplaceHook die([](const fs::path&) {
            ::raise(SIGKILL);
            return true;
        });
        SaveLocalConfig(DesignControls(kPorts), file);
        return 0;
    });
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(ReadFile(file), old);
    const ConnectionControls c = Load();
    EXPECT_EQ(c.ComboBox1.itemIndex, 1);
    EXPECT_EQ(c.ComboBox2.itemIndex, 2);
    EXPECT_EQ(c.Edit8, "1.1.1.1");
}

TEST(SelectItemByTextTest, FirstEqualItemElseTheFirst)
{
    struct Case {
        std::vector<std::string> items;
        int before;
        std::string text;
        int after;
    };
    const Case cases[] = {
        {{"ttyS0", "ttyS1", "ttyS1"}, -1, "ttyS1", 1},
        {{"ttyS0", "ttyS1"}, 1, "ttyS9", 0},
        {{"ttyS0", "ttys1"}, 0, "ttyS1", 0},
        {{"ttyS0", "ttyS1"}, -1, "", 0},
        {{"", "ttyS1"}, 1, "", 0},
        {{"9600", "Порт"}, 0, "Порт", 1},
        {{"9600", "порт"}, 0, "Порт", 0},
        {{}, -1, "ttyS0", -1},
        // Compared as 8-bit text: characters outside the code page both become '?'.
        {{"ttyS0", "port日"}, 0, "port本", 1},
    };
    for (const Case& c : cases) {
        ListControl list{c.items, c.before};
        SelectItemByText(list, c.text);
        EXPECT_EQ(list.itemIndex, c.after) << c.text;
    }
}

} // namespace
} // namespace krn310
