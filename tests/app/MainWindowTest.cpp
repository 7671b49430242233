#include "FormFixture.h"

#include "platform/StringTable.h"

#include <QScreen>

#include <stdexcept>

namespace krn310::test {
namespace {

using MainWindowTest = FormFixture;

TEST_F(MainWindowTest, FreshStartShowsTheConnectionViewAlone)
{
    EXPECT_EQ(ShownView(), form->Connection.GroupBox1);
    EXPECT_EQ(form->Connection.GroupBox1->pos(), QPoint(200, 16));
    EXPECT_FALSE(form->Apply.Panel2->isVisible());
    EXPECT_TRUE(form->Connection.GroupBox1->isEnabled());
    EXPECT_EQ(form->Sequencer.WatchdogTicks, 10);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MainWindowTest, WindowHasItsCaptionFrameAndSize)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("KRN-310 Конфигуратор (v.1.01)"));
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    // The offscreen platform draws no frame: the client area is what gives
    // 540 x 412 inside a classic Windows frame.
    EXPECT_EQ(form->size(), QSize(532, 378));
}

TEST_F(MainWindowTest, WindowOpensCentredOnTheScreen)
{
    const QPoint centre = form->screen()->availableGeometry().center();
    EXPECT_EQ(form->pos(), QPoint(centre.x() - 540 / 2, centre.y() - 412 / 2));
}

TEST_F(MainWindowTest, OnlyTheLeftButtonSelectsAndClicks)
{
    ClickNode(3);
    const QRect row = Tree()->visualItemRect(Tree()->Item(5));
    QTest::mouseClick(Tree()->viewport(), Qt::RightButton, {}, row.center());
    QTest::mouseClick(Tree()->viewport(), Qt::MiddleButton, {}, row.center());
    EXPECT_EQ(Tree()->Selected(), Tree()->Item(3));
    EXPECT_EQ(ShownView(), form->FontParams.GroupBox4);
}

TEST_F(MainWindowTest, FreshStartDisablesEveryViewButTheConnectionView)
{
    for (int n = 1; n <= 7; ++n) {
        form->Navigation.TreeView1->SetSelected(form->NodeFor(n));
        form->ShowSelectedView();
        EXPECT_TRUE(form->ViewFor(n)->isVisible()) << n;
        EXPECT_FALSE(form->ViewFor(n)->isEnabled()) << n;
    }
    EXPECT_FALSE(form->Apply.Panel2->isEnabled());
}

TEST_F(MainWindowTest, EnableSettingsEnablesTheViewsAndPanel)
{
    form->EnableSettings();
    for (int n = 1; n <= 8; ++n)
        EXPECT_TRUE(form->ViewFor(n)->isEnabled()) << n;
    EXPECT_TRUE(form->Apply.Panel2->isEnabled());
}

struct NodeCase {
    int node;
    const char* text;
    int viewNumber;
    const char* view;
    bool panelShown;
};

const NodeCase kNodes[] = {
    {0, "Соединение с принтером", 8, "GroupBox1", false},
    {1, "Настройки принтера 1", 1, "GroupBox2", true},
    {2, "Настройки принтера 2", 5, "GroupBox3", true},
    {3, "Параметры шрифта", 2, "GroupBox4", true},
    {4, "Позиционирование текста", 3, "GroupBox5", true},
    {5, "Параметры штрих-кода", 4, "GroupBox6", true},
    {6, "Параметры соединения", 6, "GroupBox7", true},
    {7, "Служебная информация", 7, "GroupBox8", false},
};

TEST_F(MainWindowTest, ClickingEachNodeShowsItsViewAtTheViewPlace)
{
    ASSERT_EQ(Tree()->Count(), 8);
    // Start from the last node so that every click changes the view.
    ClickNode(7);
    for (const NodeCase& c : kNodes) {
        SCOPED_TRACE(c.view);
        QTreeWidgetItem* node = Tree()->Item(c.node);
        EXPECT_EQ(node->text(0), QString::fromUtf8(c.text));
        EXPECT_EQ(TForm1::ViewNumberOf(node), c.viewNumber);
        EXPECT_EQ(node->childCount(), 0);

        // Wherever the view stood before, it is shown at 200, 16.
        form->ViewFor(c.viewNumber)->move(5, 300);
        ClickNode(c.node);
        ASSERT_NE(ShownView(), nullptr);
        EXPECT_EQ(ShownView()->objectName(), QString::fromLatin1(c.view));
        EXPECT_EQ(ShownView()->pos(), QPoint(200, 16));
        EXPECT_EQ(form->Apply.Panel2->isVisible(), c.panelShown);
        EXPECT_EQ(Tree()->Selected(), node);
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MainWindowTest, ViewHeightsFollowTheViewKind)
{
    for (int n = 1; n <= 8; ++n) {
        const int height = (n == 7 || n == 8) ? 353 : 265;
        EXPECT_EQ(form->ViewFor(n)->size(), QSize(321, height)) << n;
    }
}

TEST_F(MainWindowTest, KeyboardMovesTheSelectionButNotTheView)
{
    ClickNode(3);
    ASSERT_EQ(ShownView(), form->FontParams.GroupBox4);
    Tree()->setFocus();
    QTest::keyClick(Tree(), Qt::Key_Down);
    QTest::keyClick(Tree(), Qt::Key_Down);
    EXPECT_EQ(Tree()->Selected(), Tree()->Item(5));
    EXPECT_EQ(ShownView(), form->FontParams.GroupBox4);
    QTest::keyClick(Tree(), Qt::Key_Home);
    EXPECT_EQ(Tree()->Selected(), Tree()->Item(0));
    EXPECT_EQ(ShownView(), form->FontParams.GroupBox4);

    // The next click in the tree shows the selected node's view.
    ClickEmptyTreeSpace();
    EXPECT_EQ(ShownView(), form->Connection.GroupBox1);
}

TEST_F(MainWindowTest, ClickOnEmptySpaceKeepsTheSelectionAndShowsItsView)
{
    ClickNode(6);
    form->ViewFor(6)->hide();
    ClickEmptyTreeSpace();
    EXPECT_EQ(Tree()->Selected(), Tree()->Item(6));
    EXPECT_EQ(ShownView(), form->ConnectionParams.GroupBox7);
    EXPECT_TRUE(form->Apply.Panel2->isVisible());
}

TEST_F(MainWindowTest, ClickWithNoNodeSelectedLeavesTheViewAndTheWindowWorking)
{
    ClickNode(2);
    Tree()->SetSelected(nullptr);
    ASSERT_EQ(Tree()->Selected(), nullptr);
    ClickEmptyTreeSpace();
    EXPECT_EQ(ShownView(), form->PrinterSettings2.GroupBox3);
    EXPECT_TRUE(boxes.shown.empty());

    ClickNode(7);
    EXPECT_EQ(ShownView(), form->ServiceInfo.GroupBox8);
}

TEST_F(MainWindowTest, DisableSettingsLeavesTreeHeaderAndConnectionViewResponsive)
{
    int sectionClicks = 0;
    form->Navigation.HeaderControl1->OnSectionClick = [&](int section) {
        EXPECT_EQ(section, 0);
        ++sectionClicks;
    };
    form->EnableSettings();
    form->DisableSettings();

    EXPECT_TRUE(form->Navigation.TreeView1->isEnabled());
    EXPECT_TRUE(form->Navigation.HeaderControl1->isEnabled());
    EXPECT_TRUE(form->Connection.GroupBox1->isEnabled());
    for (QWidget* w : std::initializer_list<QWidget*>{form->ViewFor(1), form->ViewFor(2), form->ViewFor(3),
                                                      form->ViewFor(4), form->ViewFor(5), form->ViewFor(6),
                                                      form->ViewFor(7), form->Apply.Panel2})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();

    ClickHeaderSection();
    EXPECT_EQ(sectionClicks, 1);
    ClickNode(4);
    EXPECT_EQ(ShownView(), form->Positioning.GroupBox5);
    EXPECT_FALSE(ShownView()->isEnabled());
}

TEST_F(MainWindowTest, HeaderShowsItsDesignSectionAndFollowsChanges)
{
    THeaderControl* header = form->Navigation.HeaderControl1;
    ASSERT_EQ(header->SectionCount(), 1);
    EXPECT_EQ(header->SectionText(0), QStringLiteral("Установить Соединение"));
    EXPECT_EQ(header->SectionImageIndex(0), 0);
    EXPECT_EQ(header->SectionWidth(0), 182);
    EXPECT_EQ(header->geometry(), form->Navigation.Panel4->contentsRect());

    header->SetSectionText(0, QString::fromStdString(LoadStr(IDS_DISCONNECT)));
    header->SetSectionImageIndex(0, 1);
    EXPECT_EQ(header->SectionText(0), QStringLiteral("Разорвать соединение"));
    EXPECT_EQ(header->SectionImageIndex(0), 1);
}

TEST_F(MainWindowTest, HeaderClickNeedsPressAndReleaseOnTheSection)
{
    int clicks = 0;
    THeaderControl* header = form->Navigation.HeaderControl1;
    header->OnSectionClick = [&](int) { ++clicks; };
    const QPoint inside = header->SectionRect(0).center();
    QTest::mousePress(header, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(header, Qt::LeftButton, {}, QPoint(inside.x(), header->height() + 20));
    EXPECT_EQ(clicks, 0);
    QTest::mouseClick(header, Qt::RightButton, {}, inside);
    EXPECT_EQ(clicks, 0);
    ClickHeaderSection();
    EXPECT_EQ(clicks, 1);
}

TEST_F(MainWindowTest, ImageListHoldsAGreenAndADarkRedLamp)
{
    ASSERT_EQ(form->ImageList1.Count(), 2);
    const QImage green = form->ImageList1.Image(0).toImage();
    const QImage red = form->ImageList1.Image(1).toImage();
    ASSERT_EQ(green.size(), QSize(16, 16));
    ASSERT_EQ(red.size(), QSize(16, 16));
    const QColor g = green.pixelColor(8, 8);
    const QColor r = red.pixelColor(8, 8);
    EXPECT_GT(g.green(), g.red() + 60);
    EXPECT_GT(r.red(), r.green() + 60);
    EXPECT_LT(r.red(), 200);
    // Round lamps: the corners stay transparent.
    EXPECT_EQ(green.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(red.pixelColor(15, 15).alpha(), 0);
}

TEST_F(MainWindowTest, TimersStartDisabledWithTheWatchdogAt100ms)
{
    EXPECT_EQ(form->Timer1.Interval(), 100u);
    for (const TTimer* timer : {static_cast<const TTimer*>(&form->Timer1), static_cast<const TTimer*>(&form->Timer2),
                                static_cast<const TTimer*>(&form->Timer3), static_cast<const TTimer*>(&form->Timer4)})
        EXPECT_FALSE(timer->Enabled());
}

TEST_F(MainWindowTest, CreationFillsTheGridLabelsAndPreparesTheSliders)
{
    TStringGrid* grid = form->ServiceInfo.StringGrid1;
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_EQ(grid->RowCount(), 18);
    EXPECT_EQ(grid->ColWidths(0), 190);
    EXPECT_EQ(grid->ColWidths(1), 130);
    EXPECT_EQ(grid->DefaultRowHeight(), 16);
    EXPECT_EQ(grid->rowHeight(17), 16);
    EXPECT_EQ(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    const char* labels[] = {"Модель принтера", "Производитель", "Версия ПО", "Серийный номер принтера",
                            "Набор параметров 1", "Набор параметров 2", "", "Текущее состояние:"};
    for (int row = 0; row < 8; ++row)
        EXPECT_EQ(grid->Cells(0, row), QString::fromUtf8(labels[row])) << row;
    for (int row = 0; row < 18; ++row)
        EXPECT_TRUE(grid->Cells(1, row).isEmpty()) << row;

    EXPECT_TRUE(form->Navigation.TreeView1->AutoExpand());
    const TTrackBar* speed = form->PrinterSettings1.TrackBar2;
    EXPECT_EQ(speed->Position(), 125);
    EXPECT_EQ(speed->SelEnd(), 125);
    EXPECT_FALSE(form->PrinterSettings1.Label41->isHidden());
}

TEST_F(MainWindowTest, ContrastSliderHighlightFollowsItsPosition)
{
    form->EnableSettings();
    ClickNode(1);
    TTrackBar* contrast = form->PrinterSettings1.TrackBar1;
    EXPECT_EQ(contrast->Position(), 100);
    contrast->setFocus();
    QTest::keyClick(contrast, Qt::Key_Left);
    QTest::keyClick(contrast, Qt::Key_PageDown);
    EXPECT_EQ(contrast->Position(), 98);
    EXPECT_EQ(contrast->SelEnd(), 98);
    contrast->SetPosition(40);
    EXPECT_EQ(contrast->SelEnd(), 40);
}

TEST_F(MainWindowTest, ExceptionInAHandlerIsShownAndTheProgramGoesOn)
{
    int clicks = 0;
    form->Apply.SpeedButton3->OnClick = [&] {
        ++clicks;
        throw std::runtime_error("Ошибка обработчика");
    };
    form->EnableSettings();
    ClickNode(1);
    QTest::mouseClick(form->Apply.SpeedButton3, Qt::LeftButton);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Ошибка обработчика");
    EXPECT_EQ(boxes.shown[0].kind, MessageBoxKind::Error);

    QTest::mouseClick(form->Apply.SpeedButton3, Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(boxes.shown.size(), 2u);
    ClickNode(7);
    EXPECT_EQ(ShownView(), form->ServiceInfo.GroupBox8);
}

TEST_F(MainWindowTest, CloseRaisesOnClose)
{
    int closes = 0;
    form->OnClose = [&] { ++closes; };
    EXPECT_TRUE(form->close());
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainWindowTest, ExceptionWhileClosingIsShownAndTheWindowStillCloses)
{
    form->OnClose = [] { throw std::runtime_error("close failed"); };
    EXPECT_TRUE(form->close());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "close failed");
}

} // namespace
} // namespace krn310::test
