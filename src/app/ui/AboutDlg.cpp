#include "app/ui/AboutDlg.h"

#include "app/GalleryInfo.h"
#include "app/MainToolbar.h"
#include "app/ReaderState.h"
#include "controls/ImageButton.h"
#include "controls/ResourcePictures.h"
#include "platform/Hooks.h"
#include "platform/Paths.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orv {
namespace {

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

// The work directory as the user knows it: a native path, or "<当前工作目录>".
QString ShownFolder(const ReaderState& state, const std::string& workDir)
{
    const std::string shown = WorkDirDisplay(state, workDir);
    return Q(shown == kCurrentWorkDirText ? shown : platform::NativePath(shown));
}

template <typename T> T* Named(T* widget, int id)
{
    widget->setObjectName(QStringLiteral("ctl%1").arg(id));
    return widget;
}

} // namespace

CAboutDlg::CAboutDlg(ReaderState& state, QWidget* parent)
    : QDialog(parent)
    , m_state(state)
    , m_workDir(state.LibPath)
    , m_edit(Named(new QLineEdit(this), kWorkDir))
    , m_list(Named(new QTreeWidget(this), kGalleryList))
{
    setWindowTitle(QStringLiteral("关于 ORVBook"));
    setWindowIcon(ResourceIcon(kIconMessage));

    auto* picture = new QLabel(this);
    picture->setPixmap(ResourceIcon(kIconApp).pixmap(48, 48));
    auto* title = Named(new QLabel(Q(state.AppTitle), this), kTitle);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto* versionLabel = Named(new QLabel(QStringLiteral("客户端版本:"), this), kVersionLabel);
    auto* version = Named(new QLabel(QStringLiteral("v" ORV_VERSION), this), kVersion);

    auto* heading = new QGridLayout;
    heading->setHorizontalSpacing(12);
    heading->addWidget(picture, 0, 0, 2, 1, Qt::AlignTop);
    heading->addWidget(title, 0, 1, 1, 2);
    heading->addWidget(versionLabel, 1, 1);
    heading->addWidget(version, 1, 2);
    heading->setColumnStretch(2, 1);

    auto* choose = Named(
        new CImageButton(ResourceIcon(kIconGallery), QStringLiteral("工作目录>>"), this), kChooseFolder);
    connect(choose, &QAbstractButton::clicked, this, &CAboutDlg::ChooseFolder);
    m_edit->setText(ShownFolder(state, m_workDir));
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(choose);
    folderRow->addWidget(m_edit, 1);

    m_list->setColumnCount(3);
    m_list->setHeaderLabels({ QStringLiteral("名称"), QStringLiteral("版本"), QStringLiteral("发布日期") });
    m_list->setColumnWidth(0, 180);
    m_list->setColumnWidth(1, 70);
    m_list->setColumnWidth(2, 70);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setIconSize(QSize(16, 16));
    m_list->header()->setStretchLastSection(true);
    m_list->setMinimumSize(340, 180);

    auto* ok = Named(new QPushButton(QStringLiteral("确定"), this), kOk);
    auto* cancel = Named(new QPushButton(QStringLiteral("放弃"), this), kCancel);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CAboutDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CAboutDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(10);
    layout->addLayout(heading);
    layout->addLayout(folderRow);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    FillList();
}

void CAboutDlg::FillList()
{
    m_list->clear();
    for (const GalleryRow& row : ListGalleryInfo(m_state, m_workDir)) {
        auto* item = new QTreeWidgetItem(m_list, { Q(row.Name), Q(row.Version), Q(row.Date) });
        item->setIcon(0, ResourceIcon(kIconGallery));
        item->setToolTip(0, Q(platform::NativePath(row.File)));
    }
    for (const GalleryRow& row : ListAddinInfo(m_state)) {
        auto* item = new QTreeWidgetItem(m_list, { Q(row.Name), Q(row.Version), Q(row.Date) });
        item->setIcon(0, ResourceIcon(kIconAddinDefault));
    }
}

void CAboutDlg::UseFolder(const std::string& folder)
{
    bool written = true;
    m_workDir = ChooseWorkDir(m_state, folder, &written);
    TellUnwritten(written);
    FillList();
    m_edit->setText(ShownFolder(m_state, m_workDir));
}

void CAboutDlg::ChooseFolder()
{
    const QString picked = QFileDialog::getExistingDirectory(
        this, QStringLiteral("工作目录"), Q(platform::NativePath(m_workDir)));
    if (!picked.isEmpty())
        UseFolder(platform::ProgramPath(picked.toStdString()));
}

void CAboutDlg::TellUnwritten(bool written) const
{
    if (!written)
        platform::ShowMessage(
            SettingsNotWrittenMessage(m_state.IniPath), m_state.AppTitle, platform::MessageKind::Warning);
}

void CAboutDlg::accept()
{
    const std::string text = m_edit->text().trimmed().toStdString();
    bool written = true;
    m_changed
        = ConfirmWorkDir(m_state, text == kCurrentWorkDirText ? text : platform::ProgramPath(text), &written);
    TellUnwritten(written);
    QDialog::accept();
}

} // namespace orv
