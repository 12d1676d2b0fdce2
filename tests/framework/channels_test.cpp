#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <future>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "test_binding.h"

namespace {
// Records the pointer arrays ProcessDoubles receives, then runs the default copy.
class PointerSpy : public TestBinding {
public:
    using TestBinding::TestBinding;
    std::vector<double*> seenIn, seenOut;
    void ProcessDoubles(double** inputs, double** outputs, int frames) override {
        seenIn.assign(inputs, inputs + NInChannels());
        seenOut.assign(outputs, outputs + NOutChannels());
        IFxBase::ProcessDoubles(inputs, outputs, frames);
    }
};

// Works in place on its inputs (as the effect does), then copies them to the outputs.
class InPlace : public TestBinding {
public:
    using TestBinding::TestBinding;
    void ProcessDoubles(double** inputs, double** outputs, int frames) override {
        for (int c = 0; c < NOutChannels(); ++c) {
            for (int k = 0; k < frames; ++k) inputs[c][k] = 2.0 * inputs[c][k] + 1.0;
            std::memcpy(outputs[c], inputs[c], sizeof(double) * frames);
        }
    }
};

void ConnectAll(IFxBase& plug, int frames) {
    plug.ChangeBlockSize(frames);
    plug.SetInputsConnected(0, plug.NInChannels(), true);
    plug.SetOutputsConnected(0, plug.NOutChannels(), true);
}

// Attaches host buffers on the 64-bit road.
void Attach(IFxBase& plug, std::vector<double*> ins, std::vector<double*> outs) {
    plug.AttachInputs(0, static_cast<int>(ins.size()), ins.data());
    plug.AttachOutputs(0, static_cast<int>(outs.size()), outs.data());
}
}  // namespace

TEST(Channels, DoubleRoadHandsTheHostBuffersThroughAndZeroesExtraOutputs) {
    PointerSpy plug;
    ScopedPlugLock lock(plug.GetMutex());  // as a binding's process call holds it
    ConnectAll(plug, 16);
    std::vector<double> in0(16, 0.25), in1(16, -0.5), out0(16), out1(16);
    Attach(plug, {in0.data(), in1.data()}, {out0.data(), out1.data()});
    plug.ProcessAttached(16);
    EXPECT_EQ(plug.seenIn, (std::vector<double*>{in0.data(), in1.data()}));
    EXPECT_EQ(plug.seenOut, (std::vector<double*>{out0.data(), out1.data()}));
    EXPECT_EQ(out1, in1);

    TestBinding mono(1, "1-2");
    ScopedPlugLock monoLock(mono.GetMutex());
    ConnectAll(mono, 3);
    std::vector<double> in = {1, 2, 3}, copy(3), extra(3, 7.0);
    Attach(mono, {in.data()}, {copy.data(), extra.data()});
    mono.ProcessAttached(3);
    EXPECT_EQ(copy, in);
    EXPECT_EQ(extra, std::vector<double>(3, 0.0));
}

TEST(Channels, DisconnectedInputReadsSilenceAndConsumesNoBuffer) {
    InPlace plug;
    ScopedPlugLock lock(plug.GetMutex());
    ConnectAll(plug, 4);
    plug.SetInputsConnected(1, 1, false);
    std::vector<double> in0(4), unused(4, 9.0), out0(4), out1(4);
    for (int block = 0; block < 3; ++block) {
        in0.assign(4, 0.0);
        Attach(plug, {in0.data(), unused.data()}, {out0.data(), out1.data()});
        plug.ProcessAttached(4);
        // Each block starts from silence on the disconnected channel, like the connected one here.
        EXPECT_EQ(out1, out0);
        EXPECT_EQ(out1, std::vector<double>(4, 1.0));
    }
    EXPECT_EQ(unused, std::vector<double>(4, 9.0));
}

TEST(Channels, FloatRoadIsBitTransparentSilentAndAccumulates) {
    TestBinding plug;
    ScopedPlugLock lock(plug.GetMutex());
    const int frames = 512;
    ConnectAll(plug, frames);
    std::mt19937 random(7);
    std::vector<float> in0(frames), in1(frames), out0(frames), out1(frames);
    for (int k = 0; k < frames; ++k) {
        uint32_t bits;
        do bits = random();
        while (((bits >> 23) & 0xFF) == 0xFF);  // any float but NaN and infinity
        std::memcpy(&in0[k], &bits, 4);
        in1[k] = -in0[k];
    }
    in0[0] = std::numeric_limits<float>::denorm_min();
    in1[1] = -0.0f;
    in1[2] = std::numeric_limits<float>::infinity();
    float* ins[] = {in0.data(), in1.data()};
    float* outs[] = {out0.data(), out1.data()};

    testing::internal::CaptureStdout();
    plug.AttachFloatInputs(0, 2, ins, frames);
    plug.AttachFloatOutputs(0, 2, outs);
    plug.ProcessAttachedFloat(frames);
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");  // the audio thread writes nothing
    EXPECT_EQ(std::memcmp(out0.data(), in0.data(), frames * 4), 0);
    EXPECT_EQ(std::memcmp(out1.data(), in1.data(), frames * 4), 0);

    // Accumulating adds to what the host had.
    in0 = {1, 2}, in1 = {3, 4}, out0 = {10, 10}, out1 = {0.5f, 0.5f};
    float* small[] = {in0.data(), in1.data()};
    float* sums[] = {out0.data(), out1.data()};
    plug.AttachFloatInputs(0, 2, small, 2);
    plug.AttachFloatOutputs(0, 2, sums);
    plug.ProcessAttachedAccumulating(2);
    EXPECT_EQ(out0, (std::vector<float>{11, 12}));
    EXPECT_EQ(out1, (std::vector<float>{3.5f, 4.5f}));
}

TEST(Channels, LatencyLineDelaysBypassedAudioAlsoInPlace) {
    TestBinding plug(1, "1-1");
    ScopedPlugLock lock(plug.GetMutex());
    ConnectAll(plug, 5);
    plug.CreateLatencyLine();
    plug.ChangeLatency(3);
    std::vector<double> samples = {1, 2, 3, 4, 5}, out(5);
    Attach(plug, {samples.data()}, {out.data()});
    plug.PassThrough(5);
    EXPECT_EQ(out, (std::vector<double>{0, 0, 0, 1, 2}));

    // The host may hand one buffer as both input and output.
    plug.ChangeLatency(2);
    std::vector<double> shared = {1, 2, 3, 4, 5};
    Attach(plug, {shared.data()}, {shared.data()});
    plug.PassThrough(5);
    EXPECT_EQ(shared, (std::vector<double>{0, 0, 1, 2, 3}));
    plug.PassThrough(2);
    EXPECT_EQ(shared[0], 4.0);
    EXPECT_EQ(shared[1], 5.0);

    plug.ChangeLatency(0);  // no delay: a plain copy
    std::vector<double> direct = {6, 7}, copy(2);
    Attach(plug, {direct.data()}, {copy.data()});
    plug.PassThrough(2);
    EXPECT_EQ(copy, direct);
}

TEST(Channels, BlockSizeChangesKeepEntriesValid) {
    TestBinding plug;
    ScopedPlugLock lock(plug.GetMutex());
    plug.ChangeBlockSize(4);
    auto* scratch = static_cast<double*>(plug.GetInChannel(0)->scratch.Get());
    scratch[0] = 3.0;
    plug.ChangeBlockSize(4);
    EXPECT_EQ(scratch[0], 3.0);
    EXPECT_EQ(*plug.GetInChannel(0)->source, scratch);

    // A connected channel attached through its scratch must not keep pointing at freed memory.
    plug.SetInputsConnected(0, 2, true);
    std::vector<float> in(9000, 1.0f);
    float* ins[] = {in.data(), in.data()};
    testing::internal::CaptureStdout();
    plug.AttachFloatInputs(0, 2, ins, 4);
    plug.AttachFloatInputs(0, 2, ins, 9000);  // longer than announced: the block size stays
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(plug.GetBlockSize(), 4);
    plug.ChangeBlockSize(100000);  // limited
    ASSERT_EQ(plug.GetBlockSize(), IFxBase::kMaxBlockSize);
    EXPECT_EQ(*plug.GetInChannel(0)->source, plug.GetInChannel(0)->scratch.Get());
    for (int k = 0; k < IFxBase::kMaxBlockSize; ++k) ASSERT_EQ((*plug.GetInChannel(0)->source)[k], 0.0);
}

// A block longer than the block size runs in pieces of it on every road, also with the second
// channel unconnected (its scratch holds only the block size). A growth that found no memory
// leaves the old block size, so the pieces stay within the scratch that exists.
TEST(Channels, LongBlocksRunInPiecesOfTheBlockSize) {
    constexpr int kBlock = 64, kFrames = 1000;
    enum Road { kDoubles, kFloats, kAccumulating, kPassDoubles, kPassFloats };
    for (Road road : {kDoubles, kFloats, kAccumulating, kPassDoubles, kPassFloats}) {
        InPlace plug;
        ScopedPlugLock lock(plug.GetMutex());
        plug.ChangeBlockSize(kBlock);
        GrowBuffer::SetAllocatorForTesting([](void*, unsigned long) -> void* { return nullptr; },
                                           [](unsigned long) -> void* { return nullptr; });
        plug.ChangeBlockSize(4096);
        GrowBuffer::SetAllocatorForTesting(nullptr, nullptr);
        ASSERT_EQ(plug.GetBlockSize(), kBlock);
        plug.SetInputsConnected(0, 2, false);
        plug.SetOutputsConnected(0, 2, false);
        plug.SetInputsConnected(0, 1, true);
        plug.SetOutputsConnected(0, 1, true);

        std::vector<double> source(kFrames), out(kFrames, 0.5);
        for (int k = 0; k < kFrames; ++k) source[k] = k / 1024.0;
        std::vector<double> in = source;  // the effect works in place on it
        std::vector<float> inF(in.begin(), in.end()), outF(kFrames, 0.5f);
        double* ins[] = {in.data()};
        double* outs[] = {out.data()};
        float* insF[] = {inF.data()};
        float* outsF[] = {outF.data()};
        const bool floats = road == kFloats || road == kAccumulating || road == kPassFloats;
        testing::internal::CaptureStdout();
        if (floats) {
            plug.AttachFloatInputs(0, 2, insF, kFrames);
            plug.AttachFloatOutputs(0, 2, outsF);
        } else {
            plug.AttachInputs(0, 2, ins);
            plug.AttachOutputs(0, 2, outs);
        }
        switch (road) {
            case kDoubles: plug.ProcessAttached(kFrames); break;
            case kFloats: plug.ProcessAttachedFloat(kFrames); break;
            case kAccumulating: plug.ProcessAttachedAccumulating(kFrames); break;
            case kPassDoubles: plug.PassThrough(kFrames); break;
            case kPassFloats: plug.PassThroughFloat(kFrames); break;
        }
        testing::internal::GetCapturedStdout();
        for (int k = 0; k < kFrames; ++k) {
            double expected = road == kPassDoubles || road == kPassFloats ? source[k] : 2.0 * source[k] + 1.0;
            if (road == kAccumulating) expected += 0.5;
            ASSERT_EQ(floats ? outF[k] : out[k], expected) << "road " << road << ", frame " << k;
        }
        EXPECT_EQ(*plug.GetOutChannel(0)->dest, floats ? plug.GetOutChannel(0)->scratch.Get() : out.data());
    }
}

// Debug and test builds report each per-block call made while the calling thread does not hold
// the plug-in mutex, even when another thread holds it.
TEST(Channels, BlockCallsWithoutTheLockAreReported) {
#if !IFX_LOCK_CHECKS
    GTEST_SKIP() << "this build leaves the lock checks out";
#else
    static std::vector<std::string> reported;
    IFxAssertHandler previous = SetAssertHandler(
        [](const char* text, const char* source, int) { reported.push_back(std::string(source) + ": " + text); });
    TestBinding plug;
    ConnectAll(plug, 4);
    std::vector<double> in(4), out(4);
    auto block = [&] {
        Attach(plug, {in.data(), in.data()}, {out.data(), out.data()});
        plug.PassThrough(4);
    };
    {
        ScopedPlugLock lock(plug.GetMutex());
        block();
    }
    EXPECT_TRUE(reported.empty());
    std::promise<void> held, done;
    std::thread owner([&] {
        ScopedPlugLock lock(plug.GetMutex());
        held.set_value();
        done.get_future().wait();
    });
    held.get_future().wait();
    block();
    done.set_value();
    owner.join();
    SetAssertHandler(previous);
    EXPECT_EQ(reported, (std::vector<std::string>{"AttachInputs: plug-in lock held", "AttachOutputs: plug-in lock held",
                                                  "InPieces: plug-in lock held"}));
#endif
}

TEST(Channels, LegalIOAndMidiEvents) {
    TestBinding plug;
    for (auto [in, out] : {std::pair{1, -1}, {2, 2}, {-1, -1}}) EXPECT_TRUE(plug.LegalIO(in, out)) << in << out;
    EXPECT_FALSE(plug.LegalIO(1, 2));
    EXPECT_FALSE(plug.LegalIO(0, 0));

    // Out-of-range arguments cannot turn the message into another kind or a status byte.
    IMidiEvent on = NoteOnEvent(60, 100, 12, 3);
    EXPECT_EQ(on.status, 0x93);
    EXPECT_EQ(NoteOnEvent(60, 100, 0, 32).status, 0x90);
    EXPECT_EQ(NoteOffEvent(60, 0, 1).status, 0x81);
    EXPECT_EQ(ControlChangeEvent(7, 0.5, 0).data2, 63);
    EXPECT_EQ(ControlChangeEvent(7, 3.0, 0).data2, 127);
    EXPECT_EQ(ControlChangeEvent(7, -1.0, 0).data2, 0);
    plug.ProcessMidiEvent(&on);  // passed through to the host
    ASSERT_EQ(plug.calls.size(), 1u);
    EXPECT_EQ(plug.calls[0].what, "midi");
    EXPECT_EQ(plug.calls[0].index, 0x93);
}
