// Prompts and dialogs of a real editor window (Wine with Xvfb): a small plug-in with prompts
// enabled, driven by posted messages. Menus and dialogs are modal, so a thread timer finds the
// "#32768" menu or "#32770" dialog window and answers it with keys or commands.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "framework/igraphicswin.h"
#include "framework/imenu.h"
#include "test_binding.h"
#include "tests/host_window_win.h"

namespace {
// ---- The modal-window driver: runs on the thread's own timer inside any modal loop ----
std::function<void(HWND)> gOnMenu;                 // called once for the next menu
std::function<int(const std::string&)> gOnDialog;  // text of a dialog -> command to post
std::string gDialogs;                              // every dialog's texts, "|" after each
HWND gAnswered;

BOOL CALLBACK AddText(HWND child, LPARAM out) {
    char text[256] = {};
    GetWindowTextA(child, text, sizeof text);
    *reinterpret_cast<std::string*>(out) += std::string(text) + " ";
    return TRUE;
}

VOID CALLBACK Drive(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu && IsWindowVisible(menu) && gOnMenu) {
        auto onMenu = gOnMenu;
        gOnMenu = nullptr;
        onMenu(menu);
    }
    HWND dialog = FindWindowA("#32770", nullptr);
    if (!dialog || !IsWindowVisible(dialog) || dialog == gAnswered || !gOnDialog) return;
    std::string text;
    AddText(dialog, reinterpret_cast<LPARAM>(&text));
    EnumChildWindows(dialog, AddText, reinterpret_cast<LPARAM>(&text));
    gDialogs += text + "|";
    gAnswered = dialog;
    PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(gOnDialog(text)), 0);
}

struct Driver {
    Driver() { timer = SetTimer(nullptr, 0, 50, Drive); }
    ~Driver() {
        KillTimer(nullptr, timer);
        gOnMenu = nullptr;
        gOnDialog = nullptr;
        gDialogs.clear();
        gAnswered = nullptr;
    }
    UINT_PTR timer;
};

std::string Log(const TestBinding& plug) {
    std::string s;
    for (const RecordedCall& c : plug.calls)
        if (c.what != "changed") s += c.what + std::to_string(c.index) + " ";
    return s;
}

// A switch on a toggle (prompted with a menu) and a knob on a gain (prompted with a text entry).
class Prompts : public ::testing::Test {
protected:
    void SetUp() override {
        plug.GetParam(0)->DefineToggle("On", true, "", "");
        plug.GetParam(1)->DefineRange("Gain", -3.5, -20, 20, 0.01, "dB", "", 1.0);
        editor = new IGraphicsWin(&plug, 200, 100, 0);
        editor->SetHInstance(IFxModuleInstance());
        toggle = new ISwitchControl(&plug, {0, 0, 40, 40}, 0, IBitmapStrip{});
        knob = new IKnobMultiControl(&plug, {100, 0, 160, 40}, 1, IBitmapStrip{});
        editor->AddControl(toggle);
        editor->AddControl(knob);
        toggle->SetPromptDisabled(false);
        knob->SetPromptDisabled(false);
        plug.BindGraphics(editor);
        Open();
        ASSERT_NE(window, nullptr);
        plug.calls.clear();
    }
    void TearDown() override {
        editor->CloseGuiWindow();
        testwin::ReturnHostWindow(host);
    }
    // Input is sent, not posted, and ticks come only from the test: focus changes from other
    // windows on the display cannot slip in between.
    void Open() {
        window = static_cast<HWND>(editor->OpenGuiWindow(host));
        KillTimer(window, 2);
    }
    void Click(UINT down, UINT up, int x, int y) {
        SendMessageA(window, down, down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageA(window, up, 0, MAKELPARAM(x, y));
    }
    void RightClick(int x, int y) { Click(WM_RBUTTONDOWN, WM_RBUTTONUP, x, y); }
    HWND Entry() { return GetDlgItem(window, 99); }
    void Type(const char* keys, WPARAM finalKey) {
        HWND edit = Entry();
        for (const char* k = keys; *k; ++k) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(*k), 1);
        if (finalKey) SendMessageA(edit, WM_KEYDOWN, finalKey, 1);
        SendMessageA(window, WM_TIMER, 2, 0);  // the tick that applies or drops the entry
    }
    TestBinding plug{2, "1-1 2-2", 1, kApiVST2};  // VST2: a right click reaches the control
    HWND host = testwin::HostWindow(300, 200);
    IGraphicsWin* editor = nullptr;  // the plug-in owns it
    IControl* toggle = nullptr;
    IControl* knob = nullptr;
    HWND window = nullptr;
};
}  // namespace

TEST_F(Prompts, TextEntryCommitsFilteredTextCancelsAndLeavesNothingOnClose) {
    ITextStyle style;
    style.entryBackground = {255, 200, 0, 0};
    knob->SetTextStyle(style);
    RightClick(130, 20);
    HWND edit = Entry();
    ASSERT_NE(edit, nullptr);
    char text[32] = {};
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "-3.50");
    RECT r;
    GetClientRect(edit, &r);
    UpdateWindow(edit);
    HDC dc = GetDC(edit);
    EXPECT_EQ(GetPixel(dc, r.right - 2, r.bottom - 2), RGB(200, 0, 0));  // beyond the text: the entry's colour
    ReleaseDC(edit, dc);
    Type("12a.5 ", VK_RETURN);  // replaces the selected text; 'a' and ' ' are refused
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_DOUBLE_EQ(plug.GetParam(1)->Value(), 12.5);
    EXPECT_EQ(Log(plug), "begin1 end1 begin1 inform1 end1 ");  // the click, then the commit

    RightClick(130, 20);
    ASSERT_NE(Entry(), nullptr);
    Type("7", VK_ESCAPE);
    EXPECT_EQ(Entry(), nullptr);
    EXPECT_DOUBLE_EQ(plug.GetParam(1)->Value(), 12.5);

    RightClick(130, 20);  // the field just took the focus back: a click cancels
    Type("6", 0);
    SetFocus(window);
    SetFocus(Entry());
    Click(WM_LBUTTONDOWN, WM_LBUTTONUP, 5, 80);
    SendMessageA(window, WM_TIMER, 2, 0);
    EXPECT_EQ(Entry(), nullptr);
    EXPECT_DOUBLE_EQ(plug.GetParam(1)->Value(), 12.5);

    RightClick(130, 20);  // later, a click on the editor commits
    Type("4", 0);
    Click(WM_LBUTTONDOWN, WM_LBUTTONUP, 5, 80);
    SendMessageA(window, WM_TIMER, 2, 0);
    EXPECT_EQ(Entry(), nullptr);
    EXPECT_DOUBLE_EQ(plug.GetParam(1)->Value(), 4.0);

    // Closing the editor with an entry open drops it; the next window starts without one.
    RightClick(130, 20);
    edit = Entry();
    ASSERT_NE(edit, nullptr);
    editor->CloseGuiWindow();
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_FALSE(editor->TextEntryOpen());
    Open();
    RightClick(130, 20);
    ASSERT_NE(Entry(), nullptr);
    Type("9", VK_RETURN);
    EXPECT_DOUBLE_EQ(plug.GetParam(1)->Value(), 9.0);

    // The host destroys the editor window itself.
    RightClick(130, 20);
    ASSERT_NE(Entry(), nullptr);
    DestroyWindow(window);
    EXPECT_FALSE(editor->TextEntryOpen());
    Open();

    // A resize replaces the controls: an open entry goes with the control it edits.
    RightClick(130, 20);
    edit = Entry();
    ASSERT_NE(edit, nullptr);
    editor->ResizeGui(220, 100);
    EXPECT_FALSE(IsWindow(edit));
    SendMessageA(window, WM_TIMER, 2, 0);
    EXPECT_FALSE(editor->TextEntryOpen());
}

TEST_F(Prompts, MenuOpensAtThePointerAndItsChoiceReachesTheParameter) {
    Driver driver;
    RECT menuRect{};
    std::string checks;
    gOnMenu = [&](HWND menu) {
        GetWindowRect(menu, &menuRect);
        HMENU h = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(h); ++i) {
            char label[32] = {};
            GetMenuStringA(h, static_cast<UINT>(i), label, sizeof label, MF_BYPOSITION);
            checks +=
                std::string(label) + (GetMenuState(h, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED ? "* " : " ");
        }
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    };
    RightClick(20, 20);  // over the toggle, which is on
    POINT at{0, 40};     // the prompt rectangle's bottom-left corner
    ClientToScreen(window, &at);
    EXPECT_EQ(checks, "off on* ");
    EXPECT_EQ(menuRect.left, at.x);
    EXPECT_EQ(menuRect.top, at.y);
    EXPECT_EQ(plug.GetParam(0)->Value(), 0.0);
    EXPECT_EQ(Log(plug), "begin0 inform0 inform0 end0 ");  // the menu took the release

    // A menu escaped outside any press chooses nothing, and leaves the next drag's gesture whole.
    gOnMenu = [](HWND menu) { PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0); };
    IMenu own;
    own.AddItem("x");
    IBounds r{0, 0, 10, 10};
    EXPECT_EQ(editor->ShowPopupMenu(&own, &r), nullptr);
    plug.calls.clear();
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(130, 20));
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(130, 10));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(130, 10));
    EXPECT_EQ(Log(plug), "begin1 inform1 end1 ");

    // Closing the editor while the menu is up ends the menu; nothing is chosen.
    plug.calls.clear();
    gOnMenu = [&](HWND) { editor->CloseGuiWindow(); };
    RightClick(20, 20);
    testwin::Pump(100);
    HWND menu = FindWindowA("#32768", nullptr);
    EXPECT_TRUE(!menu || !IsWindowVisible(menu));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(plug.GetParam(0)->Value(), 0.0);
    EXPECT_EQ(Log(plug), "begin0 end0 inform0 ");  // the gesture ends with the window
    Open();
    ASSERT_NE(window, nullptr);
}

TEST_F(Prompts, DialogsReturnWhatWasChosen) {
    Driver driver;
    gOnDialog = [](const std::string& text) {
        if (text.find("Sure?") != std::string::npos) return IDYES;
        if (text.find("Declined") != std::string::npos) return IDNO;
        return text.find("Skip") != std::string::npos ? IDCANCEL : IDOK;
    };
    EXPECT_EQ(editor->ShowMessageBox("Sure?", "Box", MB_YESNO), IDYES);
    EXPECT_NE(gDialogs.find("Box"), std::string::npos);

    const IArgb start{255, 10, 20, 30};
    EXPECT_TRUE(editor->AskForColour(const_cast<IArgb*>(&start), "Pick a colour"));
    EXPECT_NE(gDialogs.find("Pick a colour"), std::string::npos);  // the prompt is the title
    EXPECT_EQ(editor->ChosenColour().Packed(), start.Packed());
    EXPECT_FALSE(editor->AskForColour(const_cast<IArgb*>(&start), "Skip"));

    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string path = std::string(temp) + "tz prompt.fxp";
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    GrowString file("tz prompt.fxp"), folder(temp);
    editor->AskForFile(&file, 0, &folder, "fxp fxb");
    EXPECT_EQ(_stricmp(file.Get(), path.c_str()), 0) << file.Get();
    EXPECT_EQ(_stricmp(folder.Get(), temp), 0) << folder.Get();
    GrowString saved("new.fxb");
    editor->AskForFile(&saved, 1, &folder, "fxb");
    EXPECT_EQ(_stricmp(saved.Get(), (std::string(temp) + "new.fxb").c_str()), 0) << saved.Get();
    std::remove(path.c_str());

    // A declined confirmation opens nothing; an address that cannot be opened shows the failure.
    gDialogs.clear();
    EXPECT_FALSE(editor->OpenUrl("tz-none://nothing", "Web", "Declined?", "Failed"));
    EXPECT_EQ(gDialogs.find("Failed"), std::string::npos);
    EXPECT_FALSE(editor->OpenUrl("tz-none://nothing", "Web", "Sure?", "Failed"));
    EXPECT_NE(gDialogs.find("Failed"), std::string::npos);
}

TEST_F(Prompts, FoldersAndClipboard) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    *(std::strrchr(exe, '\\') + 1) = 0;
    GrowString folder;
    editor->GetHostFolder(&folder);
    EXPECT_STREQ(folder.Get(), exe);
    editor->GetPluginFolder(&folder);
    EXPECT_STREQ(folder.Get(), exe);
    for (int i = 0; i < 3; ++i) {
        if (i == 0) editor->GetDesktopFolder(&folder);
        if (i == 1) editor->GetAppDataFolder(&folder, true);
        if (i == 2) editor->GetUserAppDataFolder(&folder);
        const std::string f = folder.Get();
        EXPECT_GT(f.size(), 2u) << i;
        EXPECT_NE(f.back(), '\\') << i;
    }

    const wchar_t kText[] = L"Gr\u00fc\u00dfe \u20ac";
    ASSERT_TRUE(OpenClipboard(window));
    EmptyClipboard();
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, sizeof kText);
    std::memcpy(GlobalLock(data), kText, sizeof kText);
    GlobalUnlock(data);
    SetClipboardData(CF_UNICODETEXT, data);
    CloseClipboard();
    GrowString text;
    EXPECT_TRUE(editor->GetClipboardText(&text));
    EXPECT_STREQ(text.Get(),
                 "Gr\xc3\xbc\xc3\x9f"
                 "e \xe2\x82\xac");
}
