#include "content/LinkRouter.h"

#include "app/ReaderState.h"
#include "app/common/PathHelpers.h"
#include "content/DirectoryContent.h"
#include "content/LinkRouterText.h"
#include "content/LocalContent.h"
#include "database/AdoRecordset.h"
#include "database/SqlText.h"
#include "packages/FileLib.h"
#include "packages/ZHtmFileLib.h"
#include "platform/Paths.h"

#include <cstdio>
#include <limits>

namespace orv {
namespace linkrouter {

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && platform::EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::string UpperAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to)
{
    if (from.empty())
        return text;
    for (std::size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size()))
        text.replace(pos, from.size(), to);
    return text;
}

std::string AddressToPath(const std::string& address)
{
    const bool local = StartsWithNoCase(address, std::string(kLocalScheme) + ":");
    if (local || StartsWithNoCase(address, "file:")) {
        // The anchor is split off before decoding: a "%23" inside a name is no anchor.
        const std::size_t hash = address.find('#');
        std::string path = local ? LocalUrlToPath(address.substr(0, hash))
                                 : platform::FileUrlToPath(address.substr(0, hash));
        if (path.empty())
            return std::string();
        return hash == std::string::npos ? path : path + address.substr(hash);
    }
    return ReplaceAll(ReplaceAll(address, "/", "\\"), "%20", " ");
}

void SplitAnchor(const std::string& path, std::string& page, std::string& anchor)
{
    const std::size_t hash = path.find('#');
    if (hash == std::string::npos || hash == 0) {
        page = path;
        anchor.clear();
        return;
    }
    page = path.substr(0, hash);
    anchor = path.substr(hash);
}

bool IsInsideFolder(const std::string& path, const std::string& folder)
{
    if (folder.empty() || path.empty())
        return false;
    const std::string collapsed = platform::CollapseDots(path);
    std::string base = platform::CollapseDots(folder);
    if (base.empty() || base == ".")
        return false;
    if (base.back() != '\\')
        base += '\\';
    return collapsed.size() > base.size() && StartsWithNoCase(collapsed, base);
}

std::optional<std::int32_t> ParseId(std::string_view text)
{
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::string PackagePageKey(const std::string& packagePath, const std::string& pageTitle)
{
    const std::string stem
        = packagePath.size() >= 4 ? packagePath.substr(0, packagePath.size() - 4) : packagePath;
    return stem + "(" + pageTitle + ").htz";
}

bool ExtractPackagePage(ContentViewState& view, const std::string& member, bool dryRun)
{
    if (view.PackagePath.empty() || !IsSingleName(member) || view.TempFolder.empty())
        return false;
    if (dryRun) {
        // The plain library reads only the index: nothing is written, not even a folder.
        CFileLib index(view.PackagePath);
        std::uint32_t offset = 0, size = 0;
        return index.Open(view.PackagePath) && index.FindFile(member, offset, size);
    }
    CZHtmFileLib library(view.PackagePath);
    if (!library.Open(view.PackagePath))
        return false;
    CreateFolderPath(view.TempFolder + "\\");
    library.SetBaseFolder(std::string());
    view.CompanionExtracted = false;
    std::string folder;
    if (CZHtmFileLib::ExtractCompanionFiles(view.PackagePath, member, view.TempFolder, folder)) {
        library.SetBaseFolder(view.TempFolder);
        view.CompanionExtracted = true;
        view.CompanionFolder = view.TempFolder + "\\" + folder;
    }
    library.SetExtractionFolder(view.TempFolder);
    std::string target = DefaultPagePath(view);
    return library.ExtractFile(member, target);
}

ViewAction MakeAction(ViewAction::Kind kind, std::string text, std::string caption, int icon, long long id)
{
    ViewAction action;
    action.What = kind;
    action.Text = std::move(text);
    action.Caption = std::move(caption);
    action.Icon = icon;
    action.DirId = id;
    return action;
}

} // namespace linkrouter

using namespace linkrouter;

namespace {

using Kind = ViewAction::Kind;

// "scheme:" at the start: two or more letters, digits, "+", "-" or "." after a letter (one
// letter is a drive). Empty when there is none.
std::string SchemeOf(const std::string& address)
{
    const std::size_t colon = address.find(':');
    if (colon == std::string::npos || colon < 2)
        return std::string();
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = address[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        if (!letter && !(i > 0 && other))
            return std::string();
    }
    return platform::ToLowerAscii(address.substr(0, colon));
}

// Schemes a page may name that neither the view nor the desktop is to open.
bool IsInertScheme(const std::string& scheme)
{
    return scheme == "javascript" || scheme == "vbscript" || scheme == "data" || scheme == "blob";
}

// The pages of our own: the gallery folders, the home page folder and the temporary folder.
bool IsLocalPage(const ReaderState& state, const ContentViewState& view, const std::string& address)
{
    std::string page, anchor;
    SplitAnchor(AddressToPath(address), page, anchor);
    if (page.empty())
        return false;
    if (IsInsideFolder(page, view.TempFolder) || IsInsideFolder(page, state.AppPath + "\\HomePage")
        || IsInsideFolder(page, state.LibPath))
        return true;
    if (state.CurrentGallery >= 0
        && static_cast<std::size_t>(state.CurrentGallery) < state.GalleryFiles.size())
        return IsInsideFolder(
            page, GetFolderPart(state.GalleryFiles[static_cast<std::size_t>(state.CurrentGallery)]));
    return false;
}

} // namespace

std::string DefaultPagePath(const ContentViewState& view)
{
    return view.TempFolder + "\\ORVBookDefault.htm";
}

NavigationDecision RouteNavigation(ReaderState& state, ContentViewState& view, const std::string& address,
    NavigationOrigin origin, const RouteOptions& options)
{
    NavigationDecision decision;
    view.TargetUrl = address;
    view.WheelCount = 0;
    view.HasTextContents = true;
    if (address.find('\0') != std::string::npos) {
        decision.Go = false;
        return decision;
    }

    if (StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "mailto:"))
        return decision;
    // Every other web scheme ("https:", "ftp:") goes to the desktop, never into the package.
    const std::string scheme = SchemeOf(address);
    if (!scheme.empty() && scheme != "file" && scheme != kLocalScheme && scheme != "app" && scheme != "about") {
        decision.Go = false;
        if (!IsInertScheme(scheme))
            decision.Actions.push_back(MakeAction(Kind::External, address));
        return decision;
    }

    const std::string path = scheme == "app" || scheme == "about" ? std::string() : AddressToPath(address);
    if (!path.empty()) {
        if (platform::EqualsNoCase(path, state.AppPath + "\\HomePage\\Index.htm"))
            return decision;
        if (platform::FileExists(path))
            return decision;
        const std::size_t hash = path.find('#');
        if (hash != std::string::npos && hash > 0 && platform::FileExists(path.substr(0, hash)))
            return decision;
    }

    const std::string upper = UpperAscii(address);
    if (upper == "ABOUT:BLANK" || upper == "ABOUT:BLANKTEXT/HTML")
        return decision;

    if (state.DatabaseOpen) {
        std::string option;
        if (ReadGallerySetting(state.Database, "HasTextContents", option) && option == "0")
            view.HasTextContents = false;
    }

    if (scheme == "app") {
        decision.Go = false;
        // A script, or a page from elsewhere, must not be able to run reader actions.
        if (origin == NavigationOrigin::User && IsLocalPage(state, view, view.LastUrl))
            decision.Actions = OnAppLink(state, view, address.substr(4), options);
        return decision;
    }
    if (scheme == "about") {
        // Any other about: page is the browser's own.
        return decision;
    }

    std::string page, anchor;
    SplitAnchor(path, page, anchor);
    if (!state.ContentViewReady || view.PackagePath.empty() || page.empty()
        || platform::EqualsNoCase(page, DefaultPagePath(view)))
        return decision;
    // An anchor inside the shown page is the browser's to scroll to.
    std::string shownPage, shownAnchor;
    SplitAnchor(AddressToPath(view.LastUrl), shownPage, shownAnchor);
    if (!anchor.empty() && !shownPage.empty() && platform::EqualsNoCase(page, shownPage))
        return decision;

    decision.Go = false;
    if (state.SearchRunning) {
        decision.Actions.push_back(MakeAction(Kind::Message, "请先停止搜索后再打开。", "打开", 2));
        return decision;
    }

    // The page's title: a name in the temporary folder (a relative link of an extracted page),
    // else the last component of the path, either without its extension.
    std::string name;
    const std::string& temp = view.TempFolder;
    if (!temp.empty() && page.size() > temp.size() + 1 && StartsWithNoCase(page, temp)
        && page[temp.size()] == '\\')
        name = page.substr(temp.size() + 1);
    else
        name = page.substr(page.rfind('\\') == std::string::npos ? 0 : page.rfind('\\') + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    name = UpperAscii(name);
    if (!IsSingleName(name))
        return decision;

    view.PageName = name;
    state.CurrentHistoryKey = PackagePageKey(view.PackagePath, name);
    state.History.Add(0, state.CurrentHistoryKey);
    decision.Actions.push_back(MakeAction(Kind::History, state.CurrentHistoryKey, {}, 0, 0));
    view.PageName = name + ".htm";

    view.TargetUrl = DefaultPagePath(view);
    if (ExtractPackagePage(view, view.PageName, options.DryRun)) {
        view.ShowingPackagePage = true;
        view.TargetUrl += anchor;
        decision.Actions.push_back(MakeAction(Kind::Navigate, view.TargetUrl));
        return decision;
    }
    const std::string beside = GetFolderPart(view.PackagePath) + "\\" + view.PageName;
    if (platform::FileExists(beside))
        view.TargetUrl = beside + anchor;
    view.ShowingPackagePage = false;
    decision.Actions.push_back(MakeAction(Kind::Navigate, view.TargetUrl));
    return decision;
}

bool OnNavigationComplete(ReaderState& state, ContentViewState& view, const std::string& address)
{
    view.LastUrl = address;
    state.ContentViewReady = !view.ShowingPackagePage;
    return view.ShowingPackagePage;
}

} // namespace orv
