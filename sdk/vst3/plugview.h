// The editor view (IEditorView) and the host's frame around it (IEditorFrame).
#pragma once

#include "sdk/vst3/funknown.h"

namespace Sdk {

struct ViewRect {
    int32 left = 0;
    int32 top = 0;
    int32 right = 0;
    int32 bottom = 0;

    int32 getWidth() const { return right - left; }
    int32 getHeight() const { return bottom - top; }
};

constexpr FIDString kPlatformTypeHWND = "HWND";
constexpr FIDString kPlatformTypeHIView = "HIView";
constexpr FIDString kPlatformTypeNSView = "NSView";
constexpr FIDString kPlatformTypeUIView = "UIView";
constexpr FIDString kPlatformTypeX11EmbedWindowID = "X11EmbedWindowID";

class IEditorFrame;

class IEditorView : public FUnknown {
public:
    virtual tresult PLUGIN_API isPlatformTypeSupported(FIDString type) = 0;
    virtual tresult PLUGIN_API attached(void* parent, FIDString type) = 0;
    virtual tresult PLUGIN_API removed() = 0;
    virtual tresult PLUGIN_API onWheel(float distance) = 0;
    virtual tresult PLUGIN_API onKeyDown(char16 key, int16 keyCode, int16 modifiers) = 0;
    virtual tresult PLUGIN_API onKeyUp(char16 key, int16 keyCode, int16 modifiers) = 0;
    virtual tresult PLUGIN_API getSize(ViewRect* size) = 0;
    virtual tresult PLUGIN_API onSize(ViewRect* newSize) = 0;
    virtual tresult PLUGIN_API onFocus(TBool state) = 0;
    virtual tresult PLUGIN_API setFrame(IEditorFrame* frame) = 0;
    virtual tresult PLUGIN_API canResize() = 0;
    virtual tresult PLUGIN_API checkSizeConstraint(ViewRect* rect) = 0;

    static constexpr FUID iid{0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29};
};

class IEditorFrame : public FUnknown {
public:
    virtual tresult PLUGIN_API resizeView(IEditorView* view, ViewRect* newSize) = 0;

    static constexpr FUID iid{0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3};
};

}  // namespace Sdk
