#pragma once
// The content tab panel: the tab "内容" with the content page, whose two content views (the
// main one and the second one of a split) show what the core's content panel steps decide,
// and for a directory with drawings the tabs "图集浏览" (the thumbnail grid) and "图集详细"
// (the detail list). The views, which start the web engine, are made once the window's first
// contents tree is on show: whatever is shown before waits for them.

#include "content/ContentPanel.h"
#include "content/HistorySteps.h"

#include <QWidget>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class QSplitter;
class QTabWidget;

namespace orv {

struct ReaderState;
class CContentView;
class CDetailDlg;
class CPreviewDlg;

class CContentTabDlg : public QWidget {
    Q_OBJECT
public:
    enum Control : int { kTabs = 1002 };

    CContentTabDlg(ReaderState& state, QWidget* parent = nullptr);
    ~CContentTabDlg() override;

    // Shows CurrentDirID, whose drawings were just loaded: the drawing tabs as it has drawings,
    // its page in the main view when the content tab is the one selected; recordVisit adds it
    // to the browse history.
    void ShowCurrentDirectory(bool recordVisit);
    // The drawing list changed without a new page (a history step, the options): the drawing
    // tabs and pages follow it.
    void RefreshDrawings();
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
    QTabWidget* Tabs() const { return m_tabs; }
    // The drawing pages; null while the directory has no drawings.
    CPreviewDlg* GridPage() const { return m_grid; }
    CDetailDlg* DetailPage() const { return m_detail; }
    const ContentPanelState& Panel() const { return m_panel; }

signals:
    // The main view exists now (and the second one, once the panel is first split): the
    // window connects them.
    void ViewsCreated();
    void SecondViewCreated(orv::CContentView* view);
    // Whether the main view now shows a picture page (the window offers zoom and whole page
    // only then).
    void PicturePageChanged(bool shown);
    // A drawing page asks for the drawing to be inserted, or for a picture in the viewer.
    void InsertRequested(std::int32_t drawingId);
    void ViewRequested(const QString& title, const QString& path);

private:
    void Carry(ContentViewSlot slot, const ShowContentResult& shown);
    void Carry(const PanelShowResult& result);
    void CreateView(int i);
    // The drawing tabs as the core decides; showContent: the content tab may show the page.
    void ArrangeTabs(bool showContent);
    // Tab 0 becomes the selected one, without the tab change's own step.
    void SelectContentTab();
    void OnTabChanged(int index);
    void LayOutSplit();

    ReaderState& m_state;
    QTabWidget* m_tabs;
    QWidget* m_page;
    QSplitter* m_splitter = nullptr;
    ContentPanelState m_panel;
    CContentView* m_views[2] = { nullptr, nullptr };
    CPreviewDlg* m_grid = nullptr;
    CDetailDlg* m_detail = nullptr;
    // Steps shown before the views existed, carried out once they do.
    std::vector<std::pair<ContentViewSlot, std::vector<ViewAction>>> m_waiting;
    bool m_creationPlanned = false;
};

} // namespace orv
