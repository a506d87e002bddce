#pragma once
// A static text in colours of its own (the main window's status line: dark red on pale
// yellow), drawn with a thin sunken line along its top.

#include <QColor>
#include <QLabel>

namespace orv {

class CColorStaticST : public QLabel {
    Q_OBJECT
public:
    explicit CColorStaticST(QWidget* parent = nullptr);

    void SetColors(const QColor& background, const QColor& text);
    QColor BackgroundColor() const { return m_background; }
    QColor TextColor() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_background { 255, 255, 216 };
    QColor m_text { 128, 0, 0 };
};

} // namespace orv
