#include "navigation/ui/NavTabDlg.h"

#include "app/MainCommands.h"
#include "app/ReaderState.h"
#include "controls/FlatComboBox.h"
#include "controls/ResourcePictures.h"
#include "navigation/GalleryOpening.h"
#include "navigation/ui/BookmarkDlg.h"
#include "navigation/ui/DirTreeDlg.h"
#include "navigation/ui/IndexDlg.h"
#include "navigation/ui/SearchDlg.h"
#include "platform/Hooks.h"

#include <QApplication>
#include <QProxyStyle>
#include <QSignalBlocker>
#include <QStyleFactory>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace orv {
namespace {

// Four tabs with pictures fit the usual panel width (200 to 260 pixels) only with narrower
// margins than the style's own.
class CompactTabStyle : public QProxyStyle {
public:
    explicit CompactTabStyle(QObject* owner)
        : QProxyStyle(QStyleFactory::create(QApplication::style()->name()))
    {
        setParent(owner);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? value / 2 : value;
    }
};

} // namespace

CNavTabDlg::CNavTabDlg(ReaderState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_chooser(new CFlatComboBox(this))
    , m_tabs(new QTabWidget(this))
    , m_treePage(new CDirTreeDlg(state, m_tabs))
{
    m_chooser->setObjectName(QStringLiteral("ctl%1").arg(kGalleryChooser));
    m_chooser->SetColors(Qt::black, QColor(0xc0, 0xff, 0xff));
    m_tabs->setObjectName(QStringLiteral("ctl%1").arg(kTabs));
    m_tabs->setIconSize(QSize(16, 16));
    m_tabs->tabBar()->setStyle(new CompactTabStyle(m_tabs->tabBar()));

    // The index, search and bookmark tabs hold empty places until their pages are made.
    m_tabs->addTab(m_treePage, ResourceIcon(kIconTabContents), QStringLiteral("目录"));
    m_tabs->addTab(new QWidget(m_tabs), ResourceIcon(kIconTabIndex), QStringLiteral("索引"));
    m_tabs->addTab(new QWidget(m_tabs), ResourceIcon(kIconTabSearch), QStringLiteral("搜索"));
    m_tabs->addTab(new QWidget(m_tabs), ResourceIcon(kIconTabBookmarks), QStringLiteral("书签"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_chooser);
    layout->addWidget(m_tabs, 1);

    connect(m_chooser, qOverload<int>(&QComboBox::currentIndexChanged), this,
        [this](int index) { OnGalleryChosen(index); });
    connect(m_tabs, &QTabWidget::currentChanged, this, &CNavTabDlg::ShowPage);
    LoadGalleryList();
}

void CNavTabDlg::LoadGalleryList()
{
    const QSignalBlocker blocker(m_chooser);
    m_chooser->clear();
    for (const std::string& name : m_state.GalleryNames)
        m_chooser->addItem(ResourceIcon(kIconGallery), QString::fromStdString(name));
    m_chooser->setVisible(m_state.GalleryNames.size() != 1);
    if (m_state.GalleryNames.size() == 1)
        m_chooser->setCurrentIndex(0);
}

void CNavTabDlg::SelectOpenGallery()
{
    {
        const QSignalBlocker blocker(m_chooser);
        if (m_state.CurrentGallery >= 0 && m_state.CurrentGallery < m_chooser->count())
            m_chooser->setCurrentIndex(m_state.CurrentGallery);
    }
    OpenSelectedGallery();
}

void CNavTabDlg::SelectCurrentDir()
{
    m_treePage->SelectCurrentDir();
}

void CNavTabDlg::UpdateCurrentTopic()
{
    if (m_bookmarkPage)
        m_bookmarkPage->UpdateCurrentTopic();
}

void CNavTabDlg::ShowPage(int index)
{
    if (m_tabs->currentIndex() != index) {
        m_tabs->setCurrentIndex(index); // comes back here through currentChanged
        return;
    }
    CreatePage(index);
}

void CNavTabDlg::CreatePage(int index)
{
    QWidget* page = nullptr;
    switch (index) {
    case 1:
        if (m_indexPage)
            return;
        m_indexPage = new CIndexDlg(m_state, m_tabs);
        connect(m_indexPage, &CIndexDlg::DirectoryJumped, this, [this] { emit DirectoryJumped(true); });
        page = m_indexPage;
        break;
    case 2:
        if (m_searchPage)
            return;
        m_searchPage = new CSearchDlg(m_state, m_tabs);
        connect(m_searchPage, &CSearchDlg::DirectoryJumped, this, [this] { emit DirectoryJumped(true); });
        connect(m_searchPage, &CSearchDlg::SearchRunningChanged, this, &CNavTabDlg::SearchRunningChanged);
        connect(m_searchPage, &CSearchDlg::SourceTextFound, this, &CNavTabDlg::SourceTextFound);
        page = m_searchPage;
        break;
    case 3:
        if (m_bookmarkPage)
            return;
        m_bookmarkPage = new CBookmarkDlg(m_state, m_tabs);
        connect(m_bookmarkPage, &CBookmarkDlg::DirectoryJumped, this, &CNavTabDlg::DirectoryJumped);
        page = m_bookmarkPage;
        break;
    default:
        return;
    }
    {
        // The place holder goes; the tab keeps its text, picture and selection.
        const QSignalBlocker blocker(m_tabs);
        const QIcon icon = m_tabs->tabIcon(index);
        const QString text = m_tabs->tabText(index);
        QWidget* placeholder = m_tabs->widget(index);
        m_tabs->removeTab(index);
        m_tabs->insertTab(index, page, icon, text);
        m_tabs->setCurrentIndex(index);
        delete placeholder;
    }
    if (m_indexPage == page)
        m_indexPage->LoadIndex();
    else if (m_searchPage == page)
        m_searchPage->LoadForGallery();
    else if (m_bookmarkPage == page) {
        m_bookmarkPage->LoadBookmarks();
        m_bookmarkPage->UpdateCurrentTopic();
    }
}

void CNavTabDlg::OpenSelectedGallery()
{
    OpenGallery(m_state, m_chooser->currentIndex());
    m_treePage->BuildTree();
    if (m_indexPage)
        m_indexPage->LoadIndex();
    if (m_searchPage)
        m_searchPage->LoadForGallery();
    if (m_bookmarkPage)
        m_bookmarkPage->LoadBookmarks();
    emit GalleryOpened();
}

void CNavTabDlg::OnGalleryChosen(int index)
{
    if (index == m_state.CurrentGallery)
        return;
    UserMessage refusal;
    if (GuardedCommandBlocked(m_state, refusal)) {
        // The running search reads this gallery's tree and files: the chooser goes back.
        const QSignalBlocker blocker(m_chooser);
        m_chooser->setCurrentIndex(m_state.CurrentGallery);
        platform::ShowMessage(refusal.Text, refusal.Caption, platform::MessageKind::Warning);
        return;
    }
    m_state.CurrentDirID = 0;
    m_state.Drawings.SelectedDrawingID = 0;
    OpenSelectedGallery();
}

} // namespace orv
