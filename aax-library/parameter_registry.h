#pragma once
// AAXParameterRegistry: owns the AAX parameters in registration order and finds them by ID text
// (byte-wise ordered index) or by index. Not locked: changed only during initialization and
// uninitialization.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "aax-library/parameter.h"

class AAXParameterRegistry {
public:
    AAXParameterRegistry() = default;
    ~AAXParameterRegistry() { RemoveAll(); }
    AAXParameterRegistry(const AAXParameterRegistry&) = delete;
    AAXParameterRegistry& operator=(const AAXParameterRegistry&) = delete;

    // Given to every parameter added from now on; not owned.
    void SetAutomationDelegate(AAX_IAutomationDelegate* delegate) { mAutomation = delegate; }
    // Takes the parameter unless it is null or its ID is taken; false when refused (the caller
    // then keeps it).
    bool Add(AAX_IParameter* parameter);
    AAX_IParameter* FindById(const char* id) const;
    int32_t IndexOfId(const char* id) const;
    // Deletes every parameter in list order.
    void RemoveAll();

    int32_t Count() const { return int32_t(mList.size()); }
    AAX_IParameter* At(int32_t index) const;

private:
    AAX_IAutomationDelegate* mAutomation = nullptr;
    std::vector<AAX_IParameter*> mList;
    std::map<std::string, AAX_IParameter*> mIndex;  // std::string orders byte by byte
};
