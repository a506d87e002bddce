#include "controls/ResourcePictures.h"

#include <QPainter>
#include <QSvgRenderer>

#include <array>

// The resources live in the static library orvgui, so they are registered by hand once.
static void InitPictureResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(orvbook);
        return true;
    }();
    (void)done;
}

namespace orv {
namespace {

QIcon SvgIcon(const char* path)
{
    InitPictureResources();
    return QIcon(QString::fromLatin1(path));
}

const char* IconPath(int iconId)
{
    switch (iconId) {
    case kIconApp:
    case kIconMessage:
        return ":/app/orvbook.svg";
    case kIconAddinDefault:
        return ":/toolbar/addin.svg";
    case kIconGallery:
        return ":/app/gallery.svg";
    case kIconTabContents:
        return ":/tabs/contents.svg";
    case kIconTabIndex:
        return ":/tabs/index.svg";
    case kIconTabSearch:
        return ":/tabs/search.svg";
    case kIconTabBookmarks:
        return ":/tabs/bookmarks.svg";
    default:
        return nullptr;
    }
}

const char* BitmapPath(int bitmapId)
{
    switch (bitmapId) {
    case kBitmapQuestion:
        return ":/message/question.svg";
    case kBitmapWarning:
        return ":/message/warning.svg";
    case kBitmapInformation:
        return ":/message/information.svg";
    case kBitmapLogo:
        return ":/app/logo.svg";
    case kBitmapSplash:
        return ":/app/splash.svg";
    default:
        return nullptr;
    }
}

} // namespace

QIcon ToolbarImage(int index)
{
    static const std::array<const char*, kToolbarImageCount> paths { ":/toolbar/information.svg",
        ":/toolbar/navigation.svg", ":/toolbar/search.svg", ":/toolbar/page-previous.svg",
        ":/toolbar/page-next.svg", ":/toolbar/back.svg", ":/toolbar/forward.svg", ":/toolbar/split.svg",
        ":/toolbar/single-page.svg", ":/toolbar/whole-page.svg", ":/toolbar/options.svg",
        ":/toolbar/home.svg", ":/toolbar/mail.svg", ":/toolbar/help.svg", ":/toolbar/exit.svg",
        ":/toolbar/zoom.svg" };
    if (index < 0 || index >= kToolbarImageCount)
        return QIcon();
    return SvgIcon(paths[static_cast<std::size_t>(index)]);
}

QIcon TreeImage(int index)
{
    static const std::array<const char*, kTreeImageCount> paths { ":/tree/speciality.svg",
        ":/tree/book-closed.svg", ":/tree/book-open.svg", ":/tree/page.svg", ":/tree/page-lines.svg",
        ":/tree/page-fx.svg", ":/tree/page-fx-selected.svg", ":/tree/sheet.svg",
        ":/tree/sheet-selected.svg" };
    if (index < 0 || index >= kTreeImageCount)
        return QIcon();
    return SvgIcon(paths[static_cast<std::size_t>(index)]);
}

QIcon ResourceIcon(int iconId)
{
    const char* path = IconPath(iconId);
    return path ? SvgIcon(path) : QIcon();
}

QPixmap ResourceBitmap(int bitmapId, QSize size)
{
    const char* path = BitmapPath(bitmapId);
    if (!path)
        return QPixmap();
    InitPictureResources();
    QSvgRenderer renderer(QString::fromLatin1(path));
    if (size.isEmpty())
        size = renderer.defaultSize();
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

} // namespace orv
