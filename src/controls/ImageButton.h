#pragma once
// A flat push button that shows a picture beside its text and draws a frame only while the
// pointer is over it or it is pressed.

#include <QAbstractButton>

namespace orv {

class CImageButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CImageButton(QWidget* parent = nullptr);
    CImageButton(const QIcon& image, const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool m_hot = false;
};

} // namespace orv
