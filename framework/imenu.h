#pragma once
// IMenu and IMenuItem: a popup menu as the editor builds it (parameter value menus, or a plug-in's
// own), before the window system shows it. Item command ids are counted from 0: a menu's own items
// first, then its submenus' items, depth first in item order.
#include "base/growstring.h"
#include "base/pointerlist.h"

class IMenu;

class IMenuItem {
public:
    enum Flags { kGreyed = 1, kDisabled = 2, kChecked = 4, kSeparator = 8 };
    // The submenu is not owned by the item.
    IMenuItem(const char* text, int flags = 0, IMenu* submenu = nullptr)
        : mText(text), mSubmenu(submenu), mFlags(flags) {}

    const char* Text() const { return mText.Get(); }
    IMenu* Submenu() const { return mSubmenu; }
    int Flags() const { return mFlags; }

private:
    GrowString mText;
    IMenu* mSubmenu;
    int mFlags;
};

class IMenu {
public:
    // prefix: 0 plain labels, 1 "%1d: %s", 2 "%02d: %s", 3 "%03d: %s" (item number from 1).
    explicit IMenu(int prefix = 0) : mPrefix(prefix >= 0 && prefix <= 3 ? prefix : 0) {}
    // Frees the items, last first; submenus stay their owner's.
    ~IMenu() = default;
    IMenu(const IMenu&) = delete;
    IMenu& operator=(const IMenu&) = delete;

    // Takes ownership of item.
    void AddItem(IMenuItem* item);
    void AddItem(const char* text, int flags = 0, IMenu* submenu = nullptr) {
        AddItem(new IMenuItem(text, flags, submenu));
    }
    int NItems() const { return mItems.GetSize(); }
    IMenuItem* GetItem(int i) const { return mItems.Get(i); }
    int Prefix() const { return mPrefix; }
    int ChosenItemIdx() const { return mChosenItemIdx; }
    void SetChosenItemIdx(int i) { mChosenItemIdx = i; }

    // The label item i (0-based) is shown with, numbered by the prefix mode.
    void ItemLabel(int i, GrowString* label) const;
    // The (sub)menu holding command id, with the item's index in it; null when no item has the id.
    // counter is the first id of this menu and advances past every menu searched.
    IMenu* FindMenuItemById(int id, int* counter, int* index);

private:
    int mPrefix;
    int mChosenItemIdx = -1;
    PointerList<IMenuItem> mItems;
};
