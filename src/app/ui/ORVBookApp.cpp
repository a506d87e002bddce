#include "app/ui/ORVBookApp.h"

#include "app/AppFolderSetup.h"
#include "app/StartUp.h"
#include "app/common/PathHelpers.h"
#include "app/ui/AutomationServer.h"
#include "app/ui/MessageDlg.h"
#include "app/ui/ORVBookDlg.h"
#include "app/ui/SplashDlg.h"
#include "browser/MetafileRenderer.h"
#include "browser/render/PreviewPicture.h"
#include "navigation/ui/ContentTabDlg.h"
#include "platform/Hooks.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <filesystem>

namespace orv {
namespace {

// Long enough for any demo-sized tree; a screenshot run never waits for ever.
constexpr int kScreenshotTimeoutMs = 120000;
// How long a screenshot run waits for the first page to load, and then for it to be drawn.
constexpr int kPageWaitMs = 15000;
constexpr int kPagePaintMs = 500;

void Fail(const std::string& reason)
{
    std::fprintf(stderr, "orvbook: %s\n", reason.c_str());
}

} // namespace

CORVBookApp::CORVBookApp(AppOptions options)
    : m_options(std::move(options))
{
}

CORVBookApp::~CORVBookApp()
{
    platform::SetShowMessageHook({});
    platform::SetPumpEventsHook({});
    SetMetafileRenderer({});
}

int CORVBookApp::Run()
{
    const bool unattended = !m_options.Screenshot.isEmpty();
    if (unattended) {
        platform::SetShowMessageHook(
            [](const std::string& text, const std::string& caption, platform::MessageKind) {
                Fail(caption + " " + text);
                return 1;
            });
    } else {
        CMessageDlg::Install();
    }
    platform::SetPumpEventsHook([] { QCoreApplication::processEvents(); });
    // The content view cannot show metafiles; the player renders them to PNG for its pages.
    SetMetafileRenderer(RenderMetafilePng);

    const std::optional<std::string> appPath = PrepareAppFolder(unattended);
    if (!appPath)
        return 1;

    std::string galleryFile;
    if (!m_options.GalleryFile.empty()) {
        std::error_code ec;
        galleryFile = platform::ProgramPath(std::filesystem::absolute(m_options.GalleryFile, ec).string());
    }
    // A reader already runs on this folder: it takes the gallery file and comes forward.
    // An unattended run always starts its own.
    if (!unattended
        && CORVBookDlgAutoProxy::HandToRunningReader(*appPath,
            galleryFile.empty() ? QStringList() : QStringList { QString::fromStdString(galleryFile) }))
        return 0;

    m_splash = new CSplashDlg(*appPath);
    m_splash->show();
    QCoreApplication::processEvents();

    std::string notice;
    const StartUpResult started = StartUp(m_state, *appPath, galleryFile, notice);
    if (!notice.empty())
        platform::ShowMessage(notice, kStartUpCaption, platform::MessageKind::Warning);
    if (started == StartUpResult::NoGallery) {
        platform::ShowMessage(NoGalleryMessage(), kStartUpCaption, platform::MessageKind::Warning);
        if (m_splash)
            m_splash->close();
        return 1;
    }

    m_window = std::make_unique<CORVBookDlg>(m_state);
    connect(m_window.get(), &CORVBookDlg::TreeShown, this, &CORVBookApp::OnTreeShown);
    // Without a session bus, or beside another reader of this folder, there is no object.
    auto* proxy = new CORVBookDlgAutoProxy(m_state, *m_window);
    if (proxy->Register()) {
        m_proxy = proxy;
        m_window->SetAutomation(proxy);
        connect(proxy, &CORVBookDlgAutoProxy::HoldsEnded, m_window.get(), &CORVBookDlg::EndIfHidden);
        connect(m_window.get(), &CORVBookDlg::ProgramEnded, this, [] { QCoreApplication::quit(); });
    } else {
        delete proxy;
    }
    if (m_options.Size.isValid()) {
        m_window->resize(m_options.Size);
        m_window->show();
    } else {
        m_window->showMaximized();
    }
    QTimer::singleShot(0, m_window.get(), [this] { m_window->Start(); });
    if (unattended) {
        QTimer::singleShot(kScreenshotTimeoutMs, this, [] {
            Fail("the contents tree was not shown in time");
            QCoreApplication::exit(1);
        });
    }
    const int status = QApplication::exec();
    if (m_splash)
        m_splash->close();
    return status;
}

std::optional<std::string> CORVBookApp::PrepareAppFolder(bool unattended)
{
    std::string error;
    const std::optional<AppFolderChoice> choice
        = ChooseAppFolder(AppFolderInputsOfProcess(m_options.AppDir), error);
    if (choice && choice->FirstStart) {
        const std::string data = InstalledDataFolder();
        if (!MakeUserFolder(choice->Path, data, error)) {
            platform::ShowMessage(error, kStartUpCaption, platform::MessageKind::Warning);
            return std::nullopt;
        }
        if (HasDemoGalleries(data)) {
            bool copy = m_options.Demo == DemoAnswer::Yes;
            if (m_options.Demo == DemoAnswer::Ask && unattended)
                copy = true; // an unattended run shows what a first start looks like with them
            else if (m_options.Demo == DemoAnswer::Ask)
                copy = QMessageBox::question(nullptr, QString::fromUtf8(kStartUpCaption),
                           QStringLiteral(
                               "欢迎使用 ORVBook。\n是否将随程序安装的演示图库复制到您的工作目录\n%1 ？")
                               .arg(QString::fromStdString(platform::NativePath(choice->Path))))
                    == QMessageBox::Yes;
            ReaderState settings;
            LoadSettings(settings, choice->Path);
            if (copy && !CopyDemoGalleries(data, choice->Path, settings.LibPath, error))
                platform::ShowMessage(error, kStartUpCaption, platform::MessageKind::Warning);
        }
    }
    if (!choice) {
        platform::ShowMessage(error, kStartUpCaption, platform::MessageKind::Warning);
        return std::nullopt;
    }
    return choice->Path;
}

void CORVBookApp::OnTreeShown()
{
    if (m_firstTreeShown)
        return;
    m_firstTreeShown = true;
    m_firstTreeAfter = std::chrono::steady_clock::now() - m_options.Started;
    if (m_splash)
        m_splash->close();
    if (!m_options.Screenshot.isEmpty()) {
        // The shot shows the page the tree selection set off, once it has loaded and been
        // drawn; a page that never loads does not hold the run up.
        auto* shoot = new QTimer(this);
        shoot->setSingleShot(true);
        connect(shoot, &QTimer::timeout, this, &CORVBookApp::SaveScreenshot);
        connect(m_window.get(), &CORVBookDlg::PageLoaded, shoot, [shoot] { shoot->start(kPagePaintMs); });
        // A directory with drawings opens on its grid: no page is on its way then.
        shoot->start(m_window->ContentPanel()->Tabs()->currentIndex() == 0 ? kPageWaitMs : kPagePaintMs);
    }
}

void CORVBookApp::SaveScreenshot()
{
    // Taken from the screen: the web view draws through the GPU path, which a widget grab
    // leaves blank.
    QPixmap shot;
    if (QScreen* screen = m_window->screen())
        shot = screen->grabWindow(m_window->winId());
    if (shot.isNull())
        shot = m_window->grab();
    const bool saved = shot.save(m_options.Screenshot, "PNG");
    if (saved) {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(m_firstTreeAfter).count();
        std::printf("orvbook: saved %s; window caption: %s; first contents tree shown %lld ms after start\n",
            m_options.Screenshot.toLocal8Bit().constData(), m_window->windowTitle().toUtf8().constData(),
            static_cast<long long>(ms));
    } else
        Fail("cannot write " + m_options.Screenshot.toStdString());
    // An unattended run leaves the settings as they were; only its temporary files go.
    m_state.Database.CloseConnection();
    DeleteFolderTree(GetTempFolder());
    QCoreApplication::exit(saved ? 0 : 1);
}

} // namespace orv
