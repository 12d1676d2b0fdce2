#pragma once
// IFxVST3View: the editor view through which a VST3 host embeds the plug-in's editor window in a
// window of its own: an "HWND" on Windows, an X11 window ("X11EmbedWindowID") elsewhere, where
// the host's run loop drives the open editor (IFxVST3HostLoop). The view holds one reference on
// the plug-in for its life and is listed in the plug-in's open views while it lives.
//
// Threads: every view call runs on the host's editor (user-interface) thread. attached and
// removed make and destroy the window and register with the host's run loop without the plug-in
// mutex, and take it only to tell the plug-in (EditorOpened, EditorClosed); the other calls take
// none.
#include "framework/vst3/ifxvst3_hostloop.h"
#include "sdk/vst3/pluginview.h"

class IFxVST3;

class IFxVST3View : public Sdk::CPluginView {
public:
    explicit IFxVST3View(IFxVST3* plug);
    ~IFxVST3View() override;

    // This platform's window type with an editor object: kResultOk; anything else kResultFalse.
    // [UI thread]
    Sdk::tresult PLUGIN_API isPlatformTypeSupported(Sdk::FIDString type) override;
    // Opens the editor window in parent (on X11 a window id stored in the pointer), then registers
    // it with the host's run loop; kResultFalse without an editor, for another platform's window
    // type, or when no window opened.
    // [UI thread, takes the plug-in lock only around EditorOpened]
    Sdk::tresult PLUGIN_API attached(void* parent, Sdk::FIDString type) override;
    // Unregisters from the run loop, then closes the editor window.
    // [UI thread, takes the plug-in lock only around EditorClosed]
    Sdk::tresult PLUGIN_API removed() override;
    // Keeps the frame; with the window open, moves the run loop registration to the new frame's.
    // [UI thread]
    Sdk::tresult PLUGIN_API setFrame(Sdk::IEditorFrame* frame) override;
    // [UI thread]
    Sdk::tresult PLUGIN_API getSize(Sdk::ViewRect* size) override;
    // Keeps the rectangle; a resize the plug-in asked for ends here (EditorResized).
    // [UI thread]
    Sdk::tresult PLUGIN_API onSize(Sdk::ViewRect* newSize) override;

    // The plug-in asked the host to resize this view and waits for its onSize.
    // [UI thread] (RequestEditorResize)
    void ExpectResize() { mExpectingResize = true; }

private:
    IFxVST3* mPlug;
    bool mExpectingResize = false;
    bool mWindowOpen = false;
    IFxVST3HostLoop mHostLoop;
};
