#include "navigation/ui/ContentTabDlg.h"

#include "app/ReaderState.h"
#include "content/ui/ContentView.h"
#include "navigation/DirectorySummary.h"

#include <QFrame>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace orv {
namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, qreal scale, bool bold, const QColor& colour)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setBold(bold);
    label->setFont(font);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour);
    label->setPalette(colours);
    return label;
}

} // namespace

CContentTabDlg::CContentTabDlg(ReaderState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_tabs(new QTabWidget(this))
    , m_view(nullptr)
{
    m_tabs->setObjectName(QStringLiteral("ctl%1").arg(kTabs));

    auto* page = new QFrame(m_tabs);
    page->setObjectName(QStringLiteral("contentPage"));
    page->setAutoFillBackground(true);
    QPalette colours = page->palette();
    colours.setColor(QPalette::Window, Qt::white);
    page->setPalette(colours);

    m_heading = MakeLabel(page, "heading", 1.6, true, QColor(0x23, 0x50, 0x8a));
    m_subheading = MakeLabel(page, "subheading", 1.0, false, QColor(0x55, 0x55, 0x55));
    m_content = MakeLabel(page, "content", 0.95, false, QColor(0x55, 0x55, 0x55));
    auto* rule = new QFrame(page);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(28, 24, 28, 24);
    layout->setSpacing(10);
    layout->addWidget(m_subheading);
    layout->addWidget(m_heading);
    layout->addWidget(rule);
    layout->addWidget(m_content);
    m_panel.MainView.OwnContextMenu = true;
    m_view = new CContentView(state, m_panel.MainView, m_panel.PreviousCompanionFolder, page);
    m_view->setObjectName(QStringLiteral("contentView"));
    layout->addWidget(m_view, 1);

    m_tabs->addTab(page, QStringLiteral("内容"));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_tabs);
}

CContentTabDlg::~CContentTabDlg()
{
    // The view works on m_panel to its end, so it goes first.
    delete m_view;
}

void CContentTabDlg::ShowCurrentDirectory()
{
    m_state.TabIndex = 0;
    m_tabs->setCurrentIndex(0);
    const DirectorySummary summary = SummarizeDirectory(m_state, m_state.CurrentDirID);
    // The path's last name is the heading; the gallery and the names above it lead to it.
    QStringList path = QString::fromStdString(summary.TitlePath).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    const QString heading = path.isEmpty() ? QString() : path.takeLast();
    path.prepend(QString::fromStdString(summary.Gallery));
    QString subheading = path.join(QStringLiteral(" › "));
    if (summary.PageCount > 1)
        subheading += QStringLiteral("      第%1页/共%2页").arg(summary.Page).arg(summary.PageCount);
    QString content;
    if (!heading.isEmpty()) {
        content = summary.Content.empty()
            ? QStringLiteral("此目录没有内容页。")
            : QStringLiteral("内容：") + QString::fromStdString(summary.Content);
    }
    Show(heading.isEmpty() ? QString::fromStdString(summary.Gallery) : heading,
        heading.isEmpty() ? QString() : subheading, content);
    // No page of the last choice stays under the new directory's summary.
    m_panel.MainView.ShowingPackagePage = false;
    m_view->Navigate("about:blank");
}

void CContentTabDlg::ShowPage(const std::string& title, const std::string& path)
{
    m_state.TabIndex = 0;
    m_tabs->setCurrentIndex(0);
    Show(QString::fromStdString(title), QStringLiteral("首页"),
        QStringLiteral("页面：") + QString::fromStdString(path));
    m_view->Navigate(path);
}

QString CContentTabDlg::ShownTitle() const
{
    return m_heading->text();
}

void CContentTabDlg::Show(const QString& heading, const QString& subheading, const QString& content)
{
    m_heading->setText(heading);
    m_subheading->setText(subheading);
    m_subheading->setVisible(!subheading.isEmpty());
    m_content->setText(content);
}

} // namespace orv
