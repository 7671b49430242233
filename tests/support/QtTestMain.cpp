#include <QApplication>

#include <gtest/gtest.h>

// Tests that need Qt's event loop (and, on the offscreen platform, widgets)
// share one application object.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
