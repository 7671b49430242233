#include "PrinterFixture.h"

namespace krn310::test {
namespace {

class InformationRequestTest : public PrinterFixture {
protected:
    void SetUp() override
    {
        PrinterFixture::SetUp();
        StartPrinter();
        ChooseEthernet(printer->TcpPort());
        ClickHeaderSection();
        ASSERT_TRUE(WaitForRead());
        printer->ClearLog();
        ClickNode(7);
    }

    void ClickRequest() { QTest::mouseClick(form->ServiceInfo.SpeedButton2, Qt::LeftButton); }
};

TEST_F(InformationRequestTest, RereadsIdentificationAndStatus)
{
    printer->SetIdentification('C', "KRN-310M");
    printer->SetStatus(1, 0x00);
    ClickRequest();
    ASSERT_TRUE(RunUntil([&] { return form->Sequencer.Idle(); }));
    EXPECT_EQ(Commands(), (std::vector<Bytes>{kMakerName, kModelName, kFirmwareVersion, kSerialNumber,
                                              kPrinterStatus, kOfflineStatus, kPaperStatus}));
    TStringGrid* grid = form->ServiceInfo.StringGrid1;
    EXPECT_EQ(grid->Cells(1, 0), QStringLiteral("KRN-310M"));
    EXPECT_EQ(grid->Cells(0, 8), QStringLiteral("Денежный ящик"));
    EXPECT_EQ(grid->Cells(1, 8), QStringLiteral("Открыт"));
    EXPECT_TRUE(grid->Cells(0, 13).isEmpty());
    ExpectViewsEnabled(true);
    EXPECT_FALSE(form->Timer1.Enabled());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(InformationRequestTest, DoesNothingWhenTheSelectedInterfaceHasNoOpenLink)
{
    // The socket stays open, but RS-232 is now selected and its port closed.
    ChooseInterface(kInterfaceRs232);
    ClickNode(7);
    ClickRequest();
    EXPECT_TRUE(form->Sequencer.Idle());
    EXPECT_FALSE(form->Timer1.Enabled());
    RunFor(300);
    EXPECT_TRUE(printer->Log().empty());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(form->ZSocket1.State(), kSocketConnected);
}

} // namespace
} // namespace krn310::test
