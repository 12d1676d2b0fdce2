#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "framework/fxassert.h"
#include "test_binding.h"

namespace {
std::vector<std::string> gAssertions;
void RecordAssertion(const char* text, const char*, int) { gAssertions.push_back(text); }

// Whether another thread can take the plug-in mutex right now.
bool OtherThreadCanLock(IFxBase& plug) {
    bool taken = false;
    std::thread([&] {
        taken = plug.GetMutex().TryEnter();
        if (taken) plug.GetMutex().Leave();
    }).join();
    return taken;
}

struct PushedValue {
    int paramIdx;
    double value;
    bool normalized;
};

struct EditorLog {
    std::vector<PushedValue> pushed;
    int surfacesCreated = 0;
    int deleted = 0;
};

// An editor as the core sees it, recording what the core asks of it.
class EditorDouble : public IFxEditor {
public:
    explicit EditorDouble(EditorLog* log) : mLog(log) {}
    ~EditorDouble() override { ++mLog->deleted; }
    void PushParamToControls(int paramIdx, double value, bool normalized) override {
        mLog->pushed.push_back({paramIdx, value, normalized});
    }
    void CreateDrawSurfaces() override { ++mLog->surfacesCreated; }
    IGraphics* Graphics() override { return nullptr; }

private:
    EditorLog* mLog;
};
}  // namespace

TEST(FxBase, ConstructionParsesTheChannelText) {
    TestBinding stereo;
    EXPECT_EQ(stereo.NChannelPairs(), 2);
    EXPECT_EQ(stereo.NInChannels(), 2);
    EXPECT_EQ(stereo.NOutChannels(), 2);
    EXPECT_FALSE(stereo.GetInChannel(0)->connected);
    EXPECT_FALSE(stereo.GetOutChannel(1)->connected);
    EXPECT_EQ(stereo.NParams(), 8);
    EXPECT_EQ(stereo.GetParam(8), nullptr);
    EXPECT_EQ(stereo.GetHostCode(), -1);
    EXPECT_EQ(stereo.GetSampleRate(), 44100.0);
    EXPECT_STREQ(stereo.GetPresetSlotName(0), "empty");
    EXPECT_STREQ(stereo.GetPresetSlotName(1), "");

    TestBinding single(1, "2-2");
    EXPECT_EQ(single.NChannelPairs(), 1);
    EXPECT_EQ(single.NInChannels(), 2);

    gAssertions.clear();
    IFxAssertHandler previous = SetAssertHandler(RecordAssertion);
    TestBinding broken(1, "1-1 x-2");
    SetAssertHandler(previous);
    ASSERT_EQ(gAssertions.size(), 1u);
    EXPECT_EQ(gAssertions[0], "channelIOStrValid");
    EXPECT_EQ(broken.NChannelPairs(), 1);
}

TEST(FxBase, IdentifyHostBySubstringInTableOrder) {
    EXPECT_EQ(IFxBase::IdentifyHost("My CUBASE 5"), kHostCubase);
    EXPECT_EQ(IFxBase::IdentifyHost("Live 9"), kHostLive);
    EXPECT_EQ(IFxBase::IdentifyHost("nuendo live"), kHostNuendo);
    EXPECT_EQ(IFxBase::IdentifyHost("Deliverance"), kHostLive);  // "live" inside another word
    EXPECT_EQ(IFxBase::IdentifyHost("REAPER"), kHostReaper);
    EXPECT_EQ(IFxBase::IdentifyHost("VST3PluginTestHost"), kHostVst3TestHost);
    EXPECT_EQ(IFxBase::IdentifyHost("ProTools"), kHostProTools);
    EXPECT_EQ(IFxBase::IdentifyHost("wavelab 8"), kHostWaveLab);
    EXPECT_EQ(IFxBase::IdentifyHost("digital host"), kHostDigital);
    EXPECT_EQ(IFxBase::IdentifyHost("something else"), kHostUnknown);
    EXPECT_EQ(IFxBase::IdentifyHost(""), kHostUnknown);
    EXPECT_EQ(IFxBase::IdentifyHost(nullptr), kHostUnknown);
    EXPECT_EQ(IFxBase::IdentifyHost((std::string(300, 'x') + "reaper").c_str()), kHostUnknown);

    TestBinding plug;
    plug.SetHost("CAKEWALK x", 0x20000);
    EXPECT_EQ(plug.GetHostCode(), kHostCakewalk);
    EXPECT_EQ(plug.GetHostVersion(), 0x20000);
}

TEST(FxBase, GuiParameterChangeInformsHostFirstWithoutTheMutex) {
    TestBinding plug;
    plug.GetParam(2)->DefineRange("Tone", 0, 0, 100, 1, "", "", 1);
    plug.SetParameterFromGUI(2, 0.25);
    EXPECT_EQ(plug.GetParam(2)->Value(), 25.0);
    ASSERT_EQ(plug.calls.size(), 2u);
    EXPECT_EQ(plug.calls[0].what, "inform");
    EXPECT_EQ(plug.calls[0].value, 0.25);
    EXPECT_EQ(plug.calls[1].what, "changed");
    EXPECT_EQ(plug.calls[1].value, kSourceGui);
    EXPECT_FALSE(plug.calls[0].locked);  // the audio thread never waits for the host's answer
    EXPECT_TRUE(plug.calls[1].locked);

    plug.SetParameterFromGUI(8, 0.5);  // no such parameter: ignored
    EXPECT_EQ(plug.calls.size(), 2u);
}

TEST(FxBase, BindGraphicsPushesNormalizedValuesAndOwnsTheEditor) {
    EditorLog log;
    {
        TestBinding plug(2);
        plug.GetParam(1)->DefineRange("x", 5, 0, 10, 1, "", "", 1);
        plug.BindGraphics(nullptr);
        EXPECT_EQ(plug.GetGraphics(), nullptr);
        plug.BindGraphics(new EditorDouble(&log));
        ASSERT_EQ(log.pushed.size(), 2u);
        EXPECT_EQ(log.pushed[1].value, 0.5);
        EXPECT_TRUE(log.pushed[1].normalized);
        EXPECT_EQ(log.surfacesCreated, 1);

        log.pushed.clear();
        plug.PushValuesToGui();
        ASSERT_EQ(log.pushed.size(), 2u);
        EXPECT_EQ(log.pushed[1].value, 5.0);
        EXPECT_FALSE(log.pushed[1].normalized);
    }
    EXPECT_EQ(log.deleted, 1);
}

TEST(FxBase, PlugMutexIsRecursiveAndExcludesOtherThreads) {
    TestBinding plug;
    EXPECT_TRUE(OtherThreadCanLock(plug));
    {
        ScopedPlugLock outer(plug.GetMutex());
        {
            ScopedPlugLock inner(plug.GetMutex());
            EXPECT_TRUE(plug.GetMutex().IsHeldByCurrentThread());
        }
        EXPECT_TRUE(plug.GetMutex().IsHeldByCurrentThread());
        EXPECT_FALSE(OtherThreadCanLock(plug));
    }
    EXPECT_FALSE(plug.GetMutex().IsHeldByCurrentThread());
    EXPECT_TRUE(OtherThreadCanLock(plug));
}
