#include "framework/textfield.h"

#include <algorithm>

#include "framework/igraphics.h"
#include "framework/textentry.h"
#include "raster/blend.h"
#include "raster/font.h"

namespace {
constexpr int kMargin = 1;                    // pixels between the field's edge and its text
constexpr int kBlinkTicks = 13;               // about the Windows caret's half period at the editor's 25 ticks a second
constexpr uint32_t kHighlight = 0xFF0078D7u;  // the Windows selection colours
constexpr uint32_t kHighlightText = 0xFFFFFFFFu;

bool Continuation(unsigned char b) { return (b & 0xC0) == 0x80; }
bool IsCodePoint(char32_t c) { return c < 0x110000 && (c < 0xD800 || c > 0xDFFF); }
// What the field keeps: no control characters (the entry is one line), nothing UTF-8 cannot hold.
bool Keeps(char32_t c) { return c >= 0x20 && c != 0x7F && IsCodePoint(c); }

// Code points of utf8; a byte that starts no valid sequence (overlong, a surrogate, past U+10FFFF)
// stands for itself, as the font reads it.
std::u32string Decode(const char* utf8) {
    static const char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    std::u32string out;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8 ? utf8 : "");
    while (*p) {
        const int n = *p >= 0xF0 && *p <= 0xF4 ? 4 : *p >= 0xE0 ? (*p <= 0xEF ? 3 : 1) : *p >= 0xC2 ? 2 : 1;
        char32_t c = *p & (0x7F >> n);
        int k = 1;
        for (; k < n && Continuation(p[k]); ++k) c = c << 6 | (p[k] & 0x3F);
        const bool valid = n > 1 && k == n && c >= kLeast[n] && IsCodePoint(c);
        out += valid ? c : *p;
        p += valid ? n : 1;
    }
    return out;
}

std::string Encode(const std::u32string& text, size_t count) {
    std::string out;
    for (size_t i = 0; i < count && i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        const int n = c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        out += static_cast<char>((0xF00 >> n) | (c >> (6 * (n - 1))));
        for (int k = n - 2; k >= 0; --k) out += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
    }
    return out;
}
}  // namespace

void ITextField::Open(const char* text, const IBounds& rect, const ITextStyle& style, const IFxParam* param,
                      int maxLength) {
    mText = Decode(text);
    mBounds = {rect.L, rect.T, rect.R + 1, rect.B + 1};
    mStyle = style;
    mParam = param;
    mMaxLength = maxLength;
    mAnchor = 0;
    mCaret = static_cast<int>(mText.size());
    mScroll = 0;
    Changed();
}

ITextField::Result ITextField::Key(int key, unsigned ch, bool shift, bool ctrl) {
    const int n = static_cast<int>(mText.size());
    const bool selected = mCaret != mAnchor;
    switch (key) {
        case kPromptKeyEnter: return kCommit;
        case kPromptKeyEscape: return kCancel;
        case kPromptKeyLeft:
            MoveCaret(ctrl ? WordEdge(mCaret, -1) : selected && !shift ? SelectionStart() : mCaret - 1, shift);
            break;
        case kPromptKeyRight:
            MoveCaret(ctrl ? WordEdge(mCaret, 1) : selected && !shift ? SelectionEnd() : mCaret + 1, shift);
            break;
        case kPromptKeyHome: MoveCaret(0, shift); break;
        case kPromptKeyEnd: MoveCaret(n, shift); break;
        case kPromptKeySelectAll:
            mAnchor = 0;
            MoveCaret(n, true);
            break;
        case kPromptKeyBackspace:
        case kPromptKeyDelete:
            if (!selected) MoveCaret(key == kPromptKeyDelete ? mCaret + 1 : mCaret - 1, true);
            ReplaceSelection({});
            break;
        case kPromptKeyChar:
            if (ctrl || !Keeps(ch) || (mParam && !TextEntryAccepts(mParam, ch))) break;
            if (mMaxLength > 0 && n - (SelectionEnd() - SelectionStart()) >= mMaxLength) break;
            ReplaceSelection(std::u32string(1, static_cast<char32_t>(ch)));
            break;
        default: return kNone;
    }
    Changed();
    return kNone;
}

void ITextField::Insert(const char* utf8) {
    std::u32string kept;
    for (char32_t c : Decode(utf8))
        if (Keeps(c)) kept += c;
    if (kept.empty()) return;  // as pasting nothing on Windows: the selection stays
    if (mMaxLength > 0) {
        const size_t room =
            std::max(0, mMaxLength - static_cast<int>(mText.size()) + SelectionEnd() - SelectionStart());
        if (kept.size() > room) kept.resize(room);
    }
    ReplaceSelection(kept);
    Changed();
}

void ITextField::Press(int x) {
    MoveCaret(IndexAt(x), false);
    Changed();
}

void ITextField::Drag(int x) {
    MoveCaret(IndexAt(x), true);
    Changed();
}

bool ITextField::Tick() {
    if (++mBlink < kBlinkTicks) return false;
    mBlink = 0;
    mCaretOn = !mCaretOn;
    return true;
}

void ITextField::MoveCaret(int to, bool extend) {
    mCaret = std::clamp(to, 0, static_cast<int>(mText.size()));
    if (!extend) mAnchor = mCaret;
}

// The next word start in direction step (1 or -1), as Ctrl+arrow moves in an edit control.
int ITextField::WordEdge(int from, int step) const {
    const int n = static_cast<int>(mText.size());
    auto space = [this](int i) { return mText[i] == U' '; };
    int i = from;
    if (step > 0) {
        while (i < n && !space(i)) ++i;
        while (i < n && space(i)) ++i;
    } else {
        while (i > 0 && space(i - 1)) --i;
        while (i > 0 && !space(i - 1)) --i;
    }
    return i;
}

void ITextField::ReplaceSelection(const std::u32string& with) {
    const int start = SelectionStart();
    mText.replace(start, SelectionEnd() - start, with);
    mCaret = mAnchor = start + static_cast<int>(with.size());
}

// After every change: the caret shows (and restarts its blink), stays in view, and the text is re-encoded.
void ITextField::Changed() {
    mUtf8 = Encode(mText, mText.size());
    mCaretOn = true;
    mBlink = 0;
    ScrollToCaret();
}

int ITextField::TextWidth(const char* utf8, int bytes) {
    PIX_CachedFont* font = mStyle.cachedFont;
    if (!font || bytes <= 0) return 0;
    PIX_Rect r{0, 0, 0, 0};
    font->DrawString(nullptr, utf8, bytes, &r, PIX_TextCalcRect | PIX_TextSingleLine);
    return r.right;
}

// Text wider than the field runs from its left edge, scrolled; shorter text takes the style's alignment.
int ITextField::XOf(int i) {
    const int left = mBounds.L + kMargin, room = mBounds.W() - 2 * kMargin;
    const int width = TextWidth(mUtf8.c_str(), static_cast<int>(mUtf8.size()));
    int x0 = left - mScroll;
    if (width <= room && mStyle.align == 1) x0 = left + (room - width) / 2;
    if (width <= room && mStyle.align == 2) x0 = left + room - width;
    return x0 + TextWidth(mUtf8.c_str(), static_cast<int>(Encode(mText, i).size()));
}

int ITextField::IndexAt(int x) {
    int best = 0;
    for (int i = 1; i <= static_cast<int>(mText.size()); ++i)
        if (std::abs(XOf(i) - x) < std::abs(XOf(best) - x)) best = i;
    return best;
}

void ITextField::ScrollToCaret() {
    const int left = mBounds.L + kMargin, right = mBounds.R - kMargin;
    const int width = TextWidth(mUtf8.c_str(), static_cast<int>(mUtf8.size()));
    if (width <= right - left) {
        mScroll = 0;
        return;
    }
    const int x = XOf(mCaret);
    if (x < left) mScroll -= left - x;
    if (x > right - 1) mScroll += x - (right - 1);
    mScroll = std::clamp(mScroll, 0, width - (right - left) + 1);
}

// Drawn through a field-sized scratch bitmap, which clips the scrolled text to the field: the
// background, the text in three runs (before, in and after the selection), then the caret. The
// text sits at the field's top, as on the first line of the Win32 (multi-line) entry.
void ITextField::Paint(IGraphics* g) {
    PIX_IBitmap* surface = g ? g->DrawSurface() : nullptr;
    if (!surface || mBounds.W() <= 0 || mBounds.H() <= 0) return;
    mScratch.Resize(mBounds.W(), mBounds.H());
    PIX_FillArea(&mScratch, 0, 0, mBounds.W(), mBounds.H(), mStyle.entryBackground.Packed(), 1.0f, 0);
    PIX_CachedFont* font = mStyle.cachedFont ? mStyle.cachedFont : g->GetCachedFont(&mStyle);
    const int lineHeight = font ? std::min(font->GetLineHeight(), mBounds.H()) : mBounds.H();
    const int right = mBounds.W() - kMargin;
    const int marks[] = {0, SelectionStart(), SelectionEnd(), static_cast<int>(mText.size())};
    for (int run = 0; run < 3; ++run) {
        const int x0 = XOf(marks[run]) - mBounds.L, x1 = XOf(marks[run + 1]) - mBounds.L;
        if (run == 1 && x1 > x0) PIX_FillArea(&mScratch, x0, 0, x1 - x0, lineHeight, kHighlight, 1.0f, 0);
        if (!font || marks[run + 1] == marks[run]) continue;
        const std::string part = Encode(mText.substr(marks[run]), marks[run + 1] - marks[run]);
        font->SetForeColor(run == 1 ? kHighlightText : mStyle.entryForeground.Packed());
        PIX_Rect r{x0, 0, right, mBounds.H()};
        font->DrawString(&mScratch, part.c_str(), static_cast<int>(part.size()), &r, PIX_TextSingleLine);
    }
    const int caretX = XOf(mCaret) - mBounds.L;
    if (mCaretOn && mCaret == mAnchor && caretX >= kMargin && caretX < right)
        PIX_FillArea(&mScratch, caretX, 0, 1, lineHeight, mStyle.entryForeground.Packed(), 1.0f, 0);
    PIX_CompositeBitmap(surface, &mScratch, mBounds.L, mBounds.T, nullptr, 1.0f, 0);
}
