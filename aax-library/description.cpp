#include "aax-library/description.h"

namespace {

const acfUID kCLSID_EffectDescriptor = {0x89872C2D, 0x75BC, 0x423F, {0x40, 0x1B, 0xF9, 0xA1, 0xBA, 0xAD, 0x0C, 0xCA}};
const acfUID kIID_EffectDescriptor = {0x96D42C2D, 0xEBBC, 0x41EF, {0xD1, 0xCB, 0x49, 0x94, 0x42, 0xE4, 0x0F, 0xDA}};
const acfUID kIID_EffectDescriptor2 = {0x41ECCC52, 0x416B, 0x4072, {0x84, 0xBD, 0x40, 0xB0, 0x52, 0x10, 0xA7, 0x4C}};
const acfUID kCLSID_ComponentDescriptor = {
    0x94872C3D, 0x95BC, 0x413D, {0xD0, 0xDB, 0xD9, 0xB1, 0x2A, 0xAD, 0x0C, 0xCA}};
const acfUID kIID_ComponentDescriptor = {0x96E42C2D, 0xE2BC, 0x51EF, {0x61, 0xC7, 0x48, 0x99, 0x4A, 0xEB, 0x0C, 0xDA}};
const acfUID kIID_ComponentDescriptor2 = {0x1895259E, 0xAAA9, 0x4F0F, {0xA9, 0x85, 0x14, 0x98, 0x37, 0xB7, 0x6F, 0x89}};
const acfUID kCLSID_PropertyMap = {0xA587AD3D, 0xD53C, 0x4ADC, {0xD0, 0xDD, 0xD9, 0xD1, 0x2D, 0xDD, 0xDC, 0xDA}};
const acfUID kIID_PropertyMap = {0x96EE2C2D, 0xEECC, 0x5EFF, {0xE2, 0xD7, 0xE8, 0x49, 0xE3, 0xE2, 0xEE, 0xEE}};
const acfUID kIID_PropertyMap2 = {0x7177DF80, 0x7C9C, 0x11E2, {0xB9, 0x2A, 0x08, 0x00, 0x20, 0x0C, 0x9A, 0x66}};

// Proxies handed to another proxy travel as their first host interface.
IACFUnknown* MapOf(const AAX_IPropertyMap* map) {
    auto* proxy = dynamic_cast<const AAX_VPropertyMap*>(map);
    return proxy ? proxy->MapInterface() : nullptr;
}

template <class T>
T* Keep(OwnedSet<T>& set, T* created) {
    set.emplace_back(created);
    return created;
}

void Hold(HostRef& ref, IACFUnknown* host) {
    if (!host) return;
    HostAddRef(host);
    *ref.Slot() = host;
}

AAX_IHostServices* gHostServices = nullptr;

}  // namespace

AAX_IHostServices* ModuleHostServices() { return gHostServices; }
void SetModuleHostServices(AAX_IHostServices* services) { gHostServices = services; }

// ---- property map

AAX_VPropertyMap::AAX_VPropertyMap(IACFUnknown* host) {
    CreateHostObject(host, kCLSID_PropertyMap, kIID_PropertyMap, &kIID_PropertyMap2, mMap, &mMap2);
}
bool AAX_VPropertyMap::ReadProperty(uint32_t id, int32_t* out) const {
    return mMap ? HostCall<bool>(mMap.Get(), 3, id, out) : false;
}
int32_t AAX_VPropertyMap::WriteProperty(uint32_t id, int32_t value) {
    return Forward(mMap, kAAXNoHostInterface, 4, id, value);
}
int32_t AAX_VPropertyMap::ForwardSlot5() { return Forward(mMap, kAAXNoHostInterface, 5); }
int32_t AAX_VPropertyMap::ForwardSlot6() { return Forward(mMap2, kAAXNotSupported, 6); }
bool AAX_VPropertyMap::ForwardSlot7() { return mMap2 ? HostCall<bool>(mMap2.Get(), 7) : false; }

// ---- component descriptor

AAX_VComponentDescriptor::AAX_VComponentDescriptor(IACFUnknown* host) {
    Hold(mHost, host);
    CreateHostObject(host, kCLSID_ComponentDescriptor, kIID_ComponentDescriptor, &kIID_ComponentDescriptor2, mComponent,
                     &mComponent2);
}
AAX_VComponentDescriptor::~AAX_VComponentDescriptor() { mMaps.clear(); }

int32_t AAX_VComponentDescriptor::ForwardSlot3() { return Forward(mComponent, kAAXNoHostInterface, 3); }
int32_t AAX_VComponentDescriptor::DeclareAudioInput(uint32_t field) {
    return Forward(mComponent, kAAXNoHostInterface, 5, field);
}
int32_t AAX_VComponentDescriptor::DeclareAudioOutput(uint32_t field) {
    return Forward(mComponent, kAAXNoHostInterface, 6, field);
}
int32_t AAX_VComponentDescriptor::DeclareFrameCountField(uint32_t field) {
    return Forward(mComponent, kAAXNoHostInterface, 7, field);
}
int32_t AAX_VComponentDescriptor::ForwardSlot8() { return Forward(mComponent, kAAXNoHostInterface, 8); }
int32_t AAX_VComponentDescriptor::ForwardSlot9() { return Forward(mComponent, kAAXNoHostInterface, 9); }
int32_t AAX_VComponentDescriptor::ForwardSlot10() { return Forward(mComponent, kAAXNoHostInterface, 10); }
int32_t AAX_VComponentDescriptor::ForwardSlot11() { return Forward(mComponent, kAAXNoHostInterface, 11); }
int32_t AAX_VComponentDescriptor::ForwardSlot12(uint32_t a, uint32_t b, const void* c) {
    return Forward(mComponent, kAAXNoHostInterface, 12, a, b, c);
}
int32_t AAX_VComponentDescriptor::DeclarePrivateData(uint32_t field, uint32_t size, uint32_t options) {
    return Forward(mComponent, kAAXNoHostInterface, 13, field, size, options);
}
int32_t AAX_VComponentDescriptor::ForwardSlot19() { return Forward(mComponent2, kAAXNotSupported, 19); }
int32_t AAX_VComponentDescriptor::ForwardSlot14() { return Forward(mComponent, kAAXNoHostInterface, 14); }
int32_t AAX_VComponentDescriptor::DeclareMeterField(uint32_t field, const uint32_t* meterIds, uint32_t count) {
    return Forward(mComponent, kAAXNoHostInterface, 18, field, meterIds, count);
}
int32_t AAX_VComponentDescriptor::DeclareMidiNode(uint32_t field, uint32_t nodeType, const char* name,
                                                  uint32_t channelMask) {
    return Forward(mComponent, kAAXNoHostInterface, 15, field, nodeType, name, channelMask);
}
int32_t AAX_VComponentDescriptor::ForwardSlot4() { return Forward(mComponent, kAAXNoHostInterface, 4); }

AAX_IPropertyMap* AAX_VComponentDescriptor::CreatePropertyMap() {
    return Keep(mMaps, new AAX_VPropertyMap(mHost.Get()));
}

// Copies the properties 10 to 351 that the source holds into a new map of this component.
AAX_IPropertyMap* AAX_VComponentDescriptor::CopyPropertyMap(const AAX_IPropertyMap& source) {
    AAX_IPropertyMap* copy = CreatePropertyMap();
    for (uint32_t id = 10; id <= 351; ++id) {
        int32_t value = 0;
        if (source.ReadProperty(id, &value)) copy->WriteProperty(id, value);
    }
    return copy;
}

int32_t AAX_VComponentDescriptor::DeclareProcessProcedure(void* procedure, const AAX_IPropertyMap* properties, void* a,
                                                          void* b, void* c) {
    return Forward(mComponent, kAAXNoHostInterface, 16, procedure, MapOf(properties), a, b, c);
}
int32_t AAX_VComponentDescriptor::ForwardSlot17(uint32_t a, uint32_t b, const AAX_IPropertyMap* properties) {
    return Forward(mComponent, kAAXNoHostInterface, 17, a, b, MapOf(properties));
}

// ---- effect descriptor

AAX_VEffectDescriptor::AAX_VEffectDescriptor(IACFUnknown* host) {
    Hold(mHost, host);
    CreateHostObject(host, kCLSID_EffectDescriptor, kIID_EffectDescriptor, &kIID_EffectDescriptor2, mDescriptor,
                     &mDescriptor2);
}
AAX_VEffectDescriptor::~AAX_VEffectDescriptor() {
    mComponents.clear();
    mMaps.clear();
}

AAX_IComponentDescriptor* AAX_VEffectDescriptor::CreateComponentDescriptor() {
    return Keep(mComponents, new AAX_VComponentDescriptor(mHost.Get()));
}
int32_t AAX_VEffectDescriptor::DeclareComponent(const AAX_IComponentDescriptor* component) {
    auto* proxy = dynamic_cast<const AAX_VComponentDescriptor*>(component);
    return Forward(mDescriptor, kAAXNoHostInterface, 3, proxy ? proxy->ComponentInterface() : nullptr);
}
int32_t AAX_VEffectDescriptor::DeclareName(const char* name) {
    return Forward(mDescriptor, kAAXNoHostInterface, 4, name);
}
int32_t AAX_VEffectDescriptor::DeclareCategory(uint32_t category) {
    return Forward(mDescriptor, kAAXNoHostInterface, 5, category);
}
int32_t AAX_VEffectDescriptor::ForwardSlot6() { return Forward(mDescriptor, kAAXNoHostInterface, 6); }
int32_t AAX_VEffectDescriptor::DeclareProcedure(void* procedure, uint32_t procedureId) {
    return Forward(mDescriptor, kAAXNoHostInterface, 7, procedure, procedureId);
}
AAX_IPropertyMap* AAX_VEffectDescriptor::CreatePropertyMap() { return Keep(mMaps, new AAX_VPropertyMap(mHost.Get())); }
int32_t AAX_VEffectDescriptor::ForwardSlot8(const AAX_IPropertyMap* properties, uint32_t a) {
    return Forward(mDescriptor, kAAXNoHostInterface, 8, MapOf(properties), a);
}
int32_t AAX_VEffectDescriptor::ForwardSlot9() { return Forward(mDescriptor, kAAXNoHostInterface, 9); }
int32_t AAX_VEffectDescriptor::ForwardSlot10(uint32_t a, uint32_t b, const AAX_IPropertyMap* properties) {
    return Forward(mDescriptor, kAAXNoHostInterface, 10, a, b, MapOf(properties));
}
int32_t AAX_VEffectDescriptor::ForwardSlot11() { return Forward(mDescriptor2, kAAXNotSupported, 11); }

// ---- collection

AAX_VCollection::AAX_VCollection(IACFUnknown* host) {
    Hold(mHost, host);
    CreateHostObject(host, kCLSID_PluginDefinition, kIID_PluginDefinition, nullptr, mDefinition, nullptr);
}
AAX_VCollection::~AAX_VCollection() {
    mDescriptors.clear();
    mMaps.clear();
}

AAX_IEffectDescriptor* AAX_VCollection::CreateEffectDescriptor() {
    return Keep(mDescriptors, new AAX_VEffectDescriptor(mHost.Get()));
}
// A null descriptor is refused without a call.
int32_t AAX_VCollection::DeclareEffect(const char* effectId, const AAX_IEffectDescriptor* descriptor) {
    auto* proxy = dynamic_cast<const AAX_VEffectDescriptor*>(descriptor);
    if (!proxy) return kAAXNoHostInterface;
    return Forward(mDefinition, kAAXNoHostInterface, 7, effectId, proxy->DescriptorInterface());
}
int32_t AAX_VCollection::DeclareManufacturerName(const char* name) {
    return Forward(mDefinition, kAAXNoHostInterface, 8, name);
}
int32_t AAX_VCollection::DeclarePackageName(const char* name) {
    return Forward(mDefinition, kAAXNoHostInterface, 9, name);
}
int32_t AAX_VCollection::DeclarePackageVersion(uint32_t version) {
    return Forward(mDefinition, kAAXNoHostInterface, 10, version);
}
AAX_IPropertyMap* AAX_VCollection::CreatePropertyMap() { return Keep(mMaps, new AAX_VPropertyMap(mHost.Get())); }
int32_t AAX_VCollection::ForwardSlot11(const AAX_IPropertyMap* properties, uint32_t a) {
    return Forward(mDefinition, kAAXNoHostInterface, 11, MapOf(properties), a);
}

// ---- host services

AAX_VHostServices::AAX_VHostServices(IACFUnknown* host) {
    CreateHostObject(host, kCLSID_HostServices, kIID_HostServices, nullptr, mServices, nullptr);
}
int32_t AAX_VHostServices::ForwardSlot3() { return Forward(mServices, kAAXNoHostInterface, 3); }
int32_t AAX_VHostServices::SendTrace(uint32_t priority, const char* text) {
    return Forward(mServices, kAAXNoHostInterface, 4, priority, text);
}
