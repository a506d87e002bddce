#pragma once
// Helpers every test program shares: a temporary folder that removes itself, small file
// helpers, and running orvtool as a black box.

#include <string>
#include <string_view>
#include <vector>

namespace orv::test {

// A fresh folder under the system's temporary folder, deleted with everything in it when
// the object goes away.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Native() const { return m_native; }  // "/tmp/orvtest-XXXX"
    std::string Program() const;                            // "\tmp\orvtest-XXXX"
    // Native and program paths of a name inside the folder ("a/b" or "a\b").
    std::string NativeAt(std::string_view relative) const;
    std::string ProgramAt(std::string_view relative) const;

private:
    std::string m_native;
};

// Sets an environment variable for the life of the object, then restores it (or unsets it
// when it had no value), so one test's folders never leak into the next.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    bool m_hadValue = false;
    std::string m_previous;
};

// The process's own cache and runtime folders (the runtime one private, as the desktop
// makes it), so tests never touch the user's and never see each other's.
class PrivateHome {
public:
    PrivateHome();

private:
    TempFolder m_dir;
    ScopedEnv m_cache, m_runtime;
};

// Writes bytes to a native path, creating missing folders.
void WriteFile(const std::string& nativePath, std::string_view bytes);
std::string ReadFile(const std::string& nativePath);

struct ToolResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs a program (argv[0], searched in PATH when it holds no "/") with the arguments, no
// shell, and collects its output.
ToolResult RunProgram(const std::vector<std::string>& argv, const std::string& stdinText = std::string());
// Runs orvtool with the arguments.
ToolResult RunTool(const std::vector<std::string>& args, const std::string& stdinText = std::string());

}  // namespace orv::test
