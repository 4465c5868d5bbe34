#include "res/resource_table.h"

namespace res {

void RegisterResources()
{
    platform::SetResourceTable(ResourceTable{
        .dialog = &FindDialog,
        .menu = &FindMenu,
        .icon = &FindIcon,
        .cursor = &FindCursor,
    });
}

}  // namespace res
