#pragma once
// The frame's left pane: it holds the navigation tab panel.

#include <QWidget>

namespace orv {

struct ReaderState;
class CNavTabDlg;

class CLeftView : public QWidget {
    Q_OBJECT
public:
    CLeftView(ReaderState& state, QWidget* parent = nullptr);
    CNavTabDlg* NavigationPanel() const { return m_panel; }

private:
    CNavTabDlg* m_panel;
};

} // namespace orv
