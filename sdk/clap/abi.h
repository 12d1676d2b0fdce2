#pragma once
// The plug-in format's binary ground rules: the calling convention of every function pointer,
// ids, string capacities, the version record, and the helpers that pin each record's layout per
// target (x86-64 Windows and Linux share one layout; 32-bit x86 Windows and Linux differ in the
// alignment of 64-bit scalars), so a layout slip fails the build instead of a host.
#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define CLAP_CALL __cdecl
#else
#define CLAP_CALL
#endif

namespace Clap {

using Id = uint32_t;
constexpr Id kInvalidId = UINT32_MAX;

// String capacities in bytes, the terminating NUL included. Strings are UTF-8.
constexpr uint32_t kNameSize = 256;
constexpr uint32_t kPathSize = 1024;

struct Version {
    uint32_t major;
    uint32_t minor;
    uint32_t revision;
};

// The version these declarations describe.
constexpr Version kVersion{1, 2, 10};

// Versions 0.x were pre-releases; every 1.x and later talks to every other.
constexpr bool isCompatible(Version v) { return v.major >= 1; }

// Fixed-point musical and clock times: value = round(beats or seconds * 2^31).
using BeatTime = int64_t;
using SecTime = int64_t;
constexpr int64_t kBeatTimeFactor = int64_t{1} << 31;
constexpr int64_t kSecTimeFactor = int64_t{1} << 31;

namespace Layout {
constexpr size_t P = sizeof(void*);
#if defined(_WIN32)
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif
// The expected value on this target: x86-64, 32-bit x86 Windows, 32-bit x86 Linux.
constexpr size_t pick(size_t x64, size_t win32, size_t linux32) { return P == 8 ? x64 : kWindows ? win32 : linux32; }
}  // namespace Layout

}  // namespace Clap

#define CLAP_AT(T, field, x64, win32, linux32) \
    static_assert(offsetof(T, field) == ::Clap::Layout::pick(x64, win32, linux32), #T "::" #field " offset")
#define CLAP_SIZE(T, x64, win32, linux32, alignX64, alignWin32, alignLinux32)                 \
    static_assert(sizeof(T) == ::Clap::Layout::pick(x64, win32, linux32) &&                   \
                      alignof(T) == ::Clap::Layout::pick(alignX64, alignWin32, alignLinux32), \
                  #T " size and alignment")
// A record of pointers only: `slots` pointers wide, each named field at its slot.
#define CLAP_TABLE(T, slots) \
    static_assert(sizeof(T) == (slots) * ::Clap::Layout::P && alignof(T) == ::Clap::Layout::P, #T " size")
#define CLAP_SLOT(T, field, slot) \
    static_assert(offsetof(T, field) == (slot) * ::Clap::Layout::P, #T "::" #field " slot")

CLAP_SIZE(Clap::Version, 12, 12, 12, 4, 4, 4);
CLAP_AT(Clap::Version, minor, 4, 4, 4);
CLAP_AT(Clap::Version, revision, 8, 8, 8);
