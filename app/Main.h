#pragma once

#include "app/WindowHost.h"
#include "app/controls/TImageList.h"
#include "app/views/ApplyPanel.h"
#include "app/views/BarcodeView.h"
#include "app/views/ConnectionParamsView.h"
#include "app/views/ConnectionView.h"
#include "app/views/FontView.h"
#include "app/views/NavigationControls.h"
#include "app/views/PositioningView.h"
#include "app/views/PrinterSettings1View.h"
#include "app/views/PrinterSettings2View.h"
#include "app/views/ServiceInfoView.h"
#include "comm/Zcomm.h"
#include "exchange/ReadScripts.h"
#include "exchange/Sequencer.h"
#include "platform/QtTimer.h"
#include "settings/ApplyFlows.h"
#include "settings/Set1Block.h"
#include "settings/WriteImages.h"
#include "socket/Zsocket.h"
#include "spooler/PortsPrinters.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace krn310 {

// What the window reads from and writes to the machine, replaceable so that
// tests and the demo keep to their own files and print queues.
struct TFormEnvironment {
    // The local configuration file; empty for the one beside the executable.
    std::filesystem::path ConfigFile;
    bool SaveConfigOnClose = true;
    // Where the serial ports are discovered.
    std::filesystem::path SysfsRoot = "/sys";
    // Takes the snapshot of the print queues before a serial port is opened;
    // empty for the system's spooler.
    std::function<std::unique_ptr<CPortsPrinters>()> MakePortPrinters;
};

// The program's single window: the navigation tree on the left chooses which
// of eight views stands at 200, 16; under the tree the connect/disconnect
// header, under the settings views the apply panel. It owns every control,
// the image list, the timers and the watchdog count; constructing it builds
// the design and runs FormCreate.
class TForm1 : public QWidget {
public:
    explicit TForm1(TFormEnvironment environment = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // Non-visual components.
    TImageList ImageList1{16, 16};  // 0 green lamp, 1 dark-red lamp
    TQtTimer Timer1{100};           // reply watchdog
    TQtTimer Timer2;                // pauses of the apply and restore flows
    TQtTimer Timer3;
    TQtTimer Timer4;

    // Controls, by the part of the window that holds them.
    NavigationControls Navigation;         // TreeView1, Panel4, HeaderControl1
    ConnectionView Connection;             // GroupBox1
    PrinterSettings1View PrinterSettings1; // GroupBox2
    PrinterSettings2View PrinterSettings2; // GroupBox3
    FontView FontParams;                   // GroupBox4
    PositioningView Positioning;           // GroupBox5
    BarcodeView Barcode;                   // GroupBox6
    ConnectionParamsView ConnectionParams; // GroupBox7
    ServiceInfoView ServiceInfo;           // GroupBox8
    ApplyPanel Apply;                      // Panel2

    TFormEnvironment Environment;

    // The links to the printer.
    TZComm ZComm1;
    TZSocket ZSocket1;

    // The printer exchange and the apply flows, on the window's timers. The
    // reply watchdog's count lives in the sequencer.
    TWindowHost Host{*this};
    TSequencer Sequencer{Host, Timer1};
    TReadScripts Reads{Sequencer, Host};
    WriteImages Images;
    TApplyFlows Flows{Sequencer, Reads, Host, Timer2, Timer3, Timer4,
                      Images.Set1, Images.Set2Printer, Images.Set2Network};

    // The print queues set aside while a serial link is open, and the port
    // text they were taken from.
    std::unique_ptr<CPortsPrinters> HeldPortPrinters;
    std::string HeldPortText;
    // Set when the link is opened to read the printer's new settings.
    uint8_t ReconnectFlag = 0;

    void FormCreate();
    void FormClose();
    void TreeView1Click();
    // Shows the view of the selected tree node and hides the others; with no
    // node selected the view shown stays.
    void ShowSelectedView();
    void EnableSettings();
    void DisableSettings();
    void TrackBar1Change();

    // The connection controller.
    int InterfaceType() const;
    void HeaderControl1SectionClick(int section);
    void ReconnectToggle();
    void ComboBox1Change();
    void ZSocket1Connect();
    void ZSocket1Error();
    void ZSocket1Timeout();
    void SetConnectHeader(const std::string& text, int imageIndex);
    // Gives the print queues held for the serial port back; a no-op when none
    // are held.
    void ReleaseHeldPortPrinters();

    // The views' own behaviour for parameter set 2.
    void ComboBox14Change();
    void TrackBar2Change();
    void Edit10KeyPress(char16_t& key);

    // A set 1 field that failed validation: its view comes forward, the
    // message is shown, then the field gets the focus.
    void ShowRejectedField(const FieldRejection& rejection);

    // The view of a ViewNumber 1..8; null for any other number.
    TGroupBox* ViewFor(int viewNumber) const;
    // The tree node carrying a ViewNumber; to bring a view forward, select
    // this node and call ShowSelectedView.
    QTreeWidgetItem* NodeFor(int viewNumber) const;
    static int ViewNumberOf(const QTreeWidgetItem* node);

    // Raised while the window closes, before it goes.
    std::function<void()> OnClose;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    enum class LinkToggle { FromHeader, AfterPrinterSettings };
    void ToggleLink(LinkToggle how);
    void ToggleSerialLink(LinkToggle how);
    void ToggleSocketLink(LinkToggle how);
    // The selected serial port as the spooler names it: "ttyUSB0:".
    std::string PortText() const;
    std::filesystem::path ConfigFile() const;
    void ConnectHandlers();

    // What EnableSettings and DisableSettings act on, in their order; never
    // GroupBox1, the tree or the header.
    std::array<QWidget*, 8> SettingsControls() const;
    void SetOuterSize(int width, int height);

    bool centred_ = false;
};

} // namespace krn310
