#pragma once
// AAX_CEffectParameters: the object the host talks to for everything but audio. It owns the
// AAX parameters (through the registry), answers the host's per-parameter queries by ID text,
// keeps the host's controller, transport and automation proxies, offers the library's default
// state chunk 'elck' built from every parameter value, and forwards parameter packets.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "aax-library/acf_unknown.h"
#include "aax-library/chunk_parser.h"
#include "aax-library/host_proxies.h"
#include "aax-library/packet_queue.h"
#include "aax-library/parameter_registry.h"

constexpr uint32_t kAAXLibraryChunkId = ACFFourCC("elck");
constexpr uint32_t kAAXPreviewNotification = ACFFourCC("ASPv");

// The interfaces the host sees: the three root slots, then slots 3 to 48 in this order. No
// virtual destructor: the object goes away through Release.
class AAX_IACFEffectParameters : public IACFUnknown {
public:
    virtual int32_t ACF_CALL InitializeWithController(IACFUnknown* host) = 0;                         // 3
    virtual int32_t ACF_CALL Uninitialize() = 0;                                                      // 4
    virtual int32_t ACF_CALL HandleNotification(uint32_t type, const void* data, uint32_t size) = 0;  // 5
    virtual int32_t ACF_CALL ParameterCount(int32_t* out) const = 0;                                  // 6
    virtual int32_t ACF_CALL MasterBypassId(AAX_IString* out) const = 0;                              // 7
    virtual int32_t ACF_CALL IsParameterAutomatable(const char* id, bool* out) const = 0;             // 8
    virtual int32_t ACF_CALL ParameterStepCount(const char* id, int32_t* out) const = 0;              // 9
    virtual int32_t ACF_CALL ParameterName(const char* id, AAX_IString* out) const = 0;               // 10
    virtual int32_t ACF_CALL ParameterShortName(const char* id, AAX_IString* out, int32_t maxLength) const = 0;
    virtual int32_t ACF_CALL ParameterDefaultNormalized(const char* id, double* out) const = 0;  // 12
    virtual int32_t ACF_CALL SetParameterDefaultNormalized(const char* id, double value) = 0;    // 13
    virtual int32_t ACF_CALL ParameterType(const char* id, int32_t* out) const = 0;              // 14
    virtual int32_t ACF_CALL ParameterOrientation(const char* id, int32_t* out) const = 0;       // 15
    virtual int32_t ACF_CALL ParameterById(const char* id, AAX_IParameter** out) = 0;            // 16
    virtual int32_t ACF_CALL ParameterIndexById(const char* id, int32_t* out) const = 0;         // 17
    virtual int32_t ACF_CALL ParameterIdAtIndex(int32_t index, AAX_IString* out) const = 0;      // 18
    virtual int32_t ACF_CALL ParameterValueInfo(const char* id, int32_t selector, int32_t* out) const = 0;
    virtual int32_t ACF_CALL ValueFromString(const char* id, double* out, const AAX_IString* text) const = 0;
    virtual int32_t ACF_CALL StringFromValue(const char* id, double normalized, AAX_IString* out,
                                             int32_t maxLength) const = 0;  // 21
    virtual int32_t ACF_CALL ParameterValueString(const char* id, AAX_IString* out, int32_t maxLength) const = 0;
    virtual int32_t ACF_CALL ParameterNormalized(const char* id, double* out) const = 0;        // 23
    virtual int32_t ACF_CALL SetParameterNormalized(const char* id, double value) = 0;          // 24
    virtual int32_t ACF_CALL SetParameterNormalizedRelative(const char* id, double delta) = 0;  // 25
    virtual int32_t ACF_CALL TouchParameter(const char* id) = 0;                                // 26
    virtual int32_t ACF_CALL ReleaseParameter(const char* id) = 0;                              // 27
    virtual int32_t ACF_CALL Reserved28() = 0;                                                  // 28
    virtual int32_t ACF_CALL UpdateParameterFromHost(const char* id, double value, int32_t source) = 0;
    virtual int32_t ACF_CALL UpdateParameterRelative(const char* id, double delta) = 0;             // 30
    virtual int32_t ACF_CALL DispatchDirtyPackets() = 0;                                            // 31
    virtual int32_t ACF_CALL QueryCustomData(uint32_t dataId, void* out, uint32_t size) const = 0;  // 32
    virtual int32_t ACF_CALL ChunkCount(int32_t* out) const = 0;                                    // 33
    virtual int32_t ACF_CALL GetStateChunkId(int32_t index, uint32_t* out) const = 0;               // 34
    virtual int32_t ACF_CALL GetStateChunkSize(uint32_t chunkId, int32_t* out) = 0;                 // 35
    virtual int32_t ACF_CALL GetStateChunk(uint32_t chunkId, AAX_ChunkRecord* out) = 0;             // 36
    virtual int32_t ACF_CALL SetStateChunk(uint32_t chunkId, const AAX_ChunkRecord* chunk) = 0;     // 37
    virtual int32_t ACF_CALL CompareStateChunk(const AAX_ChunkRecord* chunk, bool* out) = 0;        // 38
    virtual int32_t ACF_CALL NumberOfChanges(int32_t* out) const = 0;                               // 39
    virtual int32_t ACF_CALL Reserved40() = 0;
    virtual int32_t ACF_CALL Reserved41() = 0;

protected:
    ~AAX_IACFEffectParameters() = default;
};

class AAX_IACFEffectParameters_V2 : public AAX_IACFEffectParameters {
public:
    virtual int32_t ACF_CALL Reserved42(void* a, void* b, void* c, int32_t* out) = 0;
    virtual int32_t ACF_CALL Reserved43() = 0;
    virtual int32_t ACF_CALL Reserved44() = 0;
    virtual int32_t ACF_CALL Reserved45() = 0;
    virtual int32_t ACF_CALL Reserved46() = 0;
    virtual int32_t ACF_CALL Reserved47() = 0;

protected:
    ~AAX_IACFEffectParameters_V2() = default;
};

class AAX_IEffectParameters : public AAX_IACFEffectParameters_V2 {
public:
    virtual int32_t ACF_CALL SetUpParameters() = 0;  // 48

protected:
    ~AAX_IEffectParameters() = default;
};

// Host threads. The packet queue locks itself, the default chunk's entries share one lock of
// their own (never the audio thread's), the change count is atomic. Every out pointer is
// checked: a null one answers -20002 and changes nothing.
class AAX_CEffectParameters : public AAX_IEffectParameters, public CACFUnknown {
public:
    AAX_CEffectParameters();
    ~AAX_CEffectParameters() override;

    // [any thread]
    ACFRESULT ACF_CALL QueryInterface(const acfUID& iid, void** out) override;
    uint32_t ACF_CALL AddRef() override;
    uint32_t ACF_CALL Release() override;
    ACFRESULT InternalQueryInterface(const acfUID& iid, void** out) override;

    // [main thread]
    int32_t ACF_CALL InitializeWithController(IACFUnknown* host) override;
    int32_t ACF_CALL Uninitialize() override;
    // [any thread] the host's queries and updates; the binding's overrides say where they lock
    int32_t ACF_CALL HandleNotification(uint32_t type, const void* data, uint32_t size) override;
    int32_t ACF_CALL ParameterCount(int32_t* out) const override;
    int32_t ACF_CALL MasterBypassId(AAX_IString* out) const override;
    int32_t ACF_CALL IsParameterAutomatable(const char* id, bool* out) const override;
    int32_t ACF_CALL ParameterStepCount(const char* id, int32_t* out) const override;
    int32_t ACF_CALL ParameterName(const char* id, AAX_IString* out) const override;
    int32_t ACF_CALL ParameterShortName(const char* id, AAX_IString* out, int32_t maxLength) const override;
    int32_t ACF_CALL ParameterDefaultNormalized(const char* id, double* out) const override;
    int32_t ACF_CALL SetParameterDefaultNormalized(const char* id, double value) override;
    int32_t ACF_CALL ParameterType(const char* id, int32_t* out) const override;
    int32_t ACF_CALL ParameterOrientation(const char* id, int32_t* out) const override;
    int32_t ACF_CALL ParameterById(const char* id, AAX_IParameter** out) override;
    int32_t ACF_CALL ParameterIndexById(const char* id, int32_t* out) const override;
    int32_t ACF_CALL ParameterIdAtIndex(int32_t index, AAX_IString* out) const override;
    int32_t ACF_CALL ParameterValueInfo(const char* id, int32_t selector, int32_t* out) const override;
    int32_t ACF_CALL ValueFromString(const char* id, double* out, const AAX_IString* text) const override;
    int32_t ACF_CALL StringFromValue(const char* id, double normalized, AAX_IString* out,
                                     int32_t maxLength) const override;
    int32_t ACF_CALL ParameterValueString(const char* id, AAX_IString* out, int32_t maxLength) const override;
    int32_t ACF_CALL ParameterNormalized(const char* id, double* out) const override;
    int32_t ACF_CALL SetParameterNormalized(const char* id, double value) override;
    int32_t ACF_CALL SetParameterNormalizedRelative(const char* id, double delta) override;
    int32_t ACF_CALL TouchParameter(const char* id) override;
    int32_t ACF_CALL ReleaseParameter(const char* id) override;
    int32_t ACF_CALL Reserved28() override { return 0; }
    int32_t ACF_CALL UpdateParameterFromHost(const char* id, double value, int32_t source) override;
    int32_t ACF_CALL UpdateParameterRelative(const char* id, double delta) override;
    int32_t ACF_CALL DispatchDirtyPackets() override;
    int32_t ACF_CALL QueryCustomData(uint32_t dataId, void* out, uint32_t size) const override;
    int32_t ACF_CALL ChunkCount(int32_t* out) const override;
    int32_t ACF_CALL GetStateChunkId(int32_t index, uint32_t* out) const override;
    int32_t ACF_CALL GetStateChunkSize(uint32_t chunkId, int32_t* out) override;
    int32_t ACF_CALL GetStateChunk(uint32_t chunkId, AAX_ChunkRecord* out) override;
    int32_t ACF_CALL SetStateChunk(uint32_t chunkId, const AAX_ChunkRecord* chunk) override;
    int32_t ACF_CALL CompareStateChunk(const AAX_ChunkRecord* chunk, bool* out) override;
    int32_t ACF_CALL NumberOfChanges(int32_t* out) const override;
    int32_t ACF_CALL Reserved40() override { return 0; }
    int32_t ACF_CALL Reserved41() override { return kAAXNotSupported; }
    int32_t ACF_CALL Reserved42(void* a, void* b, void* c, int32_t* out) override;
    int32_t ACF_CALL Reserved43() override { return 0; }
    int32_t ACF_CALL Reserved44() override { return 0; }
    int32_t ACF_CALL Reserved45() override { return kAAXNotSupported; }
    int32_t ACF_CALL Reserved46() override { return 0; }
    int32_t ACF_CALL Reserved47() override { return 0; }
    // [main thread] (from InitializeWithController)
    int32_t ACF_CALL SetUpParameters() override { return 0; }

    AAX_VController* Controller() const { return mController.get(); }

protected:
    // For the binding: registers a parameter (false when refused: the caller keeps it).
    bool AddParameter(AAX_IParameter* parameter) { return mRegistry.Add(parameter); }
    // Lock-free: the host's threads and the plug-in's count changes at once.
    void CountChange() { mChanges.fetch_add(1, std::memory_order_relaxed); }
    AAXPacketQueue& PacketQueue() { return mPackets; }

private:
    void SerializeAllParameters();
    bool Excluded(const AAX_IParameter* p) const { return mExcluded.count(p->Id()) != 0; }
    void DropProxies();

    std::atomic<uint32_t> mChanges{0};  // the host reads its low 31 bits
    std::mutex mChunkLock;              // the default chunk's entries share the parser, from any host thread
    int32_t mLastChunkSize = 0;
    AAX_CChunkDataParser mParser;
    AAXPacketQueue mPackets;
    AAXParameterRegistry mRegistry;
    std::set<std::string> mExcluded;
    std::unique_ptr<AAX_VController> mController;
    std::unique_ptr<AAX_VTransport> mTransport;
    std::unique_ptr<AAX_VAutomationDelegate> mAutomation;
};
