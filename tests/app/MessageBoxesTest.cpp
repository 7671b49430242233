#include "app/Main.h"
#include "app/MessageBoxes.h"
#include "tests/support/RunUntil.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

namespace krn310::test {
namespace {

struct SeenBox {
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QAbstractButton*> buttons;
    bool modal = false;
};

// Waits for the modal box, notes what it shows and presses its OK button.
void AnswerNextBox(SeenBox& seen, bool& answered)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &seen, &answered] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = {box->text(), box->windowTitle(), box->icon(), box->buttons(), box->isModal()};
        box->button(QMessageBox::Ok)->click();
        answered = true;
        poll->deleteLater();
    });
    poll->start(10);
}

struct BoxCase {
    MessageBoxKind kind;
    const char* caption;
    QMessageBox::Icon icon;
    const char* shownCaption;
};

TEST(MessageBoxesTest, ShowsAModalBoxWithOkAndReturnsWhenClosed)
{
    const BoxCase cases[] = {
        {MessageBoxKind::Plain, "", QMessageBox::NoIcon, "KRN-310 Конфигуратор (v.1.01)"},
        {MessageBoxKind::Error, "Error", QMessageBox::Critical, "Error"},
    };
    TQtMessageBoxSink sink;
    for (const BoxCase& c : cases) {
        SeenBox seen;
        bool answered = false;
        AnswerNextBox(seen, answered);
        sink.Show("Принтер не отвечает!!!!", c.caption, c.kind);
        ASSERT_TRUE(answered);
        EXPECT_EQ(seen.text, QStringLiteral("Принтер не отвечает!!!!"));
        EXPECT_EQ(seen.caption, QString::fromUtf8(c.shownCaption));
        EXPECT_EQ(seen.icon, c.icon);
        EXPECT_TRUE(seen.modal);
        EXPECT_EQ(seen.buttons.size(), 1);
    }
}

TEST(MessageBoxesTest, TimersGoOnWhileTheBoxIsOpen)
{
    TQtMessageBoxSink sink;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(5);
    SeenBox seen;
    bool answered = false;
    auto* late = new QTimer;
    late->setSingleShot(true);
    QObject::connect(late, &QTimer::timeout, [&, late] {
        AnswerNextBox(seen, answered);
        late->deleteLater();
    });
    late->start(100);
    sink.Show("text", "", MessageBoxKind::Plain);
    EXPECT_TRUE(answered);
    EXPECT_GT(ticks, 0);
}

TEST(MessageBoxesTest, ExceptionInAWindowHandlerShowsAnErrorBoxAndTheWindowGoesOn)
{
    TQtMessageBoxSink sink;
    ScopedMessageBoxSink installed(sink);
    QTemporaryDir folder;
    TFormEnvironment env;
    env.ConfigFile = (folder.path() + "/krn310-config.INI").toStdString();
    env.SaveConfigOnClose = false;
    TForm1 form(env);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.Navigation.HeaderControl1->OnSectionClick = [](int) { throw std::runtime_error("Read Error"); };

    SeenBox seen;
    bool answered = false;
    AnswerNextBox(seen, answered);
    THeaderControl* header = form.Navigation.HeaderControl1;
    QTest::mouseClick(header, Qt::LeftButton, {}, header->SectionRect(0).center());
    ASSERT_TRUE(answered);
    EXPECT_EQ(seen.text, QStringLiteral("Read Error"));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);

    TTreeView* tree = form.Navigation.TreeView1;
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(tree->Item(7)).center());
    EXPECT_TRUE(form.ServiceInfo.GroupBox8->isVisible());
    EXPECT_FALSE(form.Connection.GroupBox1->isVisible());
}

} // namespace
} // namespace krn310::test
