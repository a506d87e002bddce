#pragma once
// The content view's find bar, in place of the browser's own find box: a text, "下一个" and
// "上一个", at the bottom of the view. Enter finds the next occurrence, Shift+Enter the one
// before, Escape closes the bar and clears the marking.

#include <QWidget>

class QLineEdit;
class QWebEngineView;

namespace orv {

class CFindBar : public QWidget {
    Q_OBJECT
public:
    explicit CFindBar(QWebEngineView& view);

    // Shows the bar at the bottom of the view with the text selected for typing.
    void Open();
    void Find(bool backward);
    QLineEdit* Text() const { return m_text; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Keeps the bar at the bottom of the view as the view changes size.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();
    void Close();

    QWebEngineView& m_view;
    QLineEdit* m_text;
};

} // namespace orv
