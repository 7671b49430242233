#include "platform/EventLoopWait.h"

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
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (done() || elapsed.elapsed() >= limitMs)
            loop.quit();
    });
    look.start();
    loop.exec();
    return done();
}

} // namespace krn310
