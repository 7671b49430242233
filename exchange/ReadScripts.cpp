#include "exchange/ReadScripts.h"

#include "exchange/Commands.h"
#include "exchange/ReplyTests.h"
#include "platform/StringTable.h"

namespace krn310 {

namespace {

using Self = TReadScripts;
using Steps = std::vector<void (TReadScripts::*)()>;

const Steps kModelName = {&Self::RequestModelName, &Self::ReceiveModelName};
const Steps kMakerName = {&Self::RequestMakerName, &Self::ReceiveMakerName};
// Firmware, serial number and the three status bytes.
const Steps kVersionAndStatus = {
    &Self::RequestFirmwareVersion, &Self::ReceiveFirmwareVersion,
    &Self::RequestSerialNumber, &Self::ReceiveSerialNumber,
    &Self::RequestPrinterStatus, &Self::ReceivePrinterStatus,
    &Self::RequestOfflineStatus, &Self::ReceiveOfflineStatus,
    &Self::RequestPaperStatus, &Self::ReceivePaperStatus,
};
const Steps kSet1 = {&Self::RequestSet1Block, &Self::ReceiveSet1Block};
const Steps kSet2 = {
    &Self::RequestSet2PrinterBlock, &Self::ReceiveSet2PrinterBlock,
    &Self::RequestSet2NetworkBlock, &Self::ReceiveSet2NetworkBlock,
};

// The parts in order, then FinishReadScript, which ends every read.
Steps Join(std::initializer_list<const Steps*> parts)
{
    Steps steps;
    for (const Steps* part : parts)
        steps.insert(steps.end(), part->begin(), part->end());
    steps.push_back(&Self::FinishReadScript);
    return steps;
}

} // namespace

TReadScripts::TReadScripts(TSequencer& sequencer, IExchangeHost& host)
    : ReadAllScript(MakeStepScript(*this, Join({&kModelName, &kMakerName, &kVersionAndStatus, &kSet1, &kSet2}))),
      ReadSet1Script(MakeStepScript(*this, Join({&kModelName, &kMakerName, &kVersionAndStatus, &kSet1}))),
      ReadSet2Script(MakeStepScript(*this, Join({&kModelName, &kMakerName, &kVersionAndStatus, &kSet2}))),
      // The information request asks for the maker before the model.
      ReadInfoScript(MakeStepScript(*this, Join({&kMakerName, &kModelName, &kVersionAndStatus}))),
      sequencer_(sequencer),
      host_(host)
{
}

void TReadScripts::SpeedButton2Click()
{
    const int interfaceType = host_.InterfaceType();
    const bool open = (interfaceType == kInterfaceEthernet && host_.SocketState() == kSocketConnected) ||
                      (interfaceType == kInterfaceRs232 && host_.SerialConnected());
    if (!open)
        return;
    sequencer_.ArmWatchdog();
    sequencer_.RunScript(ReadInfoScript);
}

template <size_t N>
void TReadScripts::Request(const std::array<uint8_t, N>& command)
{
    sequencer_.AdvanceStep();
    sequencer_.SendToPrinter(command.data(), static_cast<int32_t>(N));
}

void TReadScripts::FinishReply()
{
    sequencer_.ReplyLength = 0;
    sequencer_.RunNextStep();
}

void TReadScripts::ReceiveIdentification(int row)
{
    const uint8_t* reply = sequencer_.ReplyBuffer.data();
    const uint32_t length = sequencer_.ReplyLength;
    if (!IsIdentificationComplete(reply, length))
        return;
    host_.SetServiceCell(kValueColumn, row, IdentificationText(reply, length));
    FinishReply();
}

void TReadScripts::ReceiveStatus(StatusKind kind)
{
    if (!IsStatusComplete(sequencer_.ReplyLength))
        return;
    const StatusLines status = DecodeStatus(kind, sequencer_.ReplyBuffer[0]);
    for (int i = 0; i < status.count; ++i) {
        const int row = StatusRow + kStatusRowOffset;
        host_.SetServiceCell(kLabelColumn, row, LoadStr(status.lines[i].labelId));
        host_.SetServiceCell(kValueColumn, row, LoadStr(status.lines[i].valueId));
        ++StatusRow;
    }
    FinishReply();
}

bool TReadScripts::BlockArrived() const
{
    return IsBlockComplete(sequencer_.ReplyLength);
}

std::span<const uint8_t, 256> TReadScripts::ReceivedBlock() const
{
    return std::span<const uint8_t, 256>(sequencer_.ReplyBuffer.data(), 256);
}

void TReadScripts::RequestModelName() { Request(ModelNameCommand); }
void TReadScripts::ReceiveModelName() { ReceiveIdentification(kModelNameRow); }
void TReadScripts::RequestMakerName() { Request(MakerNameCommand); }
void TReadScripts::ReceiveMakerName() { ReceiveIdentification(kMakerNameRow); }
void TReadScripts::RequestFirmwareVersion() { Request(FirmwareVersionCommand); }
void TReadScripts::ReceiveFirmwareVersion() { ReceiveIdentification(kFirmwareVersionRow); }
void TReadScripts::RequestSerialNumber() { Request(SerialNumberCommand); }
void TReadScripts::ReceiveSerialNumber() { ReceiveIdentification(kSerialNumberRow); }

void TReadScripts::RequestPrinterStatus()
{
    StatusRow = 1;
    Request(PrinterStatusCommand);
}

void TReadScripts::ReceivePrinterStatus() { ReceiveStatus(StatusKind::Printer); }
void TReadScripts::RequestOfflineStatus() { Request(OfflineStatusCommand); }
void TReadScripts::ReceiveOfflineStatus() { ReceiveStatus(StatusKind::Offline); }
void TReadScripts::RequestPaperStatus() { Request(PaperStatusCommand); }
void TReadScripts::ReceivePaperStatus() { ReceiveStatus(StatusKind::Paper); }

void TReadScripts::RequestSet1Block() { Request(ReadSet1Command); }

void TReadScripts::ReceiveSet1Block()
{
    if (!BlockArrived())
        return;
    host_.DecodeSet1Block(ReceivedBlock());
    // Set 1 is on screen: the views may be used while set 2 is still read.
    host_.EnableSettings();
    FinishReply();
}

void TReadScripts::RequestSet2PrinterBlock() { Request(ReadSet2PrinterCommand); }

void TReadScripts::ReceiveSet2PrinterBlock()
{
    if (!BlockArrived())
        return;
    host_.DecodeSet2PrinterBlock(ReceivedBlock());
    FinishReply();
}

void TReadScripts::RequestSet2NetworkBlock() { Request(ReadSet2NetworkCommand); }

void TReadScripts::ReceiveSet2NetworkBlock()
{
    if (!BlockArrived())
        return;
    host_.DecodeSet2NetworkBlock(ReceivedBlock());
    FinishReply();
}

void TReadScripts::FinishReadScript()
{
    sequencer_.ScriptCursor = nullptr;
    sequencer_.Timer1.SetEnabled(false);
    host_.EnableSettings();
}

} // namespace krn310
