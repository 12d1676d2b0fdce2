#pragma once
// IMenuView: a popup menu drawn by the framework itself, for window systems without menus of their
// own (X11). It shows an IMenu as a column of items below the anchor, with a further column for
// each open submenu, and ends as a Win32 popup menu does: with the (sub)menu whose item was chosen,
// its ChosenItemIdx set to the item's index, or with no choice. The glue shows each level (or all
// of them) in popup windows and forwards pointer and key events.
// Threads: the editor window's thread only.
#include <vector>

#include "framework/guitypes.h"
#include "framework/promptkeys.h"

class IGraphics;
class IMenu;

class IMenuView {
public:
    // What an event did: nothing to show, something to repaint (or a level opened or closed),
    // or the menu is done (Result() holds the choice).
    enum Event { kUnchanged, kChanged, kDone };

    // graphics (nullable) supplies the font; without one nothing is measured or drawn.
    explicit IMenuView(IGraphics* graphics);

    // Lays the menu out below-right of anchor on a screen of screenW x screenH (flipped and moved to
    // stay on it). False, and nothing open, for a null or empty menu.
    bool Open(IMenu* menu, const IBounds& anchor, int screenW, int screenH);
    bool IsOpen() const { return !mLevels.empty(); }
    int Levels() const { return static_cast<int>(mLevels.size()); }
    IBounds LevelBounds(int level) const;
    // The row of an item of an open level (empty when there is none).
    IBounds ItemBounds(int level, int item) const;
    // The (sub)menu whose item was chosen, null when the menu closed without a choice.
    IMenu* Result() const { return mResult; }

    Event Move(int x, int y);
    Event Press(int x, int y);
    Event Release(int x, int y);
    Event Key(int key);
    // Closes every level without a choice.
    void Close();

    // Draws a level with its top-left corner at the target's (0, 0).
    void Paint(PIX_IBitmap* target, int level);

private:
    struct Level {
        IMenu* menu;
        IBounds bounds;
        int hover;  // item under the pointer or the keys, -1 for none
    };

    Level MakeLevel(IMenu* menu);
    PIX_CachedFont* Font();
    bool FindItem(int x, int y, int* level, int* item) const;
    Event Hover(int level, int item);
    Event OpenSubmenu(int level, bool selectFirst);
    Event Choose(int level, int item);
    int NextItem(const Level& level, int step) const;
    int ItemTop(const Level& level, int item) const;

    IGraphics* mGraphics;
    ITextStyle mStyle;  // the menu font
    std::vector<Level> mLevels;
    IMenu* mResult = nullptr;
    int mScreenW = 0, mScreenH = 0;
};
