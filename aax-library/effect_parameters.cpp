#include "aax-library/effect_parameters.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {
constexpr const char* kMasterBypassId = "MasterBypassID";
constexpr const char* kPreviewId = "PreviewID";
constexpr const char* kLibraryChunkName = "Complete Controls State";

double ClampUnit(double v) { return std::fmin(std::fmax(v, 0.0), 1.0); }  // a NaN gives 0

// A per-ID answer: -20002 for a null out, -20001 for an unknown ID, else out = read(parameter).
template <class T, class Read>
int32_t Answer(const AAXParameterRegistry& registry, const char* id, T* out, Read read) {
    if (!out) return kAAXNullOut;
    const AAX_IParameter* p = registry.FindById(id);
    if (!p) return kAAXUnknownParameter;
    *out = read(*p);
    return 0;
}

// A per-ID action: -20001 for an unknown ID.
template <class Act>
int32_t Apply(const AAXParameterRegistry& registry, const char* id, Act act) {
    AAX_IParameter* p = registry.FindById(id);
    if (!p) return kAAXUnknownParameter;
    act(*p);
    return 0;
}

// The value type a parameter answers to first, in the order the library chunk asks.
enum class ValueKind { kFloat, kInt32, kBool, kDouble, kText, kNone };
ValueKind KindOf(const AAX_IParameter& p) {
    float f;
    int32_t n;
    bool b;
    double d;
    AAX_CString t;
    if (p.GetFloat(f)) return ValueKind::kFloat;
    if (p.GetInt32(n)) return ValueKind::kInt32;
    if (p.GetBool(b)) return ValueKind::kBool;
    if (p.GetDouble(d)) return ValueKind::kDouble;
    if (p.GetText(t)) return ValueKind::kText;
    return ValueKind::kNone;
}
}  // namespace

AAX_CEffectParameters::AAX_CEffectParameters() = default;

// Parameters go first: their destructors tell the automation proxy that they are gone. Proxies
// still held (a host that never called Uninitialize) are deleted here.
AAX_CEffectParameters::~AAX_CEffectParameters() {
    mRegistry.RemoveAll();
    DropProxies();
}

ACFRESULT ACF_CALL AAX_CEffectParameters::QueryInterface(const acfUID& iid, void** out) {
    return ControllingUnknown()->QueryInterface(iid, out);
}
uint32_t ACF_CALL AAX_CEffectParameters::AddRef() { return ControllingUnknown()->AddRef(); }
uint32_t ACF_CALL AAX_CEffectParameters::Release() { return ControllingUnknown()->Release(); }

ACFRESULT AAX_CEffectParameters::InternalQueryInterface(const acfUID& iid, void** out) {
    if (out && (iid == kIID_EffectParameters || iid == kIID_EffectParametersV2)) {
        AAX_IEffectParameters* self = this;
        self->AddRef();
        *out = self;
        return kACFOk;
    }
    return CACFUnknown::InternalQueryInterface(iid, out);
}

void AAX_CEffectParameters::DropProxies() {
    mRegistry.SetAutomationDelegate(nullptr);
    mPackets.SetController(nullptr);
    mController.reset();
    mAutomation.reset();
    mTransport.reset();
}

// Host thread. A second initialization first undoes the first one.
int32_t ACF_CALL AAX_CEffectParameters::InitializeWithController(IACFUnknown* host) {
    if (mController) Uninitialize();
    mController = std::make_unique<AAX_VController>(host);
    mAutomation = std::make_unique<AAX_VAutomationDelegate>();
    if (host) mAutomation->InterfaceRef().Query(host, kIID_Automation);
    mTransport = std::make_unique<AAX_VTransport>(host);
    mRegistry.SetAutomationDelegate(mAutomation.get());
    mPackets.SetController(mController.get());
    if (const int32_t result = SetUpParameters()) return result;
    AAX_CString bypass;
    MasterBypassId(&bypass);
    mExcluded.insert(bypass.Text());
    return 0;
}

int32_t ACF_CALL AAX_CEffectParameters::Uninitialize() {
    mRegistry.RemoveAll();
    DropProxies();
    return 0;
}

int32_t ACF_CALL AAX_CEffectParameters::HandleNotification(uint32_t type, const void* data, uint32_t) {
    if (type != kAAXPreviewNotification) return 0;
    AAX_IParameter* preview = mRegistry.FindById(kPreviewId);
    if (!preview) return 0;
    if (!data) return kAAXNullOut;
    int32_t word;
    std::memcpy(&word, data, 4);
    preview->SetBool(word != 0);
    return 0;
}

int32_t ACF_CALL AAX_CEffectParameters::ParameterCount(int32_t* out) const {
    if (!out) return kAAXNullOut;
    *out = mRegistry.Count();
    return 0;
}

int32_t ACF_CALL AAX_CEffectParameters::MasterBypassId(AAX_IString* out) const {
    if (!out) return kAAXNullOut;
    HostStringAssign(*out, mRegistry.FindById(kMasterBypassId) ? kMasterBypassId : "");
    return 0;
}

int32_t ACF_CALL AAX_CEffectParameters::IsParameterAutomatable(const char* id, bool* out) const {
    if (!out) return kAAXNullOut;
    *out = false;
    const AAX_IParameter* p = mRegistry.FindById(id);
    if (!p) return kAAXUnknownParameter;
    *out = p->IsAutomatable();
    return 0;
}

int32_t ACF_CALL AAX_CEffectParameters::ParameterStepCount(const char* id, int32_t* out) const {
    if (!out) return kAAXNullOut;
    const AAX_IParameter* p = mRegistry.FindById(id);
    if (!p) return kAAXUnknownParameter;
    const int32_t steps = p->StepCount();
    if (steps < 0) return kAAXNegativeStepCount;
    *out = steps;
    return 0;
}

int32_t ACF_CALL AAX_CEffectParameters::ParameterName(const char* id, AAX_IString* out) const {
    if (!out) return kAAXNullOut;
    const AAX_IParameter* p = mRegistry.FindById(id);
    if (p) {
        HostStringAssign(*out, p->Name());
    } else {
        HostStringAssign(*out, "");
    }
    return 0;
}

// The longest line (of the first 255 characters) that fits, else the name cut to maxLength.
int32_t ACF_CALL AAX_CEffectParameters::ParameterShortName(const char* id, AAX_IString* out, int32_t maxLength) const {
    if (!out) return kAAXNullOut;
    const AAX_IParameter* p = mRegistry.FindById(id);
    if (!p) {
        HostStringAssign(*out, "");
        return 0;
    }
    const AAX_CString& name = p->ShortenedName(maxLength);
    const std::string text = name.Text();
    const std::string work = text.substr(0, 255);
    std::string best;
    for (size_t start = 0; start <= work.size();) {
        size_t end = work.find('\n', start);
        if (end == std::string::npos) end = work.size();
        const size_t length = end - start;
        if (length > best.size() && int64_t(length) <= maxLength) best = work.substr(start, length);
        start = end + 1;
    }
    if (!best.empty()) {
        HostStringAssign(*out, best.c_str());
    } else if (maxLength < 1) {
        HostStringAssign(*out, "");
    } else {
        HostStringAssign(*out, text.substr(0, std::min<size_t>(size_t(maxLength), text.size())).c_str());
    }
    return 0;
}

int32_t ACF_CALL AAX_CEffectParameters::ParameterDefaultNormalized(const char* id, double* out) const {
    return Answer(mRegistry, id, out, [](const AAX_IParameter& p) { return p.NormalizedDefaultValue(); });
}

int32_t ACF_CALL AAX_CEffectParameters::SetParameterDefaultNormalized(const char* id, double value) {
    return Apply(mRegistry, id, [value](AAX_IParameter& p) { p.SetNormalizedDefaultValue(value); });
}

int32_t ACF_CALL AAX_CEffectParameters::ParameterType(const char* id, int32_t* out) const {
    return Answer(mRegistry, id, out, [](const AAX_IParameter& p) { return p.Type(); });
}

int32_t ACF_CALL AAX_CEffectParameters::ParameterOrientation(const char* id, int32_t* out) const {
    return Answer(mRegistry, id, out, [](const AAX_IParameter& p) { return p.Orientation(); });
}

int32_t ACF_CALL AAX_CEffectParameters::ParameterById(const char* id, AAX_IParameter** out) {
    if (!out) return kAAXNullOut;
    *out = mRegistry.FindById(id);
    return *out ? 0 : kAAXUnknownParameter;
}

int32_t ACF_CALL AAX_CEffectParameters::ParameterIndexById(const char* id, int32_t* out) const {
    if (!out) return kAAXNullOut;
    *out = mRegistry.IndexOfId(id);
    return *out < 0 ? kAAXUnknownParameter : 0;
}

int32_t ACF_CALL AAX_CEffectParameters::ParameterIdAtIndex(int32_t index, AAX_IString* out) const {
    if (!out) return kAAXNullOut;
    const AAX_IParameter* p = mRegistry.At(index);
    HostStringAssign(*out, p ? p->Id() : "");
    return p ? 0 : kAAXUnknownParameter;
}

int32_t ACF_CALL AAX_CEffectParameters::ParameterValueInfo(const char*, int32_t, int32_t* out) const {
    if (!out) return kAAXNullOut;
    *out = 0;
    return kAAXNotSupported;
}

int32_t ACF_CALL AAX_CEffectParameters::ValueFromString(const char* id, double* out, const AAX_IString* text) const {
    if (!out || !text) return kAAXNullOut;
    const AAX_IParameter* p = mRegistry.FindById(id);
    if (!p) return kAAXUnknownParameter;
    double value = 0;
    if (!p->NormalizedValueFromString(AAX_CString(HostStringText(*text)), value)) return kAAXNullOut;
    *out = value;
    return 0;
}

int32_t ACF_CALL AAX_CEffectParameters::StringFromValue(const char* id, double normalized, AAX_IString* out,
                                                        int32_t maxLength) const {
    if (!out) return kAAXNullOut;
    const AAX_IParameter* p = mRegistry.FindById(id);
    if (!p) return kAAXUnknownParameter;
    AAX_CString text;
    if (!p->StringFromNormalizedValue(normalized, maxLength, text)) return kAAXNullOut;
    HostStringAssign(*out, text);
    return 0;
}

int32_t ACF_CALL AAX_CEffectParameters::ParameterValueString(const char* id, AAX_IString* out,
                                                             int32_t maxLength) const {
    if (!out) return kAAXNullOut;
    const AAX_IParameter* p = mRegistry.FindById(id);
    if (!p) return kAAXUnknownParameter;
    AAX_CString text;
    p->ValueString(maxLength, text);
    HostStringAssign(*out, text);
    return 0;
}

int32_t ACF_CALL AAX_CEffectParameters::ParameterNormalized(const char* id, double* out) const {
    return Answer(mRegistry, id, out, [](const AAX_IParameter& p) { return p.NormalizedValue(); });
}

int32_t ACF_CALL AAX_CEffectParameters::SetParameterNormalized(const char* id, double value) {
    return Apply(mRegistry, id, [value](AAX_IParameter& p) { p.SetNormalizedValue(value); });
}

int32_t ACF_CALL AAX_CEffectParameters::SetParameterNormalizedRelative(const char* id, double delta) {
    double current = 0;
    if (const int32_t result = ParameterNormalized(id, &current)) return result;
    return SetParameterNormalized(id, ClampUnit(current + delta));
}

int32_t ACF_CALL AAX_CEffectParameters::TouchParameter(const char* id) {
    return Apply(mRegistry, id, [](AAX_IParameter& p) { p.Touch(); });
}

int32_t ACF_CALL AAX_CEffectParameters::ReleaseParameter(const char* id) {
    return Apply(mRegistry, id, [](AAX_IParameter& p) { p.ReleaseTouch(); });
}

int32_t ACF_CALL AAX_CEffectParameters::UpdateParameterFromHost(const char* id, double value, int32_t) {
    AAX_IParameter* p = mRegistry.FindById(id);
    if (!p) return kAAXUnknownParameter;
    p->UpdateNormalizedValue(value);
    const int32_t result = mPackets.MarkDirty(id, true);
    CountChange();
    return result;
}

int32_t ACF_CALL AAX_CEffectParameters::UpdateParameterRelative(const char* id, double delta) {
    double current = 0;
    if (const int32_t result = ParameterNormalized(id, &current)) return result;
    return UpdateParameterFromHost(id, ClampUnit(current + delta), 0);
}

int32_t ACF_CALL AAX_CEffectParameters::DispatchDirtyPackets() { return mPackets.Dispatch(); }

int32_t ACF_CALL AAX_CEffectParameters::QueryCustomData(uint32_t, void* out, uint32_t size) const {
    if (!out) return kAAXNullOut;
    std::memset(out, 0, size);
    return 0;
}

int32_t ACF_CALL AAX_CEffectParameters::ChunkCount(int32_t* out) const {
    if (!out) return kAAXNullOut;
    *out = 1;
    return 0;
}

int32_t ACF_CALL AAX_CEffectParameters::GetStateChunkId(int32_t index, uint32_t* out) const {
    if (!out) return kAAXNullOut;
    *out = index == 0 ? kAAXLibraryChunkId : 0;
    return index == 0 ? 0 : kAAXBadChunkIndex;
}

// One named value per parameter that is not excluded, by the first typed getter that answers.
void AAX_CEffectParameters::SerializeAllParameters() {
    mParser.Clear();
    for (int32_t i = 0; i < mRegistry.Count(); ++i) {
        const AAX_IParameter* p = mRegistry.At(i);
        if (Excluded(p)) continue;
        float f = 0;
        int32_t n = 0;
        bool b = false;
        double d = 0;
        AAX_CString text;
        switch (KindOf(*p)) {
            case ValueKind::kFloat: p->GetFloat(f), mParser.AddDouble(p->Id(), f); break;
            case ValueKind::kInt32: p->GetInt32(n), mParser.AddInt32(p->Id(), n); break;
            case ValueKind::kBool: p->GetBool(b), mParser.AddInt32(p->Id(), b ? 1 : 0); break;
            case ValueKind::kDouble: p->GetDouble(d), mParser.AddDouble(p->Id(), d); break;
            case ValueKind::kText: p->GetText(text), mParser.AddText(p->Id(), text.Text()); break;
            case ValueKind::kNone: break;
        }
    }
}

int32_t ACF_CALL AAX_CEffectParameters::GetStateChunkSize(uint32_t chunkId, int32_t* out) {
    if (!out) return kAAXNullOut;
    if (chunkId != kAAXLibraryChunkId) {
        *out = 0;
        return kAAXBadChunkId;
    }
    std::lock_guard<std::mutex> lock(mChunkLock);
    SerializeAllParameters();
    const int32_t size = mParser.ChunkSize();
    mLastChunkSize = size;
    if (size < 0) return kAAXBadChunkSize;
    *out = size;
    return 0;
}

int32_t ACF_CALL AAX_CEffectParameters::GetStateChunk(uint32_t chunkId, AAX_ChunkRecord* out) {
    if (!out) return kAAXNullOut;
    if (chunkId != kAAXLibraryChunkId) return kAAXBadChunkId;
    std::lock_guard<std::mutex> lock(mChunkLock);
    SerializeAllParameters();
    const int32_t size = mParser.ChunkSize();
    if (size != mLastChunkSize || mLastChunkSize == 0) return kAAXBadChunkSize;
    out->version = mParser.Version();
    std::memset(out->name, 0, sizeof out->name);
    std::strncpy(out->name, kLibraryChunkName, sizeof out->name - 1);
    return mParser.GetChunkData(out);
}

// Missing values leave their parameters unchanged.
int32_t ACF_CALL AAX_CEffectParameters::SetStateChunk(uint32_t chunkId, const AAX_ChunkRecord* chunk) {
    if (!chunk) return kAAXNullOut;
    if (chunkId != kAAXLibraryChunkId) return kAAXBadChunkId;
    std::lock_guard<std::mutex> lock(mChunkLock);
    mParser.LoadChunk(chunk);
    for (int32_t i = 0; i < mRegistry.Count(); ++i) {
        AAX_IParameter* p = mRegistry.At(i);
        if (Excluded(p)) continue;
        int32_t n = 0;
        double d = 0;
        AAX_CString text;
        switch (KindOf(*p)) {
            case ValueKind::kFloat:
                if (mParser.FindDouble(p->Id(), d)) p->SetFloat(float(d));
                break;
            case ValueKind::kInt32:
                if (mParser.FindInt32(p->Id(), n)) p->SetInt32(n);
                break;
            case ValueKind::kBool:
                if (mParser.FindInt32(p->Id(), n)) p->SetBool(n != 0);
                break;
            case ValueKind::kDouble:
                if (mParser.FindDouble(p->Id(), d)) p->SetDouble(d);
                break;
            case ValueKind::kText:
                if (mParser.FindText(p->Id(), text)) p->SetText(text);
                break;
            case ValueKind::kNone: break;
        }
    }
    return 0;
}

// Equal when every chunked parameter's stored value is found and equals its current value
// (floats and doubles compared as floats); a foreign chunk counts as equal.
int32_t ACF_CALL AAX_CEffectParameters::CompareStateChunk(const AAX_ChunkRecord* chunk, bool* out) {
    if (!chunk || !out) return kAAXNullOut;
    if (chunk->chunkId != kAAXLibraryChunkId) {
        *out = true;
        return 0;
    }
    *out = false;
    std::lock_guard<std::mutex> lock(mChunkLock);
    mParser.LoadChunk(chunk);
    for (int32_t i = 0; i < mRegistry.Count(); ++i) {
        const AAX_IParameter* p = mRegistry.At(i);
        if (Excluded(p)) continue;
        float f = 0;
        int32_t n = 0, stored = 0;
        bool b = false;
        double d = 0, storedDouble = 0;
        AAX_CString text, storedText;
        bool equal = false;
        switch (KindOf(*p)) {
            case ValueKind::kFloat:
                equal = p->GetFloat(f) && mParser.FindDouble(p->Id(), storedDouble) && float(storedDouble) == f;
                break;
            case ValueKind::kInt32: equal = p->GetInt32(n) && mParser.FindInt32(p->Id(), stored) && stored == n; break;
            case ValueKind::kBool:
                equal = p->GetBool(b) && mParser.FindInt32(p->Id(), stored) && (stored != 0) == b;
                break;
            case ValueKind::kDouble:
                equal = p->GetDouble(d) && mParser.FindDouble(p->Id(), storedDouble) && float(storedDouble) == float(d);
                break;
            case ValueKind::kText:
                equal = p->GetText(text) && mParser.FindText(p->Id(), storedText) &&
                        std::strcmp(storedText.Text(), text.Text()) == 0;
                break;
            case ValueKind::kNone: equal = true; break;
        }
        if (!equal) return 0;
    }
    *out = true;
    return 0;
}

int32_t ACF_CALL AAX_CEffectParameters::NumberOfChanges(int32_t* out) const {
    if (!out) return kAAXNullOut;
    *out = int32_t(mChanges.load(std::memory_order_relaxed) & 0x7FFFFFFF);
    return 0;
}

int32_t ACF_CALL AAX_CEffectParameters::Reserved42(void*, void*, void*, int32_t* out) {
    if (out) *out = 0;
    return 0;
}
