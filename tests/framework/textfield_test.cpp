// The framework-drawn text entry: keys, pastes and the pointer against its text, caret and
// selection; the parameter's key filter and the length limit; its painting.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/fxparam.h"
#include "framework/igraphicswin.h"
#include "framework/textfield.h"
#include "raster/blend.h"

namespace {
// Every code point 10 pixels wide, whatever fonts the machine has.
class TenPixelField : public ITextField {
protected:
    int TextWidth(const char* utf8, int bytes) override {
        int n = 0;
        for (int i = 0; i < bytes; ++i) n += (utf8[i] & 0xC0) != 0x80;
        return 10 * n;
    }
};

const IBounds kRect{100, 0, 160, 16};  // its boundaries at x = 101 + 10 i when left aligned

// Applies ops: L R H E (shifted: l r h e), W w (Ctrl+Left/Right), B D A N X (Backspace, Delete, Select
// all, Enter, Escape), [paste], Pxxx / Gxxx pointer press / drag at x, U types U+20AC; any other
// character is typed. Returns "text|caret|start-end|result of the last key".
std::string Apply(ITextField& field, const char* ops) {
    static const std::string keys = "LRHEWBDANX";
    static const int codes[] = {kPromptKeyLeft,  kPromptKeyRight,     kPromptKeyHome,   kPromptKeyEnd,
                                kPromptKeyLeft,  kPromptKeyBackspace, kPromptKeyDelete, kPromptKeySelectAll,
                                kPromptKeyEnter, kPromptKeyEscape};
    ITextField::Result result = ITextField::kNone;
    for (const char* p = ops; *p; ++p) {
        const size_t k = keys.find(static_cast<char>(std::toupper(*p)));
        const bool key = k != std::string::npos && (std::isupper(*p) || std::strchr("lrhew", *p));
        if (*p == '[') {
            const char* end = std::strchr(p, ']');
            field.Insert(std::string(p + 1, end).c_str());
            p = end;
        } else if (*p == 'P' || *p == 'G') {
            const int x = std::atoi(std::string(p + 1, 3).c_str());
            *p == 'P' ? field.Press(x) : field.Drag(x);
            p += 3;
        } else if (key) {
            result = field.Key(*p == 'w' ? kPromptKeyRight : codes[k], 0, std::islower(*p) && *p != 'w', k == 4);
        } else {
            result = field.Key(kPromptKeyChar, *p == 'U' ? 0x20AC : static_cast<unsigned char>(*p), false, false);
        }
    }
    return std::string(field.Text()) + "|" + std::to_string(field.Caret()) + "|" +
           std::to_string(field.SelectionStart()) + "-" + std::to_string(field.SelectionEnd()) + "|" + "-CX"[result];
}
}  // namespace

TEST(GuiTextField, KeysPastesAndPointerEditAsTheWindowsEntry) {
    IFxParam gain, toggle;
    gain.DefineRange("Gain", 0, -10, 10, 0.01, "dB", "", 1.0);
    toggle.DefineToggle("On", true, "", "");
    const struct {
        const char* text;
        const IFxParam* param;
        int maxLength, align;
        const char* ops;
        const char* expected;
    } cases[] = {
        {"12.5", nullptr, 0, 0, "", "12.5|4|0-4|-"},  // opens all selected, caret at the end
        {"12.5", nullptr, 0, 0, "7", "7|1|1-1|-"},
        {"12.5", nullptr, 0, 0, "L", "12.5|0|0-0|-"},  // an arrow collapses the selection to its side
        {"12.5", nullptr, 0, 0, "HR", "12.5|1|1-1|-"},
        {"12.5", nullptr, 0, 0, "HrrB", ".5|0|0-0|-"},
        {"12.5", nullptr, 0, 0, "ErhD", "|0|0-0|-"},
        {"12.5", nullptr, 0, 0, "EBLD", "12|2|2-2|-"},
        {"12.5", nullptr, 0, 0, "LA", "12.5|4|0-4|-"},
        {"12.5", nullptr, 0, 0, "E", "12.5|4|4-4|-"},
        {"ab cd ef", nullptr, 0, 0, "EWW", "ab cd ef|3|3-3|-"},
        {"ab cd ef", nullptr, 0, 0, "Hww", "ab cd ef|6|6-6|-"},
        {"3", nullptr, 0, 0, "N", "3|1|0-1|C"},
        {"3", nullptr, 0, 0, "9X", "9|1|1-1|X"},
        {"", &gain, 0, 0, "a-1.x5 ", "-1.5|4|4-4|-"},  // typed characters pass the parameter's filter
        {"", &toggle, 0, 0, "a-1.5", "-15|3|3-3|-"},
        {"", nullptr, 0, 0, "a-1. x", "a-1. x|6|6-6|-"},
        {"", &gain, 0, 0, "[1a\n2\t3]", "1a23|4|4-4|-"},  // a paste keeps all but control characters
        {"12.5", nullptr, 4, 0, "E9", "12.5|4|4-4|-"},    // the length limit refuses keys, cuts pastes
        {"12.5", nullptr, 4, 0, "9", "9|1|1-1|-"},
        {"12.5", nullptr, 4, 0, "EBB[3456]", "1234|4|4-4|-"},
        {u8"a\u00E9b", nullptr, 0, 0, "ELBU", u8"a\u20ACb|2|2-2|-"},                    // UTF-8 by code point
        {u8"a\u00E9", nullptr, 3, 0, "EU", u8"a\u00E9\u20AC|3|3-3|-"},                  // the limit counts code points
        {"a\xE0\x80\x80", nullptr, 0, 0, "[\n]", "a\xC3\xA0\xC2\x80\xC2\x80|4|0-4|-"},  // bytes as themselves
        {"12.5", nullptr, 0, 0, "P124G143", "12.5|4|2-4|-"},        // press at a boundary, drag extends
        {"12", nullptr, 0, 1, "P132", "12|1|1-1|-"},                // centred: boundaries at 120, 130, 140
        {"12", nullptr, 0, 2, "P147", "12|1|1-1|-"},                // right aligned: 140, 150, 160
        {"123456789", nullptr, 0, 0, "P100", "123456789|3|3-3|-"},  // scrolled to show the end
    };
    for (const auto& c : cases) {
        TenPixelField field;
        ITextStyle style;
        style.align = c.align;
        field.Open(c.text, kRect, style, c.param, c.maxLength);
        EXPECT_EQ(Apply(field, c.ops), c.expected) << c.text << " " << c.ops;
    }
}

// Pixels of row 5 at x = 99, 100, 101, 140, 141, 160, 161 after the ops and some ticks: u untouched,
// b background, f foreground (the caret), h the selection.
TEST(GuiTextField, PaintsFieldSelectionAndBlinkingCaret) {
    const struct {
        const char* ops;
        int ticks, blinks;
        const char* row;
    } cases[] = {
        {"", 0, 0, "ubhhbbu"},    // the field one pixel wider than rect, all selected
        {"E", 12, 0, "ubbbfbu"},  // the caret after the text, on for 12 ticks
        {"E", 13, 1, "ubbbbbu"},  // off
        {"E", 26, 2, "ubbbfbu"},  // on again
        {"L", 0, 0, "ubfbbbu"},   // before the text
    };
    for (const auto& c : cases) {
        IGraphicsWin editor(nullptr, 200, 40, 25);
        editor.CreateDrawSurfaces();
        PIX_IBitmap* surface = editor.DrawSurface();
        PIX_FillArea(surface, 0, 0, 200, 40, 0xFF123456u, 1.0f, 0);
        TenPixelField field;
        ITextStyle style;
        style.align = 0;
        style.entryBackground = {255, 255, 255, 255};
        style.entryForeground = {255, 0, 0, 0};
        field.Open("12.5", kRect, style);
        Apply(field, c.ops);
        int blinks = 0;
        for (int t = 0; t < c.ticks; ++t) blinks += field.Tick();
        field.Paint(&editor);
        std::string row;
        for (int x : {99, 100, 101, 140, 141, 160, 161}) {
            const uint32_t p = *PIX_PixelAt(surface, x, 5);
            row += p == 0xFF123456u ? 'u' : p == 0xFFFFFFFFu ? 'b' : p == 0xFF000000u ? 'f' : 'h';
        }
        EXPECT_EQ(row, c.row) << c.ops << " " << c.ticks;
        EXPECT_EQ(blinks, c.blinks) << c.ops << " " << c.ticks;
        EXPECT_EQ(*PIX_PixelAt(surface, 130, 17), 0xFF123456u);  // below the field
    }
}
