#include "navigation/ui/BookmarkDlg.h"

#include "app/ReaderState.h"
#include "navigation/ui/PageWidgets.h"
#include "platform/Hooks.h"
#include "platform/Paths.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace orv {
namespace {

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

CBookmarkDlg::CBookmarkDlg(ReaderState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_list(MakeTopicList(this, kList))
    , m_topic(new QLineEdit(this))
{
    setObjectName(QStringLiteral("CBookmarkDlg"));
    auto* label = new QLabel(QStringLiteral("双击显示主题:"), this);
    label->setObjectName(QStringLiteral("ctl%1").arg(kLabel));
    auto* topicLabel = new QLabel(QStringLiteral("当前主题:"), this);
    topicLabel->setObjectName(QStringLiteral("ctl%1").arg(kTopicLabel));
    m_topic->setObjectName(QStringLiteral("ctl%1").arg(kTopic));
    m_topic->setReadOnly(true);
    auto* show = new QPushButton(QStringLiteral("显示"), this);
    auto* remove = new QPushButton(QStringLiteral("删除"), this);
    auto* add = new QPushButton(QStringLiteral("添加"), this);
    show->setObjectName(QStringLiteral("ctl%1").arg(kShow));
    remove->setObjectName(QStringLiteral("ctl%1").arg(kDelete));
    add->setObjectName(QStringLiteral("ctl%1").arg(kAdd));

    connect(show, &QPushButton::clicked, this, &CBookmarkDlg::Show);
    connect(remove, &QPushButton::clicked, this, &CBookmarkDlg::Delete);
    connect(add, &QPushButton::clicked, this, &CBookmarkDlg::Add);
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            m_bookmarks.Click(m_list->indexOfTopLevelItem(item));
    });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
        [this](QTreeWidgetItem* item) { OpenRow(m_list->indexOfTopLevelItem(item)); });

    auto* guard = new CBusyInputGuard(state, this);
    for (QWidget* widget : std::initializer_list<QWidget*> { m_list, show, remove, add })
        guard->Watch(widget);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(label, 0, 0, 1, 3);
    layout->addWidget(m_list, 1, 0, 1, 3);
    layout->addWidget(show, 2, 1);
    layout->addWidget(remove, 2, 2);
    layout->addWidget(topicLabel, 3, 0, 1, 3);
    layout->addWidget(m_topic, 4, 0, 1, 3);
    layout->addWidget(add, 5, 2);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(0, 1);
}

void CBookmarkDlg::LoadBookmarks()
{
    m_bookmarks.Load(m_state.HistoryIniPath);
    FillList();
}

void CBookmarkDlg::FillList()
{
    const QSignalBlocker blocker(m_list);
    m_list->clear();
    for (const Bookmark& row : m_bookmarks.Rows())
        m_list->addTopLevelItem(new QTreeWidgetItem(QStringList { Q(row.Topic), Q(row.Location) }));
    if (QTreeWidgetItem* selected = m_list->topLevelItem(m_bookmarks.Selected()))
        m_list->setCurrentItem(selected);
    m_topic->setText(Q(m_bookmarks.CurrentTopic()));
}

void CBookmarkDlg::UpdateCurrentTopic()
{
    m_bookmarks.UpdateCurrentTopic(m_state);
    m_topic->setText(Q(m_bookmarks.CurrentTopic()));
}

void CBookmarkDlg::Add()
{
    Report(m_bookmarks.Add(m_state));
}

void CBookmarkDlg::Delete()
{
    Report(m_bookmarks.Delete());
}

void CBookmarkDlg::Report(BookmarkList::Change change)
{
    if (change == BookmarkList::Change::WriteFailed) {
        // The list stays as the file holds it: nothing the user sees is lost on the next start.
        platform::ShowMessage("无法保存书签：不能写入文件 " + platform::NativePath(m_state.HistoryIniPath),
            "书签", platform::MessageKind::Warning);
    }
    FillList();
}

void CBookmarkDlg::Show()
{
    if (m_bookmarks.Show(m_state))
        emit DirectoryJumped(false);
}

void CBookmarkDlg::OpenRow(int row)
{
    if (!m_bookmarks.DoubleClick(m_state, row))
        return;
    const QSignalBlocker blocker(m_list);
    m_list->setCurrentItem(m_list->topLevelItem(row));
    emit DirectoryJumped(true);
}

} // namespace orv
