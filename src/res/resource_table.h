#pragma once
// The program's own resources: dialog templates, the popup menu, the icon, the
// cursor, and their registration with the platform.

#include <span>
#include <string_view>

#include "platform/framework/resources.h"

namespace res {

// Hands the resource table to the platform. Call once, before any window exists.
void RegisterResources();

// Look-ups by id; null or empty when there is no such resource.
const DialogTemplate* FindDialog(UINT id);
std::span<const MenuItemTemplate> FindMenu(UINT id);
const IconResource* FindIcon(UINT id);
const CursorResource* FindCursor(UINT id);

}  // namespace res
