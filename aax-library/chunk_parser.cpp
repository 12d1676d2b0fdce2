#include "aax-library/chunk_parser.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "aax-library/description.h"

namespace {

constexpr uint32_t kMagic = 0x01010101;
constexpr uint32_t kTracePriority = 0x08000000;

uint32_t RoundUp4(uint32_t n) { return (n + 3) & ~3u; }

uint32_t ValueSize(int32_t type, uint32_t textLength) {
    switch (type) {
        case AAX_CChunkDataParser::kFloat:
        case AAX_CChunkDataParser::kInt32:
        case AAX_CChunkDataParser::kInt16: return 4;
        case AAX_CChunkDataParser::kDouble: return 8;
        case AAX_CChunkDataParser::kText: return RoundUp4(textLength + 1);
        default: return 0;
    }
}

uint64_t ReadBigEndian(const uint8_t* p, int bytes) {
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v = v << 8 | p[i];
    return v;
}

void WriteBigEndian(uint8_t* p, uint64_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i, v >>= 8) p[i] = uint8_t(v);
}

// Every code is two bytes; type 0 (an entry of an unknown code kept from a loaded chunk) is
// written as two zero bytes.
const char* Code(int32_t type) {
    static const char* const kCodes[] = {"\0", "f_", "l_", "d_", "s_", "r_"};
    return kCodes[type >= 1 && type <= 5 ? type : 0];
}

// Index of the first NUL in [from, end), or end.
uint32_t FindNul(const uint8_t* data, uint32_t from, uint32_t end) {
    const void* nul = std::memchr(data + from, 0, end - from);
    return nul ? uint32_t(static_cast<const uint8_t*>(nul) - data) : end;
}

}  // namespace

void AAX_CChunkDataParser::Clear() {
    mRecords.clear();
    mCursor = -1;
    mVersion = -1;
}

void AAX_CChunkDataParser::AddDouble(const char* name, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    mRecords.push_back({kDouble, AAX_CString(name), bits, AAX_CString()});
}

void AAX_CChunkDataParser::AddInt32(const char* name, int32_t value) {
    mRecords.push_back({kInt32, AAX_CString(name), uint32_t(value), AAX_CString()});
}

void AAX_CChunkDataParser::AddText(const char* name, const char* text) {
    mRecords.push_back({kText, AAX_CString(name), 0, AAX_CString(text)});
}

uint32_t AAX_CChunkDataParser::EntrySize(const Record& r) {
    return RoundUp4(2 + r.name.Length() + 1) + ValueSize(r.type, r.text.Length());
}

int32_t AAX_CChunkDataParser::ChunkSize() const {
    uint32_t size = 4;
    for (const Record& r : mRecords) size += EntrySize(r);
    return int32_t(size);
}

int32_t AAX_CChunkDataParser::GetChunkData(AAX_ChunkRecord* chunk) const {
    const int32_t size = ChunkSize();
    chunk->dataSize = size;
    if (size < 1) return size;
    return WriteData(ChunkData(chunk), size);
}

// Each entry is checked against its exact padded size before anything of it is written.
int32_t AAX_CChunkDataParser::WriteData(uint8_t* data, int32_t size) const {
    if (size < 4) return kAAXChunkOverflow;
    std::memset(data, 0, size_t(size));
    WriteBigEndian(data, kMagic, 4);
    uint32_t position = 4;
    for (const Record& r : mRecords) {
        if (uint64_t(position) + EntrySize(r) > uint64_t(size)) {
            if (AAX_IHostServices* services = ModuleHostServices()) {
                char text[512];
                std::snprintf(text, sizeof text, "AAX_CChunkDataParser::GetChunkData ERROR: %s",
                              "aborting: chunk data will overflow buffer");
                services->SendTrace(kTracePriority, text);
            }
            return kAAXChunkOverflow;
        }
        std::memcpy(data + position, Code(r.type), 2);
        std::memcpy(data + position + 2, r.name.Text(), r.name.Length() + 1);
        position = RoundUp4(position + 2 + r.name.Length() + 1);
        switch (r.type) {
            case kFloat:
            case kInt32: WriteBigEndian(data + position, r.bits, 4); break;
            case kDouble: WriteBigEndian(data + position, r.bits, 8); break;
            case kInt16: WriteBigEndian(data + position, r.bits, 2); break;
            case kText: std::memcpy(data + position, r.text.Text(), r.text.Length() + 1); break;
            default: break;
        }
        position += ValueSize(r.type, r.text.Length());
    }
    return 0;
}

void AAX_CChunkDataParser::LoadChunk(const AAX_ChunkRecord* chunk) {
    Clear();
    if (!chunk) return;
    mVersion = chunk->version;
    const uint8_t* data = ChunkData(chunk);
    if (chunk->dataSize < 5 || ReadBigEndian(data, 4) != kMagic) return;
    const uint32_t size = uint32_t(chunk->dataSize);
    uint32_t position = 4;
    while (position < size) {
        const uint32_t limit = position + std::min<uint32_t>(size - position, 255);
        const uint32_t nul = FindNul(data, position, limit);
        if (nul == limit) return;  // no terminated code and name within the data
        const char* code = reinterpret_cast<const char*>(data + position);
        const uint32_t codeLength = nul - position;
        Record r{kNone, AAX_CString(codeLength >= 2 ? code + 2 : ""), 0, AAX_CString()};
        uint32_t value = RoundUp4(nul + 1), next = value;
        auto fits = [&](uint32_t bytes) { return uint64_t(value) + bytes <= size; };
        switch (codeLength ? code[0] : '\0') {
            case 'd':
                if (!fits(8)) return;
                r.type = kDouble, r.bits = ReadBigEndian(data + value, 8), next = value + 8;
                break;
            case 'f':
            case 'l':
                if (!fits(4)) return;
                r.type = code[0] == 'f' ? kFloat : kInt32, r.bits = ReadBigEndian(data + value, 4), next = value + 4;
                break;
            case 's':
                if (!fits(2)) return;
                r.type = kInt16, r.bits = ReadBigEndian(data + value, 2), next = value + 4;
                break;
            case 'r': {
                if (value >= size) return;
                const uint32_t end = FindNul(data, value, size);
                if (end == size) return;
                r.type = kText, r.text.Set(reinterpret_cast<const char*>(data + value)), next = RoundUp4(end + 1);
                break;
            }
            default: break;
        }
        mRecords.push_back(r);
        position = next;
    }
}

int32_t AAX_CChunkDataParser::FindIndex(const char* name) {
    const AAX_CString wanted(name);
    const int32_t count = int32_t(mRecords.size());
    const int32_t start = mCursor + 1 >= count ? 0 : mCursor + 1;
    auto matches = [&](int32_t i) { return mRecords[size_t(i)].name.Equals(wanted); };
    for (int32_t i = start; i < count; ++i)
        if (matches(i)) return mCursor = i;
    for (int32_t i = 0; i < start && i < count; ++i)
        if (matches(i)) return mCursor = i;
    return -1;
}

bool AAX_CChunkDataParser::FindDouble(const char* name, double& out) {
    const int32_t i = FindIndex(name);
    if (i < 0 || mRecords[size_t(i)].type != kDouble) return false;
    std::memcpy(&out, &mRecords[size_t(i)].bits, 8);
    return true;
}

bool AAX_CChunkDataParser::FindInt32(const char* name, int32_t& out) {
    const int32_t i = FindIndex(name);
    if (i < 0 || mRecords[size_t(i)].type != kInt32) return false;
    out = int32_t(uint32_t(mRecords[size_t(i)].bits));
    return true;
}

bool AAX_CChunkDataParser::FindText(const char* name, AAX_IString& out) {
    const int32_t i = FindIndex(name);
    if (i < 0 || mRecords[size_t(i)].type != kText) return false;
    HostStringSet(out, mRecords[size_t(i)].text.Text());
    return true;
}
