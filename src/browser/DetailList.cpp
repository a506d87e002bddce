#include "browser/DetailList.h"

#include "app/ReaderState.h"
#include "app/common/ProfileFile.h"
#include "browser/PreviewGrid.h"
#include "database/AdoRecordset.h"

#include <charconv>
#include <cmath>

namespace orv {
namespace {

const std::string& At(const std::vector<std::string>& column, std::size_t i)
{
    static const std::string empty;
    return i < column.size() ? column[i] : empty;
}

bool Inside(const DirDrawingList& list, int row)
{
    return row >= 0 && static_cast<std::size_t>(row) < list.Size();
}

} // namespace

std::vector<DetailColumn> DetailColumns(const ReaderState& state)
{
    std::vector<DetailColumn> columns { { "名称", 150 } };
    for (const std::string& title : state.ColumnCaptions)
        columns.push_back({ title, 100 });
    columns.push_back({ "查询索引", 100 });
    return columns;
}

DetailFill FillDetailList(ReaderState& state)
{
    DetailFill fill;
    DirDrawingList& list = state.Drawings;
    if (!state.DatabaseOpen)
        return fill;
    int remembered = -1;
    for (std::size_t i = 0; i < list.Size(); ++i) {
        fill.Rows.push_back({ list.Captions[i], At(list.Status1, i), At(list.AppClass, i),
            At(list.FunClass, i), At(list.ShpClass, i), At(list.QueryKeyword, i) });
        if (remembered < 0 && static_cast<std::int32_t>(list.Ids[i]) == list.SelectedDrawingID)
            remembered = static_cast<int>(i);
    }
    if (fill.Rows.empty())
        return fill;
    fill.SelectedRow = remembered >= 0 ? remembered : 0;
    list.SelectedDrawingIndex = fill.SelectedRow;
    list.SelectedDrawingID = static_cast<std::int32_t>(list.Ids[static_cast<std::size_t>(fill.SelectedRow)]);
    return fill;
}

bool SelectDetailRow(DirDrawingList& list, int row)
{
    if (row == list.SelectedDrawingIndex || !Inside(list, row))
        return false;
    list.SelectedDrawingIndex = row;
    list.SelectedDrawingID = static_cast<std::int32_t>(list.Ids[static_cast<std::size_t>(row)]);
    return true;
}

int SelectDetailDrawing(DirDrawingList& list)
{
    for (std::size_t i = 0; i < list.Size(); ++i)
        if (static_cast<std::int32_t>(list.Ids[i]) == list.SelectedDrawingID) {
            list.SelectedDrawingIndex = static_cast<int>(i);
            return list.SelectedDrawingIndex;
        }
    return -1;
}

std::string DetailPreviewPath(const DirDrawingList& list, int i)
{
    return Inside(list, i) ? ChoosePreviewPath(list, static_cast<std::size_t>(i), "sld") : std::string();
}

std::string FormatFieldNumber(double value)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? "nan" : value > 0 ? "inf" : "-inf";
    // to_chars never looks at the locale, unlike printf under a "," decimal point.
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 4);
    return result.ec == std::errc() ? std::string(text, result.ptr) : std::string();
}

std::vector<DataSheetRow> DataSheetRows(const CAdoConnection& db, std::int32_t drawingId)
{
    std::vector<DataSheetRow> rows;
    CAdoRecordset rs;
    if (rs.OpenSql("Select * from DrawingData where DrawingID = " + std::to_string(drawingId)
                + " Order By FieldOrder",
            db)
        != 0)
        return rows;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        DataSheetRow row;
        row.Caption = rs.GetString("FieldCaption");
        if (rs.GetShort("FieldDataType") == 1) {
            row.Value = FormatFieldNumber(rs.GetDouble("FieldValue_DBL"));
            row.Image = DataSheetImage::Number;
        } else {
            row.Value = rs.GetString("FieldValue_STR");
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

bool ReadShowDetail(const std::string& iniPath)
{
    int value = 0;
    return CProfileFile(iniPath).ReadInt("Gallery", "ShowDetail", value) == 0 && value == 1;
}

bool ToggleShowDetail(const std::string& iniPath, bool shown, bool* written)
{
    const bool next = !shown;
    const int result = CProfileFile(iniPath).WriteString("Gallery", "ShowDetail", next ? "1" : "0");
    if (written)
        *written = result == 0;
    return next;
}

} // namespace orv
