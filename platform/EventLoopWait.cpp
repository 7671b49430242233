#include "platform/EventLoopWait.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace krn310 {

bool RunEventLoopUntil(const std::function<bool()>& done, int limitMs)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer look;
    look.setInterval(10);
    QElapsedTimer elapsed;
    elapsed.start();
    const auto check = [&] {
        if (done() || elapsed.elapsed() >= limitMs)
            loop.quit();
    };
    // Looked at each time the loop has handled what was pending, and at
    // least every 10 ms for the limit.
    QObject::connect(&look, &QTimer::timeout, &loop, check);
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &loop, check);
    look.start();
    loop.exec();
    return done();
}

} // namespace krn310
