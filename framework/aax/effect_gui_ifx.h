#pragma once
// AAX_CEffectGUI_IFX: places the plug-in's editor object in the host's view container. The
// editor stays the plug-in's; this object only opens and closes its window.
#include "aax-library/effect_gui.h"

class IFxAAX;
class IGraphics;

// Host GUI thread. The window is made and destroyed without the plug-in mutex (the editor takes
// it only to mark its controls), so rendering goes on meanwhile; the plug-in hears of the editor
// (EditorOpened, EditorClosed) under it.
class AAX_CEffectGUI_IFX : public AAX_CEffectGUI {
public:
    AAX_CEffectGUI_IFX();
    ~AAX_CEffectGUI_IFX() override;

    // Closes an open editor and forgets the plug-in before the library lets go of its interface
    // (after which the host may release the plug-in).
    // [UI thread, takes the plug-in lock only to tell the plug-in of the editor's closing]
    int32_t ACF_CALL Uninitialize() override;
    // {height, width} of the editor when it is known; 0 in every case.
    // [UI thread]
    int32_t ACF_CALL ReportViewSize(float* size) const override;
    // Finds the plug-in behind the effect-parameters interface the host gave and its editor.
    // [UI thread]
    int32_t ACF_CALL FetchGraphics() override;
    // Opens the editor's window in the container's native window and tells the plug-in the
    // container for resize requests.
    // [UI thread, takes the plug-in lock only to tell the plug-in]
    int32_t ACF_CALL OpenEditorInContainer() override;
    int32_t ACF_CALL CloseEditorWindow() override;

private:
    void Forget();

    IFxAAX* mPlugin = nullptr;       // not owned; the host keeps it alive while the GUI is
    IGraphics* mGraphics = nullptr;  // the plug-in's
    bool mWindowOpen = false;        // the plug-in was told of an open editor
};
