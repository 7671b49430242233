#include "app/Demo.h"
#include "app/Main.h"
#include "app/MessageBoxes.h"
#include "app/ViewSnapshots.h"
#include "app/controls/Look.h"
#include "platform/HandlerGuard.h"
#include "spooler/PortsPrinters.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct CommandLine {
    bool demo = false;
    const char* renderFolder = nullptr;
    bool help = false;
    bool exitWhenShown = false;
};

CommandLine Parse(int argc, char** argv)
{
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--demo") == 0)
            line.demo = true;
        else if (std::strcmp(argv[i], "--render-views") == 0 && i + 1 < argc)
            line.renderFolder = argv[++i];
        else if (std::strcmp(argv[i], "--exit-when-shown") == 0)
            line.exitWhenShown = true;
        else if (std::strcmp(argv[i], "--help") == 0)
            line.help = true;
    }
    return line;
}

const char kUsage[] =
    "Usage: krn310-config [--demo] [--render-views DIR] [--exit-when-shown]\n"
    "  --demo              start a simulated KRN-310 on a free loopback port and a\n"
    "                      pseudo-terminal, and open the window pointed at it\n"
    "  --render-views DIR  save a picture of each of the eight views into DIR and\n"
    "                      exit; with --demo the printer is read first\n"
    "  --exit-when-shown   close the window as soon as it has been shown (for\n"
    "                      measuring the start)\n";

} // namespace

int main(int argc, char** argv)
{
    const CommandLine line = Parse(argc, argv);
    if (line.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    // Rendering needs no screen.
    if (line.renderFolder && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The demo talks to its own printer only: nothing leaves this machine.
    if (line.demo)
        setenv("KRN310_LOOPBACK_ONLY", "1", 1);

    QApplication app(argc, argv);
    krn310::ApplyWindowsLook();
    krn310::TQtMessageBoxSink messageBoxes;
    krn310::ScopedMessageBoxSink installed(messageBoxes);

    int result = 0;
    krn310::RunGuarded([&] {
        // Queues an earlier run left set aside, killed while it held their
        // port, get their binding back first.
        krn310::RestoreJournalledPrinters();

        std::unique_ptr<krn310::sim::Simulator> printer;
        krn310::TFormEnvironment environment;
        if (line.demo) {
            printer = krn310::StartDemoPrinter();
            // The demo's loopback values are not the operator's.
            environment.SaveConfigOnClose = false;
        }
        krn310::TForm1 form(environment);
        if (printer)
            krn310::ShowDemoPrinter(form, *printer);
        form.show();

        if (line.renderFolder) {
            result = 1;
            if (printer && !krn310::ConnectAndRead(form, 20000)) {
                std::fputs("krn310-config: the simulated printer was not read\n", stderr);
                return;
            }
            for (const QString& file : krn310::RenderViews(form, QString::fromLocal8Bit(line.renderFolder)))
                std::printf("%s\n", file.toLocal8Bit().constData());
            result = 0;
            return;
        }
        if (line.exitWhenShown)
            QMetaObject::invokeMethod(&form, &QWidget::close, Qt::QueuedConnection);
        QApplication::exec();
    });
    return result;
}
