#pragma once
// The thumbnail grid page ("图集浏览"): the directory's drawings as pages of preview cells,
// each a picture over its caption, with the previous and next page buttons and the combo box
// that names the selected drawing and lists its attributes. What each cell shows, the paging,
// the selection and the layout are the core's (browser/PreviewGrid.h); the cells are drawn by
// the grid's one cell painter (browser/render/GridPainter.h), as orvtool draws a page, and this
// page forwards the user's clicks and keys.
//
// Keys: the arrows move the selection (past a page's edge to the next or previous page),
// Page Up and Page Down turn pages, Enter inserts the selected drawing, the menu key or
// Shift+F10 opens it in the image viewer.

#include "browser/PreviewGrid.h"
#include "browser/render/PreviewCache.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

class QComboBox;
class QToolButton;

namespace orv {

struct ReaderState;

class CPreviewDlg : public QWidget {
    Q_OBJECT
public:
    enum Control : int { kPrevious = 1005, kNext = 1006, kCombo = 1017 };

    CPreviewDlg(ReaderState& state, QWidget* parent = nullptr);

    // The drawing list changed (a directory was loaded, the options were changed): the
    // settings are read again, the cells laid out and the first page shown with its first
    // cell selected.
    void Reload();
    // The selection changed elsewhere (the detail list): the grid shows the page that holds
    // the selected drawing and marks its cell.
    void ShowSelectedDrawing();

    int Page() const { return m_page.Page; }
    int PageCount() const { return m_page.PageCount; }
    const GridSettings& Settings() const { return m_settings; }
    const GridPage& ShownPage() const { return m_page; }
    QComboBox* Combo() const { return m_combo; }
    // Where cell k's picture and its caption lie (empty past the grid).
    QRect CellRect(int k) const;
    QRect CaptionRect(int k) const;
    // The loaded preview of cell k of the page shown; null for a hidden cell.
    const PreviewPicture* CellPicture(int k) const;

signals:
    // The user chose a drawing (the detail list follows).
    void DrawingSelected();
    // A double-click or Enter asks for the drawing to be inserted.
    void InsertRequested(std::int32_t drawingId);
    // A right-click or the menu key asks for the cell's picture in the image viewer, under its
    // caption.
    void ViewRequested(const QString& title, const QString& path);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowPage(int page);
    void SelectCell(int cell, CellAction action);
    void LayOutCells();
    // The cell whose picture or caption holds point; -1 for none.
    int CellAt(const QPoint& point) const;
    void StepPage(int page);
    void View(int cell);

    ReaderState& m_state;
    GridSettings m_settings;
    GridPage m_page;
    GridLayout m_layout;
    CPreviewCache m_cache;
    std::vector<std::shared_ptr<const PreviewPicture>> m_pictures; // per cell of the page
    QToolButton* m_previous;
    QToolButton* m_next;
    QComboBox* m_combo;
    int m_selectedCell = -1;
};

} // namespace orv
