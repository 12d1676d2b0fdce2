#pragma once
// Where each field of the format's records lies, in bytes, on each target the host is built for:
// x86-64 (Windows and Linux alike), 32-bit x86 Windows, and 32-bit x86 Linux (where 64-bit
// scalars inside a record align to 4, not 8). The host reads and writes every record through
// these offsets and calls every function pointer with the format's calling convention, so it
// never shares a declaration with the plug-in side.
#include <cstddef>
#include <cstdint>
#include <cstring>

// Every function pointer of the format: __cdecl on Windows (32-bit: caller cleans, undecorated).
#if defined(_WIN32)
#define TZCLAP_CALL __cdecl
#else
#define TZCLAP_CALL
#endif

namespace tzclap {

struct Layout {
    size_t P;  // pointer size; in a table of function pointers, slot n lies at n * P
    struct {
        size_t init, deinit, getFactory;  // after the version (3 x uint32)
    } entry;
    struct {
        size_t strings, features;  // the eight strings from id to description lie one pointer apart
    } descriptor;
    struct {
        size_t size, data, name, vendor, url, version, getExtension, requestRestart, requestProcess, requestCallback;
    } host;
    struct {
        size_t size, transport, inputs, outputs, inputCount, outputCount, inEvents, outEvents;
    } process;  // steady_time at 0, frames_count at 8
    struct {
        size_t size, data64, channels, latency, constantMask;
    } buffer;  // data32 at 0
    struct {
        size_t size, cookie, noteId, port, channel, key, value;
    } paramValue;  // the 16-byte header, param_id at 16
    struct {
        size_t size, name, module, min, max, def;
    } paramInfo;  // id at 0, flags at 4, cookie at 8
    struct {
        size_t size, flags, channels, type, inPlacePair;
    } portInfo;  // id at 0, name at 4
    struct {
        size_t size, inType, hasOut, outChannels, outType;
    } portsConfig;  // id at 0, name at 4, port counts at 260 and 264, the main input at 268 and 272
};

constexpr Layout kX86_64{8,
                         {16, 24, 32},
                         {16, 80},
                         {88, 16, 24, 32, 40, 48, 56, 64, 72, 80},
                         {64, 16, 24, 32, 40, 44, 48, 56},
                         {32, 8, 16, 20, 24},
                         {56, 24, 32, 36, 38, 40, 48},
                         {1320, 16, 272, 1296, 1304, 1312},
                         {288, 260, 264, 272, 280},
                         {304, 280, 288, 292, 296}};
constexpr Layout kX86Windows{4,
                             {12, 16, 20},
                             {12, 44},
                             {48, 12, 16, 20, 24, 28, 32, 36, 40, 44},
                             {40, 12, 16, 20, 24, 28, 32, 36},
                             {24, 4, 8, 12, 16},
                             {48, 20, 24, 28, 30, 32, 40},
                             {1320, 12, 268, 1296, 1304, 1312},
                             {276, 260, 264, 268, 272},
                             {292, 276, 280, 284, 288}};
// 32-bit x86 Linux: as Windows, but doubles inside records align to 4.
constexpr Layout X86Linux() {
    Layout layout = kX86Windows;
    layout.paramValue.size = 44;
    layout.paramValue.value = 36;
    layout.paramInfo = {1316, 12, 268, 1292, 1300, 1308};
    return layout;
}
constexpr Layout kX86Linux = X86Linux();

#if defined(__x86_64__) || defined(_M_X64)
inline constexpr const Layout& L = kX86_64;
#elif defined(_WIN32)
inline constexpr const Layout& L = kX86Windows;
#else
inline constexpr const Layout& L = kX86Linux;
#endif

// The table picked must be this target's: its pointer size, and the padding before a double
// that follows an int16_t in a record (6 where 64-bit scalars align to 8, 2 on 32-bit x86 Linux).
struct DoubleAfterShort {
    int16_t key;
    double value;
};
static_assert(L.P == sizeof(void*), "the layout table is not this target's");
static_assert(L.paramValue.value - L.paramValue.key == offsetof(DoubleAfterShort, value),
              "the layout table's 64-bit alignment is not this target's");

// A field of a record, copied out or in (records need not be aligned for the field's type).
template <class T>
T Get(const void* record, size_t offset) {
    T value;
    std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof value);
    return value;
}
template <class T>
void Put(void* record, size_t offset, T value) {
    std::memcpy(static_cast<unsigned char*>(record) + offset, &value, sizeof value);
}

// Calls the function pointer at that offset of a record; R() when the record or the pointer is
// null. The argument types must be the function's own.
template <class R, class... A>
R CallAt(const void* record, size_t offset, A... args) {
    using Function = R(TZCLAP_CALL*)(A...);
    Function function = record ? Get<Function>(record, offset) : nullptr;
    if (!function) return R();
    return function(args...);
}
// The same for slot n of a function table.
template <class R, class... A>
R CallSlot(const void* table, size_t slot, A... args) {
    return CallAt<R>(table, slot * L.P, args...);
}

}  // namespace tzclap
