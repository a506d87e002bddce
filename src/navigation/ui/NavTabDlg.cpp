#include "navigation/ui/NavTabDlg.h"

#include "app/ReaderState.h"
#include "controls/FlatComboBox.h"
#include "controls/ResourcePictures.h"
#include "navigation/GalleryOpening.h"
#include "navigation/ui/DirTreeDlg.h"

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

    // The index, search and bookmark pages come with their own features; until then their
    // tabs hold empty pages.
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

void CNavTabDlg::ShowPage(int index)
{
    m_tabs->setCurrentIndex(index);
}

void CNavTabDlg::OpenSelectedGallery()
{
    OpenGallery(m_state, m_chooser->currentIndex());
    m_treePage->BuildTree();
    emit GalleryOpened();
}

void CNavTabDlg::OnGalleryChosen(int index)
{
    if (index == m_state.CurrentGallery)
        return;
    m_state.CurrentDirID = 0;
    m_state.Drawings.SelectedDrawingID = 0;
    OpenSelectedGallery();
}

} // namespace orv
