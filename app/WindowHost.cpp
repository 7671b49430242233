#include "app/WindowHost.h"

#include "app/Main.h"
#include "app/SettingsBinding.h"
#include "platform/MessageBox.h"
#include "platform/StringTable.h"

namespace krn310 {

int TWindowHost::InterfaceType() const
{
    return form_.InterfaceType();
}

long TWindowHost::SerialWrite(const uint8_t* bytes, long length)
{
    return form_.ZComm1.WriteComm(bytes, length);
}

long TWindowHost::SerialRead(uint8_t* buffer, long maxLength)
{
    return form_.ZComm1.ReadComm(buffer, maxLength);
}

bool TWindowHost::SerialConnected() const
{
    return form_.ZComm1.Connected() != 0;
}

void TWindowHost::SerialDisconnect()
{
    form_.ReleaseHeldPortPrinters();
    form_.ZComm1.CloseConnection();
}

int TWindowHost::SocketSend(const uint8_t* bytes, long length)
{
    return form_.ZSocket1.ZSend(form_.ZSocket1.SocketHandle, bytes, length);
}

int TWindowHost::SocketReceive(uint8_t* buffer, long maxLength)
{
    return form_.ZSocket1.ZReceive(form_.ZSocket1.SocketHandle, buffer, maxLength);
}

int TWindowHost::SocketState() const
{
    return form_.ZSocket1.State();
}

void TWindowHost::SocketClose()
{
    form_.ZSocket1.ZClose();
}

void TWindowHost::SetServiceCell(int col, int row, const std::string& text)
{
    form_.ServiceInfo.StringGrid1->SetCells(col, row, QString::fromStdString(text));
}

void TWindowHost::EnableSettings()
{
    form_.EnableSettings();
}

void TWindowHost::DisableSettings()
{
    form_.DisableSettings();
}

void TWindowHost::SetConnectHeader(const std::string& text, int imageIndex)
{
    form_.SetConnectHeader(text, imageIndex);
}

void TWindowHost::ShowConnectHeader()
{
    form_.Navigation.HeaderControl1->setVisible(true);
}

void TWindowHost::ShowMessage(const std::string& text)
{
    ShowMessageBox(text);
}

void TWindowHost::DecodeSet1Block(std::span<const uint8_t, 256> block)
{
    Set1View view = ReadSet1View(form_);
    const BlockDecodeResult result = krn310::DecodeSet1Block(block, view);
    WriteSet1View(form_, view);
    SetServiceCell(1, kSet1GridRow, result.GridCell);
}

void TWindowHost::DecodeSet2PrinterBlock(std::span<const uint8_t, 256> block)
{
    Set2PrinterView printer = ReadSet2PrinterView(form_);
    Set2NetworkView network = ReadSet2NetworkView(form_);
    const BlockDecodeResult result = krn310::DecodeSet2PrinterBlock(block, printer, network, InterfaceType());
    WriteSet2PrinterView(form_, printer);
    WriteSet2NetworkView(form_, network);
    SetServiceCell(1, kSet2GridRow, result.GridCell);
}

void TWindowHost::DecodeSet2NetworkBlock(std::span<const uint8_t, 256> block)
{
    Set2NetworkView network = ReadSet2NetworkView(form_);
    krn310::DecodeSet2NetworkBlock(block, network);
    WriteSet2NetworkView(form_, network);
}

bool TWindowHost::EncodeSet1Block()
{
    const std::optional<FieldRejection> rejection = krn310::EncodeSet1Block(ReadSet1View(form_), form_.Images.Set1);
    if (!rejection)
        return true;
    form_.ShowRejectedField(*rejection);
    return false;
}

void TWindowHost::EncodeSet2Blocks()
{
    krn310::EncodeSet2Blocks(ReadSet2PrinterView(form_), ReadSet2NetworkView(form_), form_.Images.Set2Printer,
                             form_.Images.Set2Network);
}

std::string TWindowHost::ConnectionBaudText() const
{
    return form_.Connection.ComboBox3->Text().toStdString();
}

void TWindowHost::CopyPrinterSettingsToConnectionView()
{
    ConnectionView& c = form_.Connection;
    const ConnectionParamsView& p = form_.ConnectionParams;
    // Both baud lists hold the same rates in the same order.
    c.ComboBox3->SetItemIndex(p.ComboBox14->ItemIndex());
    c.ComboBox6->SetItemIndex(p.ComboBox17->ItemIndex());
    c.Edit8->setText(p.Edit11->text() + "." + p.Edit12->text() + "." + p.Edit13->text() + "." + p.Edit14->text());
    c.Edit9->setText(p.Edit23->text());
}

void TWindowHost::ReconnectToggle()
{
    form_.ReconnectToggle();
}

} // namespace krn310
