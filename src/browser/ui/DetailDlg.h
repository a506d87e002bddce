#pragma once
// The detail list page ("图集详细"): the directory's drawings as rows with their attribute
// columns, the selected drawing's preview, and its data sheet, which a button shows or hides
// (remembered in the settings). Rows, selection, preview path and data sheet are the core's
// (browser/DetailList.h).

#include <QWidget>

#include <cstdint>

class QPushButton;
class QTreeWidget;

namespace orv {

struct ReaderState;
class CPictureCtrl;

class CDetailDlg : public QWidget {
    Q_OBJECT
public:
    enum Control : int { kList = 1006, kPreview = 1007, kDataSheet = 1008, kToggle = 1027 };
    static constexpr int kMaxListHeight = 155;

    CDetailDlg(ReaderState& state, QWidget* parent = nullptr);

    // The drawing list changed: rows, selection, preview and data sheet anew.
    void FillDetailList();
    // The grid selected a drawing: its row is selected and its preview and data sheet shown.
    void SelectDrawing();

    bool DataSheetShown() const { return m_showDataSheet; }
    QTreeWidget* List() const { return m_list; }
    QTreeWidget* DataSheet() const { return m_dataSheet; }
    CPictureCtrl* Preview() const { return m_preview; }

signals:
    // The user chose a drawing in the list (the grid follows).
    void DrawingSelected();
    void InsertRequested(std::int32_t drawingId);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnCurrentRowChanged();
    void ShowPreview();
    void ShowDataSheet(std::int32_t drawingId);
    void ToggleDataSheet();
    void LayOut();

    ReaderState& m_state;
    QTreeWidget* m_list;
    CPictureCtrl* m_preview;
    QTreeWidget* m_dataSheet;
    QPushButton* m_toggle;
    bool m_ready = false;
    bool m_showDataSheet = false;
    std::int32_t m_lastDrawingId = -1;
};

} // namespace orv
