#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <thread>

#include "test_binding.h"

namespace {
// Eight parameters with distinct ranges, values 0.5, 1.5, ... 7.5.
void DefineEight(IFxBase& plug) {
    for (int i = 0; i < plug.NParams(); ++i) {
        plug.GetParam(i)->DefineRange("p", i + 0.5, 0, 10 + i, 0.1, "", "", 1);
    }
}

int CountRestoreNotifications(const TestBinding& plug) {
    int n = 0;
    for (const RecordedCall& c : plug.calls) n += c.what == "changed" && c.value == kSourceRestore && c.locked;
    return n;
}

void Fill(IByteBlock& block, const std::vector<double>& values, int leadingBytes = 0) {
    for (int i = 0; i < leadingBytes; ++i) block.PutByte(0xEE);
    for (double v : values) block.PutDouble(v);
}
}  // namespace

TEST(ParamState, BlockIsLittleEndianDoublesInIndexOrder) {
    TestBinding plug;
    DefineEight(plug);
    IByteBlock block;
    ASSERT_TRUE(plug.SerializeParams(&block));
    ASSERT_EQ(block.Size(), 64);
    const unsigned char twoPointFive[] = {0, 0, 0, 0, 0, 0, 4, 0x40};
    EXPECT_EQ(std::memcmp(block.GetBytes() + 16, twoPointFive, 8), 0);

    TestBinding other;
    DefineEight(other);
    for (int i = 0; i < 8; ++i) other.GetParam(i)->SetValue(0);
    EXPECT_EQ(other.UnserializeParams(&block, 0), 64);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(other.GetParam(i)->Value(), i + 0.5);
    EXPECT_EQ(CountRestoreNotifications(other), 8);

    // Comparison with saved values (from an index) is in single precision.
    double saved[9] = {9, 0.5000001, 1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5};
    EXPECT_TRUE(plug.StateEquals(saved, 1));
    saved[1] = 0.50002;
    EXPECT_FALSE(plug.StateEquals(saved, 1));
    EXPECT_TRUE(TestBinding(0).StateEquals(nullptr, 0));
}

// Values are read from an offset, limited to their range but not quantized; a non-finite value
// never reaches a parameter.
TEST(ParamState, ReadsFromAnOffsetAndLimitsEveryValue) {
    TestBinding plug;
    DefineEight(plug);
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    IByteBlock block;
    Fill(block, {0.37, 99, -3, nan, inf, -inf, -nan, 5}, 4);
    EXPECT_EQ(plug.UnserializeParams(&block, 4), 68);
    const double expected[] = {0.37, 11, 0, 0, 14, 0, 0, 5};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(plug.GetParam(i)->Value(), expected[i]) << i;
}

TEST(ParamState, ShortAndMissingDataStillNotifiesEveryParameter) {
    TestBinding plug;
    for (int i = 0; i < 8; ++i) plug.GetParam(i)->DefineRange("p", 5, 2, 10, 0.1, "", "", 1);
    IByteBlock shortBlock;
    Fill(shortBlock, {3, 3, 3, 3, 3, 3, 3});
    shortBlock.PutInt32(0);  // 60 bytes
    for (int pos : {0, -1}) {
        plug.calls.clear();
        EXPECT_EQ(plug.UnserializeParams(&shortBlock, pos), -1);
        EXPECT_EQ(CountRestoreNotifications(plug), 8);
        for (int i = 0; i < 7; ++i) EXPECT_EQ(plug.GetParam(i)->Value(), 3.0);
        EXPECT_EQ(plug.GetParam(7)->Value(), 2.0);  // 0.0 limited to its range
    }
}

TEST(ParamState, SaveAndRestoreHoldTheMutexAgainstASecondThread) {
    TestBinding plug;
    DefineEight(plug);
    IByteBlock block;
    plug.SerializeParams(&block);

    // While this thread holds the plug-in mutex, a second thread's save and restore must wait for
    // it; the recursive lock lets this thread restore meanwhile.
    std::atomic<int> finished{0};
    std::thread other;
    for (bool save : {true, false}) {
        {
            ScopedPlugLock lock(plug.GetMutex());
            other = std::thread([&] {
                IByteBlock copy;
                if (save)
                    plug.SerializeParams(&copy);
                else
                    plug.UnserializeParams(&block, 0);
                ++finished;
            });
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            EXPECT_EQ(finished, save ? 0 : 1) << save;
            EXPECT_EQ(plug.UnserializeParams(&block, 0), 64);
        }
        other.join();
    }
    EXPECT_EQ(finished, 2);
}

TEST(Presets, CaptureRestoreAndNaming) {
    TestBinding plug(8, "1-1 2-2", 4);
    DefineEight(plug);
    plug.FillDefaultPresets("-", 1);
    EXPECT_STREQ(plug.GetPresetSlotName(0), "-");
    EXPECT_EQ(plug.GetPresetSlot(0)->state.Size(), 64);
    EXPECT_STREQ(plug.GetPresetSlotName(1), "empty");

    EXPECT_FALSE(plug.RestorePresetSlot(-1));
    EXPECT_FALSE(plug.RestorePresetSlot(4));
    EXPECT_EQ(plug.GetCurrentPresetIdx(), 0);

    std::snprintf(plug.GetPresetSlot(1)->name, kPresetNameSize, "user preset 3");
    plug.GetPresetSlot(1)->initialized = true;
    std::snprintf(plug.GetPresetSlot(3)->name, kPresetNameSize, "my user preset");
    plug.GetPresetSlot(3)->initialized = true;
    EXPECT_TRUE(plug.RestorePresetSlot(2));  // a fresh slot captures the current values
    EXPECT_STREQ(plug.GetPresetSlotName(2), "user preset 3");
    EXPECT_EQ(plug.GetCurrentPresetIdx(), 2);

    plug.GetParam(0)->SetValue(9);
    EXPECT_TRUE(plug.RestorePresetSlot(0));
    EXPECT_EQ(plug.GetParam(0)->Value(), 0.5);
    EXPECT_EQ(plug.GetCurrentPresetIdx(), 0);
}

TEST(Presets, RecaptureReplacesAStaleState) {
    TestBinding plug(8, "1-1 2-2", 2);
    DefineEight(plug);
    plug.FillDefaultPresets(nullptr, 2);
    EXPECT_STREQ(plug.GetPresetSlotName(1), "Empty");
    plug.FillDefaultPresets("again", 1);  // no free slot left
    EXPECT_STREQ(plug.GetPresetSlotName(0), "Empty");

    // A slot whose flag was cleared still holds its old block; capturing must replace it.
    plug.GetPresetSlot(0)->initialized = false;
    plug.GetParam(0)->SetValue(7);
    plug.FillEmptyPresets();
    EXPECT_EQ(plug.GetPresetSlot(0)->state.Size(), 64);
    plug.GetParam(0)->SetValue(1);
    EXPECT_TRUE(plug.RestorePresetSlot(0));
    EXPECT_EQ(plug.GetParam(0)->Value(), 7.0);
}
