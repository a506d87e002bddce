#pragma once
// The picture control every drawing preview is shown in (grid cells, the detail preview, the
// image viewer): it loads a preview from a program path and paints it over its background,
// and tells its owner of clicks, double-clicks and right-clicks.

#include "browser/render/PreviewPicture.h"

#include <QColor>
#include <QWidget>

#include <string>

namespace orv {

class CPictureCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CPictureCtrl(QWidget* parent = nullptr);

    // Loads the preview of path and repaints; the result is PreviewPicture's.
    int SetPicture(const std::string& path);
    const std::string& Path() const { return m_path; }
    const PreviewPicture& Picture() const { return m_picture; }

    void SetBackground(const QColor& colour);
    QColor Background() const { return m_background; }

signals:
    void Clicked();
    void DoubleClicked();
    void RightClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::string m_path;
    PreviewPicture m_picture;
    QColor m_background { Qt::white };
};

} // namespace orv
