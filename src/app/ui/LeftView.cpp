#include "app/ui/LeftView.h"

#include "navigation/ui/NavTabDlg.h"

#include <QVBoxLayout>

namespace orv {

CLeftView::CLeftView(ReaderState& state, QWidget* parent)
    : QWidget(parent)
    , m_panel(new CNavTabDlg(state, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_panel);
}

} // namespace orv
