#include "platform/framework/app.h"
#include "res/resource.h"
#include "res/resource_table.h"

namespace {

constexpr MenuItemTemplate Item(UINT id, std::string_view text)
{
    return {MF_STRING, id, text};
}
constexpr MenuItemTemplate Popup(std::string_view text)
{
    return {MF_POPUP, 0, text};
}
constexpr MenuItemTemplate kSeparator{MF_SEPARATOR, 0, {}};
constexpr MenuItemTemplate kEndPopup{MF_STRING, 0, {}, true};

// The one top-level entry only holds the context menu; its caption never shows.
constexpr MenuItemTemplate kPopupMenu[] = {
    Popup("_ﾎﾟｯﾌﾟｱｯﾌﾟ_"),
    Item(ID_PLAY_PAUSE, "Play/Pause"),
    Item(ID_STOP, "Stop"),
    kSeparator,
    Popup("Volume"),
    Item(ID_VOLUME_UP, "Up  (PageUp Key)"),
    Item(ID_VOLUME_DOWN, "Down  (PageDown Key)"),
    kEndPopup,
    Popup("Zoom"),
    Item(ID_ZOOM_MIN, "Minimize"),
    Item(ID_ZOOM_25, "25%"),
    Item(ID_ZOOM_50, "50%"),
    Item(ID_ZOOM_100, "100%"),
    Item(ID_ZOOM_200, "200%"),
    Item(ID_ZOOM_MAX, "Maximize"),
    kEndPopup,
    Popup("Options"),
    Item(ID_AUTO_REWIND, "Auto rewind"),
    Item(ID_REPEAT, "Repeat"),
    Item(ID_STRETCH, "Stretch"),
    Item(ID_AUTO_ZOOM, "Auto zoom"),
    kEndPopup,
    kSeparator,
    Item(ID_FILE_OPEN, "Render File..."),
    kSeparator,
    Item(ID_APP_ABOUT, "About..."),
    kSeparator,
    Item(ID_APP_EXIT, "Exit"),
    kEndPopup,
};

}  // namespace

namespace res {

std::span<const MenuItemTemplate> FindMenu(UINT id)
{
    if (id == IDR_POPUP)
        return kPopupMenu;
    return {};
}

}  // namespace res
