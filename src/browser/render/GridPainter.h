#pragma once
// Draws one page of the thumbnail grid with QPainter: each shown cell's picture area on the
// picture background (the selection colour for the selected drawing) with its picture, and
// its caption below, centred when it fits and left-aligned when it does not, in white on the
// selection colour when selected. Where cells lie and what they show come from the core
// (LayoutGridCells, BuildGridPage); the pictures come from the caller, so this file does not
// depend on how previews are loaded.

#include "browser/PreviewGrid.h"

#include <QColor>
#include <QFont>

#include <cstdint>
#include <functional>

class QFontMetrics;
class QPainter;
class QRect;
class QString;

namespace orv {

// Draws drawing drawingIndex's picture into rect (its background is already filled).
using CellPictureFunction = std::function<void(QPainter&, const QRect&, int drawingIndex)>;

struct GridPaintStyle {
    GridSettings Colours; // picture background, caption text and caption background
    std::uint32_t SelectionColour = kGridSelectionColour;
    QFont Font;
};

// A 32-bit colour value (0x00BBGGRR) as a QColor.
QColor ColorFromColorRef(std::uint32_t colour);

// True when the caption's text fits the caption's width and is drawn centred.
bool CaptionIsCentred(const QFontMetrics& metrics, const QString& caption, int width);

// Paints the shown cells of page at the places of layout (cell k of the page in layout cell
// k); selectedDrawing is the list's SelectedDrawingIndex (-1: none). Hidden cells are left
// untouched.
void PaintGridPage(QPainter& painter, const GridPage& page, const GridLayout& layout, int selectedDrawing,
    const GridPaintStyle& style, const CellPictureFunction& drawPicture);

} // namespace orv
