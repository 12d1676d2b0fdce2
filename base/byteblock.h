#pragma once
// IByteBlock: the bytes of a saved state, appended in the machine's (little-endian) byte order.
// Readers take a position and return the position after what they read, or -1 when fewer bytes
// remain than asked for; -1 is the universal mark of a failed read.
#include <cstdint>

#include "base/growbuffer.h"

class IByteBlock {
public:
    int Size() const { return mBuffer.GetSize(); }
    const unsigned char* GetBytes() const { return static_cast<const unsigned char*>(mBuffer.Get()); }
    void Clear() { mBuffer.Resize(0, true); }

    // Appends n bytes; returns the new size, which is unchanged when the block could not grow.
    int Put(const void* bytes, int n);
    int PutInt32(int32_t v) { return Put(&v, 4); }
    int PutDouble(double v) { return Put(&v, 8); }
    int PutByte(uint8_t v) { return Put(&v, 1); }

    int Get(void* out, int n, int pos) const;
    int GetInt32(int32_t* v, int pos) const { return Get(v, 4, pos); }
    int GetDouble(double* v, int pos) const { return Get(v, 8, pos); }
    int GetByte(uint8_t* v, int pos) const { return Get(v, 1, pos); }

    int GetCapacity() const { return mBuffer.GetCapacity(); }

private:
    GrowBuffer mBuffer{4096};
};
