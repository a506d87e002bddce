#include "navigation/ui/IndexDlg.h"

#include "app/ReaderState.h"
#include "navigation/TopicChooser.h"
#include "navigation/ui/PageWidgets.h"
#include "navigation/ui/TopicListDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace orv {

CIndexDlg::CIndexDlg(ReaderState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_combo(new QComboBox(this))
    , m_list(new QListWidget(this))
    , m_show(new QPushButton(QStringLiteral("显示"), this))
{
    setObjectName(QStringLiteral("CIndexDlg"));
    auto* label = new QLabel(QStringLiteral("输入要查找的关键字:"), this);
    label->setObjectName(QStringLiteral("ctl%1").arg(kLabel));
    m_combo->setObjectName(QStringLiteral("ctl%1").arg(kCombo));
    m_combo->setEditable(true);
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    m_list->setObjectName(QStringLiteral("ctl%1").arg(kList));
    m_list->setUniformItemSizes(true);
    m_show->setObjectName(QStringLiteral("ctl%1").arg(kShow));

    connect(m_combo->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        const int row = FindTyped(m_index, text.toStdString());
        if (row >= 0)
            Select(row);
    });
    connect(m_combo, qOverload<int>(&QComboBox::activated), this, [this](int entry) {
        const int row = FindPicked(m_index, m_combo->itemText(entry).toStdString());
        if (row >= 0)
            Select(row);
    });
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CIndexDlg::OpenSelected);
    connect(m_show, &QPushButton::clicked, this, &CIndexDlg::OpenSelected);

    auto* guard = new CBusyInputGuard(state, this);
    for (QWidget* widget :
        { static_cast<QWidget*>(m_combo), static_cast<QWidget*>(m_list), static_cast<QWidget*>(m_show) })
        guard->Watch(widget);
    m_combo->lineEdit()->installEventFilter(this);
    m_list->installEventFilter(this);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(label, 0, 0, 1, 2);
    layout->addWidget(m_combo, 1, 0, 1, 2);
    layout->addWidget(m_list, 2, 0, 1, 2);
    layout->addWidget(m_show, 3, 1);
    layout->setRowStretch(2, 1);
    layout->setColumnStretch(0, 1);
}

void CIndexDlg::LoadIndex()
{
    orv::LoadIndex(m_state, m_index);
    const QSignalBlocker blocker(m_combo);
    m_list->clear();
    m_combo->clear();
    QStringList terms;
    terms.reserve(static_cast<int>(m_index.Terms.size()));
    for (const std::string& term : m_index.Terms)
        terms << QString::fromStdString(term);
    m_list->addItems(terms);
    for (const std::string& entry : m_index.History)
        m_combo->addItem(QString::fromStdString(entry));
    m_combo->setEditText(QString());
}

void CIndexDlg::Select(int row)
{
    m_list->setCurrentRow(row);
    m_list->scrollToItem(m_list->item(row), QAbstractItemView::PositionAtTop);
}

void CIndexDlg::OpenSelected()
{
    const IndexOpening opening = orv::OpenSelected(m_index, m_list->currentRow());
    std::int32_t dirId = 0;
    if (opening.What == IndexOpening::Kind::Jump) {
        dirId = static_cast<std::int32_t>(opening.DirID);
    } else if (opening.What == IndexOpening::Kind::Choose) {
        CTopicListDlg chooser(m_state, opening.Term, this);
        emit ChooserOpened(&chooser);
        if (chooser.exec() != QDialog::Accepted || !chooser.Chosen())
            return;
        dirId = *chooser.Chosen();
    } else {
        return;
    }
    JumpToDirectory(m_state, dirId);
    emit DirectoryJumped();
}

bool CIndexDlg::eventFilter(QObject* watched, QEvent* event)
{
    // Enter on the page opens the selected term once the content view is ready.
    if (event->type() == QEvent::KeyPress && m_state.ContentViewReady) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OpenSelected();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orv
