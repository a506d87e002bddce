#pragma once
// The thumbnail grid's decisions, made without a widget: its settings, its pages, what each
// cell shows, what a selected cell puts into the combo box, and where the cells lie. The grid
// widget reads these and only places, paints and wires them.

#include <cstdint>
#include <string>
#include <vector>

namespace orv {

class CAdoConnection;
struct DirDrawingList;
struct ReaderState;

// Colours are 32-bit colour values, 0x00BBGGRR.
inline constexpr std::uint32_t kGridSelectionColour = 0x800000; // dark blue
inline constexpr std::uint32_t kSystemWindowColour = 0xFFFFFF;
inline constexpr std::uint32_t kSystemWindowTextColour = 0x000000;
inline constexpr std::uint32_t kSystemFaceColour = 0xF0F0F0;
inline constexpr int kMaxGridSide = 9;
// The sizing frame's width the grid lays its cells out with (its quarter is the gap).
inline constexpr int kGridFrameWidth = 8;

struct GridSettings {
    int Rows = 3, Columns = 3;
    std::uint32_t PictureBackground = kSystemWindowColour;
    std::uint32_t CaptionText = kSystemWindowTextColour;
    std::uint32_t CaptionBackground = kSystemFaceColour;
};

// Reads "Row", "Col" (kept unless 1 to 9) and "ImgBck" (truncated; kept unless a colour) of
// section "Preview" over the values in settings. The caption colours return to the system
// colours each time.
GridSettings ReadGridSettings(const std::string& iniPath, GridSettings settings = {});

// count drawings in pages of rows x columns cells, rounded up; 0 drawings give 0 pages.
int GridPageCount(std::size_t count, int rows, int columns);

// The picture a cell shows for drawing i: the library member "%s(%s).slb" when the library
// exists, else member.jpg when it exists, else member.sld; without a library the member's
// own file when it exists, else that path with its last four characters made ".jpg".
std::string GridPicturePath(const DirDrawingList& list, std::size_t i);
// The same choice with the extension a found library member is named with ("slb" for the
// grid, "sld" for the detail list); "" for an index outside the list.
std::string ChoosePreviewPath(const DirDrawingList& list, std::size_t i, const char* memberExtension);

// The caption under a drawing: its caption, or "(" + name + ")" when that is empty, followed
// by "(" + Status1 + ")" when Status1 is not empty.
std::string GridCaption(const DirDrawingList& list, std::size_t i);
// The picture's tooltip.
std::string GridPictureTooltip(const std::string& caption);

struct GridCell {
    int Cell = 0; // k: row k / columns, column k % columns
    int DrawingIndex = -1; // -1: the cell is hidden
    std::string PicturePath, Caption, Tooltip;
};

struct GridPage {
    int Page = 0, PageCount = 0;
    std::vector<GridCell> Cells; // rows x columns, hidden ones included
    bool PreviousEnabled = false, NextEnabled = false;
};

GridPage BuildGridPage(const DirDrawingList& list, const GridSettings& settings, int page);

// The page a previous or next button press moves to, or -1 when it may not move.
int PreviousGridPage(int page);
int NextGridPage(int page, int pageCount);

enum class CellAction { Click, DoubleClick };

struct GridSelection {
    int DrawingIndex = -1;
    std::int32_t DrawingID = -1;
    std::vector<std::string> ComboLines;
    int ComboSelection = -1; // line 0 when there is any
};

// Selects cell k of the page: the drawing page * rows * columns + k becomes the selection of
// the list (an index outside the list selects nothing: index and ID -1). The combo box gets the
// drawing line ("%d/%d %s", or "%d/%d [%s]%s" for a double-click) and, with the gallery
// open, its attribute lines from its DrawingList row.
GridSelection SelectGridCell(ReaderState& state, const GridSettings& settings, int page, int cell,
    CellAction action = CellAction::Click);

struct GridReload {
    GridSettings Settings;
    GridPage Page;
    GridSelection Selection;
};

// After the drawing list changed: the settings read afresh over current, page 0 shown and
// its first cell selected (nothing selected when the list is empty).
GridReload ReloadGrid(ReaderState& state, const GridSettings& current);

// The attribute lines of a drawing: the four field titles with Status1, AppClass, FunClass
// and ShpClass, "查询索引:" with QueryKeyword, "目录位置:\" with the title path of its
// directory. Nothing when the drawing has no row.
std::vector<std::string> DrawingAttributeLines(const ReaderState& state, std::int32_t drawingId);

struct Rect {
    int X = 0, Y = 0, Width = 0, Height = 0;
    bool operator==(const Rect& o) const
    {
        return X == o.X && Y == o.Y && Width == o.Width && Height == o.Height;
    }
};

struct CellRects {
    Rect Picture, Caption;
};

struct GridLayout {
    Rect Previous, Combo, Next; // the navigation row at the top
    std::vector<CellRects> Cells; // rows x columns, row by row
};

// Lays the cells out in a client area of width x height: gap = frameWidth / 4, each cell a
// picture over a caption as high as the combo box; sizes below zero become zero. Rows and
// columns are taken as 1 to 9, so at most 81 cells.
GridLayout LayoutGridCells(int width, int height, int rows, int columns, int frameWidth, int comboHeight);

} // namespace orv
