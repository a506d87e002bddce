#pragma once
// One call of something outside the reader that a user action asks for: start an add-on or
// tool program, call an exported function of an add-on library, or send a command to the CAD
// program. The deciders (add-in buttons, tool menus, tool nodes of the contents tree, page
// links, per-directory actions) turn their texts into an AddOnCall; one executor carries it
// out, so the rules that keep a gallery from running programs live in one place.

#include <optional>
#include <string>

namespace orv {

struct ReaderState;

struct AddOnCall {
    enum class Kind {
        None, // nothing to do (an unknown extension, an empty field list)
        StartProgram, // File started in WorkFolder with Parameters (a Windows parameter string)
        CallLibrary, // Function of the library File called with Arguments arguments
        CadCommand, // the CAD link: load CadApplication (no extension) and send Command
    };
    Kind Type = Kind::None;
    std::string File; // program path, as the decider composed it
    std::string WorkFolder; // StartProgram: "" for the file's own folder
    std::string Parameters; // StartProgram: "<root>" already replaced
    std::string Function; // CallLibrary: the export's name
    int Arguments = 0; // CallLibrary: 0 (f()), 1 (f(int)) or 2 (f(int, const char*))
    int IntArgument = 0;
    std::string TextArgument; // UTF-8; handed over GB18030; "<root>" already replaced
    std::string CadApplication, Command; // CadCommand
    // Shown under the caption "执行" when File does not exist (or may not be run):
    // "未找到" + File + "！" or the decider's own form.
    std::string MissingMessage;
    // Add-in buttons, tool menus and tool nodes publish AppPath + "\ORVMTools\Support" in the
    // shared block "ORVBOOKPATH" first; add-on calls from pages and actions do not.
    bool PublishToolsFolder = false;
};

struct AddOnResult {
    bool Done = false; // the program started, or the function was called
    int ReturnValue = 0; // the function's return value
    std::string Message; // "" or the text to show under the caption "执行"
};

// Carries the call out. A file that does not exist, or that resolves outside the application
// folder (AppPath) or inside the gallery library folder or the temporary folder, is not run:
// the result then carries MissingMessage ("未找到" + File + "！" when that is empty). A
// program that exists but does not start gives "无法启动" + File + "！". A library that
// cannot be loaded, or lacks the export, is not called (Done false, no message). A CAD
// command goes through the relay libraries: Done when a relay succeeded, else its message.
AddOnResult ExecuteAddOnCall(const ReaderState& state, const AddOnCall& call);

// The file a program path names, as a real native path (case-blind lookup, dots collapsed,
// symbolic links followed), when it is a regular file that may be run: inside AppPath, and
// neither inside the temporary folder nor inside the gallery library folder or a gallery's
// own folder. When the library folder is the application folder itself (or holds it), only
// the galleries' folders are excluded, or no add-in could run at all.
std::optional<std::string> RunnableFile(const ReaderState& state, const std::string& programPath);

// Whether a path composed as AppPath + "\" + a name from an add-in, a tool or gallery data
// names its file plainly below the application folder: the name is not empty, not absolute
// (a leading "\" or an empty component) and holds no "..", no "/" and no ":" (a drive letter). Letter case is
// ignored, as the tool nodes compose their paths in upper case.
bool PlainAppPath(const ReaderState& state, const std::string& programPath);

// AppPath + "\ORVMTools\Support", the companion tools' support folder.
std::string ToolsSupportFolder(const ReaderState& state);
// Publishes that folder, as a native path, in the shared block "ORVBOOKPATH"; the result of
// platform::PublishSharedText.
int PublishToolsFolder(const ReaderState& state);

} // namespace orv
