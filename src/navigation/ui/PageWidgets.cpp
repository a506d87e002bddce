#include "navigation/ui/PageWidgets.h"

#include "app/ReaderState.h"
#include "controls/ReportList.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QTreeWidget>

namespace orv {

QTreeWidget* MakeTopicList(QWidget* parent, int id)
{
    QTreeWidget* list = MakeReportList(parent, id);
    list->setHeaderLabels({ QStringLiteral("主题"), QStringLiteral("位置") });
    list->setColumnWidth(0, 150);
    list->setColumnWidth(1, 200);
    return list;
}

CBusyInputGuard::CBusyInputGuard(const ReaderState& state, QWidget* page)
    : QObject(page)
    , m_state(state)
    , m_page(page)
{
}

void CBusyInputGuard::Watch(QWidget* widget)
{
    widget->installEventFilter(this);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget))
        area->viewport()->installEventFilter(this);
}

bool CBusyInputGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_state.ContentViewReady) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            m_page->setCursor(Qt::WaitCursor);
            return true;
        default:
            break;
        }
    } else if (m_page->cursor().shape() == Qt::WaitCursor) {
        m_page->unsetCursor();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orv
