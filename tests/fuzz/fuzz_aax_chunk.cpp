// The AAX library's chunk-data parser on any data area a host hands in. Whatever it loads, it
// writes back, and that chunk loads and writes again. (Entries of unknown codes are written with
// an empty code, so a second round need not give the same bytes.)
#include <cstdint>
#include <cstring>
#include <vector>

#include "aax-library/chunk_parser.h"
#include "fuzz_check.h"

namespace {
// A chunk record followed by its data area, with the data size the host declares for it.
std::vector<uint8_t> Record(const uint8_t* data, size_t size, int32_t version) {
    std::vector<uint8_t> bytes(sizeof(AAX_ChunkRecord) + size);
    auto* chunk = reinterpret_cast<AAX_ChunkRecord*>(bytes.data());
    chunk->dataSize = static_cast<int32_t>(size);
    chunk->version = version;
    if (size) std::memcpy(ChunkData(chunk), data, size);
    return bytes;
}

std::vector<uint8_t> Written(const AAX_CChunkDataParser& parser) {
    std::vector<uint8_t> bytes(sizeof(AAX_ChunkRecord) + static_cast<size_t>(parser.ChunkSize()));
    FUZZ_CHECK(parser.GetChunkData(reinterpret_cast<AAX_ChunkRecord*>(bytes.data())) == 0);
    return bytes;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 65536) return 0;
    std::vector<uint8_t> in = Record(data, size, 7);
    AAX_CChunkDataParser parser;
    parser.LoadChunk(reinterpret_cast<const AAX_ChunkRecord*>(in.data()));
    const std::vector<uint8_t> first = Written(parser);
    AAX_CChunkDataParser again;
    again.LoadChunk(reinterpret_cast<const AAX_ChunkRecord*>(first.data()));
    Written(again);
    return 0;
}
