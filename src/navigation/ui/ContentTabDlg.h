#pragma once
// The content tab panel: the tab "内容" with the content page, whose two content views (the
// main one and the second one of a split) show what the core's content panel steps decide.
// The views, which start the web engine, are made once the window's first contents tree is
// on show: whatever is shown before waits for them.

#include "content/ContentPanel.h"
#include "content/HistorySteps.h"

#include <QWidget>

#include <string>
#include <utility>
#include <vector>

class QSplitter;
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

    // Shows CurrentDirID in the main view; recordVisit adds it to the browse history.
    void ShowCurrentDirectory(bool recordVisit);
    // Shows a page that is no directory's (the home page) in the main view.
    void ShowPage(const std::string& path);
    // Back (false) or forward (true) in the browse history; the caller loads the directory
    // the step names and sets the caption.
    HistoryStepResult StepHistory(bool forward);
    // The split commands (kSplitNone, kSplitHorizontal, kSplitVertical) and the picture sizes.
    void SetSplitMode(int mode);
    void SetPictureSize(bool wholePage);

    // Makes the main view now (once); what was shown before it existed is loaded then.
    void CreateViews();
    // The views; null until made (the second one on the first split).
    CContentView* View() const { return m_views[0]; }
    CContentView* SecondView() const { return m_views[1]; }
    QSplitter* Splitter() const { return m_splitter; }
    const ContentPanelState& Panel() const { return m_panel; }

signals:
    // The main view exists now (and the second one, once the panel is first split): the
    // window connects them.
    void ViewsCreated();
    void SecondViewCreated(orv::CContentView* view);
    // Whether the main view now shows a picture page (the window offers zoom and whole page
    // only then).
    void PicturePageChanged(bool shown);

private:
    void Carry(ContentViewSlot slot, const ShowContentResult& shown);
    void Carry(const PanelShowResult& result);
    void CreateView(int i);
    void LayOutSplit();

    ReaderState& m_state;
    QTabWidget* m_tabs;
    QWidget* m_page;
    QSplitter* m_splitter = nullptr;
    ContentPanelState m_panel;
    CContentView* m_views[2] = { nullptr, nullptr };
    // Steps shown before the views existed, carried out once they do.
    std::vector<std::pair<ContentViewSlot, std::vector<ViewAction>>> m_waiting;
    bool m_creationPlanned = false;
};

} // namespace orv
