// The program's entry: "--help" and "--version" are answered before any window
// system is touched; otherwise resources and the media service are made known
// to the platform, then the application object runs.

#include <cstdio>

#include "app/command_line.h"
#include "platform/framework/app.h"
#include "platform/com/dshow.h"
#include "res/resource_table.h"

int main(int argc, char** argv)
{
    const char* program = argc > 0 && argv[0] != nullptr ? argv[0] : "vantrel";
    const std::string appName = platform::AppNameFromExecutable(program);
    if (const auto answer = AnswerInformationRequest(platform::CommandLineFromArgs(argc, argv), appName)) {
        std::fputs(answer->c_str(), stdout);
        return 0;
    }
    res::RegisterResources();
    // Without a usable media framework the class stays unknown and the first
    // open reports it.
    platform::RegisterFilterGraph();
    return AfxWinMain(argc, argv);
}
