#pragma once

#include "exchange/ExchangeHost.h"
#include "exchange/Sequencer.h"
#include "exchange/ServiceInfo.h"

#include <cstdint>

namespace krn310 {

// The read scripts and their steps: identification, real-time status and the
// three settings blocks, each command sent only after the previous reply
// passed its test.
class TReadScripts {
public:
    TReadScripts(TSequencer& sequencer, IExchangeHost& host);
    TReadScripts(const TReadScripts&) = delete;
    TReadScripts& operator=(const TReadScripts&) = delete;

    // Identification, status, set 1 and set 2: after a connection.
    const StepScript ReadAllScript;
    // Identification, status and set 1: after a set 1 apply or restore.
    const StepScript ReadSet1Script;
    // Identification, status and set 2: after the link moved to the printer's
    // new parameters.
    const StepScript ReadSet2Script;
    // Maker first, then model, firmware, serial number and status.
    const StepScript ReadInfoScript;

    // "Запросить информацию": re-reads identification and status when the
    // selected link is open, abandoning a running script; otherwise nothing.
    void SpeedButton2Click();

    // The status line being written; line k of a status read goes to row
    // StatusRow + 7 and then StatusRow goes up.
    int32_t StatusRow = 0;

    void RequestModelName();
    void ReceiveModelName();
    void RequestMakerName();
    void ReceiveMakerName();
    void RequestFirmwareVersion();
    void ReceiveFirmwareVersion();
    void RequestSerialNumber();
    void ReceiveSerialNumber();
    void RequestPrinterStatus();
    void ReceivePrinterStatus();
    void RequestOfflineStatus();
    void ReceiveOfflineStatus();
    void RequestPaperStatus();
    void ReceivePaperStatus();
    void RequestSet1Block();
    void ReceiveSet1Block();
    void RequestSet2PrinterBlock();
    void ReceiveSet2PrinterBlock();
    void RequestSet2NetworkBlock();
    void ReceiveSet2NetworkBlock();
    void FinishReadScript();

private:
    template <size_t N>
    void Request(const std::array<uint8_t, N>& command);
    void ReceiveIdentification(int row);
    void ReceiveStatus(StatusKind kind);
    // Gives the first 256 reply bytes once they have arrived.
    bool BlockArrived() const;
    std::span<const uint8_t, 256> ReceivedBlock() const;
    void FinishReply();


    TSequencer& sequencer_;
    IExchangeHost& host_;
};

} // namespace krn310
