#include "app/ui/BaseWnd.h"

#include "app/ReaderState.h"
#include "app/WindowLayout.h"
#include "app/ui/LeftView.h"
#include "app/ui/MainView.h"
#include "controls/SplitterBar.h"

#include <QHBoxLayout>

namespace orv {

CBaseWnd::CBaseWnd(ReaderState& state, QWidget* parent)
    : QWidget(parent)
    , m_splitter(new CSplitterBar(this))
    , m_left(new CLeftView(state, m_splitter))
    , m_main(new CMainView(state, m_splitter))
    , m_rememberedWidth(state.SplitW)
{
    m_splitter->setObjectName(QStringLiteral("splitter"));
    m_splitter->addWidget(m_left);
    m_splitter->addWidget(m_main);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->SetColumnWidth(state.SplitW);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);
}

void CBaseWnd::ToggleNavigation()
{
    m_splitter->SetColumnWidth(ToggleNavigationWidth(m_splitter->ColumnWidth(), m_rememberedWidth));
}

int CBaseWnd::NavigationWidth() const
{
    const int width = m_splitter->ColumnWidth();
    return width >= 5 ? width : m_rememberedWidth;
}

} // namespace orv
