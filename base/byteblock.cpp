#include "base/byteblock.h"

#include <cstring>

int IByteBlock::Put(const void* bytes, int n) {
    const int oldSize = Size();
    if (n <= 0 || n > 0x7FFFFFFF - oldSize) return oldSize;
    mBuffer.Resize(oldSize + n, true);
    if (Size() != oldSize + n) return oldSize;
    std::memcpy(static_cast<char*>(mBuffer.Get()) + oldSize, bytes, static_cast<size_t>(n));
    return Size();
}

int IByteBlock::Get(void* out, int n, int pos) const {
    // Compared as "n > remaining" so that a huge position from chunk data cannot overflow.
    if (pos < 0 || n < 0 || n > Size() - pos) return -1;
    if (n > 0) std::memcpy(out, static_cast<const char*>(mBuffer.Get()) + pos, static_cast<size_t>(n));
    return pos + n;
}
