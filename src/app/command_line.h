#pragma once
// What the program answers on the command line instead of starting.

#include <optional>
#include <string>

// The text for "--help" or "--version" when one of them is the whole command
// line; anything else is a path or URL to play.
std::optional<std::string> AnswerInformationRequest(const std::string& commandLine, const std::string& appName);
