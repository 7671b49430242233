#include "settings/ApplyFlows.h"

#include "exchange/Commands.h"
#include "exchange/ExchangeHost.h"
#include "exchange/ReplyTests.h"
#include "platform/StrToInt.h"

#include <cstring>

namespace krn310 {

namespace {

using Self = TApplyFlows;

constexpr std::span<const uint8_t> kNoBytes;

} // namespace

TApplyFlows::TApplyFlows(TSequencer& sequencer, TReadScripts& reads, IApplyFlowHost& host,
                         TTimer& timer2, TTimer& timer3, TTimer& timer4, Image set1Image,
                         Image set2PrinterImage, Image set2NetworkImage)
    : WriteSet1Script(MakeStepScript(*this, {&Self::SendSet1Block})),
      FactorySet1Script(MakeStepScript(*this, {&Self::SendSet1Factory})),
      WriteSet2Script(MakeStepScript(*this, {&Self::SendSet2PrinterBlock, &Self::AwaitRestartReply})),
      FactorySet2Script(MakeStepScript(*this, {&Self::SendSet2Factory, &Self::AwaitRestartReply})),
      sequencer_(sequencer),
      reads_(reads),
      host_(host),
      timer2_(timer2),
      timer3_(timer3),
      timer4_(timer4),
      set1Image_(set1Image),
      set2PrinterImage_(set2PrinterImage),
      set2NetworkImage_(set2NetworkImage)
{
}

unsigned TApplyFlows::RestartWaitMs(int interfaceType, uint32_t messageLength, int32_t baud)
{
    if (interfaceType == kInterfaceEthernet || baud <= 0)
        return kAfterRestartMs;
    return static_cast<unsigned>((static_cast<int64_t>(messageLength) * 10000 + 90000) / baud) + kAfterRestartMs;
}

int32_t TApplyFlows::Assemble(std::span<const uint8_t> head, std::span<const uint8_t> block,
                              std::span<const uint8_t> trailer)
{
    uint8_t* out = sequencer_.ReplyBuffer.data();
    std::memcpy(out, head.data(), head.size());
    if (!block.empty())
        std::memcpy(out + head.size(), block.data(), block.size());
    if (!trailer.empty())
        std::memcpy(out + head.size() + block.size(), trailer.data(), trailer.size());
    return static_cast<int32_t>(head.size() + block.size() + trailer.size());
}

void TApplyFlows::Send(int32_t length)
{
    sequencer_.SendToPrinter(sequencer_.ReplyBuffer.data(), length);
}

int32_t TApplyFlows::ConnectionBaud() const
{
    return StrToInt(host_.ConnectionBaudText());
}

void TApplyFlows::SpeedButton3Click()
{
    if (!host_.EncodeSet1Block())
        return;
    host_.DisableSettings();
    timer3_.SetInterval(kSet1RereadMs);
    timer3_.SetEnabled(true);
    sequencer_.RunScript(WriteSet1Script);
}

void TApplyFlows::SpeedButton4Click()
{
    host_.DisableSettings();
    timer3_.SetInterval(kSet1RereadMs);
    timer3_.SetEnabled(true);
    sequencer_.RunScript(FactorySet1Script);
}

void TApplyFlows::SpeedButton5Click()
{
    host_.EncodeSet2Blocks();
    host_.DisableSettings();
    sequencer_.RunScript(WriteSet2Script);
}

void TApplyFlows::SpeedButton6Click()
{
    host_.DisableSettings();
    sequencer_.RunScript(FactorySet2Script);
}

void TApplyFlows::SendSet1Block()
{
    const int32_t length = Assemble(WriteSet1Command, set1Image_, InitializeCommand);
    sequencer_.AdvanceStep();
    Send(length);
}

void TApplyFlows::SendSet1Factory()
{
    const int32_t length = Assemble(FactorySet1Command, kNoBytes, InitializeCommand);
    Send(length);
    // The printer is read again at once, without advancing: this script's
    // only step hands over to the full read.
    sequencer_.RunScript(reads_.ReadAllScript);
}

void TApplyFlows::SendSet2PrinterBlock()
{
    // Stays the current step until Timer4 moves on; bytes arriving in the
    // pause make it send again, and leave Timer4's schedule as it is.
    const int32_t length = Assemble(WriteSet2PrinterCommand, set2PrinterImage_, kNoBytes);
    Send(length);
    timer4_.SetInterval(kNetworkWriteDelayMs);
    timer4_.SetEnabled(true);
}

void TApplyFlows::SendSet2NetworkBlock()
{
    const int32_t length = Assemble(WriteSet2NetworkCommand, set2NetworkImage_, RestartCommand);
    sequencer_.AdvanceStep();
    Send(length);
    const int interfaceType = host_.InterfaceType();
    const int32_t baud = interfaceType == kInterfaceEthernet ? 0 : ConnectionBaud();
    timer2_.SetInterval(RestartWaitMs(interfaceType, static_cast<uint32_t>(length), baud));
    timer2_.SetEnabled(true);
}

void TApplyFlows::SendSet2Factory()
{
    const int32_t length = Assemble(FactorySet2Command, kNoBytes, RestartCommand);
    sequencer_.AdvanceStep();
    Send(length);
    const int interfaceType = host_.InterfaceType();
    const int32_t baud = interfaceType == kInterfaceEthernet ? 0 : ConnectionBaud();
    // The restore's own bytes are not counted: the printer restarts at once.
    timer2_.SetInterval(RestartWaitMs(interfaceType, 0, baud));
    timer2_.SetEnabled(true);
}

void TApplyFlows::AwaitRestartReply()
{
    if (!IsRestartReplyComplete(sequencer_.ReplyBuffer.data(), sequencer_.ReplyLength))
        return;
    timer2_.SetInterval(kAfterRestartMs);
    timer2_.SetEnabled(true);
    sequencer_.ReplyLength = 0;
    sequencer_.RunNextStep();
}

void TApplyFlows::Timer2Timer()
{
    timer2_.SetEnabled(false);
    ReconnectWithPrinterSettings();
}

void TApplyFlows::Timer3Timer()
{
    timer3_.SetEnabled(false);
    sequencer_.RunScript(reads_.ReadSet1Script);
}

void TApplyFlows::Timer4Timer()
{
    timer4_.SetEnabled(false);
    SendSet2NetworkBlock();
}

void TApplyFlows::ReconnectWithPrinterSettings()
{
    sequencer_.Timer1.SetEnabled(false);
    host_.CopyPrinterSettingsToConnectionView();
    host_.ReconnectToggle();
}

} // namespace krn310
