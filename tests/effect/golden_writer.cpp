// Writes the golden outputs of the circuit model (raw little-endian doubles) into the given
// directory, over the files there, and says of each whether it changed and by how much.
// scripts/update-golden runs it from the native build when the sound changes on purpose.
#include "golden_scenarios.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    int changed = 0;
    for (const GoldenScenario& s : GoldenScenarios()) {
        const std::vector<double> y = RunGoldenScenario(s);
        const std::string path = GoldenPath(argv[1], s);
        const std::vector<double> before = ReadGolden(path);
        if (before.size() == y.size() && std::memcmp(before.data(), y.data(), y.size() * sizeof(double)) == 0) continue;
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f || std::fwrite(y.data(), sizeof(double), y.size(), f) != y.size() || std::fclose(f) != 0) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        ++changed;
        if (before.size() != y.size()) {
            std::printf("%-22s new (%zu samples, before %zu)\n", s.name, y.size(), before.size());
        } else {
            const GoldenDifference d = CompareToGolden(y, before);
            std::printf("%-22s changed: largest difference %.3g (%.2f ulp of the peak %.3f)\n", s.name, d.largest,
                        d.ulps, d.peak);
        }
    }
    std::printf("%d of %zu references changed\n", changed, GoldenScenarios().size());
    return 0;
}
