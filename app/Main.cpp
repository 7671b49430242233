#include "app/Main.h"

#include "app/SettingsBinding.h"
#include "app/controls/ControlEvent.h"
#include "app/controls/Look.h"
#include "config/LocalConfig.h"
#include "platform/StringTable.h"

#include <QCloseEvent>
#include <QScreen>

namespace krn310 {

namespace {

constexpr int kOuterWidth = 540;
constexpr int kOuterHeight = 412;

// Until a window manager has framed the window its frame is unknown (and on
// the offscreen platform there is none); the frame of a classic Windows
// dialog stands in, giving a client area of 532 x 378.
const QMargins kTypicalFrame(4, 30, 4, 4);

constexpr int kGridLabelColumn = 0;
constexpr int kGridStateRow = 7;

} // namespace

TForm1::TForm1(TFormEnvironment environment, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      Environment(std::move(environment))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("KRN-310 Конфигуратор (v.1.01)"));
    setFont(WindowFont());

    ImageList1.Add(DrawLamp(QColor(0, 200, 0)));
    ImageList1.Add(DrawLamp(QColor(128, 0, 0)));

    Navigation = BuildNavigationControls(this, ImageList1);
    Connection = BuildConnectionView(this);
    PrinterSettings1 = BuildPrinterSettings1View(this);
    PrinterSettings2 = BuildPrinterSettings2View(this);
    FontParams = BuildFontView(this);
    Positioning = BuildPositioningView(this);
    Barcode = BuildBarcodeView(this);
    ConnectionParams = BuildConnectionParamsView(this);
    ServiceInfo = BuildServiceInfoView(this);
    // Built last, so it lies over the lower edge of the 265-high views.
    Apply = BuildApplyPanel(this);

    // The node of the view the window opens on starts selected.
    Navigation.TreeView1->SetSelected(NodeFor(8));

    // The serial component's design values.
    ZComm1.InputQueueSize = 1024;
    ZComm1.OutputQueueSize = 1024;
    ZComm1.CTSFlowCtl = true;
    ZComm1.EnableParity = false;
    ZComm1.XOuputFlowCtl = false;
    ZComm1.XInputFlowCtl = false;
    ZComm1.ErrorReplace = true;
    ZComm1.ErrorChar = '~';
    ZComm1.TimeoutReadInterval = 65535;
    ZComm1.TimeoutReadMultiplier = 1;
    ZComm1.TimeoutReadConstant = 5000;
    ZComm1.TimeoutWriteMultiplier = 1;

    if (!Environment.MakePortPrinters)
        Environment.MakePortPrinters = [] { return std::make_unique<CPortsPrinters>(false); };

    ConnectHandlers();
    RunGuarded([this] { FormCreate(); });
}

TForm1::~TForm1()
{
    // The components' handlers point into this window.
    ZComm1.OnDataAvailable = nullptr;
    ZSocket1.OnDataAvailable = nullptr;
    ZSocket1.OnConnect = nullptr;
    ZSocket1.OnError = nullptr;
    ZSocket1.OnTimeout = nullptr;
}

void TForm1::ConnectHandlers()
{
    Navigation.TreeView1->OnClick = [this] { TreeView1Click(); };
    Navigation.HeaderControl1->OnSectionClick = [this](int section) { HeaderControl1SectionClick(section); };
    Connection.ComboBox1->OnChange = [this] { ComboBox1Change(); };
    PrinterSettings1.TrackBar1->OnChange = [this] { TrackBar1Change(); };
    PrinterSettings1.TrackBar2->OnChange = [this] { TrackBar2Change(); };
    ConnectionParams.ComboBox14->OnChange = [this] { ComboBox14Change(); };
    for (TEdit* mac : ConnectionParams.MacEdits())
        mac->OnKeyPress = [this](char16_t& key) { Edit10KeyPress(key); };
    ServiceInfo.SpeedButton2->OnClick = [this] { Reads.SpeedButton2Click(); };
    Apply.SpeedButton3->OnClick = [this] { Flows.SpeedButton3Click(); };
    Apply.SpeedButton4->OnClick = [this] { Flows.SpeedButton4Click(); };
    Apply.SpeedButton5->OnClick = [this] { Flows.SpeedButton5Click(); };
    Apply.SpeedButton6->OnClick = [this] { Flows.SpeedButton6Click(); };
    OnClose = [this] { FormClose(); };

    Timer1.OnTimer = Guarded([this] { Sequencer.Timer1Timer(); });
    Timer2.OnTimer = Guarded([this] { Flows.Timer2Timer(); });
    Timer3.OnTimer = Guarded([this] { Flows.Timer3Timer(); });
    Timer4.OnTimer = Guarded([this] { Flows.Timer4Timer(); });

    ZComm1.OnDataAvailable = Guarded([this](TZComm*) { Sequencer.ZComm1DataAvailable(); });
    ZSocket1.OnDataAvailable = Guarded([this](TZSocket*) { Sequencer.ZSocket1DataAvailable(); });
    ZSocket1.OnConnect = Guarded([this](TZSocket*) { ZSocket1Connect(); });
    ZSocket1.OnError = Guarded([this](TZSocket*, int, const std::string&, uint32_t) { ZSocket1Error(); });
    ZSocket1.OnTimeout = Guarded([this](TZSocket*) { ZSocket1Timeout(); });
}

std::filesystem::path TForm1::ConfigFile() const
{
    return Environment.ConfigFile.empty() ? ConfigFilePath() : Environment.ConfigFile;
}

void TForm1::FormCreate()
{
    Sequencer.WatchdogTicks = TSequencer::kWatchdogReload;
    Connection.GroupBox1->setVisible(true);
    SetOuterSize(kOuterWidth, kOuterHeight);
    DisableSettings();

    ConnectionControls stored = ReadConnectionControls(*this);
    FillSerialPortList(stored.ComboBox2, Environment.SysfsRoot);
    LoadLocalConfig(stored, ConfigFile());
    WriteConnectionControls(*this, stored);
    ComboBox1Change();

    TStringGrid* grid = ServiceInfo.StringGrid1;
    grid->SetColWidths(0, 190);
    grid->SetColWidths(1, 130);
    for (int row = 0; row <= 5; ++row)
        grid->SetCells(kGridLabelColumn, row, QString::fromStdString(LoadStr(IDS_GRID_MODEL + row)));
    grid->SetCells(kGridLabelColumn, kGridStateRow, QString::fromStdString(LoadStr(IDS_GRID_CURRENT_STATE)));

    Navigation.TreeView1->SetAutoExpand(true);

    TTrackBar* speed = PrinterSettings1.TrackBar2;
    speed->SetPosition(125);
    speed->SetSelEnd(speed->Position());
    TrackBar2Change();

    PrinterSettings1.Label41->setVisible(true);

    for (int i = 0; i < Navigation.TreeView1->Count(); ++i)
        Navigation.TreeView1->Item(i)->setText(0, QString::fromStdString(LoadStr(IDS_NODE_CONNECTION + i)));
}

void TForm1::FormClose()
{
    if (ZComm1.Connected()) {
        ReleaseHeldPortPrinters();
        ZComm1.CloseConnection();
    }
    if (Environment.SaveConfigOnClose)
        SaveLocalConfig(ReadConnectionControls(*this), ConfigFile());
}

void TForm1::TreeView1Click()
{
    ShowSelectedView();
}

void TForm1::ShowSelectedView()
{
    const QTreeWidgetItem* node = Navigation.TreeView1->Selected();
    if (!node)
        return;
    const int selected = ViewNumberOf(node);
    for (int n = 1; n <= 8; ++n) {
        TGroupBox* view = ViewFor(n);
        if (n == selected) {
            view->move(200, 16);
            view->setVisible(true);
            Apply.Panel2->setVisible(n != 7 && n != 8);
        } else {
            view->setVisible(false);
        }
    }
}

void TForm1::EnableSettings()
{
    for (QWidget* control : SettingsControls())
        control->setEnabled(true);
}

void TForm1::DisableSettings()
{
    for (QWidget* control : SettingsControls())
        control->setEnabled(false);
}

std::array<QWidget*, 8> TForm1::SettingsControls() const
{
    return {PrinterSettings1.GroupBox2, FontParams.GroupBox4,       Positioning.GroupBox5,
            Barcode.GroupBox6,          ConnectionParams.GroupBox7, ServiceInfo.GroupBox8,
            PrinterSettings2.GroupBox3, Apply.Panel2};
}

void TForm1::TrackBar1Change()
{
    PrinterSettings1.TrackBar1->SetSelEnd(PrinterSettings1.TrackBar1->Position());
}

TGroupBox* TForm1::ViewFor(int viewNumber) const
{
    switch (viewNumber) {
    case 1: return PrinterSettings1.GroupBox2;
    case 2: return FontParams.GroupBox4;
    case 3: return Positioning.GroupBox5;
    case 4: return Barcode.GroupBox6;
    case 5: return PrinterSettings2.GroupBox3;
    case 6: return ConnectionParams.GroupBox7;
    case 7: return ServiceInfo.GroupBox8;
    case 8: return Connection.GroupBox1;
    default: return nullptr;
    }
}

QTreeWidgetItem* TForm1::NodeFor(int viewNumber) const
{
    for (int i = 0; i < Navigation.TreeView1->Count(); ++i) {
        if (ViewNumberOf(Navigation.TreeView1->Item(i)) == viewNumber)
            return Navigation.TreeView1->Item(i);
    }
    return nullptr;
}

int TForm1::ViewNumberOf(const QTreeWidgetItem* node)
{
    return node ? node->data(0, kViewNumberRole).toInt() : 0;
}

void TForm1::closeEvent(QCloseEvent* event)
{
    RaiseEvent(OnClose);
    event->accept();
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (centred_)
        return;
    centred_ = true;
    if (const QScreen* display = screen()) {
        const QPoint centre = display->availableGeometry().center();
        move(centre.x() - kOuterWidth / 2, centre.y() - kOuterHeight / 2);
    }
}

void TForm1::SetOuterSize(int width, int height)
{
    QMargins frame = kTypicalFrame;
    const QRect outer = frameGeometry();
    const QRect client = geometry();
    if (isVisible() && outer != client)
        frame = QMargins(client.left() - outer.left(), client.top() - outer.top(), outer.right() - client.right(),
                         outer.bottom() - client.bottom());
    resize(width - frame.left() - frame.right(), height - frame.top() - frame.bottom());
}

} // namespace krn310
