#include "content/ui/FindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace orv {

CFindBar::CFindBar(QWebEngineView& view)
    : QWidget(&view)
    , m_view(view)
    , m_text(new QLineEdit(this))
{
    setObjectName(QStringLiteral("findBar"));
    setAutoFillBackground(true);
    m_text->setObjectName(QStringLiteral("findText"));
    m_text->setPlaceholderText(QStringLiteral("查找"));
    auto* next = new QPushButton(QStringLiteral("下一个"), this);
    auto* previous = new QPushButton(QStringLiteral("上一个"), this);
    next->setObjectName(QStringLiteral("findNext"));
    previous->setObjectName(QStringLiteral("findPrevious"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(m_text, 1);
    layout->addWidget(next);
    layout->addWidget(previous);
    connect(m_text, &QLineEdit::returnPressed, this, [this] { Find(false); });
    connect(next, &QPushButton::clicked, this, [this] { Find(false); });
    connect(previous, &QPushButton::clicked, this, [this] { Find(true); });
    hide();
    m_view.installEventFilter(this);
}

void CFindBar::Place()
{
    const int height = sizeHint().height();
    setGeometry(0, m_view.height() - height, m_view.width(), height);
}

bool CFindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_view && event->type() == QEvent::Resize && isVisible())
        Place();
    return QWidget::eventFilter(watched, event);
}

void CFindBar::Open()
{
    Place();
    show();
    raise();
    m_text->setFocus();
    m_text->selectAll();
}

void CFindBar::Find(bool backward)
{
    m_view.page()->findText(
        m_text->text(), backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags());
}

void CFindBar::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Close();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & Qt::ShiftModifier)) {
        Find(true);
        return;
    }
    QWidget::keyPressEvent(event);
}

void CFindBar::Close()
{
    // An empty search clears the engine's marking.
    m_view.page()->findText(QString());
    hide();
    m_view.setFocus();
}

} // namespace orv
