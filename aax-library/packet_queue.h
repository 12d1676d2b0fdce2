#pragma once
// AAXPacketQueue: turns parameter changes into data packets for the host's controller. Packets
// are registered under parameter IDs; MarkDirty flags them and Dispatch has their handlers fill
// them and posts them. Both run under the queue's OwnedMutex.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "aax-library/host_proxies.h"
#include "aax-library/owned_mutex.h"

struct AAXPacket {
    uint32_t id = 0;  // handed to the controller's SendPacket
    uint8_t dirty = 0;
    uint32_t size = 0;  // bytes of data to post
    std::vector<uint8_t> data;
};

// Fills a packet's data (and its size) for a parameter ID; 0 on success.
class AAXPacketHandler {
public:
    virtual ~AAXPacketHandler() = default;
    virtual int32_t operator()(const char* id, AAXPacket& packet) = 0;
};

class AAXPacketQueue {
public:
    AAXPacketQueue();
    AAXPacketQueue(const AAXPacketQueue&) = delete;
    AAXPacketQueue& operator=(const AAXPacketQueue&) = delete;

    // Not owned; may be null.
    void SetController(AAX_IController* controller) { mController = controller; }

    // Registers one more packet under an ID (several may share one); the queue owns the handler.
    void AddPacket(const char* id, uint32_t packetId, std::unique_ptr<AAXPacketHandler> handler);
    // Any thread: sets the dirty flag of every packet under exactly this ID; 0.
    int32_t MarkDirty(const char* id, bool dirty);
    // Any thread: posts every dirty packet whose handler succeeds, in ID order; the last post's
    // result (0 when nothing was posted).
    int32_t Dispatch();

    OwnedMutex* Mutex() const { return mMutex.get(); }

private:
    struct Entry {
        AAXPacket packet;
        std::unique_ptr<AAXPacketHandler> handler;
    };
    std::multimap<std::string, Entry> mTable;
    AAX_IController* mController = nullptr;
    std::unique_ptr<OwnedMutex> mMutex;
};
