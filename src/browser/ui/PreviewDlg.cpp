#include "browser/ui/PreviewDlg.h"

#include "app/ReaderState.h"
#include "browser/render/GridPainter.h"

#include <QComboBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QToolTip>

namespace orv {
namespace {

QRect ToQRect(const Rect& r)
{
    return QRect(r.X, r.Y, r.Width, r.Height);
}

} // namespace

CPreviewDlg::CPreviewDlg(ReaderState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_previous(new QToolButton(this))
    , m_next(new QToolButton(this))
    , m_combo(new QComboBox(this))
{
    setObjectName(QStringLiteral("CPreviewDlg"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_previous->setObjectName(QStringLiteral("ctl%1").arg(kPrevious));
    m_previous->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    m_previous->setToolTip(QStringLiteral("上一页"));
    m_previous->setAutoRaise(true);
    m_next->setObjectName(QStringLiteral("ctl%1").arg(kNext));
    m_next->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    m_next->setToolTip(QStringLiteral("下一页"));
    m_next->setAutoRaise(true);
    m_combo->setObjectName(QStringLiteral("ctl%1").arg(kCombo));
    connect(m_previous, &QToolButton::clicked, this, [this] { StepPage(PreviousGridPage(m_page.Page)); });
    connect(m_next, &QToolButton::clicked, this,
        [this] { StepPage(NextGridPage(m_page.Page, m_page.PageCount)); });
    m_settings = ReadGridSettings(m_state.IniPath, m_settings);
}

QRect CPreviewDlg::CellRect(int k) const
{
    if (k < 0 || static_cast<std::size_t>(k) >= m_layout.Cells.size())
        return QRect();
    return ToQRect(m_layout.Cells[static_cast<std::size_t>(k)].Picture);
}

QRect CPreviewDlg::CaptionRect(int k) const
{
    if (k < 0 || static_cast<std::size_t>(k) >= m_layout.Cells.size())
        return QRect();
    return ToQRect(m_layout.Cells[static_cast<std::size_t>(k)].Caption);
}

const PreviewPicture* CPreviewDlg::CellPicture(int k) const
{
    if (k < 0 || static_cast<std::size_t>(k) >= m_pictures.size())
        return nullptr;
    return m_pictures[static_cast<std::size_t>(k)].get();
}

void CPreviewDlg::Reload()
{
    m_settings = ReadGridSettings(m_state.IniPath, m_settings);
    m_combo->clear();
    // The grid may have changed its size: the cells are laid out before a page is shown.
    LayOutCells();
    ShowPage(0);
    SelectCell(0, CellAction::Click);
}

void CPreviewDlg::ShowSelectedDrawing()
{
    const int perPage = m_settings.Rows * m_settings.Columns;
    const int index = m_state.Drawings.SelectedDrawingIndex;
    if (perPage <= 0 || index < 0 || static_cast<std::size_t>(index) >= m_state.Drawings.Size())
        return;
    if (index / perPage != m_page.Page)
        ShowPage(index / perPage);
    // The combo box names the drawing chosen elsewhere too.
    SelectCell(index % perPage, CellAction::Click);
}

void CPreviewDlg::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOutCells();
}

void CPreviewDlg::LayOutCells()
{
    m_layout = LayoutGridCells(width(), height(), m_settings.Rows, m_settings.Columns, kGridFrameWidth,
        m_combo->sizeHint().height());
    m_previous->setGeometry(ToQRect(m_layout.Previous));
    m_combo->setGeometry(ToQRect(m_layout.Combo));
    m_next->setGeometry(ToQRect(m_layout.Next));
    update();
}

void CPreviewDlg::ShowPage(int page)
{
    m_page = BuildGridPage(m_state.Drawings, m_settings, page);
    m_pictures.assign(m_page.Cells.size(), nullptr);
    for (std::size_t k = 0; k < m_page.Cells.size(); ++k) {
        if (m_page.Cells[k].DrawingIndex >= 0)
            m_pictures[k] = m_cache.Get(m_page.Cells[k].PicturePath);
    }
    m_previous->setEnabled(m_page.PreviousEnabled);
    m_next->setEnabled(m_page.NextEnabled);
    update();
}

void CPreviewDlg::SelectCell(int cell, CellAction action)
{
    const GridSelection selection = SelectGridCell(m_state, m_settings, m_page.Page, cell, action);
    m_combo->clear();
    for (const std::string& line : selection.ComboLines)
        m_combo->addItem(QString::fromStdString(line));
    if (selection.ComboSelection >= 0)
        m_combo->setCurrentIndex(selection.ComboSelection);
    m_selectedCell = selection.DrawingIndex >= 0 ? cell : -1;
    update();
}

void CPreviewDlg::StepPage(int page)
{
    if (page < 0)
        return;
    ShowPage(page);
    SelectCell(0, CellAction::Click);
    emit DrawingSelected();
    setFocus();
}

void CPreviewDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    GridPaintStyle style;
    style.Colours = m_settings;
    style.Font = font();
    const int selected = m_selectedCell >= 0 && static_cast<std::size_t>(m_selectedCell) < m_page.Cells.size()
        ? m_page.Cells[static_cast<std::size_t>(m_selectedCell)].DrawingIndex
        : -1;
    PaintGridPage(painter, m_page, m_layout, selected, style, [&](QPainter& p, const QRect& rect, int index) {
        for (std::size_t k = 0; k < m_page.Cells.size() && k < m_pictures.size(); ++k) {
            if (m_page.Cells[k].DrawingIndex != index || !m_pictures[k])
                continue;
            const QColor background
                = ColorFromColorRef(index == selected ? style.SelectionColour : m_settings.PictureBackground);
            PaintPreviewPicture(p, rect, *m_pictures[k], background);
            return;
        }
    });
}

int CPreviewDlg::CellAt(const QPoint& point) const
{
    for (std::size_t k = 0; k < m_layout.Cells.size() && k < m_page.Cells.size(); ++k) {
        if (m_page.Cells[k].DrawingIndex < 0)
            continue;
        if (ToQRect(m_layout.Cells[k].Picture).contains(point) || ToQRect(m_layout.Cells[k].Caption).contains(point))
            return static_cast<int>(k);
    }
    return -1;
}

void CPreviewDlg::mousePressEvent(QMouseEvent* event)
{
    const int cell = CellAt(event->position().toPoint());
    if (cell < 0)
        return QWidget::mousePressEvent(event);
    setFocus();
    if (event->button() == Qt::LeftButton) {
        SelectCell(cell, CellAction::Click);
        emit DrawingSelected();
    } else if (event->button() == Qt::RightButton) {
        View(cell);
    }
}

void CPreviewDlg::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int cell = CellAt(event->position().toPoint());
    if (cell < 0 || event->button() != Qt::LeftButton)
        return QWidget::mouseDoubleClickEvent(event);
    SelectCell(cell, CellAction::DoubleClick);
    emit DrawingSelected();
    if (m_state.Drawings.SelectedDrawingID >= 0)
        emit InsertRequested(m_state.Drawings.SelectedDrawingID);
}

void CPreviewDlg::View(int cell)
{
    if (cell < 0 || static_cast<std::size_t>(cell) >= m_page.Cells.size() || m_page.Cells[static_cast<std::size_t>(cell)].DrawingIndex < 0)
        return;
    const GridCell& shown = m_page.Cells[static_cast<std::size_t>(cell)];
    emit ViewRequested(QString::fromStdString(shown.Caption), QString::fromStdString(shown.PicturePath));
}

void CPreviewDlg::keyPressEvent(QKeyEvent* event)
{
    const int columns = m_settings.Columns;
    const int perPage = m_settings.Rows * columns;
    const int cell = std::max(m_selectedCell, 0);
    // The cell a key moves to, as a drawing index of the whole list.
    int target = -1;
    switch (event->key()) {
    case Qt::Key_Left:
        target = m_page.Page * perPage + cell - 1;
        break;
    case Qt::Key_Right:
        target = m_page.Page * perPage + cell + 1;
        break;
    case Qt::Key_Up:
        target = m_page.Page * perPage + cell - columns;
        break;
    case Qt::Key_Down:
        target = m_page.Page * perPage + cell + columns;
        break;
    case Qt::Key_PageUp:
        StepPage(PreviousGridPage(m_page.Page));
        return;
    case Qt::Key_PageDown:
        StepPage(NextGridPage(m_page.Page, m_page.PageCount));
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_state.Drawings.SelectedDrawingID >= 0)
            emit InsertRequested(m_state.Drawings.SelectedDrawingID);
        return;
    case Qt::Key_Menu:
        View(m_selectedCell);
        return;
    case Qt::Key_F10:
        if (event->modifiers() & Qt::ShiftModifier) {
            View(m_selectedCell);
            return;
        }
        break;
    default:
        break;
    }
    if (target < 0 || perPage <= 0 || static_cast<std::size_t>(target) >= m_state.Drawings.Size())
        return QWidget::keyPressEvent(event);
    if (target / perPage != m_page.Page)
        ShowPage(target / perPage);
    SelectCell(target % perPage, CellAction::Click);
    emit DrawingSelected();
}

bool CPreviewDlg::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int cell = CellAt(help->pos());
        if (cell < 0) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        const GridCell& shown = m_page.Cells[static_cast<std::size_t>(cell)];
        const bool onPicture = CellRect(cell).contains(help->pos());
        QToolTip::showText(help->globalPos(), QString::fromStdString(onPicture ? shown.Tooltip : shown.Caption), this);
        return true;
    }
    return QWidget::event(event);
}

} // namespace orv
