// Writes the seed corpora of the chunk fuzz targets: the VST2 program and bank chunks the plug-in
// itself saves (defaults and a user setting), and an AAX data area the library's parser writes.
// Usage: fuzz_make_chunk_seeds CORPUS_DIR (writes CORPUS_DIR/vst2_chunk/* and CORPUS_DIR/aax_chunk/*).
#include <cstdio>
#include <string>

#include "effect/tavrelzel4.h"

extern "C" Vst2::AEffect* VST2_CALL VSTPluginMain(Vst2::audioMasterCallback audioMaster);
bool WriteAaxSeed(const char* path);  // make_aax_seed.cpp: the two libraries' headers do not mix

namespace {
intptr_t VST2_CALL Host(Vst2::AEffect*, int32_t, int32_t, intptr_t, void*, float) { return 0; }

void Write(const std::string& path, const void* prefix, size_t prefixSize, const void* bytes, size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fwrite(prefix, 1, prefixSize, f);
    std::fwrite(bytes, 1, size, f);
    std::fclose(f);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string dir = argv[1];
    Vst2::AEffect* e = VSTPluginMain(Host);
    e->dispatcher(e, Vst2::EffectOp::kOpen, 0, 0, nullptr, 0.0f);
    for (int setting = 0; setting < 2; ++setting) {
        if (setting == 1)
            for (int i = 0; i < e->numParams; ++i) e->setParameter(e, i, 0.1f * static_cast<float>(i + 1));
        for (unsigned char program : {1, 0}) {
            void* data = nullptr;
            const intptr_t size = e->dispatcher(e, Vst2::EffectOp::kGetChunk, program, 0, &data, 0.0f);
            if (size <= 0) return 1;
            const std::string name = std::string(program ? "program" : "bank") + std::to_string(setting);
            Write(dir + "/vst2_chunk/" + name, &program, 1, data, static_cast<size_t>(size));
        }
    }
    e->dispatcher(e, Vst2::EffectOp::kClose, 0, 0, nullptr, 0.0f);
    return WriteAaxSeed((dir + "/aax_chunk/values").c_str()) ? 0 : 1;
}
