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
    const std::string commandLine = platform::CommandLineFromArgs(argc, argv);
    if (const auto answer = AnswerInformationRequest(commandLine, appName)) {
        std::fputs(answer->c_str(), stdout);
        return 0;
    }
    res::RegisterResources();
    // Without a usable media framework the class stays unknown and the first
    // open reports it.
    platform::RegisterFilterGraph();
    // The medium to play starts opening beside the window system's start; the
    // window's own open of it later takes that over.
    platform::PrepareFirstRender(commandLine);
    return AfxWinMain(argc, argv);
}
