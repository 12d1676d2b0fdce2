#pragma once
// What every render program shares: raw 64-bit sample files, number and name parsing, and the
// peak level of the report. The program's own host does the rest.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace render {

inline int Fail(const std::string& message) {
    std::fprintf(stderr, "render: %s\n", message.c_str());
    return 2;
}

// path as the program opens it (a Unix path through Wine's Z: drive).
inline bool ReadFile(const std::string& path, std::vector<double>* samples) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    double buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, sizeof(double), 4096, f)) > 0) samples->insert(samples->end(), buffer, buffer + n);
    std::fclose(f);
    return true;
}

inline bool WriteFile(const std::string& path, const std::vector<double>& samples) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(samples.data(), sizeof(double), samples.size(), f) == samples.size();
    return std::fclose(f) == 0 && ok;
}

inline bool ParseNumber(const std::string& text, double* value) {
    char* end = nullptr;
    *value = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == 0 && std::isfinite(*value);
}

inline std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

inline double PeakDb(const std::vector<double>& x) {
    double peak = 0;
    for (double v : x) peak = std::max(peak, std::fabs(v));
    return peak > 0 ? 20 * std::log10(peak) : -INFINITY;
}

}  // namespace render
