#pragma once
// What both stress hosts share: the counters of what they did, the failure report, the exit on a
// fault, and the watchdog that runs the threads for the given time and ends the program on a
// deadlock.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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

// The command line every stress host takes: MODULE [SECONDS] [SEED]. False, after a usage line,
// when the module is missing. Also reports a fault on any thread (see ExitOnFault).
struct StressArgs {
    const char* module = nullptr;
    double seconds = 10.0;
    unsigned seed = 1;
};
inline bool ParseStressArgs(int argc, char** argv, const char* program, StressArgs* args) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s MODULE [SECONDS] [SEED]\n", program);
        return false;
    }
    SetUnhandledExceptionFilter(ExitOnFault);
    args->module = argv[1];
    if (argc > 2) args->seconds = std::atof(argv[2]);
    if (argc > 3) args->seed = static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10));
    return true;
}

// Waits out `seconds` from `start`; ten seconds without progress end the program (status 3).
inline void Watch(double seconds, long long start, const Counts& counts) {
    while (NowMs() - start < seconds * 1000) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (NowMs() - gLastProgress > 10000) {
            std::fprintf(stderr, "stress: no progress for 10 s after %ld blocks: deadlock\n", counts.blocks.load());
            std::fflush(stderr);
            std::_Exit(3);
        }
    }
}

}  // namespace stress
