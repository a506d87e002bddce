#pragma once
// The content view: a web view on a short leash. Every main-frame navigation goes through the
// link router (RouteNavigation) before the engine may follow it; what the router returns is
// carried out here when only the view can do it (load a page, tell the user, hand an address
// to the desktop) and passed on as ActionRequested when it is the reader's (select a
// directory, open a gallery, run an add-on). Local pages come through the local content scheme
// of the view's own profile, so the engine never reads the disk itself. The end of every load
// is reported to the router, which keeps the program-wide ready flag.

#include "content/ContentViewState.h"
#include "content/LinkRouter.h"

#include <QElapsedTimer>
#include <QMetaType>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>
#include <string>

class QPrinter;
class QTimer;
class QWebEngineLoadingInfo;
class QWebEngineProfile;

namespace orv {

class CContentView;
class CFindBar;

// The page of a content view: its navigation filter asks the view.
class CContentPage : public QWebEnginePage {
    Q_OBJECT
public:
    CContentPage(CContentView& view, QWebEngineProfile* profile, QObject* parent);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    // Links meant for a new window open in this same view.
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    CContentView& m_view;
};

class CContentView : public QWebEngineView {
    Q_OBJECT
public:
    // The timer's period while the redirect page is on its way to an extracted page, and how
    // long it waits at most for that load: to start, and to end.
    static constexpr int kReadyPollMs = 100;
    static constexpr int kRedirectStartMs = 2000;
    static constexpr int kReadyTimeoutMs = 10000;
    // A followed link is the user's only this soon after a click or a key in the view: the
    // engine reports a script's navigation as a followed link too.
    static constexpr int kUserInputMs = 1000;
    static constexpr int kWheelNotch = 120; // angle delta of one wheel notch

    // state and view (the panel's) and previousCompanion (the panel's program-wide companion
    // folder) outlive the widget.
    CContentView(ReaderState& state, ContentViewState& view, std::string& previousCompanion,
        QWidget* parent = nullptr);
    ~CContentView() override;

    // Loads a program path (with "#anchor") through the local content scheme, or another
    // address ("about:blank") as it is. The navigation counts as the user's.
    void Navigate(const std::string& address);

    ContentViewState& ViewState() { return m_view; }

    // Carries out the steps the core decided for this view, in order: loads, messages and
    // external addresses here, the reader's steps passed on as ActionRequested.
    void CarryOut(const std::vector<ViewAction>& actions);

    // The navigation filter, for the page: true lets the engine go on.
    bool FilterNavigation(const QUrl& url, QWebEnginePage::NavigationType type, bool isMainFrame);

    // The view's context menu at a place on the screen (the engine asks for it on a right
    // click); nothing unless the view has a menu of its own.
    void ShowContextMenu(const QPoint& globalPos);
    // Runs a command of the view's context menu (ViewCommand): copy, find and print here, the
    // rest passed on.
    void RunViewCommand(int command);

    // Who asked for a navigation of this type, by the type alone.
    static NavigationOrigin OriginOf(QWebEnginePage::NavigationType type);
    // The same, with links and forms the user's only right after the user's own input.
    NavigationOrigin OriginNow(QWebEnginePage::NavigationType type) const;

signals:
    // A step that is the reader's to take (SelectDirectory, OpenGallery, Run, Refused,
    // InsertDrawing, ShowPicture, History).
    void ActionRequested(const orv::ViewAction& action);
    // The wheel or the menu asked for the previous (false) or next (true) topic.
    void TopicStepRequested(bool next);
    // A command of the context menu that the hosting window carries out (back, forward, split).
    void ViewCommandRequested(int command);
    // The user clicked or typed into the view.
    void Activated();
    // A load has ended and the ready flag has been settled (true again unless an extracted
    // page is still being watched).
    void LoadEnded(bool ok);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void OnLoadingChanged(const QWebEngineLoadingInfo& info);
    void OnReadyTick();
    // The print dialog, then the page on the chosen printer.
    void Print();

    ReaderState& m_state;
    ContentViewState& m_view;
    std::string& m_previousCompanion;
    QWebEngineProfile* m_profile;
    CContentPage* m_page;
    QTimer* m_readyTimer;
    CFindBar* m_findBar = nullptr; // made on first use
    std::unique_ptr<QPrinter> m_printer;
    bool m_printing = false;
    int m_wheelRest = 0; // wheel travel short of a whole notch
    QElapsedTimer m_readyWait;
    QElapsedTimer m_userInput; // since the last click or key in the view
    QUrl m_refused; // the last navigation the filter cancelled: its end is no load of ours
    bool m_loading = false;
};

} // namespace orv

Q_DECLARE_METATYPE(orv::ViewAction)
