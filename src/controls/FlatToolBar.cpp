#include "controls/FlatToolBar.h"

#include <QAction>
#include <QPainter>
#include <QToolButton>

namespace orv {

CFlatToolBar::CFlatToolBar(QWidget* parent)
    : QToolBar(parent)
{
    setIconSize(QSize(16, 16));
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setMovable(false);
    setFloatable(false);
    setContentsMargins(0, 0, 0, 0);
}

QAction* CFlatToolBar::AddButton(int id, const QIcon& icon, const QString& caption, const QString& tip)
{
    // A "&" in a caption (an add-in's Cap) is shown, not taken as a mnemonic.
    QString text = caption;
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    auto* action = addAction(icon, text);
    action->setObjectName(QStringLiteral("cmd%1").arg(id));
    action->setData(id);
    action->setToolTip(tip.isEmpty() ? caption.trimmed() : tip);
    action->setStatusTip(tip);
    connect(action, &QAction::triggered, this, [this, id] { emit Command(id); });
    connect(action, &QAction::hovered, this, [this, tip] { emit StatusText(tip); });
    if (auto* button = qobject_cast<QToolButton*>(widgetForAction(action))) {
        button->setObjectName(QStringLiteral("button%1").arg(id));
        button->setAutoRaise(true);
    }
    return action;
}

void CFlatToolBar::AddSeparator()
{
    addSeparator();
}

QAction* CFlatToolBar::Button(int id) const
{
    for (QAction* action : actions()) {
        if (!action->isSeparator() && action->data().toInt() == id)
            return action;
    }
    return nullptr;
}

QToolButton* CFlatToolBar::ButtonWidget(int id) const
{
    QAction* action = Button(id);
    if (!action || !action->isVisible())
        return nullptr;
    return qobject_cast<QToolButton*>(widgetForAction(action));
}

void CFlatToolBar::SetButtonVisible(int id, bool visible)
{
    if (QAction* action = Button(id))
        action->setVisible(visible);
}

void CFlatToolBar::SetButtonEnabled(int id, bool enabled)
{
    if (QAction* action = Button(id))
        action->setEnabled(enabled);
}

void CFlatToolBar::SetButtonCaption(int id, const QString& caption)
{
    if (QAction* action = Button(id))
        action->setText(caption);
}

bool CFlatToolBar::SetBackground(const QString& nativePath)
{
    QPixmap picture(nativePath);
    if (picture.isNull())
        return false;
    m_background = picture;
    update();
    return true;
}

void CFlatToolBar::paintEvent(QPaintEvent* event)
{
    if (m_background.isNull()) {
        QToolBar::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.drawTiledPixmap(rect(), m_background);
}

void CFlatToolBar::leaveEvent(QEvent* event)
{
    emit StatusText(QString());
    QToolBar::leaveEvent(event);
}

} // namespace orv
