// The LV2 UI of an IFxLV2 plug-in. It needs the host's ui:parent (the X11 window the editor opens
// in) and urid:map, and uses ui:resize and ui:touch when the host offers them. Control ports are
// the plug-in's parameters by index, in plain units, in the float protocol both ways.
#include "framework/lv2/ifxlv2_ui.h"

#include <lv2/urid/urid.h>

#include <cstdint>
#include <cstring>
#include <memory>

#include "framework/editorloop.h"
#include "framework/igraphics.h"
#include "framework/lv2/ifxlv2.h"

namespace {
constexpr uint32_t kFloatProtocol = 0;  // port_event's and the write function's format for a float value

IFxLV2Factory gFactory = nullptr;
int gInstances = 0;  // UIs alive; the last one gone frees the module's image and font caches

// The data of the host's feature uri; null when the host offers none.
const void* FindFeature(const LV2_Feature* const* features, const char* uri) {
    for (; features && *features; ++features)
        if (!std::strcmp((*features)->URI, uri)) return (*features)->data;
    return nullptr;
}

// One UI: the plug-in instance with its editor, and the host's road for the user's edits.
class IFxLV2UI final : public IFxLV2EditSink {
public:
    IFxLV2UI(IFxLV2* plug, LV2UI_Write_Function write, LV2UI_Controller controller, const LV2UI_Touch* touch)
        : mPlug(plug), mWrite(write), mController(controller), mTouch(touch) {
        ++gInstances;
        mPlug->SetEditSink(this);
    }
    // Closes the editor (ending a gesture it holds) and deletes the plug-in.
    ~IFxLV2UI() {
        IGraphics* editor = mPlug->GetGraphics();
        if (editor && editor->IsWindowOpen()) {
            ScopedPlugLock lock(mPlug->GetMutex());
            mPlug->EditorClosed();
        }
        if (editor) editor->CloseGuiWindow();
        mPlug.reset();
        if (--gInstances == 0) FreeGuiCaches();
    }
    IFxLV2UI(const IFxLV2UI&) = delete;
    IFxLV2UI& operator=(const IFxLV2UI&) = delete;

    // The editor in parent, its size told to the host; its window, or null when none opened.
    LV2UI_Widget Open(void* parent, const LV2UI_Resize* resize) {
        IGraphics* editor = mPlug->GetGraphics();
        if (!editor || !editor->OpenGuiWindow(parent)) return nullptr;
        {
            ScopedPlugLock lock(mPlug->GetMutex());
            mPlug->EditorOpened();
        }
        if (resize) resize->ui_resize(resize->handle, editor->Width(), editor->Height());
        return editor->GetWindowHandle();
    }

    // A control port's value from the host: the parameter and its controls take it, and nothing
    // goes back to the host.
    void PortEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
        IFxParam* param =
            port < static_cast<uint32_t>(mPlug->NParams()) ? mPlug->GetParam(static_cast<int>(port)) : nullptr;
        if (!param || format != kFloatProtocol || size != sizeof(float) || !buffer) return;
        float value;
        std::memcpy(&value, buffer, sizeof value);
        const double plain = param->Clamp(value);
        const int index = static_cast<int>(port);
        if (IGraphics* editor = mPlug->GetGraphics()) editor->PushParamToControls(index, plain, false);
        param->SetValue(plain);
        mPlug->ParameterChanged(index, kSourceHost);
    }

    // The editor's loop; 0 while its window is open.
    int Idle() {
        IGraphics* editor = mPlug->GetGraphics();
        if (!editor || !editor->IsWindowOpen()) return 1;
        {
            ScopedPlugLock lock(mPlug->GetMutex());
            mPlug->OnGuiIdle();
        }
        mLoop.Idle(editor);
        return editor->IsWindowOpen() ? 0 : 1;
    }

    // ---- The user's edits, from the editor (IFxLV2EditSink) ----
    // [UI thread]
    void BeginEdit(int paramIdx) override { Touch(paramIdx, true); }
    void Edit(int paramIdx, double plain) override {
        const float value = static_cast<float>(plain);
        mWrite(mController, static_cast<uint32_t>(paramIdx), sizeof value, kFloatProtocol, &value);
    }
    void EndEdit(int paramIdx) override { Touch(paramIdx, false); }

private:
    void Touch(int paramIdx, bool grabbed) {
        if (mTouch) mTouch->touch(mTouch->handle, static_cast<uint32_t>(paramIdx), grabbed);
    }

    std::unique_ptr<IFxLV2> mPlug;
    LV2UI_Write_Function mWrite;
    LV2UI_Controller mController;
    const LV2UI_Touch* mTouch;
    IEditorLoop mLoop;
};

// A null handle when a required feature is missing or the editor cannot open; no exception
// reaches the host.
// [UI thread]
LV2UI_Handle Instantiate(const LV2UI_Descriptor*, const char*, const char*, LV2UI_Write_Function write,
                         LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features) {
    void* parent = const_cast<void*>(FindFeature(features, LV2_UI__parent));
    if (!parent || !FindFeature(features, LV2_URID__map) || !write || !widget || !gFactory) return nullptr;
    try {
        IFxLV2* plug = gFactory();
        if (!plug) return nullptr;
        auto ui = std::make_unique<IFxLV2UI>(plug, write, controller,
                                             static_cast<const LV2UI_Touch*>(FindFeature(features, LV2_UI__touch)));
        *widget = ui->Open(parent, static_cast<const LV2UI_Resize*>(FindFeature(features, LV2_UI__resize)));
        return *widget ? ui.release() : nullptr;
    } catch (...) {
        return nullptr;
    }
}

// [UI thread]
void Cleanup(LV2UI_Handle ui) { delete static_cast<IFxLV2UI*>(ui); }
void PortEvent(LV2UI_Handle ui, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
    static_cast<IFxLV2UI*>(ui)->PortEvent(port, size, format, buffer);
}
int Idle(LV2UI_Handle ui) { return static_cast<IFxLV2UI*>(ui)->Idle(); }

// [any thread]
const void* ExtensionData(const char* uri) {
    static const LV2UI_Idle_Interface idle{Idle};
    return uri && !std::strcmp(uri, LV2_UI__idleInterface) ? &idle : nullptr;
}
}  // namespace

const LV2UI_Descriptor* IFxLV2UIDescriptor(const char* uri, IFxLV2Factory factory) {
    gFactory = factory;
    static const LV2UI_Descriptor descriptor{uri, Instantiate, Cleanup, PortEvent, ExtensionData};
    return &descriptor;
}
