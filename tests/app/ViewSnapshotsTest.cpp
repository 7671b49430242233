#include "FormFixture.h"

#include "app/ViewSnapshots.h"

#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <stdexcept>

namespace krn310::test {
namespace {

using ViewSnapshotsTest = FormFixture;

TEST_F(ViewSnapshotsTest, WritesOnePictureOfTheWindowPerView)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ClickNode(4);
    const QStringList files = RenderViews(*form, dir.filePath(QStringLiteral("views")));
    const char* names[] = {"0-GroupBox1.png", "1-GroupBox2.png", "2-GroupBox3.png", "3-GroupBox4.png",
                           "4-GroupBox5.png", "5-GroupBox6.png", "6-GroupBox7.png", "7-GroupBox8.png"};
    ASSERT_EQ(files.size(), 8);
    QImage previous;
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(QFileInfo(files[i]).fileName(), QString::fromLatin1(names[i]));
        const QImage image(files[i]);
        ASSERT_FALSE(image.isNull()) << names[i];
        EXPECT_EQ(image.size() / image.devicePixelRatio(), form->size());
        EXPECT_NE(image, previous) << names[i];
        previous = image;
    }
    // The window is back where it was.
    EXPECT_EQ(Tree()->Selected(), Tree()->Item(4));
    EXPECT_EQ(ShownView(), form->Positioning.GroupBox5);
}

TEST_F(ViewSnapshotsTest, UnwritableFolderIsAnError)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(RenderViews(*form, dir.filePath(QStringLiteral("file/views"))), std::runtime_error);
}

} // namespace
} // namespace krn310::test
