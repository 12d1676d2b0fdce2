// IGraphicsWin without a window system: the stand-in of the native build. No window opens;
// images come from PNG files below the image folder; the surface is a heap bitmap and no font can
// be made, so text is not drawn.
#include <string>

#include "framework/igraphicswin.h"
#include "raster/png.h"

namespace {
std::string& ImageFolder() {
    static std::string folder = ".";
    return folder;
}
}  // namespace

int IGraphicsWin::WindowClassUsers() { return 0; }
double IGraphicsWin::GuiFrameRate() { return 25.0; }
void IGraphicsWin::SetImageFolder(const char* folder) { ImageFolder() = folder ? folder : "."; }
void* IFxModuleInstance() { return nullptr; }

IWindowHandle IGraphicsWin::OpenGuiWindow(IWindowHandle) { return nullptr; }
void IGraphicsWin::CloseGuiWindow() {}
IWindowHandle IGraphicsWin::ForgetWindow() { return nullptr; }
bool IGraphicsWin::PaintToScreen(IBounds*) { return true; }
void IGraphicsWin::SetTooltipText(const char*) {}
void IGraphicsWin::HidePointer() {}
void IGraphicsWin::ShowPointer() {}

void IGraphicsWin::ResizeGui(int width, int height) {
    if (width != mWidth || height != mHeight) IGraphics::ResizeGui(width, height);
}

PIX_IBitmap* IGraphicsWin::LoadBitmapResource(int, const char* fileName) {
    if (!fileName || !fileName[0]) return nullptr;
    return PIX_ReadPngFile((ImageFolder() + "/" + fileName).c_str(), nullptr);
}

PIX_IBitmap* CreateSurfaceBitmap(int width, int height) { return new PIX_MemBitmap(width, height); }
void* CreateStyleFont(const ITextStyle&) { return nullptr; }

// No window, so no prompt can be shown and no clipboard is in reach (the dialogs: dialogs_headless.cpp).
IMenu* IGraphicsWin::ShowPopupMenu(IMenu*, IBounds*) { return nullptr; }
void IGraphicsWin::OpenTextEntry(IControl*, ITextStyle*, IBounds*, const char*, IFxParam*) {}
void IGraphicsWin::CloseTextEntry(bool) {}
bool IGraphicsWin::GetClipboardText(GrowString* text) {
    text->Set(0, "", 0);
    return false;
}
