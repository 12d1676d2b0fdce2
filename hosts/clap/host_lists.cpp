#include "host_lists.h"

#include <algorithm>
#include <cstring>

#include "clap_layout.h"

namespace tzclap {

namespace {
constexpr uint16_t kParamValue = 5, kGestureBegin = 7, kGestureEnd = 8;

template <class T>
T& Context(const void* record) {
    return *Get<T*>(record, 0);
}

// [audio thread, or main thread in flush]
uint32_t TZCLAP_CALL EventCount(const void* list) { return Context<InputEvents>(list).count; }
const void* TZCLAP_CALL EventAt(const void* list, uint32_t index) {
    const InputEvents& events = Context<InputEvents>(list);
    return index < events.count ? &events.storage[index * events.stride] : nullptr;
}

bool TZCLAP_CALL TryPush(const void* list, const void* event) {
    if (!event) return false;
    OutEvent out{Get<uint16_t>(event, 10), Get<uint32_t>(event, 4), 0, 0};
    if (Get<uint16_t>(event, 8) == 0 &&
        (out.type == kParamValue || out.type == kGestureBegin || out.type == kGestureEnd))
        out.id = Get<uint32_t>(event, 16);
    if (Get<uint16_t>(event, 8) == 0 && out.type == kParamValue) out.value = Get<double>(event, L.paramValue.value);
    Context<std::vector<OutEvent>>(list).push_back(out);
    return true;
}

// [main thread]
int64_t TZCLAP_CALL Read(const void* stream, void* buffer, uint64_t size) {
    InStream& in = Context<InStream>(stream);
    const size_t n = size_t(std::min<uint64_t>({size, in.chunk, in.bytes.size() - in.position}));
    if (n) std::memcpy(buffer, in.bytes.data() + in.position, n);
    in.position += n;
    return int64_t(n);
}
int64_t TZCLAP_CALL Write(const void* stream, const void* buffer, uint64_t size) {
    OutStream& out = Context<OutStream>(stream);
    const size_t n = size_t(std::min<uint64_t>(size, out.chunk));
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    out.bytes.insert(out.bytes.end(), bytes, bytes + n);
    return int64_t(n);
}

// A record of a context pointer and its function slots.
template <class... F>
void FillList(unsigned char* record, const void* context, F... functions) {
    Put(record, 0, context);
    size_t slot = 1;
    (Put(record, slot++ * L.P, functions), ...);
}
}  // namespace

InputEvents::InputEvents(const std::vector<ParamEvent>& events)
    : storage(), stride((L.paramValue.size + 7) / 8), count(uint32_t(events.size())) {
    storage.assign(stride * events.size(), 0);
    for (size_t k = 0; k < events.size(); ++k) {
        void* event = &storage[k * stride];
        Put(event, 0, uint32_t(L.paramValue.size));
        Put(event, 4, events[k].time);
        Put(event, 8, uint16_t{0});  // the core event space
        Put(event, 10, kParamValue);
        Put(event, 12, uint32_t{0});
        Put(event, 16, events[k].id);
        Put(event, L.paramValue.cookie, static_cast<void*>(nullptr));
        Put(event, L.paramValue.noteId, int32_t{-1});
        Put(event, L.paramValue.port, int16_t{-1});
        Put(event, L.paramValue.channel, int16_t{-1});
        Put(event, L.paramValue.key, int16_t{-1});
        Put(event, L.paramValue.value, events[k].value);
    }
    FillList(mRecord, this, &EventCount, &EventAt);
}

OutputEvents::OutputEvents(std::vector<OutEvent>* out) { FillList(mRecord, out, &TryPush); }

InStream::InStream(const std::vector<uint8_t>& data, size_t limit) : bytes(data), chunk(limit) {
    FillList(mRecord, this, &Read);
}

OutStream::OutStream(std::vector<uint8_t>* data, size_t limit) : bytes(*data), chunk(limit) {
    FillList(mRecord, this, &Write);
}

}  // namespace tzclap
