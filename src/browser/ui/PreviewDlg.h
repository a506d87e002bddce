#pragma once
// The thumbnail grid page ("图集浏览"): the directory's drawings as pages of preview cells,
// each a picture over its caption, with the previous and next page buttons and the combo box
// that names the selected drawing and lists its attributes. What each cell shows, the paging,
// the selection and the layout are the core's (browser/PreviewGrid.h); this page places the
// controls, paints and forwards the user's clicks.

#include "browser/PreviewGrid.h"

#include <QWidget>

#include <cstdint>
#include <vector>

class QComboBox;
class QToolButton;

namespace orv {

struct ReaderState;
class CColorStaticST;
class CPictureCtrl;

class CPreviewDlg : public QWidget {
    Q_OBJECT
public:
    enum Control : int { kPrevious = 1005, kNext = 1006, kCombo = 1017, kFirstPicture = 5000, kFirstCaption = 6000 };

    CPreviewDlg(ReaderState& state, QWidget* parent = nullptr);

    // The drawing list changed (a directory was loaded, the options were changed): the
    // settings are read again and the first page shown with its first cell selected.
    void Reload();
    // The selection changed elsewhere (the detail list): the grid shows the page that holds
    // the selected drawing and marks its cell.
    void ShowSelectedDrawing();

    int Page() const { return m_page.Page; }
    int PageCount() const { return m_page.PageCount; }
    const GridSettings& Settings() const { return m_settings; }
    QComboBox* Combo() const { return m_combo; }
    // Cell k's picture and caption; null past the cells made so far.
    CPictureCtrl* Picture(int k) const;
    CColorStaticST* Caption(int k) const;

signals:
    // The user chose a drawing by a click (the detail list follows).
    void DrawingSelected();
    // A double-click asks for the drawing to be inserted.
    void InsertRequested(std::int32_t drawingId);
    // A right-click asks for the cell's picture in the image viewer, under its caption.
    void ViewRequested(const QString& title, const QString& path);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowPage(int page);
    void SelectCell(int cell, CellAction action);
    void LayOutCells();
    void Recolour();
    void AlignCaption(int k);
    void OnCellEvent(int k, int kind);

    ReaderState& m_state;
    GridSettings m_settings;
    GridPage m_page;
    QToolButton* m_previous;
    QToolButton* m_next;
    QComboBox* m_combo;
    std::vector<CPictureCtrl*> m_pictures;
    std::vector<CColorStaticST*> m_captions;
    int m_selectedCell = -1;
};

} // namespace orv
