#pragma once
// The host component framework's basic vocabulary: calling convention, result codes, 16-byte
// interface ids and the root interface every host-visible object starts with.
#include <cstdint>

// Methods of host-visible interfaces: __stdcall on 32-bit Windows, the platform default elsewhere.
#if defined(_WIN32) && !defined(_WIN64)
#define ACF_CALL __stdcall
#else
#define ACF_CALL
#endif

using ACFRESULT = int32_t;

// Deleter for objects of the slot-numbered C++ interfaces (strings, parameters, delegates): they
// are destroyed through their slot 0, DeleteThis, which works whichever module made them.
struct SlotDelete {
    template <class T>
    void operator()(T* object) const {
        object->DeleteThis(1);
    }
};

// Framework results.
constexpr ACFRESULT kACFOk = 0;
constexpr ACFRESULT kACFNoInterface = int32_t(0x80000004);    // QueryInterface: id not supported
constexpr ACFRESULT kACFNullInterface = int32_t(0x80000005);  // a host query succeeded with a null pointer
constexpr ACFRESULT kACFUnexpected = int32_t(0x8000FFFF);     // an exception was caught at an export

// Library results, 0 = success.
constexpr int32_t kAAXOk = 0;
constexpr int32_t kAAXUnknownParameter = -20001;  // no parameter with this id or index
constexpr int32_t kAAXNullOut = -20002;           // null out pointer, or a refused text conversion
constexpr int32_t kAAXNoHostInterface = -20004;   // the host did not offer the interface
constexpr int32_t kAAXBadChunkIndex = -20006;
constexpr int32_t kAAXBadChunkId = -20007;
constexpr int32_t kAAXBadChunkSize = -20008;
constexpr int32_t kAAXNotSupported = -20009;  // also: a proxy's second host interface is absent
constexpr int32_t kAAXNoController = -20011;
constexpr int32_t kAAXNegativeStepCount = -20033;
constexpr int32_t kAAXChunkOverflow = -333;

// Interface and class id: Data1, Data2 and Data3 little-endian in memory, then eight bytes.
struct acfUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
static_assert(sizeof(acfUID) == 16, "ids are 16 bytes");

// Field by field: Data1, Data2, Data3, then Data4 as two 32-bit words.
bool operator==(const acfUID& a, const acfUID& b);
inline bool operator!=(const acfUID& a, const acfUID& b) { return !(a == b); }

// Four-character codes: the first character in the most significant byte.
constexpr uint32_t ACFFourCC(const char (&c)[5]) {
    return uint32_t(uint8_t(c[0])) << 24 | uint32_t(uint8_t(c[1])) << 16 | uint32_t(uint8_t(c[2])) << 8 |
           uint32_t(uint8_t(c[3]));
}

// The root interface: slots 0 to 2. No virtual destructor: objects go away through Release.
class IACFUnknown {
public:
    virtual ACFRESULT ACF_CALL QueryInterface(const acfUID& iid, void** out) = 0;
    virtual uint32_t ACF_CALL AddRef() = 0;
    virtual uint32_t ACF_CALL Release() = 0;

protected:
    ~IACFUnknown() = default;
};

// Ids the library uses.
extern const acfUID kIID_ACFUnknown;
extern const acfUID kIID_ComponentFactory;
extern const acfUID kCLSID_PluginDefinition;
extern const acfUID kIID_PluginDefinition;
extern const acfUID kIID_PluginDefinitionExport;
extern const acfUID kCLSID_HostServices;
extern const acfUID kIID_HostServices;
extern const acfUID kIID_EffectParameters;
extern const acfUID kIID_EffectParametersV2;
extern const acfUID kIID_EffectGUI;
