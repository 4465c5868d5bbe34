#pragma once
// Resources as declared data: dialog templates, popup menus, icons and cursors. The program owns the data (src/res) and
// hands the platform a table of look-up functions once at start, the way a linked resource script would be.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "platform/system/win_types.h"

// Dialog template styles that the platform interprets.
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_THICKFRAME = 0x00040000;
inline constexpr DWORD WS_GROUP = 0x00020000;
inline constexpr DWORD WS_TABSTOP = 0x00010000;
inline constexpr DWORD DS_SETFONT = 0x00000040;
inline constexpr DWORD DS_MODALFRAME = 0x00000080;
inline constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
inline constexpr DWORD SS_LEFT = 0x00000000;
inline constexpr DWORD SS_ICON = 0x00000003;
inline constexpr DWORD SS_NOPREFIX = 0x00000080;
inline constexpr DWORD ES_AUTOHSCROLL = 0x00000080;
inline constexpr DWORD ES_READONLY = 0x00000800;
inline constexpr DWORD BS_PUSHBUTTON = 0x00000000;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x00000001;

enum class ControlClass { Static, Edit, Button };

struct ControlTemplate {
    int id;  // -1 for statics nobody addresses
    ControlClass cls;
    std::string_view text;  // for SS_ICON statics: the decimal icon id
    DWORD style;
    int x, y, cx, cy;  // dialog units
};

struct DialogTemplate {
    UINT id;
    DWORD style;
    DWORD exStyle;
    int x, y, cx, cy;  // dialog units
    std::string_view caption;
    std::string_view fontFace;
    int fontPoints;
    std::span<const ControlTemplate> controls;
};

// One entry of a popup menu, flattened: a sub-menu is a MF_POPUP entry followed
// by its items and closed by an entry with `endPopup` set.
struct MenuItemTemplate {
    UINT flags;  // MF_STRING, MF_SEPARATOR or MF_POPUP
    UINT id;     // command id (0 for separators and sub-menus)
    std::string_view text;
    bool endPopup = false;  // closes the innermost open sub-menu
};

struct IconImage {
    int size;                            // square edge in pixels
    std::span<const unsigned char> png;  // encoded PNG
};

struct IconResource {
    std::span<const IconImage> images;
};

// A monochrome cursor: AND and XOR masks, one bit a pixel, rows padded to bytes.
struct CursorResource {
    int width, height;
    int hotX, hotY;
    std::span<const unsigned char> andMask;
    std::span<const unsigned char> xorMask;
};

struct ResourceTable {
    const DialogTemplate* (*dialog)(UINT id) = nullptr;
    std::span<const MenuItemTemplate> (*menu)(UINT id) = nullptr;
    const IconResource* (*icon)(UINT id) = nullptr;
    const CursorResource* (*cursor)(UINT id) = nullptr;
};

namespace platform {
void SetResourceTable(const ResourceTable& table);
const ResourceTable& Resources();
}  // namespace platform
