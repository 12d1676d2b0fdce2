// Buses and bus lists, and the effect's bus, arrangement and processing set-up calls.
#include "sdk/vst3/singlecomponenteffect.h"
#include "sdk/vst3/strings.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Sdk;
using namespace Sdk::Vst;

TEST(Bus, InfoNameLimitAndChannelCounts) {
    AudioBus audio(u"Main Input", kMain, BusInfo::kDefaultActive, SpeakerArr::k51);
    EXPECT_FALSE(audio.isActive());
    BusInfo info;
    std::memset(&info, 0x55, sizeof(info));
    EXPECT_TRUE(audio.getInfo(info));
    EXPECT_EQ(info.channelCount, 6);
    EXPECT_EQ(info.flags, 1u);
    audio.setName(std::u16string(140, u'n').c_str());
    audio.getInfo(info);
    EXPECT_EQ(strlen16(info.name), 127);

    EXPECT_EQ(SpeakerArr::getChannelCount(SpeakerArr::kEmpty), 0);
    EXPECT_EQ(SpeakerArr::getChannelCount(SpeakerArr::kBFormat1stOrder), 4);
    EXPECT_EQ(SpeakerArr::getChannelCount(~0ull), 64);
}

TEST(BusList, HoldsOneReferenceOnEachBus) {
    BusList list(kAudio, kOutput);
    auto* a = new AudioBus(u"A", kMain, 0, SpeakerArr::kStereo);
    auto* b = new AudioBus(u"B", kMain, 0, SpeakerArr::kStereo);
    auto* c = new AudioBus(u"C", kMain, 0, SpeakerArr::kMono);
    auto* d = new AudioBus(u"D", kMain, 0, SpeakerArr::kMono);
    for (Bus* bus : {a, b, c, d}) bus->addRef();  // watch them after the list lets go
    list.append(a);
    list.append(b);
    EXPECT_EQ(list.at(2), nullptr);
    EXPECT_EQ(list.at(-1), nullptr);
    EXPECT_TRUE(list.replace(0, c));
    EXPECT_EQ(a->getRefCount(), 1);
    EXPECT_TRUE(list.remove(0));
    EXPECT_EQ(list.at(0), b);
    EXPECT_EQ(c->getRefCount(), 1);
    EXPECT_FALSE(list.remove(1));
    EXPECT_FALSE(list.replace(5, d));
    EXPECT_EQ(d->getRefCount(), 1);
    list.clear();
    EXPECT_EQ(b->getRefCount(), 1);
    for (Bus* bus : {a, b, c, d}) EXPECT_EQ(bus->release(), 0u);
}

namespace {
class Effect : public SingleComponentEffect {
public:
    Effect() {
        addAudioInput(u"Main Input", SpeakerArr::kStereo);
        addAudioInput(u"Aux Input", SpeakerArr::kMono, kAux, 0);
        addAudioOutput(u"Output", SpeakerArr::kStereo);
        addEventInput(u"MIDI Input", 1);
    }
};
}  // namespace

TEST(EffectBuses, CountsInfoActivationAndArrangements) {
    auto* effect = new Effect;
    EXPECT_EQ(effect->getBusCount(kAudio, kInput), 2);
    EXPECT_EQ(effect->getBusCount(kAudio, 7), 1);  // any other direction counts as output
    EXPECT_EQ(effect->getBusCount(kEvent, kInput), 1);
    EXPECT_EQ(effect->getBusCount(2, kInput), 0);
    BusInfo info{};
    EXPECT_EQ(effect->getBusInfo(kAudio, kInput, 1, info), kResultOk);
    EXPECT_EQ(info.direction, kInput);
    EXPECT_EQ(info.busType, kAux);
    EXPECT_EQ(strcmp16(info.name, u"Aux Input"), 0);
    for (int32 index : {2, -1}) EXPECT_EQ(effect->getBusInfo(kAudio, kInput, index, info), kInvalidArgument);
    EXPECT_EQ(effect->getBusInfo(5, kInput, 0, info), kInvalidArgument);
    EXPECT_EQ(effect->activateBus(kAudio, kOutput, 0, 1), kResultOk);
    EXPECT_TRUE(effect->getBusList(kAudio, kOutput)->at(0)->isActive());
    EXPECT_EQ(effect->activateBus(kAudio, kOutput, 1, 1), kInvalidArgument);
    EXPECT_EQ(effect->activateBus(3, kOutput, 0, 1), kInvalidArgument);

    SpeakerArrangement ins[] = {SpeakerArr::kMono, SpeakerArr::kStereo};
    SpeakerArrangement outs[] = {SpeakerArr::k51, SpeakerArr::kMono};
    EXPECT_EQ(effect->setBusArrangements(ins, 2, outs, 1), kResultOk);
    SpeakerArrangement arr = 0;
    EXPECT_EQ(effect->getBusArrangement(kOutput, 0, arr), kResultOk);
    EXPECT_EQ(arr, SpeakerArr::k51);
    EXPECT_EQ(effect->getBusArrangement(kOutput, 1, arr), kInvalidArgument);
    EXPECT_EQ(effect->setBusArrangements(ins, 1, outs, 2), kResultFalse);  // one output bus only
    EXPECT_EQ(effect->setBusArrangements(ins, -1, outs, 1), kInvalidArgument);
    EXPECT_EQ(effect->setBusArrangements(nullptr, 1, outs, 1), kInvalidArgument);

    effect->terminate();
    EXPECT_EQ(effect->getBusCount(kAudio, kInput), 0);
    effect->release();
}

TEST(EffectProcessing, KeepsOnlyAcceptedSetups) {
    auto* effect = new Effect;
    const ProcessSetup& kept = effect->getProcessSetup();
    EXPECT_EQ(effect->canProcessSampleSize(kSample64), kResultFalse);
    ProcessSetup doubles{kOffline, kSample64, 256, 48000.};
    EXPECT_EQ(effect->setupProcessing(doubles), kResultFalse);
    EXPECT_EQ(kept.sampleRate, 44100.);
    ProcessSetup floats{kOffline, kSample32, 256, 48000.};
    EXPECT_EQ(effect->setupProcessing(floats), kResultOk);
    EXPECT_EQ(kept.maxSamplesPerBlock, 256);
    EXPECT_EQ(kept.sampleRate, 48000.);
    effect->release();
}
