#pragma once
// The description side: proxies over the host's plug-in definition (collection), effect and
// component descriptors, property maps and host services. Each forwards its operations to the
// host interface by slot number and answers a fixed code when the host did not offer it; the
// creating operations build further proxies that their creator owns.
#include <cstdint>
#include <memory>
#include <vector>

#include "aax-library/acf.h"
#include "aax-library/host_interface.h"

class AAX_IPropertyMap {
public:
    virtual ~AAX_IPropertyMap() = default;
    virtual bool ReadProperty(uint32_t id, int32_t* out) const = 0;
    virtual int32_t WriteProperty(uint32_t id, int32_t value) = 0;
    virtual int32_t ForwardSlot5() = 0;
    virtual int32_t ForwardSlot6() = 0;
    virtual bool ForwardSlot7() = 0;
};

class AAX_IComponentDescriptor {
public:
    virtual ~AAX_IComponentDescriptor() = default;
    virtual int32_t ForwardSlot3() = 0;
    virtual int32_t DeclareAudioInput(uint32_t field) = 0;
    virtual int32_t DeclareAudioOutput(uint32_t field) = 0;
    virtual int32_t DeclareFrameCountField(uint32_t field) = 0;
    virtual int32_t ForwardSlot8() = 0;
    virtual int32_t ForwardSlot9() = 0;
    virtual int32_t ForwardSlot10() = 0;
    virtual int32_t ForwardSlot11() = 0;
    virtual int32_t ForwardSlot12(uint32_t a, uint32_t b, const void* c) = 0;
    virtual int32_t DeclarePrivateData(uint32_t field, uint32_t size, uint32_t options) = 0;
    virtual int32_t ForwardSlot19() = 0;
    virtual int32_t ForwardSlot14() = 0;
    virtual int32_t DeclareMeterField(uint32_t field, const uint32_t* meterIds, uint32_t count) = 0;
    virtual int32_t DeclareMidiNode(uint32_t field, uint32_t nodeType, const char* name, uint32_t channelMask) = 0;
    virtual int32_t ForwardSlot4() = 0;
    virtual AAX_IPropertyMap* CreatePropertyMap() = 0;
    virtual AAX_IPropertyMap* CopyPropertyMap(const AAX_IPropertyMap& source) = 0;
    virtual int32_t DeclareProcessProcedure(void* procedure, const AAX_IPropertyMap* properties, void* a, void* b,
                                            void* c) = 0;
    virtual int32_t ForwardSlot17(uint32_t a, uint32_t b, const AAX_IPropertyMap* properties) = 0;
};

class AAX_IEffectDescriptor {
public:
    virtual ~AAX_IEffectDescriptor() = default;
    virtual AAX_IComponentDescriptor* CreateComponentDescriptor() = 0;
    virtual int32_t DeclareComponent(const AAX_IComponentDescriptor* component) = 0;
    virtual int32_t DeclareName(const char* name) = 0;
    virtual int32_t DeclareCategory(uint32_t category) = 0;
    virtual int32_t ForwardSlot6() = 0;
    virtual int32_t DeclareProcedure(void* procedure, uint32_t procedureId) = 0;
    virtual AAX_IPropertyMap* CreatePropertyMap() = 0;
    virtual int32_t ForwardSlot8(const AAX_IPropertyMap* properties, uint32_t a) = 0;
    virtual int32_t ForwardSlot9() = 0;
    virtual int32_t ForwardSlot10(uint32_t a, uint32_t b, const AAX_IPropertyMap* properties) = 0;
    virtual int32_t ForwardSlot11() = 0;
};

class AAX_ICollection {
public:
    virtual ~AAX_ICollection() = default;
    virtual AAX_IEffectDescriptor* CreateEffectDescriptor() = 0;
    virtual int32_t DeclareEffect(const char* effectId, const AAX_IEffectDescriptor* descriptor) = 0;
    virtual int32_t DeclareManufacturerName(const char* name) = 0;
    virtual int32_t DeclarePackageName(const char* name) = 0;
    virtual int32_t DeclarePackageVersion(uint32_t version) = 0;
    virtual AAX_IPropertyMap* CreatePropertyMap() = 0;
    virtual int32_t ForwardSlot11(const AAX_IPropertyMap* properties, uint32_t a) = 0;
};

class AAX_IHostServices {
public:
    virtual ~AAX_IHostServices() = default;
    virtual int32_t ForwardSlot3() = 0;
    virtual int32_t SendTrace(uint32_t priority, const char* text) = 0;
};

class AAX_VPropertyMap final : public AAX_IPropertyMap {
public:
    explicit AAX_VPropertyMap(IACFUnknown* host);
    bool ReadProperty(uint32_t id, int32_t* out) const override;
    int32_t WriteProperty(uint32_t id, int32_t value) override;
    int32_t ForwardSlot5() override;
    int32_t ForwardSlot6() override;
    bool ForwardSlot7() override;
    IACFUnknown* MapInterface() const { return mMap.Get(); }

private:
    HostRef mMap;
    HostRef mMap2;
};

// Owned children of a proxy, deleted with it.
template <class T>
using OwnedSet = std::vector<std::unique_ptr<T>>;

class AAX_VComponentDescriptor final : public AAX_IComponentDescriptor {
public:
    explicit AAX_VComponentDescriptor(IACFUnknown* host);
    ~AAX_VComponentDescriptor() override;
    int32_t ForwardSlot3() override;
    int32_t DeclareAudioInput(uint32_t field) override;
    int32_t DeclareAudioOutput(uint32_t field) override;
    int32_t DeclareFrameCountField(uint32_t field) override;
    int32_t ForwardSlot8() override;
    int32_t ForwardSlot9() override;
    int32_t ForwardSlot10() override;
    int32_t ForwardSlot11() override;
    int32_t ForwardSlot12(uint32_t a, uint32_t b, const void* c) override;
    int32_t DeclarePrivateData(uint32_t field, uint32_t size, uint32_t options) override;
    int32_t ForwardSlot19() override;
    int32_t ForwardSlot14() override;
    int32_t DeclareMeterField(uint32_t field, const uint32_t* meterIds, uint32_t count) override;
    int32_t DeclareMidiNode(uint32_t field, uint32_t nodeType, const char* name, uint32_t channelMask) override;
    int32_t ForwardSlot4() override;
    AAX_IPropertyMap* CreatePropertyMap() override;
    AAX_IPropertyMap* CopyPropertyMap(const AAX_IPropertyMap& source) override;
    int32_t DeclareProcessProcedure(void* procedure, const AAX_IPropertyMap* properties, void* a, void* b,
                                    void* c) override;
    int32_t ForwardSlot17(uint32_t a, uint32_t b, const AAX_IPropertyMap* properties) override;
    IACFUnknown* ComponentInterface() const { return mComponent.Get(); }

private:
    HostRef mHost;
    HostRef mComponent;
    HostRef mComponent2;
    OwnedSet<AAX_VPropertyMap> mMaps;
};

class AAX_VEffectDescriptor final : public AAX_IEffectDescriptor {
public:
    explicit AAX_VEffectDescriptor(IACFUnknown* host);
    ~AAX_VEffectDescriptor() override;
    AAX_IComponentDescriptor* CreateComponentDescriptor() override;
    int32_t DeclareComponent(const AAX_IComponentDescriptor* component) override;
    int32_t DeclareName(const char* name) override;
    int32_t DeclareCategory(uint32_t category) override;
    int32_t ForwardSlot6() override;
    int32_t DeclareProcedure(void* procedure, uint32_t procedureId) override;
    AAX_IPropertyMap* CreatePropertyMap() override;
    int32_t ForwardSlot8(const AAX_IPropertyMap* properties, uint32_t a) override;
    int32_t ForwardSlot9() override;
    int32_t ForwardSlot10(uint32_t a, uint32_t b, const AAX_IPropertyMap* properties) override;
    int32_t ForwardSlot11() override;
    IACFUnknown* DescriptorInterface() const { return mDescriptor.Get(); }

private:
    HostRef mHost;
    HostRef mDescriptor;
    HostRef mDescriptor2;
    OwnedSet<AAX_VComponentDescriptor> mComponents;
    OwnedSet<AAX_VPropertyMap> mMaps;
};

// Lives for one registration; destroying it destroys everything created through it.
class AAX_VCollection final : public AAX_ICollection {
public:
    explicit AAX_VCollection(IACFUnknown* host);
    ~AAX_VCollection() override;
    AAX_IEffectDescriptor* CreateEffectDescriptor() override;
    int32_t DeclareEffect(const char* effectId, const AAX_IEffectDescriptor* descriptor) override;
    int32_t DeclareManufacturerName(const char* name) override;
    int32_t DeclarePackageName(const char* name) override;
    int32_t DeclarePackageVersion(uint32_t version) override;
    AAX_IPropertyMap* CreatePropertyMap() override;
    int32_t ForwardSlot11(const AAX_IPropertyMap* properties, uint32_t a) override;
    // The host's plug-in definition, for the registration export.
    IACFUnknown* DefinitionInterface() const { return mDefinition.Get(); }

private:
    HostRef mHost;
    HostRef mDefinition;
    OwnedSet<AAX_VEffectDescriptor> mDescriptors;
    OwnedSet<AAX_VPropertyMap> mMaps;
};

class AAX_VHostServices final : public AAX_IHostServices {
public:
    explicit AAX_VHostServices(IACFUnknown* host);
    int32_t ForwardSlot3() override;
    int32_t SendTrace(uint32_t priority, const char* text) override;

private:
    HostRef mServices;
};

// The module-wide host-services object (set from startup to shutdown; null otherwise).
AAX_IHostServices* ModuleHostServices();
void SetModuleHostServices(AAX_IHostServices* services);
