#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace krn310 {

// What the printer exchange needs from the window, the two links and the
// settings decoders. The main window implements it; tests implement it with
// a scripted printer.
class IExchangeHost {
public:
    virtual ~IExchangeHost() = default;

    // The interface selector, read at the moment of use: 0 RS-232, 1 Ethernet,
    // anything else neither.
    virtual int InterfaceType() const = 0;

    // The RS-232 link.
    virtual long SerialWrite(const uint8_t* bytes, long length) = 0;
    // Takes what has arrived, up to maxLength bytes, without waiting.
    virtual long SerialRead(uint8_t* buffer, long maxLength) = 0;
    virtual bool SerialConnected() const = 0;
    // Closes the serial link, giving the print queues their port back first.
    virtual void SerialDisconnect() = 0;

    // The Ethernet link, on the socket's current handle.
    virtual int SocketSend(const uint8_t* bytes, long length) = 0;
    // The bytes received, 0, or a negative value on failure.
    virtual int SocketReceive(uint8_t* buffer, long maxLength) = 0;
    virtual int SocketState() const = 0;  // 8 = connected
    virtual void SocketClose() = 0;

    // The window.
    virtual void SetServiceCell(int col, int row, const std::string& text) = 0;
    virtual void EnableSettings() = 0;
    virtual void DisableSettings() = 0;
    virtual void SetConnectHeader(const std::string& text, int imageIndex) = 0;
    virtual void ShowConnectHeader() = 0;
    // A plain modal message box with an OK button; returns when it is closed.
    virtual void ShowMessage(const std::string& text) = 0;

    // The settings decoders, handed a received block where it lies.
    virtual void DecodeSet1Block(std::span<const uint8_t, 256> block) = 0;
    virtual void DecodeSet2PrinterBlock(std::span<const uint8_t, 256> block) = 0;
    virtual void DecodeSet2NetworkBlock(std::span<const uint8_t, 256> block) = 0;
};

inline constexpr int kInterfaceRs232 = 0;
inline constexpr int kInterfaceEthernet = 1;
inline constexpr int kSocketConnected = 8;

} // namespace krn310
