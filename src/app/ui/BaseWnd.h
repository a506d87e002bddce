#pragma once
// The main window's frame: a splitter with the navigation panel (CLeftView) on the left and
// the content panel (CMainView) on the right, the left one SplitW wide at first. It keeps the
// navigation panel's last open width for ToggleNavigation.

#include <QWidget>

namespace orv {

struct ReaderState;
class CLeftView;
class CMainView;
class CSplitterBar;

class CBaseWnd : public QWidget {
    Q_OBJECT
public:
    CBaseWnd(ReaderState& state, QWidget* parent = nullptr);

    CLeftView* LeftView() const { return m_left; }
    CMainView* MainView() const { return m_main; }
    CSplitterBar* Splitter() const { return m_splitter; }

    // Closes a navigation panel 5 pixels wide or more, remembering its width; opens a
    // narrower one at the remembered width.
    void ToggleNavigation();
    // The width to remember for the next start: the panel's own, or the remembered one while
    // it is closed.
    int NavigationWidth() const;

private:
    CSplitterBar* m_splitter;
    CLeftView* m_left;
    CMainView* m_main;
    int m_rememberedWidth;
};

} // namespace orv
