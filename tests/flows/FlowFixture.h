#pragma once

#include "app/Demo.h"
#include "exchange/ExchangeHost.h"
#include "platform/StringTable.h"
#include "tests/app/FormFixture.h"
#include "tests/socket/SocketTestSupport.h"
#include "tools/sim/Simulator.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace krn310::test {

using Bytes = std::vector<uint8_t>;

// The wire as the printer sees it, spelled out here rather than taken from
// the exchange, so that a wrong command table shows.
inline Bytes UserSetup(uint8_t function, char selector)
{
    return {0x1D, 0x28, 0x45, 0x02, 0x00, function, static_cast<uint8_t>(selector)};
}
inline constexpr uint8_t kWrite = 0x05;
inline constexpr uint8_t kRead = 0x06;
inline const Bytes kInitialize{0x1B, 0x40};
inline const Bytes kRestart{0x1B, 0x42};

// Identification and status, the first fourteen steps of every read script.
inline std::vector<Bytes> InfoCommands()
{
    return {{0x1D, 0x49, 0x43}, {0x1D, 0x49, 0x42}, {0x1D, 0x49, 0x41}, {0x1D, 0x49, 0x44},
            {0x10, 0x04, 0x01}, {0x10, 0x04, 0x02}, {0x10, 0x04, 0x04}};
}
inline std::vector<Bytes> ReadCommands(std::initializer_list<char> blocks)
{
    std::vector<Bytes> commands = InfoCommands();
    for (char letter : blocks)
        commands.push_back(UserSetup(kRead, letter));
    return commands;
}

inline Bytes Joined(const Bytes& a, const Bytes& b)
{
    Bytes out = a;
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

template <class Block>
Bytes Message(const Bytes& head, const Block& block, const Bytes& trailer)
{
    Bytes out = head;
    out.insert(out.end(), block.begin(), block.end());
    return Joined(out, trailer);
}

inline uint32_t Le32(const std::array<uint8_t, 256>& block, size_t offset)
{
    return uint32_t(block[offset]) | uint32_t(block[offset + 1]) << 8 | uint32_t(block[offset + 2]) << 16 |
           uint32_t(block[offset + 3]) << 24;
}

// The tree's view numbers of the views the flows are driven from.
inline constexpr int kPrinterSettings1View = 1;
inline constexpr int kFontView = 2;
inline constexpr int kBarcodeView = 4;
inline constexpr int kConnectionParamsView = 6;

inline QString Str(int id)
{
    return QString::fromStdString(LoadStr(id));
}

// Generous: only keeps a broken flow from hanging the suite. A set 2 flow
// alone waits eight seconds for the printer's restart.
inline constexpr int kFlowLimitMs = 30000;

// The real window with the simulated printer behind it, over loopback TCP
// or a pseudo-terminal; the operator's clicks and keys go through Qt.
class FlowFixture : public FormFixture {
protected:
    void TearDown() override
    {
        // The window's links go before the printer they point at.
        form.reset();
        if (printer)
            printer->Stop();
    }

    void StartTcpPrinter()
    {
        sim::Options options;
        options.tcp = true;
        StartPrinter(options);
    }

    void StartPtyPrinter(bool pacing)
    {
        sim::Options options;
        options.pty = true;
        options.pacing = pacing;
        StartPrinter(options);
        ConnectionView& c = form->Connection;
        c.ComboBox1->SetItemIndex(kInterfaceRs232);
        form->ComboBox1Change();
        c.ComboBox3->SetItemIndex(c.ComboBox3->Items().indexOf("115200"));
        c.ComboBox6->SetItemIndex(0);
    }

    void StartPrinter(const sim::Options& options)
    {
        printer = std::make_unique<sim::Simulator>(options);
        printer->Start();
        ShowDemoPrinter(*form, *printer);
    }

    QString HeaderText() const { return form->Navigation.HeaderControl1->SectionText(0); }

    bool ShowsConnected() const
    {
        return HeaderText() == Str(IDS_DISCONNECT) && form->Navigation.HeaderControl1->isVisible();
    }

    // Every settings and information view and the apply panel, enabled or
    // disabled alike.
    bool AllViews(bool enabled) const
    {
        const QWidget* views[] = {form->PrinterSettings1.GroupBox2, form->FontParams.GroupBox4,
                                  form->Positioning.GroupBox5,      form->Barcode.GroupBox6,
                                  form->ConnectionParams.GroupBox7, form->ServiceInfo.GroupBox8,
                                  form->PrinterSettings2.GroupBox3, form->Apply.Panel2};
        for (const QWidget* view : views) {
            if (view->isEnabled() != enabled)
                return false;
        }
        return true;
    }

    // Clicks the connect header and waits until the printer has been read.
    void ConnectAndWaitForRead()
    {
        ASSERT_TRUE(AllViews(false));
        ClickHeaderSection();
        ASSERT_TRUE(RunUntil([&] { return ShowsConnected() && form->Sequencer.Idle() && AllViews(true); },
                             kFlowLimitMs));
        EXPECT_TRUE(boxes.shown.empty()) << boxes.shown.front().text;
    }

    // Brings a view forward with a click on its tree node.
    void ShowView(int viewNumber)
    {
        const QRect row = Tree()->visualItemRect(form->NodeFor(viewNumber));
        ASSERT_TRUE(row.isValid());
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, row.center());
        ASSERT_EQ(ShownView(), form->ViewFor(viewNumber));
    }

    // Replaces a field's text as the operator does: select all, then type;
    // an empty text is a Delete.
    static void Type(TEdit* edit, const QString& text)
    {
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, text);
    }

    // Moves a list's selection with the arrow keys, so that its change
    // handler runs as for the operator.
    static void Choose(TComboBox* list, int index)
    {
        for (int step = 0; step < list->count() && list->ItemIndex() < index; ++step)
            QTest::keyClick(list, Qt::Key_Down);
        for (int step = 0; step < list->count() && list->ItemIndex() > index; ++step)
            QTest::keyClick(list, Qt::Key_Up);
    }

    static void Press(TSpeedButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    std::vector<Bytes> Received() const
    {
        std::vector<Bytes> out;
        for (const sim::LoggedMessage& message : printer->Log())
            out.push_back(message.bytes);
        return out;
    }

    bool WaitForReceived(size_t count)
    {
        return RunUntil([&] { return printer->Log().size() >= count; }, kFlowLimitMs);
    }

    QString GridValue(int row) const { return form->ServiceInfo.StringGrid1->Cells(1, row); }

    std::unique_ptr<sim::Simulator> printer;
};

} // namespace krn310::test
