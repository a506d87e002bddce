#include "app/ui/AutomationServer.h"

#include "app/GalleryList.h"
#include "app/MainCommands.h"
#include "app/ReaderState.h"
#include "app/StartUp.h"
#include "app/common/PathHelpers.h"
#include "app/ui/ORVBookDlg.h"
#include "controls/FlatComboBox.h"
#include "navigation/ui/NavTabDlg.h"
#include "navigation/ui/SearchDlg.h"
#include "platform/Hooks.h"
#include "platform/Paths.h"

#include <QComboBox>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeWidget>

#include <algorithm>

namespace orv {

CORVBookDlgAutoProxy::CORVBookDlgAutoProxy(ReaderState& state, CORVBookDlg& window)
    : QObject(&window)
    , m_state(state)
    , m_window(window)
    , m_watcher(new QDBusServiceWatcher(this))
{
    m_watcher->setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(m_watcher, &QDBusServiceWatcher::serviceUnregistered, this, &CORVBookDlgAutoProxy::ClientLeft);
}

CORVBookDlgAutoProxy::~CORVBookDlgAutoProxy()
{
    if (m_busName.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(QString::fromLatin1(kAutomationObjectPath));
    bus.unregisterService(m_busName);
}

bool CORVBookDlgAutoProxy::Register()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    const QString name = QString::fromStdString(AutomationBusName(m_state.AppPath));
    if (!bus.registerObject(
            QString::fromLatin1(kAutomationObjectPath), this, QDBusConnection::ExportScriptableSlots))
        return false;
    if (!bus.registerService(name)) {
        bus.unregisterObject(QString::fromLatin1(kAutomationObjectPath));
        return false;
    }
    m_busName = name;
    m_watcher->setConnection(bus);
    return true;
}

bool CORVBookDlgAutoProxy::HandToRunningReader(const std::string& appPath, const QStringList& arguments)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    const QString name = QString::fromStdString(AutomationBusName(appPath));
    if (!bus.interface()->isServiceRegistered(name).value())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(name, QString::fromLatin1(kAutomationObjectPath),
        QString::fromLatin1(kAutomationInterface), QStringLiteral("HandArguments"));
    call << arguments;
    return bus.call(call, QDBus::Block, 10000).type() == QDBusMessage::ReplyMessage;
}

void CORVBookDlgAutoProxy::Hold()
{
    const QString client = calledFromDBus() ? message().service() : QString();
    if (!client.isEmpty())
        m_watcher->addWatchedService(client);
    m_holds.Hold(client.toStdString());
}

void CORVBookDlgAutoProxy::Release()
{
    const QString client = calledFromDBus() ? message().service() : QString();
    if (!m_holds.Release(client.toStdString()))
        return;
    if (!m_holds.Count(client.toStdString()))
        m_watcher->removeWatchedService(client);
    if (!m_holds.Any())
        emit HoldsEnded();
}

void CORVBookDlgAutoProxy::ClientLeft(const QString& client)
{
    const bool held = m_holds.Any();
    m_holds.ClientLeft(client.toStdString());
    m_watcher->removeWatchedService(client);
    if (held && !m_holds.Any())
        emit HoldsEnded();
}

void CORVBookDlgAutoProxy::Activate()
{
    if (m_window.isHidden())
        m_window.show();
    if (m_window.isMinimized())
        m_window.showNormal();
    m_window.raise();
    m_window.activateWindow();
}

bool CORVBookDlgAutoProxy::OpenGallery(const QString& name)
{
    const std::string wanted = name.toStdString();
    for (std::size_t i = 0; i < m_state.GalleryNames.size(); ++i) {
        if (m_state.GalleryNames[i] != wanted
            && !platform::EqualsNoCase(GetBaseName(m_state.GalleryFiles[i]), wanted))
            continue;
        UserMessage refusal;
        if (GuardedCommandBlocked(m_state, refusal))
            return false;
        m_window.NavigationPanel()->GalleryChooser()->setCurrentIndex(static_cast<int>(i));
        return m_state.CurrentGallery == static_cast<int>(i) && m_state.DatabaseOpen;
    }
    return false;
}

bool CORVBookDlgAutoProxy::ShowDirectory(int dirId)
{
    const std::vector<std::uint32_t>& dirs = m_state.Tree.Table.DirID;
    if (dirId <= 0 || m_state.SearchRunning
        || std::find(dirs.begin(), dirs.end(), static_cast<std::uint32_t>(dirId)) == dirs.end())
        return false;
    m_window.ShowDirectory(dirId);
    return true;
}

int CORVBookDlgAutoProxy::Search(const QString& text)
{
    if (m_state.SearchRunning || text.trimmed().isEmpty())
        return 0;
    CNavTabDlg* panel = m_window.NavigationPanel();
    panel->ShowPage(2);
    CSearchDlg* page = panel->SearchPage();
    if (!page)
        return 0;
    page->Combo()->setEditText(text);
    page->FullTextMode()->setChecked(page->FullTextMode()->isVisible());
    page->TitleMode()->setChecked(!page->FullTextMode()->isVisible());
    page->StartOrStop();
    return page->Results()->topLevelItemCount();
}

void CORVBookDlgAutoProxy::HandArguments(const QStringList& arguments)
{
    Activate();
    for (const QString& argument : arguments) {
        std::string error;
        const int index = AddGalleryFile(m_state, argument.toStdString(), error);
        if (index < 0)
            platform::ShowMessage(error, kStartUpCaption, platform::MessageKind::Warning);
        else
            m_window.NavigationPanel()->ChooseGallery(index);
    }
}

} // namespace orv
