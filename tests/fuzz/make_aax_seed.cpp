// The AAX seed of fuzz_make_chunk_seeds: a data area the library's parser writes.
#include <cstdio>
#include <vector>

#include "aax-library/chunk_parser.h"

bool WriteAaxSeed(const char* path) {
    AAX_CChunkDataParser parser;
    parser.AddDouble("Dist. Amount", 37.5);
    parser.AddInt32("bypass", 1);
    parser.AddText("preset", "user preset 1");
    std::vector<uint8_t> record(sizeof(AAX_ChunkRecord) + static_cast<size_t>(parser.ChunkSize()));
    auto* chunk = reinterpret_cast<AAX_ChunkRecord*>(record.data());
    FILE* f = parser.GetChunkData(chunk) == 0 ? std::fopen(path, "wb") : nullptr;
    if (!f) return false;
    std::fwrite(ChunkData(chunk), 1, static_cast<size_t>(chunk->dataSize), f);
    return std::fclose(f) == 0;
}
