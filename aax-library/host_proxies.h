#pragma once
// Proxies over the host's per-instance services: controller, transport, automation and view
// container. Each forwards to its host interface by slot number and answers a fixed code when
// the host did not offer the interface. They hold no locks.
#include <cstdint>

#include "aax-library/acf.h"
#include "aax-library/host_interface.h"

class AAX_IController {
public:
    virtual ~AAX_IController() = default;
    virtual int32_t ForwardSlot3() = 0;
    virtual int32_t ReadSampleRate(float* out) = 0;
    virtual int32_t ReadInputStemFormat(int32_t* out) = 0;
    virtual int32_t ReadOutputStemFormat(int32_t* out) = 0;
    virtual int32_t ForwardSlot7() = 0;
    virtual int32_t ForwardSlot8() = 0;
    virtual int32_t ForwardSlot9() = 0;
    virtual int32_t ReportLatency(int32_t samples) = 0;
    virtual int32_t ForwardSlot11() = 0;
    virtual int32_t SendPacket(uint32_t packetId, const void* data, uint32_t size) = 0;
    virtual int32_t ForwardSlot20() = 0;
    virtual int32_t ForwardSlot13() = 0;
    virtual int32_t ForwardSlot14() = 0;
    virtual int32_t ForwardSlot15() = 0;
    virtual int32_t ForwardSlot18() = 0;
    virtual int32_t ForwardSlot16() = 0;
    virtual int32_t ForwardSlot17() = 0;
    virtual int32_t ForwardSlot19() = 0;
    virtual int32_t ForwardSlot21() = 0;
    virtual int32_t ForwardSlot22(int64_t* out) = 0;
    virtual int32_t ForwardSlot23() = 0;
};

// Also the shape of the per-block transport object the host hands with each rendered block, so
// its slots are fixed and it has no virtual destructor (slot 0 is a deleting entry).
class AAX_ITransport {
public:
    virtual void ACF_CALL DeleteThis(uint32_t flags) = 0;
    virtual int32_t ACF_CALL ReadTempo(double* tempo) const = 0;
    virtual int32_t ACF_CALL ReadMeter(int32_t* numerator, int32_t* denominator) const = 0;
    virtual int32_t ACF_CALL ReadPlaying(bool* playing) const = 0;
    virtual int32_t ACF_CALL ReadTickPosition(int64_t* ticks) const = 0;
    virtual int32_t ACF_CALL ReadLoop(bool* looping, int64_t* loopStart, int64_t* loopEnd) const = 0;
    virtual int32_t ACF_CALL ReadSamplePosition(int64_t* samples) const = 0;
    virtual int32_t ACF_CALL ForwardSlot9() const = 0;
    virtual int32_t ACF_CALL ForwardSlot10() const = 0;
    virtual int32_t ACF_CALL ForwardSlot11() const = 0;
    virtual int32_t ACF_CALL ForwardSlot12() const = 0;
    virtual int32_t ACF_CALL ForwardSlot13() const = 0;
    virtual int32_t ACF_CALL ForwardSlot14() const = 0;
    virtual int32_t ACF_CALL ForwardSlot15() const = 0;
    virtual int32_t ACF_CALL ForwardSlot16() const = 0;

protected:
    ~AAX_ITransport() = default;
};

class AAX_IAutomationDelegate {
public:
    virtual ~AAX_IAutomationDelegate() = default;
    virtual int32_t AddParameterId(const char* id) = 0;
    virtual int32_t RemoveParameterId(const char* id) = 0;
    virtual int32_t RequestValueChange(const char* id, double normalized) = 0;
    virtual int32_t ReportCurrentValue(const char* id, double normalized) = 0;
    virtual int32_t RequestTouch(const char* id) = 0;
    virtual int32_t RequestRelease(const char* id) = 0;
    virtual int32_t ForwardSlot9() = 0;
};

class AAX_IViewContainer {
public:
    virtual ~AAX_IViewContainer() = default;
    virtual int32_t ForwardSlot3() = 0;
    virtual void* NativeView() = 0;
    virtual int32_t ForwardSlot5() = 0;
    // size: {height, width}
    virtual int32_t ResizeView(const float* size) = 0;
    virtual int32_t ForwardSlot7() = 0;
    virtual int32_t ForwardSlot8() = 0;
    virtual int32_t ForwardSlot9() = 0;
};

// Queries the host unknown for both controller interfaces; the unknown itself is not held.
class AAX_VController final : public AAX_IController {
public:
    explicit AAX_VController(IACFUnknown* host);
    int32_t ForwardSlot3() override;
    int32_t ReadSampleRate(float* out) override;
    int32_t ReadInputStemFormat(int32_t* out) override;
    int32_t ReadOutputStemFormat(int32_t* out) override;
    int32_t ForwardSlot7() override;
    int32_t ForwardSlot8() override;
    int32_t ForwardSlot9() override;
    int32_t ReportLatency(int32_t samples) override;
    int32_t ForwardSlot11() override;
    int32_t SendPacket(uint32_t packetId, const void* data, uint32_t size) override;
    int32_t ForwardSlot20() override;
    int32_t ForwardSlot13() override;
    int32_t ForwardSlot14() override;
    int32_t ForwardSlot15() override;
    int32_t ForwardSlot18() override;
    int32_t ForwardSlot16() override;
    int32_t ForwardSlot17() override;
    int32_t ForwardSlot19() override;
    int32_t ForwardSlot21() override;
    int32_t ForwardSlot22(int64_t* out) override;
    int32_t ForwardSlot23() override;

private:
    HostRef mController;
    HostRef mController2;
};

class AAX_VTransport final : public AAX_ITransport {
public:
    explicit AAX_VTransport(IACFUnknown* host);
    ~AAX_VTransport() = default;
    void ACF_CALL DeleteThis(uint32_t flags) override;
    int32_t ACF_CALL ReadTempo(double* tempo) const override;
    int32_t ACF_CALL ReadMeter(int32_t* numerator, int32_t* denominator) const override;
    int32_t ACF_CALL ReadPlaying(bool* playing) const override;
    int32_t ACF_CALL ReadTickPosition(int64_t* ticks) const override;
    int32_t ACF_CALL ReadLoop(bool* looping, int64_t* loopStart, int64_t* loopEnd) const override;
    int32_t ACF_CALL ReadSamplePosition(int64_t* samples) const override;
    int32_t ACF_CALL ForwardSlot9() const override;
    int32_t ACF_CALL ForwardSlot10() const override;
    int32_t ACF_CALL ForwardSlot11() const override;
    int32_t ACF_CALL ForwardSlot12() const override;
    int32_t ACF_CALL ForwardSlot13() const override;
    int32_t ACF_CALL ForwardSlot14() const override;
    int32_t ACF_CALL ForwardSlot15() const override;
    int32_t ACF_CALL ForwardSlot16() const override;

private:
    HostRef mTransport;
    HostRef mTransport2;
};

// Starts without an interface; its creator queries the host straight into InterfaceRef().
class AAX_VAutomationDelegate final : public AAX_IAutomationDelegate {
public:
    int32_t AddParameterId(const char* id) override;
    int32_t RemoveParameterId(const char* id) override;
    int32_t RequestValueChange(const char* id, double normalized) override;
    int32_t ReportCurrentValue(const char* id, double normalized) override;
    int32_t RequestTouch(const char* id) override;
    int32_t RequestRelease(const char* id) override;
    int32_t ForwardSlot9() override;
    HostRef& InterfaceRef() { return mAutomation; }

private:
    HostRef mAutomation;
};

// Starts without an interface like the automation proxy. It releases the reference its
// creator's query obtained when it is destroyed, so no editor opening leaks a host reference.
class AAX_VViewContainer final : public AAX_IViewContainer {
public:
    int32_t ForwardSlot3() override;
    void* NativeView() override;
    int32_t ForwardSlot5() override;
    int32_t ResizeView(const float* size) override;
    int32_t ForwardSlot7() override;
    int32_t ForwardSlot8() override;
    int32_t ForwardSlot9() override;
    HostRef& InterfaceRef() { return mContainer; }

private:
    HostRef mContainer;
};

extern const acfUID kIID_Automation;
extern const acfUID kIID_ViewContainer;
