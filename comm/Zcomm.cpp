#include "comm/Zcomm.h"

#include "platform/MessageWindow.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <vector>

namespace krn310 {

TZComm::TZComm() : TZComm(serial::MakeSystemSerialDevice()) {}

TZComm::TZComm(std::unique_ptr<serial::ISerialDevice> device)
    : NotifyWindow_(std::make_unique<THiddenWindow>([this](TMessage& m) { WindowMessageProc(m); })),
      device_(std::move(device))
{
}

// The owner closes the port first; should it not, the thread still must not
// outlive the window it posts to, nor the descriptor.
TZComm::~TZComm()
{
    StopEventThread();
    device_->Close();
    NotifyWindow_.reset();
    State_ = 1;
}

int TZComm::OpenConnection()
{
    if (!CheckIDE())
        return 0;
    if (!device_->Open(Port))
        return 0;
    device_->SetQueueSizes(static_cast<uint32_t>(InputQueueSize), static_cast<uint32_t>(OutputQueueSize));
    SetTimeouts();
    const int r = SetConnection();
    if (r == 0) {
        Connected_ = 0;
        device_->Close();
        return 0;
    }
    Connected_ = 1;
    try {
        EventThread_ = std::make_unique<TCommThread>(true, this, device_->Handle(), NotifyWindow_.get());
        EventThread_->Start();
    } catch (const std::exception&) {
        EventThread_.reset();
        Connected_ = 0;
        device_->Close();
        return 0;
    }
    SetDTR();
    return r;
}

void TZComm::StopEventThread()
{
    if (!EventThread_)
        return;
    // Joined before the descriptor is closed, so that no thread of this
    // connection can wait on a descriptor a later connection receives.
    EventThread_->Terminate();
    EventThread_->WaitFor();
    EventThread_.reset();
}

int TZComm::CloseConnection()
{
    Connected_ = 0;
    StopEventThread();
    ClearDTR();
    device_->Flush(true, true);
    device_->Close();
    return 1;
}

int TZComm::SetConnection()
{
    serial::SerialLineState s;
    if (!device_->GetLineState(s))
        return 0;
    s.BaudRate = BaudRate;
    s.ByteSize = static_cast<uint8_t>(DataBits + 4);
    s.Parity = Parity;
    s.StopBits = StopBits;
    s.Binary = true;
    s.ParityCheck = EnableParity;
    s.OutxCtsFlow = CTSFlowCtl;
    s.OutxDsrFlow = DSRFlowCtl;
    s.DtrControl = DSRFlowCtl ? serial::kLineControlHandshake : serial::kLineControlEnable;
    s.DsrSensitivity = DSRSensitive;
    s.TXContinueOnXoff = TXResume;
    s.OutX = XOuputFlowCtl;
    s.InX = XInputFlowCtl;
    s.ErrorReplace = ErrorReplace;
    s.DiscardNull = DiscardNULL;
    s.RtsControl = CTSFlowCtl ? serial::kLineControlHandshake : serial::kLineControlEnable;
    s.AbortOnError = AbortOnError;
    s.XonLim = static_cast<uint16_t>(XOnLimit & 0xFFFF);
    s.XoffLim = static_cast<uint16_t>(XOffLimit & 0xFFFF);
    s.XonChar = XOnChar;
    s.XoffChar = XOffChar;
    return device_->SetLineState(s) ? 1 : 0;
}

int TZComm::GetTimeouts()
{
    serial::SerialTimeouts t;
    if (!device_->GetTimeouts(t))
        return 0;
    TimeoutReadInterval = t.ReadIntervalTimeout;
    TimeoutReadMultiplier = t.ReadTotalTimeoutMultiplier;
    TimeoutReadConstant = t.ReadTotalTimeoutConstant;
    TimeoutWriteMultiplier = t.WriteTotalTimeoutMultiplier;
    TimeoutWriteConstant = t.WriteTotalTimeoutConstant;
    return 1;
}

int TZComm::SetTimeouts()
{
    serial::SerialTimeouts t;
    t.ReadIntervalTimeout = TimeoutReadInterval;
    t.ReadTotalTimeoutMultiplier = TimeoutReadMultiplier;
    t.ReadTotalTimeoutConstant = TimeoutReadConstant;
    t.WriteTotalTimeoutMultiplier = TimeoutWriteMultiplier;
    t.WriteTotalTimeoutConstant = TimeoutWriteConstant;
    return device_->SetTimeouts(t) ? 1 : 0;
}

int TZComm::SetFlowCtl(int on)
{
    serial::SerialLineState s;
    if (!device_->GetLineState(s))
        return 0;
    s.OutX = (on & 1) != 0;
    s.InX = (on & 1) != 0;
    return device_->SetLineState(s) ? 1 : 0;
}

long TZComm::ReadComm(unsigned char* buf, long len)
{
    uint32_t errors = 0;
    serial::ComStat status;
    device_->ClearError(errors, status);
    if (errors != 0 && OnErrorOccurred)
        OnErrorOccurred(this, static_cast<int>(errors), kReadError);
    // A negative length would read past the caller's buffer.
    if (len <= 0)
        return 0;
    const unsigned long n = std::min(static_cast<unsigned long>(len), static_cast<unsigned long>(status.InQue));
    if (n == 0)
        return 0;
    const long got = device_->Read(buf, n);
    return got > 0 ? got : 0;
}

long TZComm::WriteComm(const unsigned char* buf, long len)
{
    if (len <= 0)
        return 0;
    const serial::WriteOutcome outcome = device_->Write(buf, static_cast<size_t>(len), kWriteWaitMs);
    // Bytes of a completed write are queued in the kernel and must go out;
    // only a write that did not complete leaves a transmit queue to clear.
    if (!outcome.Completed) {
        device_->Flush(false, true);
        return 0;
    }
    return static_cast<long>(outcome.Written);
}

int TZComm::WriteCommByte(unsigned char b)
{
    return device_->Write(&b, 1, kWriteWaitMs).Completed ? 1 : 0;
}

int TZComm::PurgeCommPort(unsigned long flags)
{
    const bool input = (flags & (PURGE_RXABORT | PURGE_RXCLEAR)) != 0;
    const bool output = (flags & (PURGE_TXABORT | PURGE_TXCLEAR)) != 0;
    return device_->Flush(input, output) ? 1 : 0;
}

int TZComm::EscapeComm(unsigned long func)
{
    bool ok = false;
    switch (func) {
    case SETXOFF: ok = device_->SuspendOutput(true); break;
    case SETXON: ok = device_->SuspendOutput(false); break;
    case SETRTS: ok = device_->SetModemLine(serial::ModemLine::Rts, true); break;
    case CLRRTS: ok = device_->SetModemLine(serial::ModemLine::Rts, false); break;
    case SETDTR: ok = device_->SetModemLine(serial::ModemLine::Dtr, true); break;
    case CLRDTR: ok = device_->SetModemLine(serial::ModemLine::Dtr, false); break;
    case SETBREAK: ok = device_->SetBreak(true); break;
    case CLRBREAK: ok = device_->SetBreak(false); break;
    default: break;
    }
    return ok ? 1 : 0;
}

uint32_t TZComm::GetQCountIn()
{
    uint32_t errors = 0;
    device_->ClearError(errors, LineStatus);
    return LineStatus.InQue;
}

uint32_t TZComm::GetQCountOut()
{
    uint32_t errors = 0;
    device_->ClearError(errors, LineStatus);
    return LineStatus.OutQue;
}

uint32_t TZComm::GetTransmissionStatus()
{
    uint32_t errors = 0;
    device_->ClearError(errors, LineStatus);
    return errors;
}

std::string TZComm::GetText()
{
    if (MaxReadLength <= 0)
        return {};
    std::vector<unsigned char> buffer(static_cast<size_t>(MaxReadLength), 0);
    const long n = ReadComm(buffer.data(), MaxReadLength);
    if (n <= 0)
        return {};
    const auto* bytes = reinterpret_cast<const char*>(buffer.data());
    ReceivedText.assign(bytes, strnlen(bytes, static_cast<size_t>(n)));
    return ReceivedText;
}

void TZComm::SetText(const std::string& value)
{
    std::vector<unsigned char> buffer(value.size() + 1, 0);
    const size_t upToZero = strnlen(value.data(), value.size());
    std::memcpy(buffer.data(), value.data(), upToZero);
    WriteComm(buffer.data(), static_cast<long>(value.size()));
}

void TZComm::WindowMessageProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION: message.Result = 1; break;
    case WM_USER: MessageCOMM(message); break;
    default: break;
    }
}

int TZComm::MessageCOMM(TMessage&)
{
    if (Connected_ == 0)
        return 0;
    // Cleared after the handler, so one burst gives one notification; the
    // wait on the device is level-triggered, so bytes that arrive meanwhile
    // give the next one. The handler may have closed (and even reopened).
    struct HandledOnExit {
        TZComm* comm;
        ~HandledOnExit()
        {
            if (comm->EventThread_)
                comm->EventThread_->NotificationHandled();
        }
    } handled{this};
    if (OnDataAvailable)
        OnDataAvailable(this);
    return 1;
}

} // namespace krn310
