// FObject: the reference-counted base of the helper classes, with class-name type checks.
#pragma once

#include "sdk/vst3/funknown.h"

#include <atomic>
#include <cstring>

namespace Sdk {

using FClassID = const char8*;

class IDependent : public FUnknown {
public:
    enum ChangeMessage : int32 { kWillChange = 0, kChanged, kDestroyed, kWillDestroy };

    virtual void PLUGIN_API update(FUnknown* changedUnknown, int32 message) = 0;

    static constexpr FUID iid{0xF52B7AAE, 0xDE72416D, 0x8AF18ACE, 0x9DD7BD5E};
};

inline bool classIDsEqual(FClassID a, FClassID b) { return a && b && std::strcmp(a, b) == 0; }

// Declares a helper class's name for isA and isTypeOf; the base named is asked next.
#define FOBJECT_CLASS(Class, Base)                                                                         \
    Sdk::FClassID isA() const override { return #Class; }                                                  \
    bool isTypeOf(Sdk::FClassID className, bool askBaseClass = true) const override {                      \
        return Sdk::classIDsEqual(className, #Class) || (askBaseClass && Base::isTypeOf(className, true)); \
    }

// Re-exports the FObject count on a class that adds interface bases of its own.
#define FOBJECT_REFCOUNT(Base)                                          \
    Sdk::uint32 PLUGIN_API addRef() override { return Base::addRef(); } \
    Sdk::uint32 PLUGIN_API release() override { return Base::release(); }

// One reference count per object, starting at 1 for its creator; the last release deletes it.
// Answers FUnknown and IDependent.
class FObject : public IDependent {
public:
    FObject() = default;
    FObject(const FObject&) = delete;
    FObject& operator=(const FObject&) = delete;
    virtual ~FObject() = default;

    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
    uint32 PLUGIN_API addRef() override;
    uint32 PLUGIN_API release() override;
    void PLUGIN_API update(FUnknown*, int32) override {}

    virtual FClassID isA() const { return "FObject"; }
    virtual bool isTypeOf(FClassID name, bool /*askBaseClass*/ = true) const { return classIDsEqual(name, "FObject"); }
    int32 getRefCount() const { return refCount.load(); }
    // The FUnknown every query for it answers with, whichever interface it came through.
    FUnknown* unknownCast() { return static_cast<IDependent*>(this); }

private:
    std::atomic<int32> refCount{1};
};

}  // namespace Sdk
