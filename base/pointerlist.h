#pragma once
// PointerList<T>: an owning list of object pointers on a GrowBuffer of granularity 4096.
// Whoever empties or deletes the list deletes its elements, last entry first.
#include <cstring>

#include "base/growbuffer.h"

template <class T>
class PointerList {
public:
    PointerList() = default;
    ~PointerList() { DeleteAll(); }
    PointerList(const PointerList&) = delete;
    PointerList& operator=(const PointerList&) = delete;

    int GetSize() const { return mBuffer.GetSize() / static_cast<int>(sizeof(T*)); }
    T* Get(int i) const { return i >= 0 && i < GetSize() ? Items()[i] : nullptr; }

    // Appends; the element is dropped (and stays the caller's) when the list could not grow.
    bool Add(T* element) {
        const int count = GetSize();
        mBuffer.Resize((count + 1) * static_cast<int>(sizeof(T*)), false);
        if (GetSize() != count + 1) return false;
        Items()[count] = element;
        return true;
    }

    bool Insert(int index, T* element) {
        const int count = GetSize();
        mBuffer.Resize((count + 1) * static_cast<int>(sizeof(T*)), false);
        if (GetSize() != count + 1) return false;
        index = index < 0 ? 0 : (index > count ? count : index);
        std::memmove(Items() + index + 1, Items() + index, sizeof(T*) * static_cast<size_t>(count - index));
        Items()[index] = element;
        return true;
    }

    void DeleteAt(int index) {
        const int count = GetSize();
        if (index < 0 || index >= count) return;
        delete Items()[index];
        std::memmove(Items() + index, Items() + index + 1, sizeof(T*) * static_cast<size_t>(count - index - 1));
        mBuffer.Resize((count - 1) * static_cast<int>(sizeof(T*)), false);
    }

    void DeleteAll() {
        for (int i = GetSize() - 1; i >= 0; --i) {
            delete Items()[i];
            mBuffer.Resize(i * static_cast<int>(sizeof(T*)), false);
        }
        mBuffer.Resize(0, false);
    }

    // Releases the list's own memory (after DeleteAll).
    void Free() { mBuffer.Free(); }
    int GetCapacity() const { return mBuffer.GetCapacity(); }

private:
    T** Items() const { return static_cast<T**>(mBuffer.Get()); }
    GrowBuffer mBuffer{4096};
};
