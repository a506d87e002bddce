#include "browser/ui/PictureCtrl.h"

#include <QMouseEvent>
#include <QPainter>

namespace orv {

CPictureCtrl::CPictureCtrl(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int CPictureCtrl::SetPicture(const std::string& path)
{
    m_path = path;
    m_picture = LoadPreviewPicture(path);
    update();
    return m_picture.result;
}

void CPictureCtrl::SetBackground(const QColor& colour)
{
    if (colour == m_background)
        return;
    m_background = colour;
    update();
}

void CPictureCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    PaintPreviewPicture(painter, rect(), m_picture, m_background);
}

void CPictureCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit Clicked();
    else if (event->button() == Qt::RightButton)
        emit RightClicked();
    event->accept();
}

void CPictureCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit DoubleClicked();
    event->accept();
}

} // namespace orv
