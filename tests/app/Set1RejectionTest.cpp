#include "PrinterFixture.h"

#include <QApplication>

namespace krn310::test {
namespace {

struct RejectionCase {
    const char* field;
    const char* text;
    int node;
    const char* view;
    int messageId;
};

const RejectionCase kRejections[] = {
    {"Edit6", "", 4, "GroupBox5", 134},
    {"Edit7", "256", 3, "GroupBox4", 133},
    {"Edit5", "9", 5, "GroupBox6", 137},
    {"Edit2", "577", 4, "GroupBox5", 135},
    {"Edit4", "0", 5, "GroupBox6", 136},
    {"Edit1", "-1", 4, "GroupBox5", 134},
};

class Set1RejectionTest : public PrinterFixture {
protected:
    void SetUp() override
    {
        PrinterFixture::SetUp();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        StartPrinter();
        ChooseEthernet(printer->TcpPort());
        ClickHeaderSection();
        ASSERT_TRUE(WaitForRead());
        printer->ClearLog();
    }
};

TEST_F(Set1RejectionTest, BringsTheFieldsViewForwardShowsTheMessageThenFocusesTheField)
{
    for (const RejectionCase& c : kRejections) {
        SCOPED_TRACE(c.field);
        auto* field = form->findChild<TEdit*>(QString::fromLatin1(c.field));
        ASSERT_NE(field, nullptr);
        const QString readValue = field->text();
        field->setText(QString::fromUtf8(c.text));

        struct AtTheBox {
            QTreeWidgetItem* selected;
            QString shownView;
            bool fieldFocused;
        } atTheBox{};
        boxes.shown.clear();
        boxes.OnShow = [&] {
            atTheBox = {Tree()->Selected(), ShownView() ? ShownView()->objectName() : QString(),
                        QApplication::focusWidget() == field};
        };

        ClickNode(1);
        QTest::mouseClick(form->Apply.SpeedButton3, Qt::LeftButton);
        boxes.OnShow = nullptr;

        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, LoadStr(c.messageId));
        EXPECT_EQ(boxes.shown[0].kind, MessageBoxKind::Error);
        EXPECT_EQ(atTheBox.selected, Tree()->Item(c.node));
        EXPECT_EQ(atTheBox.shownView, QString::fromLatin1(c.view));
        EXPECT_FALSE(atTheBox.fieldFocused);

        EXPECT_EQ(QApplication::focusWidget(), field);
        EXPECT_EQ(ShownView()->objectName(), QString::fromLatin1(c.view));
        EXPECT_TRUE(form->Apply.Panel2->isVisible());
        EXPECT_EQ(field->text(), QString::fromUtf8(c.text));
        EXPECT_TRUE(form->Sequencer.Idle());
        ExpectViewsEnabled(true);
        field->setText(readValue);
    }
    RunFor(300);
    EXPECT_TRUE(printer->Log().empty());
    EXPECT_FALSE(form->Timer2.Enabled());
    EXPECT_FALSE(form->Timer3.Enabled());
    EXPECT_FALSE(form->Timer4.Enabled());
}

} // namespace
} // namespace krn310::test
