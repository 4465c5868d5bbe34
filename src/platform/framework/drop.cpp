#include "platform/framework/wnd.h"

#include <algorithm>
#include <cstring>

#include "platform/framework/drop_handle.h"

UINT DragQueryFileCount(HDROP drop)
{
    return drop != nullptr ? static_cast<UINT>(drop->paths.size()) : 0;
}

std::string DragQueryFilePath(HDROP drop, UINT index)
{
    if (drop == nullptr || index >= drop->paths.size()) return {};
    return drop->paths[index];
}

UINT DragQueryFile(HDROP drop, UINT index, char* buffer, UINT bufferSize)
{
    if (drop == nullptr) return 0;
    if (index == 0xFFFFFFFFu) return DragQueryFileCount(drop);
    if (index >= drop->paths.size()) return 0;
    const std::string& path = drop->paths[index];
    if (buffer == nullptr || bufferSize == 0) return static_cast<UINT>(path.size());
    const std::size_t n = std::min<std::size_t>(path.size(), bufferSize - 1);
    std::memcpy(buffer, path.data(), n);
    buffer[n] = '\0';
    return static_cast<UINT>(n);
}

void DragFinish(HDROP drop)
{
    delete drop;
}
