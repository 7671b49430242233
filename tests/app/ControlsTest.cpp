#include "app/controls/TCheckBox.h"
#include "app/controls/TComboBox.h"
#include "app/controls/TEdit.h"
#include "app/controls/TRadioGroup.h"
#include "app/controls/TStringGrid.h"
#include "app/controls/TTrackBar.h"
#include "platform/MessageBox.h"

#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

namespace krn310::test {
namespace {

class RecordingBoxes : public IMessageBoxSink {
public:
    void Show(const std::string& text, const std::string&, MessageBoxKind kind) override
    {
        texts.push_back(text);
        kinds.push_back(kind);
    }
    std::vector<std::string> texts;
    std::vector<MessageBoxKind> kinds;
};

// A small window holding the control under test.
class ControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(300, 200);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QWidget window;
};

using TrackBarTest = ControlTest;

TEST_F(TrackBarTest, ChangeIsRaisedForOperatorAndProgramMovesOnly)
{
    TTrackBar slider(&window);
    slider.SetMin(18);
    slider.SetMax(125);
    slider.SetPosition(125);
    slider.setGeometry(0, 0, 271, 30);
    slider.show();
    int changes = 0;
    slider.OnChange = [&] { ++changes; };

    slider.SetPosition(125);
    EXPECT_EQ(changes, 0);
    slider.SetPosition(60);
    EXPECT_EQ(changes, 1);

    slider.setFocus();
    QTest::keyClick(&slider, Qt::Key_PageUp);
    EXPECT_EQ(slider.Position(), 61);
    EXPECT_EQ(changes, 2);

    // A lower maximum clamps the position and reports the move.
    slider.SetMax(25);
    EXPECT_EQ(slider.Position(), 25);
    EXPECT_EQ(changes, 3);
    slider.SetMax(125);
    EXPECT_EQ(slider.Position(), 25);
    EXPECT_EQ(changes, 3);
    // Below the minimum the slider keeps the minimum.
    slider.SetPosition(3);
    EXPECT_EQ(slider.Position(), 18);
}

TEST_F(TrackBarTest, SelectionRangeIsKeptAndDrawn)
{
    TTrackBar slider(&window);
    slider.SetMin(1);
    slider.SetMax(100);
    slider.setGeometry(0, 0, 271, 30);
    slider.SetPosition(100);
    slider.show();
    const QImage none = slider.grab().toImage();
    slider.SetSelStart(1);
    slider.SetSelEnd(100);
    EXPECT_EQ(slider.SelStart(), 1);
    EXPECT_EQ(slider.SelEnd(), 100);
    EXPECT_NE(slider.grab().toImage(), none);
}

TEST_F(TrackBarTest, ExceptionFromTheChangeHandlerIsReported)
{
    RecordingBoxes boxes;
    ScopedMessageBoxSink installed(boxes);
    TTrackBar slider(&window);
    slider.SetMax(10);
    slider.OnChange = [] { throw std::runtime_error("slider"); };
    slider.SetPosition(5);
    EXPECT_EQ(slider.Position(), 5);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], "slider");
    EXPECT_EQ(boxes.kinds[0], MessageBoxKind::Error);
}

using ComboBoxTest = ControlTest;

TEST_F(ComboBoxTest, ChangeIsRaisedOnlyForTheOperatorsChoice)
{
    TComboBox list(&window);
    list.SetItems({"RS-232", "Ethernet"});
    list.SetItemIndex(0);
    list.setGeometry(0, 0, 105, 21);
    list.show();
    int changes = 0;
    list.OnChange = [&] { ++changes; };

    list.SetItemIndex(1);
    EXPECT_EQ(changes, 0);
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(list.ItemIndex(), 0);
    EXPECT_EQ(changes, 1);
}

TEST_F(ComboBoxTest, IndexOutsideTheItemsSelectsNone)
{
    TComboBox list(&window);
    EXPECT_EQ(list.ItemIndex(), -1);
    list.SetItems({"a", "b"});
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_EQ(list.Text(), QString());
    list.SetItemIndex(1);
    EXPECT_EQ(list.Text(), QStringLiteral("b"));
    for (int outside : {2, 7, -1, -5}) {
        list.SetItemIndex(1);
        list.SetItemIndex(outside);
        EXPECT_EQ(list.ItemIndex(), -1) << outside;
    }
}

TEST_F(ComboBoxTest, SortedListPlacesEachAddedItem)
{
    TComboBox list(&window);
    list.SetSorted(true);
    for (const char* port : {"ttyS2", "ttyUSB0", "ttyS0", "ttyS10", "ttyACM0"})
        list.AddItem(QString::fromLatin1(port));
    EXPECT_EQ(list.Items(), QStringList({"ttyACM0", "ttyS0", "ttyS10", "ttyS2", "ttyUSB0"}));
    EXPECT_EQ(list.ItemIndex(), -1);
}

using EditTest = ControlTest;

TEST_F(EditTest, KeyFilterSeesTypedCharactersOnly)
{
    TEdit edit(&window);
    edit.setGeometry(0, 0, 100, 21);
    edit.show();
    edit.setFocus();
    std::u16string seen;
    edit.OnKeyPress = [&](char16_t& key) {
        seen.push_back(key);
        const bool hex = (key >= u'0' && key <= u'9') || (key >= u'A' && key <= u'F') || (key >= u'a' && key <= u'f');
        if (!hex)
            key = 0;
    };
    QTest::keyClicks(&edit, "aG1z");
    EXPECT_EQ(edit.text(), QStringLiteral("a1"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), QStringLiteral("a1"));
    // Keys without a character pass by the filter.
    QTest::keyClick(&edit, Qt::Key_Left);
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_EQ(edit.text(), QStringLiteral("a"));
    EXPECT_EQ(seen, std::u16string(u"aG1z\b"));
}

TEST_F(EditTest, KeyFilterMayReplaceTheCharacter)
{
    TEdit edit(&window);
    edit.show();
    edit.setFocus();
    edit.OnKeyPress = [](char16_t& key) {
        if (key >= u'a' && key <= u'f')
            key = static_cast<char16_t>(key - u'a' + u'A');
    };
    QTest::keyClicks(&edit, "4b");
    EXPECT_EQ(edit.text(), QStringLiteral("4B"));
}

TEST_F(EditTest, TextTheProgramSetsStaysWholeWhileTypingKeepsTheLimits)
{
    TEdit edit(&window);
    edit.SetMaxLength(5);
    edit.SetDigitsOnly(true);
    edit.show();
    edit.setFocus();
    edit.setText(QStringLiteral("6200212345"));
    EXPECT_EQ(edit.text(), QStringLiteral("6200212345"));
    edit.setText(QStringLiteral("80a"));
    EXPECT_EQ(edit.text(), QStringLiteral("80a"));

    edit.setText(QStringLiteral("6200212345"));
    edit.end(false);
    QTest::keyClicks(&edit, "7x");
    EXPECT_EQ(edit.text(), QStringLiteral("6200212345"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), QStringLiteral("620021234"));
    edit.selectAll();
    QTest::keyClicks(&edit, "1234567");
    EXPECT_EQ(edit.text(), QStringLiteral("12345"));
}

using CheckBoxTest = ControlTest;

TEST_F(CheckBoxTest, CaptionOnTheLeftTogglesAcrossTheWholeWidth)
{
    TCheckBox box(&window);
    box.setText(QStringLiteral("Автоматический перевод строки"));
    box.SetCaptionOnLeft(true);
    box.setGeometry(0, 0, 273, 17);
    box.show();
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(4, 8));
    EXPECT_TRUE(box.Checked());
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(268, 8));
    EXPECT_FALSE(box.Checked());
}

// True when every pixel of the image has one colour.
bool Uniform(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0))
                return false;
    return true;
}

TEST_F(CheckBoxTest, BoxStandsAtTheRightEnd)
{
    TCheckBox box(&window);
    box.SetCaptionOnLeft(true);
    box.setGeometry(0, 0, 273, 17);
    box.show();
    // Without a caption only the box is drawn.
    const QImage image = box.grab().toImage();
    EXPECT_TRUE(Uniform(image.copy(0, 0, 240, 17)));
    EXPECT_FALSE(Uniform(image.copy(253, 0, 20, 17)));
}

using RadioGroupTest = ControlTest;

TEST_F(RadioGroupTest, ItemIndexFollowsClicksAndProgram)
{
    TRadioGroup group(QStringLiteral("Выбор канала"), &window);
    group.setGeometry(0, 0, 169, 65);
    group.SetItems({"Канал денежного ящика 0", "Канал денежного ящика 1"});
    group.show();
    EXPECT_EQ(group.ItemIndex(), -1);
    group.SetItemIndex(0);
    EXPECT_EQ(group.ItemIndex(), 0);
    QTest::mouseClick(group.Button(1), Qt::LeftButton, {}, QPoint(6, group.Button(1)->height() / 2));
    EXPECT_EQ(group.ItemIndex(), 1);
    group.SetItemIndex(-1);
    EXPECT_EQ(group.ItemIndex(), -1);
    EXPECT_FALSE(group.Button(0)->isChecked());
    EXPECT_FALSE(group.Button(1)->isChecked());
    EXPECT_LT(group.Button(0)->geometry().bottom(), group.Button(1)->geometry().top());
    EXPECT_LE(group.Button(1)->geometry().bottom(), group.height());
}

using StringGridTest = ControlTest;

TEST_F(StringGridTest, CellsAreAddressedColumnFirstAndNotEditable)
{
    TStringGrid grid(2, 18, &window);
    grid.SetCells(1, 4, QStringLiteral("пользовательский"));
    EXPECT_EQ(grid.Cells(1, 4), QStringLiteral("пользовательский"));
    EXPECT_EQ(grid.Cells(0, 4), QString());
    EXPECT_EQ(grid.item(4, 1)->text(), QStringLiteral("пользовательский"));
    EXPECT_FALSE(grid.item(4, 1)->flags() & Qt::ItemIsEditable);
    // Cells outside the grid read empty and take nothing.
    grid.SetCells(2, 0, QStringLiteral("x"));
    grid.SetCells(0, 18, QStringLiteral("x"));
    EXPECT_EQ(grid.Cells(2, 0), QString());
    EXPECT_EQ(grid.Cells(0, 18), QString());
}

} // namespace
} // namespace krn310::test
