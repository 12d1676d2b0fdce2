#pragma once
// AAX_CChunkDataParser: a list of named, typed values written into the data area of a state
// chunk and read back. Data area: the word 0x01010101, then per value a two-character type code
// with the name and its NUL, zero padding to a multiple of 4, and the value big-endian.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "aax-library/aax_string.h"

// A state chunk as the host exchanges it; the data area follows at offset 56.
struct AAX_ChunkRecord {
    int32_t dataSize;
    int32_t version;
    uint8_t hostBytes[12];  // the host's; the library neither reads nor writes them
    uint32_t chunkId;
    char name[32];
};
static_assert(offsetof(AAX_ChunkRecord, chunkId) == 20 && sizeof(AAX_ChunkRecord) == 56, "chunk header");

inline uint8_t* ChunkData(AAX_ChunkRecord* chunk) { return reinterpret_cast<uint8_t*>(chunk) + 56; }
inline const uint8_t* ChunkData(const AAX_ChunkRecord* chunk) { return reinterpret_cast<const uint8_t*>(chunk) + 56; }

class AAX_CChunkDataParser {
public:
    enum Type : int32_t { kNone = 0, kFloat = 1, kInt32 = 2, kDouble = 3, kInt16 = 4, kText = 5 };

    AAX_CChunkDataParser() = default;
    virtual ~AAX_CChunkDataParser() = default;

    void Clear();
    void AddDouble(const char* name, double value);
    void AddInt32(const char* name, int32_t value);
    void AddText(const char* name, const char* text);
    int32_t ChunkSize() const;
    // Writes the data size and the data area; -333 (reported to the host's trace) when a value
    // would not fit.
    int32_t GetChunkData(AAX_ChunkRecord* chunk) const;
    // Writes the data area into `size` bytes.
    int32_t WriteData(uint8_t* data, int32_t size) const;
    // Reads the values of a chunk; reading stops at the first entry that does not fit in the
    // chunk's data size, keeping the values before it.
    void LoadChunk(const AAX_ChunkRecord* chunk);

    // A null name counts as the empty text. Each answers true only for a value of its type.
    bool FindDouble(const char* name, double& out);
    bool FindInt32(const char* name, int32_t& out);
    bool FindText(const char* name, AAX_IString& out);
    int32_t FindIndex(const char* name);

    int32_t Version() const { return mVersion; }

private:
    struct Record {
        Type type;
        AAX_CString name;
        uint64_t bits;  // the double, or the 32-bit (16-bit) integer or float bits
        AAX_CString text;
    };
    static uint32_t EntrySize(const Record& r);

    int32_t mCursor = -1;
    int32_t mVersion = -1;
    std::vector<Record> mRecords;
};
