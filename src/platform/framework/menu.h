#pragma once
// Menus built from the resource table. A CMenu holds its own copy of the items
// and their grey and check states; LoadMenu reads a fresh copy every time, so
// nothing of one showing survives into the next. TrackPopupMenu shows the menu
// at a screen point and sends the chosen item's WM_COMMAND to the owner once the
// menu has closed; dismissing it sends nothing.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/system/win_types.h"

class CWnd;

// Answer the chosen id instead of sending it (0 when nothing was chosen).
inline constexpr UINT TPM_RETURNCMD = 0x0100;
// State returned for an item that is not in the menu.
inline constexpr UINT MENU_ITEM_NOT_FOUND = 0xFFFFFFFF;

class CMenu;

// What a test sees of a popup about to be tracked.
struct PopupTracking {
    const CMenu* menu;
    UINT flags;
    POINT point;
    CWnd* owner;
};

class CMenu {
public:
    CMenu();
    ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    BOOL LoadMenu(UINT id);
    BOOL DestroyMenu();

    // The popup at `pos` of this menu, owned by it; null for other entries.
    CMenu* GetSubMenu(int pos) const;

    // By command (MF_BYCOMMAND), in this menu and all its sub-menus. Each returns
    // the item's previous MF_GRAYED/MF_DISABLED or MF_CHECKED bits, or
    // MENU_ITEM_NOT_FOUND.
    UINT EnableMenuItem(UINT id, UINT flags);
    UINT CheckMenuItem(UINT id, UINT flags);

    // Shows the menu with its top-left corner at (x, y), screen coordinates. Either
    // mouse button chooses an item. Returns FALSE when there is nothing to show.
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* excludeRect = nullptr);

    // For tests and tools. Positions count separators; GetMenuItemID gives 0 for a
    // separator and MENU_ITEM_NOT_FOUND for a sub-menu.
    int GetMenuItemCount() const;
    UINT GetMenuItemID(int pos) const;
    std::string GetMenuText(int pos) const;
    std::vector<std::string> ItemTexts() const;  // separators as empty texts
    bool IsSeparator(int pos) const;
    bool IsGrayed(UINT id) const;
    bool IsChecked(UINT id) const;
    // Whether `id` names an item that can be chosen now (found and not greyed).
    bool IsChoosable(UINT id) const;

    // While set, TrackPopupMenu asks the chooser for the id to choose (0 to dismiss)
    // instead of showing the menu. An empty function restores the real menu.
    using PopupChooser = std::function<UINT(const PopupTracking&)>;
    static void SetPopupChooser(PopupChooser chooser);

private:
    struct Item;
    const Item* FindItem(UINT id) const;
    Item* FindItem(UINT id);
    std::vector<Item> m_items;
};
