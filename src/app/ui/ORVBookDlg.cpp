#include "app/ui/ORVBookDlg.h"

#include "app/GalleryList.h"
#include "app/MainCommands.h"
#include "app/MainToolbar.h"
#include "app/ReaderState.h"
#include "app/RunFunction.h"
#include "app/StartUp.h"
#include "app/ToolMenu.h"
#include "app/WindowLayout.h"
#include "app/ui/AboutDlg.h"
#include "app/ui/AutomationServer.h"
#include "app/ui/BaseWnd.h"
#include "app/ui/LeftView.h"
#include "app/ui/MainView.h"
#include "browser/DrawingLoader.h"
#include "browser/ui/ImageViewDlg.h"
#include "browser/ui/OptionsDlg.h"
#include "cadlink/CadExecutor.h"
#include "cadlink/CadPlanner.h"
#include "content/ContentPanel.h"
#include "content/DirectoryContent.h"
#include "content/LinkRouter.h"
#include "content/ViewInput.h"
#include "content/ui/ContentView.h"
#include "content/ui/TextFindDlg.h"
#include "controls/ColorStaticST.h"
#include "controls/FlatToolBar.h"
#include "controls/ResourcePictures.h"
#include "navigation/DirectoryQueries.h"
#include "navigation/DirectorySummary.h"
#include "navigation/ui/ContentTabDlg.h"
#include "navigation/ui/DirTreeDlg.h"
#include "navigation/ui/NavTabDlg.h"
#include "platform/Hooks.h"
#include "platform/Paths.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <QToolButton>
#include <QUrl>

namespace orv {
namespace {

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

void Tell(const UserMessage& message, platform::MessageKind kind = platform::MessageKind::Information)
{
    platform::ShowMessage(message.Text, message.Caption, kind);
}

// Carries out a plan of the CAD link: the window steps aside only for a program that did
// start, and a failure is told under the plan's caption.
void CarryOut(QWidget* window, const CadPlan& plan)
{
    const CadOutcome outcome = ExecuteCadPlan(plan);
    if (outcome.Started && plan.MinimiseOnStart)
        window->showMinimized();
    if (!outcome.Message.empty())
        Tell({ outcome.Message, plan.Caption });
}

} // namespace

CORVBookDlg::CORVBookDlg(ReaderState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_toolbar(new CFlatToolBar(this))
    , m_logo(new QLabel(this))
    , m_statusLine(new CColorStaticST(this))
    , m_frame(new CBaseWnd(state, this))
{
    setObjectName(QStringLiteral("CORVBookDlg"));
    setWindowIcon(ResourceIcon(kIconApp));
    setWindowTitle(Q(state.AppTitle));
    setMinimumSize(480, 320);

    m_toolbar->setObjectName(QStringLiteral("toolbar"));
    BuildToolbar();

    m_logo->setObjectName(QStringLiteral("ctl%1").arg(kLogo));
    QPixmap logo(Q(platform::NativePath(state.AppPath + "\\support\\logo.bmp")));
    m_logo->setPixmap(logo.isNull() ? ResourceBitmap(kBitmapLogo) : logo);
    m_logo->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_statusLine->setObjectName(QStringLiteral("ctl%1").arg(kStatusLine));
    m_statusLine->SetColors(QColor(255, 255, 216), QColor(128, 0, 0));
    connect(m_toolbar, &CFlatToolBar::StatusText, this, &CORVBookDlg::SetStatusText);
    connect(m_toolbar, &CFlatToolBar::Command, this, &CORVBookDlg::RunCommand);

    CreateKeys();

    CNavTabDlg* navigation = NavigationPanel();
    CDirTreeDlg* tree = navigation->TreePage();
    connect(tree, &CDirTreeDlg::CaptionChanged, this, &CORVBookDlg::SetCaption);
    connect(tree, &CDirTreeDlg::DirectoryChosen, this, [this] {
        LoadTreeDirectoryDrawings(m_state);
        ContentPanel()->ShowCurrentDirectory(true);
        NavigationPanel()->UpdateCurrentTopic();
        CarryOut(this, PlanDrawingExecute(m_state, m_state.CurrentDirID, 0));
    });
    connect(tree, &CDirTreeDlg::HomePageWanted, this, &CORVBookDlg::ShowHomePage);
    connect(tree, &CDirTreeDlg::TreeShown, this, &CORVBookDlg::TreeShown);
    connect(navigation, &CNavTabDlg::GalleryOpened, this, &CORVBookDlg::OnGalleryOpened);
    // The index, search and bookmark pages have made the visit current (and recorded it
    // where they should): it is shown without being recorded again.
    connect(navigation, &CNavTabDlg::DirectoryJumped, this, [this] { ShowCurrent(false); });
    connect(navigation, &CNavTabDlg::SearchRunningChanged, this,
        [this](bool running) { ContentPanel()->setEnabled(!running); });
    connect(navigation, &CNavTabDlg::SourceTextFound, this, [this](const QString& text, const QString& find) {
        CTextFindDlg::Instance(this)->ShowText(text, find);
    });
    CContentTabDlg* content = ContentPanel();
    connect(content, &CContentTabDlg::ViewsCreated, this, [this] {
        CContentView* view = ContentPanel()->View();
        ConnectContentView(view);
        connect(view, &CContentView::LoadEnded, this, &CORVBookDlg::PageLoaded);
    });
    connect(content, &CContentTabDlg::SecondViewCreated, this, &CORVBookDlg::ConnectContentView);
    connect(content, &CContentTabDlg::InsertRequested, this, &CORVBookDlg::InsertDrawing);
    connect(content, &CContentTabDlg::ViewRequested, this,
        [this](const QString& title, const QString& path) { ShowInViewer(title, path.toStdString(), true); });
    connect(content, &CContentTabDlg::PicturePageChanged, this, [this](bool shown) {
        m_toolbar->SetButtonVisible(kCmdZoom, shown);
        m_toolbar->SetButtonVisible(kCmdWholePage, shown);
    });
    LayOut();
}

CNavTabDlg* CORVBookDlg::NavigationPanel() const
{
    return m_frame->LeftView()->NavigationPanel();
}

CContentTabDlg* CORVBookDlg::ContentPanel() const
{
    return m_frame->MainView()->ContentPanel();
}

void CORVBookDlg::BuildToolbar()
{
    std::vector<AddinButtonText> addins;
    for (const AddinInfo& addin : ReadAddins(m_state))
        addins.push_back({ addin.Caption, addin.Tip, addin.IconPath });
    for (const ToolbarButton& button : MainToolbarButtons(addins)) {
        if (button.Id == 0) {
            m_toolbar->AddSeparator();
            continue;
        }
        QIcon icon = button.Image < kToolbarImageCount ? ToolbarImage(button.Image) : QIcon();
        if (button.Image >= kToolbarImageCount && !button.IconFile.empty())
            icon = QIcon(Q(platform::NativePath(button.IconFile)));
        if (button.Image >= kToolbarImageCount && icon.isNull())
            icon = ResourceIcon(kIconAddinDefault);
        QAction* action = m_toolbar->AddButton(button.Id, icon, Q(button.Caption), Q(button.Tip));
        action->setVisible(button.Visible);
    }
    m_toolbar->SetButtonCaption(kCmdSplit, QString::fromUtf8(kSplitCaption));
    m_toolbar->SetBackground(Q(platform::NativePath(m_state.ToolbarBackPath)));
}

void CORVBookDlg::CreateKeys()
{
    // The keys act directly, without the running-search guard of the toolbar buttons.
    const std::pair<Qt::Key, std::function<void()>> keys[] = {
        { Qt::Key_F2, [this] { ToggleNavigation(); } },
        { Qt::Key_F5, [this] { StepPage(false); } },
        { Qt::Key_F6, [this] { StepPage(true); } },
    };
    for (const auto& [key, run] : keys) {
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("key") + QKeySequence(key).toString());
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, run);
        addAction(action);
    }
    // History back and forward share their buttons' state.
    for (const auto& [key, id] :
        { std::pair { Qt::Key_F7, kCmdHistoryBack }, { Qt::Key_F8, kCmdHistoryForward } }) {
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("key") + QKeySequence(key).toString());
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setEnabled(m_toolbar->Button(id)->isEnabled());
        connect(m_toolbar->Button(id), &QAction::enabledChanged, action, &QAction::setEnabled);
        connect(action, &QAction::triggered, this, [this, id = id] { RunCommand(id); });
        addAction(action);
    }
}

void CORVBookDlg::Start()
{
    NavigationPanel()->SelectOpenGallery();
}

void CORVBookDlg::RunCommand(int id)
{
    switch (id) {
    case kCmdGalleryInformation:
    case kCmdWindowMenuAbout:
    case kCmdAbout:
        ShowGalleryInformation();
        return;
    case kCmdExit:
        close();
        return;
    case kCmdHome:
        ShowHomePage();
        return;
    case kCmdMail:
        // The support address is not fixed: a new, unaddressed mail.
        QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:")));
        return;
    case kCmdHelp:
        OpenHelp();
        return;
    case kCmdToggleNavigation:
        ToggleNavigation();
        return;
    case kCmdOptions:
        ShowOptions();
        return;
    case kCmdInsertDrawing:
        InsertDrawing(m_state.Drawings.SelectedDrawingID);
        return;
    default:
        break;
    }
    if (id >= kAddinFirstCommand && id < kAddinFirstCommand + static_cast<int>(m_state.AddinList.size())) {
        LaunchTool(id - kAddinFirstCommand);
        return;
    }
    if (id >= kToolMenuFirstCommand && id <= kToolMenuLastCommand) {
        RunToolMenuCommand(id - kToolMenuFirstCommand);
        return;
    }
    UserMessage message;
    if (IsGuardedCommand(id) && GuardedCommandBlocked(m_state, message)) {
        Tell(message);
        return;
    }
    switch (id) {
    case kCmdPreviousPage:
    case kCmdNextPage:
        StepPage(id == kCmdNextPage);
        return;
    case kCmdHistoryBack:
    case kCmdHistoryForward:
        StepHistory(id == kCmdHistoryForward);
        return;
    case kCmdSplit:
        SetSplitMode(ToggledSplitMode(m_state.SplitMode));
        return;
    case kCmdSplitVertical:
    case kCmdViewSplitVertical:
        SetSplitMode(kSplitVertical);
        return;
    case kCmdViewSplitHorizontal:
        SetSplitMode(kSplitHorizontal);
        return;
    case kCmdViewSplitClose:
        SetSplitMode(kSplitNone);
        return;
    case kCmdZoom:
    case kCmdWholePage:
        m_state.WholePage = id == kCmdWholePage;
        ContentPanel()->SetPictureSize(m_state.WholePage);
        ShowSplitButton();
        return;
    default:
        return;
    }
}

void CORVBookDlg::SetSplitMode(int mode)
{
    m_state.WholePage = false;
    ContentPanel()->SetSplitMode(mode);
    ShowSplitButton();
}

void CORVBookDlg::ShowSplitButton()
{
    const bool split = m_state.SplitMode != kSplitNone;
    m_toolbar->SetButtonCaption(kCmdSplit, QString::fromUtf8(split ? kSingleCaption : kSplitCaption));
    if (QAction* button = m_toolbar->Button(kCmdSplit))
        button->setIcon(ToolbarImage(split ? kSingleImage : kSplitImage));
}

void CORVBookDlg::StepHistory(bool forward)
{
    const HistoryStepResult step = ContentPanel()->StepHistory(forward);
    if (!step.Moved)
        return;
    // The entry's directory is selected in the tree and its drawings loaded, without its
    // page being shown or recorded again.
    for (const ViewAction& action : step.Actions) {
        if (action.What == ViewAction::Kind::SelectDirectory) {
            NavigationPanel()->SelectCurrentDir();
            LoadDirectoryDrawings(m_state);
            ContentPanel()->RefreshDrawings();
        }
    }
    NavigationPanel()->UpdateCurrentTopic();
    SetCaption(Q(step.Caption));
}

void CORVBookDlg::SetCaption(const QString& caption)
{
    // A speciality node has no title path: the program's title stands instead of none.
    setWindowTitle(caption.isEmpty() ? Q(m_state.AppTitle) : caption);
}

void CORVBookDlg::SetStatusText(const QString& text)
{
    m_statusLine->setText(text);
}

void CORVBookDlg::ToggleNavigation()
{
    m_frame->ToggleNavigation();
}

void CORVBookDlg::ShowHomePage()
{
    ContentPanel()->ShowPage(HomePagePath(m_state.AppPath));
}

void CORVBookDlg::ShowDirectory(std::int32_t dirId)
{
    m_state.CurrentDirID = dirId;
    ShowCurrent(true);
}

void CORVBookDlg::ShowCurrent(bool recordVisit)
{
    NavigationPanel()->SelectCurrentDir();
    const DrawingLoadResult loaded = LoadDirectoryDrawings(m_state);
    SetCaption(Q(loaded.Title ? *loaded.Title : SummarizeDirectory(m_state, m_state.CurrentDirID).Caption));
    ContentPanel()->ShowCurrentDirectory(recordVisit);
    NavigationPanel()->UpdateCurrentTopic();
}

void CORVBookDlg::InsertDrawing(std::int32_t drawingId)
{
    // No drawing is chosen yet.
    if (drawingId < 0)
        return;
    CarryOut(this, PlanInsertDrawing(m_state, drawingId));
}

void CORVBookDlg::ShowInViewer(const QString& title, const std::string& path, bool setTitle)
{
    // One viewer serves every picture; closed, it is made again on the next use.
    if (!m_viewer)
        m_viewer = new CImageViewDlg(m_state, this);
    m_viewer->show();
    m_viewer->raise();
    m_viewer->ShowFile(setTitle ? title : m_viewer->windowTitle(), path);
}

CImageViewDlg* CORVBookDlg::Viewer() const
{
    return m_viewer.data();
}

void CORVBookDlg::ShowOptions()
{
    COptionsDlg dialog(m_state, this);
    connect(&dialog, &COptionsDlg::LayerSettingsRequested, this,
        [this] { CarryOut(this, PlanLayerSettings(m_state)); });
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!dialog.Written())
        Tell(
            { SettingsNotWrittenMessage(m_state.IniPath), m_state.AppTitle }, platform::MessageKind::Warning);
    ContentPanel()->RefreshDrawings();
}

void CORVBookDlg::ConnectContentView(CContentView* view)
{
    connect(view, &CContentView::ActionRequested, this, &CORVBookDlg::OnViewAction);
    connect(view, &CContentView::TopicStepRequested, this,
        [this](bool next) { RunCommand(next ? kCmdNextPage : kCmdPreviousPage); });
    connect(view, &CContentView::ViewCommandRequested, this, &CORVBookDlg::RunCommand);
}

void CORVBookDlg::OnViewAction(const ViewAction& action)
{
    switch (action.What) {
    case ViewAction::Kind::SelectDirectory:
        ShowDirectory(static_cast<std::int32_t>(action.DirId));
        return;
    case ViewAction::Kind::OpenGallery:
        if (SelectGalleryByFile(m_state, action.Text))
            NavigationPanel()->SelectOpenGallery();
        if (!action.Caption.empty()) {
            if (const auto dirId = FindLinkedDirectory(m_state, action.Caption))
                ShowDirectory(*dirId);
        }
        return;
    case ViewAction::Kind::Run: {
        std::string message;
        RunFunctionSpec(m_state, action.Text, &message);
        if (!message.empty())
            Tell({ message, kCommandCaption });
        return;
    }
    case ViewAction::Kind::Refused:
        Tell({ action.Text, kCommandCaption }, platform::MessageKind::Warning);
        return;
    case ViewAction::Kind::InsertDrawing:
        InsertDrawing(static_cast<std::int32_t>(action.DirId));
        return;
    case ViewAction::Kind::ShowPicture:
        // A picture link leaves the viewer's title as it is.
        ShowInViewer(QString(), action.Text, false);
        return;
    default:
        // History entries are already in the state; the view carries out the rest itself.
        return;
    }
}

void CORVBookDlg::StepPage(bool next)
{
    if (!m_state.ContentViewReady)
        return;
    const std::int32_t dirId = next ? NextPage(m_state) : PrevPage(m_state);
    if (dirId != 0)
        ShowDirectory(dirId);
}

void CORVBookDlg::ShowGalleryInformation()
{
    CAboutDlg dialog(m_state, this);
    if (dialog.exec() == QDialog::Accepted && dialog.Changed()) {
        NavigationPanel()->LoadGalleryList();
        NavigationPanel()->SelectOpenGallery();
    }
}

void CORVBookDlg::OpenHelp()
{
    const std::string help = m_state.AppPath + "\\orvBook.chm";
    if (!platform::FileExists(help)) {
        Tell({ "未找到" + help + "！", kCommandCaption });
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(Q(platform::NativePath(help))));
}

void CORVBookDlg::LaunchTool(int index)
{
    const ToolLaunch launch = orv::LaunchTool(m_state, index);
    switch (launch.Type) {
    case ToolLaunch::Kind::Message:
        Tell(launch.Message);
        break;
    case ToolLaunch::Kind::Call: {
        const AddOnResult result = ExecuteAddOnCall(m_state, launch.Call);
        if (!result.Message.empty())
            Tell({ result.Message, kCommandCaption });
        break;
    }
    case ToolLaunch::Kind::Menu:
        ShowToolMenu(index, launch.MenuPath);
        break;
    case ToolLaunch::Kind::None:
        break;
    }
}

void CORVBookDlg::ShowToolMenu(int index, const std::string& menuPath)
{
    const orv::ToolMenu menu = ReadToolMenu(menuPath);
    m_toolMenuCommands = menu.Commands;
    delete m_toolMenu;
    m_toolMenu = new QMenu(this);
    m_toolMenu->setObjectName(QStringLiteral("toolMenu"));
    AddMenuItems(m_toolMenu, menu.Items);
    if (menu.IsEmpty())
        return;
    QToolButton* button = m_toolbar->ButtonWidget(kAddinFirstCommand + index);
    const QPoint corner = button ? button->mapToGlobal(button->rect().bottomLeft()) : QCursor::pos();
    m_toolMenu->popup(corner);
}

void CORVBookDlg::AddMenuItems(QMenu* menu, const std::vector<ToolMenuItem>& items)
{
    for (const ToolMenuItem& item : items) {
        switch (item.Type) {
        case ToolMenuItem::Kind::Separator:
            menu->addSeparator();
            break;
        case ToolMenuItem::Kind::Submenu:
            AddMenuItems(menu->addMenu(Q(item.Caption)), item.Children);
            break;
        case ToolMenuItem::Kind::Item: {
            const int id = kToolMenuFirstCommand + item.CommandIndex;
            QAction* action = menu->addAction(Q(item.Caption));
            action->setObjectName(QStringLiteral("cmd%1").arg(id));
            action->setData(id);
            // Commands past the last tool-menu id have no command to run.
            action->setEnabled(id <= kToolMenuLastCommand);
            connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
            break;
        }
        }
    }
}

void CORVBookDlg::RunToolMenuCommand(int k)
{
    const ToolCommand command = orv::RunToolMenuCommand(m_state, m_toolMenuCommands, k);
    switch (command.Type) {
    case ToolCommand::Kind::Message:
        Tell(command.Message);
        break;
    case ToolCommand::Kind::Call: {
        const AddOnResult result = ExecuteAddOnCall(m_state, command.Call);
        if (!result.Message.empty())
            Tell({ result.Message, kCommandCaption });
        break;
    }
    case ToolCommand::Kind::OpenGallery:
        NavigationPanel()->SelectOpenGallery();
        break;
    case ToolCommand::Kind::None:
        break;
    }
}

void CORVBookDlg::OnGalleryOpened()
{
    m_toolbar->SetButtonVisible(kCmdOptions, m_state.GalleryHasDrawings);
}

void CORVBookDlg::LayOut()
{
    const int statusHeight
        = qMax(style()->pixelMetric(QStyle::PM_TitleBarHeight), m_statusLine->fontMetrics().height() + 6);
    const int logoWidth = m_logo->pixmap().isNull() ? 0 : m_logo->pixmap().width();
    const MainWindowLayout layout = LayOutMainWindow(width(), height(), logoWidth, statusHeight);
    auto place
        = [](QWidget* widget, const LayoutRect& r) { widget->setGeometry(r.X, r.Y, r.Width, r.Height); };
    place(m_toolbar, layout.Toolbar);
    place(m_logo, layout.Logo);
    place(m_statusLine, layout.StatusLine);
    place(m_frame, layout.Frame);
}

void CORVBookDlg::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void CORVBookDlg::closeEvent(QCloseEvent* event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    const CloseDecision decision = QueryClose(m_state, m_autoProxy && m_autoProxy->Holds());
    if (decision.Refused) {
        Tell(decision.Refusal);
        event->ignore();
        return;
    }
    if (decision.HideOnly) {
        hide();
        event->ignore();
        return;
    }
    if (platform::ShowMessage(
            decision.Question.Text, decision.Question.Caption, platform::MessageKind::Question)
        != 1) {
        event->ignore();
        return;
    }
    m_state.SplitW = m_frame->NavigationWidth();
    if (!ShutDown(m_state))
        platform::ShowMessage(
            SettingsNotWrittenMessage(m_state.IniPath), m_state.AppTitle, platform::MessageKind::Warning);
    m_closing = true;
    event->accept();
}

void CORVBookDlg::EndIfHidden()
{
    if (!isHidden() || m_closing || (m_autoProxy && m_autoProxy->Holds()))
        return;
    m_state.SplitW = m_frame->NavigationWidth();
    if (!ShutDown(m_state))
        platform::ShowMessage(
            SettingsNotWrittenMessage(m_state.IniPath), m_state.AppTitle, platform::MessageKind::Warning);
    m_closing = true;
    close();
    emit ProgramEnded();
}

void CORVBookDlg::contextMenuEvent(QContextMenuEvent* event)
{
    // Stands in for the window menu entry of the Windows edition: on the toolbar, the logo
    // and the status line, not over the panels, which have menus of their own.
    if (m_frame->geometry().contains(event->pos())) {
        event->ignore();
        return;
    }
    QMenu menu(this);
    QAction* about = menu.addAction(ResourceIcon(kIconMessage), QStringLiteral("关于 ORVBook..."));
    about->setObjectName(QStringLiteral("cmd%1").arg(kCmdWindowMenuAbout));
    about->setData(int(kCmdWindowMenuAbout));
    if (menu.exec(event->globalPos()) == about)
        RunCommand(kCmdWindowMenuAbout);
}

} // namespace orv
