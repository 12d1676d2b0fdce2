#pragma once

#include "effect/stereo_block.h"

#include <string>
#include <vector>

// Fixed settings and a fixed input signal for the circuit model; their outputs, written once
// by the native build, are the reference every target must reproduce.
struct GoldenScenario {
    const char* name;
    int sampleRate;
    double distortion;
    double tone;
    double level;
    double mix;
    bool bypass;
    bool saturation;
    bool compensation;
    bool hiss;
};

const std::vector<GoldenScenario>& GoldenScenarios();

// Output of a freshly set-up model for the scenario's settings on the fixed input.
std::vector<double> RunGoldenScenario(const GoldenScenario& scenario);
// The same on a stereo kernel path, with the fixed input on both channels: left, then right.
std::vector<double> RunGoldenScenarioStereo(const GoldenScenario& scenario, KernelPath path);

std::string GoldenPath(const std::string& directory, const GoldenScenario& scenario);
// A reference file's samples (raw little-endian doubles); empty when it cannot be read.
std::vector<double> ReadGolden(const std::string& path);

// How far an output lies from a reference of the same length: the reference's peak magnitude
// and the largest difference, also in units in the last place of that peak.
struct GoldenDifference {
    double peak;
    double largest;
    double ulps;
};
GoldenDifference CompareToGolden(const std::vector<double>& output, const std::vector<double>& reference);
