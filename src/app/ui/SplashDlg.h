#pragma once
// The start-up picture: a window without a frame, as large as its picture and centred on
// the screen, shown until the first contents tree is built. The picture is picturePath, or
// AppPath\Support\StartUp.bmp when that is empty, or our own when neither loads.

#include <QPixmap>
#include <QWidget>

#include <string>

namespace orv {

class CSplashDlg : public QWidget {
    Q_OBJECT
public:
    CSplashDlg(const std::string& appPath, const std::string& picturePath = std::string());

    const QPixmap& Picture() const { return m_picture; }
    bool UsesOwnPicture() const { return m_ownPicture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
    bool m_ownPicture = false;
};

} // namespace orv
