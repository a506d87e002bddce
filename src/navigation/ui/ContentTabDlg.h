#pragma once
// The content tab panel: the tab "内容" with the content page. Until directory pages are put
// into the content view, the page tells in words which directory is on show and where its
// content lies; the view below shows the home page and whatever its links lead to.

#include "content/ContentViewState.h"

#include <QWidget>

#include <string>

class QLabel;
class QTabWidget;

namespace orv {

struct ReaderState;
class CContentView;

class CContentTabDlg : public QWidget {
    Q_OBJECT
public:
    enum Control : int { kTabs = 1002 };

    CContentTabDlg(ReaderState& state, QWidget* parent = nullptr);
    ~CContentTabDlg() override;

    // Shows CurrentDirID (after a directory was chosen or stepped to).
    void ShowCurrentDirectory();
    // Shows a page that is no directory's (the home page).
    void ShowPage(const std::string& title, const std::string& path);

    QString ShownTitle() const;
    CContentView* View() const { return m_view; }

private:
    void Show(const QString& heading, const QString& subheading, const QString& content);

    ReaderState& m_state;
    QTabWidget* m_tabs;
    QLabel* m_heading;
    QLabel* m_subheading;
    QLabel* m_content;
    ContentPanelState m_panel;
    CContentView* m_view;
};

} // namespace orv
