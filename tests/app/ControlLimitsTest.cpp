#include "FormFixture.h"

#include <QClipboard>
#include <QGuiApplication>

namespace krn310::test {
namespace {

class ControlLimitsTest : public FormFixture {
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        form->EnableSettings();
    }

    TEdit* Edit(const char* name) const
    {
        auto* edit = form->findChild<TEdit*>(QString::fromLatin1(name));
        EXPECT_NE(edit, nullptr) << name;
        return edit;
    }

    // Shows the edit's view and gives the edit the focus, empty.
    void Focus(TEdit* edit)
    {
        for (int n = 1; n <= 8; ++n) {
            if (form->ViewFor(n)->isAncestorOf(edit)) {
                form->Navigation.TreeView1->SetSelected(form->NodeFor(n));
                form->ShowSelectedView();
            }
        }
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
    }
};

struct LengthCase {
    const char* edit;
    int maxLength;
    bool digitsOnly;
};

const LengthCase kLengths[] = {
    {"Edit9", 5, true},   {"Edit7", 3, false},  {"Edit1", 3, false},  {"Edit2", 3, false},  {"Edit6", 3, false},
    {"Edit4", 3, false},  {"Edit5", 1, false},  {"Edit26", 2, false}, {"Edit27", 2, false}, {"Edit28", 2, false},
    {"Edit11", 5, true},  {"Edit12", 5, true},  {"Edit13", 5, true},  {"Edit14", 5, true},  {"Edit15", 5, true},
    {"Edit16", 5, true},  {"Edit17", 5, true},  {"Edit18", 5, true},  {"Edit19", 5, true},  {"Edit20", 5, true},
    {"Edit21", 5, true},  {"Edit22", 5, true},  {"Edit23", 5, true},
};

TEST_F(ControlLimitsTest, TypedTextStopsAtTheMaximumLength)
{
    for (const LengthCase& c : kLengths) {
        SCOPED_TRACE(c.edit);
        TEdit* edit = Edit(c.edit);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->MaxLength(), c.maxLength);
        EXPECT_EQ(edit->DigitsOnly(), c.digitsOnly);
        Focus(edit);
        QTest::keyClicks(edit, "1234567890");
        EXPECT_EQ(edit->text(), QStringLiteral("1234567890").left(c.maxLength));
    }
}

TEST_F(ControlLimitsTest, DigitsOnlyEditsRefuseTypedLetters)
{
    for (const LengthCase& c : kLengths) {
        if (!c.digitsOnly)
            continue;
        SCOPED_TRACE(c.edit);
        TEdit* edit = Edit(c.edit);
        Focus(edit);
        QTest::keyClicks(edit, "1a2.B-3 ");
        EXPECT_EQ(edit->text(), QStringLiteral("123"));
    }
}

TEST_F(ControlLimitsTest, DigitsOnlyEditsRefusePastedLetters)
{
    TEdit* edit = Edit("Edit9");
    Focus(edit);
    QGuiApplication::clipboard()->setText(QStringLiteral("80x"));
    edit->paste();
    EXPECT_EQ(edit->text(), QString());
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), QString());

    QGuiApplication::clipboard()->setText(QStringLiteral("8080"));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), QStringLiteral("8080"));
    // Longer pasted digits are cut at the maximum length.
    Focus(edit);
    QGuiApplication::clipboard()->setText(QStringLiteral("1234567"));
    edit->paste();
    EXPECT_EQ(edit->text(), QStringLiteral("12345"));
}

TEST_F(ControlLimitsTest, OtherEditsTakeLetters)
{
    TEdit* edit = Edit("Edit3");
    Focus(edit);
    QTest::keyClicks(edit, "8,16,x");
    EXPECT_EQ(edit->text(), QStringLiteral("8,16,x"));
}

TEST_F(ControlLimitsTest, FixedMacFieldsAreReadOnly)
{
    const char* fixed[][2] = {{"Edit10", "4B"}, {"Edit24", "52"}, {"Edit25", "4E"}};
    for (const auto& [name, text] : fixed) {
        SCOPED_TRACE(name);
        TEdit* edit = Edit(name);
        EXPECT_TRUE(edit->isReadOnly());
        EXPECT_EQ(edit->MaxLength(), 2);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, "7");
        EXPECT_EQ(edit->text(), QString::fromLatin1(text));
    }
    for (const char* name : {"Edit26", "Edit27", "Edit28"})
        EXPECT_FALSE(Edit(name)->isReadOnly()) << name;
}

TEST_F(ControlLimitsTest, DisabledListsAndCheckBoxNeverTakeInput)
{
    // Stays so after the views are enabled again.
    form->DisableSettings();
    form->EnableSettings();
    for (TComboBox* list : {form->Connection.ComboBox4, form->Connection.ComboBox5, form->ConnectionParams.ComboBox15,
                            form->ConnectionParams.ComboBox16}) {
        SCOPED_TRACE(list->objectName().toStdString());
        EXPECT_FALSE(list->isEnabled());
        const int before = list->ItemIndex();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QTest::mouseClick(list, Qt::LeftButton);
        EXPECT_EQ(list->ItemIndex(), before);
    }
    TCheckBox* power = form->PrinterSettings1.CheckBox4;
    EXPECT_FALSE(power->isEnabled());
    QTest::mouseClick(power, Qt::LeftButton, {}, QPoint(power->width() - 5, power->height() / 2));
    EXPECT_FALSE(power->Checked());
}

TEST_F(ControlLimitsTest, ListsCannotBeTypedInto)
{
    for (TComboBox* list : form->findChildren<TComboBox*>()) {
        EXPECT_FALSE(list->isEditable()) << list->objectName().toStdString();
        EXPECT_EQ(list->lineEdit(), nullptr);
    }
}

TEST_F(ControlLimitsTest, DisabledViewTakesNoInput)
{
    form->DisableSettings();
    TEdit* edit = Edit("Edit7");
    form->Navigation.TreeView1->SetSelected(form->NodeFor(2));
    form->ShowSelectedView();
    edit->setFocus();
    QTest::keyClicks(edit, "9");
    EXPECT_EQ(edit->text(), QStringLiteral("0"));
}

} // namespace
} // namespace krn310::test
