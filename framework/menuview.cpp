#include "framework/menuview.h"

#include <algorithm>

#include "framework/igraphics.h"
#include "framework/imenu.h"
#include "raster/blend.h"
#include "raster/font.h"
#include "raster/line.h"

namespace {
// The look of a light system menu: a framed column of rows, a gutter for check marks on the left
// and room for a submenu arrow on the right.
constexpr int kFontSize = 14;  // Arial's cell height near the Windows menu font's
constexpr int kFrame = 3;      // border and padding around the rows
constexpr int kRowHeight = 22;
constexpr int kSeparatorHeight = 9;
constexpr int kGutter = 28;
constexpr int kTail = 28;
constexpr int kMinWidth = 64;
constexpr int kOverlap = 3;  // a submenu covers this much of its parent's edge
constexpr uint32_t kBackground = 0xFFF2F2F2u;
constexpr uint32_t kBorder = 0xFFCCCCCCu;
constexpr uint32_t kHover = 0xFF91C9F7u;
constexpr uint32_t kText = 0xFF000000u;
constexpr uint32_t kGreyText = 0xFF6D6D6Du;
constexpr uint32_t kSeparator = 0xFFD7D7D7u;

bool IsSeparator(const IMenuItem* item) { return item->Flags() & IMenuItem::kSeparator; }
// Items with a submenu ignore their flags, as on Windows; disabled items look greyed too.
bool IsGrey(const IMenuItem* item) {
    return !item->Submenu() && (item->Flags() & (IMenuItem::kGreyed | IMenuItem::kDisabled));
}
bool IsNavigable(const IMenuItem* item) { return !IsSeparator(item) && !IsGrey(item); }
bool IsChoosable(const IMenuItem* item) { return IsNavigable(item) && !item->Submenu(); }
int ItemHeight(const IMenuItem* item) { return IsSeparator(item) ? kSeparatorHeight : kRowHeight; }

// Where a column of size starts: at `at`, or ending at flipTo when it would leave the screen, and
// then moved to lie on the screen.
int Place(int at, int size, int flipTo, int screen) {
    if (at + size > screen) at = flipTo - size;
    return std::clamp(at, 0, std::max(0, screen - size));
}
}  // namespace

bool IMenuView::Open(IMenu* menu, const IBounds& anchor, int screenW, int screenH) {
    mLevels.clear();
    mResult = nullptr;
    mScreenW = screenW;
    mScreenH = screenH;
    if (!menu || menu->NItems() == 0) return false;
    Level top = MakeLevel(menu);
    const int w = top.bounds.W(), h = top.bounds.H();
    const int x = Place(anchor.L, w, anchor.L, screenW), y = Place(anchor.B, h, anchor.B, screenH);
    top.bounds = {x, y, x + w, y + h};
    mLevels.push_back(top);
    return true;
}

void IMenuView::Close() { mLevels.clear(); }

IBounds IMenuView::LevelBounds(int level) const {
    return level >= 0 && level < Levels() ? mLevels[level].bounds : IBounds{};
}

IBounds IMenuView::ItemBounds(int level, int item) const {
    if (level < 0 || level >= Levels() || item < 0 || item >= mLevels[level].menu->NItems()) return {};
    const Level& lv = mLevels[level];
    const int top = ItemTop(lv, item);
    return {lv.bounds.L + kFrame, top, lv.bounds.R - kFrame, top + ItemHeight(lv.menu->GetItem(item))};
}

// A level of menu at (0, 0), sized for its labels.
IMenuView::Level IMenuView::MakeLevel(IMenu* menu) {
    int width = 0, height = 2 * kFrame;
    GrowString label;
    PIX_CachedFont* font = Font();
    for (int i = 0; i < menu->NItems(); ++i) {
        height += ItemHeight(menu->GetItem(i));
        if (!font || IsSeparator(menu->GetItem(i))) continue;
        menu->ItemLabel(i, &label);
        PIX_Rect r{0, 0, 0, 0};
        font->DrawString(nullptr, label.Get(), -1, &r, PIX_TextCalcRect | PIX_TextSingleLine);
        width = std::max(width, r.right);
    }
    return {menu, {0, 0, std::max(kMinWidth, width + kGutter + kTail + 2 * kFrame), height}, -1};
}

IMenuView::IMenuView(IGraphics* graphics) : mGraphics(graphics) { mStyle.size = kFontSize; }

PIX_CachedFont* IMenuView::Font() {
    if (!mStyle.cachedFont && mGraphics) mGraphics->GetCachedFont(&mStyle);
    return mStyle.cachedFont;
}

int IMenuView::ItemTop(const Level& level, int item) const {
    int y = level.bounds.T + kFrame;
    for (int i = 0; i < item; ++i) y += ItemHeight(level.menu->GetItem(i));
    return y;
}

// The deepest level under (x, y) and the item there (-1 on the frame).
bool IMenuView::FindItem(int x, int y, int* level, int* item) const {
    for (int l = Levels() - 1; l >= 0; --l) {
        if (!mLevels[l].bounds.Contains(x, y)) continue;
        *level = l;
        *item = -1;
        for (int i = 0; i < mLevels[l].menu->NItems(); ++i)
            if (ItemBounds(l, i).Contains(x, y)) *item = i;
        return true;
    }
    return false;
}

// The next navigable item from the level's current one in direction step, wrapping around.
int IMenuView::NextItem(const Level& level, int step) const {
    const int n = level.menu->NItems();
    int i = level.hover >= 0 ? level.hover : (step > 0 ? -1 : n);
    for (int k = 0; k < n; ++k) {
        i = (i + step + n) % n;
        if (IsNavigable(level.menu->GetItem(i))) return i;
    }
    return level.hover;
}

// The pointer rests on item of level (-1 for none). Levels deeper than level always belong to its
// current item: they stay while it stays (only the ones below its submenu close); otherwise they
// close and the new item's submenu opens.
IMenuView::Event IMenuView::Hover(int level, int item) {
    Level& lv = mLevels[level];
    if (lv.hover == item && Levels() > level + 1) {
        if (Levels() == level + 2) return kUnchanged;
        mLevels.resize(level + 2);
        return kChanged;
    }
    const bool changed = lv.hover != item;
    lv.hover = item;
    mLevels.resize(level + 1);
    const Event opened = item >= 0 ? OpenSubmenu(level, false) : kUnchanged;
    return changed ? kChanged : opened;
}

// Opens the submenu of the level's current item beside it, to the right (or the left where the
// screen ends), its first row level with the item.
IMenuView::Event IMenuView::OpenSubmenu(int level, bool selectFirst) {
    const Level& parent = mLevels[level];
    IMenu* sub = parent.hover >= 0 ? parent.menu->GetItem(parent.hover)->Submenu() : nullptr;
    if (!sub || sub->NItems() == 0) return kUnchanged;
    Level next = MakeLevel(sub);
    const int w = next.bounds.W(), h = next.bounds.H();
    const int x = Place(parent.bounds.R - kOverlap, w, parent.bounds.L + kOverlap, mScreenW);
    const int y = Place(ItemTop(parent, parent.hover) - kFrame, h, mScreenH, mScreenH);
    next.bounds = {x, y, x + w, y + h};
    if (selectFirst) next.hover = NextItem(next, 1);
    mLevels.resize(level + 1);
    mLevels.push_back(next);
    return kChanged;
}

IMenuView::Event IMenuView::Choose(int level, int item) {
    mResult = mLevels[level].menu;
    mResult->SetChosenItemIdx(item);
    Close();
    return kDone;
}

IMenuView::Event IMenuView::Move(int x, int y) {
    int level, item;
    if (!IsOpen()) return kUnchanged;
    if (!FindItem(x, y, &level, &item)) {
        Level& deepest = mLevels.back();
        if (deepest.hover < 0) return kUnchanged;
        deepest.hover = -1;
        return kChanged;
    }
    if (item < 0) return kUnchanged;
    return Hover(level, IsNavigable(mLevels[level].menu->GetItem(item)) ? item : -1);
}

IMenuView::Event IMenuView::Press(int x, int y) {
    int level, item;
    if (!IsOpen()) return kUnchanged;
    if (FindItem(x, y, &level, &item)) return Move(x, y);
    Close();
    return kDone;
}

// The pointer comes to rest at (x, y) first, so a release on a submenu's item opens it.
IMenuView::Event IMenuView::Release(int x, int y) {
    int level, item;
    const Event moved = Move(x, y);
    if (!IsOpen() || !FindItem(x, y, &level, &item) || item < 0) return moved;
    return IsChoosable(mLevels[level].menu->GetItem(item)) ? Choose(level, item) : moved;
}

IMenuView::Event IMenuView::Key(int key) {
    if (!IsOpen()) return kUnchanged;
    const int level = Levels() - 1;
    Level& lv = mLevels.back();
    const IMenuItem* current = lv.hover >= 0 ? lv.menu->GetItem(lv.hover) : nullptr;
    switch (key) {
        case kPromptKeyUp:
        case kPromptKeyDown: {
            const int next = NextItem(lv, key == kPromptKeyDown ? 1 : -1);
            if (next == lv.hover) return kUnchanged;
            lv.hover = next;
            return kChanged;
        }
        case kPromptKeyEnter:
            if (current && IsChoosable(current)) return Choose(level, lv.hover);
            return OpenSubmenu(level, true);
        case kPromptKeyRight: return OpenSubmenu(level, true);
        case kPromptKeyLeft:
            if (level == 0) return kUnchanged;
            mLevels.pop_back();
            return kChanged;
        case kPromptKeyEscape:
            if (level > 0) {
                mLevels.pop_back();
                return kChanged;
            }
            Close();
            return kDone;
        default: return kUnchanged;
    }
}

void IMenuView::Paint(PIX_IBitmap* target, int level) {
    if (!target || level < 0 || level >= Levels()) return;
    const Level& lv = mLevels[level];
    const int w = lv.bounds.W(), h = lv.bounds.H();
    PIX_FillArea(target, 0, 0, w, h, kBorder, 1.0f, 0);
    PIX_FillArea(target, 1, 1, w - 2, h - 2, kBackground, 1.0f, 0);
    PIX_CachedFont* font = Font();
    GrowString label;
    for (int i = 0; i < lv.menu->NItems(); ++i) {
        const IMenuItem* item = lv.menu->GetItem(i);
        const int top = ItemTop(lv, i) - lv.bounds.T, mid = top + kRowHeight / 2;
        if (IsSeparator(item)) {
            PIX_FillArea(target, kFrame + kGutter, top + kSeparatorHeight / 2, w - 2 * kFrame - kGutter, 1, kSeparator,
                         1.0f, 0);
            continue;
        }
        if (i == lv.hover) PIX_FillArea(target, kFrame, top, w - 2 * kFrame, kRowHeight, kHover, 1.0f, 0);
        const uint32_t colour = IsGrey(item) ? kGreyText : kText;
        if (!item->Submenu() && (item->Flags() & IMenuItem::kChecked)) {
            const int cx = kFrame + kGutter / 2;
            PIX_DrawSegment(target, cx - 4, mid, cx - 1, mid + 3, colour, 1.0f, 0, true);
            PIX_DrawSegment(target, cx - 1, mid + 3, cx + 4, mid - 3, colour, 1.0f, 0, true);
        }
        if (item->Submenu()) {
            const int ax = w - kFrame - kTail / 2;
            for (int k = 0; k < 4; ++k) PIX_FillArea(target, ax + k, mid - 3 + k, 1, 7 - 2 * k, colour, 1.0f, 0);
        }
        if (!font) continue;
        lv.menu->ItemLabel(i, &label);
        font->SetForeColor(colour);
        PIX_Rect r{kFrame + kGutter, top, w - kFrame - kTail, top + kRowHeight};
        font->DrawString(target, label.Get(), -1, &r, PIX_TextVCenter | PIX_TextSingleLine);
    }
}
