#include "res/icon_png.h"
#include "res/resource.h"
#include "res/resource_table.h"

namespace {

// PNGs rendered from icons/vantrel.svg and embedded at build time.
constexpr IconImage kMainFrameImages[] = {
    {16,  res::png::vantrel_16 },
    {32,  res::png::vantrel_32 },
    {48,  res::png::vantrel_48 },
    {64,  res::png::vantrel_64 },
    {128, res::png::vantrel_128},
    {256, res::png::vantrel_256},
};
constexpr IconResource kMainFrame{kMainFrameImages};

}  // namespace

namespace res {

const IconResource* FindIcon(UINT id)
{
    return id == IDR_MAINFRAME ? &kMainFrame : nullptr;
}

}  // namespace res
