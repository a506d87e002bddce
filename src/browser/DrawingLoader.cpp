#include "browser/DrawingLoader.h"

#include "app/ReaderState.h"
#include "app/common/ProfileFile.h"
#include "content/DirectoryContent.h"
#include "database/AdoRecordset.h"
#include "navigation/DirectoryQueries.h"

namespace orv {
namespace {

constexpr const char* kLibraryError = "图集库错误";

// The join through DrawingDir and SpecClass: a drawing's folder is its speciality's path and
// its directory's path, whatever its own DrawingPath says.
constexpr const char* kJoinHead
    = "SELECT DrawingList.DrawingName,DrawingList.DrawingID as TDrawingID,DrawingList.Status1,"
      "DrawingList.AppClass,DrawingList.FunClass,DrawingList.ShpClass,DrawingList.QueryKeyword,"
      "DrawingList.DrawingCaption, DrawingList.PreviewFile, SpecClass.SpecPath + DrawingDir.DirPath AS "
      "DrawingPath FROM DrawingList, DrawingDir, SpecClass WHERE DrawingList.DirID = DrawingDir.DirID AND "
      "DrawingDir.SpecID = SpecClass.SpecID AND DrawingList.SpecID = SpecClass.SpecID ";
constexpr const char* kUnbound = "And DrawingList.BoundDrawingID=0 ";

std::string ToUpperAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

bool EndsWith(std::string_view text, std::string_view tail)
{
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

bool Opens(const ReaderState& state, const std::string& sql)
{
    CAdoRecordset rs;
    return rs.OpenSql(sql, state.Database) == 0;
}

// Every load starts from an empty list with nothing selected.
void EmptyList(ReaderState& state)
{
    state.Drawings.Clear();
    state.Drawings.SelectedDrawingIndex = -1;
    state.Drawings.SelectedDrawingID = -1;
}

} // namespace

PreviewSplit SplitPreviewFile(std::string_view previewFile)
{
    PreviewSplit split;
    const std::string upper = ToUpperAscii(previewFile);
    const std::size_t open = upper.find('(');
    const std::size_t close = open == std::string::npos ? open : upper.find(')', open + 1);
    if (EndsWith(upper, "SLD") && open != std::string::npos && open > 0 && close != std::string::npos) {
        split.Library = upper.substr(0, open) + ".SLB";
        split.Member = upper.substr(open + 1, close - open - 1);
    } else {
        split.Member = upper;
    }
    return split;
}

bool ShowBoundDrawings(const ReaderState& state)
{
    int value = 0;
    return CProfileFile(state.IniPath).ReadInt("Preview", "ShowJoin", value) == 0 && value == 1;
}

std::string TreeDirectoryStatement(const ReaderState& state, std::int32_t dirId)
{
    const std::string id = std::to_string(dirId);
    const bool showBound = ShowBoundDrawings(state);
    if (!Opens(state, "Select DrawingID from DrawingDirList where DirID = " + id)) {
        return std::string(kJoinHead) + "And DrawingList.DrawingID>0 " + (showBound ? "" : kUnbound)
            + "And DrawingList.DirID = " + id
            + " Order By DrawingList.UserType,DrawingList.DrawingID,DrawingList.DrawingName";
    }
    if (Opens(state, "Select DrawingOrder from DrawingDirList")) {
        // The gallery orders its memberships itself; bound drawings are whatever it lists.
        return "Select DrawingName,DrawingList.DrawingID as TDrawingID ,Status1,AppClass,FunClass,ShpClass,"
               "QueryKeyword,DrawingCaption, PreviewFile, DrawingPath from DrawingList,DrawingDirList where "
               "DrawingList.DrawingID = DrawingDirList.DrawingID And DrawingDirList.DirID = "
            + id + " Order By DrawingDirList.DrawingOrder";
    }
    std::string sql = "SELECT DrawingName,DrawingID as TDrawingID,Status1,AppClass,FunClass,ShpClass,"
                      "QueryKeyword,DrawingCaption, PreviewFile, DrawingPath FROM DrawingList WHERE ";
    if (!showBound)
        sql += "BoundDrawingID=0 AND ";
    return sql + "DrawingID In (Select DrawingID from DrawingDirList where DirID = " + id
        + ") Order By UserType,DrawingID";
}

std::string LinkDirectoryStatement(bool showBound, std::int32_t dirId)
{
    return std::string(kJoinHead) + (showBound ? "" : kUnbound) + "And DrawingList.DrawingID>0 "
        + "And DrawingList.DirID = " + std::to_string(dirId)
        + " Order By DrawingList.DrawingID,DrawingList.DrawingName";
}

bool FillDrawingList(ReaderState& state, const std::string& sql, std::string& error)
{
    CAdoRecordset rs;
    if (rs.OpenSql(sql, state.Database) != 0) {
        error = kLibraryError;
        return false;
    }
    const std::string base = GalleryRoot(state);
    DirDrawingList& list = state.Drawings;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const PreviewSplit preview = SplitPreviewFile(rs.GetString("PreviewFile"));
        list.Ids.push_back(static_cast<std::uint32_t>(rs.GetLong("TDrawingID")));
        list.Names.push_back(rs.GetString("DrawingName"));
        list.Captions.push_back(rs.GetString("DrawingCaption"));
        list.PreviewMembers.push_back(preview.Member);
        list.PreviewLibraries.push_back(preview.Library);
        list.Folders.push_back(base + rs.GetString("DrawingPath"));
        list.Status1.push_back(rs.GetString("Status1"));
        list.AppClass.push_back(rs.GetString("AppClass"));
        list.FunClass.push_back(rs.GetString("FunClass"));
        list.ShpClass.push_back(rs.GetString("ShpClass"));
        list.QueryKeyword.push_back(rs.GetString("QueryKeyword"));
    }
    return true;
}

DrawingLoadResult LoadTreeDirectoryDrawings(ReaderState& state)
{
    DrawingLoadResult result;
    EmptyList(state);
    result.Statement = TreeDirectoryStatement(state, state.CurrentDirID);
    if (state.DatabaseOpen)
        result.Filled = FillDrawingList(state, result.Statement, result.Error);
    return result;
}

DrawingLoadResult LoadDirectoryDrawings(ReaderState& state)
{
    DrawingLoadResult result;
    EmptyList(state);
    result.Statement = LinkDirectoryStatement(ShowBoundDrawings(state), state.CurrentDirID);
    if (!state.DatabaseOpen)
        return result;
    result.Filled = FillDrawingList(state, result.Statement, result.Error);
    result.Title = PagedCaption(DirTitlePath(state.Database, state.CurrentDirID), state.CurrentPage,
        DirPageCount(state.Database, state.CurrentDirID));
    return result;
}

} // namespace orv
