#pragma once
// IFxEditor: what the plug-in core asks of the editor it owns. The GUI framework's IGraphics
// implements it, so the core binds, feeds and deletes its editor without depending on the GUI.
class IGraphics;

class IFxEditor {
public:
    virtual ~IFxEditor() = default;
    // Plug-in-to-editor value path, on the caller's thread; nothing is sent back to the plug-in.
    // [any thread]
    virtual void PushParamToControls(int paramIdx, double value, bool normalized) = 0;
    // The editor-sized drawing surfaces; BindGraphics calls it once.
    // [main thread, plug-in lock held by caller]
    virtual void CreateDrawSurfaces() = 0;
    // The same object as the GUI framework knows it, for the bindings and the plug-in class.
    // [any thread]
    virtual IGraphics* Graphics() = 0;
};
