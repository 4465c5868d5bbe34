#include "app/command_line.h"

std::optional<std::string> AnswerInformationRequest(const std::string& commandLine, const std::string& appName)
{
    if (commandLine == "--version")
        return appName + " " VANTREL_VERSION "\n";
    if (commandLine == "--help") {
        return "Usage: " + appName +
               " [PATH-OR-URL]\n"
               "Plays one video or audio file, or a URL.\n"
               "Right-click the window for every command; Page Up and Page Down change the volume;\n"
               "drag the window to move it; drop a file on it to play that file.\n"
               "\n"
               "  --help     show this text\n"
               "  --version  show the version\n";
    }
    return std::nullopt;
}
