#include "controls/ReportList.h"

#include <QTreeWidget>

namespace orv {

QTreeWidget* MakeReportList(QWidget* parent, int id)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QStringLiteral("ctl%1").arg(id));
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setAllColumnsShowFocus(true);
    return list;
}

} // namespace orv
