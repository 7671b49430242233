#include "comm/Zcomm.h"

#include "platform/MessageWindow.h"
#include "tests/comm/RecordingSerialDevice.h"
#include "tests/support/RunUntil.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

namespace krn310 {
namespace {

using ::testing::ElementsAre;
using test::RecordingSerialDevice;

class ZcommSeam : public ::testing::Test {
protected:
    ZcommSeam() : comm(std::make_unique<RecordingSerialDevice>(device)) { comm.Port = "/dev/ttyS0"; }

    void Open()
    {
        ASSERT_NE(comm.OpenConnection(), 0);
        device.calls.clear();
    }

    RecordingSerialDevice::Shared device;
    TZComm comm;
};

TEST(ZcommConstruction, PropertiesHoldTheirInitialValues)
{
    RecordingSerialDevice::Shared device;
    TZComm c(std::make_unique<RecordingSerialDevice>(device));
    EXPECT_EQ(c.Port, "");
    EXPECT_EQ(c.BaudRate, 9600);
    EXPECT_EQ(c.Parity, no_parity);
    EXPECT_EQ(c.DataBits, databits8);
    EXPECT_EQ(c.StopBits, stop1);
    EXPECT_EQ(c.MaxReadLength, 8192);
    EXPECT_EQ(c.InputQueueSize, 1024);
    EXPECT_EQ(c.OutputQueueSize, 1024);
    EXPECT_EQ(c.XOnLimit, 150);
    EXPECT_EQ(c.XOffLimit, 150);
    EXPECT_FALSE(c.CTSFlowCtl);
    EXPECT_FALSE(c.DSRFlowCtl);
    EXPECT_TRUE(c.EnableParity);
    EXPECT_FALSE(c.DSRSensitive);
    EXPECT_FALSE(c.TXResume);
    EXPECT_TRUE(c.XOuputFlowCtl);
    EXPECT_TRUE(c.XInputFlowCtl);
    EXPECT_TRUE(c.ErrorReplace);
    EXPECT_FALSE(c.DiscardNULL);
    EXPECT_TRUE(c.AbortOnError);
    EXPECT_EQ(c.ErrorChar, '~');
    EXPECT_EQ(c.XOnChar, 17);
    EXPECT_EQ(c.XOffChar, 19);
    EXPECT_EQ(c.TimeoutReadInterval, 65535u);
    EXPECT_EQ(c.TimeoutReadMultiplier, 1u);
    EXPECT_EQ(c.TimeoutReadConstant, 5000u);
    EXPECT_EQ(c.TimeoutWriteMultiplier, 1u);
    EXPECT_EQ(c.TimeoutWriteConstant, 5000u);
    EXPECT_EQ(c.State(), 2);
    EXPECT_EQ(c.Connected(), 0);
    EXPECT_EQ(c.Version(), "1.0.8");
    EXPECT_FALSE(c.OnErrorOccurred);
    EXPECT_FALSE(c.OnDataAvailable);
    EXPECT_EQ(c.EventThread(), nullptr);
    EXPECT_NE(c.NotifyWindow(), nullptr);
    EXPECT_TRUE(device.calls.empty());
}

TEST(ZcommConstruction, WritingVersionChangesNothingRead)
{
    TZComm c;
    c.SetVersion("2.0.0");
    EXPECT_EQ(c.Version(), "1.0.8");
}

TEST_F(ZcommSeam, OpenRunsItsStepsInOrderAndRaisesDtrLast)
{
    comm.InputQueueSize = 2048;
    comm.OutputQueueSize = 512;
    EXPECT_EQ(comm.OpenConnection(), 1);
    EXPECT_EQ(comm.Connected(), 1);
    EXPECT_NE(comm.EventThread(), nullptr);
    EXPECT_THAT(device.calls, ElementsAre("Open /dev/ttyS0", "SetQueueSizes 2048 512", "SetTimeouts", "GetLineState",
                                          "SetLineState", "Set DTR"));
    EXPECT_EQ(device.timeouts, (serial::SerialTimeouts{65535, 1, 5000, 1, 5000}));
}

TEST_F(ZcommSeam, CloseDropsDtrDiscardsBothQueuesThenCloses)
{
    Open();
    EXPECT_EQ(comm.CloseConnection(), 1);
    EXPECT_EQ(comm.Connected(), 0);
    EXPECT_EQ(comm.EventThread(), nullptr);
    EXPECT_THAT(device.calls, ElementsAre("Clear DTR", "Flush in out", "Close"));
}

TEST_F(ZcommSeam, AFailedOpenDoesNothingElse)
{
    device.openSucceeds = false;
    EXPECT_EQ(comm.OpenConnection(), 0);
    EXPECT_EQ(comm.Connected(), 0);
    EXPECT_THAT(device.calls, ElementsAre("Open /dev/ttyS0"));
}

TEST_F(ZcommSeam, RefusedLineSettingsCloseTheDevice)
{
    device.setLineStateSucceeds = false;
    EXPECT_EQ(comm.OpenConnection(), 0);
    EXPECT_EQ(comm.Connected(), 0);
    EXPECT_EQ(comm.EventThread(), nullptr);
    EXPECT_EQ(device.calls.back(), "Close");
    EXPECT_FALSE(device.open);
}

TEST_F(ZcommSeam, TheDesignValuesOfTheWindowAreApplied)
{
    comm.CTSFlowCtl = true;
    comm.EnableParity = false;
    comm.XOuputFlowCtl = false;
    comm.XInputFlowCtl = false;
    Open();
    const serial::SerialLineState& s = device.applied.back();
    EXPECT_EQ(s.BaudRate, 9600);
    EXPECT_EQ(s.ByteSize, 8);
    EXPECT_EQ(s.Parity, serial::kNoParity);
    EXPECT_EQ(s.StopBits, serial::kOneStopBit);
    EXPECT_TRUE(s.Binary);
    EXPECT_FALSE(s.ParityCheck);
    EXPECT_TRUE(s.OutxCtsFlow);
    EXPECT_EQ(s.RtsControl, serial::kLineControlHandshake);
    EXPECT_FALSE(s.OutxDsrFlow);
    EXPECT_EQ(s.DtrControl, serial::kLineControlEnable);
    EXPECT_FALSE(s.OutX);
    EXPECT_FALSE(s.InX);
    EXPECT_TRUE(s.ErrorReplace);
    EXPECT_FALSE(s.DiscardNull);
    EXPECT_TRUE(s.AbortOnError);
    EXPECT_EQ(s.XonLim, 150);
    EXPECT_EQ(s.XoffLim, 150);
    EXPECT_EQ(s.XonChar, 17);
    EXPECT_EQ(s.XoffChar, 19);
}

TEST_F(ZcommSeam, SetConnectionMapsTheRemainingProperties)
{
    comm.BaudRate = 57600;
    comm.DataBits = databits7;
    comm.Parity = space_parity;
    comm.StopBits = stop1x5;
    comm.DSRFlowCtl = true;
    comm.DSRSensitive = true;
    comm.TXResume = true;
    comm.DiscardNULL = true;
    comm.AbortOnError = false;
    comm.ErrorReplace = false;
    comm.XOnLimit = 70000;
    comm.XOffLimit = -1;
    comm.XOnChar = 'A';
    comm.XOffChar = 'B';
    Open();
    const serial::SerialLineState& s = device.applied.back();
    EXPECT_EQ(s.BaudRate, 57600);
    EXPECT_EQ(s.ByteSize, 7);
    EXPECT_EQ(s.Parity, serial::kSpaceParity);
    EXPECT_EQ(s.StopBits, serial::kOne5StopBits);
    EXPECT_TRUE(s.ParityCheck);
    EXPECT_FALSE(s.OutxCtsFlow);
    EXPECT_EQ(s.RtsControl, serial::kLineControlEnable);
    EXPECT_TRUE(s.OutxDsrFlow);
    EXPECT_EQ(s.DtrControl, serial::kLineControlHandshake);
    EXPECT_TRUE(s.DsrSensitivity);
    EXPECT_TRUE(s.TXContinueOnXoff);
    EXPECT_TRUE(s.OutX);
    EXPECT_TRUE(s.InX);
    EXPECT_FALSE(s.ErrorReplace);
    EXPECT_TRUE(s.DiscardNull);
    EXPECT_FALSE(s.AbortOnError);
    EXPECT_EQ(s.XonLim, 4464);  // low 16 bits of 70000
    EXPECT_EQ(s.XoffLim, 0xFFFF);
    EXPECT_EQ(s.XonChar, 'A');
    EXPECT_EQ(s.XoffChar, 'B');
}

TEST_F(ZcommSeam, SetFlowCtlChangesOnlyBothSoftwareFlags)
{
    comm.XOuputFlowCtl = false;
    comm.XInputFlowCtl = false;
    comm.CTSFlowCtl = true;
    Open();
    const serial::SerialLineState before = device.deviceState;
    for (int on : {1, 0, 3, 2}) {
        EXPECT_EQ(comm.SetFlowCtl(on), 1);
        serial::SerialLineState expected = before;
        expected.OutX = expected.InX = (on & 1) != 0;
        EXPECT_EQ(device.applied.back(), expected) << on;
    }
    EXPECT_FALSE(comm.XOuputFlowCtl);
    EXPECT_FALSE(comm.XInputFlowCtl);
}

TEST_F(ZcommSeam, TimeoutsGoToTheDeviceAndComeBack)
{
    Open();
    device.timeouts = serial::SerialTimeouts{1, 2, 3, 4, 5};
    EXPECT_EQ(comm.GetTimeouts(), 1);
    EXPECT_EQ(comm.TimeoutReadInterval, 1u);
    EXPECT_EQ(comm.TimeoutReadMultiplier, 2u);
    EXPECT_EQ(comm.TimeoutReadConstant, 3u);
    EXPECT_EQ(comm.TimeoutWriteMultiplier, 4u);
    EXPECT_EQ(comm.TimeoutWriteConstant, 5u);
    comm.TimeoutWriteConstant = 9;
    EXPECT_EQ(comm.SetTimeouts(), 1);
    EXPECT_EQ(device.timeouts, (serial::SerialTimeouts{1, 2, 3, 4, 9}));
}

TEST_F(ZcommSeam, ModemLineAndEscapeFunctions)
{
    Open();
    EXPECT_EQ(comm.SetRTS(), 1);
    EXPECT_EQ(comm.ClearRTS(), 1);
    EXPECT_EQ(comm.SetDTR(), 1);
    EXPECT_EQ(comm.ClearDTR(), 1);
    EXPECT_EQ(comm.EscapeComm(SETBREAK), 1);
    EXPECT_EQ(comm.EscapeComm(CLRBREAK), 1);
    EXPECT_EQ(comm.EscapeComm(SETXOFF), 1);
    EXPECT_EQ(comm.EscapeComm(SETXON), 1);
    EXPECT_EQ(comm.EscapeComm(7), 0);
    EXPECT_THAT(device.calls, ElementsAre("Set RTS", "Clear RTS", "Set DTR", "Clear DTR", "Set BREAK", "Clear BREAK",
                                          "XOFF", "XON"));
}

TEST_F(ZcommSeam, PurgeFlagsChooseTheQueues)
{
    Open();
    const struct {
        unsigned long flags;
        const char* call;
    } cases[] = {{PURGE_TXABORT, "Flush out"}, {PURGE_RXABORT, "Flush in"},  {PURGE_TXCLEAR, "Flush out"},
                 {PURGE_RXCLEAR, "Flush in"},  {15, "Flush in out"},         {0, "Flush"}};
    for (const auto& c : cases) {
        device.calls.clear();
        EXPECT_EQ(comm.PurgeCommPort(c.flags), 1);
        EXPECT_THAT(device.calls, ElementsAre(c.call)) << c.flags;
    }
}

TEST_F(ZcommSeam, LineErrorsAreReportedWhileTheQueuedBytesAreStillRead)
{
    Open();
    std::vector<std::tuple<TZComm*, int, std::string>> reports;
    comm.OnErrorOccurred = [&](TZComm* sender, int error, const std::string& text) {
        reports.emplace_back(sender, error, text);
    };
    device.inQueue = {1, 2, 3};
    device.pendingErrors = {serial::CE_RXPARITY | serial::CE_FRAME};
    unsigned char buffer[16] = {};
    EXPECT_EQ(comm.ReadComm(buffer, sizeof buffer), 3);
    EXPECT_EQ(buffer[2], 3);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(std::get<0>(reports[0]), &comm);
    EXPECT_EQ(std::get<1>(reports[0]), static_cast<int>(serial::CE_RXPARITY | serial::CE_FRAME));
    EXPECT_EQ(std::get<2>(reports[0]), "Read Error");

    device.inQueue = {4};
    EXPECT_EQ(comm.ReadComm(buffer, sizeof buffer), 1);
    EXPECT_EQ(reports.size(), 1u);  // cleared by the first read

    // Reported even when nothing is queued; without a handler only the bytes.
    device.pendingErrors = {serial::CE_OVERRUN};
    EXPECT_EQ(comm.ReadComm(buffer, sizeof buffer), 0);
    EXPECT_EQ(reports.size(), 2u);
    comm.OnErrorOccurred = nullptr;
    device.pendingErrors = {serial::CE_BREAK};
    device.inQueue = {5, 6};
    EXPECT_EQ(comm.ReadComm(buffer, sizeof buffer), 2);
}

TEST_F(ZcommSeam, ReadCommWithANegativeLengthReadsNothing)
{
    Open();
    device.inQueue = {1, 2, 3};
    unsigned char buffer[4];
    EXPECT_EQ(comm.ReadComm(buffer, -1), 0);
    EXPECT_EQ(device.inQueue.size(), 3u);
}

TEST_F(ZcommSeam, QueueCountsAndTransmissionStatus)
{
    Open();
    device.inQueue = {1, 2};
    device.pendingErrors = {serial::CE_FRAME};
    EXPECT_EQ(comm.GetTransmissionStatus(), serial::CE_FRAME);
    EXPECT_EQ(comm.GetQCountIn(), 2u);
    EXPECT_EQ(comm.QCountOut(), 7u);
}

TEST_F(ZcommSeam, ACompletedWriteIsNotPurged)
{
    Open();
    const unsigned char bytes[] = {1, 2, 3};
    EXPECT_EQ(comm.WriteComm(bytes, 3), 3);
    EXPECT_THAT(device.calls, ElementsAre("Write 3 2000"));
}

TEST_F(ZcommSeam, AWriteThatDoesNotCompleteClearsTheTransmitQueueAndGivesZero)
{
    Open();
    device.writeCompletes = false;
    const unsigned char bytes[] = {1, 2, 3};
    EXPECT_EQ(comm.WriteComm(bytes, 3), 0);
    EXPECT_THAT(device.calls, ElementsAre("Write 3 2000", "Flush out"));
}

TEST_F(ZcommSeam, WriteCommByteGivesOneOnlyForACompletedWrite)
{
    Open();
    EXPECT_EQ(comm.WriteCommByte(0x1B), 1);
    device.writeCompletes = false;
    EXPECT_EQ(comm.WriteCommByte(0x1B), 0);
    EXPECT_THAT(device.calls, ElementsAre("Write 1 2000", "Write 1 2000"));
    EXPECT_EQ(device.written, std::vector<uint8_t>{0x1B});
}

TEST_F(ZcommSeam, GetTextTakesAtMostMaxReadLength)
{
    Open();
    comm.MaxReadLength = 4;
    device.inQueue = {'a', 'b', 'c', 'd', 'e', 'f'};
    EXPECT_EQ(comm.GetText(), "abcd");
    EXPECT_EQ(comm.GetText(), "ef");
}

TEST_F(ZcommSeam, WindowProcedureAnswersSessionEndAndDeliversOnlyWhileConnected)
{
    int raised = 0;
    TZComm* sender = nullptr;
    comm.OnDataAvailable = [&](TZComm* s) {
        ++raised;
        sender = s;
    };
    for (uint32_t msg : {WM_QUERYENDSESSION, WM_ENDSESSION}) {
        TMessage m{msg, 0, 0, 0};
        comm.WindowMessageProc(m);
        EXPECT_EQ(m.Result, 1) << msg;
    }
    TMessage m{WM_USER, 5, 0, 0};
    EXPECT_EQ(comm.MessageCOMM(m), 0);
    Open();
    EXPECT_EQ(comm.MessageCOMM(m), 1);
    EXPECT_EQ(comm.NotifyWindow()->Send(WM_USER, 5, 0), 0);
    EXPECT_EQ(raised, 2);
    EXPECT_EQ(sender, &comm);
    comm.OnDataAvailable = nullptr;
    EXPECT_EQ(comm.MessageCOMM(m), 1);  // an unassigned handler is simply not called
}

TEST_F(ZcommSeam, AHandlerMayCloseTheConnection)
{
    Open();
    comm.OnDataAvailable = [](TZComm* s) { s->CloseConnection(); };
    TMessage m{WM_USER, 0, 0, 0};
    EXPECT_EQ(comm.MessageCOMM(m), 1);
    EXPECT_EQ(comm.Connected(), 0);
    EXPECT_EQ(comm.EventThread(), nullptr);
}

} // namespace
} // namespace krn310
