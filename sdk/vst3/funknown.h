// FUnknown, the base of every interface, with the 16-byte id type and reference helpers.
#pragma once

#include "sdk/vst3/basetypes.h"

#include <cstring>

namespace Sdk {

// A class or interface id. Built from four 32-bit words; on Windows the bytes follow the
// COM GUID layout (word 1 and both halves of word 2 little-endian, words 3 and 4 big-endian),
// elsewhere all four words are stored most significant byte first.
class FUID {
public:
    constexpr FUID() : data{} {}
    constexpr FUID(uint32 l1, uint32 l2, uint32 l3, uint32 l4) : data{} {
#ifdef _WIN32
        putLE(0, l1, 4);
        putLE(4, l2 >> 16, 2);
        putLE(6, l2 & 0xFFFF, 2);
#else
        putBE(0, l1);
        putBE(4, l2);
#endif
        putBE(8, l3);
        putBE(12, l4);
    }
    explicit FUID(const char8* uid) : data{} { std::memcpy(data, uid, sizeof(data)); }

    bool isValid() const {
        for (char8 c : data)
            if (c != 0) return true;
        return false;
    }
    void toTUID(TUID result) const { std::memcpy(result, data, sizeof(data)); }
    // Byte `index` (0..15) as stored, for compile-time checks of the layout.
    constexpr uint8 byteAt(int index) const { return static_cast<uint8>(data[index]); }
    // Lets an id stand where an interface method takes a TUID.
    operator const char8*() const { return data; }

    bool operator==(const FUID& other) const { return std::memcmp(data, other.data, sizeof(data)) == 0; }
    bool operator!=(const FUID& other) const { return !(*this == other); }

private:
    constexpr void putLE(int at, uint32 v, int count) {
        for (int i = 0; i < count; ++i) data[at + i] = static_cast<char8>((v >> (8 * i)) & 0xFF);
    }
    constexpr void putBE(int at, uint32 v) {
        for (int i = 0; i < 4; ++i) data[at + i] = static_cast<char8>((v >> (8 * (3 - i))) & 0xFF);
    }

    char8 data[16];
};

inline bool iidEqual(const void* a, const void* b) { return std::memcmp(a, b, 16) == 0; }

class FUnknown {
public:
    virtual tresult PLUGIN_API queryInterface(const TUID iid, void** obj) = 0;
    virtual uint32 PLUGIN_API addRef() = 0;
    virtual uint32 PLUGIN_API release() = 0;

    static constexpr FUID iid{0x00000000, 0x00000000, 0xC0000000, 0x00000046};
};

// A query that names no id or gives nowhere to put the answer: every queryInterface answers it
// kInvalidArgument and writes nothing.
inline bool badQuery(const TUID iid, void** obj) { return !iid || !obj; }

// Answers a query with `itf` when `iid` names interface I: adds a reference and stores the
// pointer already adjusted to that base.
template <class I>
inline bool tryInterface(const TUID iid, void** obj, I* itf) {
    if (badQuery(iid, obj) || !iidEqual(iid, I::iid)) return false;
    itf->addRef();
    *obj = itf;
    return true;
}

// Holds one reference on an interface.
template <class I>
class IPtr {
public:
    IPtr() = default;
    // addRef false adopts a reference the caller already owns.
    IPtr(I* p, bool addRef = true) : ptr(p) {
        if (ptr && addRef) ptr->addRef();
    }
    IPtr(const IPtr& other) : IPtr(other.ptr) {}
    IPtr(IPtr&& other) noexcept : ptr(other.ptr) { other.ptr = nullptr; }
    ~IPtr() { reset(); }
    IPtr& operator=(IPtr other) noexcept {
        I* old = ptr;
        ptr = other.ptr;
        other.ptr = old;
        return *this;
    }

    void reset() {
        if (ptr) ptr->release();
        ptr = nullptr;
    }
    I* get() const { return ptr; }
    I* operator->() const { return ptr; }
    explicit operator bool() const { return ptr != nullptr; }

private:
    I* ptr = nullptr;
};

// Queries interface I of an object; empty when the object is null or does not answer it.
template <class I>
class FUnknownPtr : public IPtr<I> {
public:
    explicit FUnknownPtr(FUnknown* unknown) : IPtr<I>(query(unknown), false) {}

private:
    static I* query(FUnknown* unknown) {
        void* obj = nullptr;
        if (unknown && unknown->queryInterface(I::iid, &obj) == kResultOk) return static_cast<I*>(obj);
        return nullptr;
    }
};

}  // namespace Sdk
