#pragma once

#include "FormFixture.h"

#include "app/SettingsBinding.h"
#include "platform/AnsiText.h"
#include "platform/StringTable.h"
#include "tools/sim/Simulator.h"

#include <cstdint>
#include <string>
#include <vector>

namespace krn310::test {

using Bytes = std::vector<uint8_t>;

// The commands of the reads, as they go over the wire.
inline const Bytes kModelName = {0x1D, 0x49, 0x43};
inline const Bytes kMakerName = {0x1D, 0x49, 0x42};
inline const Bytes kFirmwareVersion = {0x1D, 0x49, 0x41};
inline const Bytes kSerialNumber = {0x1D, 0x49, 0x44};
inline const Bytes kPrinterStatus = {0x10, 0x04, 0x01};
inline const Bytes kOfflineStatus = {0x10, 0x04, 0x02};
inline const Bytes kPaperStatus = {0x10, 0x04, 0x04};
inline const Bytes kReadSet1 = {0x1D, 0x28, 0x45, 0x02, 0x00, 0x06, 0x74};
inline const Bytes kReadSet2Printer = {0x1D, 0x28, 0x45, 0x02, 0x00, 0x06, 0x75};
inline const Bytes kReadSet2Network = {0x1D, 0x28, 0x45, 0x02, 0x00, 0x06, 0x78};

inline const std::vector<Bytes> kReadAllCommands = {kModelName,     kMakerName,     kFirmwareVersion, kSerialNumber,
                                                    kPrinterStatus, kOfflineStatus, kPaperStatus,     kReadSet1,
                                                    kReadSet2Printer, kReadSet2Network};

// The main window and the simulated printer, on loopback TCP and, when asked,
// on a pseudo-terminal, with print queues in memory.
class PrinterFixture : public FormFixture {
protected:
    void TearDown() override
    {
        form.reset();
        printer.reset();
    }

    void StartPrinter(bool pty = false)
    {
        sim::Options options;
        options.tcp = true;
        options.pty = pty;
        options.pacing = false;
        printer = std::make_unique<sim::Simulator>(options);
        printer->Start();
    }

    // The pseudo-terminal as the serial port list names it: "pts/7".
    std::string PtyName() const { return printer->PtyPath().substr(std::string("/dev/").size()); }

    void ChooseEthernet(uint16_t port)
    {
        ChooseInterface(kInterfaceEthernet);
        form->Connection.Edit8->setText(QStringLiteral("127.0.0.1"));
        form->Connection.Edit9->setText(QString::number(port));
    }

    // Puts the port into the serial port list, as the port discovery would,
    // and chooses it with a baud rate and a flow control.
    void ChooseSerialPort(const std::string& name, const QString& baud = QStringLiteral("115200"), int flow = 0)
    {
        ChooseInterface(kInterfaceRs232);
        TComboBox* ports = form->Connection.ComboBox2;
        const QString item = QString::fromStdString(name);
        if (!ports->Items().contains(item))
            ports->AddItem(item);
        ports->SetItemIndex(ports->Items().indexOf(item));
        form->Connection.ComboBox3->SetItemIndex(form->Connection.ComboBox3->Items().indexOf(baud));
        form->Connection.ComboBox6->SetItemIndex(flow);
    }

    // Two queues on the port, one on another.
    void BindQueuesTo(const std::string& portText)
    {
        spooler.Printers = {{"Receipt", portText}, {"Office", "lp0:"}, {"Kitchen", portText}};
    }

    std::vector<std::string> QueuePorts() const
    {
        std::vector<std::string> ports;
        for (const TSpoolerPrinter& p : spooler.Printers)
            ports.push_back(p.Port);
        return ports;
    }

    // Distinct values in every part of the printer, so that a view left at
    // its design value shows.
    void GivePrinterDistinctValues()
    {
        printer->SetIdentification('C', "KRN-310T");
        printer->SetIdentification('B', Utf8ToAnsi("ООО «Тестовый завод»"));
        printer->SetIdentification('A', "v2.07");
        printer->SetIdentification('D', "SN-000123");
        printer->SetStatus(1, 0x04);
        printer->SetStatus(2, 0x44);
        printer->SetStatus(4, 0x28);
        std::array<uint8_t, 256> t = printer->Block('t');
        t[4] = 17;   // character spacing
        t[44] = 33;  // left margin
        // Longer than the operator may type into the edit: shown whole.
        t[104] = 0xE8;  // barcode height 1000
        t[105] = 0x03;
        printer->SetBlock('t', t);
        std::array<uint8_t, 256> u = printer->Block('u');
        u[12] = 42;  // contrast
        printer->SetBlock('u', u);
        std::array<uint8_t, 256> x = printer->Block('x');
        const uint8_t ip[] = {3, 2, 1, 10};  // 10.1.2.3
        std::copy(std::begin(ip), std::end(ip), x.begin() + 8);
        printer->SetBlock('x', x);
    }

    THeaderControl* Header() const { return form->Navigation.HeaderControl1; }
    QString HeaderText() const { return Header()->SectionText(0); }

    // Until the read after a connection has run to its end.
    bool WaitForRead(int limitMs = 20000)
    {
        return RunUntil(
            [&] {
                return HeaderText() == QStringLiteral("Разорвать соединение") && Header()->isVisible() &&
                       form->Sequencer.Idle() && form->PrinterSettings1.GroupBox2->isEnabled();
            },
            limitMs);
    }

    std::vector<Bytes> Commands() const
    {
        std::vector<Bytes> commands;
        for (const sim::LoggedMessage& m : printer->Log())
            commands.push_back(m.bytes);
        return commands;
    }

    void ExpectViewsEnabled(bool enabled) const
    {
        for (int n = 1; n <= 7; ++n)
            EXPECT_EQ(form->ViewFor(n)->isEnabled(), enabled) << "view " << n;
        EXPECT_EQ(form->Apply.Panel2->isEnabled(), enabled);
        EXPECT_TRUE(form->Connection.GroupBox1->isEnabled());
    }

    void ExpectConnectedHeader() const
    {
        EXPECT_EQ(HeaderText(), QStringLiteral("Разорвать соединение"));
        EXPECT_EQ(Header()->SectionImageIndex(0), 1);
        EXPECT_TRUE(Header()->isVisible());
    }

    void ExpectDisconnectedHeader() const
    {
        EXPECT_EQ(HeaderText(), QStringLiteral("Установить соединение"));
        EXPECT_EQ(Header()->SectionImageIndex(0), 0);
        EXPECT_TRUE(Header()->isVisible());
    }

    // The views as the printer's blocks fill them, from what they held
    // before the read.
    struct ExpectedViews {
        Set1View set1;
        Set2PrinterView printer;
        Set2NetworkView network;
    };

    ExpectedViews ViewsFromPrinterBlocks() const
    {
        ExpectedViews v{ReadSet1View(*form), ReadSet2PrinterView(*form), ReadSet2NetworkView(*form)};
        const std::array<uint8_t, 256> t = printer->Block('t');
        const std::array<uint8_t, 256> u = printer->Block('u');
        const std::array<uint8_t, 256> x = printer->Block('x');
        DecodeSet1Block(t, v.set1);
        DecodeSet2PrinterBlock(u, v.printer, v.network, form->InterfaceType());
        DecodeSet2NetworkBlock(x, v.network);
        return v;
    }

    // Everything the read after a connection shows: the service grid and
    // every view, from the values GivePrinterDistinctValues gave.
    void ExpectEverythingRead(const ExpectedViews& expected) const
    {
        TStringGrid* grid = form->ServiceInfo.StringGrid1;
        const char* cells[][2] = {
            {"Модель принтера", "KRN-310T"},
            {"Производитель", "ООО «Тестовый завод»"},
            {"Версия ПО", "v2.07"},
            {"Серийный номер принтера", "SN-000123"},
            {"Набор параметров 1", "пользовательский"},
            {"Набор параметров 2", "пользовательский"},
            {"", ""},
            {"Текущее состояние:", ""},
            {"Денежный ящик", "Закрыт"},
            {"Крышка бумажного отсека", "Открыт"},
            {"Состояние принтера", "Ошибка"},
            {"Датчик близкого конца бумаги", "Скоро конец"},
            {"Датчик наличия бумаги", "Бумага отсутствует"},
        };
        for (int row = 0; row < 13; ++row) {
            EXPECT_EQ(grid->Cells(0, row), QString::fromUtf8(cells[row][0])) << "row " << row;
            EXPECT_EQ(grid->Cells(1, row), QString::fromUtf8(cells[row][1])) << "row " << row;
        }

        EXPECT_EQ(ReadSet1View(*form), expected.set1);
        EXPECT_EQ(ReadSet2PrinterView(*form), expected.printer);
        EXPECT_EQ(ReadSet2NetworkView(*form), expected.network);
        EXPECT_EQ(form->FontParams.Edit7->text(), QStringLiteral("17"));
        EXPECT_EQ(form->Positioning.Edit1->text(), QStringLiteral("33"));
        EXPECT_EQ(form->Barcode.Edit4->text(), QStringLiteral("1000"));
        EXPECT_EQ(form->PrinterSettings1.TrackBar1->Position(), 42);
        const QString ip = form->ConnectionParams.Edit11->text() + "." + form->ConnectionParams.Edit12->text() +
                           "." + form->ConnectionParams.Edit13->text() + "." +
                           form->ConnectionParams.Edit14->text();
        EXPECT_EQ(ip, QStringLiteral("10.1.2.3"));
        ExpectViewsEnabled(true);
    }

    std::unique_ptr<sim::Simulator> printer;
};

} // namespace krn310::test
