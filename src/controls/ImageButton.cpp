#include "controls/ImageButton.h"

#include <QPainter>

namespace orv {
namespace {
constexpr int kMargin = 4;
constexpr int kGap = 4;
} // namespace

CImageButton::CImageButton(QWidget* parent)
    : QAbstractButton(parent)
{
    setIconSize(QSize(16, 16));
    setFocusPolicy(Qt::StrongFocus);
}

CImageButton::CImageButton(const QIcon& image, const QString& text, QWidget* parent)
    : CImageButton(parent)
{
    setIcon(image);
    setText(text);
}

QSize CImageButton::sizeHint() const
{
    const int textWidth = text().isEmpty() ? 0 : fontMetrics().horizontalAdvance(text()) + kGap;
    const int height = qMax(iconSize().height(), fontMetrics().height()) + 2 * kMargin + 2;
    return QSize(iconSize().width() + textWidth + 2 * kMargin + 4, height);
}

void CImageButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    const bool down = isDown() || isChecked();
    if (isEnabled() && (m_hot || down || hasFocus())) {
        painter.fillRect(rect(), down ? colours.color(QPalette::Midlight) : colours.color(QPalette::Light));
        painter.setPen(down ? colours.color(QPalette::Dark) : colours.color(QPalette::Mid));
        painter.drawRect(frame);
    }
    const int shift = down ? 1 : 0;
    const QSize image = iconSize();
    const QRect imageBox(
        kMargin + 2 + shift, (height() - image.height()) / 2 + shift, image.width(), image.height());
    icon().paint(&painter, imageBox, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
    if (!text().isEmpty()) {
        painter.setPen(
            colours.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        const QRect textBox(
            imageBox.right() + 1 + kGap, shift, width() - imageBox.right() - kGap - kMargin, height());
        painter.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter, text());
    }
}

void CImageButton::enterEvent(QEnterEvent* event)
{
    m_hot = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CImageButton::leaveEvent(QEvent* event)
{
    m_hot = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace orv
