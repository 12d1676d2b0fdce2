#pragma once
// The host's event lists and state streams, each a record laid out for this target (a context
// pointer, then its function slots) over storage of its own. They live for one call.
#include <cstdint>
#include <vector>

#include "clap_host.h"

namespace tzclap {

// PARAM_VALUE events (plain values, core event space, no cookie, every note field a wildcard)
// built as this target's records, in the given order.
class InputEvents {
public:
    explicit InputEvents(const std::vector<ParamEvent>& events);
    InputEvents(const InputEvents&) = delete;
    InputEvents& operator=(const InputEvents&) = delete;
    const void* Record() const { return mRecord; }

    std::vector<uint64_t> storage;  // 8-byte aligned, one event every `stride` words
    size_t stride;
    uint32_t count;

private:
    alignas(8) unsigned char mRecord[3 * sizeof(void*)] = {};
};

// Copies what the plug-in pushes into `out`: value events with their plain value, gesture
// begin and end with their parameter, any other type with its type and time alone.
class OutputEvents {
public:
    explicit OutputEvents(std::vector<OutEvent>* out);
    const void* Record() const { return mRecord; }

private:
    alignas(8) unsigned char mRecord[2 * sizeof(void*)] = {};
};

// A stream moving at most `chunk` bytes a call: out of `bytes` from the start (0 at the end), or
// appended to them.
class InStream {
public:
    InStream(const std::vector<uint8_t>& bytes, size_t chunk);
    const void* Record() const { return mRecord; }

    const std::vector<uint8_t>& bytes;
    size_t chunk, position = 0;

private:
    alignas(8) unsigned char mRecord[2 * sizeof(void*)] = {};
};
class OutStream {
public:
    OutStream(std::vector<uint8_t>* bytes, size_t chunk);
    const void* Record() const { return mRecord; }

    std::vector<uint8_t>& bytes;
    size_t chunk;

private:
    alignas(8) unsigned char mRecord[2 * sizeof(void*)] = {};
};

}  // namespace tzclap
