#pragma once
// A splitter of two panes side by side with a flat, draggable bar between them. Pane 0 can
// be closed to width 0, by the program or by dragging it below its smallest width.

#include <QSplitter>

namespace orv {

class CSplitterBar : public QSplitter {
    Q_OBJECT
public:
    explicit CSplitterBar(QWidget* parent = nullptr);

    int ColumnWidth() const; // pane 0's width
    void SetColumnWidth(int width);

protected:
    QSplitterHandle* createHandle() override;
    void childEvent(QChildEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int m_pendingWidth = -1; // asked for before the splitter had its size
};

} // namespace orv
