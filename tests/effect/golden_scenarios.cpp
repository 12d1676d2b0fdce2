#include "golden_scenarios.h"

#include "effect/noise_source.h"
#include "effect/oversampling.h"
#include "effect/zl4.h"

#include <cmath>
#include <cstdio>

namespace {

// The input is made of additions, multiplications and divisions only, so it is the same on
// every target.
std::vector<double> Input() {
    std::vector<double> x(2048);
    NoiseSource noise(20240531u);
    for (size_t i = 0; i < x.size(); ++i) {
        const double triangle = std::fabs(static_cast<double>(i % 101) - 50.5) / 25.25 - 1.0;
        const double hiss = (noise.Next() - 16383.5) / 16383.5 * 0.2;
        const double envelope = 0.05 + 1.5 * static_cast<double>(i % 700) / 700.0;
        x[i] = envelope * (triangle + hiss);
    }
    return x;
}

void SetUp(zl4& model, const GoldenScenario& s) {
    model.SetSampleRate(s.sampleRate);
    model.SetOversampling(OversamplingForSampleRate(s.sampleRate));
    model.SetChannels(1);
    model.ResetFilters();
    model.SetDistortion(s.distortion);
    model.SetTone(s.tone);
    model.SetLevel(s.level);
    model.SetMix(s.mix);
    model.SetBypass(s.bypass);
    model.SetSaturation(s.saturation);
    model.SetCompensation(s.compensation);
    model.SetHiss(s.hiss);
    model.SetNoiseSeed(12345u);
}

const int kBlocks[] = {500, 1, 1024, 523};

}  // namespace

const std::vector<GoldenScenario>& GoldenScenarios() {
    static const std::vector<GoldenScenario> scenarios = {
        // name                 rate    dist  tone  level mix  bypass sat    comp   hiss
        {"r44100_drive", 44100, 0.5, 0.5, 0.5, 1.0, false, true, true, false},
        {"r48000_hard_clip", 48000, 1.0, 0.0, 1.0, 0.7, false, false, true, false},
        {"r96000_bright", 96000, 0.25, 1.0, 0.25, 1.0, false, true, false, false},
        {"r192000_no_resample", 192000, 0.8, 0.3, 0.8, 0.5, false, true, true, false},
        {"r44100_bypass", 44100, 0.5, 0.5, 0.5, 1.0, true, true, true, false},
        {"r8000_low_rate", 8000, 0.6, 0.7, 0.5, 1.0, false, true, true, false},
        {"r44100_hiss", 44100, 0.0, 0.5, 0.5, 1.0, false, false, true, true},
    };
    return scenarios;
}

std::vector<double> RunGoldenScenario(const GoldenScenario& s) {
    zl4 model;
    SetUp(model, s);
    std::vector<double> x = Input();
    double* p = x.data();
    for (int frames : kBlocks) {
        model.ProcessBlock(p, frames);
        p += frames;
    }
    return x;
}

std::vector<double> RunGoldenScenarioStereo(const GoldenScenario& s, KernelPath path) {
    zl4 left, right;
    SetUp(left, s);
    SetUp(right, s);
    std::vector<double> l = Input(), r = Input();
    size_t at = 0;
    for (int frames : kBlocks) {
        ProcessStereoBlock(left, right, l.data() + at, r.data() + at, frames, path);
        at += frames;
    }
    l.insert(l.end(), r.begin(), r.end());
    return l;
}

std::string GoldenPath(const std::string& directory, const GoldenScenario& s) {
    return directory + "/" + s.name + ".bin";
}

std::vector<double> ReadGolden(const std::string& path) {
    std::vector<double> data;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        double buffer[256];
        size_t n;
        while ((n = std::fread(buffer, sizeof(double), 256, f)) > 0) data.insert(data.end(), buffer, buffer + n);
        std::fclose(f);
    }
    return data;
}

GoldenDifference CompareToGolden(const std::vector<double>& output, const std::vector<double>& reference) {
    GoldenDifference d{0.0, 0.0, 0.0};
    for (double v : reference) d.peak = std::fmax(d.peak, std::fabs(v));
    for (size_t i = 0; i < output.size() && i < reference.size(); ++i) {
        const double difference = std::fabs(output[i] - reference[i]);
        d.largest = std::isnan(difference) ? HUGE_VAL : std::fmax(d.largest, difference);
    }
    d.ulps = d.largest / (std::nextafter(d.peak, 1.0) - d.peak);
    return d;
}
