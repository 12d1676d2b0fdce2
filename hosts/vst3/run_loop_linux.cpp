#include <poll.h>

#include <algorithm>
#include <chrono>
#include <climits>

#include "run_loop.h"

namespace tzhost {

namespace {
long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Removes the entry of `handler` and drops the reference it held; false when there is none.
template <class List, class Handler>
bool Remove(List& list, Handler* handler) {
    auto it = std::find_if(list.begin(), list.end(), [&](const auto& e) { return e.handler == handler; });
    if (it == list.end()) return false;
    list.erase(it);
    handler->release();
    return true;
}

template <class List, class Handler>
bool Has(const List& list, Handler* handler) {
    return std::any_of(list.begin(), list.end(), [&](const auto& e) { return e.handler == handler; });
}
}  // namespace

RunLoop::~RunLoop() {
    for (const Event& e : mEvents) e.handler->release();
    for (const Timer& t : mTimers) t.handler->release();
}

tresult PLUGIN_API RunLoop::registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd) {
    if (!handler || fd < 0 || Has(mEvents, handler)) return kInvalidArgument;
    handler->addRef();
    mEvents.push_back({handler, fd});
    return kResultOk;
}

tresult PLUGIN_API RunLoop::unregisterEventHandler(Linux::IEventHandler* handler) {
    return Remove(mEvents, handler) ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API RunLoop::registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval milliseconds) {
    if (!handler || Has(mTimers, handler)) return kInvalidArgument;
    handler->addRef();
    // At least a millisecond apart, so a zero interval cannot hold the loop.
    const long long interval = static_cast<long long>(std::clamp<Linux::TimerInterval>(milliseconds, 1, INT_MAX));
    mTimers.push_back({handler, interval, NowMs() + interval});
    return kResultOk;
}

tresult PLUGIN_API RunLoop::unregisterTimer(Linux::ITimerHandler* handler) {
    return Remove(mTimers, handler) ? kResultOk : kInvalidArgument;
}

long long RunLoop::NextDue() const {
    long long next = LLONG_MAX;
    for (const Timer& t : mTimers) next = std::min(next, t.due);
    return next;
}

// A handler may unregister itself or another one while running: each runs only while registered.
void RunLoop::RunReadable(int timeoutMs) {
    std::vector<pollfd> fds;
    for (const Event& e : mEvents) fds.push_back({e.fd, POLLIN, 0});
    const std::vector<Event> polled = mEvents;
    if (poll(fds.data(), fds.size(), timeoutMs) <= 0) return;
    for (size_t i = 0; i < fds.size(); ++i) {
        if (fds[i].revents && Has(mEvents, polled[i].handler)) polled[i].handler->onFDIsSet(polled[i].fd);
    }
}

void RunLoop::RunDueTimers() {
    const long long now = NowMs();
    std::vector<Linux::ITimerHandler*> due;
    for (Timer& t : mTimers) {
        if (t.due > now) continue;
        due.push_back(t.handler);
        t.due = std::max(t.due + t.interval, now + 1);  // a late timer does not fire in a burst
    }
    for (Linux::ITimerHandler* handler : due) {
        if (Has(mTimers, handler)) handler->onTimer();
    }
}

void RunLoop::Pump(int ms) {
    const long long end = NowMs() + std::max(ms, 0);
    do {
        const long long now = NowMs();
        const long long wait = std::max(0LL, std::min(end, NextDue()) - now);
        RunReadable(static_cast<int>(wait));
        RunDueTimers();
    } while (NowMs() < end);
}

tresult PLUGIN_API EditorFrame::queryInterface(const TUID queryIid, void** obj) {
    if (queryIid && obj && iidEqual(queryIid, Linux::IRunLoop::iid)) return runLoop.queryInterface(queryIid, obj);
    return HostObject<IEditorFrame>::queryInterface(queryIid, obj);
}

tresult PLUGIN_API EditorFrame::resizeView(IEditorView* view, ViewRect* newSize) {
    return view && newSize ? view->onSize(newSize) : kInvalidArgument;
}

}  // namespace tzhost
