#include "browser/PreviewGrid.h"

#include "app/ReaderState.h"
#include "app/common/ProfileFile.h"
#include "database/AdoRecordset.h"
#include "navigation/DirectoryQueries.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace orv {
namespace {

std::string DropLast(const std::string& text, std::size_t n)
{
    return text.substr(0, text.size() >= n ? text.size() - n : 0);
}

int Side(int value)
{
    return std::clamp(value, 1, kMaxGridSide);
}

} // namespace

GridSettings ReadGridSettings(const std::string& iniPath, GridSettings settings)
{
    const CProfileFile ini(iniPath);
    int value = 0;
    if (ini.ReadInt("Preview", "Row", value) == 0 && value >= 1 && value <= kMaxGridSide)
        settings.Rows = value;
    if (ini.ReadInt("Preview", "Col", value) == 0 && value >= 1 && value <= kMaxGridSide)
        settings.Columns = value;
    double colour = 0;
    if (ini.ReadDouble("Preview", "ImgBck", colour) == 0 && colour >= 0 && colour < 0x1000000)
        settings.PictureBackground = static_cast<std::uint32_t>(colour);
    settings.CaptionText = kSystemWindowTextColour;
    settings.CaptionBackground = kSystemFaceColour;
    return settings;
}

int GridPageCount(std::size_t count, int rows, int columns)
{
    const std::size_t perPage = static_cast<std::size_t>(Side(rows) * Side(columns));
    return static_cast<int>((count + perPage - 1) / perPage);
}

std::string ChoosePreviewPath(const DirDrawingList& list, std::size_t i, const char* memberExtension)
{
    if (i >= list.Size())
        return std::string();
    const std::string& folder = list.Folders[i];
    const std::string& member = list.PreviewMembers[i];
    const std::string& library = list.PreviewLibraries[i];
    if (library.empty()) {
        const std::string path = folder + "\\" + member;
        return platform::FileExists(path) ? path : DropLast(path, 4) + ".jpg";
    }
    const std::string libraryPath = folder + "\\" + library;
    if (platform::FileExists(libraryPath))
        return DropLast(libraryPath, 4) + "(" + member + ")." + memberExtension;
    const std::string jpg = folder + "\\" + member + ".jpg";
    return platform::FileExists(jpg) ? jpg : folder + "\\" + member + ".sld";
}

std::string GridPicturePath(const DirDrawingList& list, std::size_t i)
{
    return ChoosePreviewPath(list, i, "slb");
}

std::string GridCaption(const DirDrawingList& list, std::size_t i)
{
    if (i >= list.Size())
        return std::string();
    std::string caption = list.Captions[i].empty() ? "(" + list.Names[i] + ")" : list.Captions[i];
    if (i < list.Status1.size() && !list.Status1[i].empty())
        caption += "(" + list.Status1[i] + ")";
    return caption;
}

std::string GridPictureTooltip(const std::string& caption)
{
    return caption + "(鼠标右键放大显示)";
}

GridPage BuildGridPage(const DirDrawingList& list, const GridSettings& settings, int page)
{
    GridPage result;
    const int perPage = Side(settings.Rows) * Side(settings.Columns);
    result.PageCount = GridPageCount(list.Size(), settings.Rows, settings.Columns);
    result.Page = page;
    for (int k = 0; k < perPage; ++k) {
        GridCell cell;
        cell.Cell = k;
        const long long i = static_cast<long long>(page) * perPage + k;
        if (i >= 0 && static_cast<std::size_t>(i) < list.Size()) {
            const auto index = static_cast<std::size_t>(i);
            cell.DrawingIndex = static_cast<int>(i);
            cell.PicturePath = GridPicturePath(list, index);
            cell.Caption = GridCaption(list, index);
            cell.Tooltip = GridPictureTooltip(cell.Caption);
        }
        result.Cells.push_back(std::move(cell));
    }
    result.PreviousEnabled = page > 0;
    result.NextEnabled = page + 1 < result.PageCount;
    return result;
}

int PreviousGridPage(int page)
{
    return page - 1 >= 0 ? page - 1 : -1;
}

int NextGridPage(int page, int pageCount)
{
    return page + 1 < pageCount ? page + 1 : -1;
}

GridSelection SelectGridCell(
    ReaderState& state, const GridSettings& settings, int page, int cell, CellAction action)
{
    GridSelection selection;
    DirDrawingList& list = state.Drawings;
    const long long perPage = Side(settings.Rows) * Side(settings.Columns);
    const long long i = static_cast<long long>(page) * perPage + cell;
    const bool inside = i >= 0 && static_cast<std::size_t>(i) < list.Size();
    // A hidden cell selects nothing at all: an index past the list would be taken for a
    // drawing by whoever reads the selection next.
    if (!inside) {
        list.SelectedDrawingIndex = -1;
        list.SelectedDrawingID = -1;
        return selection;
    }
    const auto index = static_cast<std::size_t>(i);
    selection.DrawingIndex = static_cast<int>(i);
    list.SelectedDrawingIndex = selection.DrawingIndex;
    selection.DrawingID = static_cast<std::int32_t>(list.Ids[index]);
    list.SelectedDrawingID = selection.DrawingID;
    char head[64];
    std::snprintf(head, sizeof head, "%d/%d ", selection.DrawingIndex + 1, static_cast<int>(list.Size()));
    selection.ComboLines.push_back(action == CellAction::DoubleClick
            ? std::string(head) + "[" + list.Names[index] + "]" + list.Captions[index]
            : std::string(head) + list.Captions[index]);
    for (std::string& line : DrawingAttributeLines(state, selection.DrawingID))
        selection.ComboLines.push_back(std::move(line));
    selection.ComboSelection = 0;
    return selection;
}

GridReload ReloadGrid(ReaderState& state, const GridSettings& current)
{
    GridReload reload;
    reload.Settings = ReadGridSettings(state.IniPath, current);
    reload.Page = BuildGridPage(state.Drawings, reload.Settings, 0);
    reload.Selection = SelectGridCell(state, reload.Settings, 0, 0);
    return reload;
}

std::vector<std::string> DrawingAttributeLines(const ReaderState& state, std::int32_t drawingId)
{
    std::vector<std::string> lines;
    if (!state.DatabaseOpen)
        return lines;
    CAdoRecordset rs;
    if (rs.OpenSql("Select * from DrawingList where DrawingID = " + std::to_string(drawingId), state.Database)
            != 0
        || rs.IsEOF())
        return lines;
    static const char* const kColumns[] = { "Status1", "AppClass", "FunClass", "ShpClass" };
    for (std::size_t t = 0; t < 4; ++t)
        lines.push_back(state.ColumnCaptions[t] + ":" + rs.GetString(kColumns[t]));
    lines.push_back("查询索引:" + rs.GetString("QueryKeyword"));
    lines.push_back("目录位置:\\" + DirTitlePath(state.Database, rs.GetLong("DirID")));
    return lines;
}

GridLayout LayoutGridCells(int width, int height, int rows, int columns, int frameWidth, int comboHeight)
{
    GridLayout layout;
    rows = Side(rows);
    columns = Side(columns);
    const int gap = std::max(frameWidth, 0) / 4;
    const int frame = std::max(frameWidth, 0);
    const int h = std::max(comboHeight, 0);
    width = std::max(width, 0);
    height = std::max(height, 0);
    const int cellWidth = std::max((width - (columns + 1) * gap) / columns, 0);
    const int cellHeight = std::max((height - 2 * gap - h) / rows, 0);
    const int pictureHeight = std::max(cellHeight - h - gap, 0);

    layout.Previous = { gap, gap, h, h };
    layout.Next = { std::max(width - gap - h, 0), gap, h, h };
    layout.Combo = { gap + h + gap, gap, std::max(width - 4 * gap - 2 * h, 0), h };
    for (int r = 0; r < rows; ++r) {
        const int y = 2 * gap + h + r * cellHeight;
        for (int c = 0; c < columns; ++c) {
            const int x = gap + c * (cellWidth + gap);
            CellRects cell;
            cell.Picture = { x, y, cellWidth, pictureHeight };
            cell.Caption = { x + frame, y + pictureHeight, std::max(cellWidth - 2 * frame, 0), h };
            layout.Cells.push_back(cell);
        }
    }
    return layout;
}

} // namespace orv
