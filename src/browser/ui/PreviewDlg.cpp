#include "browser/ui/PreviewDlg.h"

#include "app/ReaderState.h"
#include "browser/ui/PictureCtrl.h"
#include "controls/ColorStaticST.h"
#include "platform/Paths.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QStyle>
#include <QToolButton>

namespace orv {
namespace {

QColor Colour(std::uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
        static_cast<int>((bgr >> 16) & 0xFF));
}

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
    m_previous->setObjectName(QStringLiteral("ctl%1").arg(kPrevious));
    m_previous->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    m_previous->setToolTip(QStringLiteral("上一页"));
    m_previous->setAutoRaise(true);
    m_next->setObjectName(QStringLiteral("ctl%1").arg(kNext));
    m_next->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    m_next->setToolTip(QStringLiteral("下一页"));
    m_next->setAutoRaise(true);
    m_combo->setObjectName(QStringLiteral("ctl%1").arg(kCombo));
    connect(m_previous, &QToolButton::clicked, this, [this] {
        const int page = PreviousGridPage(m_page.Page);
        if (page < 0)
            return;
        ShowPage(page);
        SelectCell(0, CellAction::Click);
        if (CPictureCtrl* first = Picture(0))
            first->setFocus();
    });
    connect(m_next, &QToolButton::clicked, this, [this] {
        const int page = NextGridPage(m_page.Page, m_page.PageCount);
        if (page < 0)
            return;
        ShowPage(page);
        SelectCell(0, CellAction::Click);
        if (CPictureCtrl* first = Picture(0))
            first->setFocus();
    });
    m_settings = ReadGridSettings(m_state.IniPath, m_settings);
}

CPictureCtrl* CPreviewDlg::Picture(int k) const
{
    return k >= 0 && static_cast<std::size_t>(k) < m_pictures.size() ? m_pictures[static_cast<std::size_t>(k)] : nullptr;
}

CColorStaticST* CPreviewDlg::Caption(int k) const
{
    return k >= 0 && static_cast<std::size_t>(k) < m_captions.size() ? m_captions[static_cast<std::size_t>(k)] : nullptr;
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
    m_selectedCell = index % perPage;
    Recolour();
}

void CPreviewDlg::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOutCells();
}

void CPreviewDlg::LayOutCells()
{
    const GridLayout layout = LayoutGridCells(width(), height(), m_settings.Rows, m_settings.Columns,
        kGridFrameWidth, m_combo->sizeHint().height());
    m_previous->setGeometry(ToQRect(layout.Previous));
    m_combo->setGeometry(ToQRect(layout.Combo));
    m_next->setGeometry(ToQRect(layout.Next));
    for (std::size_t k = 0; k < layout.Cells.size(); ++k) {
        if (k >= m_pictures.size()) {
            auto* picture = new CPictureCtrl(this);
            picture->setObjectName(QStringLiteral("ctl%1").arg(kFirstPicture + static_cast<int>(k)));
            picture->setFocusPolicy(Qt::ClickFocus);
            picture->hide();
            auto* caption = new CColorStaticST(this);
            caption->setObjectName(QStringLiteral("ctl%1").arg(kFirstCaption + static_cast<int>(k)));
            caption->hide();
            const int cell = static_cast<int>(k);
            connect(picture, &CPictureCtrl::Clicked, this, [this, cell] { OnCellEvent(cell, 0); });
            connect(picture, &CPictureCtrl::DoubleClicked, this, [this, cell] { OnCellEvent(cell, 1); });
            connect(picture, &CPictureCtrl::RightClicked, this, [this, cell] { OnCellEvent(cell, 2); });
            m_pictures.push_back(picture);
            m_captions.push_back(caption);
        }
        m_pictures[k]->setGeometry(ToQRect(layout.Cells[k].Picture));
        m_captions[k]->setGeometry(ToQRect(layout.Cells[k].Caption));
        AlignCaption(static_cast<int>(k));
    }
    // Cells beyond the grid's size stay made but hidden.
    for (std::size_t k = layout.Cells.size(); k < m_pictures.size(); ++k) {
        m_pictures[k]->hide();
        m_captions[k]->hide();
    }
}

void CPreviewDlg::ShowPage(int page)
{
    m_page = BuildGridPage(m_state.Drawings, m_settings, page);
    const std::size_t cells = std::min(m_page.Cells.size(), m_pictures.size());
    for (std::size_t k = 0; k < cells; ++k) {
        const GridCell& cell = m_page.Cells[k];
        CPictureCtrl* picture = m_pictures[k];
        CColorStaticST* caption = m_captions[k];
        if (cell.DrawingIndex < 0) {
            caption->clear();
            picture->setToolTip(QString());
            picture->hide();
            caption->hide();
            continue;
        }
        const QString text = QString::fromStdString(cell.Caption);
        // Two drawings may share one preview: the picture is kept, its texts are not.
        if (picture->Path().empty() || !platform::EqualsNoCase(picture->Path(), cell.PicturePath))
            picture->SetPicture(cell.PicturePath);
        picture->setToolTip(QString::fromStdString(cell.Tooltip));
        caption->setText(text);
        caption->setToolTip(text);
        picture->show();
        caption->show();
        AlignCaption(static_cast<int>(k));
    }
    for (std::size_t k = cells; k < m_pictures.size(); ++k) {
        m_pictures[k]->hide();
        m_captions[k]->hide();
    }
    m_previous->setEnabled(m_page.PreviousEnabled);
    m_next->setEnabled(m_page.NextEnabled);
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
    Recolour();
}

void CPreviewDlg::Recolour()
{
    const QColor selected = Colour(kGridSelectionColour);
    for (std::size_t k = 0; k < m_pictures.size(); ++k) {
        const bool chosen = static_cast<int>(k) == m_selectedCell;
        m_pictures[k]->SetBackground(chosen ? selected : Colour(m_settings.PictureBackground));
        const QColor back = chosen ? selected : Colour(m_settings.CaptionBackground);
        const QColor text = chosen ? QColor(Qt::white) : Colour(m_settings.CaptionText);
        if (m_captions[k]->BackgroundColor() != back || m_captions[k]->TextColor() != text)
            m_captions[k]->SetColors(back, text);
    }
}

void CPreviewDlg::AlignCaption(int k)
{
    CColorStaticST* caption = Caption(k);
    if (!caption)
        return;
    const int textWidth = QFontMetrics(caption->font()).horizontalAdvance(caption->text());
    caption->setAlignment(Qt::AlignVCenter | (textWidth <= caption->contentsRect().width() ? Qt::AlignHCenter : Qt::AlignLeft));
}

void CPreviewDlg::OnCellEvent(int k, int kind)
{
    switch (kind) {
    case 0:
        SelectCell(k, CellAction::Click);
        emit DrawingSelected();
        return;
    case 1:
        SelectCell(k, CellAction::DoubleClick);
        emit DrawingSelected();
        if (m_state.Drawings.SelectedDrawingID >= 0)
            emit InsertRequested(m_state.Drawings.SelectedDrawingID);
        return;
    default:
        if (CPictureCtrl* picture = Picture(k); picture && !picture->Path().empty())
            emit ViewRequested(Caption(k)->text(), QString::fromStdString(picture->Path()));
        return;
    }
}

} // namespace orv
