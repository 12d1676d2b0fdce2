// Automation on every parameter from a process thread while a second thread saves and
// restores the state of the same instance: no crash, no deadlock, no non-finite sample,
// and every saved state is one the automation actually set.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "vst3_host.h"

using namespace tzhost;

namespace {
constexpr int kBlocks = 20000;
constexpr int kFrames = 64;
constexpr int kParams = 8;

// Every block moves all eight parameters to one value v; the continuous ones then hold
// 100 v (linear) or 100 v^2 (Tone and Level, shape 2), so a state mixing two blocks shows.
bool Consistent(const double* values) {
    const double v = values[1] / 100.0;  // Dist. Amount
    return std::fabs(values[2] - 100 * v * v) < 1e-6 && std::fabs(values[3] - 100 * v * v) < 1e-6 &&
           std::fabs(values[6] - 100 * v) < 1e-6;
}
}  // namespace

TEST(Vst3Stress, AutomationAgainstStateSaveAndRestore) {
    Module module;
    std::string error;
    ASSERT_TRUE(module.Load(TZ_VST3_MODULE, &error)) << error;
    HostApplication host;
    Plugin plugin;
    ASSERT_TRUE(plugin.Create(module.Factory(), &error)) << error;
    ASSERT_TRUE(plugin.Initialize(&host));
    ASSERT_EQ(plugin.Prepare(kSample64, 44100, kFrames), kResultOk);

    std::atomic<bool> done{false};
    std::atomic<int> badStates{0}, stateRounds{0};
    // A hang is reported and ends the program instead of waiting for the test timeout.
    std::thread watchdog([&] {
        for (int i = 0; i < 600 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!done) {
            std::fprintf(stderr, "stress run still going after 60 s: deadlock?\n");
            std::fflush(stderr);
            std::_Exit(3);
        }
    });

    std::thread stateThread([&] {
        std::vector<char> last;
        while (!done) {
            MemoryStream out;
            if (plugin.component->getState(&out) != kResultOk || out.data.size() != 68) {
                ++badStates;
                continue;
            }
            double values[kParams];
            std::memcpy(values, out.data.data(), sizeof values);
            // Blocks before the first automation still hold the defaults.
            if (stateRounds > 0 && values[1] != 0.0 && !Consistent(values)) ++badStates;
            if (!last.empty()) {
                MemoryStream in(last);
                if (plugin.component->setState(&in) != kResultOk) ++badStates;
            }
            last = out.data;
            ++stateRounds;
            std::this_thread::yield();
        }
    });

    std::vector<double> in[2], out[2];
    for (int c = 0; c < 2; ++c) in[c].resize(kFrames), out[c].resize(kFrames);
    double* ip[] = {in[0].data(), in[1].data()};
    double* op[] = {out[0].data(), out[1].data()};
    ParameterChanges changes;
    long nonFinite = 0;
    for (int b = 0; b < kBlocks; ++b) {
        const double v = ((b * 37) % 1000 + 1) / 1000.0;
        changes.Clear();
        for (ParamID id = 0; id < kParams; ++id) {
            changes.Add(id, 0, 1.0 - v);
            changes.Add(id, kFrames / 2, v);
        }
        if (b % 97 == 0) changes.Add(kBypassId, 0, b % 2 ? 1.0 : 0.0);
        if (b % 499 == 0) changes.Add(kPresetId, 0, 0.0);
        for (int c = 0; c < 2; ++c)
            for (int k = 0; k < kFrames; ++k) in[c][k] = 0.8 * std::sin(0.01 * (b * kFrames + k) * (c + 1));
        plugin.Process64(ip, op, 2, kFrames, &changes);
        for (int c = 0; c < 2; ++c)
            for (double s : out[c]) nonFinite += !std::isfinite(s);
    }
    done = true;
    stateThread.join();
    watchdog.join();
    plugin.Shutdown();

    std::printf("%d blocks, %d state save/restore rounds\n", kBlocks, stateRounds.load());
    EXPECT_EQ(nonFinite, 0);
    EXPECT_EQ(badStates, 0);
    EXPECT_GT(stateRounds, 10);
}
