#pragma once
// Platform-private: what stands behind HDROP.

#include <string>
#include <vector>

struct PlatformDrop {
    std::vector<std::string> paths;
};
