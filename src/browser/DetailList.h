#pragma once
// The detail list's decisions: its columns and rows (row r is drawing r of the shared drawing
// list), which row is selected after a fill or a user's choice, the preview it shows, the
// data sheet of the selected drawing and the remembered choice to show that sheet.

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

class CAdoConnection;
struct DirDrawingList;
struct ReaderState;

struct DetailColumn {
    std::string Title;
    int Width = 100;
};

// "名称" (150 pixels), the gallery's four field titles and "查询索引" (100 pixels each).
std::vector<DetailColumn> DetailColumns(const ReaderState& state);

// A row: DrawingCaption, then Status1, AppClass, FunClass, ShpClass, QueryKeyword.
using DetailRow = std::vector<std::string>;

struct DetailFill {
    std::vector<DetailRow> Rows;
    int SelectedRow = -1; // -1: no rows
};

// Fills the rows from the drawing list (none with the gallery closed) and selects the row of
// the remembered SelectedDrawingID, else row 0; the selection of the list follows.
DetailFill FillDetailList(ReaderState& state);

// The user chose row: when it is another drawing of the list it becomes the selection (true:
// show its preview and data sheet); anything else changes nothing.
bool SelectDetailRow(DirDrawingList& list, int row);

// The row of SelectedDrawingID (-1 when the list does not hold it); the index follows.
int SelectDetailDrawing(DirDrawingList& list);

// The preview of drawing i, chosen as the grid chooses but with a found library member named
// "%s(%s).sld"; "" for an index outside the list.
std::string DetailPreviewPath(const DirDrawingList& list, int i);

enum class DataSheetImage { Text = 0, Number = 1 };

struct DataSheetRow {
    std::string Caption, Value;
    DataSheetImage Image = DataSheetImage::Text;
};

// The data sheet of a drawing, from "Select * from DrawingData where DrawingID = %d Order By
// FieldOrder": FieldDataType 1 shows FieldValue_DBL as "%.4f" (always with a "." whatever
// the locale), any other type FieldValue_STR. Empty when the statement cannot be opened.
std::vector<DataSheetRow> DataSheetRows(const CAdoConnection& db, std::int32_t drawingId);

// "%.4f" of value with "." as the decimal point.
std::string FormatFieldNumber(double value);

// "ShowDetail" of section "Gallery": the data sheet is shown only when it reads as 1.
bool ReadShowDetail(const std::string& iniPath);
// Toggles the flag and writes it ("1" or "0"); returns the new flag. written is false when the
// settings file could not be replaced.
bool ToggleShowDetail(const std::string& iniPath, bool shown, bool* written = nullptr);

} // namespace orv
