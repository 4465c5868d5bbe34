#include "ui/player/menu_state.h"

#include "engine/play_state.h"
#include "engine/volume_scale.h"
#include "res/resource.h"

MenuState PopupMenuState(int state, int volume, const MenuSwitches& switches)
{
    MenuState menu;
    if (state != STATE_STOPPED && state != STATE_PAUSED && state != STATE_PLAYING)
        menu.greyed.push_back(ID_PLAY_PAUSE);
    if (state != STATE_PLAYING && state != STATE_PAUSED)
        menu.greyed.push_back(ID_STOP);
    if (state == STATE_NONE) {
        menu.greyed.push_back(ID_VOLUME_UP);
        menu.greyed.push_back(ID_VOLUME_DOWN);
    } else {
        // Only the exact ends grey an item: a level read from an edited file may lie outside.
        if (volume == 0)
            menu.greyed.push_back(ID_VOLUME_DOWN);
        if (volume == kLoudestVolume)
            menu.greyed.push_back(ID_VOLUME_UP);
    }

    if (switches.autoRewind != 0)
        menu.checked.push_back(ID_AUTO_REWIND);
    if (switches.repeat != 0)
        menu.checked.push_back(ID_REPEAT);
    if (switches.autoZoom != 0)
        menu.checked.push_back(ID_AUTO_ZOOM);
    if (switches.stretch != 0)
        menu.checked.push_back(ID_STRETCH);
    return menu;
}
