#pragma once
// What the stress hosts share: the counters of what they did, the failure report, the exit on a
// fault, the watchdog that runs the threads for the given time and ends the program on a
// deadlock, the editor's window thread, and the editor-timing and host-wait modes.
#ifdef _WIN32
#include <windows.h>
#else
#include <X11/Xlib.h>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace stress {

struct Counts {
    std::atomic<long> blocks{0}, frames{0}, automation{0}, setups{0}, states{0}, editors{0}, failures{0};
    std::atomic<long> nonFinite{0}, unprocessed{0};
    std::atomic<long> edits{0};  // editor edits the host heard of
};

inline long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

inline std::atomic<long long> gLastProgress{0};
// Every thread calls this after each round; the watchdog looks at the last call.
inline void Progress() { gLastProgress = NowMs(); }

// The first ten failures are printed; all are counted.
inline void Fail(Counts& counts, const char* what) {
    if (counts.failures++ < 10) std::fprintf(stderr, "stress: %s\n", what);
}

#ifdef _WIN32
// A fault on any thread ends the program with status 4. Without it, Wine ends a program whose
// fault is on a thread other than the first with status 0, and the run would pass. (On Linux a
// fault on any thread ends the program by its signal.)
inline LONG WINAPI ExitOnFault(EXCEPTION_POINTERS* e) {
    std::fprintf(stderr, "stress: fault 0x%08lx\n", static_cast<unsigned long>(e->ExceptionRecord->ExceptionCode));
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 4);
    return EXCEPTION_EXECUTE_HANDLER;
}
#endif

// The command line every stress host takes: [--editor-timing | --host-wait] MODULE [SECONDS]
// [SEED]. False, after a usage line, when the module is missing. Also reports a fault on any
// thread (see ExitOnFault).
struct StressArgs {
    bool editorTiming = false, hostWait = false;
    const char* module = nullptr;
    double seconds = 10.0;
    unsigned seed = 1;
};
inline bool ParseStressArgs(int argc, char** argv, const char* program, StressArgs* args) {
    args->editorTiming = argc > 1 && std::strcmp(argv[1], "--editor-timing") == 0;
    args->hostWait = argc > 1 && std::strcmp(argv[1], "--host-wait") == 0;
    const int first = args->editorTiming || args->hostWait ? 2 : 1;
    if (argc <= first) {
        std::fprintf(stderr, "usage: %s [--editor-timing | --host-wait] MODULE [SECONDS] [SEED]\n", program);
        return false;
    }
#ifdef _WIN32
    SetUnhandledExceptionFilter(ExitOnFault);
#endif
    args->module = argv[first];
    if (argc > first + 1) args->seconds = std::atof(argv[first + 1]);
    if (argc > first + 2) args->seed = static_cast<unsigned>(std::strtoul(argv[first + 2], nullptr, 10));
    return true;
}

// Waits out `seconds` from `start`, or until `done`; ten seconds without progress end the program
// (status 3).
inline void Watch(double seconds, long long start, const Counts& counts, const std::atomic<bool>* done = nullptr) {
    while (NowMs() - start < seconds * 1000 && !(done && *done)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (NowMs() - gLastProgress > 10000) {
            std::fprintf(stderr, "stress: no progress for 10 s after %ld blocks: deadlock\n", counts.blocks.load());
            std::fflush(stderr);
            std::_Exit(3);
        }
    }
}

// The host's window the editor opens in, made on the editor's thread: a Win32 window, or on
// Linux an X11 window on a connection of its own (the editor gets its id in the pointer). Its
// handle is null when no window could be made (no display).
#ifdef _WIN32
using ParentWindow = HWND;
class HostWindow {
public:
    HostWindow()
        : mWindow(CreateWindowExA(0, "STATIC", "stress host", WS_OVERLAPPEDWINDOW, 0, 0, 500, 560, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr)) {}
    ~HostWindow() {
        if (mWindow) DestroyWindow(mWindow);
    }
    ParentWindow Handle() const { return mWindow; }
    // Dispatches the thread's pending messages.
    void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    // One wheel notch over the first knob of the editor open in the window, up or down: the editor
    // tells the host of the edit. False when the window holds no editor.
    bool TurnFirstKnob(bool up) {
        HWND editor = mWindow ? FindWindowExA(mWindow, nullptr, nullptr, nullptr) : nullptr;
        RECT r{};
        if (!editor || !GetWindowRect(editor, &r)) return false;
        SendMessageA(editor, WM_MOUSEWHEEL, MAKEWPARAM(0, up ? WHEEL_DELTA : -WHEEL_DELTA),
                     MAKELPARAM(r.left + kKnobX, r.top + kKnobY));
        return true;
    }

private:
    HWND mWindow;
#else
using ParentWindow = void*;
class HostWindow {
public:
    HostWindow() : mDisplay(XOpenDisplay(nullptr)) {
        if (!mDisplay) return;
        mWindow = XCreateSimpleWindow(mDisplay, DefaultRootWindow(mDisplay), 0, 0, 500, 560, 0, 0, 0);
        XMapWindow(mDisplay, mWindow);
        XSync(mDisplay, False);
    }
    ~HostWindow() {
        if (!mDisplay) return;
        XDestroyWindow(mDisplay, mWindow);
        XCloseDisplay(mDisplay);
    }
    ParentWindow Handle() const { return mDisplay ? reinterpret_cast<void*>(uintptr_t(mWindow)) : nullptr; }
    // Drops what the window's own connection received (the editor reads its own connection).
    void Pump() {
        while (mDisplay && XPending(mDisplay)) {
            XEvent event;
            XNextEvent(mDisplay, &event);
        }
    }
    // One wheel notch (buttons 4 and 5) over the first knob of the editor open in the window;
    // false when the window holds no editor.
    bool TurnFirstKnob(bool up) {
        ::Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!mDisplay || !XQueryTree(mDisplay, mWindow, &root, &parent, &children, &count)) return false;
        const ::Window editor = count ? children[0] : 0;
        if (children) XFree(children);
        if (!editor) return false;
        for (int type : {ButtonPress, ButtonRelease}) {
            XEvent event{};
            event.xbutton = {type,   0,      True, mDisplay, editor, root,         0,   CurrentTime,
                             kKnobX, kKnobY, 0,    0,        0,      up ? 4u : 5u, True};
            XSendEvent(mDisplay, editor, False, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &event);
        }
        XFlush(mDisplay);
        return true;
    }

private:
    Display* mDisplay;
    ::Window mWindow = 0;
#endif
    static constexpr int kKnobX = 70, kKnobY = 58;  // the middle of "Dist. Amount"
};

// The editor's window thread: a parent window of its own, then rounds of open(parent), five times
// idle() with 10 ms of pumped messages (so the editor's timer runs), and close(), until stop or
// after `rounds` rounds (0: no limit). open gets a null parent when no window could be made (no
// display), and returns false when there is nothing to open, which ends the rounds.
template <typename Open, typename Idle, typename Close>
void EditorLoop(const std::atomic<bool>& stop, Counts& counts, long rounds, Open open, Idle idle, Close close) {
    HostWindow window;
    for (long round = 0; !stop && (rounds == 0 || round < rounds); ++round) {
        if (!open(window.Handle())) break;
        for (int i = 0; i < 5; ++i) {
            idle();
            window.Pump();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        close();
        ++counts.editors;
        Progress();
    }
}

// ---- Editor-timing mode: how long the audio thread waits while the editor opens and closes ----
// The audio thread plays 128-frame buffers at 44.1 kHz, each block started on its real-time
// deadline, while the editor thread opens and closes the editor 20 times. Every block is timed:
// the time its calls into the plug-in took, waiting for the plug-in's lock included. On a busy
// machine the scheduler's delays swamp that figure; run the host with real-time scheduling then
// (as root: chrt -f 20 xvfb-run ...).
constexpr int kTimedFrames = 128;
constexpr double kTimedRate = 44100.0;
constexpr long kTimedEditorRounds = 20;

struct BlockTimes {
    long long longestUs = 0, totalUs = 0;
    long blocks = 0, over500Us = 0;
};

// Calls block() once a buffer period until stop; a late block starts at once, and the periods
// count on from it.
template <typename Block>
void PacedLoop(const std::atomic<bool>& stop, Counts& counts, BlockTimes* times, Block block) {
#ifdef _WIN32
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);  // as hosts run their audio thread
#endif
    using Clock = std::chrono::steady_clock;
    const auto period =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(kTimedFrames / kTimedRate));
    auto deadline = Clock::now();
    while (!stop) {
        std::this_thread::sleep_until(deadline);
        const auto start = Clock::now();
        block();
        const long long us = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
        times->longestUs = std::max(times->longestUs, us);
        times->totalUs += us;
        times->over500Us += us > 500;
        ++times->blocks;
        ++counts.blocks;
        counts.frames += kTimedFrames;
        Progress();
        deadline = std::max(deadline + period, start);
    }
}

// Paced blocks while work(stop) runs on another thread, until it returns; then the figures, after
// "stress: <format> <what>".
template <typename Block, typename Work>
void TimeBlocksDuring(const char* format, Counts& counts, Block block, Work work, const char* what) {
    BlockTimes times;
    std::atomic<bool> stop{false}, workDone{false};
    Progress();
    const long long start = NowMs();
    std::thread process([&] { PacedLoop(stop, counts, &times, block); });
    std::thread other([&] {
        work(stop);
        workDone = true;
    });
    Watch(600, start, counts, &workDone);
    stop = true;
    process.join();
    other.join();
    std::fprintf(stderr,
                 "stress: %s %s during %ld blocks of %d frames at %g Hz; longest audio-thread wait %.2f ms (mean %.3f "
                 "ms, %ld blocks over 0.5 ms); %ld non-finite samples, %ld failures\n",
                 format, what, times.blocks, kTimedFrames, kTimedRate, times.longestUs / 1000.0,
                 times.blocks ? times.totalUs / 1000.0 / times.blocks : 0.0, times.over500Us, counts.nonFinite.load(),
                 counts.failures.load());
}

// Runs the mode with the host's block and its editor calls (as for EditorLoop), then prints the
// figures. The exit status: 0, or 1 on a failure, a non-finite sample, or an editor that did not
// open every time.
template <typename Block, typename Open, typename Idle, typename Close>
int EditorTiming(const char* format, Counts& counts, Block block, Open open, Idle idle, Close close) {
    char what[96];
    std::snprintf(what, sizeof what, "editor timing: %ld editor opens and closes", kTimedEditorRounds);
    auto editor = [&](const std::atomic<bool>& stop) {
        EditorLoop(stop, counts, kTimedEditorRounds, open, idle, close);
    };
    TimeBlocksDuring(format, counts, block, editor, what);
    if (counts.editors != kTimedEditorRounds) std::fprintf(stderr, "stress: the editor did not open every time\n");
    return counts.failures == 0 && counts.nonFinite == 0 && counts.editors == kTimedEditorRounds ? 0 : 1;
}

// ---- Host-wait mode: how long the audio thread waits while the host is slow ----
// Paced blocks as above while another thread opens the editor once and then runs kHostWaitRounds
// rounds back to back: the host's state round (save and restore through a stream or chunk copy
// that takes kSlowHostCall a call) and a wheel notch on the editor's first knob, whose edit the
// host answers in kSlowHostCall (performEdit, the automate callback, the value request). The
// host's slow calls are the format's own; SlowHostCall and SlowMemory serve them.
constexpr long kHostWaitRounds = 200;
constexpr auto kSlowHostCall = std::chrono::milliseconds(1);
inline void SlowHostCall() { std::this_thread::sleep_for(kSlowHostCall); }

#ifdef _WIN32
// Host memory whose every page takes kSlowHostCall at its first read, as memory the system pages
// in: the pages start inaccessible and a fault handler waits, then opens the page. One at a time.
class SlowMemory {
public:
    explicit SlowMemory(const void* bytes, size_t size) : mSize(size) {
        mBase = static_cast<char*>(VirtualAlloc(nullptr, size ? size : 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (mBase && size) std::memcpy(mBase, bytes, size);
        DWORD old = 0;
        if (mBase) VirtualProtect(mBase, size ? size : 1, PAGE_NOACCESS, &old);
        sCurrent = this;
        mHandler = AddVectoredExceptionHandler(1, OnFault);
    }
    ~SlowMemory() {
        RemoveVectoredExceptionHandler(mHandler);
        sCurrent = nullptr;
        if (mBase) VirtualFree(mBase, 0, MEM_RELEASE);
    }
    SlowMemory(const SlowMemory&) = delete;
    SlowMemory& operator=(const SlowMemory&) = delete;
    const void* Data() const { return mBase; }

private:
    static LONG WINAPI OnFault(EXCEPTION_POINTERS* e) {
        const EXCEPTION_RECORD* record = e->ExceptionRecord;
        SlowMemory* self = sCurrent;
        if (!self || record->ExceptionCode != EXCEPTION_ACCESS_VIOLATION || record->NumberParameters < 2)
            return EXCEPTION_CONTINUE_SEARCH;
        const auto at = static_cast<uintptr_t>(record->ExceptionInformation[1]);
        const auto base = reinterpret_cast<uintptr_t>(self->mBase);
        if (at < base || at >= base + self->mSize) return EXCEPTION_CONTINUE_SEARCH;
        SlowHostCall();
        DWORD old = 0;
        VirtualProtect(reinterpret_cast<void*>(at & ~uintptr_t(4095)), 1, PAGE_READWRITE, &old);
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    static inline SlowMemory* sCurrent = nullptr;
    char* mBase = nullptr;
    size_t mSize;
    void* mHandler = nullptr;
};
#endif

// Runs the mode with the host's block, editor calls (as for EditorLoop) and state round, then
// prints the figures. The exit status: 0, or 1 on a failure, a non-finite sample, an editor that
// did not open or an edit the host never heard of.
template <typename Block, typename Open, typename Round, typename Close>
int HostWait(const char* format, Counts& counts, Block block, Open open, Round round, Close close) {
    auto work = [&](const std::atomic<bool>& stop) {
        HostWindow window;
        if (!open(window.Handle())) return;
        ++counts.editors;
        for (long i = 0; i < kHostWaitRounds && !stop; ++i) {
            round();
            counts.automation += window.TurnFirstKnob(i % 2 == 0);
            window.Pump();
            ++counts.states;
            Progress();
        }
        close();
    };
    char what[160];
    std::snprintf(what, sizeof what, "host wait (%lld ms a host call): %ld state rounds and %ld editor edits",
                  static_cast<long long>(kSlowHostCall.count()), kHostWaitRounds, kHostWaitRounds);
    TimeBlocksDuring(format, counts, block, work, what);
    std::fprintf(stderr, "stress: %ld state rounds, %ld edits sent, %ld heard by the host\n", counts.states.load(),
                 counts.automation.load(), counts.edits.load());
    const bool ran = counts.editors == 1 && counts.states == kHostWaitRounds && counts.edits == kHostWaitRounds;
    if (!ran) std::fprintf(stderr, "stress: the editor did not open, or not every edit reached the host\n");
    return counts.failures == 0 && counts.nonFinite == 0 && ran ? 0 : 1;
}

}  // namespace stress
