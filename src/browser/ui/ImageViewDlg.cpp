#include "browser/ui/ImageViewDlg.h"

#include "app/ReaderState.h"
#include "browser/ImageViewerPlacement.h"
#include "browser/ui/PictureCtrl.h"
#include "content/ui/ContentView.h"
#include "controls/ResourcePictures.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

namespace orv {

CImageViewDlg::CImageViewDlg(ReaderState& state, QWidget* parent)
    : QDialog(parent)
    , m_state(state)
    , m_picture(new CPictureCtrl(this))
{
    setObjectName(QStringLiteral("CImageViewDlg"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setSizeGripEnabled(true);
    setWindowIcon(ResourceIcon(kIconApp));
    m_picture->setObjectName(QStringLiteral("ctl%1").arg(kPicture));
    resize(640, 480);
    PlaceFromSettings();
}

CImageViewDlg::~CImageViewDlg()
{
    // The web view works on m_webState to its end.
    delete m_web;
}

void CImageViewDlg::PlaceFromSettings()
{
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->geometry();
    const int caption = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    if (const auto rect = PlaceViewer(ReadViewerRect(m_state.IniPath), available.width(), available.height(), caption))
        setGeometry(rect->Left, rect->Top, rect->Width, rect->Height);
}

void CImageViewDlg::ShowFile(const QString& title, const std::string& path)
{
    setWindowTitle(title);
    m_webMode = ViewerModeForPath(path) == ViewerMode::Web;
    if (m_webMode) {
        if (!m_web) {
            m_webState.OwnContextMenu = true;
            m_web = new CContentView(m_state, m_webState, m_previousCompanion, this);
            m_web->setObjectName(QStringLiteral("ctl%1").arg(kWeb));
        }
        m_web->Navigate(path);
    } else {
        m_picture->SetPicture(path);
    }
    LayOut();
}

void CImageViewDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    LayOut();
}

void CImageViewDlg::LayOut()
{
    // The control of the mode fills the window; the other waits just outside it.
    const QRect client = rect();
    const QRect outside = client.translated(client.width() + 10, 0);
    m_picture->setGeometry(m_webMode ? outside : client);
    if (m_web)
        m_web->setGeometry(m_webMode ? client : outside);
}

void CImageViewDlg::hideEvent(QHideEvent* event)
{
    const QRect frame = frameGeometry();
    WriteViewerRect(m_state.IniPath, { frame.left(), frame.top(), frame.width(), frame.height() });
    QDialog::hideEvent(event);
}

} // namespace orv
