#include "framework/imenu.h"

#include <cstring>

void IMenu::AddItem(IMenuItem* item) {
    if (!mItems.Add(item)) delete item;
}

void IMenu::ItemLabel(int i, GrowString* label) const {
    const IMenuItem* item = mItems.Get(i);
    if (!item) return;
    static const char* const kFormats[] = {"%s", "%1d: %s", "%02d: %s", "%03d: %s"};
    if (mPrefix == 0)
        label->Set(0, item->Text(), static_cast<int>(std::strlen(item->Text())));
    else
        label->SetFormatted(static_cast<int>(std::strlen(item->Text())) + 16, kFormats[mPrefix], i + 1, item->Text());
}

IMenu* IMenu::FindMenuItemById(int id, int* counter, int* index) {
    const int base = *counter;
    *counter += NItems();
    if (id >= base && id < *counter) {
        *index = id - base;
        return this;
    }
    for (int i = 0; i < NItems(); ++i) {
        IMenu* sub = mItems.Get(i)->Submenu();
        if (!sub) continue;
        if (IMenu* found = sub->FindMenuItemById(id, counter, index)) return found;
    }
    return nullptr;
}
