#pragma once

#include "exchange/ReadScripts.h"
#include "exchange/Sequencer.h"
#include "platform/Timer.h"
#include "settings/ApplyFlowHost.h"

#include <cstdint>
#include <span>

namespace krn310 {

// What the four buttons under the settings views set going: writing a
// parameter set or restoring its factory values, the timed pauses, the
// re-reads, and for set 2 the move of the connection to the printer's new
// parameters.
class TApplyFlows {
public:
    using Image = std::span<const uint8_t, 256>;

    // The block write images are read at send time, so they must outlive the
    // flows.
    TApplyFlows(TSequencer& sequencer, TReadScripts& reads, IApplyFlowHost& host, TTimer& timer2,
                TTimer& timer3, TTimer& timer4, Image set1Image, Image set2PrinterImage,
                Image set2NetworkImage);
    TApplyFlows(const TApplyFlows&) = delete;
    TApplyFlows& operator=(const TApplyFlows&) = delete;

    void SpeedButton3Click();  // "Применить", set 1
    void SpeedButton4Click();  // "Установить заводские", set 1
    void SpeedButton5Click();  // "Применить", set 2
    void SpeedButton6Click();  // "Установить заводские", set 2

    void Timer2Timer();  // the move to the printer's new parameters
    void Timer3Timer();  // the re-read one second after a set 1 write or restore
    void Timer4Timer();  // the 'x' write one second after the 'u' write

    const StepScript WriteSet1Script;
    const StepScript FactorySet1Script;
    const StepScript WriteSet2Script;
    const StepScript FactorySet2Script;

    void SendSet1Block();
    void SendSet1Factory();
    void SendSet2PrinterBlock();
    void SendSet2NetworkBlock();
    void SendSet2Factory();
    void AwaitRestartReply();

    void ReconnectWithPrinterSettings();

    static constexpr unsigned kSet1RereadMs = 1000;
    static constexpr unsigned kNetworkWriteDelayMs = 1000;
    static constexpr unsigned kAfterRestartMs = 7000;

    // The wait after a message ending in ESC B before the connection moves:
    // on Ethernet 7000 ms; on RS-232 the message's time on the wire (ten bits
    // a byte) plus 90000 / baud, plus 7000 ms.
    static unsigned RestartWaitMs(int interfaceType, uint32_t messageLength, int32_t baud);

private:
    // Assembles head, block and trailer in the reply buffer and returns the
    // length; the message is sent from there.
    int32_t Assemble(std::span<const uint8_t> head, std::span<const uint8_t> block,
                     std::span<const uint8_t> trailer);
    void Send(int32_t length);
    int32_t ConnectionBaud() const;

    TSequencer& sequencer_;
    TReadScripts& reads_;
    IApplyFlowHost& host_;
    TTimer& timer2_;
    TTimer& timer3_;
    TTimer& timer4_;
    Image set1Image_;
    Image set2PrinterImage_;
    Image set2NetworkImage_;
};

} // namespace krn310
