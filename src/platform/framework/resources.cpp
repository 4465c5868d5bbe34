#include "platform/framework/resources.h"

namespace platform {
namespace {
ResourceTable g_table;
}

void SetResourceTable(const ResourceTable& table)
{
    g_table = table;
}

const ResourceTable& Resources()
{
    return g_table;
}

}  // namespace platform
