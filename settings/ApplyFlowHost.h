#pragma once

#include <string>

namespace krn310 {

// What the apply and factory-reset flows need from the window.
class IApplyFlowHost {
public:
    virtual ~IApplyFlowHost() = default;

    virtual int InterfaceType() const = 0;

    // Validates the set 1 views into the set 1 write image. On a rejection the
    // operator has already been shown the field, and false comes back.
    virtual bool EncodeSet1Block() = 0;
    // Encodes the set 2 views into both set 2 write images. A text that does
    // not convert raises EConvertError, which ends the flow.
    virtual void EncodeSet2Blocks() = 0;

    virtual void DisableSettings() = 0;

    // The text of the connection's selected baud rate, as the list shows it.
    virtual std::string ConnectionBaudText() const = 0;

    // Copies the printer's new RS-232 and Ethernet parameters, as the set 2
    // views show them, into the connection view.
    virtual void CopyPrinterSettingsToConnectionView() = 0;
    // Opens the link when it is closed (then reads set 2), closes it when open.
    virtual void ReconnectToggle() = 0;
};

} // namespace krn310
