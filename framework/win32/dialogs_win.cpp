// IGraphicsWin on Win32: the services a plug-in calls through its editor — message boxes, the
// file and colour dialogs, opening a web address, well-known folders and the clipboard. All run on
// the editor window's thread; the dialogs are modal. Record sizes come from sizeof (they differ
// between 32- and 64-bit builds).
#include <windows.h>
// windows.h first
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include <cstdlib>
#include <cstring>

#include "framework/igraphicswin.h"

namespace {
constexpr int kPathChars = 255;  // a path with its NUL fits the dialogs' 256-byte buffers
constexpr int kPatternChars = 126;
constexpr int kExtensionChars = 15;

void SetText(GrowString* s, const char* text, int maxLen) {
    int len = 0;
    while (len < maxLen && text[len]) ++len;
    s->Set(0, text, len);
}

// Keeps everything up to and including the last backslash; "" when there is none or nothing follows.
void ModuleFolder(HMODULE module, GrowString* path) {
    char name[256] = {};
    const DWORD n = GetModuleFileNameA(module, name, sizeof name - 1);
    const char* slash = n ? std::strrchr(name, '\\') : nullptr;
    if (!slash || !slash[1]) {
        path->Set(0, "", 0);
        return;
    }
    path->Set(0, name, static_cast<int>(slash - name + 1));
}

void ShellFolder(int csidl, GrowString* path) {
    char name[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathA(nullptr, name, csidl, FALSE)) name[0] = 0;
    SetText(path, name, MAX_PATH);
}

struct MainWindowSearch {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<MainWindowSearch*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char name[129] = {};
    if (pid != search->processId || !GetClassNameA(window, name, sizeof name)) return TRUE;
    if (std::strcmp(name, search->className) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

// The dialog's title becomes the prompt.
UINT_PTR CALLBACK ColourDialogHook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* cc = reinterpret_cast<const CHOOSECOLORA*>(lParam);
        const char* prompt = cc ? reinterpret_cast<const char*>(cc->lCustData) : nullptr;
        if (prompt) SetWindowTextA(dialog, prompt);
    }
    return 0;
}

// "fxp fxb" → "*.fxp;*.fxb". Extensions that would make the pattern longer than kPatternChars
// are left out; the default extension is the first one unless it is too long to be one.
void BuildFilter(const char* extensions, char* filter, char* defaultExt) {
    char pattern[kPatternChars + 1] = {};
    int len = 0;
    bool first = true;
    for (const char* p = extensions; *p;) {
        while (*p == ' ') ++p;
        const char* end = p;
        while (*end && *end != ' ') ++end;
        const int n = static_cast<int>(end - p);
        if (n == 0) break;
        if (first && n <= kExtensionChars) std::memcpy(defaultExt, p, static_cast<size_t>(n)), defaultExt[n] = 0;
        first = false;
        const int need = (len ? 1 : 0) + 2 + n;
        if (len + need <= kPatternChars) {
            if (len) pattern[len++] = ';';
            pattern[len++] = '*';
            pattern[len++] = '.';
            std::memcpy(pattern + len, p, static_cast<size_t>(n));
            len += n;
            pattern[len] = 0;
        }
        p = end;
    }
    // description, NUL, pattern, NUL, NUL
    std::memcpy(filter, pattern, static_cast<size_t>(len) + 1);
    std::memcpy(filter + len + 1, pattern, static_cast<size_t>(len) + 1);
    filter[2 * len + 2] = 0;
}
}  // namespace

int IGraphicsWin::ShowMessageBox(const char* text, const char* caption, int type) {
    if (mMainWindow && !IsWindow(static_cast<HWND>(mMainWindow))) mMainWindow = nullptr;  // look again
    if (!mMainWindow && mParentWindow) {
        HWND top = static_cast<HWND>(mParentWindow);
        while (HWND up = GetParent(top)) top = up;
        mMainWindow = top;
        char name[129] = {};
        GetClassNameA(top, name, sizeof name);
        SetText(&mMainWindowClass, name, 128);
    } else if (!mMainWindow && mMainWindowClass.Get()[0]) {
        mProcessId = GetCurrentProcessId();
        MainWindowSearch search{mProcessId, mMainWindowClass.Get(), nullptr};
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
        mMainWindow = search.found;
    }
    return MessageBoxA(static_cast<HWND>(mMainWindow), text ? text : "", caption, static_cast<UINT>(type));
}

void IGraphicsWin::GetHostFolder(GrowString* path) { ModuleFolder(nullptr, path); }
void IGraphicsWin::GetPluginFolder(GrowString* path) { ModuleFolder(static_cast<HMODULE>(mHInstance), path); }
void IGraphicsWin::GetDesktopFolder(GrowString* path) { ShellFolder(CSIDL_DESKTOP, path); }
void IGraphicsWin::GetAppDataFolder(GrowString* path, bool allUsers) {
    ShellFolder(allUsers ? CSIDL_COMMON_APPDATA : CSIDL_LOCAL_APPDATA, path);
}

void IGraphicsWin::AskForFile(GrowString* fileName, int action, GrowString* folder, const char* extensions) {
    if (!mWindow) {
        fileName->Set(0, "", 0);
        return;
    }
    char file[kPathChars + 1] = {};
    std::strncpy(file, fileName->Get(), kPathChars);
    if (!folder->Get()[0]) GetDesktopFolder(folder);
    char initialFolder[kPathChars + 1] = {};
    std::strncpy(initialFolder, folder->Get(), kPathChars);
    char filter[2 * (kPatternChars + 1) + 1] = {};
    char defaultExt[kExtensionChars + 1] = {};
    const bool filtered = extensions && extensions[0];
    if (filtered) BuildFilter(extensions, filter, defaultExt);

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = static_cast<HWND>(mWindow);
    ofn.lpstrFilter = filtered && filter[0] ? filter : nullptr;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = initialFolder;
    ofn.lpstrDefExt = defaultExt[0] ? defaultExt : nullptr;
    BOOL confirmed;
    if (action == 1) {
        ofn.Flags = OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
        confirmed = GetSaveFileNameA(&ofn);
    } else {
        ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
        confirmed = GetOpenFileNameA(&ofn);
    }
    if (!confirmed) {
        fileName->Set(0, "", 0);
        return;
    }
    file[kPathChars] = 0;
    SetText(fileName, file, kPathChars);
    char drive[_MAX_DRIVE] = {}, dir[_MAX_DIR] = {};
    _splitpath(file, drive, dir, nullptr, nullptr);
    if (drive[0] || dir[0]) folder->SetFormatted(kPathChars + 1, "%s%s", drive, dir);
}

bool IGraphicsWin::AskForColour(IArgb* start, const char* prompt) {
    if (!mWindow || !start) return false;
    if (!mCustomColours) mCustomColours = new uint32_t[16]();
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = static_cast<HWND>(mWindow);
    cc.rgbResult = RGB(start->R & 255, start->G & 255, start->B & 255);
    cc.lpCustColors = reinterpret_cast<COLORREF*>(mCustomColours);
    cc.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK | CC_SOLIDCOLOR | CC_ANYCOLOR;
    cc.lCustData = reinterpret_cast<LPARAM>(prompt);
    cc.lpfnHook = ColourDialogHook;
    if (!ChooseColorA(&cc)) return false;
    mChosenColour.R = GetRValue(cc.rgbResult);
    mChosenColour.G = GetGValue(cc.rgbResult);
    mChosenColour.B = GetBValue(cc.rgbResult);
    return true;
}

bool IGraphicsWin::OpenUrl(const char* url, const char* caption, const char* confirm, const char* failure) {
    HWND owner = static_cast<HWND>(mWindow);
    if (confirm && MessageBoxA(owner, confirm, caption, MB_YESNO) != IDYES) return false;
    DWORD state = 0;
    if (url && InternetGetConnectedState(&state, 0) &&
        reinterpret_cast<INT_PTR>(ShellExecuteA(owner, "open", url, nullptr, nullptr, SW_SHOWNORMAL)) > 32)
        return true;
    if (failure) MessageBoxA(owner, failure, caption, MB_OK);
    return false;
}

// The conversion stops at the terminator or at the end of the clipboard's memory, whichever
// comes first: the data is another program's.
bool IGraphicsWin::GetClipboardText(GrowString* text) {
    text->Set(0, "", 0);
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(static_cast<HWND>(mWindow))) return false;
    bool ok = false;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
            const size_t cap = GlobalSize(data) / sizeof(wchar_t);
            size_t len = 0;
            while (len < cap && wide[len]) ++len;
            const int n = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(len), nullptr, 0, nullptr, nullptr);
            if (n > 0) {
                char* utf8 = new char[static_cast<size_t>(n)];
                WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(len), utf8, n, nullptr, nullptr);
                text->Set(0, utf8, n);
                delete[] utf8;
            }
            ok = true;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return ok;
}
