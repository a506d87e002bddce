#include "navigation/ui/SearchDlg.h"

#include "app/ReaderState.h"
#include "navigation/ui/PageWidgets.h"
#include "platform/Hooks.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace orv {
namespace {

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

CSearchDlg::CSearchDlg(ReaderState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_settings(ReadSearchSettings(state))
    , m_combo(new QComboBox(this))
    , m_scope(new QComboBox(this))
    , m_title(new QRadioButton(QStringLiteral("按目录标题搜索"), this))
    , m_fullText(new QRadioButton(QStringLiteral("按全文内容搜索"), this))
    , m_keyword(new QRadioButton(QStringLiteral("按图集关键字索引搜索"), this))
    , m_start(new QPushButton(QStringLiteral("搜索"), this))
    , m_count(new QLabel(this))
    , m_progress(new QProgressBar(this))
    , m_results(MakeTopicList(this, kResults))
{
    setObjectName(QStringLiteral("CSearchDlg"));
    auto* label = new QLabel(QStringLiteral("输入要搜索的关键字:"), this);
    label->setObjectName(QStringLiteral("ctl%1").arg(kLabel));
    m_combo->setObjectName(QStringLiteral("ctl%1").arg(kCombo));
    m_combo->setEditable(true);
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    m_scope->setObjectName(QStringLiteral("ctl%1").arg(kScope));
    m_scope->addItems({ QStringLiteral("全目录范围"), QStringLiteral("在当前目录下搜索"),
        QStringLiteral("在结果中继续搜索") });
    m_title->setObjectName(QStringLiteral("ctl%1").arg(kTitleMode));
    m_fullText->setObjectName(QStringLiteral("ctl%1").arg(kFullTextMode));
    m_keyword->setObjectName(QStringLiteral("ctl%1").arg(kKeywordMode));
    m_start->setObjectName(QStringLiteral("ctl%1").arg(kStart));
    m_count->setObjectName(QStringLiteral("ctl%1").arg(kCount));
    m_progress->setObjectName(QStringLiteral("ctl%1").arg(kProgress));
    m_progress->setTextVisible(false);
    m_progress->setMaximumHeight(12);
    m_progress->hide();

    // No search runs in the keyword mode: its choice is never offered.
    m_keyword->hide();
    m_title->setVisible(m_settings.TitleShown);
    m_fullText->setVisible(m_settings.FullTextShown);
    (m_settings.Initial == SearchMode::Title ? m_title : m_fullText)->setChecked(true);

    connect(m_start, &QPushButton::clicked, this, &CSearchDlg::StartOrStop);
    connect(m_results, &QTreeWidget::itemDoubleClicked, this,
        [this](QTreeWidgetItem* item) { OpenRow(m_results->indexOfTopLevelItem(item)); });

    auto* guard = new CBusyInputGuard(state, this);
    for (QWidget* widget :
        std::initializer_list<QWidget*> { m_combo, m_scope, m_title, m_fullText, m_results })
        guard->Watch(widget);
    for (QObject* watched : std::initializer_list<QObject*> {
             m_combo->lineEdit(), m_combo, m_scope, m_title, m_fullText, m_start, m_results })
        watched->installEventFilter(this);

    auto* results = new QLabel(QStringLiteral("双击显示搜索到的主题:"), this);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(label, 0, 0, 1, 2);
    layout->addWidget(m_combo, 1, 0, 1, 2);
    layout->addWidget(m_scope, 2, 0, 1, 2);
    layout->addWidget(m_title, 3, 0, 1, 2);
    layout->addWidget(m_fullText, 4, 0, 1, 2);
    layout->addWidget(m_keyword, 5, 0, 1, 2);
    layout->addWidget(m_start, 6, 1);
    layout->addWidget(results, 7, 0);
    layout->addWidget(m_count, 7, 1, Qt::AlignRight);
    layout->addWidget(m_progress, 8, 0, 1, 2);
    layout->addWidget(m_results, 9, 0, 1, 2);
    layout->setRowStretch(9, 1);
    layout->setColumnStretch(0, 1);
}

void CSearchDlg::LoadForGallery()
{
    m_page.LoadForGallery(m_state);
    m_results->clear();
    m_count->clear();
    FillCombo();
}

void CSearchDlg::FillCombo()
{
    const QSignalBlocker blocker(m_combo);
    m_combo->clear();
    for (const std::string& entry : m_page.ComboEntries())
        m_combo->addItem(Q(entry));
    if (m_combo->count() > 0)
        m_combo->setCurrentIndex(0);
}

void CSearchDlg::AddRow(const SearchRow& row)
{
    m_results->addTopLevelItem(new QTreeWidgetItem(QStringList { Q(row.Title), Q(row.Location) }));
    ShowCount();
    // Rows appear as they are found: the pumped events paint them.
    m_results->viewport()->update();
}

void CSearchDlg::ShowCount()
{
    const int rows = m_results->topLevelItemCount();
    m_count->setText(rows > 0 ? QStringLiteral("(%1)").arg(rows) : QString());
}

void CSearchDlg::StartOrStop()
{
    SearchPageHooks hooks;
    hooks.Started = [this](const std::string& text) {
        m_combo->setEditText(Q(text));
        m_results->clear();
        m_count->clear();
        m_progress->setRange(0, 0);
        m_progress->show();
        m_start->setText(QStringLiteral("停止"));
        emit SearchRunningChanged(true);
    };
    hooks.Added = [this](const SearchRow& row) { AddRow(row); };
    hooks.Progress = [this](std::size_t position, std::size_t range) {
        m_progress->setRange(0, static_cast<int>(std::min<std::size_t>(range, 1u << 30)));
        m_progress->setValue(static_cast<int>(std::min(position, range)));
    };
    const SearchMode mode
        = m_title->isChecked() || !m_fullText->isVisible() ? SearchMode::Title : SearchMode::FullText;
    const auto scope = static_cast<SearchScope>(std::clamp(m_scope->currentIndex(), 0, 2));
    const SearchRun run
        = m_page.StartOrStop(m_state, m_combo->currentText().toStdString(), mode, scope, hooks);
    switch (run.What) {
    case SearchRun::Kind::None:
    case SearchRun::Kind::StopRequested:
        return;
    case SearchRun::Kind::Refused:
        platform::ShowMessage(run.Message.Text, run.Message.Caption, platform::MessageKind::Warning);
        m_combo->setFocus();
        return;
    case SearchRun::Kind::Finished:
        break;
    }
    // The list shows what the search kept (a search within the results removes rows).
    if (m_results->topLevelItemCount() != static_cast<int>(m_page.Rows().size())) {
        m_results->clear();
        for (const SearchRow& row : m_page.Rows())
            AddRow(row);
    }
    if (run.History != HistoryChange::Unchanged) {
        FillCombo();
        m_combo->setEditText(Q(run.Text));
    }
    ShowCount();
    m_progress->hide();
    m_start->setText(QStringLiteral("搜索"));
    emit SearchRunningChanged(false);
    if (!run.Message.Text.empty())
        platform::ShowMessage(run.Message.Text, run.Message.Caption, platform::MessageKind::Warning);
}

void CSearchDlg::OpenRow(int row)
{
    const SearchOpening opening
        = m_page.Open(m_state, row, m_combo->currentText().toStdString(), m_settings.HasSrcPreview);
    if (!opening.Message.Text.empty()) {
        platform::ShowMessage(opening.Message.Text, opening.Message.Caption, platform::MessageKind::Warning);
        return;
    }
    if (!opening.Jumped)
        return;
    emit DirectoryJumped();
    if (!opening.SourceText.empty())
        emit SourceTextFound(Q(opening.SourceText), Q(m_page.LastSearchText()));
}

bool CSearchDlg::eventFilter(QObject* watched, QEvent* event)
{
    // Enter starts a search, or stops the running one, as the button does; Escape only stops.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if ((enter && (m_state.ContentViewReady || m_state.SearchRunning))
            || (key == Qt::Key_Escape && m_state.SearchRunning)) {
            StartOrStop();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orv
