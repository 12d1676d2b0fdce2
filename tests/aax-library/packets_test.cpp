// The parameter registry, the owned mutex on two threads, and packet dispatch.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "aax-library/packet_queue.h"
#include "aax-library/parameter_registry.h"
#include "aax_host.h"

namespace {

AAX_IParameter* Param(const char* id) {
    return new AAX_CParameter<bool>(id, AAX_CString("p"), false, AAX_CBinaryTaperDelegate<bool>(),
                                    AAX_CBinaryDisplayDelegate<bool>("off", "on"), true);
}

TEST(Registry, FirstOfEachIdIsKept) {
    AAXParameterRegistry registry;
    AAX_IParameter* second = Param("10");
    EXPECT_TRUE(registry.Add(Param("2")));
    EXPECT_TRUE(registry.Add(Param("10")));
    EXPECT_FALSE(registry.Add(second));
    EXPECT_FALSE(registry.Add(nullptr));
    second->DeleteThis(1);
    EXPECT_EQ(2, registry.Count());
    EXPECT_EQ(1, registry.IndexOfId("10"));
    EXPECT_STREQ("2", registry.At(0)->Id());
    EXPECT_EQ(-1, registry.IndexOfId(nullptr));
    EXPECT_EQ(nullptr, registry.FindById(nullptr));
    EXPECT_EQ(nullptr, registry.FindById("1"));
}

TEST(OwnedMutex, OwnerReentersAndOnlyTheOutermostReleaseFrees) {
    std::unique_ptr<OwnedMutex> mutex = OwnedMutex::Create();
    ASSERT_TRUE(mutex);
    std::atomic<bool> started{false}, acquired{false};
    std::thread other;
    {
        OwnedMutexGuard outer(mutex.get());
        { OwnedMutexGuard nested(mutex.get()); }  // no wait, and releases nothing
        EXPECT_EQ(OwnedMutex::CurrentThread(), mutex->Owner());
        other = std::thread([&] {
            started = true;
            OwnedMutexGuard guard(mutex.get());
            acquired = true;
        });
        while (!started) std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(acquired);
    }
    other.join();
    EXPECT_TRUE(acquired);
    EXPECT_EQ(0u, mutex->Owner());
}

// Fills 12 bytes and marks its own ID again from inside the dispatch.
struct TwelveBytes : AAXPacketHandler {
    explicit TwelveBytes(AAXPacketQueue* owner) : queue(owner) {}
    int32_t operator()(const char* id, AAXPacket& packet) override {
        queue->MarkDirty(id, true);
        packet.data.assign(12, 7);
        packet.size = 12;
        return 0;
    }
    AAXPacketQueue* queue;
};

TEST(PacketQueue, DispatchPostsWhatTheHandlerWrote) {
    aaxhost::Host host;
    AAX_VController controller(reinterpret_cast<IACFUnknown*>(host.InstanceUnknown({aaxhost::id::kController})));
    AAXPacketQueue queue;
    queue.SetController(&controller);
    EXPECT_EQ(0, queue.Dispatch());
    queue.AddPacket("1", 5, std::make_unique<TwelveBytes>(&queue));
    queue.MarkDirty("1", true);
    EXPECT_EQ(0, queue.Dispatch());
    EXPECT_EQ(0, queue.Dispatch());  // the flag is cleared after the handler ran
    EXPECT_EQ((std::vector<std::string>{"controller.SendPacket(5,12,7 7 7 7 7 7 7 7 7 7 7 7 )"}),
              host.Operations("controller."));
}

}  // namespace
