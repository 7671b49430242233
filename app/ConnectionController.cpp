// The connection controller: opening and closing the link over the interface
// chosen in the connection view, and starting the first read.

#include "app/Main.h"

#include "platform/AnsiText.h"
#include "platform/MessageBox.h"
#include "platform/StrToInt.h"
#include "platform/StringTable.h"

namespace krn310 {

namespace {

constexpr int kConnectImage = 0;
constexpr int kDisconnectImage = 1;

// On Linux the serial devices stand under /dev, where the spooler's port
// text "ttyUSB0:" names /dev/ttyUSB0.
const std::string kDeviceFolder = "/dev/";

} // namespace

int TForm1::InterfaceType() const
{
    return Connection.ComboBox1->ItemIndex();
}

void TForm1::SetConnectHeader(const std::string& text, int imageIndex)
{
    THeaderControl* header = Navigation.HeaderControl1;
    header->SetSectionText(0, QString::fromStdString(text));
    header->SetSectionImageIndex(0, imageIndex);
}

std::string TForm1::PortText() const
{
    return Utf8ToAnsi(Connection.ComboBox2->Text().toStdString()) + ":";
}

void TForm1::ReleaseHeldPortPrinters()
{
    if (!HeldPortPrinters)
        return;
    // The queues come back to the port they were taken from, whatever the
    // port list shows now.
    HeldPortPrinters->RestorePort(HeldPortText);
    HeldPortPrinters.reset();
    HeldPortText.clear();
}

void TForm1::HeaderControl1SectionClick(int section)
{
    (void)section;
    ToggleLink(LinkToggle::FromHeader);
}

void TForm1::ReconnectToggle()
{
    ToggleLink(LinkToggle::AfterPrinterSettings);
}

void TForm1::ToggleLink(LinkToggle how)
{
    switch (InterfaceType()) {
    case kInterfaceRs232:
        ToggleSerialLink(how);
        break;
    case kInterfaceEthernet:
        ToggleSocketLink(how);
        break;
    default:
        break;
    }
}

void TForm1::ToggleSerialLink(LinkToggle how)
{
    const std::string portText = PortText();
    if (ZComm1.Connected()) {
        ReleaseHeldPortPrinters();
        DisableSettings();
        SetConnectHeader(LoadStr(IDS_CONNECT), kConnectImage);
        ZComm1.CloseConnection();
        return;
    }

    ZComm1.Port = kDeviceFolder + portText.substr(0, portText.size() - 1);
    ZComm1.BaudRate = StrToInt(Connection.ComboBox3->Text().toStdString());
    if (how == LinkToggle::FromHeader) {
        switch (Connection.ComboBox6->ItemIndex()) {
        case 0:
            ZComm1.CTSFlowCtl = false;
            ZComm1.XInputFlowCtl = false;
            ZComm1.XOuputFlowCtl = false;
            break;
        case 1:
            ZComm1.CTSFlowCtl = true;
            ZComm1.XInputFlowCtl = false;
            ZComm1.XOuputFlowCtl = false;
            break;
        case 2:
            ZComm1.CTSFlowCtl = false;
            ZComm1.XInputFlowCtl = true;
            ZComm1.XOuputFlowCtl = true;
            break;
        default:
            break;
        }
    }

    HeldPortPrinters = Environment.MakePortPrinters();
    if (HeldPortPrinters) {
        HeldPortText = portText;
        HeldPortPrinters->ReleasePort(portText);
    }

    if (ZComm1.OpenConnection()) {
        SetConnectHeader(LoadStr(IDS_DISCONNECT), kDisconnectImage);
        Sequencer.ArmWatchdog();
        Sequencer.RunScript(how == LinkToggle::FromHeader ? Reads.ReadAllScript : Reads.ReadSet2Script);
        return;
    }
    ReleaseHeldPortPrinters();
    ShowMessageBox(LoadStr(IDS_CANNOT_CONNECT));
}

void TForm1::ToggleSocketLink(LinkToggle how)
{
    ZSocket1.RemoteAddr = Utf8ToAnsi(Connection.Edit8->text().toStdString());
    ZSocket1.RemotePort = Utf8ToAnsi(Connection.Edit9->text().toStdString());
    if (ZSocket1.State() == kSocketConnected) {
        DisableSettings();
        SetConnectHeader(LoadStr(IDS_CONNECT), kConnectImage);
        ZSocket1.ZClose();
        return;
    }
    if (how == LinkToggle::FromHeader) {
        ReconnectFlag = 0;
        // Until the socket answers, so that the operator cannot click twice.
        Navigation.HeaderControl1->setVisible(false);
    } else {
        ReconnectFlag = 1;
    }
    ZSocket1.ZConnect();
}

void TForm1::ZSocket1Connect()
{
    if (ZSocket1.State() == kSocketConnected) {
        Sequencer.RunScript(ReconnectFlag ? Reads.ReadSet2Script : Reads.ReadAllScript);
        SetConnectHeader(LoadStr(IDS_DISCONNECT), kDisconnectImage);
        Navigation.HeaderControl1->setVisible(true);
    }
    Sequencer.ArmWatchdog();
}

void TForm1::ZSocket1Error()
{
    DisableSettings();
    SetConnectHeader(LoadStr(IDS_CONNECT), kConnectImage);
    Navigation.HeaderControl1->setVisible(true);
}

void TForm1::ZSocket1Timeout()
{
    ZSocket1Error();
}

void TForm1::ComboBox1Change()
{
    ConnectionView& c = Connection;
    const bool ethernet = InterfaceType() == kInterfaceEthernet;
    c.Label2->setText(QString::fromStdString(LoadStr(ethernet ? IDS_IP_ADDRESS_LABEL : IDS_SERIAL_PORT_LABEL)));
    c.Label3->setText(QString::fromStdString(LoadStr(ethernet ? IDS_TCP_PORT_LABEL : IDS_BAUD_LABEL)));
    // Labels size themselves to their caption.
    c.Label2->adjustSize();
    c.Label3->adjustSize();
    for (QWidget* serialOnly : {static_cast<QWidget*>(c.Label4), static_cast<QWidget*>(c.Label5),
                                static_cast<QWidget*>(c.Label6), static_cast<QWidget*>(c.ComboBox2),
                                static_cast<QWidget*>(c.ComboBox3), static_cast<QWidget*>(c.ComboBox4),
                                static_cast<QWidget*>(c.ComboBox5), static_cast<QWidget*>(c.ComboBox6)})
        serialOnly->setVisible(!ethernet);
    if (ethernet) {
        c.Edit8->move(c.ComboBox2->pos());
        c.Edit9->move(c.ComboBox3->pos());
        c.Label39->move(c.Label39->x(), c.ComboBox2->y());
        c.Label40->move(c.Label40->x(), c.ComboBox3->y());
    }
    for (QWidget* ethernetOnly : {static_cast<QWidget*>(c.Edit8), static_cast<QWidget*>(c.Edit9),
                                  static_cast<QWidget*>(c.Label39), static_cast<QWidget*>(c.Label40)})
        ethernetOnly->setVisible(ethernet);
}

} // namespace krn310
