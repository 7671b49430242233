#include "app/Main.h"
#include "app/MessageBoxes.h"
#include "app/ViewSnapshots.h"
#include "app/controls/Look.h"
#include "platform/HandlerGuard.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <exception>

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

// The tool mode: no message boxes (nobody may be there to close them), the
// errors go to stderr and the exit code tells the outcome.
int RenderViewsTo(const char* folder)
{
    try {
        krn310::TForm1 form;
        form.show();
        for (const QString& file : krn310::RenderViews(form, QString::fromLocal8Bit(folder)))
            std::printf("%s\n", file.toLocal8Bit().constData());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "krn310-config: %s\n", e.what());
        return 1;
    }
}

} // namespace

int main(int argc, char** argv)
{
    const char* renderFolder = RenderFolder(argc, argv);
    // Rendering needs no screen.
    if (renderFolder && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    krn310::ApplyWindowsLook();
    if (renderFolder)
        return RenderViewsTo(renderFolder);

    krn310::TQtMessageBoxSink messageBoxes;
    krn310::ScopedMessageBoxSink installed(messageBoxes);
    krn310::RunGuarded([] {
        krn310::TForm1 form;
        form.show();
        QApplication::exec();
    });
    return 0;
}
