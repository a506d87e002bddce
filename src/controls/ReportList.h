#pragma once
// A list in report style: a QTreeWidget without tree decoration whose rows are selected whole,
// one at a time, named "ctl<id>".

class QTreeWidget;
class QWidget;

namespace orv {

QTreeWidget* MakeReportList(QWidget* parent, int id);

} // namespace orv
