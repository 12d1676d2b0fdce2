// The framework-drawn popup menu: key and pointer sequences against the choice it ends with (the
// (sub)menu and its ChosenItemIdx, as the Windows menu returns them), and where its levels open.
#include <gtest/gtest.h>

#include <string>

#include "framework/imenu.h"
#include "framework/menuview.h"

namespace {
// top: a, b (greyed), separator, sub > [s0, s1], c (disabled), d (checked)
struct TestMenus {
    IMenu top, sub;
    TestMenus() {
        sub.AddItem("s0");
        sub.AddItem("s1");
        top.AddItem("a");
        top.AddItem("b", IMenuItem::kGreyed);
        top.AddItem("", IMenuItem::kSeparator);
        top.AddItem("sub", 0, &sub);
        top.AddItem("c", IMenuItem::kDisabled);
        top.AddItem("d", IMenuItem::kChecked);
    }
};

// Applies ops: U D L R N X keys (Up, Down, Left, Right, Enter, Escape); m p r then level and item
// digits move, press or release the pointer on that row (item 9: left of every level). Returns
// "open<levels>" while the menu is up, else "top:i", "sub:i" or "none".
std::string Apply(IMenuView& view, TestMenus& m, const char* ops) {
    static const std::string keys = "UDLRNX";
    static const int codes[] = {kPromptKeyUp,    kPromptKeyDown,  kPromptKeyLeft,
                                kPromptKeyRight, kPromptKeyEnter, kPromptKeyEscape};
    for (const char* p = ops; *p && view.IsOpen(); ++p) {
        if (keys.find(*p) != std::string::npos) {
            view.Key(codes[keys.find(*p)]);
            continue;
        }
        const IBounds row = p[2] == '9' ? IBounds{0, 0, 1, 1} : view.ItemBounds(p[1] - '0', p[2] - '0');
        const int x = (row.L + row.R) / 2, y = (row.T + row.B) / 2;
        *p == 'm' ? view.Move(x, y) : *p == 'p' ? view.Press(x, y) : view.Release(x, y);
        p += 2;
    }
    if (view.IsOpen()) return "open" + std::to_string(view.Levels());
    IMenu* chosen = view.Result();
    const int other = chosen == &m.top ? m.sub.ChosenItemIdx() : m.top.ChosenItemIdx();
    if (other != -1) return "another menu chose";
    if (!chosen) return "none";
    return (chosen == &m.top ? "top:" : "sub:") + std::to_string(chosen->ChosenItemIdx());
}
}  // namespace

TEST(GuiMenuView, KeysAndPointerEndWithTheChosenMenuAndItem) {
    const struct {
        const char* ops;
        const char* expected;
    } cases[] = {
        {"DN", "top:0"},         // Down from nothing: the first item
        {"UN", "top:5"},         // Up from nothing: the last
        {"DDN", "open2"},        // skips greyed and separator; Enter on a submenu opens it
        {"DDNDN", "sub:1"},      // ... at its first item
        {"UUUN", "top:0"},       // skips disabled, greyed and separator upwards
        {"DDDDN", "top:0"},      // wraps
        {"DDRLN", "open2"},      // Left closes the submenu, its item stays current
        {"DDRX", "open1"},       // Escape closes one level
        {"DDRXX", "none"},       // and at the top the whole menu, choosing nothing
        {"NRL", "open1"},        // nothing current: Enter and Right do nothing
        {"p00r00", "top:0"},     // press and release on an item choose it
        {"r01r02r04", "open1"},  // greyed, separator, disabled: not choosable
        {"r03", "open2"},        // a submenu item opens, never chooses
        {"m03", "open2"},        // hovering opens the submenu
        {"m03m00", "open1"},     // and another item closes it
        {"m03r11", "sub:1"},     // a submenu item chosen
        {"m03DN", "sub:0"},      // keys act on the deepest level
        {"m03p09", "none"},      // a press outside every level closes
        {"m03r09", "open2"},     // a release outside does not
    };
    for (const auto& c : cases) {
        TestMenus m;
        IMenuView view(nullptr);
        ASSERT_TRUE(view.Open(&m.top, {10, 10, 50, 26}, 800, 600));
        EXPECT_EQ(Apply(view, m, c.ops), c.expected) << c.ops;
    }
    IMenu empty;
    IMenuView view(nullptr);
    EXPECT_FALSE(view.Open(&empty, {}, 800, 600));
    EXPECT_FALSE(view.IsOpen());
}

// Each level stays on the screen: below-right of the anchor's bottom-left corner, flipped to its
// left or above it where the screen ends; a submenu beside its item, on the left when there is no
// room on the right.
TEST(GuiMenuView, LevelsOpenBesideTheAnchorAndStayOnTheScreen) {
    const struct {
        IBounds anchor;
        int screenW, screenH;
        bool left, above, subLeft;
    } cases[] = {
        {{10, 10, 50, 26}, 800, 600, false, false, false},
        {{780, 10, 800, 26}, 800, 600, true, false, true},
        {{10, 560, 50, 590}, 800, 600, false, true, false},
        {{100, 10, 140, 26}, 200, 600, false, false, true},
    };
    for (const auto& c : cases) {
        TestMenus m;
        IMenuView view(nullptr);
        view.Open(&m.top, c.anchor, c.screenW, c.screenH);
        TestMenus unused;
        Apply(view, unused, "m03");
        ASSERT_EQ(view.Levels(), 2);
        const IBounds top = view.LevelBounds(0), sub = view.LevelBounds(1), item = view.ItemBounds(0, 3);
        EXPECT_EQ(c.left ? top.R : top.L, c.anchor.L) << c.anchor.L;
        EXPECT_EQ(c.above ? top.B : top.T, c.anchor.B) << c.anchor.L;
        EXPECT_EQ(sub.L < top.L, c.subLeft) << c.anchor.L;
        EXPECT_EQ(view.ItemBounds(1, 0).T, item.T) << c.anchor.L;
        for (const IBounds& b : {top, sub})
            EXPECT_TRUE(b.L >= 0 && b.T >= 0 && b.R <= c.screenW && b.B <= c.screenH) << c.anchor.L;
    }
}
