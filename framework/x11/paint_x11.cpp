// IGraphicsWin on X11: the off-screen surface (a heap bitmap) and its copy to the window, through
// a shared-memory image when the server is local and offers MIT-SHM, with XPutImage otherwise.
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstring>

#include "framework/x11/x11state.h"
#include "raster/bitmap.h"

namespace {
// Only a server on this machine can see our memory.
bool LocalServer(Display* display) {
    const char* name = DisplayString(display);
    return name && (name[0] == ':' || std::strncmp(name, "unix:", 5) == 0);
}

bool LittleEndianHost() {
    const uint32_t one = 1;
    unsigned char first;
    std::memcpy(&first, &one, 1);
    return first == 1;
}

// An image of the surface's words in the host's byte order; data stays the caller's.
XImage* WordImage(X11State* s, char* data, int width, int height, int bytesPerLine) {
    XImage* image = XCreateImage(s->display, s->visual, s->depth, ZPixmap, 0, data, width, height, 32, bytesPerLine);
    if (!image) return nullptr;
    if (image->bits_per_pixel != 32) {
        image->data = nullptr;
        XDestroyImage(image);
        return nullptr;
    }
    image->byte_order = LittleEndianHost() ? LSBFirst : MSBFirst;
    return image;
}

// The area's rows of the surface into the shared image, at the same place.
void CopyRows(PIX_IBitmap* surface, XImage* image, const IBounds& a) {
    for (int y = a.T; y < a.B; ++y)
        std::memcpy(image->data + static_cast<size_t>(y) * image->bytes_per_line + a.L * 4,
                    PIX_PixelAt(surface, a.L, y), static_cast<size_t>(a.W()) * 4);
}

// A width x height image in memory shared with the server; null when the server or the system
// will not have it.
XImage* ShareImage(X11State* s, int width, int height) {
    int major, minor;
    Bool pixmaps;
    if (!LocalServer(s->display) || !XShmQueryVersion(s->display, &major, &minor, &pixmaps) ||
        ImageByteOrder(s->display) != (LittleEndianHost() ? LSBFirst : MSBFirst))
        return nullptr;
    XImage* image = XShmCreateImage(s->display, s->visual, s->depth, ZPixmap, nullptr, &s->segment, width, height);
    if (!image) return nullptr;
    const int id =
        image->bits_per_pixel == 32 ? shmget(IPC_PRIVATE, image->bytes_per_line * height, IPC_CREAT | 0600) : -1;
    void* memory = id >= 0 ? shmat(id, nullptr, 0) : reinterpret_cast<void*>(-1);
    bool attached = false;
    if (memory != reinterpret_cast<void*>(-1)) {
        s->segment.shmid = id;
        s->segment.shmaddr = image->data = static_cast<char*>(memory);
        s->segment.readOnly = False;
        X11ErrorTrap trap(s->display);
        attached = XShmAttach(s->display, &s->segment) && trap.Errors() == 0;
    }
    if (id >= 0) shmctl(id, IPC_RMID, nullptr);  // freed once both sides let go
    if (attached) return image;
    if (memory != reinterpret_cast<void*>(-1)) shmdt(memory);
    image->data = nullptr;
    XDestroyImage(image);
    return nullptr;
}
}  // namespace

// False when the window's visual takes no 32-bit words at all.
bool IGraphicsWinAccess::MakeImage(X11State* s, int width, int height) {
    s->shared = ShareImage(s, width, height);
    if (s->shared) return true;
    XImage* probe = WordImage(s, nullptr, 1, 1, 4);
    if (probe) XDestroyImage(probe);
    return probe != nullptr;
}

void IGraphicsWinAccess::FreeImage(X11State* s) {
    if (!s->shared) return;
    XShmDetach(s->display, &s->segment);
    XSync(s->display, False);
    shmdt(s->segment.shmaddr);
    s->shared->data = nullptr;
    XDestroyImage(s->shared);
    s->shared = nullptr;
}

// The area (clipped to the surface) goes to the window; an open text entry is drawn over it first.
bool IGraphicsWin::PaintToScreen(IBounds* area) {
    X11State* s = mX11;
    if (!s || !mWindow || !mDrawSurface || !mDrawSurface->Pixels()) return true;
    const IBounds a = IntersectBounds(*area, {0, 0, mDrawSurface->Width(), mDrawSurface->Height()});
    if (a.W() <= 0 || a.H() <= 0) return true;
    IGraphicsWinAccess::EntryPaint(this, a);
    X11ErrorTrap trap(s->display);  // its sync also keeps the shared image ours until the server is done
    if (s->shared && s->shared->width >= a.R && s->shared->height >= a.B) {
        CopyRows(mDrawSurface, s->shared, a);
        XShmPutImage(s->display, s->window, s->gc, s->shared, a.L, a.T, a.L, a.T, a.W(), a.H(), False);
        return true;
    }
    IGraphicsWinAccess::PutBitmap(s, s->window, mDrawSurface, a);
    return true;
}

void IGraphicsWinAccess::PutBitmap(X11State* s, Drawable target, PIX_IBitmap* bitmap, const IBounds& a) {
    char* rows = reinterpret_cast<char*>(PIX_PixelAt(bitmap, 0, a.T));
    if (XImage* image = WordImage(s, rows, bitmap->Width(), a.H(), bitmap->RowSpan() * 4)) {
        XPutImage(s->display, target, s->gc, image, a.L, 0, a.L, a.T, a.W(), a.H());
        image->data = nullptr;
        XDestroyImage(image);
    }
}

PIX_IBitmap* CreateSurfaceBitmap(int width, int height) { return new PIX_MemBitmap(width, height); }
