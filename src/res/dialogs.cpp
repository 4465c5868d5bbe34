#include "res/product.h"
#include "res/resource.h"
#include "res/resource_table.h"

namespace {

constexpr std::string_view kDialogFace = "ＭＳ Ｐゴシック";
constexpr std::string_view kPanelFace = "ＭＳ ゴシック";
constexpr DWORD kModalStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;

// An SS_ICON static names its icon by decimal id.
static_assert(IDR_MAINFRAME == 128);
constexpr std::string_view kMainIcon = "128";

constexpr ControlTemplate kAboutControls[] = {
    {-1,           ControlClass::Static, kMainIcon,               kShown | SS_ICON,                                   11,  17, 20,  20},
    {-1,           ControlClass::Static, "Vantrel Version 1.03s", kShown | WS_GROUP | SS_NOPREFIX | SS_LEFT,          40,  10, 119, 8 },
    {-1,           ControlClass::Static, res::kCreditLine,        kShown | WS_GROUP | SS_LEFT,                        40,  25, 168, 8 },
    {IDOK,         ControlClass::Button, "OK",                    kShown | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON,  178, 7,  32,  14},
 // No border: the address reads as a line of text that can still be selected.
    {IDC_HOMEPAGE, ControlClass::Edit,   "",                      kShown | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, 40,  35, 170, 13},
};

constexpr ControlTemplate kOpenMediaControls[] = {
    {-1,         ControlClass::Static, "URL:",      kShown | WS_GROUP | SS_LEFT,                      7,   9,  15,  8 },
    {IDC_URL,    ControlClass::Edit,   "",          kShown | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 23,  7,  188, 14},
    {IDOK,       ControlClass::Button, "OK",        kShown | WS_TABSTOP | BS_DEFPUSHBUTTON,           92,  27, 37,  14},
    {IDCANCEL,   ControlClass::Button, "Cancel",    kShown | WS_TABSTOP | BS_PUSHBUTTON,              133, 27, 37,  14},
    {IDC_BROWSE, ControlClass::Button, "Browse...", kShown | WS_TABSTOP | BS_PUSHBUTTON,              174, 27, 37,  14},
};

constexpr DialogTemplate kDialogs[] = {
    {IDD_ABOUTBOX,    kModalStyle,                       0, 0, 0, 217, 55, "About Vantrel",   kDialogFace, 9, kAboutControls    },
 // The player: a sizing frame without caption, and a task-bar entry of its own.
    {IDD_PLAYER,
     WS_POPUP | WS_VISIBLE | WS_THICKFRAME | DS_SETFONT,
     WS_EX_APPWINDOW,                                       0,
     0,                                                           107,
     51,                                                                   "",
     kDialogFace,                                                                                          9,
     {}                                                                                                                         },
 // The label panel: created hidden, sized by the player afterwards.
    {IDD_LABEL_PANEL, WS_CHILD | DS_SETFONT,             0, 0, 0, 132, 55, "",                kPanelFace,  9, {}                },
    {IDD_OPEN_MEDIA,  kModalStyle,                       0, 0, 0, 218, 48, "Open media file", kDialogFace, 9, kOpenMediaControls},
};

}  // namespace

namespace res {

const DialogTemplate* FindDialog(UINT id)
{
    for (const DialogTemplate& dialog : kDialogs) {
        if (dialog.id == id)
            return &dialog;
    }
    return nullptr;
}

}  // namespace res
