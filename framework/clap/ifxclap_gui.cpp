// The editor of IFxCLAP: the plug-in's "clap.gui" extension, the framework's editor embedded at
// its fixed size in the host's window ("win32" on Windows, "x11" on Linux; never floating). On
// Linux the host's loop drives the open editor, as the VST3 run loop does: a timer of
// 1000 / Fps() ms through the host's "clap.timer-support" runs the plug-in's idle work and the
// redraw tick, the editor's X connection through "clap.posix-fd-support" its window events.
// Without them the editor opens all the same, without ticks; the plug-in starts no thread.
//
// Threads: every entry runs on the host's main thread, which is the editor's UI thread. The
// window is made and closed without the plug-in lock; the plug-in hears of the editor under it,
// and the host is never called while it is held.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "framework/clap/ifxclap.h"
#include "framework/igraphics.h"
#include "sdk/clap/ext_gui.h"
#include "sdk/clap/ext_posix_fd.h"
#include "sdk/clap/ext_timer.h"

namespace {
#ifdef _WIN32
constexpr const char* kApi = Clap::kWindowApiWin32;
#else
constexpr const char* kApi = Clap::kWindowApiX11;
#endif

bool IsOurApi(const char* api, bool floating) { return !floating && api && std::strcmp(api, kApi) == 0; }

// The host's window as the editor's OpenGuiWindow takes it: an HWND, or an X Window id.
IWindowHandle ParentHandle(const Clap::Window& window) {
#ifdef _WIN32
    return window.win32;
#else
    return reinterpret_cast<IWindowHandle>(static_cast<uintptr_t>(window.x11));
#endif
}
}  // namespace

struct IFxCLAP::Gui {
    bool open = false;  // the editor's window is in the host's (set_parent succeeded)
#ifndef _WIN32
    // What the host's loop runs for the open editor; a null table: nothing registered with it.
    const Clap::HostTimerSupport* timers = nullptr;
    Clap::Id timer = Clap::kInvalidId;
    const Clap::HostPosixFdSupport* fds = nullptr;
    int fd = -1;
#endif

    // The plug-in behind p, its thread checked (debug and test builds).
    static IFxCLAP* Main(const Clap::Plugin* p, const char* where) {
        IFxCLAP* plug = From(p);
        if (plug) plug->CheckThread(kMainThread, where);
        return plug;
    }
    // The plug-in when create made its editor state (and it has an editor), else null.
    static IFxCLAP* Created(const Clap::Plugin* p, const char* where) {
        IFxCLAP* plug = Main(p, where);
        return plug && plug->mGui && plug->GetGraphics() ? plug : nullptr;
    }
    // The same once the editor's window is open in the host's.
    static IFxCLAP* Open(const Clap::Plugin* p, const char* where) {
        IFxCLAP* plug = Created(p, where);
        return plug && plug->mGui->open ? plug : nullptr;
    }

    // ---- clap.gui ----
    // [main thread]
    static bool CLAP_CALL IsApiSupported(const Clap::Plugin* p, const char* api, bool floating) {
        IFxCLAP* plug = Main(p, __func__);
        return plug && plug->GetGraphics() && IsOurApi(api, floating);
    }
    static bool CLAP_CALL GetPreferredApi(const Clap::Plugin* p, const char** api, bool* floating) {
        if (!IsApiSupported(p, kApi, false) || !api || !floating) return false;
        *api = kApi;
        *floating = false;
        return true;
    }
    static bool CLAP_CALL Create(const Clap::Plugin* p, const char* api, bool floating) {
        IFxCLAP* plug = From(p);
        if (!IsApiSupported(p, api, floating) || plug->mGui) return false;
        plug->mGui = new Gui;
        return true;
    }
    // [main thread, takes the plug-in lock only around EditorClosed]
    static void CLAP_CALL Destroy(const Clap::Plugin* p) {
        if (IFxCLAP* plug = Main(p, __func__)) plug->CloseGui();
    }
    // [main thread]
    static bool CLAP_CALL SetScale(const Clap::Plugin*, double) { return false; }  // physical pixels only
    static bool CLAP_CALL GetSize(const Clap::Plugin* p, uint32_t* width, uint32_t* height) {
        IFxCLAP* plug = Created(p, __func__);
        if (!plug || !width || !height) return false;
        *width = static_cast<uint32_t>(plug->GetGraphics()->Width());
        *height = static_cast<uint32_t>(plug->GetGraphics()->Height());
        return true;
    }
    static bool CLAP_CALL CanResize(const Clap::Plugin*) { return false; }
    static bool CLAP_CALL GetResizeHints(const Clap::Plugin* p, Clap::GuiResizeHints* hints) {
        if (!Created(p, __func__) || !hints) return false;
        *hints = Clap::GuiResizeHints{false, false, false, 0, 0};
        return true;
    }
    // Every size a host proposes comes back as the editor's own.
    // [main thread]
    static bool CLAP_CALL AdjustSize(const Clap::Plugin* p, uint32_t* width, uint32_t* height) {
        return GetSize(p, width, height);
    }
    static bool CLAP_CALL SetSize(const Clap::Plugin* p, uint32_t width, uint32_t height) {
        uint32_t w = 0, h = 0;
        return GetSize(p, &w, &h) && width == w && height == h;
    }
    // The editor opens in window, once; the plug-in hears of it, then the host's loop takes it.
    // [main thread, takes the plug-in lock only around EditorOpened]
    static bool CLAP_CALL SetParent(const Clap::Plugin* p, const Clap::Window* window) {
        IFxCLAP* plug = Created(p, __func__);
        if (!plug || plug->mGui->open || !window || !IsOurApi(window->api, false)) return false;
        IGraphics* editor = plug->GetGraphics();
        if (!editor->OpenGuiWindow(ParentHandle(*window))) return false;
        plug->mGui->open = true;
        {
            ScopedPlugLock lock(plug->GetMutex());
            plug->EditorOpened();
        }
        StartLoop(plug, editor);
        return true;
    }
    // [main thread]
    static bool CLAP_CALL SetTransient(const Clap::Plugin*, const Clap::Window*) { return false; }
    static void CLAP_CALL SuggestTitle(const Clap::Plugin*, const char*) {}
    // The editor is a child of the host's window: it shows and hides with it.
    // [main thread]
    static bool CLAP_CALL Show(const Clap::Plugin* p) { return Open(p, __func__) != nullptr; }
    static bool CLAP_CALL Hide(const Clap::Plugin* p) { return Open(p, __func__) != nullptr; }

#ifndef _WIN32
    // ---- clap.timer-support, clap.posix-fd-support: the host's loop ----
    // The plug-in's idle work under the lock, then the redraw tick (which takes the window's
    // queued events first).
    // [main thread, takes the plug-in lock only around OnGuiIdle]
    static void CLAP_CALL OnTimer(const Clap::Plugin* p, Clap::Id id) {
        IFxCLAP* plug = Open(p, __func__);
        if (!plug || !plug->mGui->timers || id != plug->mGui->timer) return;
        {
            ScopedPlugLock lock(plug->GetMutex());
            plug->OnGuiIdle();
        }
        plug->GetGraphics()->HandleTimerTick();
    }
    // [main thread]
    static void CLAP_CALL OnFd(const Clap::Plugin* p, int fd, uint32_t) {
        IFxCLAP* plug = Open(p, __func__);
        if (plug && plug->mGui->fds && fd == plug->mGui->fd) plug->GetGraphics()->HandleWindowEvents();
    }
#endif

    // Registers the open editor's timer and descriptor with the host's loop, as far as the host
    // offers one. Calls the host: no plug-in lock held.
    // [main thread]
    static void StartLoop(IFxCLAP* plug, IGraphics* editor) {
#ifdef _WIN32
        (void)plug, (void)editor;  // Windows delivers the window's messages and timer itself
#else
        Gui& gui = *plug->mGui;
        const auto* timers = static_cast<const Clap::HostTimerSupport*>(plug->HostExtension(Clap::kExtTimerSupport));
        const uint32_t period = static_cast<uint32_t>(1000 / std::max(editor->Fps(), 1));
        if (timers && timers->register_timer && timers->unregister_timer &&
            timers->register_timer(plug->Host(), period, &gui.timer))
            gui.timers = timers;
        const auto* fds = static_cast<const Clap::HostPosixFdSupport*>(plug->HostExtension(Clap::kExtPosixFdSupport));
        const int fd = editor->EventDescriptor();
        if (fd >= 0 && fds && fds->register_fd && fds->unregister_fd &&
            fds->register_fd(plug->Host(), fd, Clap::kPosixFdRead)) {
            gui.fds = fds;
            gui.fd = fd;
        }
#endif
    }
    // Unregisters what StartLoop registered: no tick or event reaches a closed editor.
    // [main thread]
    static void StopLoop(IFxCLAP* plug) {
#ifdef _WIN32
        (void)plug;
#else
        Gui& gui = *plug->mGui;
        if (gui.timers) gui.timers->unregister_timer(plug->Host(), gui.timer);
        if (gui.fds) gui.fds->unregister_fd(plug->Host(), gui.fd);
        gui.timers = nullptr;
        gui.fds = nullptr;
#endif
    }
};

const void* IFxCLAP::GuiExtension(const char* id) {
    static const Clap::PluginGui gui{
        Gui::IsApiSupported, Gui::GetPreferredApi, Gui::Create,         Gui::Destroy,    Gui::SetScale,
        Gui::GetSize,        Gui::CanResize,       Gui::GetResizeHints, Gui::AdjustSize, Gui::SetSize,
        Gui::SetParent,      Gui::SetTransient,    Gui::SuggestTitle,   Gui::Show,       Gui::Hide,
    };
    if (!id) return nullptr;
    if (!std::strcmp(id, Clap::kExtGui)) return &gui;
#ifndef _WIN32
    static const Clap::PluginTimerSupport timer{Gui::OnTimer};
    static const Clap::PluginPosixFdSupport fd{Gui::OnFd};
    if (!std::strcmp(id, Clap::kExtTimerSupport)) return &timer;
    if (!std::strcmp(id, Clap::kExtPosixFdSupport)) return &fd;
#endif
    return nullptr;
}

// The host's loop lets go first; the plug-in hears of the closing under the lock; then the window
// closes (ending a gesture it holds).
void IFxCLAP::CloseGui() {
    if (!mGui) return;
    Gui::StopLoop(this);
    IGraphics* editor = GetGraphics();
    if (mGui->open && editor) {
        {
            ScopedPlugLock lock(GetMutex());
            EditorClosed();
        }
        editor->CloseGuiWindow();
    }
    delete mGui;
    mGui = nullptr;
}
