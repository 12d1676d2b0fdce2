#pragma once
// The editor object as the plug-in core sees it: the core pushes parameter values to its
// controls, has it create its drawing surfaces when it is bound, and deletes it. The GUI
// framework's full declaration of this class takes the place of this one.

class IGraphics {
public:
    virtual ~IGraphics();
    // Plug-in-to-editor value path; value is normalized (0..1) or plain as the flag says.
    void PushParamToControls(int paramIdx, double value, bool normalized);
    // Creates the draw surface (editor width x height) and the scratch surface.
    void CreateDrawSurfaces();
};
