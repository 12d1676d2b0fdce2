#include "aax-library/packet_queue.h"

#include <algorithm>

AAXPacketQueue::AAXPacketQueue() : mMutex(OwnedMutex::Create()) {}

void AAXPacketQueue::AddPacket(const char* id, uint32_t packetId, std::unique_ptr<AAXPacketHandler> handler) {
    OwnedMutexGuard lock(mMutex.get());
    Entry entry;
    entry.packet.id = packetId;
    entry.handler = std::move(handler);
    mTable.emplace(id ? id : "", std::move(entry));
}

int32_t AAXPacketQueue::MarkDirty(const char* id, bool dirty) {
    OwnedMutexGuard lock(mMutex.get());
    auto range = mTable.equal_range(id ? id : "");
    for (auto it = range.first; it != range.second; ++it) it->second.packet.dirty = dirty;
    return 0;
}

// The buffer keeps at least the bytes the handler produced, so the post never reads past them.
int32_t AAXPacketQueue::Dispatch() {
    OwnedMutexGuard lock(mMutex.get());
    int32_t result = 0;
    for (auto& [id, entry] : mTable) {
        AAXPacket& packet = entry.packet;
        if (!packet.dirty) continue;
        if (entry.handler && (*entry.handler)(id.c_str(), packet) == 0) {
            const uint32_t noted = packet.size;
            packet.size = 8;
            packet.data.resize(std::max<size_t>(8, noted));
            result = mController ? mController->SendPacket(packet.id, packet.data.data(), noted) : kAAXNoHostInterface;
        }
        packet.dirty = 0;
    }
    return result;
}
