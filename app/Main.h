#pragma once

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
#include "platform/QtTimer.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

namespace krn310 {

// The program's single window: the navigation tree on the left chooses which
// of eight views stands at 200, 16; under the tree the connect/disconnect
// header, under the settings views the apply panel. It owns every control,
// the image list, the timers and the watchdog count; constructing it builds
// the design and runs FormCreate.
class TForm1 : public QWidget {
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // Non-visual components.
    TImageList ImageList1{16, 16};  // 0 green lamp, 1 dark-red lamp
    TQtTimer Timer1{100};           // reply watchdog
    TQtTimer Timer2;                // pauses of the apply and restore flows
    TQtTimer Timer3;
    TQtTimer Timer4;
    int32_t WatchdogTicks = 0;

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

    void FormCreate();
    void TreeView1Click();
    // Shows the view of the selected tree node and hides the others; with no
    // node selected the view shown stays.
    void ShowSelectedView();
    void EnableSettings();
    void DisableSettings();
    void TrackBar1Change();

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
    // What EnableSettings and DisableSettings act on, in their order; never
    // GroupBox1, the tree or the header.
    std::array<QWidget*, 8> SettingsControls() const;
    void SetOuterSize(int width, int height);

    bool centred_ = false;
};

} // namespace krn310
