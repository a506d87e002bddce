#include "navigation/ui/ContentTabDlg.h"

#include "app/ReaderState.h"
#include "browser/ContentTabs.h"
#include "browser/ui/DetailDlg.h"
#include "browser/ui/PreviewDlg.h"
#include "content/ui/ContentView.h"
#include "platform/Paths.h"

#include <QSignalBlocker>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace orv {

CContentTabDlg::CContentTabDlg(ReaderState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_tabs(new QTabWidget(this))
    , m_page(new QWidget(m_tabs))
{
    m_tabs->setObjectName(QStringLiteral("ctl%1").arg(kTabs));
    m_page->setObjectName(QStringLiteral("contentPage"));
    auto* layout = new QVBoxLayout(m_page);
    layout->setContentsMargins(2, 2, 2, 2);
    m_tabs->addTab(m_page, QStringLiteral("内容"));
    connect(m_tabs, &QTabWidget::currentChanged, this, &CContentTabDlg::OnTabChanged);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_tabs);
}

CContentTabDlg::~CContentTabDlg()
{
    // The views work on m_panel to their end, so they go first.
    delete m_splitter;
}

void CContentTabDlg::CreateViews()
{
    if (m_splitter)
        return;
    m_splitter = new QSplitter(Qt::Vertical, m_page);
    m_splitter->setObjectName(QStringLiteral("contentSplitter"));
    m_splitter->setChildrenCollapsible(false);
    m_page->layout()->addWidget(m_splitter);
    CreateView(0);
    emit ViewsCreated();
    for (const auto& [slot, actions] : std::exchange(m_waiting, {}))
        if (slot == ContentViewSlot::Main)
            m_views[0]->CarryOut(actions);
}

void CContentTabDlg::CreateView(int i)
{
    ContentViewState& state = i == 0 ? m_panel.MainView : m_panel.SecondView;
    state.OwnContextMenu = true;
    m_views[i] = new CContentView(m_state, state, m_panel.PreviousCompanionFolder, m_splitter);
    m_views[i]->setObjectName(i == 0 ? QStringLiteral("contentView") : QStringLiteral("secondView"));
    m_splitter->addWidget(m_views[i]);
    // New content of a split goes to the view the user turned to last.
    connect(m_views[i], &CContentView::Activated, this, [this, i] { m_panel.SecondActive = i == 1; });
    if (i == 1)
        emit SecondViewCreated(m_views[1]);
}

void CContentTabDlg::ShowCurrentDirectory(bool recordVisit)
{
    TakeCurrentDirectory(m_state, recordVisit);
    ArrangeTabs(true);
}

void CContentTabDlg::RefreshDrawings()
{
    ArrangeTabs(false);
}

void CContentTabDlg::ArrangeTabs(bool showContent)
{
    const ContentTabsDecision decision
        = DecideContentTabs(ContentTabsInputFor(m_state, m_tabs->count(), m_grid != nullptr));
    {
        // The tab steps below are the panel's own, not the user's.
        const QSignalBlocker blocker(m_tabs);
        if (decision.RemoveDrawingTabs) {
            while (m_tabs->count() > 1)
                m_tabs->removeTab(m_tabs->count() - 1);
            delete m_grid;
            delete m_detail;
            m_grid = nullptr;
            m_detail = nullptr;
        }
        if (decision.AddDrawingTabs) {
            if (!m_grid) {
                m_grid = new CPreviewDlg(m_state, m_tabs);
                connect(m_grid, &CPreviewDlg::DrawingSelected, this, [this] {
                    if (m_detail)
                        m_detail->SelectDrawing();
                });
                connect(m_grid, &CPreviewDlg::InsertRequested, this, &CContentTabDlg::InsertRequested);
                connect(m_grid, &CPreviewDlg::ViewRequested, this, &CContentTabDlg::ViewRequested);
            }
            if (!m_detail) {
                m_detail = new CDetailDlg(m_state, m_tabs);
                connect(m_detail, &CDetailDlg::DrawingSelected, this, [this] {
                    if (m_grid)
                        m_grid->ShowSelectedDrawing();
                });
                connect(m_detail, &CDetailDlg::InsertRequested, this, &CContentTabDlg::InsertRequested);
            }
            while (m_tabs->count() > 1)
                m_tabs->removeTab(m_tabs->count() - 1);
            m_tabs->addTab(m_grid, QStringLiteral("图集浏览"));
            m_tabs->addTab(m_detail, QStringLiteral("图集详细"));
        }
        m_state.TabIndex = decision.TabIndex;
        m_tabs->setCurrentIndex(std::min(decision.TabIndex, m_tabs->count() - 1));
    }
    if (showContent && decision.ShowContent)
        Carry(ContentViewSlot::Main, ShowCurrentKey(m_state, m_panel, ContentViewSlot::Main));
    if (m_grid)
        m_grid->Reload();
    if (m_detail)
        m_detail->FillDetailList();
}

void CContentTabDlg::OnTabChanged(int index)
{
    m_state.TabIndex = index;
    // The content tab shows the current page when it has not shown it yet.
    if (index == 0 && !platform::EqualsNoCase(m_panel.ContentKey, m_state.CurrentHistoryKey))
        Carry(ContentViewSlot::Main, ShowCurrentKey(m_state, m_panel, ContentViewSlot::Main));
}

void CContentTabDlg::ShowPage(const std::string& path)
{
    SelectContentTab();
    m_panel.ContentKey = path;
    m_panel.ShownKey.clear();
    Carry(ContentViewSlot::Main, ShowContent(m_state, m_panel, ContentViewSlot::Main));
}

HistoryStepResult CContentTabDlg::StepHistory(bool forward)
{
    HistoryStepResult result = forward ? GoForward(m_state, m_panel) : GoBack(m_state, m_panel);
    if (result.Shown)
        Carry(ContentViewSlot::Main, *result.Shown);
    return result;
}

void CContentTabDlg::SetSplitMode(int mode)
{
    SelectContentTab();
    const PanelShowResult result = orv::SetSplitMode(m_state, m_panel, mode);
    // The second view starts its engine only when first wanted.
    if (m_state.SplitMode != kSplitNone) {
        CreateViews();
        if (!m_views[1])
            CreateView(1);
    }
    LayOutSplit();
    Carry(result);
}

void CContentTabDlg::SelectContentTab()
{
    const QSignalBlocker blocker(m_tabs);
    m_state.TabIndex = 0;
    m_tabs->setCurrentIndex(0);
}

void CContentTabDlg::SetPictureSize(bool wholePage)
{
    const PanelShowResult result = orv::SetPictureSize(m_state, m_panel, wholePage);
    LayOutSplit();
    Carry(result);
}

void CContentTabDlg::Carry(ContentViewSlot slot, const ShowContentResult& shown)
{
    if (slot == ContentViewSlot::Main)
        emit PicturePageChanged(shown.PicturePage);
    if (shown.Actions.empty())
        return;
    if (CContentView* view = m_views[slot == ContentViewSlot::Main ? 0 : 1]) {
        view->CarryOut(shown.Actions);
        return;
    }
    // Only the last page asked for matters to a view that does not exist yet.
    m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(),
                        [slot](const auto& waiting) { return waiting.first == slot; }),
        m_waiting.end());
    m_waiting.emplace_back(slot, shown.Actions);
    if (!m_creationPlanned) {
        m_creationPlanned = true;
        // After the events that draw what is on screen now, the tree above all.
        QTimer::singleShot(0, this, &CContentTabDlg::CreateViews);
    }
}

void CContentTabDlg::Carry(const PanelShowResult& result)
{
    for (const auto& [slot, shown] : result.Shows)
        Carry(slot, shown);
}

void CContentTabDlg::LayOutSplit()
{
    if (!m_views[1])
        return;
    const int mode = m_state.SplitMode;
    if (mode == kSplitNone) {
        m_views[1]->hide();
        return;
    }
    m_splitter->setOrientation(mode == kSplitHorizontal ? Qt::Vertical : Qt::Horizontal);
    m_views[1]->show();
    // The bar at one third of the panel: the main view above or to the left.
    const int length = mode == kSplitHorizontal ? m_splitter->height() : m_splitter->width();
    m_splitter->setSizes({ std::max(length / 3, 1), std::max(length - length / 3, 1) });
}

} // namespace orv
