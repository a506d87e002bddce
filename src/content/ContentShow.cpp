#include "content/ContentShow.h"

#include "app/ReaderState.h"
#include "app/common/PathHelpers.h"
#include "browser/MetafileRenderer.h"
#include "content/DirectoryContent.h"
#include "content/GeneratedPages.h"
#include "content/LinkRouterText.h"
#include "content/WordMarking.h"
#include "database/AdoRecordset.h"
#include "packages/ZHtmFileLib.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <cstdio>

namespace orv {
namespace {

inline constexpr const char* kBlank = "about:blank";
inline constexpr const char* kSearchRunningText = "请先停止搜索后再打开。";
inline constexpr const char* kOpenCaption = "打开";

void Navigate(ShowContentResult& result, const std::string& address)
{
    ViewAction action;
    action.What = ViewAction::Kind::Navigate;
    action.Text = address;
    result.Actions.push_back(std::move(action));
    result.Shown = address;
}

std::string ContentMark(const ReaderState& state)
{
    if (!state.DatabaseOpen)
        return std::string();
    CAdoRecordset rs;
    if (rs.OpenSql("Select ContentMark from DrawingDir where DirID = " + std::to_string(state.CurrentDirID),
            state.Database)
            != 0
        || rs.IsEOF())
        return std::string();
    return rs.GetString("ContentMark");
}

// Goes to address at the anchor: through the redirect page, whose script reaches the anchor
// even in a page the view has just been given.
void NavigateAt(
    ShowContentResult& result, const std::string& temp, const std::string& address, const std::string& anchor)
{
    if (anchor.empty() || address == kBlank) {
        Navigate(result, address);
        return;
    }
    const std::string redirect = WriteRedirect(temp, address, anchor);
    if (redirect.empty()) {
        Navigate(result, address);
        return;
    }
    result.Files.push_back({ FileStep::Kind::Write, std::string(), redirect });
    Navigate(result, redirect);
}

// Inside the temporary folder, one level down: the only place a companion folder may be.
bool IsDirectChild(const std::string& folder, const std::string& path)
{
    return path.size() > folder.size() + 1
        && platform::EqualsNoCase(std::string_view(path).substr(0, folder.size()), folder)
        && path[folder.size()] == '\\' && IsSingleName(std::string_view(path).substr(folder.size() + 1));
}

void ShowPackagePage(ReaderState& state, ContentPanelState& panel, ContentViewState& view, bool main,
    const std::string& temp, const std::string& mark, ShowContentResult& result)
{
    state.ContentViewReady = false;
    std::string package, page;
    if (!SplitPackageKey(panel.ShownKey, package, page)) {
        Navigate(result, kBlank);
        return;
    }
    const std::string target = temp + "\\" + kDefaultPageName;
    CZHtmFileLib library(package);
    if (library.Open(package)) {
        std::string folderName;
        if (CZHtmFileLib::ExtractCompanionFiles(package, page, temp, folderName)) {
            library.SetBaseFolder(temp);
            view.CompanionExtracted = true;
            view.CompanionFolder = temp + "\\" + folderName;
            result.Files.push_back({ FileStep::Kind::Extract,
                package.substr(0, package.size() - 4) + "_files.flz", view.CompanionFolder });
        }
        std::string text = library.ReadPageText(page);
        if (!text.empty()) {
            CZHtmFileLib::RewriteLinksInPlace(
                text, library.GetBaseFolder().empty() ? GetFolderPart(package) : library.GetBaseFolder());
        }
        if (!text.empty() && WriteTempFile(temp, kDefaultPageName, text)) {
            result.Files.push_back({ FileStep::Kind::Extract, package + "(" + page + ")", target });
            view.ShowingPackagePage = true;
            view.PackagePath = package;
            view.PageName = page;
            if (main && !state.PendingHighlight.empty()) {
                if (HighlightWords(target, state.PendingHighlight, temp))
                    result.Files.push_back({ FileStep::Kind::Write, std::string(), target });
                NavigateAt(result, temp, target, kFindAnchorName);
            } else {
                NavigateAt(result, temp, target, mark);
            }
            result.Shown = target;
            return;
        }
        Navigate(result, kBlank);
    }
    const std::string candidate = GetFolderPart(package) + "\\" + page;
    view.ShowingPackagePage = false;
    view.PackagePath.clear();
    view.PageName.clear();
    NavigateAt(result, temp, platform::FileExists(candidate) ? candidate : std::string(kBlank), mark);
}

// The picture the page shows: a metafile as the PNG the installed renderer makes of it in the
// temporary folder, else the picture itself (a metafile then stays named, not shown).
std::string ShownPicture(const std::string& temp, const std::string& picture, ShowContentResult& result)
{
    const MetafileRenderer& render = GetMetafileRenderer();
    if (!render || !platform::EqualsNoCase(GetExtension(picture), "wmf"))
        return picture;
    std::string png;
    if (!render(picture, png) || !WriteTempFile(temp, kMetafilePictureName, png))
        return picture;
    const std::string shown = temp + "\\" + kMetafilePictureName;
    result.Files.push_back({ FileStep::Kind::Write, std::string(), shown });
    return shown;
}

} // namespace

std::string ViewTempFolder(const ContentViewState& view)
{
    return view.TempFolder.empty() ? GetTempFolder() : view.TempFolder;
}

ShowContentResult ShowContent(ReaderState& state, ContentPanelState& panel, ContentViewSlot slot)
{
    ShowContentResult result;
    const bool main = slot == ContentViewSlot::Main;
    ContentViewState& view = main ? panel.MainView : panel.SecondView;
    result.PicturePage = panel.PicturePageShown;
    if (panel.ContentKey.empty())
        panel.ContentKey = HomePagePath(state.AppPath);
    const ContentKeyKind kind = KindOfContentKey(state, panel.ContentKey);

    // Refused before anything changes: the view keeps its page, and the same key can be asked
    // for again once the search has stopped.
    if (kind == ContentKeyKind::PackagePage && state.SearchRunning) {
        ViewAction message;
        message.What = ViewAction::Kind::Message;
        message.Text = kSearchRunningText;
        message.Caption = kOpenCaption;
        message.Icon = 2;
        result.Actions.push_back(std::move(message));
        return result;
    }
    // The same key again: the page (a picture page too) stays as it is.
    if (main && !panel.ShownKey.empty() && platform::EqualsNoCase(panel.ShownKey, panel.ContentKey))
        return result;

    const std::string mark = main ? ContentMark(state) : std::string();
    const std::string temp = ViewTempFolder(view);
    if (main)
        panel.PicturePageShown = false;
    view.CompanionExtracted = false;
    view.CompanionFolder.clear();
    panel.ShownKey = panel.ContentKey;
    view.PackagePath.clear();
    view.ShowingPackagePage = false;

    switch (kind) {
    case ContentKeyKind::PackagePage:
        ShowPackagePage(state, panel, view, main, temp, mark, result);
        break;
    case ContentKeyKind::Picture: {
        const std::string picture = ShownPicture(temp, panel.ShownKey, result);
        // A rendered metafile is rewritten under one name: each page asks for it afresh.
        const std::string version = picture != panel.ShownKey ? std::to_string(++panel.PictureVersion) : std::string();
        if (WriteTempPage(temp, kDefaultPageName, PicturePageLines(picture, state.WholePage, version))) {
            const std::string page = temp + "\\" + kDefaultPageName;
            result.Files.push_back({ FileStep::Kind::Write, std::string(), page });
            if (main)
                panel.PicturePageShown = true;
            Navigate(result, page);
        } else {
            Navigate(result, kBlank);
        }
        break;
    }
    default:
        Navigate(result, mark.empty() ? panel.ShownKey : panel.ShownKey + "#" + mark);
        break;
    }
    result.PicturePage = panel.PicturePageShown;
    return result;
}

PackagePageLoad OnPackagePageLoaded(
    std::string& previousCompanion, ContentViewState& view, const std::string& loadedUrl)
{
    PackagePageLoad result;
    if (!view.ShowingPackagePage)
        return result;
    const std::string temp = ViewTempFolder(view);
    std::string path = linkrouter::AddressToPath(loadedUrl);
    path = path.substr(0, path.find('#'));
    auto names = [&](const char* name) {
        const std::string file = temp + "\\" + name;
        if (platform::EqualsNoCase(path, file))
            return true;
        const auto a = platform::IdentityOf(path), b = platform::IdentityOf(file);
        return !path.empty() && a && b && a->device == b->device && a->inode == b->inode;
    };
    // The redirect page goes on to the copy by itself.
    if (names(kRedirectPageName)) {
        result.Finished = false;
        return result;
    }
    if (!names(kDefaultPageName))
        return result;

    const std::string copy = temp + "\\" + kDefaultPageName;
    if (std::remove(platform::NativePath(copy).c_str()) == 0)
        result.Files.push_back({ FileStep::Kind::Delete, std::string(), copy });
    if (view.CompanionExtracted) {
        const std::string& previous = previousCompanion;
        if (!previous.empty() && !platform::EqualsNoCase(previous, view.CompanionFolder)
            && IsDirectChild(temp, previous) && DeleteFolderTree(previous))
            result.Files.push_back({ FileStep::Kind::DeleteFolder, std::string(), previous });
        previousCompanion = view.CompanionFolder;
    }
    return result;
}

} // namespace orv
