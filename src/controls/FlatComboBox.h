#pragma once
// A drop-down list drawn flat: a thin frame, the text in its own colours while enabled (the
// gallery chooser: black on pale cyan), the system's colours when disabled, and a small arrow.

#include <QColor>
#include <QComboBox>

namespace orv {

class CFlatComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CFlatComboBox(QWidget* parent = nullptr);

    void SetColors(const QColor& text, const QColor& background);
    QColor TextColor() const { return m_text; }
    QColor BackgroundColor() const { return m_background; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QColor m_text { Qt::black };
    QColor m_background { 0xc0, 0xff, 0xff };
    bool m_hot = false;
};

} // namespace orv
