#pragma once

#include "app/Main.h"
#include "platform/MessageBox.h"
#include "tests/spooler/FakeSpooler.h"
#include "tests/support/RunUntil.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace krn310::test {

// Records the message boxes instead of showing them.
class RecordingMessageBoxes : public IMessageBoxSink {
public:
    struct Box {
        std::string text;
        std::string caption;
        MessageBoxKind kind;
    };

    void Show(const std::string& text, const std::string& caption, MessageBoxKind kind) override
    {
        shown.push_back({text, caption, kind});
        if (OnShow)
            OnShow();
    }

    std::vector<Box> shown;
    // Called while the box would stand on the screen.
    std::function<void()> OnShow;
};

// The spooler in memory, telling the test of each rebinding as it happens.
class TWatchedSpooler : public TFakeSpooler {
public:
    bool SetPrinterPort(const std::string& name, const std::string& port) override
    {
        if (OnSetPrinterPort)
            OnSetPrinterPort(name, port);
        return TFakeSpooler::SetPrinterPort(name, port);
    }

    std::function<void(const std::string& name, const std::string& port)> OnSetPrinterPort;
};

// A freshly created and shown main window on the offscreen platform, with
// its own configuration file, no serial ports of the machine and print
// queues in memory.
class FormFixture : public ::testing::Test {
protected:
    void SetUp() override { CreateForm(); }

    TFormEnvironment Environment()
    {
        TFormEnvironment env;
        env.ConfigFile = ConfigFile();
        env.SysfsRoot = (folder.path() + "/sys").toStdString();
        env.MakePortPrinters = [this] { return std::make_unique<CPortsPrinters>(false, spooler); };
        return env;
    }

    std::filesystem::path ConfigFile() const { return (folder.path() + "/krn310-config.INI").toStdString(); }

    void CreateForm()
    {
        form = std::make_unique<TForm1>(Environment());
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    TTreeView* Tree() const { return form->Navigation.TreeView1; }

    // A real left click on the node's row, as the operator gives it.
    void ClickNode(int index)
    {
        const QRect row = Tree()->visualItemRect(Tree()->Item(index));
        ASSERT_TRUE(row.isValid());
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, row.center());
    }

    // A left click on the tree below the last node.
    void ClickEmptyTreeSpace()
    {
        const QPoint below(20, Tree()->viewport()->height() - 4);
        ASSERT_EQ(Tree()->itemAt(below), nullptr);
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, below);
    }

    // The operator's choice of an interface: a key press on ComboBox1 in the
    // connection view.
    void ChooseInterface(int index)
    {
        ClickNode(0);
        TComboBox* list = form->Connection.ComboBox1;
        list->SetItemIndex(index == 0 ? 1 : index - 1);
        list->setFocus();
        QTest::keyClick(list, index == 0 ? Qt::Key_Up : Qt::Key_Down);
        ASSERT_EQ(list->ItemIndex(), index);
    }

    void ClickHeaderSection()
    {
        THeaderControl* header = form->Navigation.HeaderControl1;
        QTest::mouseClick(header, Qt::LeftButton, {}, header->SectionRect(0).center());
    }

    // The one view shown, or null when none or several are.
    QWidget* ShownView() const
    {
        QWidget* shown = nullptr;
        for (int n = 1; n <= 8; ++n) {
            if (form->ViewFor(n)->isVisible()) {
                if (shown)
                    return nullptr;
                shown = form->ViewFor(n);
            }
        }
        return shown;
    }

    QTemporaryDir folder;
    TWatchedSpooler spooler;
    RecordingMessageBoxes boxes;
    ScopedMessageBoxSink installed{boxes};
    std::unique_ptr<TForm1> form;
};

} // namespace krn310::test
