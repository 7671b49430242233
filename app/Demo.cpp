#include "app/Demo.h"

#include "app/Main.h"

#include "platform/EventLoopWait.h"

namespace krn310 {

std::unique_ptr<sim::Simulator> StartDemoPrinter()
{
    sim::Options options;
    options.tcp = true;
    options.tcpAddress = "127.0.0.1";
    options.pty = true;
    auto printer = std::make_unique<sim::Simulator>(options);
    printer->Start();
    return printer;
}

void ShowDemoPrinter(TForm1& form, const sim::Simulator& printer)
{
    ConnectionView& c = form.Connection;
    const std::string pty = printer.PtyPath();
    const std::string devFolder = "/dev/";
    if (pty.rfind(devFolder, 0) == 0) {
        const QString name = QString::fromStdString(pty.substr(devFolder.size()));
        c.ComboBox2->AddItem(name);
        c.ComboBox2->SetItemIndex(c.ComboBox2->Items().indexOf(name));
    }
    c.ComboBox1->SetItemIndex(kInterfaceEthernet);
    c.Edit8->setText(QString::fromStdString(printer.TcpAddress()));
    c.Edit9->setText(QString::number(printer.TcpPort()));
    form.ComboBox1Change();
}

bool ConnectAndRead(TForm1& form, int limitMs)
{
    form.HeaderControl1SectionClick(0);
    return RunEventLoopUntil(
        [&] { return form.Sequencer.Idle() && form.PrinterSettings1.GroupBox2->isEnabled(); }, limitMs);
}

} // namespace krn310
