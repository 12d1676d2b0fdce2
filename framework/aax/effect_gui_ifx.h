#pragma once
// AAX_CEffectGUI_IFX: places the plug-in's editor object in the host's view container. The
// editor stays the plug-in's; this object only opens and closes its window.
#include "aax-library/effect_gui.h"

class IFxAAX;
class IGraphics;

// Host GUI thread; no lock of its own. The window is made and destroyed without the plug-in
// mutex (the editor takes it only to mark its controls), so rendering goes on meanwhile.
class AAX_CEffectGUI_IFX : public AAX_CEffectGUI {
public:
    AAX_CEffectGUI_IFX();
    ~AAX_CEffectGUI_IFX() override;

    // Closes an open editor and forgets the plug-in before the library lets go of its interface
    // (after which the host may release the plug-in).
    // [UI thread]
    int32_t ACF_CALL Uninitialize() override;
    // {height, width} of the editor when it is known; 0 in every case.
    // [UI thread]
    int32_t ACF_CALL ReportViewSize(float* size) const override;
    // Finds the plug-in behind the effect-parameters interface the host gave and its editor.
    // [UI thread]
    int32_t ACF_CALL FetchGraphics() override;
    // Opens the editor's window in the container's native window and tells the plug-in the
    // container for resize requests.
    // [UI thread]
    int32_t ACF_CALL OpenEditorInContainer() override;
    int32_t ACF_CALL CloseEditorWindow() override;

private:
    void Forget();

    IFxAAX* mPlugin = nullptr;       // not owned; the host keeps it alive while the GUI is
    IGraphics* mGraphics = nullptr;  // the plug-in's
};
