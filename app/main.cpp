#include "app/Main.h"
#include "app/MessageBoxes.h"
#include "app/ViewSnapshots.h"
#include "app/controls/Look.h"
#include "platform/HandlerGuard.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

// "--render-views DIR": save a picture of each view into DIR and exit.
const char* RenderFolder(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--render-views") == 0)
            return argv[i + 1];
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    const char* renderFolder = RenderFolder(argc, argv);
    // Rendering needs no screen.
    if (renderFolder && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    krn310::ApplyWindowsLook(app);
    krn310::TQtMessageBoxSink messageBoxes;
    krn310::ScopedMessageBoxSink installed(messageBoxes);

    int result = 0;
    krn310::RunGuarded([&] {
        krn310::TForm1 form;
        form.show();
        if (renderFolder) {
            result = 1;
            for (const QString& file : krn310::RenderViews(form, QString::fromLocal8Bit(renderFolder)))
                std::printf("%s\n", file.toLocal8Bit().constData());
            result = 0;
            return;
        }
        QApplication::exec();
    });
    return result;
}
