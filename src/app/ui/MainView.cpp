#include "app/ui/MainView.h"

#include "navigation/ui/ContentTabDlg.h"

#include <QVBoxLayout>

namespace orv {

CMainView::CMainView(ReaderState& state, QWidget* parent)
    : QWidget(parent)
    , m_panel(new CContentTabDlg(state, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_panel);
}

} // namespace orv
