#pragma once
// Subcommands register themselves: each *Commands.cpp file defines a registrar that adds its
// subcommands to the application, so adding a command group touches no other file.

#include "platform/Hooks.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <string>

namespace orv {
struct ReaderState;
}

namespace orv::tool {

using CommandRegistration = std::function<void(CLI::App& app)>;

struct CommandRegistrar {
    CommandRegistrar(const char* name, CommandRegistration registration);
};

// The exit status the program ends with; commands set it through Fail or Succeed.
int& ExitStatus();

// Prints "orvtool: reason" to standard error and sets the exit status to 1.
void Fail(const std::string& reason);

// Runs the action as the subcommand's callback; the action returns the exit status.
void SetAction(CLI::App* command, std::function<int()> action);

// A path from the command line as the program writes paths: absolute, "\" separated.
std::string AbsoluteProgramPath(const std::string& native);

// The application folder of a command that reads one: --app-dir when given, else
// $ORVBOOK_HOME, else the current folder (never the user's, which it would create).
std::string ToolAppFolder(const std::string& appDir);

// Messages the reader's functions raise (a failing query) would reach standard error one by
// one while this lives; the command reports its one reason itself.
class QuietMessages {
public:
    QuietMessages()
        : m_previous(platform::SetShowMessageHook(
            [](const std::string&, const std::string&, platform::MessageKind) { return 1; }))
    {
    }
    ~QuietMessages() { platform::SetShowMessageHook(m_previous); }
    QuietMessages(const QuietMessages&) = delete;
    QuietMessages& operator=(const QuietMessages&) = delete;

private:
    platform::ShowMessageHook m_previous;
};

// Opens gallery in state as the reader opens its current gallery, the galleries beside it
// standing for the gallery list and the application folder that of ToolAppFolder(appDir);
// false after Fail.
bool OpenToolGallery(ReaderState& state, const std::string& gallery, const std::string& appDir);

}  // namespace orv::tool
