#include "res/resource.h"
#include "res/resource_table.h"

namespace res {

std::string_view FindString(UINT id)
{
    switch (id) {
    case IDS_ABOUTBOX:
        return "ﾊﾞｰｼﾞｮﾝ情報(Vantrel) (&A)...";
    default:
        return {};
    }
}

}  // namespace res
