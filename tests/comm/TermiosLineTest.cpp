#include "platform/serial/TermiosLine.h"

#include <gtest/gtest.h>

namespace krn310::serial {
namespace {

termios Cooked()
{
    termios t{};
    t.c_iflag = ICRNL | IXON | IGNPAR | PARMRK | ISTRIP;
    t.c_oflag = OPOST | ONLCR;
    t.c_cflag = CS7 | PARENB | HUPCL;
    t.c_lflag = ICANON | ECHO | ISIG | IEXTEN;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 5;
    cfsetospeed(&t, B38400);
    cfsetispeed(&t, B38400);
    return t;
}

TEST(TermiosLine, RawModeLeavesBytesAlone)
{
    termios t = Cooked();
    SetRawMode(t);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_iflag & (ICRNL | IGNPAR | PARMRK | ISTRIP), 0u);
    EXPECT_EQ(t.c_cflag & (CREAD | CLOCAL), CREAD | CLOCAL);
    EXPECT_EQ(t.c_cflag & HUPCL, 0u);
    EXPECT_EQ(t.c_cc[VMIN], 0);
    EXPECT_EQ(t.c_cc[VTIME], 0);
}

TEST(TermiosLine, SpeedsWithAndWithoutASystemConstant)
{
    const struct {
        int32_t baud;
        bool known;
    } cases[] = {{1200, true}, {9600, true}, {115200, true}, {921600, true}, {12345, false}, {0, false}, {-9600, false}};
    for (const auto& c : cases) {
        termios t = Cooked();
        EXPECT_EQ(SetSpeed(t, c.baud), c.known) << c.baud;
        if (c.known)
            EXPECT_EQ(GetSpeed(t), c.baud) << c.baud;
        else
            EXPECT_EQ(GetSpeed(t), 38400) << c.baud;  // untouched
    }
}

TEST(TermiosLine, DataBits)
{
    const struct {
        unsigned bits;
        tcflag_t size;
    } cases[] = {{5, CS5}, {6, CS6}, {7, CS7}, {8, CS8}};
    for (const auto& c : cases) {
        termios t = Cooked();
        ASSERT_TRUE(SetDataBits(t, c.bits));
        EXPECT_EQ(t.c_cflag & CSIZE, c.size);
    }
    termios t = Cooked();
    EXPECT_FALSE(SetDataBits(t, 4));
    EXPECT_FALSE(SetDataBits(t, 9));
}

TEST(TermiosLine, ParityIncludingMarkAndSpace)
{
    const struct {
        uint8_t parity;
        tcflag_t bits;
    } cases[] = {{kNoParity, 0},
                 {kOddParity, PARENB | PARODD},
                 {kEvenParity, PARENB},
                 {kMarkParity, PARENB | PARODD | CMSPAR},
                 {kSpaceParity, PARENB | CMSPAR}};
    for (const auto& c : cases) {
        termios t = Cooked();
        t.c_cflag |= PARODD | CMSPAR;
        ASSERT_TRUE(SetParity(t, c.parity));
        EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), c.bits) << int(c.parity);
        SerialLineState s;
        ReadLineState(t, s);
        EXPECT_EQ(s.Parity, c.parity);
    }
    termios t = Cooked();
    EXPECT_FALSE(SetParity(t, 5));
}

TEST(TermiosLine, StopBits)
{
    termios t = Cooked();
    ASSERT_TRUE(SetStopBits(t, kTwoStopBits));
    EXPECT_NE(t.c_cflag & CSTOPB, 0u);
    ASSERT_TRUE(SetStopBits(t, kOneStopBit));
    EXPECT_EQ(t.c_cflag & CSTOPB, 0u);
    ASSERT_TRUE(SetStopBits(t, kOne5StopBits));
    EXPECT_NE(t.c_cflag & CSTOPB, 0u);
    EXPECT_FALSE(SetStopBits(t, 3));
}

TEST(TermiosLine, FlowControl)
{
    termios t = Cooked();
    SetHardwareFlow(t, true);
    EXPECT_NE(t.c_cflag & CRTSCTS, 0u);
    SetHardwareFlow(t, false);
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);

    SetSoftwareFlow(t, false, true, 'Q', 'S');
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), tcflag_t{IXOFF});
    EXPECT_EQ(t.c_cc[VSTART], 'Q');
    EXPECT_EQ(t.c_cc[VSTOP], 'S');
    SetSoftwareFlow(t, true, false, 17, 19);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), tcflag_t{IXON});
}

TEST(TermiosLine, ParityErrorsAreReplacedOnlyWhenCheckedAndReplaced)
{
    const struct {
        bool check;
        bool replace;
        bool inpck;
    } cases[] = {{true, true, true}, {true, false, false}, {false, true, false}, {false, false, false}};
    for (const auto& c : cases) {
        termios t = Cooked();
        SerialLineState s;
        s.ParityCheck = c.check;
        s.ErrorReplace = c.replace;
        ASSERT_TRUE(ApplyLineState(t, s));
        EXPECT_EQ((t.c_iflag & INPCK) != 0, c.inpck);
        // Neither dropped nor marked: the stream keeps its length.
        EXPECT_EQ(t.c_iflag & (IGNPAR | PARMRK), 0u);
    }
}

TEST(TermiosLine, ApplyAndReadBackKeepWhatTermiosCannotHold)
{
    SerialLineState applied;
    applied.BaudRate = 19200;
    applied.ByteSize = 7;
    applied.Parity = kEvenParity;
    applied.StopBits = kOne5StopBits;
    applied.OutxCtsFlow = true;
    applied.RtsControl = kLineControlHandshake;
    applied.OutX = true;
    applied.InX = false;
    applied.XonLim = 4464;
    applied.OutxDsrFlow = true;
    termios t = Cooked();
    ASSERT_TRUE(ApplyLineState(t, applied));

    SerialLineState read = applied;
    ReadLineState(t, read);
    EXPECT_EQ(read, applied);

    SerialLineState bad;
    bad.ByteSize = 4;
    EXPECT_FALSE(ApplyLineState(t, bad));
}

} // namespace
} // namespace krn310::serial
