// The CLAP binding in-process, on the product's factory, for what needs the native sanitizers or
// the plug-in's internals; a host's view of the built modules is checked under tests/hosts/clap.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "effect/clap/plugin_factory.h"
#include "effect/product.h"
#include "effect/tavrelzel4.h"
#include "framework/statechunk.h"

namespace {
// A host offering params (optional), state and log, counting what the plug-in asks of it.
struct TestHost {
    bool offerParams = true;
    int flushes = 0, processes = 0, dirty = 0, logs = 0, rescans = 0;
    Clap::Host host{Clap::kVersion, this, "test", "", "", "1", Extension, Ignore, RequestProcess, Ignore};

    static TestHost& Of(const Clap::Host* h) { return *static_cast<TestHost*>(h->host_data); }
    static void Ignore(const Clap::Host*) {}
    static void RequestProcess(const Clap::Host* h) { ++Of(h).processes; }
    static const void* Extension(const Clap::Host* host, const char* id) {
        static const Clap::HostParams params{[](const Clap::Host* h, uint32_t) { ++Of(h).rescans; },
                                             [](const Clap::Host*, Clap::Id, uint32_t) {},
                                             [](const Clap::Host* h) { ++Of(h).flushes; }};
        static const Clap::HostState state{[](const Clap::Host* h) { ++Of(h).dirty; }};
        static const Clap::HostLog log{[](const Clap::Host* h, int32_t, const char*) { ++Of(h).logs; }};
        if (std::strcmp(id, Clap::kExtParams) == 0) return Of(host).offerParams ? &params : nullptr;
        if (std::strcmp(id, Clap::kExtState) == 0) return &state;
        return std::strcmp(id, Clap::kExtLog) == 0 ? &log : nullptr;
    }
};

struct Events {
    std::vector<Clap::EventParamValue> list;
    Clap::InputEvents in{
        this, [](const Clap::InputEvents* l) { return uint32_t(Self(l).list.size()); },
        [](const Clap::InputEvents* l, uint32_t i) -> const Clap::EventHeader* { return &Self(l).list[i].header; }};
    static Events& Self(const Clap::InputEvents* l) { return *static_cast<Events*>(l->ctx); }
    void Add(uint32_t time, Clap::Id id, double value) {
        Clap::EventParamValue e{};
        e.header = {sizeof e, time, Clap::kCoreEventSpace, Clap::kEventParamValue, 0};
        e.param_id = id, e.note_id = -1, e.value = value;
        list.push_back(e);
    }
};

// What the plug-in pushes, taking at most `room` events.
struct OutEvents {
    std::vector<Clap::EventParamValue> got;  // gestures keep their header and id
    size_t room = 64;
    Clap::OutputEvents out{this, [](const Clap::OutputEvents* l, const Clap::EventHeader* e) {
                               auto& self = *static_cast<OutEvents*>(l->ctx);
                               if (self.got.size() == self.room) return false;
                               Clap::EventParamValue copy{};
                               std::memcpy(&copy, e, std::min<size_t>(e->size, sizeof copy));
                               self.got.push_back(copy);
                               return true;
                           }};
};

const Clap::PluginFactory* Factory() { return ClapPluginFactory(); }

// One plug-in of the product's factory, destroyed at the end.
struct Instance {
    TestHost host;
    const Clap::Plugin* p = Factory()->create_plugin(Factory(), &host.host, Product::kClapId);
    ~Instance() { p->destroy(p); }
    template <typename T>
    const T* Ext(const char* id) const {
        return static_cast<const T*>(p->get_extension(p, id));
    }
    TavrelZel4* Plug() const { return static_cast<TavrelZel4*>(IFxCLAP::From(p)); }
    bool Start(uint32_t maxFrames) {
        return p->init(p) && p->activate(p, 48000, 1, maxFrames) && p->start_processing(p);
    }
    // One block from frame `from` of in to out, channels of them, as 32-bit or 64-bit samples.
    template <typename Sample>
    int32_t Process(std::vector<std::vector<Sample>>& in, std::vector<std::vector<Sample>>& out, uint32_t from,
                    uint32_t frames, Events& events) {
        std::vector<Sample*> i, o;
        for (size_t c = 0; c < in.size(); ++c) i.push_back(in[c].data() + from), o.push_back(out[c].data() + from);
        const uint32_t n = static_cast<uint32_t>(in.size());
        Clap::AudioBuffer ib{}, ob{};
        ib.channel_count = ob.channel_count = n;
        if constexpr (sizeof(Sample) == 4)
            ib.data32 = i.data(), ob.data32 = o.data();
        else
            ib.data64 = i.data(), ob.data64 = o.data();
        OutEvents sink;
        const Clap::Process block{-1, frames, nullptr, &ib, &ob, 1, 1, &events.in, &sink.out};
        return p->process(p, &block);
    }
};

template <typename Sample>
std::vector<std::vector<Sample>> Signal(int channels, int frames) {
    std::vector<std::vector<Sample>> v(channels, std::vector<Sample>(frames));
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < frames; ++i)
            v[c][i] = Sample(0.6 * std::sin(0.031 * i * (c + 1)) + 0.2 * std::sin(0.7 * i));
    return v;
}

std::vector<double> Values(const TavrelZel4* plug) {
    std::vector<double> v;
    for (int i = 0; i < plug->NParams(); ++i) v.push_back(plug->GetParam(i)->Value());
    return v;
}
}  // namespace

TEST(ClapFactory, CreatesOnlyItsPluginForAReleasedHost) {
    TestHost good, old;
    old.host.clap_version = {0, 9, 0};
    EXPECT_EQ(Factory()->create_plugin(Factory(), &good.host, "invalid.other"), nullptr);
    EXPECT_EQ(Factory()->create_plugin(Factory(), nullptr, Product::kClapId), nullptr);
    EXPECT_EQ(Factory()->create_plugin(Factory(), &old.host, Product::kClapId), nullptr);
    EXPECT_EQ(Factory()->get_plugin_descriptor(Factory(), 1), nullptr);
}

// Calls in and out of order, in this sequence on one plug-in; a block outside processing is an
// error with silent outputs.
TEST(ClapLifeCycle, CallsOutOfOrderAreRefusedOrIgnored) {
    Instance x;
    auto in = Signal<float>(2, 64), out = Signal<float>(2, 64);
    Events none;
    auto block = [&] { return x.Process(in, out, 0, 64, none) == Clap::kProcessContinue; };
    const auto* configs = x.Ext<Clap::PluginAudioPortsConfig>(Clap::kExtAudioPortsConfig);
    const struct {
        const char* call;
        bool got, want;
    } steps[] = {
        {"activate before init", x.p->activate(x.p, 48000, 1, 64), false},
        {"init", x.p->init(x.p), true},
        {"init again", x.p->init(x.p), false},
        {"start before activate", x.p->start_processing(x.p), false},
        {"activate with max frames 0", x.p->activate(x.p, 48000, 1, 0), false},
        {"activate", x.p->activate(x.p, 48000, 1, 64), true},
        {"activate again", x.p->activate(x.p, 48000, 1, 64), false},
        {"select a configuration while active", configs->select(x.p, 0), false},
        {"process before start", block(), false},
        {"the outputs silent", out[0][10] == 0.0f && out[1][63] == 0.0f, true},
        {"start", x.p->start_processing(x.p), true},
        {"start again", x.p->start_processing(x.p), false},
        {"process", (x.p->deactivate(x.p), block()), true},  // a deactivate while processing is ignored
        {"process after stop", (x.p->stop_processing(x.p), x.p->stop_processing(x.p), block()), false},
        {"start after reset", (x.p->reset(x.p), x.p->start_processing(x.p)), true},
    };
    for (const auto& s : steps) EXPECT_EQ(s.got, s.want) << s.call;
    EXPECT_EQ(x.host.logs, 5);  // init again, two activates, the select, the deactivate
}  // destroyed while processing

// One block with events at their frames gives the bits of the same block split at those frames
// with each event at the start of its piece, whatever the maximum block size, in 64-bit samples
// too (rounded to 32 bits), and in mono the stereo run's left channel.
TEST(ClapProcess, EventsApplyAtTheirFrames) {
    constexpr uint32_t kFrames = 1000;
    const std::vector<uint32_t> cuts = {0, 137, 600, 999};
    auto events = [&](uint32_t from, uint32_t to, uint32_t shift) {
        Events e;
        const struct {
            uint32_t time;
            Clap::Id id;
            double value;
        } all[] = {{0, TavrelZel4::kHiss, 0},
                   {137, TavrelZel4::kDistAmount, 70},
                   {600, TavrelZel4::kTone, 81},
                   {600, TavrelZel4::kLevel, 60},
                   {999, TavrelZel4::kDryWet, 40}};
        for (const auto& a : all)
            if (a.time >= from && a.time < to) e.Add(a.time - shift, a.id, a.value);
        return e;
    };
    auto render = [&](uint32_t maxFrames, bool split, bool wide, int channels) {
        Instance x;
        EXPECT_TRUE(x.p->init(x.p));
        EXPECT_TRUE(x.Ext<Clap::PluginAudioPortsConfig>(Clap::kExtAudioPortsConfig)->select(x.p, channels - 1));
        EXPECT_TRUE(x.p->activate(x.p, 48000, 1, maxFrames) && x.p->start_processing(x.p));
        auto in32 = Signal<float>(channels, kFrames), out32 = in32;
        auto in64 = Signal<double>(channels, kFrames), out64 = in64;
        for (int c = 0; c < channels; ++c)
            for (uint32_t i = 0; i < kFrames; ++i) in64[c][i] = in32[c][i];
        for (size_t k = 0; k < cuts.size(); ++k) {
            const uint32_t from = split ? cuts[k] : 0, to = split && k + 1 < cuts.size() ? cuts[k + 1] : kFrames;
            Events e = events(from, to, from);
            EXPECT_EQ(wide ? x.Process(in64, out64, from, to - from, e) : x.Process(in32, out32, from, to - from, e),
                      Clap::kProcessContinue);
            if (!split) break;
        }
        for (uint32_t i = 0; wide && i < kFrames; ++i) out32[0][i] = float(out64[0][i]);
        return out32[0];
    };
    const std::vector<float> reference = render(4096, false, false, 2);
    const struct {
        const char* name;
        uint32_t maxFrames;
        bool split, wide;
        int channels;
    } cases[] = {{"split at the events", 4096, true, false, 2},
                 {"max frames 64", 64, false, false, 2},
                 {"64-bit samples", 4096, false, true, 2},
                 {"mono", 4096, false, false, 1}};
    for (const auto& c : cases) {
        const std::vector<float> got = render(c.maxFrames, c.split, c.wide, c.channels);
        EXPECT_EQ(std::memcmp(got.data(), reference.data(), kFrames * sizeof(float)), 0) << c.name;
    }
    EXPECT_NE(reference[900], Signal<float>(1, kFrames)[0][900]);  // the reference is no copy of the input
}

// The editor's gestures reach the host in order from the next flush (or process), as many as
// it takes each time; the host is asked to flush (to process, without params) for each.
TEST(ClapGestures, QueuedUntilTheHostTakesThem) {
    for (bool offerParams : {true, false}) {
        Instance x;
        x.host.offerParams = offerParams;
        ASSERT_TRUE(x.p->init(x.p));
        TavrelZel4* plug = x.Plug();
        plug->BeginInformHostOfParamChange(TavrelZel4::kTone);
        plug->SetParameterFromGUI(TavrelZel4::kTone, 0.5);
        plug->EndInformHostOfParamChange(TavrelZel4::kTone);
        EXPECT_EQ(offerParams ? x.host.flushes : x.host.processes, 3);
        EXPECT_EQ(x.host.dirty, 1);
        const auto* params = x.Ext<Clap::PluginParams>(Clap::kExtParams);
        OutEvents first, second;
        first.room = 2;
        params->flush(x.p, nullptr, &first.out);
        params->flush(x.p, nullptr, &second.out);
        ASSERT_EQ(first.got.size() + second.got.size(), 3u);
        const Clap::EventParamValue& value = first.got[1];
        EXPECT_EQ(first.got[0].header.type, Clap::kEventParamGestureBegin);
        EXPECT_EQ(value.header.type, Clap::kEventParamValue);
        EXPECT_EQ(value.value, plug->GetParam(TavrelZel4::kTone)->Value());
        EXPECT_EQ(second.got[0].header.type, Clap::kEventParamGestureEnd);
        EXPECT_EQ(second.got[0].param_id, Clap::Id(TavrelZel4::kTone));
    }
}

// A host that leaves the queue untaken while the knob moves on still gets the gesture's end.
TEST(ClapGestures, EndSurvivesAFullQueue) {
    Instance x;
    ASSERT_TRUE(x.p->init(x.p));
    TavrelZel4* plug = x.Plug();
    plug->BeginInformHostOfParamChange(TavrelZel4::kTone);
    for (int k = 0; k < 3000; ++k) plug->SetParameterFromGUI(TavrelZel4::kTone, (k % 100) / 100.0);
    plug->EndInformHostOfParamChange(TavrelZel4::kTone);
    OutEvents got;
    got.room = 4000;
    x.Ext<Clap::PluginParams>(Clap::kExtParams)->flush(x.p, nullptr, &got.out);
    ASSERT_GT(got.got.size(), 2u);
    EXPECT_EQ(got.got.front().header.type, Clap::kEventParamGestureBegin);
    EXPECT_EQ(got.got.back().header.type, Clap::kEventParamGestureEnd);
}

// The editor's thread queues gestures while the audio thread flushes: each arrives once, in order.
TEST(ClapGestures, CrossThreadsInOrder) {
    constexpr int kGestures = 250;  // their 750 events fit the queue, values too
    Instance x;
    ASSERT_TRUE(x.Start(64));
    OutEvents got;
    got.room = 3 * kGestures;
    std::thread audio([&] {
        const auto* params = x.Ext<Clap::PluginParams>(Clap::kExtParams);
        while (got.got.size() < got.room) params->flush(x.p, nullptr, &got.out);
    });
    for (int k = 0; k < kGestures; ++k) {
        x.Plug()->BeginInformHostOfParamChange(TavrelZel4::kLevel);
        x.Plug()->SetParameterFromGUI(TavrelZel4::kLevel, (k + 1) / double(kGestures));
        x.Plug()->EndInformHostOfParamChange(TavrelZel4::kLevel);
    }
    audio.join();
    const uint16_t order[] = {Clap::kEventParamGestureBegin, Clap::kEventParamValue, Clap::kEventParamGestureEnd};
    for (size_t i = 0; i < got.got.size(); ++i) {
        ASSERT_EQ(got.got[i].header.type, order[i % 3]) << i;
        if (i >= 4 && i % 3 == 1) {
            ASSERT_GT(got.got[i].value, got.got[i - 3].value) << i;
        }
    }
}

namespace {
// Streams that move at most `piece` bytes a call; -1 once `failAt` bytes have gone.
struct Stream {
    std::vector<uint8_t> bytes;
    size_t at = 0, piece = 1, failAt = SIZE_MAX;
    Clap::OStream out{this, [](const Clap::OStream* s, const void* b, uint64_t n) -> int64_t {
                          auto& self = *static_cast<Stream*>(s->ctx);
                          const size_t k = std::min<size_t>(n, self.piece);
                          if (self.bytes.size() >= self.failAt) return -1;
                          self.bytes.insert(self.bytes.end(), (const uint8_t*)b, (const uint8_t*)b + k);
                          return int64_t(k);
                      }};
    Clap::IStream in{this, [](const Clap::IStream* s, void* b, uint64_t n) -> int64_t {
                         auto& self = *static_cast<Stream*>(s->ctx);
                         if (self.at >= self.failAt) return -1;
                         const size_t k = std::min({size_t(n), self.piece, self.bytes.size() - self.at});
                         if (k > 0) std::memcpy(b, self.bytes.data() + self.at, k);
                         self.at += k;
                         return int64_t(k);
                     }};
};
}  // namespace

// Saved a byte at a time, the state is the VST3 state's bytes and loads back a byte at a time;
// data no state is made of, or a stream that fails, leaves every value as it was.
TEST(ClapState, ShortStreamsAndBadData) {
    Instance saver, loader;
    ASSERT_TRUE(saver.p->init(saver.p) && loader.p->init(loader.p));
    Events e;
    e.Add(0, TavrelZel4::kDistAmount, 33.3), e.Add(0, TavrelZel4::kSaturation, 0);
    saver.Ext<Clap::PluginParams>(Clap::kExtParams)->flush(saver.p, &e.in, nullptr);
    Stream saved;
    ASSERT_TRUE(saver.Ext<Clap::PluginState>(Clap::kExtState)->save(saver.p, &saved.out));
    IByteBlock chunk;
    ASSERT_TRUE(TakeStateChunk(saver.Plug(), &chunk));
    EXPECT_EQ(saved.bytes, std::vector<uint8_t>(chunk.GetBytes(), chunk.GetBytes() + chunk.Size()));

    const auto* state = loader.Ext<Clap::PluginState>(Clap::kExtState);
    const std::vector<double> before = Values(loader.Plug());
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        size_t failAt;
    } bad[] = {{"empty", {}, SIZE_MAX},
               {"cut in the parameter block", {saved.bytes.begin(), saved.bytes.begin() + 20}, SIZE_MAX},
               {"without the bypass flag", {saved.bytes.begin(), saved.bytes.end() - 4}, SIZE_MAX},
               {"a stream failing", saved.bytes, 12}};
    for (const auto& b : bad) {
        Stream s;
        s.bytes = b.bytes, s.failAt = b.failAt, s.piece = 7;
        EXPECT_FALSE(state->load(loader.p, &s.in)) << b.name;
        EXPECT_EQ(Values(loader.Plug()), before) << b.name;
    }
    saved.failAt = SIZE_MAX;
    ASSERT_TRUE(state->load(loader.p, &saved.in));
    EXPECT_EQ(Values(loader.Plug()), Values(saver.Plug()));
    EXPECT_EQ(loader.host.rescans, 1);
}

// Every parameter's text at its default reads back to that value; a text no parameter shows,
// and an unknown id, are refused.
TEST(ClapParams, TextsReadBack) {
    Instance x;
    ASSERT_TRUE(x.p->init(x.p));
    const auto* params = x.Ext<Clap::PluginParams>(Clap::kExtParams);
    for (uint32_t i = 0; i < params->count(x.p); ++i) {
        Clap::ParamInfo info{};
        ASSERT_TRUE(params->get_info(x.p, i, &info));
        char text[8];  // shorter than some texts: cut, still terminated
        double back = -1;
        ASSERT_TRUE(params->value_to_text(x.p, i, info.default_value, text, sizeof text));
        EXPECT_TRUE(params->text_to_value(x.p, i, text, &back) && back == info.default_value)
            << info.name << " " << text;
        EXPECT_FALSE(params->text_to_value(x.p, i, "loud", &back)) << info.name;
    }
    double value = 0;
    char text[16];
    EXPECT_FALSE(params->get_value(x.p, params->count(x.p), &value));
    EXPECT_FALSE(params->value_to_text(x.p, params->count(x.p), 0, text, sizeof text));
}
