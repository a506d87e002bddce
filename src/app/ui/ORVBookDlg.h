#pragma once
// The reader's one top-level window: the toolbar, the logo (1048), the status line (1000) and
// the frame with the navigation and content panels. It turns buttons, function keys and menu
// choices into calls on the core and shows what comes back; whether the program may close,
// what a tool button does and where a page step leads are the core's decisions.

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

class QLabel;
class QMenu;

namespace orv {

struct ReaderState;
struct ToolMenuItem;
class CBaseWnd;
class CColorStaticST;
class CContentTabDlg;
class CContentView;
struct ViewAction;
class CFlatToolBar;
class CImageViewDlg;
class CNavTabDlg;
class CORVBookDlgAutoProxy;

class CORVBookDlg : public QWidget {
    Q_OBJECT
public:
    enum Control : int { kLogo = 1048, kStatusLine = 1000 };

    explicit CORVBookDlg(ReaderState& state, QWidget* parent = nullptr);

    // Opens the current gallery (its tree is built); run once the window is on screen.
    void Start();

    // The application object whose clients' holds make closing only hide the window.
    void SetAutomation(CORVBookDlgAutoProxy* proxy) { m_autoProxy = proxy; }
    // The holds have ended: a window that a close only hid now ends the program, as the close
    // would have without them.
    void EndIfHidden();

    // Command dispatch: toolbar buttons, menu entries and tool-menu items by command id.
    void RunCommand(int id);

    void SetCaption(const QString& caption);
    void SetStatusText(const QString& text);
    void ToggleNavigation();
    void ShowHomePage();
    // Makes dirId the current directory and shows it (page steps and, later, links).
    void ShowDirectory(std::int32_t dirId);

    // Takes the steps a content view passes on: its link actions, topic steps and the
    // commands of its menu.
    void ConnectContentView(CContentView* view);
    // One link action of a content view that is the reader's to carry out.
    void OnViewAction(const ViewAction& action);

    CFlatToolBar* ToolBar() const { return m_toolbar; }
    CBaseWnd* Frame() const { return m_frame; }
    CNavTabDlg* NavigationPanel() const;
    CContentTabDlg* ContentPanel() const;
    // The image viewer; null before its first use and after it was closed.
    CImageViewDlg* Viewer() const;
    // The tool menu last shown (null before the first).
    QMenu* ToolMenu() const { return m_toolMenu; }

signals:
    // A contents tree has been built and is on show.
    void TreeShown();
    // The main content view has ended a load (ok: it succeeded).
    void PageLoaded(bool ok);
    // A window that only hid itself has ended the program's state: the program may end.
    void ProgramEnded();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BuildToolbar();
    void CreateKeys();
    void LayOut();
    void StepPage(bool next);
    void StepHistory(bool forward);
    // Shows CurrentDirID: selected in the tree, its drawings, its page; recordVisit adds it to
    // the browse history.
    void ShowCurrent(bool recordVisit);
    // The drawing's insertion into the CAD program (a message until the CAD link exists).
    void InsertDrawing(std::int32_t drawingId);
    // The image viewer (made on first use) shows path; setTitle: under title.
    void ShowInViewer(const QString& title, const std::string& path, bool setTitle);
    void ShowOptions();
    // A split command: the content area split that way (kSplitNone joins it again).
    void SetSplitMode(int mode);
    // The split button's caption and picture for the split now in force.
    void ShowSplitButton();
    void ShowGalleryInformation();
    void OpenHelp();
    void LaunchTool(int index);
    void ShowToolMenu(int index, const std::string& menuPath);
    void AddMenuItems(QMenu* menu, const std::vector<ToolMenuItem>& items);
    void RunToolMenuCommand(int k);
    void OnGalleryOpened();

    ReaderState& m_state;
    CFlatToolBar* m_toolbar;
    QLabel* m_logo;
    CColorStaticST* m_statusLine;
    CBaseWnd* m_frame;
    QMenu* m_toolMenu = nullptr;
    QPointer<CImageViewDlg> m_viewer;
    std::vector<std::string> m_toolMenuCommands; // ToolMenuCommands: id 800 + k runs entry k
    bool m_closing = false;
    CORVBookDlgAutoProxy* m_autoProxy = nullptr; // a child of the window
};

} // namespace orv
