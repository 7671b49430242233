#include "platform/serial/TermiosLine.h"

#include <array>
#include <utility>

namespace krn310::serial {

namespace {

constexpr std::array<std::pair<int32_t, speed_t>, 31> kSpeeds{{
    {50, B50},         {75, B75},           {110, B110},         {134, B134},
    {150, B150},       {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},     {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},     {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200}, {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000}, {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000}, {0, B0},
}};

} // namespace

void SetRawMode(termios& t)
{
    t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXANY | IMAXBEL | IGNPAR);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    // The modem's carrier must not gate reads, and the receiver is on.
    t.c_cflag |= CREAD | CLOCAL;
    t.c_cflag &= ~HUPCL;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
}

bool SetSpeed(termios& t, int32_t baud)
{
    if (baud <= 0)
        return false;
    for (const auto& [rate, constant] : kSpeeds) {
        if (rate == baud)
            return cfsetispeed(&t, constant) == 0 && cfsetospeed(&t, constant) == 0;
    }
    return false;
}

std::optional<int32_t> GetSpeed(const termios& t)
{
    const speed_t constant = cfgetospeed(&t);
    for (const auto& [rate, c] : kSpeeds) {
        if (c == constant)
            return rate;
    }
    return std::nullopt;
}

bool SetDataBits(termios& t, unsigned bits)
{
    tcflag_t size = 0;
    switch (bits) {
    case 5: size = CS5; break;
    case 6: size = CS6; break;
    case 7: size = CS7; break;
    case 8: size = CS8; break;
    default: return false;
    }
    t.c_cflag = (t.c_cflag & ~CSIZE) | size;
    return true;
}

bool SetParity(termios& t, uint8_t parity)
{
    t.c_cflag &= ~(PARENB | PARODD | CMSPAR);
    switch (parity) {
    case kNoParity: break;
    case kOddParity: t.c_cflag |= PARENB | PARODD; break;
    case kEvenParity: t.c_cflag |= PARENB; break;
    case kMarkParity: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case kSpaceParity: t.c_cflag |= PARENB | CMSPAR; break;
    default: return false;
    }
    return true;
}

bool SetStopBits(termios& t, uint8_t stopBits)
{
    switch (stopBits) {
    case kOneStopBit: t.c_cflag &= ~CSTOPB; return true;
    case kOne5StopBits:
    case kTwoStopBits: t.c_cflag |= CSTOPB; return true;
    default: return false;
    }
}

void SetHardwareFlow(termios& t, bool on)
{
    if (on)
        t.c_cflag |= CRTSCTS;
    else
        t.c_cflag &= ~CRTSCTS;
}

void SetSoftwareFlow(termios& t, bool output, bool input, char xon, char xoff)
{
    t.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (output)
        t.c_iflag |= IXON;
    if (input)
        t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = static_cast<cc_t>(xon);
    t.c_cc[VSTOP] = static_cast<cc_t>(xoff);
}

void SetInputCheck(termios& t, bool check)
{
    t.c_iflag &= ~(IGNPAR | PARMRK);
    if (check)
        t.c_iflag |= INPCK;
    else
        t.c_iflag &= ~INPCK;
}

bool ApplyLineState(termios& t, const SerialLineState& state)
{
    SetRawMode(t);
    if (!SetSpeed(t, state.BaudRate) || !SetDataBits(t, state.ByteSize) || !SetParity(t, state.Parity)
        || !SetStopBits(t, state.StopBits))
        return false;
    SetHardwareFlow(t, state.OutxCtsFlow || state.RtsControl == kLineControlHandshake);
    SetSoftwareFlow(t, state.OutX, state.InX, state.XonChar, state.XoffChar);
    // Without replacement the bytes must arrive as received, so the check is
    // left off; the driver still counts the errors.
    SetInputCheck(t, state.ParityCheck && state.ErrorReplace);
    return true;
}

void ReadLineState(const termios& t, SerialLineState& state)
{
    if (const auto speed = GetSpeed(t))
        state.BaudRate = *speed;
    switch (t.c_cflag & CSIZE) {
    case CS5: state.ByteSize = 5; break;
    case CS6: state.ByteSize = 6; break;
    case CS7: state.ByteSize = 7; break;
    default: state.ByteSize = 8; break;
    }
    if (!(t.c_cflag & PARENB))
        state.Parity = kNoParity;
    else if (t.c_cflag & CMSPAR)
        state.Parity = (t.c_cflag & PARODD) ? kMarkParity : kSpaceParity;
    else
        state.Parity = (t.c_cflag & PARODD) ? kOddParity : kEvenParity;
    if (!(t.c_cflag & CSTOPB))
        state.StopBits = kOneStopBit;
    else if (state.StopBits == kOneStopBit)
        state.StopBits = kTwoStopBits;
    const bool hardware = (t.c_cflag & CRTSCTS) != 0;
    state.OutxCtsFlow = hardware;
    if (hardware)
        state.RtsControl = kLineControlHandshake;
    else if (state.RtsControl == kLineControlHandshake)
        state.RtsControl = kLineControlEnable;
    state.OutX = (t.c_iflag & IXON) != 0;
    state.InX = (t.c_iflag & IXOFF) != 0;
    state.XonChar = static_cast<char>(t.c_cc[VSTART]);
    state.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
    if (t.c_iflag & INPCK) {
        state.ParityCheck = true;
        state.ErrorReplace = true;
    }
    state.Binary = true;
}

} // namespace krn310::serial
