#include "app/ui/SplashDlg.h"

#include "controls/ResourcePictures.h"
#include "platform/Paths.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace orv {

CSplashDlg::CSplashDlg(const std::string& appPath, const std::string& picturePath)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("CSplashDlg"));
    setAttribute(Qt::WA_DeleteOnClose);
    const std::string path = picturePath.empty() ? appPath + "\\Support\\StartUp.bmp" : picturePath;
    m_picture.load(QString::fromStdString(platform::NativePath(path)));
    if (m_picture.isNull()) {
        m_picture = ResourceBitmap(kBitmapSplash);
        m_ownPicture = true;
    }
    if (m_picture.width() >= 1 && m_picture.height() >= 1) {
        setFixedSize(m_picture.size());
        if (QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->geometry().center() - rect().center());
    }
}

void CSplashDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}

} // namespace orv
