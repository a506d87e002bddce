#pragma once
// A flat toolbar: 16 x 16 icons with their captions underneath, drawn over a background
// picture when one is given. Every button is a QAction named "cmd<id>" with its command id
// in data(); a click reports the id, and hovering a button reports its status text.

#include <QPixmap>
#include <QToolBar>

class QToolButton;

namespace orv {

class CFlatToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit CFlatToolBar(QWidget* parent = nullptr);

    // A button for command id; tip is its tooltip and status text (none when empty).
    QAction* AddButton(int id, const QIcon& icon, const QString& caption, const QString& tip);
    void AddSeparator();

    QAction* Button(int id) const;
    // The button's widget, for placing a menu under it; null when the id has no visible button.
    QToolButton* ButtonWidget(int id) const;
    void SetButtonVisible(int id, bool visible);
    void SetButtonEnabled(int id, bool enabled);
    void SetButtonCaption(int id, const QString& caption);

    // The picture drawn (tiled) behind the buttons; a picture that does not load is ignored.
    bool SetBackground(const QString& nativePath);

signals:
    void Command(int id);
    // The hovered button's status text, and "" when the pointer leaves the toolbar.
    void StatusText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPixmap m_background;
};

} // namespace orv
