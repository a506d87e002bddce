#include "controls/SplitterBar.h"

#include <QChildEvent>
#include <QPainter>
#include <QResizeEvent>

namespace orv {
namespace {

class FlatHandle : public QSplitterHandle {
public:
    FlatHandle(Qt::Orientation orientation, QSplitter* parent)
        : QSplitterHandle(orientation, parent)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QPalette& colours = palette();
        painter.fillRect(rect(), colours.color(QPalette::Window));
        painter.setPen(colours.color(QPalette::Light));
        painter.drawLine(0, 0, 0, height() - 1);
        painter.setPen(colours.color(QPalette::Mid));
        painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
    }
};

} // namespace

CSplitterBar::CSplitterBar(QWidget* parent)
    : QSplitter(Qt::Horizontal, parent)
{
    setHandleWidth(5);
    setOpaqueResize(true);
}

int CSplitterBar::ColumnWidth() const
{
    const QList<int> widths = sizes();
    return widths.isEmpty() ? 0 : widths.first();
}

void CSplitterBar::SetColumnWidth(int width)
{
    if (count() < 2)
        return;
    width = qMax(0, width);
    const int total = qMax(0, this->width() - handleWidth());
    if (total <= 0 || !isVisible()) {
        m_pendingWidth = width;
    }
    setSizes({ width, qMax(0, total - width) });
}

void CSplitterBar::childEvent(QChildEvent* event)
{
    QSplitter::childEvent(event);
    // Pane 0 may be dragged shut (it snaps to 0 below its smallest width); pane 1 may not.
    if (event->type() == QEvent::ChildAdded && count() == 2) {
        setCollapsible(0, true);
        setCollapsible(1, false);
    }
}

QSplitterHandle* CSplitterBar::createHandle()
{
    return new FlatHandle(orientation(), this);
}

void CSplitterBar::resizeEvent(QResizeEvent* event)
{
    QSplitter::resizeEvent(event);
    if (m_pendingWidth >= 0 && width() > handleWidth()) {
        const int width = m_pendingWidth;
        m_pendingWidth = -1;
        SetColumnWidth(width);
    }
}

} // namespace orv
