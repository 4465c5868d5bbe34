#include "platform/framework/wnd.h"

#include "platform/framework/drop_handle.h"

std::string DragQueryFilePath(HDROP drop, UINT index)
{
    if (drop == nullptr || index >= drop->paths.size())
        return {};
    return drop->paths[index];
}

void DragFinish(HDROP drop)
{
    delete drop;
}
