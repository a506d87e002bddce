#include "content/ui/ContentView.h"

#include "app/ReaderState.h"
#include "app/common/PathHelpers.h"
#include "content/ContentShow.h"
#include "content/LocalContent.h"
#include "content/ViewInput.h"
#include "content/ui/FindBar.h"
#include "content/ui/LocalContentScheme.h"
#include "controls/ResourcePictures.h"
#include "platform/Hooks.h"

#include <QChildEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWheelEvent>

namespace orv {
namespace {

// A page that exists only to catch the first navigation of a link meant for a new window; the
// view then routes and loads it itself.
class CNewWindowCatcher : public QWebEnginePage {
public:
    // Kept by the view's page, which goes before the profile.
    CNewWindowCatcher(CContentView& view, QWebEnginePage& page)
        : QWebEnginePage(page.profile(), &page)
        , m_view(&view)
    {
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override
    {
        if (m_view && isMainFrame && m_view->FilterNavigation(url, type, true))
            m_view->load(url);
        deleteLater();
        return false;
    }

private:
    QPointer<CContentView> m_view;
};

std::string UpperAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

} // namespace

CContentPage::CContentPage(CContentView& view, QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent)
    , m_view(view)
{
}

bool CContentPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    return m_view.FilterNavigation(url, type, isMainFrame);
}

QWebEnginePage* CContentPage::createWindow(WebWindowType)
{
    return new CNewWindowCatcher(m_view, *this);
}

CContentView::CContentView(
    ReaderState& state, ContentViewState& view, std::string& previousCompanion, QWidget* parent)
    : QWebEngineView(parent)
    , m_state(state)
    , m_view(view)
    , m_previousCompanion(previousCompanion)
    , m_profile(new QWebEngineProfile())
    , m_page(nullptr)
    , m_readyTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("CContentView"));
    if (m_view.TempFolder.empty())
        m_view.TempFolder = UpperAscii(GetTempFolder());
    // A profile of the view's own (off the record: nothing of it is kept on disk), so the
    // local scheme serves the folders of this reader's state and nothing else.
    m_profile->installUrlSchemeHandler(kLocalScheme,
        new CLocalContentScheme(
            [self = QPointer<CContentView>(this)] {
                // The profile outlives the view by a moment: then nothing is served.
                return self ? LocalContentRoots(self->m_state, self->m_view.TempFolder)
                            : std::vector<std::string>();
            },
            m_profile));
    m_profile->installUrlSchemeHandler(QByteArrayLiteral("app"), new CRefusingScheme(m_profile));
    m_page = new CContentPage(*this, m_profile, this);
    setPage(m_page);
    connect(m_page, &QWebEnginePage::loadingChanged, this, &CContentView::OnLoadingChanged);
    // A page's own window.print() asks as the menu does.
    connect(this, &QWebEngineView::printRequested, this, &CContentView::Print);
    connect(this, &QWebEngineView::printFinished, this, [this] { m_printing = false; });
    m_readyTimer->setInterval(kReadyPollMs);
    connect(m_readyTimer, &QTimer::timeout, this, &CContentView::OnReadyTick);
}

CContentView::~CContentView()
{
    // Nothing the page reports on its way out reaches the router. The page goes with the
    // view (its child); its profile must outlive it, so it goes once control is back in the
    // event loop.
    m_readyTimer->stop();
    disconnect(m_page, nullptr, this, nullptr);
    m_profile->deleteLater();
}

void CContentView::Navigate(const std::string& address)
{
    QUrl url;
    if (!address.empty() && (address[0] == '\\' || address[0] == '/'))
        url = QUrl(QString::fromStdString(PathToLocalUrl(address)));
    else
        url = QUrl(QString::fromStdString(address));
    if (url.isValid() && !url.isEmpty())
        load(url);
}

NavigationOrigin CContentView::OriginOf(QWebEnginePage::NavigationType type)
{
    switch (type) {
    case QWebEnginePage::NavigationTypeLinkClicked:
    case QWebEnginePage::NavigationTypeTyped: // load(): the reader's own navigations
    case QWebEnginePage::NavigationTypeFormSubmitted:
    case QWebEnginePage::NavigationTypeBackForward:
        return NavigationOrigin::User;
    default:
        // Redirects, reloads and whatever a script starts.
        return NavigationOrigin::Script;
    }
}

NavigationOrigin CContentView::OriginNow(QWebEnginePage::NavigationType type) const
{
    const bool followed = type == QWebEnginePage::NavigationTypeLinkClicked
        || type == QWebEnginePage::NavigationTypeFormSubmitted;
    if (followed && (!m_userInput.isValid() || m_userInput.elapsed() > kUserInputMs))
        return NavigationOrigin::Script;
    return OriginOf(type);
}

bool CContentView::FilterNavigation(const QUrl& url, QWebEnginePage::NavigationType type, bool isMainFrame)
{
    // Frames load what the scheme handler allows; only the page itself is routed.
    if (!isMainFrame)
        return true;
    const std::string address = url.toString(QUrl::FullyEncoded).toStdString();
    NavigationDecision decision = RouteNavigation(m_state, m_view, address, OriginNow(type));
    if (decision.Go) {
        // Refused once, let through now: its end is a load of ours again.
        if (url == m_refused)
            m_refused.clear();
        return true;
    }
    m_refused = url;
    // Carried out once the engine is out of its navigation call: a message box or a new load
    // must not run inside it.
    QTimer::singleShot(0, this, [this, actions = std::move(decision.Actions)] { CarryOut(actions); });
    return false;
}

void CContentView::CarryOut(const std::vector<ViewAction>& actions)
{
    for (const ViewAction& action : actions) {
        switch (action.What) {
        case ViewAction::Kind::Navigate:
            Navigate(action.Text);
            break;
        case ViewAction::Kind::Message:
            platform::ShowMessage(action.Text, action.Caption,
                action.Icon == 2 ? platform::MessageKind::Warning : platform::MessageKind::Information);
            break;
        case ViewAction::Kind::External:
            OpenExternalUrl(action.Text);
            break;
        default:
            emit ActionRequested(action);
            break;
        }
    }
}

void CContentView::OnLoadingChanged(const QWebEngineLoadingInfo& info)
{
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        if (info.url() != m_refused)
            m_loading = true;
        return;
    }
    // A navigation the filter cancelled ends too; nothing was loaded.
    if (!m_refused.isEmpty() && info.url() == m_refused) {
        m_refused.clear();
        return;
    }
    m_loading = false;
    const bool ok = info.status() == QWebEngineLoadingInfo::LoadSucceededStatus;
    const std::string address = info.url().toString(QUrl::FullyEncoded).toStdString();
    if (OnNavigationComplete(m_state, m_view, address)) {
        // Only the end of the extracted copy's own load deletes it; the redirect page goes on
        // to it by itself, and the flag stays down until then.
        if (!OnPackagePageLoaded(m_previousCompanion, m_view, address).Finished) {
            m_readyWait.start();
            m_readyTimer->start();
            return;
        }
    }
    m_readyTimer->stop();
    m_state.ContentViewReady = true;
    emit LoadEnded(ok);
}

void CContentView::OnReadyTick()
{
    // The redirect's own load never came, or never ends: the flag must not stay down, or the
    // contents tree would ignore the user for good.
    const qint64 waited = m_readyWait.elapsed();
    if (m_loading ? waited < kReadyTimeoutMs : waited < kRedirectStartMs)
        return;
    m_readyTimer->stop();
    m_state.ContentViewReady = true;
    emit LoadEnded(false);
}

void CContentView::Print()
{
    // One printing at a time: the engine keeps the printer until printFinished.
    if (m_printing)
        return;
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>();
    QPrintDialog dialog(m_printer.get(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_printing = true;
    print(m_printer.get());
}

bool CContentView::event(QEvent* event)
{
    // The engine draws into a child widget, which gets the wheel.
    if (event->type() == QEvent::ChildAdded) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child && child->isWidgetType())
            child->installEventFilter(this);
    }
    return QWebEngineView::event(event);
}

bool CContentView::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
        m_userInput.start();
        emit Activated();
        break;
    case QEvent::MouseButtonRelease:
        m_userInput.start();
        break;
    default:
        break;
    }
    if (event->type() == QEvent::KeyPress) {
        // Ctrl+Z tells where the shown page comes from, for gallery authors.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Z && key->modifiers().testFlag(Qt::ControlModifier)) {
            platform::ShowMessage(
                m_view.PackagePath + "\n" + m_view.PageName + "\n" + m_view.TargetUrl, std::string());
            return true;
        }
        // Ctrl+F opens the find bar, where the menu offers find.
        if (key->key() == Qt::Key_F && key->modifiers().testFlag(Qt::ControlModifier)) {
            if (m_view.HasTextContents)
                RunViewCommand(kCmdFind);
            return true;
        }
    }
    if (event->type() == QEvent::Wheel) {
        // Counted in whole notches (120): a touchpad sends many small steps for one notch's
        // travel, and each must not count as a notch. A sideways wheel turns no topic.
        m_wheelRest += static_cast<QWheelEvent*>(event)->angleDelta().y();
        while (m_wheelRest >= kWheelNotch || m_wheelRest <= -kWheelNotch) {
            const int notch = m_wheelRest > 0 ? kWheelNotch : -kWheelNotch;
            m_wheelRest -= notch;
            const WheelStep step = OnWheel(m_view, notch);
            if (step != WheelStep::Scroll) {
                m_wheelRest = 0;
                emit TopicStepRequested(step == WheelStep::NextTopic);
                update();
                return true;
            }
        }
    }
    return QWebEngineView::eventFilter(watched, event);
}

void CContentView::contextMenuEvent(QContextMenuEvent* event)
{
    ShowContextMenu(event->globalPos());
}

void CContentView::ShowContextMenu(const QPoint& globalPos)
{
    // Without a menu of our own none is shown: the engine's would save pages and open links
    // past the router.
    if (!m_view.OwnContextMenu)
        return;
    const auto items = PrepareContextMenu(m_view, m_state.SplitMode);
    if (!items)
        return;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("viewMenu"));
    for (const ContextMenuItem& item : *items) {
        if (item.Command == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromStdString(item.Text));
        action->setObjectName(QStringLiteral("cmd%1").arg(item.Command));
        action->setData(item.Command);
        if (item.Bitmap != 0)
            action->setIcon(QIcon(ResourceBitmap(item.Bitmap)));
        action->setCheckable(item.Checked);
        action->setChecked(item.Checked);
    }
    if (QAction* chosen = menu.exec(globalPos))
        RunViewCommand(chosen->data().toInt());
}

void CContentView::RunViewCommand(int command)
{
    switch (command) {
    case kCmdCopy:
        triggerPageAction(QWebEnginePage::Copy);
        return;
    case kCmdPrint:
        Print();
        return;
    case kCmdFind:
        if (!m_findBar)
            m_findBar = new CFindBar(*this);
        m_findBar->Open();
        return;
    case kCmdPreviousPage:
    case kCmdNextPage:
        if (m_view.NavCommandsEnabled)
            emit TopicStepRequested(command == kCmdNextPage);
        return;
    case kCmdHistoryBack:
    case kCmdHistoryForward:
        if (m_view.NavCommandsEnabled)
            emit ViewCommandRequested(command);
        return;
    default:
        emit ViewCommandRequested(command);
        return;
    }
}

} // namespace orv
