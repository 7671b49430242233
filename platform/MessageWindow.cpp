#include "platform/MessageWindow.h"

#include "platform/HandlerGuard.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace krn310 {

namespace {

const QEvent::Type kPostedMessage = static_cast<QEvent::Type>(QEvent::registerEventType());

class PostedMessageEvent : public QEvent {
public:
    explicit PostedMessageEvent(const TMessage& m) : QEvent(kPostedMessage), message(m) {}
    TMessage message;
};

} // namespace

THiddenWindow::THiddenWindow(WindowProc proc) : proc_(std::move(proc)) {}

THiddenWindow::~THiddenWindow() = default;

void THiddenWindow::Post(uint32_t msg, uint32_t wParam, int32_t lParam)
{
    TMessage m;
    m.Msg = msg;
    m.WParam = wParam;
    m.LParam = lParam;
    QCoreApplication::postEvent(this, new PostedMessageEvent(m));
}

int32_t THiddenWindow::Send(uint32_t msg, uint32_t wParam, int32_t lParam)
{
    TMessage m;
    m.Msg = msg;
    m.WParam = wParam;
    m.LParam = lParam;
    if (proc_)
        RunGuarded([&] { proc_(m); });
    return m.Result;
}

void THiddenWindow::customEvent(QEvent* event)
{
    if (event->type() != kPostedMessage)
        return;
    TMessage m = static_cast<PostedMessageEvent*>(event)->message;
    if (proc_)
        RunGuarded([&] { proc_(m); });
}

void THiddenWindow::SetTimer(uint32_t id, unsigned ms)
{
    QTimer*& timer = timers_[id];
    if (!timer) {
        timer = new QTimer(this);
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer, &QTimer::timeout, this, [this, id] { Send(WM_TIMER, id, 0); });
    }
    timer->start(static_cast<int>(ms));
}

bool THiddenWindow::KillTimer(uint32_t id)
{
    auto it = timers_.find(id);
    if (it == timers_.end())
        return false;
    // The timer may be killed from its own WM_TIMER handler: delete it later.
    it->second->stop();
    it->second->deleteLater();
    timers_.erase(it);
    return true;
}

} // namespace krn310
