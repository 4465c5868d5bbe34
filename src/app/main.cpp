// The program's entry: resources and the media service are made known to the
// platform, then the application object runs.

#include "platform/app.h"
#include "platform/dshow.h"
#include "res/resource_table.h"

int main(int argc, char** argv)
{
    res::RegisterResources();
    // Without a usable media framework the class stays unknown and the first
    // open reports it.
    platform::RegisterFilterGraph();
    return AfxWinMain(argc, argv);
}
