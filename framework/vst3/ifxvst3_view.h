#pragma once
// IFxVST3View: the editor view through which a VST3 host embeds the plug-in's editor window in a
// window of its own ("HWND" only). The view holds one reference on the plug-in for its life and
// is listed in the plug-in's open views while it lives.
//
// Threads: every view call runs on the host's editor (user-interface) thread. attached and
// removed make and destroy the window without the plug-in mutex and take it only to tell the
// plug-in (EditorOpened, EditorClosed); the other calls take none.
#include "sdk/vst3/pluginview.h"

class IFxVST3;

class IFxVST3View : public Sdk::CPluginView {
public:
    explicit IFxVST3View(IFxVST3* plug);
    ~IFxVST3View() override;

    // "HWND" with an editor object: kResultOk; anything else kResultFalse.
    // [UI thread]
    Sdk::tresult PLUGIN_API isPlatformTypeSupported(Sdk::FIDString type) override;
    // Opens the editor window in parent; kResultFalse without an editor, for a platform type other
    // than "HWND", or when no window opened.
    // [UI thread, takes the plug-in lock only around EditorOpened]
    Sdk::tresult PLUGIN_API attached(void* parent, Sdk::FIDString type) override;
    // Closes the editor window.
    // [UI thread, takes the plug-in lock only around EditorClosed]
    Sdk::tresult PLUGIN_API removed() override;
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
};
