#include "browser/ui/DetailDlg.h"

#include "app/ReaderState.h"
#include "browser/DetailList.h"
#include "browser/PreviewGrid.h"
#include "browser/render/GridPainter.h"
#include "browser/ui/PictureCtrl.h"
#include "controls/ReportList.h"

#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>

namespace orv {
namespace {

} // namespace

CDetailDlg::CDetailDlg(ReaderState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_list(MakeReportList(this, kList))
    , m_preview(new CPictureCtrl(this))
    , m_dataSheet(MakeReportList(this, kDataSheet))
    , m_toggle(new QPushButton(this))
{
    setObjectName(QStringLiteral("CDetailDlg"));
    m_preview->setObjectName(QStringLiteral("ctl%1").arg(kPreview));
    m_toggle->setObjectName(QStringLiteral("ctl%1").arg(kToggle));
    m_toggle->setToolTip(QStringLiteral("显示/隐藏数据表"));
    m_dataSheet->setHeaderLabels({ QStringLiteral("项目"), QStringLiteral("内容") });
    m_dataSheet->setColumnWidth(0, 100);
    m_dataSheet->setColumnWidth(1, 100);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &CDetailDlg::OnCurrentRowChanged);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        const int row = m_list->indexOfTopLevelItem(item);
        if (!m_ready || row < 0)
            return;
        SelectDetailRow(m_state.Drawings, row);
        m_lastDrawingId = m_state.Drawings.SelectedDrawingID;
        emit InsertRequested(m_state.Drawings.SelectedDrawingID);
    });
    connect(m_preview, &CPictureCtrl::DoubleClicked, this, [this] {
        if (m_lastDrawingId >= 0)
            emit InsertRequested(m_lastDrawingId);
    });
    connect(m_toggle, &QPushButton::clicked, this, &CDetailDlg::ToggleDataSheet);
    m_showDataSheet = ReadShowDetail(m_state.IniPath);
    m_ready = true;
    LayOut();
}

void CDetailDlg::FillDetailList()
{
    m_ready = false;
    m_list->clear();
    m_dataSheet->clear();
    // The field titles change with the gallery.
    QStringList titles;
    const std::vector<DetailColumn> columns = DetailColumns(m_state);
    for (const DetailColumn& column : columns)
        titles << QString::fromStdString(column.Title);
    m_list->setHeaderLabels(titles);
    for (std::size_t c = 0; c < columns.size(); ++c)
        m_list->setColumnWidth(static_cast<int>(c), columns[c].Width);

    const DetailFill fill = orv::FillDetailList(m_state);
    QList<QTreeWidgetItem*> items;
    for (const DetailRow& row : fill.Rows) {
        QStringList texts;
        for (const std::string& text : row)
            texts << QString::fromStdString(text);
        items << new QTreeWidgetItem(texts);
    }
    m_list->addTopLevelItems(items);
    if (fill.SelectedRow >= 0)
        m_list->setCurrentItem(m_list->topLevelItem(fill.SelectedRow));
    m_ready = true;
    ShowPreview();
    ShowDataSheet(m_state.Drawings.SelectedDrawingID);
    m_lastDrawingId = m_state.Drawings.SelectedDrawingID;
}

void CDetailDlg::SelectDrawing()
{
    const int row = SelectDetailDrawing(m_state.Drawings);
    if (row < 0 || row >= m_list->topLevelItemCount())
        return;
    const bool wasReady = m_ready;
    m_ready = false;
    m_list->setCurrentItem(m_list->topLevelItem(row));
    m_list->scrollToItem(m_list->topLevelItem(row));
    m_ready = wasReady;
    ShowPreview();
    ShowDataSheet(m_state.Drawings.SelectedDrawingID);
    m_lastDrawingId = m_state.Drawings.SelectedDrawingID;
}

void CDetailDlg::OnCurrentRowChanged()
{
    if (!m_ready || !m_list->currentItem())
        return;
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (SelectDetailRow(m_state.Drawings, row)) {
        ShowPreview();
        ShowDataSheet(m_state.Drawings.SelectedDrawingID);
        emit DrawingSelected();
    }
    m_lastDrawingId = m_state.Drawings.SelectedDrawingID;
}

void CDetailDlg::ShowPreview()
{
    m_preview->SetBackground(ColorFromColorRef(ReadGridSettings(m_state.IniPath).PictureBackground));
    m_preview->SetPicture(DetailPreviewPath(m_state.Drawings, m_state.Drawings.SelectedDrawingIndex));
}

void CDetailDlg::ShowDataSheet(std::int32_t drawingId)
{
    m_dataSheet->clear();
    if (!m_state.DatabaseOpen)
        return;
    const QIcon text = style()->standardIcon(QStyle::SP_FileIcon);
    const QIcon number = style()->standardIcon(QStyle::SP_FileDialogDetailedView);
    QList<QTreeWidgetItem*> items;
    for (const DataSheetRow& row : DataSheetRows(m_state.Database, drawingId)) {
        auto* item
            = new QTreeWidgetItem({ QString::fromStdString(row.Caption), QString::fromStdString(row.Value) });
        item->setIcon(0, row.Image == DataSheetImage::Number ? number : text);
        items << item;
    }
    m_dataSheet->addTopLevelItems(items);
}

void CDetailDlg::ToggleDataSheet()
{
    m_showDataSheet = ToggleShowDetail(m_state.IniPath, m_showDataSheet);
    LayOut();
    m_list->setFocus();
}

void CDetailDlg::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void CDetailDlg::LayOut()
{
    const int gap = kGridFrameWidth / 4;
    const int w = std::max(width(), 0);
    const int h = std::max(height(), 0);
    const int listHeight = std::min(h / 2, kMaxListHeight);
    m_list->setGeometry(0, 0, w, listHeight);
    const int top = listHeight + gap;
    const int below = std::max(h - top, 0);
    // The button's arrow points the way the next press moves the split.
    m_toggle->setIcon(style()->standardIcon(m_showDataSheet ? QStyle::SP_ArrowRight : QStyle::SP_ArrowLeft));
    const int button = m_toggle->sizeHint().height();
    if (!m_showDataSheet) {
        m_dataSheet->hide();
        m_preview->setGeometry(0, top, std::max(w - button - gap, 0), below);
        m_toggle->setGeometry(std::max(w - button, 0), top, button, button);
        return;
    }
    const int previewWidth = std::max((w - button - 2 * gap) / 2, 0);
    m_preview->setGeometry(0, top, previewWidth, below);
    m_toggle->setGeometry(previewWidth + gap, top, button, button);
    const int sheetLeft = previewWidth + 2 * gap + button;
    m_dataSheet->setGeometry(sheetLeft, top, std::max(w - sheetLeft, 0), below);
    m_dataSheet->show();
}

} // namespace orv
