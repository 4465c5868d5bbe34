#pragma once
// Which popup-menu commands are grey and which carry a check mark, from the player's state.

#include <vector>

#include "platform/system/win_types.h"

struct MenuSwitches {
    int autoRewind = 0;
    int repeat = 0;
    int stretch = 0;
    int autoZoom = 0;
};

struct MenuState {
    std::vector<UINT> greyed;   // in the order they are greyed
    std::vector<UINT> checked;  // in the order they are checked
    friend bool operator==(const MenuState&, const MenuState&) = default;
};

// `state` is the transport state (a PlayState).
// Every other command stays enabled and unchecked.
MenuState PopupMenuState(int state, int volume, const MenuSwitches& switches);
