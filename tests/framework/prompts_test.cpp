// Value prompts without a window: menu labels and id numbering, the text entry's key filter, its
// opening text and committed value, and the prompt's choice between a menu and a text entry.
#include <gtest/gtest.h>

#include <string>

#include "framework/igraphicswin.h"
#include "framework/imenu.h"
#include "framework/textentry.h"
#include "test_binding.h"

namespace {
// Shows every menu as a line of labels (checked ones starred) and picks item `pick`; records the
// text an entry would open with.
class PromptEditor : public IGraphicsWin {
public:
    explicit PromptEditor(IFxBase* plug) : IGraphicsWin(plug, 100, 100, 0) {}
    IMenu* ShowPopupMenu(IMenu* menu, IBounds*) override {
        GrowString label;
        for (int i = 0; i < menu->NItems(); ++i) {
            menu->ItemLabel(i, &label);
            shown += std::string(label.Get()) + (menu->GetItem(i)->Flags() & IMenuItem::kChecked ? "* " : " ");
        }
        if (pick < 0) return nullptr;
        menu->SetChosenItemIdx(pick);
        return menu;
    }
    void OpenTextEntry(IControl*, ITextStyle*, IBounds*, const char* text, IFxParam*) override { entry = text; }
    std::string shown, entry;
    int pick = 0;
};

std::string Log(const TestBinding& plug) {
    std::string s;
    for (const RecordedCall& c : plug.calls)
        if (c.what != "changed") s += c.what + std::to_string(c.index) + " ";
    return s;
}
}  // namespace

TEST(GuiMenus, LabelsAndIdsNumberTopMenuFirst) {
    const struct {
        int prefix;
        const char* fifth;
    } labels[] = {{0, "e"}, {1, "5: e"}, {2, "05: e"}, {3, "005: e"}, {7, "e"}};
    for (const auto& c : labels) {
        IMenu menu(c.prefix);
        for (const char* t : {"a", "b", "c", "d", "e"}) menu.AddItem(t);
        GrowString label;
        menu.ItemLabel(4, &label);
        EXPECT_STREQ(label.Get(), c.fifth) << c.prefix;
    }

    // top: x, [sub1: s, t], y, [sub2: u] -> ids: top 0..3, sub1 4..5, sub2 6
    IMenu sub1, sub2, top;
    sub1.AddItem("s");
    sub1.AddItem("t");
    sub2.AddItem("u");
    top.AddItem("x");
    top.AddItem("1", 0, &sub1);
    top.AddItem("y");
    top.AddItem("2", 0, &sub2);
    const struct {
        int id;
        IMenu* menu;
        int index;
    } ids[] = {{0, &top, 0}, {2, &top, 2}, {4, &sub1, 0}, {5, &sub1, 1}, {6, &sub2, 0}, {7, nullptr, -1}};
    for (const auto& c : ids) {
        int counter = 0, index = -1;
        EXPECT_EQ(top.FindMenuItemById(c.id, &counter, &index), c.menu) << c.id;
        if (c.menu) {
            EXPECT_EQ(index, c.index) << c.id;
        }
    }
}

TEST(GuiTextEntry, KeyFilterOpeningTextAndCommittedValue) {
    IFxParam gain, toggle;
    gain.DefineRange("Gain", -3.5, -10, 10, 0.01, "dB", "", 1.0);
    toggle.DefineToggle("On", true, "", "");
    const struct {
        const IFxParam* param;
        const char* accepted;
        const char* refused;
    } filters[] = {{&gain, "0123456789+-.\b", "a ,e"}, {&toggle, "01+-\b", ".a "}, {nullptr, "a. \b", ""}};
    for (const auto& f : filters) {
        for (const char* c = f.accepted; *c; ++c) EXPECT_TRUE(TextEntryAccepts(f.param, *c)) << *c;
        for (const char* c = f.refused; *c; ++c) EXPECT_FALSE(TextEntryAccepts(f.param, *c)) << *c;
    }

    char text[kParamTextSize];
    TextEntryInitialText(gain, text);
    EXPECT_STREQ(text, "-3.50");
    gain.SetNegateDisplay(true);
    TextEntryInitialText(gain, text);
    EXPECT_STREQ(text, "3.50");
    EXPECT_DOUBLE_EQ(TextEntryValue(gain, "12.5"), -12.5);  // typed as displayed
    EXPECT_DOUBLE_EQ(TextEntryValue(gain, "x"), 0.0);
    EXPECT_DOUBLE_EQ(TextEntryValue(toggle, "on"), 1.0);
    EXPECT_DOUBLE_EQ(TextEntryValue(toggle, "off"), 0.0);
    EXPECT_DOUBLE_EQ(TextEntryValue(toggle, "1"), 1.0);  // no text matches: read as a number
}

TEST(GuiPrompts, MenuForTextsEntryForNumbersEachChangeInAGesture) {
    TestBinding plug{2};
    plug.GetParam(0)->DefineToggle("On", true, "", "");
    plug.GetParam(1)->DefineRange("Gain", -3.5, -10, 10, 0.01, "dB", "", 1.0);
    plug.GetParam(1)->SetNegateDisplay(true);
    auto* editor = new PromptEditor(&plug);
    auto* toggle = new IInvisibleSwitchControl(&plug, {0, 0, 10, 10}, 0);
    auto* knob = new IKnobMultiControl(&plug, {20, 0, 40, 20}, 1, IBitmapStrip{});
    editor->AddControl(toggle);
    editor->AddControl(knob);
    plug.BindGraphics(editor);
    toggle->SetPromptDisabled(false);
    knob->SetPromptDisabled(false);
    plug.calls.clear();

    editor->pick = -1;  // nothing chosen: nothing changes
    toggle->PromptForValue();
    EXPECT_EQ(editor->shown, "off on* ");
    EXPECT_EQ(Log(plug), "");
    editor->pick = 0;
    toggle->PromptForValue();
    EXPECT_EQ(toggle->Value(), 0.0);
    EXPECT_EQ(plug.GetParam(0)->Value(), 0.0);
    EXPECT_EQ(Log(plug), "inform0 ");

    plug.calls.clear();
    knob->PromptForValue();
    EXPECT_EQ(editor->entry, "3.50");
    editor->ApplyTextEntry(knob, plug.GetParam(1), "5");
    EXPECT_DOUBLE_EQ(plug.GetParam(1)->Value(), -5.0);
    editor->ApplyTextEntry(knob, plug.GetParam(1), "5");  // unchanged: no push
    EXPECT_EQ(Log(plug), "begin1 inform1 end1 ");
}
