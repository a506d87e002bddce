#include "controls/FlatComboBox.h"

#include <QPainter>
#include <QPainterPath>

namespace orv {

CFlatComboBox::CFlatComboBox(QWidget* parent)
    : QComboBox(parent)
{
    setAttribute(Qt::WA_Hover);
}

void CFlatComboBox::SetColors(const QColor& text, const QColor& background)
{
    m_text = text;
    m_background = background;
    update();
}

void CFlatComboBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    const bool enabled = isEnabled();
    painter.fillRect(rect(), enabled ? m_background : palette().color(QPalette::Disabled, QPalette::Button));

    const QColor line = palette().color(QPalette::Mid);
    painter.setPen(m_hot || hasFocus() ? line.darker(140) : line);
    painter.drawRect(frame);

    const int arrowWidth = qMax(14, height() - 6);
    const QRect arrowBox(frame.right() - arrowWidth, frame.top() + 1, arrowWidth, frame.height() - 1);
    if (m_hot)
        painter.fillRect(arrowBox, m_background.darker(108));
    painter.setPen(line);
    painter.drawLine(arrowBox.topLeft(), arrowBox.bottomLeft());

    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = QRectF(arrowBox).center();
    QPainterPath arrow;
    arrow.moveTo(centre.x() - 3.5, centre.y() - 1.5);
    arrow.lineTo(centre.x() + 3.5, centre.y() - 1.5);
    arrow.lineTo(centre.x(), centre.y() + 2.5);
    arrow.closeSubpath();
    painter.fillPath(
        arrow, enabled ? QColor(60, 60, 60) : palette().color(QPalette::Disabled, QPalette::Text));
    painter.setRenderHint(QPainter::Antialiasing, false);

    const QRect textBox
        = QRect(frame.left() + 5, frame.top(), arrowBox.left() - frame.left() - 8, frame.height());
    painter.setPen(enabled ? m_text : palette().color(QPalette::Disabled, QPalette::Text));
    const QString text = fontMetrics().elidedText(currentText(), Qt::ElideRight, textBox.width());
    painter.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter, text);
}

void CFlatComboBox::enterEvent(QEnterEvent* event)
{
    m_hot = true;
    update();
    QComboBox::enterEvent(event);
}

void CFlatComboBox::leaveEvent(QEvent* event)
{
    m_hot = false;
    update();
    QComboBox::leaveEvent(event);
}

} // namespace orv
