#include "app/AddOnCall.h"

#include "app/ReaderState.h"
#include "app/common/PathHelpers.h"
#include "cadlink/CadExecutor.h"
#include "cadlink/CadPlanner.h"
#include "platform/DynamicLibrary.h"
#include "platform/Encoding.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "platform/SharedText.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>

namespace orv {
namespace {

std::optional<std::string> RealPath(const std::string& native)
{
    if (native.empty())
        return std::nullopt;
    char resolved[PATH_MAX];
    if (!::realpath(native.c_str(), resolved))
        return std::nullopt;
    return std::string(resolved);
}

// A folder as a real native path; a folder that does not exist keeps its collapsed name, so
// that nothing can be below it.
std::string RealFolder(const std::string& programPath)
{
    if (programPath.empty())
        return {};
    std::string native = platform::NativePath(programPath);
    if (auto real = RealPath(native))
        return *real;
    while (native.size() > 1 && native.back() == '/')
        native.pop_back();
    return native;
}

bool IsAtOrBelow(const std::string& path, const std::string& folder)
{
    if (folder.empty())
        return false;
    if (folder == "/")
        return true;
    return path.compare(0, folder.size(), folder) == 0
        && (path.size() == folder.size() || path[folder.size()] == '/');
}

// A gallery's content folder: its database path without the extension.
std::string GalleryRoot(const std::string& galleryFile)
{
    std::size_t slash = galleryFile.rfind('\\');
    std::size_t dot = galleryFile.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return galleryFile;
    return galleryFile.substr(0, dot);
}

int CallExport(void* symbol, const AddOnCall& call)
{
    switch (call.Arguments) {
    case 0:
        return reinterpret_cast<int (*)()>(symbol)();
    case 1:
        return reinterpret_cast<int (*)(int)>(symbol)(call.IntArgument);
    default: {
        std::string text = platform::Utf8ToGb18030(call.TextArgument);
        return reinterpret_cast<int (*)(int, const char*)>(symbol)(call.IntArgument, text.c_str());
    }
    }
}

} // namespace

std::optional<std::string> RunnableFile(const ReaderState& state, const std::string& programPath)
{
    auto real = RealPath(platform::NativePath(programPath));
    struct stat st;
    if (!real || ::stat(real->c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;

    const std::string app = RealFolder(state.AppPath);
    if (app.empty() || *real == app || !IsAtOrBelow(*real, app))
        return std::nullopt;
    if (IsAtOrBelow(*real, RealFolder(GetTempFolder())))
        return std::nullopt;
    const std::string library = RealFolder(state.LibPath);
    if (!IsAtOrBelow(app, library) && IsAtOrBelow(*real, library))
        return std::nullopt;
    for (const std::string& gallery : state.GalleryFiles)
        if (IsAtOrBelow(*real, RealFolder(GalleryRoot(gallery))))
            return std::nullopt;
    return real;
}

bool PlainAppPath(const ReaderState& state, const std::string& programPath)
{
    const std::string prefix = state.AppPath + "\\";
    if (state.AppPath.empty() || programPath.size() <= prefix.size()
        || !platform::EqualsNoCase(std::string_view(programPath).substr(0, prefix.size()), prefix))
        return false;
    const std::string name = programPath.substr(prefix.size());
    // An empty component ("\\") is where an absolute name was appended.
    return name[0] != '\\' && name.find("\\\\") == std::string::npos && name.find("..") == std::string::npos
        && name.find('/') == std::string::npos && name.find(':') == std::string::npos;
}

std::string ToolsSupportFolder(const ReaderState& state)
{
    return state.AppPath + "\\ORVMTools\\Support";
}

int PublishToolsFolder(const ReaderState& state)
{
    // The companion tools are native programs: they get a native path.
    return platform::PublishSharedText(platform::NativePath(ToolsSupportFolder(state)));
}

AddOnResult ExecuteAddOnCall(const ReaderState& state, const AddOnCall& call)
{
    AddOnResult result;
    if (call.Type == AddOnCall::Kind::None)
        return result;
    if (call.PublishToolsFolder)
        PublishToolsFolder(state);
    if (call.Type == AddOnCall::Kind::CadCommand) {
        const CadOutcome outcome
            = ExecuteCadPlan(PlanCadCommand(state, call.CadApplication, call.Command, "执行"));
        result.Done = outcome.Result == 0;
        result.ReturnValue = outcome.Result;
        result.Message = outcome.Message;
        return result;
    }

    auto real = PlainAppPath(state, call.File) ? RunnableFile(state, call.File) : std::nullopt;
    if (!real) {
        result.Message = call.MissingMessage.empty() ? "未找到" + call.File + "！" : call.MissingMessage;
        return result;
    }
    // The resolved file is what was checked: run that, not the name again.
    const std::string checked = platform::ProgramPath(*real);

    if (call.Type == AddOnCall::Kind::StartProgram) {
        std::string work = call.WorkFolder.empty() ? GetFolderPart(call.File) : call.WorkFolder;
        result.Done = platform::StartProgram(checked, call.Parameters, work);
        if (!result.Done)
            result.Message = "无法启动" + call.File + "！";
        return result;
    }

    if (call.Arguments < 0 || call.Arguments > 2)
        return result;
    platform::DynamicLibrary library;
    if (!library.Open(checked))
        return result;
    // Only the library's own export: dlsym would also find its dependencies' functions.
    void* symbol = library.OwnSymbol(call.Function);
    if (!symbol)
        return result;
    result.ReturnValue = CallExport(symbol, call);
    result.Done = true;
    return result;
}

} // namespace orv
