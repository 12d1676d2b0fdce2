#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "output_format.h"
#include "transfer.h"

using namespace sound;

namespace {

// Each test's files in a folder of its own, removed after it.
class SoundFiles : public testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/tz_sound_test.XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir = name;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string dir;
};

// Encodes `samples` (stereo, as raw floats on a pipe) into `path` keeping `sample`.
Totals EncodeSamples(const std::string& path, Sample sample, const std::vector<double>& samples) {
    int fds[2];
    EXPECT_EQ(pipe(fds), 0);
    EXPECT_EQ(write(fds[1], samples.data(), samples.size() * sizeof(double)), ssize_t(samples.size() * 8));
    close(fds[1]);
    SoundFile file;
    EXPECT_EQ(file.OpenWrite(path, OutputFormat(path, sample), 48000, 2), "");
    Totals totals;
    std::string problem;
    EXPECT_EQ(Encode(fds[0], 2, file, SampleOf(OutputFormat(path, sample)), &totals, &problem), Ending::kDone)
        << problem;
    close(fds[0]);
    return totals;
}

std::vector<double> DecodeFile(const std::string& path, Sample* sample) {
    SoundFile file;
    EXPECT_EQ(OpenInput(path, &file), "");
    *sample = file.sample();
    std::vector<double> samples(size_t(file.frames() * file.channels()));
    EXPECT_EQ(file.Read(samples.data(), file.frames()), file.frames());
    return samples;
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct RoundTrip {
    const char* name;
    const char* file;
    Sample sample;
    std::vector<double> samples;
    Sample back;       // the sample format written
    double tolerance;  // 0: exactly
    long long clipped;
};

// Float samples come back exactly as given, over full scale and tiny ones too; integer ones to
// their steps, clipped at full scale; 8-bit stays 8-bit; FLAC holds integers only.
const RoundTrip kRoundTrips[] = {
    {"float32 over full scale",
     "f32.wav",
     Sample::kFloat32,
     {double(1.9952623f), -1.5, 0.25, 0x1p-30},
     Sample::kFloat32,
     0,
     0},
    {"float64 tiny values", "f64.w64", Sample::kFloat64, {1e-12, -3e-300, 1 + 0x1p-52, -0.1}, Sample::kFloat64, 0, 0},
    {"float64 in RF64", "f64.rf64", Sample::kFloat64, {1e-12, -2.5, 0.3, 0}, Sample::kFloat64, 0, 0},
    {"pcm24 steps", "i24.wav", Sample::kPcm24, {0x7FFFFFp-23, -1, 0x123p-23, 1.5}, Sample::kPcm24, 0, 1},
    {"pcm32 in AIFF", "i32.aiff", Sample::kPcm32, {0x7FFFFFFFp-31, -1, 0x1p-31, -0.5}, Sample::kPcm32, 0, 0},
    {"pcm8 stays 8-bit", "i8.wav", Sample::kPcm8, {0.5, -1, 0x7Fp-7, 0}, Sample::kPcm8, 2.0 / 128, 0},
    {"pcm16 dithered", "i16.aiff", Sample::kPcm16, {0.5, -0.25, 0.1, -0.1}, Sample::kPcm16, 2.0 / 32768, 0},
    {"FLAC pcm24", "i24.flac", Sample::kPcm24, {0x7FFFFFp-23, -1, 0x123p-23, 0}, Sample::kPcm24, 0, 0},
    {"float into FLAC is 24-bit", "f.flac", Sample::kFloat32, {0.5, -0.3, 0.1, 0}, Sample::kPcm24, 0x1p-23, 0},
};

TEST_F(SoundFiles, RoundTrips) {
    for (const RoundTrip& c : kRoundTrips) {
        SCOPED_TRACE(c.name);
        const std::string path = dir + "/" + c.file;
        const Totals totals = EncodeSamples(path, c.sample, c.samples);
        EXPECT_EQ(totals.frames, 2);
        EXPECT_EQ(totals.clipped, c.clipped);
        Sample back{};
        const std::vector<double> got = DecodeFile(path, &back);
        EXPECT_EQ(back, c.back);
        ASSERT_EQ(got.size(), c.samples.size());
        for (size_t i = 0; i < got.size(); ++i) {
            const double want = c.clipped && std::fabs(c.samples[i]) > 1 ? 0x7FFFFFp-23 : c.samples[i];
            EXPECT_NEAR(got[i], want, c.tolerance) << i;
        }
    }
}

// A 24-bit WAV is plain PCM (format tag 1), not the extensible header.
TEST_F(SoundFiles, WavIsPlainPcm) {
    const std::string path = dir + "/plain.wav";
    EncodeSamples(path, Sample::kPcm24, {0.5, 0.5});
    EXPECT_EQ(Bytes(path).substr(20, 2), std::string("\x01\x00", 2));
}

// The same samples give the same 16-bit file twice, and the dither is there: a constant of a
// third of a step comes back as a mix of 0 and 1 steps.
TEST_F(SoundFiles, DitherIsRepeatable) {
    const std::vector<double> third(2000, 1.0 / 3 / 32768);
    EncodeSamples(dir + "/a.wav", Sample::kPcm16, third);
    EncodeSamples(dir + "/b.wav", Sample::kPcm16, third);
    EXPECT_EQ(Bytes(dir + "/a.wav"), Bytes(dir + "/b.wav"));
    Sample back{};
    const std::vector<double> got = DecodeFile(dir + "/a.wav", &back);
    double sum = 0;
    for (double v : got) sum += v * 32768;
    EXPECT_NEAR(sum / double(got.size()), 1.0 / 3, 0.05);
}

struct Refusal {
    const char* name;
    std::string path;
    const char* message;
};

TEST_F(SoundFiles, RefusedInputs) {
    std::ofstream(dir + "/text.wav") << "not audio\n";
    SoundFile empty;  // a header saying 0 data bytes, as a recorder that crashed leaves it
    ASSERT_EQ(empty.OpenWrite(dir + "/empty.wav", OutputFormat("x.wav", Sample::kPcm16), 48000, 2), "");
    ASSERT_EQ(empty.Close(), "");
    const Refusal refusals[] = {
        {"folder", dir, " is a folder; give a sound file"},
        {"not a sound file", dir + "/text.wav", "text.wav is not a sound file"},
        {"no audio", dir + "/empty.wav", "empty.wav holds no audio"},
        {"a command is a name", "|touch " + dir + "/ran", "no such file: |touch"},
        {"- is a name", "-", "no such file: -"},
    };
    for (const Refusal& r : refusals) {
        SoundFile file;
        EXPECT_NE(OpenInput(r.path, &file).find(r.message), std::string::npos)
            << r.name << ": " << OpenInput(r.path, &file);
    }
    EXPECT_NE(access((dir + "/ran").c_str(), F_OK), 0);
}

// A full disk is named as such.
TEST_F(SoundFiles, FullDisk) {
    SoundFile file;
    const std::vector<double> block(1 << 16, 0.25);
    std::string problem = file.OpenWrite("/dev/full", OutputFormat("x.wav", Sample::kPcm24), 48000, 2);
    if (problem.empty()) problem = file.Write(block.data(), long(block.size() / 2));
    if (problem.empty()) problem = file.Close();
    EXPECT_NE(problem.find("No space left on device"), std::string::npos) << problem;
}

}  // namespace
