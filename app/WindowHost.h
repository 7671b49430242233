#pragma once

#include "exchange/ExchangeHost.h"
#include "settings/ApplyFlowHost.h"

namespace krn310 {

class TForm1;

// The window as the printer exchange and the apply flows see it: its two
// links, its views, its message boxes and the settings codecs between them.
class TWindowHost : public IExchangeHost, public IApplyFlowHost {
public:
    explicit TWindowHost(TForm1& form) : form_(form) {}

    int InterfaceType() const override;

    long SerialWrite(const uint8_t* bytes, long length) override;
    long SerialRead(uint8_t* buffer, long maxLength) override;
    bool SerialConnected() const override;
    void SerialDisconnect() override;

    int SocketSend(const uint8_t* bytes, long length) override;
    int SocketReceive(uint8_t* buffer, long maxLength) override;
    int SocketState() const override;
    void SocketClose() override;

    void SetServiceCell(int col, int row, const std::string& text) override;
    void EnableSettings() override;
    void DisableSettings() override;
    void SetConnectHeader(const std::string& text, int imageIndex) override;
    void ShowConnectHeader() override;
    void ShowMessage(const std::string& text) override;

    void DecodeSet1Block(std::span<const uint8_t, 256> block) override;
    void DecodeSet2PrinterBlock(std::span<const uint8_t, 256> block) override;
    void DecodeSet2NetworkBlock(std::span<const uint8_t, 256> block) override;

    bool EncodeSet1Block() override;
    void EncodeSet2Blocks() override;
    std::string ConnectionBaudText() const override;
    void CopyPrinterSettingsToConnectionView() override;
    void ReconnectToggle() override;

private:
    TForm1& form_;
};

} // namespace krn310
