#include "content/HistorySteps.h"

#include "app/ReaderState.h"
#include "app/common/PathHelpers.h"
#include "database/AdoRecordset.h"
#include "navigation/DirectoryQueries.h"
#include "platform/Paths.h"

#include <algorithm>

namespace orv {
namespace {

HistoryStepResult Step(ReaderState& state, ContentPanelState& panel, int delta)
{
    HistoryStepResult result;
    if (!state.ContentViewReady)
        return result;
    BrowseHistory& history = state.History;
    const int count = static_cast<int>(std::min(history.DirIds.size(), history.Keys.size()));
    const int p = history.Position;
    if (delta < 0 ? !(p > 0 && p < count) : !(p >= -1 && p < count - 1))
        return result;
    history.Position = p + delta;
    result.Moved = true;
    const auto at = static_cast<std::size_t>(history.Position);

    // DirIDs are stored unsigned; the program's are signed 32-bit, as the gallery's are.
    state.CurrentDirID = static_cast<std::int32_t>(history.DirIds[at]);
    if (state.CurrentDirID != 0) {
        ViewAction load;
        load.What = ViewAction::Kind::SelectDirectory;
        load.DirId = state.CurrentDirID;
        result.Actions.push_back(load);
    }
    const std::string& key = history.Keys[at];
    if (!platform::EqualsNoCase(key, state.CurrentHistoryKey)) {
        state.CurrentHistoryKey = key;
        panel.ContentKey = key;
        // Links followed inside the page since it was shown have changed the view without
        // ShownKey knowing: the entry's page is shown whatever ShownKey says.
        panel.ShownKey.clear();
        ShowContentResult shown = ShowContent(state, panel, ContentViewSlot::Main);
        result.Actions.insert(result.Actions.end(), shown.Actions.begin(), shown.Actions.end());
        result.Shown = std::move(shown);
    }

    state.CurrentPage = 0;
    const std::string title = GetBaseName(state.CurrentHistoryKey);
    CAdoRecordset rs;
    if (state.DatabaseOpen
        && rs.OpenSql("Select DirContent from DrawingDirFiles where DirID = "
                   + std::to_string(state.CurrentDirID) + " Order By ContentOrder",
               state.Database)
            == 0) {
        for (std::int32_t index = 0; !rs.IsEOF(); rs.MoveNext(), ++index) {
            if (platform::EqualsNoCase(GetBaseName(rs.GetString("DirContent")), title)) {
                state.CurrentPage = index;
                break;
            }
        }
    }
    result.Caption = DirectoryCaption(state, state.CurrentDirID, state.CurrentPage);
    return result;
}

} // namespace

std::string DirectoryCaption(const ReaderState& state, std::int32_t dirId, std::int32_t page)
{
    if (!state.DatabaseOpen)
        return std::string();
    return PagedCaption(DirTitlePath(state.Database, dirId), page, DirPageCount(state.Database, dirId));
}

HistoryStepResult GoBack(ReaderState& state, ContentPanelState& panel)
{
    return Step(state, panel, -1);
}

HistoryStepResult GoForward(ReaderState& state, ContentPanelState& panel)
{
    return Step(state, panel, +1);
}

} // namespace orv
