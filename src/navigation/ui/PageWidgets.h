#pragma once
// Pieces the navigation pages share: the two-column topic list ("主题", "位置"), and the
// guard that keeps a page (the contents tree's too) from taking input while the content view
// loads a page.

#include <QObject>

class QTreeWidget;
class QWidget;

namespace orv {

struct ReaderState;

// A report-style list with the columns "主题" (150) and "位置" (200), whole rows selected.
QTreeWidget* MakeTopicList(QWidget* parent, int id);

// While the content view is not ready, mouse and key input to the watched widgets is
// swallowed under a wait cursor, as the contents tree does.
class CBusyInputGuard : public QObject {
public:
    CBusyInputGuard(const ReaderState& state, QWidget* page);
    // Watches the widget too (its viewport, for item views).
    void Watch(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const ReaderState& m_state;
    QWidget* m_page;
};

} // namespace orv
