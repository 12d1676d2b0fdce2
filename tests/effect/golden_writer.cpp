// Writes the golden outputs of the circuit model (raw little-endian doubles) into the given
// directory. Run once from the native build when the model's sound changes on purpose.
#include "golden_scenarios.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    for (const GoldenScenario& s : GoldenScenarios()) {
        const std::vector<double> y = RunGoldenScenario(s);
        const std::string path = GoldenPath(argv[1], s);
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f || std::fwrite(y.data(), sizeof(double), y.size(), f) != y.size()) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::fclose(f);
    }
    return 0;
}
