#include "exchange/Sequencer.h"

#include "platform/StringTable.h"

#include <algorithm>
#include <cstring>

namespace krn310 {

TSequencer::TSequencer(IExchangeHost& host, TTimer& timer1) : Timer1(timer1), host_(host)
{
    Timer1.SetInterval(kWatchdogTickMs);
}

void TSequencer::RunScript(const StepScript& script)
{
    if (script.empty() || !script.front()) {
        Timer1.SetEnabled(false);
        return;
    }
    // Bytes an abandoned script collected would otherwise stand in front of
    // the first reply of this one.
    ReplyLength = 0;
    ScriptCursor = script.data();
    CallCurrentStep();
}

void TSequencer::RunNextStep()
{
    if (MoveToNextStep())
        CallCurrentStep();
}

void TSequencer::AdvanceStep()
{
    MoveToNextStep();
}

bool TSequencer::MoveToNextStep()
{
    if (!ScriptCursor)
        return false;
    if (!ScriptCursor[1]) {
        EndScript();
        return false;
    }
    ++ScriptCursor;
    return true;
}

void TSequencer::EndScript()
{
    ScriptCursor = nullptr;
    ReplyLength = 0;
    Timer1.SetEnabled(false);
}

void TSequencer::CallCurrentStep()
{
    // Scripts outlive every run, so the routine stays valid even when the
    // step starts another script.
    (*ScriptCursor)();
}

void TSequencer::SendToPrinter(const uint8_t* bytes, int32_t length)
{
    switch (host_.InterfaceType()) {
    case kInterfaceRs232:
        host_.SerialWrite(bytes, length);
        break;
    case kInterfaceEthernet:
        host_.SocketSend(bytes, length);
        break;
    default:
        break;
    }
    ArmWatchdog();
}

void TSequencer::ArmWatchdog()
{
    WatchdogTicks = kWatchdogReload;
    Timer1.SetEnabled(true);
}

void TSequencer::AppendReply(const uint8_t* bytes, uint32_t count)
{
    const uint32_t room = kReplyBufferSize - std::min(ReplyLength, kReplyBufferSize);
    const uint32_t taken = std::min(count, room);
    if (taken > 0)
        std::memcpy(ReplyBuffer.data() + ReplyLength, bytes, taken);
    ReplyLength += taken;
}

void TSequencer::ZComm1DataAvailable()
{
    Timer1.SetEnabled(false);
    uint8_t chunk[kReplyBufferSize];
    const long n = host_.SerialRead(chunk, sizeof chunk);
    if (!ScriptCursor) {
        ReplyLength = 0;
        return;
    }
    ArmWatchdog();
    if (n > 0) {
        AppendReply(chunk, static_cast<uint32_t>(std::min<long>(n, sizeof chunk)));
        CallCurrentStep();
    }
}

void TSequencer::ZSocket1DataAvailable()
{
    Timer1.SetEnabled(false);
    uint8_t chunk[kReplyBufferSize];
    const int n = host_.SocketReceive(chunk, sizeof chunk);
    if (!ScriptCursor) {
        ReplyLength = 0;
        return;
    }
    // Over Ethernet the watchdog is re-armed by an empty read, or by the step
    // when it sends. A reply that stops half-way must not leave the script
    // waiting for ever with the watchdog off: while the step still waits,
    // the watchdog runs.
    if (n > 0) {
        AppendReply(chunk, static_cast<uint32_t>(std::min<int>(n, sizeof chunk)));
        CallCurrentStep();
        if (ScriptCursor && !Timer1.Enabled())
            ArmWatchdog();
    } else if (n == 0) {
        ArmWatchdog();
    }
    // A failed receive appends nothing; the socket reports it itself.
}

void TSequencer::Timer1Timer()
{
    Timer1.SetEnabled(false);
    if (WatchdogTicks != 0) {
        --WatchdogTicks;
        Timer1.SetEnabled(true);
        return;
    }
    WatchdogExpired();
}

void TSequencer::WatchdogExpired()
{
    ScriptCursor = nullptr;
    switch (host_.InterfaceType()) {
    case kInterfaceRs232:
        if (host_.SerialConnected())
            host_.SerialDisconnect();
        break;
    case kInterfaceEthernet:
        if (host_.SocketState() == kSocketConnected)
            host_.SocketClose();
        break;
    default:
        break;
    }
    host_.DisableSettings();
    host_.SetConnectHeader(LoadStr(IDS_CONNECT), 0);
    host_.ShowMessage(LoadStr(IDS_PRINTER_SILENT));
    // The Ethernet connect hides the header while it waits for the socket.
    host_.ShowConnectHeader();
}

} // namespace krn310
