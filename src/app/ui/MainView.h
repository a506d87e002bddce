#pragma once
// The frame's right pane: it holds the content tab panel.

#include <QWidget>

namespace orv {

struct ReaderState;
class CContentTabDlg;

class CMainView : public QWidget {
    Q_OBJECT
public:
    CMainView(ReaderState& state, QWidget* parent = nullptr);
    CContentTabDlg* ContentPanel() const { return m_panel; }

private:
    CContentTabDlg* m_panel;
};

} // namespace orv
