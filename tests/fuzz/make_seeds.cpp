// Writes the seed corpora of the state fuzz targets from states the plug-in itself saves: its
// defaults and a few settings a user might keep, bypassed and not.
// Usage: fuzz_make_seeds CORPUS_DIR (writes CORPUS_DIR/params/* and CORPUS_DIR/vst3_state/*).
#include <cstdio>
#include <string>

#include "host_doubles.h"

using namespace testhost;

namespace {
void Write(const std::string& path, char first, const std::vector<char>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fputc(first, f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string dir = argv[1];
    const std::vector<std::vector<double>> settings{
        {}, {0, 100, 0, 100, 0, 0, 100, 0}, {0, 37.5, 64, 12, 1, 0, 55, 1}, {1, 80, 25, 25, 1, 1, 0, 1}};
    int n = 0;
    for (const auto& values : settings) {
        Plugin p;
        for (size_t i = 0; i < values.size(); ++i) p.plug->GetParam(static_cast<int>(i))->SetValue(values[i]);
        p.plug->SetBypassed(n == 3);
        MemoryStream state;
        if (p.plug->getState(&state) != kResultOk) return 1;
        const std::string name = "saved" + std::to_string(n++);
        Write(dir + "/vst3_state/" + name, 0, state.data);
        // The parameter block alone, from position 0.
        Write(dir + "/params/" + name, 0, std::vector<char>(state.data.begin(), state.data.end() - 4));
    }
    return 0;
}
