#include "controls/ColorStaticST.h"

#include <QPainter>

namespace orv {

CColorStaticST::CColorStaticST(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setIndent(6);
    SetColors(m_background, m_text);
}

void CColorStaticST::SetColors(const QColor& background, const QColor& text)
{
    m_background = background;
    m_text = text;
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::WindowText, text);
    setPalette(colours);
    setAutoFillBackground(true);
    update();
}

void CColorStaticST::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    QPainter painter(this);
    painter.setPen(m_background.darker(130));
    painter.drawLine(0, 0, width() - 1, 0);
}

} // namespace orv
