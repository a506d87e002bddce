#include "navigation/ui/ContentTabDlg.h"

#include "app/ReaderState.h"
#include "content/ui/ContentView.h"

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
    m_state.TabIndex = 0;
    m_tabs->setCurrentIndex(0);
    Carry(ContentViewSlot::Main, orv::ShowCurrentDirectory(m_state, m_panel, recordVisit));
}

void CContentTabDlg::ShowPage(const std::string& path)
{
    m_state.TabIndex = 0;
    m_tabs->setCurrentIndex(0);
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
    m_state.TabIndex = 0;
    m_tabs->setCurrentIndex(0);
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
