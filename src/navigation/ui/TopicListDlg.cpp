#include "navigation/ui/TopicListDlg.h"

#include "controls/ImageButton.h"
#include "controls/ResourcePictures.h"
#include "navigation/ui/PageWidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orv {

CTopicListDlg::CTopicListDlg(const ReaderState& state, const std::string& term, QWidget* parent)
    : QDialog(parent)
    , m_list(MakeTopicList(this, kList))
{
    setObjectName(QStringLiteral("CTopicListDlg"));
    setWindowTitle(QStringLiteral("已找到的主题"));
    setWindowIcon(ResourceIcon(kIconTabIndex));
    m_chooser.Load(state, term);
    for (const TopicRow& row : m_chooser.Rows())
        m_list->addTopLevelItem(new QTreeWidgetItem(
            QStringList { QString::fromStdString(row.Name), QString::fromStdString(row.Location) }));
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));

    auto* ok
        = new CImageButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("确认"), this);
    auto* cancel = new CImageButton(
        style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("放弃"), this);
    ok->setObjectName(QStringLiteral("ctl1"));
    cancel->setObjectName(QStringLiteral("ctl2"));
    connect(ok, &QAbstractButton::clicked, this, &CTopicListDlg::accept);
    connect(cancel, &QAbstractButton::clicked, this, &CTopicListDlg::reject);
    connect(m_list, &QTreeWidget::currentItemChanged, this,
        [this](QTreeWidgetItem* item) { m_chooser.Click(item ? m_list->indexOfTopLevelItem(item) : -1); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (m_chooser.DoubleClick(m_list->indexOfTopLevelItem(item)))
            accept();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("请单击某个主题，然后单击“显示”按钮，或双击某个主题"), this));
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(400, 300);
}

void CTopicListDlg::accept()
{
    // An empty list has nothing to accept: it closes as a cancel.
    m_result = m_chooser.Accept();
    if (m_result)
        QDialog::accept();
    else
        QDialog::reject();
}

} // namespace orv
