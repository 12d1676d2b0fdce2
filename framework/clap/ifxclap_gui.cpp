// IFxCLAP: the editor's extensions. For now the plug-in offers no editor.
#include "framework/clap/ifxclap.h"

const void* IFxCLAP::GuiExtension(const char* /*id*/) { return nullptr; }

void IFxCLAP::CloseGui() {}
