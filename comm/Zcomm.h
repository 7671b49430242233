#pragma once

#include "comm/thread.h"
#include "platform/WindowMessage.h"
#include "platform/serial/SerialDevice.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace krn310 {

class THiddenWindow;

enum TParity : uint8_t { no_parity, odd_parity, even_parity, mark_parity, space_parity };
enum TDataBits : uint8_t { databits4, databits5, databits6, databits7, databits8 };
enum TStopBits : uint8_t { stop1, stop1x5, stop2 };

// Purge flags of PurgeCommPort.
inline constexpr unsigned long PURGE_TXABORT = 0x0001;
inline constexpr unsigned long PURGE_RXABORT = 0x0002;
inline constexpr unsigned long PURGE_TXCLEAR = 0x0004;
inline constexpr unsigned long PURGE_RXCLEAR = 0x0008;

// Function codes of EscapeComm.
inline constexpr unsigned long SETXOFF = 1;
inline constexpr unsigned long SETXON = 2;
inline constexpr unsigned long SETRTS = 3;
inline constexpr unsigned long CLRRTS = 4;
inline constexpr unsigned long SETDTR = 5;
inline constexpr unsigned long CLRDTR = 6;
inline constexpr unsigned long SETBREAK = 8;
inline constexpr unsigned long CLRBREAK = 9;

// The serial port component: owns one serial device, writes to it, reads what
// has arrived and raises OnDataAvailable on the user-interface thread when its
// event thread has seen bytes arrive. Shows nothing itself; every result is an
// integer. Everything here runs on the user-interface thread.
class TZComm {
public:
    using TDataAvailableEvent = std::function<void(TZComm* Sender)>;
    using TErrorEvent = std::function<void(TZComm* Sender, int error, const std::string& errorstr)>;

    TZComm();
    // A device other than the host's serial devices (tests).
    explicit TZComm(std::unique_ptr<serial::ISerialDevice> device);
    ~TZComm();
    TZComm(const TZComm&) = delete;
    TZComm& operator=(const TZComm&) = delete;

    // Published properties; changes take effect at the next OpenConnection,
    // or through SetConnection, SetTimeouts and SetFlowCtl.
    std::string Port;
    int32_t BaudRate = 9600;
    TParity Parity = no_parity;
    TDataBits DataBits = databits8;
    TStopBits StopBits = stop1;
    int32_t MaxReadLength = 8192;
    int32_t InputQueueSize = 1024;
    int32_t OutputQueueSize = 1024;
    int32_t XOnLimit = 150;
    int32_t XOffLimit = 150;
    bool CTSFlowCtl = false;
    bool DSRFlowCtl = false;
    bool EnableParity = true;
    bool DSRSensitive = false;
    bool TXResume = false;
    bool XOuputFlowCtl = true;
    bool XInputFlowCtl = true;
    bool ErrorReplace = true;
    bool DiscardNULL = false;
    bool AbortOnError = true;
    char ErrorChar = '~';
    char XOnChar = 17;
    char XOffChar = 19;
    uint32_t TimeoutReadInterval = 65535;
    uint32_t TimeoutReadMultiplier = 1;
    uint32_t TimeoutReadConstant = 5000;
    uint32_t TimeoutWriteMultiplier = 1;
    uint32_t TimeoutWriteConstant = 5000;

    TErrorEvent OnErrorOccurred;
    TDataAvailableEvent OnDataAvailable;

    int32_t State() const { return State_; }
    int32_t Connected() const { return Connected_; }
    std::string Version() const { return kVersion; }
    // Never changes what Version() gives.
    void SetVersion(const std::string& value) { VersionSink = value; }

    int OpenConnection();
    int CloseConnection();
    int SetConnection();
    int GetTimeouts();
    int SetTimeouts();
    int SetFlowCtl(int on);

    // Takes up to len bytes that have already arrived; never waits.
    long ReadComm(unsigned char* buf, long len);
    // Writes len bytes, waiting at most 2000 ms; 0 when they were not all taken.
    long WriteComm(const unsigned char* buf, long len);
    int WriteCommByte(unsigned char b);

    int PurgeCommPort(unsigned long flags);
    int EscapeComm(unsigned long func);
    int SetRTS() { return EscapeComm(SETRTS); }
    int ClearRTS() { return EscapeComm(CLRRTS); }
    int SetDTR() { return EscapeComm(SETDTR); }
    int ClearDTR() { return EscapeComm(CLRDTR); }

    uint32_t GetQCountIn();
    uint32_t GetQCountOut();
    uint32_t QCountIn() { return GetQCountIn(); }
    uint32_t QCountOut() { return GetQCountOut(); }
    uint32_t GetTransmissionStatus();

    // Text: reading takes what has arrived (up to MaxReadLength, cut at the
    // first zero byte); writing sends the text at its full length, every byte
    // from the first zero on as zero.
    std::string GetText();
    void SetText(const std::string& value);

    void WindowMessageProc(TMessage& message);
    int MessageCOMM(TMessage& message);
    bool CheckIDE() const { return true; }

    // The event thread of the current connection, or null.
    TCommThread* EventThread() const { return EventThread_.get(); }
    THiddenWindow* NotifyWindow() const { return NotifyWindow_.get(); }
    int PortHandle() const { return device_->Handle(); }

    static constexpr const char* kVersion = "1.0.8";
    static constexpr const char* kReadError = "Read Error";
    static constexpr int kWriteWaitMs = 2000;

private:
    void StopEventThread();

    std::unique_ptr<TCommThread> EventThread_;
    std::unique_ptr<THiddenWindow> NotifyWindow_;
    std::unique_ptr<serial::ISerialDevice> device_;
    std::string ReceivedText;
    serial::ComStat LineStatus;
    int32_t State_ = 2;
    int32_t Connected_ = 0;
    std::string VersionSink;
};

} // namespace krn310
