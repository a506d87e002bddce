// The "app:" links of gallery pages: the first three characters choose the action.

#include "app/AddOnCall.h"
#include "app/ReaderState.h"
#include "app/RunFunction.h"
#include "app/common/PathHelpers.h"
#include "app/common/TextHelpers.h"
#include "content/LinkRouter.h"
#include "content/DirectoryContent.h"
#include "content/LinkRouterText.h"
#include "database/AdoRecordset.h"
#include "database/SqlText.h"
#include "packages/FileLib.h"
#include "platform/Paths.h"

namespace orv {

using namespace linkrouter;

namespace {

using Kind = ViewAction::Kind;

// The title that ER= messages carry, as the application's own title string.
constexpr const char* kApplicationTitle = "Orv机电工程师手册";

std::optional<std::int32_t> FirstLong(const CAdoConnection& db, const std::string& sql, const char* column)
{
    CAdoRecordset rs;
    if (rs.OpenSql(sql, db) != 0 || rs.IsEOF())
        return std::nullopt;
    return rs.GetLong(column);
}

void SelectDirectory(std::vector<ViewAction>& out, std::optional<std::int32_t> dirId)
{
    if (dirId)
        out.push_back(MakeAction(Kind::SelectDirectory, {}, {}, 0, *dirId));
}

void DirectoryById(const ReaderState& state, const std::string& value, std::vector<ViewAction>& out)
{
    const auto id = ParseId(value);
    if (!id)
        return;
    SelectDirectory(out,
        FirstLong(
            state.Database, "Select DirID from DrawingDir where DirID = " + std::to_string(*id), "DirID"));
}

void RunAddOn(const ReaderState& state, const std::string& value, std::vector<ViewAction>& out)
{
    std::vector<std::string> fields = SplitString(value, "|");
    fields.resize(3);
    if (fields[0].empty())
        return;
    // The same call RunFunctionSpec would make, and the same refusal, decided without running.
    const AddOnCall call = MakeFunctionCall(state, fields[0], fields[1], fields[2]);
    if (call.Type == AddOnCall::Kind::None)
        return;
    const auto file = RunnableFile(state, call.File);
    if (!file) {
        out.push_back(MakeAction(
            Kind::Refused, call.MissingMessage.empty() ? "未找到" + call.File + "！" : call.MissingMessage));
        return;
    }
    out.push_back(MakeAction(Kind::Run, value, *file));
}

void OpenGalleryLink(const ReaderState& state, const std::string& value, std::vector<ViewAction>& out)
{
    const std::size_t slash = value.find('/');
    const bool split = slash != std::string::npos && slash > 0;
    const std::string gallery = split ? value.substr(0, slash) : value;
    const std::string target = split ? value.substr(slash + 1) : std::string();
    // The gallery switch belongs to the main window; the directory is looked up once the other
    // gallery is open (FindLinkedDirectory), or at once when the gallery is the current one.
    const std::string wanted = gallery + ".gal";
    for (std::size_t i = 0; i < state.GalleryFiles.size(); ++i) {
        const std::string& file = state.GalleryFiles[i];
        if (!platform::EqualsNoCase(CFileLib::GetFileNamePart(file), wanted))
            continue;
        if (static_cast<int>(i) != state.CurrentGallery) {
            out.push_back(MakeAction(Kind::OpenGallery, file, target));
            return;
        }
        break;
    }
    if (!target.empty())
        SelectDirectory(out, FindLinkedDirectory(state, target));
}

void PictureLink(const ReaderState& state, const std::string& value, std::vector<ViewAction>& out)
{
    std::string name = value;
    const std::size_t start = name.find_first_not_of("/\\");
    name = start == std::string::npos ? std::string() : name.substr(start);
    name = ReplaceAll(name, "%20", " ");
    std::string caption;
    const std::size_t paren = name.find('(');
    if (paren != std::string::npos && paren > 0) {
        caption = name.substr(paren);
        name.erase(paren);
    }
    name = ReplaceAll(name, "/", "\\");
    // A picture of the page's own folders, never a path of the page's choosing.
    if (!CFileLib::IsContainedName(name) || name.find('\0') != std::string::npos)
        return;

    const std::string& key = state.CurrentHistoryKey;
    const std::size_t backslash = key.rfind('\\');
    if (backslash == std::string::npos || backslash == 0)
        return;
    const std::string folder = ReplaceAll(key.substr(0, backslash), "%20", " ");
    std::string title = ReplaceAll(key.substr(backslash + 1), "%20", " ");
    const std::size_t open = title.find('(');
    if (open != std::string::npos && open > 0) {
        title = title.substr(open + 1);
        const std::size_t close = title.find(')');
        if (close != std::string::npos && close > 0)
            title.erase(close);
    }
    std::string picture = folder + "\\" + title + ".files\\" + name;
    if (!platform::FileExists(picture)) {
        picture = folder + "\\" + name;
        if (!platform::FileExists(picture))
            return;
    }
    // The caption travels beside the path: appended to it, the picture would never load.
    out.push_back(MakeAction(Kind::ShowPicture, picture, caption));
}

// Drawing links are written "BYID=:12" and "PATH=://dir//name": the one character between
// the keyword and the value is a separator. A value written straight after the "=" keeps its
// first character.
bool IsLinkSeparator(char c)
{
    const auto u = static_cast<unsigned char>(c);
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return u < 0x80 && !alnum && c != '/' && c != '\\' && c != '-' && c != '_' && c != '.';
}

void DrawingLink(const ReaderState& state, const std::string& value, std::vector<ViewAction>& out)
{
    if (value.size() < 5)
        return;
    const std::string head = UpperAscii(value.substr(0, 5));
    std::string rest = value.substr(5);
    if (!rest.empty() && IsLinkSeparator(rest[0]))
        rest.erase(0, 1);
    if (head == "BYID=") {
        const auto id = ParseId(rest);
        if (id && *id > 0)
            out.push_back(MakeAction(Kind::InsertDrawing, {}, {}, 0, *id));
        return;
    }
    if (head != "PATH=")
        return;
    rest = ReplaceAll(rest, "//", "\\");
    const std::size_t backslash = rest.rfind('\\');
    if (backslash == std::string::npos)
        return;
    const std::string path = rest.substr(0, backslash), name = rest.substr(backslash + 1);
    const auto id = FirstLong(state.Database,
        "Select DrawingID from DrawingList where DrawingName = " + SqlQuote(name)
            + " And DrawingPath = " + SqlQuote(path),
        "DrawingID");
    if (id && *id > 0)
        out.push_back(MakeAction(Kind::InsertDrawing, {}, {}, 0, *id));
}

std::optional<std::int32_t> DirectoryByName(const ReaderState& state, const std::string& name)
{
    return FirstLong(
        state.Database, "Select DirID from DrawingDir where DirName = " + SqlQuote(name), "DirID");
}

std::optional<std::int32_t> DirectoryByContent(const ReaderState& state, const std::string& text)
{
    const std::size_t backslash = text.find('\\');
    return FirstLong(state.Database,
        "Select DirID From DrawingDir where DirContent = '" + SqlEscape(text.substr(0, backslash)) + "("
            + SqlEscape(text.substr(backslash + 1)) + ")'",
        "DirID");
}

void PageOrTopicLink(ReaderState& state, ContentViewState& view, const std::string& command,
    const RouteOptions& options, std::vector<ViewAction>& out)
{
    const std::string upper = UpperAscii(command);
    const std::size_t htm = upper.find(".HTM");
    if (htm != std::string::npos && htm > 0) {
        const std::string title = command.substr(0, htm);
        std::size_t after = htm + 4;
        if (after < upper.size() && upper[after] == 'L')
            ++after;
        // Only an anchor may follow the page's name.
        const std::string rest = command.substr(after);
        const std::string anchor = !rest.empty() && rest[0] == '#' ? rest : std::string();
        // A page of the shown package or folder: one name, never a path. A "#" in it would
        // start the anchor of the address the view loads, which then names another file.
        if (!IsSingleName(title) || title.find('#') != std::string::npos)
            return;
        const std::string member = title + ".htm";
        if (ExtractPackagePage(view, member, options.DryRun)) {
            view.ShowingPackagePage = true;
            view.PageName = member;
            view.TargetUrl = DefaultPagePath(view) + anchor;
            state.CurrentHistoryKey = PackagePageKey(view.PackagePath, title);
        } else {
            std::string shown, shownAnchor;
            SplitAnchor(AddressToPath(view.LastUrl), shown, shownAnchor);
            const std::string folder = GetFolderPart(shown);
            if (folder.empty())
                return;
            view.TargetUrl = folder + "\\" + member + anchor;
            view.ShowingPackagePage = false;
        }
        out.push_back(MakeAction(Kind::Navigate, view.TargetUrl));
        return;
    }
    const std::size_t backslash = command.find('\\');
    if (backslash != std::string::npos && backslash > 0)
        SelectDirectory(out, DirectoryByContent(state, command));
    else
        SelectDirectory(out, DirectoryByName(state, command));
}

} // namespace

std::optional<std::int32_t> FindLinkedDirectory(const ReaderState& state, const std::string& target)
{
    if (target.empty() || !state.DatabaseOpen)
        return std::nullopt;
    const std::size_t backslash = target.find('\\');
    if (backslash != std::string::npos && backslash > 0)
        return DirectoryByContent(state, target);
    return DirectoryByName(state, target);
}

std::vector<ViewAction> OnAppLink(
    ReaderState& state, ContentViewState& view, const std::string& rawCommand, const RouteOptions& options)
{
    std::vector<ViewAction> out;
    if (rawCommand.empty() || !state.DatabaseOpen)
        return out;
    // The view reports the link percent-encoded; it is decoded once, here.
    const std::string command = platform::PercentDecode(rawCommand);
    if (command.empty() || command.find('\0') != std::string::npos)
        return out;
    const std::string prefix = UpperAscii(command.substr(0, 3));
    const std::string value = command.size() > 3 ? command.substr(3) : std::string();
    if (prefix == "ID=")
        DirectoryById(state, value, out);
    else if (prefix == "PA=")
        SelectDirectory(out,
            FirstLong(state.Database,
                "Select DirID from DrawingDir where DirPath = " + SqlQuote(value) + " Order By DirVisible",
                "DirID"));
    else if (prefix == "EX=")
        RunAddOn(state, value, out);
    else if (prefix == "GL=")
        OpenGalleryLink(state, value, out);
    else if (prefix == "IM=")
        PictureLink(state, value, out);
    else if (prefix == "DW=")
        DrawingLink(state, value, out);
    else if (prefix == "ER=")
        out.push_back(MakeAction(Kind::Message, value, kApplicationTitle, 0));
    else
        PageOrTopicLink(state, view, command, options, out);
    return out;
}

} // namespace orv
