#include "app/Main.h"

#include "app/controls/ControlEvent.h"
#include "app/controls/Look.h"
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

TForm1::TForm1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
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

    Navigation.TreeView1->OnClick = [this] { TreeView1Click(); };
    PrinterSettings1.TrackBar1->OnChange = [this] { TrackBar1Change(); };

    RunGuarded([this] { FormCreate(); });
}

TForm1::~TForm1() = default;

void TForm1::FormCreate()
{
    WatchdogTicks = 10;
    Connection.GroupBox1->setVisible(true);
    SetOuterSize(kOuterWidth, kOuterHeight);
    DisableSettings();
    // The serial port list, the stored connection and its layout come in here.

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
    // The speed label follows through TrackBar2Change, run once here.

    PrinterSettings1.Label41->setVisible(true);

    for (int i = 0; i < Navigation.TreeView1->Count(); ++i)
        Navigation.TreeView1->Item(i)->setText(0, QString::fromStdString(LoadStr(IDS_NODE_CONNECTION + i)));
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
