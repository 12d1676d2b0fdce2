#include "aax-library/host_proxies.h"

namespace {
const acfUID kIID_Controller = {0x9D5E3E3D, 0x52DC, 0x5EFB, {0x20, 0x18, 0xDE, 0x1D, 0xE2, 0xE6, 0x3F, 0x4E}};
const acfUID kIID_Controller2 = {0x4C59AA0E, 0xD7C0, 0x4205, {0x8B, 0x6C, 0x32, 0x46, 0x8D, 0x42, 0xD2, 0x02}};
const acfUID kIID_Transport = {0x5CEE4EF4, 0x6337, 0x4359, {0xB6, 0x3B, 0xFE, 0x58, 0xDC, 0x36, 0x54, 0x3A}};
const acfUID kIID_Transport2 = {0x203CBD9F, 0x982C, 0x4FE6, {0xA8, 0x27, 0x07, 0x48, 0x02, 0x57, 0xAE, 0xC3}};
constexpr int32_t kAbsent = kAAXNoHostInterface;
constexpr int32_t kAbsent2 = kAAXNotSupported;
}  // namespace

const acfUID kIID_Automation = {0x9D5E3D3D, 0x42DC, 0x5EFA, {0x22, 0x17, 0xEE, 0xE2, 0xE8, 0xE5, 0x3E, 0x2E}};
const acfUID kIID_ViewContainer = {0x22DA0BBC, 0xD550, 0x4D5E, {0x8C, 0xC6, 0x73, 0x44, 0x83, 0xB8, 0x83, 0x7F}};

// ---- controller

AAX_VController::AAX_VController(IACFUnknown* host) {
    if (!host) return;
    mController.Query(host, kIID_Controller);
    mController2.Query(host, kIID_Controller2);
}
int32_t AAX_VController::ForwardSlot3() { return Forward(mController, kAbsent, 3); }
int32_t AAX_VController::ReadSampleRate(float* out) { return Forward(mController, kAbsent, 4, out); }
int32_t AAX_VController::ReadInputStemFormat(int32_t* out) { return Forward(mController, kAbsent, 5, out); }
int32_t AAX_VController::ReadOutputStemFormat(int32_t* out) { return Forward(mController, kAbsent, 6, out); }
int32_t AAX_VController::ForwardSlot7() { return Forward(mController, kAbsent, 7); }
int32_t AAX_VController::ForwardSlot8() { return Forward(mController, kAbsent, 8); }
int32_t AAX_VController::ForwardSlot9() { return Forward(mController, kAbsent, 9); }
int32_t AAX_VController::ReportLatency(int32_t samples) { return Forward(mController, kAbsent, 10, samples); }
int32_t AAX_VController::ForwardSlot11() { return Forward(mController, kAbsent, 11); }
int32_t AAX_VController::SendPacket(uint32_t packetId, const void* data, uint32_t size) {
    return Forward(mController, kAbsent, 12, packetId, data, size);
}
int32_t AAX_VController::ForwardSlot20() { return Forward(mController2, kAbsent2, 20); }
int32_t AAX_VController::ForwardSlot13() { return Forward(mController, kAbsent, 13); }
int32_t AAX_VController::ForwardSlot14() { return Forward(mController, kAbsent, 14); }
int32_t AAX_VController::ForwardSlot15() { return Forward(mController, kAbsent, 15); }
int32_t AAX_VController::ForwardSlot18() { return Forward(mController, kAbsent, 18); }
int32_t AAX_VController::ForwardSlot16() { return Forward(mController, kAbsent, 16); }
int32_t AAX_VController::ForwardSlot17() { return Forward(mController, kAbsent, 17); }
int32_t AAX_VController::ForwardSlot19() { return Forward(mController, kAbsent, 19); }
int32_t AAX_VController::ForwardSlot21() { return Forward(mController2, kAbsent2, 21); }
int32_t AAX_VController::ForwardSlot22(int64_t* out) {
    if (mController2) return HostCall<int32_t>(mController2.Get(), 22, out);
    if (out) *out = 0;
    return kAbsent2;
}
int32_t AAX_VController::ForwardSlot23() { return Forward(mController2, kAbsent2, 23); }

// ---- transport

AAX_VTransport::AAX_VTransport(IACFUnknown* host) {
    if (!host) return;
    mTransport.Query(host, kIID_Transport);
    mTransport2.Query(host, kIID_Transport2);
}
void ACF_CALL AAX_VTransport::DeleteThis(uint32_t flags) {
    if (flags & 1) {
        delete this;
    } else {
        this->~AAX_VTransport();
    }
}
int32_t ACF_CALL AAX_VTransport::ReadTempo(double* tempo) const { return Forward(mTransport, kAbsent, 3, tempo); }
int32_t ACF_CALL AAX_VTransport::ReadMeter(int32_t* numerator, int32_t* denominator) const {
    return Forward(mTransport, kAbsent, 4, numerator, denominator);
}
int32_t ACF_CALL AAX_VTransport::ReadPlaying(bool* playing) const { return Forward(mTransport, kAbsent, 5, playing); }
int32_t ACF_CALL AAX_VTransport::ReadTickPosition(int64_t* ticks) const {
    return Forward(mTransport, kAbsent, 6, ticks);
}
int32_t ACF_CALL AAX_VTransport::ReadLoop(bool* looping, int64_t* loopStart, int64_t* loopEnd) const {
    return Forward(mTransport, kAbsent, 7, looping, loopStart, loopEnd);
}
int32_t ACF_CALL AAX_VTransport::ReadSamplePosition(int64_t* samples) const {
    return Forward(mTransport, kAbsent, 8, samples);
}
int32_t ACF_CALL AAX_VTransport::ForwardSlot9() const { return Forward(mTransport, kAbsent, 9); }
int32_t ACF_CALL AAX_VTransport::ForwardSlot10() const { return Forward(mTransport, kAbsent, 10); }
int32_t ACF_CALL AAX_VTransport::ForwardSlot11() const { return Forward(mTransport, kAbsent, 11); }
int32_t ACF_CALL AAX_VTransport::ForwardSlot12() const { return Forward(mTransport, kAbsent, 12); }
int32_t ACF_CALL AAX_VTransport::ForwardSlot13() const { return Forward(mTransport2, kAbsent2, 13); }
int32_t ACF_CALL AAX_VTransport::ForwardSlot14() const { return Forward(mTransport2, kAbsent2, 14); }
int32_t ACF_CALL AAX_VTransport::ForwardSlot15() const { return Forward(mTransport2, kAbsent2, 15); }
int32_t ACF_CALL AAX_VTransport::ForwardSlot16() const { return Forward(mTransport2, kAbsent2, 16); }

// ---- automation

int32_t AAX_VAutomationDelegate::AddParameterId(const char* id) { return Forward(mAutomation, kAbsent, 3, id); }
int32_t AAX_VAutomationDelegate::RemoveParameterId(const char* id) { return Forward(mAutomation, kAbsent, 4, id); }
int32_t AAX_VAutomationDelegate::RequestValueChange(const char* id, double normalized) {
    return Forward(mAutomation, kAbsent, 5, id, normalized);
}
int32_t AAX_VAutomationDelegate::ReportCurrentValue(const char* id, double normalized) {
    return Forward(mAutomation, kAbsent, 6, id, normalized);
}
int32_t AAX_VAutomationDelegate::RequestTouch(const char* id) { return Forward(mAutomation, kAbsent, 7, id); }
int32_t AAX_VAutomationDelegate::RequestRelease(const char* id) { return Forward(mAutomation, kAbsent, 8, id); }
int32_t AAX_VAutomationDelegate::ForwardSlot9() { return Forward(mAutomation, kAbsent, 9); }

// ---- view container

int32_t AAX_VViewContainer::ForwardSlot3() { return Forward(mContainer, 0, 3); }
void* AAX_VViewContainer::NativeView() { return mContainer ? HostCall<void*>(mContainer.Get(), 4) : nullptr; }
int32_t AAX_VViewContainer::ForwardSlot5() { return Forward(mContainer, kAbsent2, 5); }
int32_t AAX_VViewContainer::ResizeView(const float* size) { return Forward(mContainer, 0, 6, size); }
int32_t AAX_VViewContainer::ForwardSlot7() { return Forward(mContainer, kAbsent2, 7); }
int32_t AAX_VViewContainer::ForwardSlot8() { return Forward(mContainer, kAbsent2, 8); }
int32_t AAX_VViewContainer::ForwardSlot9() { return Forward(mContainer, kAbsent2, 9); }
