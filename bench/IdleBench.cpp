// idle_connected: what the window costs while connected and idle after a
// full read, over TCP and over the pty: processor time, timer events, event
// loop wake-ups and the timers left running.

#include "app/Demo.h"
#include "bench/BenchSupport.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include <cstdio>

using namespace krn310;
using namespace krn310::bench;

namespace {

constexpr int kIdleMs = 10000;

class TimerEventCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Timer)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

int TimersRunning(TForm1& form)
{
    int running = 0;
    for (const TQtTimer* timer : {&form.Timer1, &form.Timer2, &form.Timer3, &form.Timer4})
        running += timer->Enabled() ? 1 : 0;
    return running;
}

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenPlatformUnlessSet();
    QApplication app(argc, argv);

    // On loopback and a pty, pacing at the line speed.
    const std::unique_ptr<sim::Simulator> started = StartDemoPrinter();
    sim::Simulator& printer = *started;
    BenchWindow window(printer);

    for (const auto& [name, interfaceType] :
         {std::pair<std::string, int>{"tcp", kInterfaceEthernet}, {"serial", kInterfaceRs232}}) {
        if (!window.ConnectAndReadOver(interfaceType)) {
            std::fprintf(stderr, "idle: the simulated printer was not read over %s\n", name.c_str());
            return 1;
        }
        // What the read itself left queued is not idling.
        QCoreApplication::processEvents();

        TimerEventCounter timerEvents;
        app.installEventFilter(&timerEvents);
        int wakeUps = 0;
        const auto counting = QObject::connect(QAbstractEventDispatcher::instance(),
                                               &QAbstractEventDispatcher::awake, [&] { ++wakeUps; });
        const auto cpuBefore = ProcessCpuTime();
        // A blocking loop: it sleeps until something happens, as the
        // window's own loop does; its one timer ends the measurement.
        QEventLoop idle;
        QTimer::singleShot(kIdleMs, &idle, &QEventLoop::quit);
        idle.exec();
        const auto cpu = ProcessCpuTime() - cpuBefore;
        QObject::disconnect(counting);
        app.removeEventFilter(&timerEvents);

        const std::string prefix = "idle_connected_" + name;
        Print(prefix + "_cpu", std::chrono::duration<double, std::milli>(cpu).count(), "ms");
        // Less the one that ended the measurement.
        Print(prefix + "_timer_events", timerEvents.count - 1, "count");
        Print(prefix + "_loop_wakeups", wakeUps, "count");
        Print(prefix + "_timers_running", TimersRunning(window.Form()), "count");
        window.Disconnect();
    }
    return 0;
}
