#include "aax-library/parameter_registry.h"

#include <cstring>

bool AAXParameterRegistry::Add(AAX_IParameter* parameter) {
    if (!parameter || mIndex.count(parameter->Id())) return false;
    parameter->SetAutomationDelegate(mAutomation);
    mList.push_back(parameter);
    mIndex.emplace(parameter->Id(), parameter);
    return true;
}

AAX_IParameter* AAXParameterRegistry::FindById(const char* id) const {
    if (!id) return nullptr;
    auto it = mIndex.find(id);
    return it == mIndex.end() ? nullptr : it->second;
}

int32_t AAXParameterRegistry::IndexOfId(const char* id) const {
    if (!id) return -1;
    for (size_t i = 0; i < mList.size(); ++i)
        if (std::strcmp(mList[i]->Id(), id) == 0) return int32_t(i);
    return -1;
}

void AAXParameterRegistry::RemoveAll() {
    std::vector<AAX_IParameter*> list;
    list.swap(mList);
    mIndex.clear();
    for (AAX_IParameter* p : list) p->DeleteThis(1);
}

AAX_IParameter* AAXParameterRegistry::At(int32_t index) const {
    return index >= 0 && index < Count() ? mList[size_t(index)] : nullptr;
}
