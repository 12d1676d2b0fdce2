#pragma once
// What the stress hosts share: the counters of what they did, the failure report, the exit on a
// fault, the watchdog that runs the threads for the given time and ends the program on a
// deadlock, the editor's window thread, and the editor-timing mode.
#include <windows.h>

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

// A fault on any thread ends the program with status 4. Without it, Wine ends a program whose
// fault is on a thread other than the first with status 0, and the run would pass.
inline LONG WINAPI ExitOnFault(EXCEPTION_POINTERS* e) {
    std::fprintf(stderr, "stress: fault 0x%08lx\n", static_cast<unsigned long>(e->ExceptionRecord->ExceptionCode));
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 4);
    return EXCEPTION_EXECUTE_HANDLER;
}

// The command line every stress host takes: [--editor-timing] MODULE [SECONDS] [SEED]. False,
// after a usage line, when the module is missing. Also reports a fault on any thread (see
// ExitOnFault).
struct StressArgs {
    bool editorTiming = false;
    const char* module = nullptr;
    double seconds = 10.0;
    unsigned seed = 1;
};
inline bool ParseStressArgs(int argc, char** argv, const char* program, StressArgs* args) {
    args->editorTiming = argc > 1 && std::strcmp(argv[1], "--editor-timing") == 0;
    const int first = args->editorTiming ? 2 : 1;
    if (argc <= first) {
        std::fprintf(stderr, "usage: %s [--editor-timing] MODULE [SECONDS] [SEED]\n", program);
        return false;
    }
    SetUnhandledExceptionFilter(ExitOnFault);
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

// The editor's window thread: a parent window of its own, then rounds of open(parent), five times
// idle() with 10 ms of pumped messages (so the editor's timer runs), and close(), until stop or
// after `rounds` rounds (0: no limit). open gets a null parent when no window could be made (no
// display), and returns false when there is nothing to open, which ends the rounds.
template <typename Open, typename Idle, typename Close>
void EditorLoop(const std::atomic<bool>& stop, Counts& counts, long rounds, Open open, Idle idle, Close close) {
    HWND parent = CreateWindowExA(0, "STATIC", "stress host", WS_OVERLAPPEDWINDOW, 0, 0, 500, 560, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    for (long round = 0; !stop && (rounds == 0 || round < rounds); ++round) {
        if (!open(parent)) break;
        for (int i = 0; i < 5; ++i) {
            idle();
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        close();
        ++counts.editors;
        Progress();
    }
    if (parent) DestroyWindow(parent);
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
    long blocks = 0;
};

// Calls block() once a buffer period until stop; a late block starts at once, and the periods
// count on from it.
template <typename Block>
void PacedLoop(const std::atomic<bool>& stop, Counts& counts, BlockTimes* times, Block block) {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);  // as hosts run their audio thread
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
        ++times->blocks;
        ++counts.blocks;
        counts.frames += kTimedFrames;
        Progress();
        deadline = std::max(deadline + period, start);
    }
}

// Runs the mode with the host's block and its editor calls (as for EditorLoop), then prints the
// figures. The exit status: 0, or 1 on a failure, a non-finite sample, or an editor that did not
// open every time (2 when standard output cannot be set aside).
template <typename Block, typename Open, typename Idle, typename Close>
int EditorTiming(const char* format, Counts& counts, Block block, Open open, Idle idle, Close close) {
    // The plug-ins may write diagnostics a block: to NUL, buffered, so no console write is timed.
    if (!std::freopen("NUL", "w", stdout)) return 2;
    std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
    BlockTimes times;
    std::atomic<bool> stop{false}, editorDone{false};
    Progress();
    const long long start = NowMs();
    std::thread process([&] { PacedLoop(stop, counts, &times, block); });
    std::thread editor([&] {
        EditorLoop(stop, counts, kTimedEditorRounds, open, idle, close);
        editorDone = true;
    });
    Watch(600, start, counts, &editorDone);
    stop = true;
    process.join();
    editor.join();
    std::fprintf(stderr,
                 "stress: %s editor timing: %ld editor opens and closes during %ld blocks of %d frames at %g Hz; "
                 "longest audio-thread wait %.2f ms (mean %.3f ms); %ld non-finite samples, %ld failures\n",
                 format, counts.editors.load(), times.blocks, kTimedFrames, kTimedRate, times.longestUs / 1000.0,
                 times.blocks ? times.totalUs / 1000.0 / times.blocks : 0.0, counts.nonFinite.load(),
                 counts.failures.load());
    if (counts.editors != kTimedEditorRounds) std::fprintf(stderr, "stress: the editor did not open every time\n");
    return counts.failures == 0 && counts.nonFinite == 0 && counts.editors == kTimedEditorRounds ? 0 : 1;
}

}  // namespace stress
