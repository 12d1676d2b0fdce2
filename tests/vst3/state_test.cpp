// The state chunk: eight doubles and a 32-bit bypass flag; what a restore takes and what it refuses.
#include <gtest/gtest.h>

#include <cmath>

#include "host_doubles.h"

using namespace testhost;

namespace {
std::vector<char> Chunk(const std::vector<double>& values, int32 bypass, bool trailer = true) {
    std::vector<char> bytes(values.size() * 8 + (trailer ? 4 : 0));
    std::memcpy(bytes.data(), values.data(), values.size() * 8);
    if (trailer) std::memcpy(bytes.data() + values.size() * 8, &bypass, 4);
    return bytes;
}

std::vector<double> Values(TavrelZel4* plug) {
    std::vector<double> v;
    for (int i = 0; i < plug->NParams(); ++i) v.push_back(plug->GetParam(i)->Value());
    return v;
}

const std::vector<double> kStored{1, 12.5, 81, 49, 0, 0, 30, 1};
}  // namespace

TEST(Vst3State, SavesSixtyEightBytes) {
    Plugin p;
    p.plug->SetBypassed(true);
    MemoryStream stream;
    ASSERT_EQ(p.plug->getState(&stream), kResultOk);
    EXPECT_EQ(stream.data, Chunk(Values(p.plug), 1));
    EXPECT_EQ(stream.data.size(), 68u);

    // A stream that takes fewer bytes than the chunk has is no saved state.
    MemoryStream full;
    full.writeLimit = 66;
    EXPECT_EQ(p.plug->getState(&full), kResultFalse);
    EXPECT_EQ(p.plug->getState(nullptr), kInvalidArgument);
}

TEST(Vst3State, RestoresParametersAndBypass) {
    Plugin p;
    MemoryStream stream(Chunk(kStored, 5));
    ASSERT_EQ(p.plug->setState(&stream), kResultOk);
    EXPECT_EQ(Values(p.plug), kStored);
    EXPECT_TRUE(p.plug->IsBypassed());
    EXPECT_EQ(p.plug->getParamNormalized(IFxVST3::kBypassTag), 1.0);
    EXPECT_EQ(stream.pos, 68);

    // The controller's entry runs the same restore, from the stream's position at that call.
    std::vector<char> prefixed(10, 'x');
    const std::vector<char> chunk = Chunk(kStored, 0);
    prefixed.insert(prefixed.end(), chunk.begin(), chunk.end());
    MemoryStream at(prefixed);
    at.pos = 10;
    ASSERT_EQ(p.plug->setComponentState(&at), kResultOk);
    EXPECT_FALSE(p.plug->IsBypassed());
    EXPECT_EQ(at.pos, 78);
}

TEST(Vst3State, RefusesBrokenStreams) {
    Plugin p;
    p.plug->SetBypassed(true);
    const std::vector<double> before = Values(p.plug);

    MemoryStream empty;
    EXPECT_EQ(p.plug->setState(&empty), kResultFalse);
    EXPECT_EQ(Values(p.plug), before);
    EXPECT_TRUE(p.plug->IsBypassed());
    EXPECT_EQ(p.plug->setState(nullptr), kInvalidArgument);

    // Without the trailer: the values are taken, the bypass kept, and the answer is false.
    MemoryStream noTrailer(Chunk(kStored, 0, false));
    EXPECT_EQ(p.plug->setState(&noTrailer), kResultFalse);
    EXPECT_EQ(Values(p.plug), kStored);
    EXPECT_TRUE(p.plug->IsBypassed());

    // Cut inside the parameter block: refused, and the bypass is not read from parameter bytes.
    p.plug->SetBypassed(false);
    std::vector<char> cut = Chunk({0, 1, 2, 3}, 0, false);
    cut.insert(cut.end(), {1, 0, 0, 0});
    MemoryStream shortStream(cut);
    EXPECT_EQ(p.plug->setState(&shortStream), kResultFalse);
    EXPECT_FALSE(p.plug->IsBypassed());
    for (double v : Values(p.plug)) EXPECT_FALSE(std::isnan(v));
}

// Reads that report failure after delivering bytes end the restore, except for the one host
// known to answer every read that way.
TEST(Vst3State, FailingReads) {
    Plugin other;
    MemoryStream failing(Chunk(kStored, 1));
    failing.failReads = true;
    EXPECT_EQ(other.plug->setState(&failing), kResultFalse);
    EXPECT_FALSE(other.plug->IsBypassed());

    Plugin wavelab("WaveLab 8");
    MemoryStream quirky(Chunk(kStored, 1));
    quirky.failReads = true;
    EXPECT_EQ(wavelab.plug->setState(&quirky), kResultOk);
    EXPECT_EQ(Values(wavelab.plug), kStored);
    EXPECT_TRUE(wavelab.plug->IsBypassed());
}

TEST(Vst3State, RoundTripBetweenInstances) {
    Plugin a, b;
    MemoryStream in(Chunk(kStored, 1));
    ASSERT_EQ(a.plug->setState(&in), kResultOk);
    MemoryStream saved;
    ASSERT_EQ(a.plug->getState(&saved), kResultOk);
    saved.pos = 0;
    ASSERT_EQ(b.plug->setState(&saved), kResultOk);
    EXPECT_EQ(Values(b.plug), kStored);
    EXPECT_TRUE(b.plug->IsBypassed());
}
