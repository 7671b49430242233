// The least Qt Widgets program with a window: the baseline of the startup
// figures. With --exit-when-shown it ends as soon as its window is shown.

#include <QApplication>
#include <QLabel>

#include <cstring>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel window("KRN-310");
    window.resize(640, 480);
    window.show();
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--exit-when-shown") == 0)
            QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
    return QApplication::exec();
}
