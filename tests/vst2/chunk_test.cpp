// Program and bank chunks through the dispatcher: their bytes, round trips, and chunks from the
// host that are short, bare, oversized or corrupt. The host's bytes are handed over in a buffer
// of exactly their size, so ASan catches any read past them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "test_plugin.h"

using namespace Vst2;
using vst2host::Host;
using vst2host::Plugin;

namespace {
using Bytes = std::vector<unsigned char>;

void Append(Bytes* b, const void* p, size_t n) {
    const auto* c = static_cast<const unsigned char*>(p);
    b->insert(b->end(), c, c + n);
}
void AppendInt(Bytes* b, int32_t v) { Append(b, &v, 4); }
void AppendValues(Bytes* b, std::initializer_list<double> values) {
    for (double v : values) Append(b, &v, 8);
}
Bytes Header() { return {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00}; }
// One bank entry: name length, name, flag, and the values when the flag is set.
void AppendEntry(Bytes* b, int32_t nameLength, const std::string& name, bool initialized,
                 std::initializer_list<double> values = {}) {
    AppendInt(b, nameLength);
    Append(b, name.data(), name.size());
    b->push_back(initialized ? 1 : 0);
    if (initialized) AppendValues(b, values);
}

struct ChunkTest : ::testing::Test {
    Host host;
    Plugin plug;
    TestVst* p = nullptr;
    void Make(int presets) {
        TestConfig config;
        config.presets = presets;
        config.doesChunks = true;
        plug.effect = TestVst::Create(config);
        p = TestVst::Of(plug.effect);
    }
    void TearDown() override { plug.Close(); }
    std::vector<double> Values() const {
        std::vector<double> v;
        for (int i = 0; i < p->NParams(); ++i) v.push_back(p->GetParam(i)->Value());
        return v;
    }
    void SetValues(std::initializer_list<double> values) {
        int i = 0;
        for (double v : values) p->GetParam(i++)->SetValue(v);
    }
};
}  // namespace

TEST_F(ChunkTest, ProgramAndBankBytes) {
    Make(1);
    SetValues({1, 2.5, 3});
    Bytes expected = Header();
    AppendValues(&expected, {1, 2.5, 3});
    EXPECT_EQ(plug.GetChunk(true), expected);

    // The bank takes the current values into the current slot before it is written.
    expected = Header();
    AppendEntry(&expected, 1, "-", true, {1, 2.5, 3});
    EXPECT_EQ(plug.GetChunk(false), expected);
    EXPECT_EQ(plug.Dispatch(EffectOp::kGetChunk, 0, 0, nullptr), 0);
}

TEST_F(ChunkTest, BankRoundTripRestoresNamesFlagsStatesAndCurrentValues) {
    Make(3);
    p->GetPresetSlot(2)->initialized = false;
    SetValues({0, 4, 4});
    plug.Dispatch(EffectOp::kSetProgramName, 0, 0, const_cast<char*>("first"));
    plug.Dispatch(EffectOp::kSetProgram, 0, 1);
    SetValues({1, 6, 6});
    const Bytes bank = plug.GetChunk(false);
    const Bytes program = plug.GetChunk(true);

    plug.Close();
    Make(3);
    plug.Dispatch(EffectOp::kSetProgram, 0, 1);
    EXPECT_EQ(plug.SetChunk(bank, false), 1);
    EXPECT_EQ(Values(), (std::vector<double>{1, 6, 6}));
    EXPECT_EQ(plug.Text(EffectOp::kGetProgramNameIndexed, 0), "first");
    EXPECT_FALSE(p->GetPresetSlot(2)->initialized);
    EXPECT_EQ(plug.GetChunk(false), bank);

    SetValues({0, 0, 0});
    EXPECT_EQ(plug.SetChunk(program, true), 1);
    EXPECT_EQ(Values(), (std::vector<double>{1, 6, 6}));
    plug.Dispatch(EffectOp::kSetProgram, 0, 0);
    EXPECT_EQ(Values(), (std::vector<double>{0, 4, 4}));
}

// Chunks from the host, each applied to a fresh two-slot plug-in (values 0, 5, 0; slots "-").
TEST_F(ChunkTest, ChunksFromTheHost) {
    struct Case {
        const char* what;
        bool isProgram;
        Bytes bytes;
        intptr_t result;
        std::vector<double> values;
        std::string name0, name1;
        bool init1;
    };
    Bytes bare, program = Header(), longProgram, shortProgram, magicOnly = {0x74, 0x66, 0x66, 0x70};
    AppendValues(&bare, {1, 2, 3});
    AppendValues(&program, {1, 7, 2});
    longProgram = program;
    longProgram.resize(program.size() + 40, 0xAB);
    shortProgram = Header();
    AppendValues(&shortProgram, {1});
    shortProgram.resize(shortProgram.size() + 3);
    Bytes notANumber = Header();
    AppendValues(&notANumber, {1, NAN, 2});

    const Bytes header = Header();
    Bytes emptyName = header, negativeName = header, hugeName = header, overrunName = header, oneEntry = header;
    AppendEntry(&emptyName, 0, "", true, {1, 1, 1});
    AppendEntry(&emptyName, 2, "b2", false);
    AppendEntry(&negativeName, 1, "a", true, {1, 2, 1});
    AppendEntry(&negativeName, -9, "", true, {0, 0, 0});
    AppendEntry(&hugeName, 0x7FFFFFF0, "", false);
    AppendEntry(&overrunName, 1, "a", true, {1, 2, 1});
    AppendInt(&overrunName, 50);
    overrunName.insert(overrunName.end(), {'x', 'y'});
    AppendEntry(&oneEntry, 3, "one", true, {1, 3, 1});
    Bytes longName = header;
    AppendEntry(&longName, 300, std::string(300, 'q'), true, {1, 1, 1});
    AppendEntry(&longName, 1, "z", true, {0, 9, 0});

    const std::vector<double> unchanged{0, 5, 0};
    const Case cases[] = {
        {"bare program", true, bare, 1, {1, 2, 3}, "-", "-", true},
        {"bare block as bank", false, bare, 1, {1, 2, 3}, "-", "-", true},
        {"program", true, program, 1, {1, 7, 2}, "-", "-", true},
        {"oversized program", true, longProgram, 1, {1, 7, 2}, "-", "-", true},
        {"truncated program", true, shortProgram, 0, {1, 0, 0}, "-", "-", true},
        {"value not a number", true, notANumber, 1, {1, 0, 2}, "-", "-", true},
        {"magic without version", false, magicOnly, 0, unchanged, "-", "-", true},
        {"empty", true, {}, 0, unchanged, "-", "-", true},
        {"empty name", false, emptyName, 1, {1, 1, 1}, "", "b2", false},
        {"negative name length", false, negativeName, 0, {1, 2, 1}, "a", "-", true},
        {"huge name length", false, hugeName, 0, unchanged, "-", "-", true},
        {"name past the end", false, overrunName, 0, {1, 2, 1}, "a", "-", true},
        {"fewer entries than slots", false, oneEntry, 0, {1, 3, 1}, "one", "-", true},
        {"name longer than a slot holds", false, longName, 1, {1, 1, 1}, std::string(255, 'q'), "z", true},
    };
    for (const Case& c : cases) {
        Make(2);
        EXPECT_EQ(plug.SetChunk(c.bytes, c.isProgram), c.result) << c.what;
        EXPECT_EQ(Values(), c.values) << c.what;
        EXPECT_EQ(std::string(p->GetPresetSlotName(0)), c.name0) << c.what;
        EXPECT_EQ(std::string(p->GetPresetSlotName(1)), c.name1) << c.what;
        EXPECT_EQ(p->GetPresetSlot(1)->initialized, c.init1) << c.what;
        plug.Close();
    }
}

// A negative byte count from the host is refused before anything is read or changed.
TEST_F(ChunkTest, NegativeSizeChangesNothing) {
    Make(1);
    unsigned char byte = 0;
    EXPECT_EQ(plug.Dispatch(EffectOp::kSetChunk, 1, -8, &byte), 0);
    EXPECT_EQ(plug.Dispatch(EffectOp::kSetChunk, 0, -1, &byte), 0);
    EXPECT_EQ(plug.Dispatch(EffectOp::kSetChunk, 0, 8, nullptr), 0);
    EXPECT_TRUE(p->changes.empty());
    EXPECT_EQ(Values(), (std::vector<double>{0, 5, 0}));
}
