#include "browser/render/PreviewPicture.h"

#include "browser/AcadSlideBitmap.h"
#include "browser/PreviewPath.h"
#include "browser/WmfReader.h"
#include "browser/render/SlideRender.h"
#include "browser/render/WmfPainter.h"
#include "platform/Files.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPainter>

namespace orv {
namespace {

constexpr std::uint64_t kMaxPictureBytes = 64ull * 1024 * 1024;
constexpr qint64 kMaxPicturePixels = 64LL * 1024 * 1024;
constexpr int kMaxMetafileSide = 4096;
const QSize kDefaultSlideSize(400, 300);

// Decodes a raster picture; wanted is the format to insist on, or empty to take the content's.
QImage DecodeRaster(const std::string& bytes, const QByteArray& wanted, std::string& format)
{
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    // Without a format the reader looks at the content alone; with one, it reads only that.
    QImageReader reader(&buffer, wanted);
    const QByteArray found = reader.format();
    // The pictures galleries hold are these; other plugins Qt may have are not asked.
    if (found != "jpeg" && found != "gif" && found != "png" && found != "bmp")
        return QImage();
    if (!wanted.isEmpty() && found != wanted)
        return QImage();
    const QSize size = reader.size();
    if (size.isValid() && static_cast<qint64>(size.width()) * size.height() > kMaxPicturePixels)
        return QImage();
    QImage image = reader.read(); // a GIF's first frame
    if (!image.isNull())
        format = found.toStdString();
    return image;
}

void LoadImage(PreviewPicture& picture, const PreviewSource& source)
{
    if (auto bytes = platform::ReadFileBytes(source.path, kMaxPictureBytes)) {
        if (LooksLikeWmf(*bytes)) {
            std::string error;
            if (auto wmf = ReadWmf(*bytes, error)) {
                picture.metafile = std::make_shared<const WmfPicture>(std::move(*wmf));
                picture.format = "wmf";
                picture.result = 1;
                return;
            }
        } else {
            picture.image = DecodeRaster(*bytes, QByteArray(), picture.format);
            if (!picture.image.isNull()) {
                picture.result = 1;
                return;
            }
        }
    }
    if (auto bytes = platform::ReadFileBytes(source.fallbackPath, kMaxPictureBytes)) {
        std::string format;
        picture.fallback = DecodeRaster(*bytes, "bmp", format);
        if (!picture.fallback.isNull()) {
            picture.format = "fallback-bmp";
            picture.result = 1;
        }
    }
}

} // namespace

QSize PreviewPicture::NaturalSize() const
{
    if (mode == Mode::Slide)
        return QSize();
    if (metafile) {
        int width = 0, height = 0;
        WmfNaturalSize(*metafile, width, height, kMaxMetafileSide);
        return width > 0 ? QSize(width, height) : QSize();
    }
    if (!image.isNull())
        return image.size();
    if (!fallback.isNull())
        return fallback.size();
    return QSize();
}

PreviewPicture LoadPreviewPicture(std::string_view programPath)
{
    PreviewPicture picture;
    const PreviewSource source = ResolvePreviewPath(programPath);
    if (source.kind == PreviewSource::Kind::Image) {
        LoadImage(picture, source);
        return picture;
    }
    picture.mode = PreviewPicture::Mode::Slide;
    picture.result = 1;
    picture.slide = std::make_shared<CAcadSlideBitmap>();
    picture.slideResult = LoadPreviewSlide(*picture.slide, source);
    if (picture.slideResult == 1)
        picture.format = "slide";
    return picture;
}

void PaintPreviewPicture(
    QPainter& painter, const QRect& client, const PreviewPicture& picture, QColor background)
{
    if (client.isEmpty())
        return;
    if (picture.mode == PreviewPicture::Mode::Slide) {
        if (picture.slideResult != 1 || !picture.slide)
            return;
        picture.slide->SetBackgroundColor(SlideRgb(static_cast<unsigned>(background.red()),
            static_cast<unsigned>(background.green()), static_cast<unsigned>(background.blue())));
        Draw(*picture.slide, painter, client);
        return;
    }
    if (!picture.fallback.isNull()) {
        painter.drawImage(client, picture.fallback);
        return;
    }
    const QRect target = client.intersected(QRect(client.topLeft(), picture.NaturalSize()));
    if (target.isEmpty())
        return;
    if (picture.metafile)
        DrawWmf(painter, target, *picture.metafile);
    else if (!picture.image.isNull())
        painter.drawImage(target, picture.image);
}

QImage RenderPictureFile(
    std::string_view programPath, QSize size, QColor background, std::string& format, std::string& error)
{
    const PreviewPicture picture = LoadPreviewPicture(programPath);
    format = picture.format;
    if (!picture.Loaded()) {
        error = picture.mode == PreviewPicture::Mode::Slide
            ? (picture.slideResult == 0 ? "cannot open the slide" : "not a slide, or no such member")
            : "not a JPEG, GIF, PNG, BMP or Windows metafile, and no .bmp beside it";
        return QImage();
    }
    if (!size.isValid() || size.isEmpty())
        size = picture.mode == PreviewPicture::Mode::Slide ? kDefaultSlideSize : picture.NaturalSize();
    if (size.isEmpty() || static_cast<qint64>(size.width()) * size.height() > kMaxPicturePixels) {
        error = "the picture size is not usable";
        return QImage();
    }
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        error = "out of memory for the picture";
        return image;
    }
    image.fill(background);
    QPainter painter(&image);
    PaintPreviewPicture(painter, QRect(QPoint(0, 0), size), picture, background);
    painter.end();
    return image;
}

bool RenderMetafilePng(const std::string& wmfProgramPath, std::string& png)
{
    auto bytes = platform::ReadFileBytes(wmfProgramPath, kMaxPictureBytes);
    if (!bytes || !LooksLikeWmf(*bytes))
        return false;
    std::string error;
    auto wmf = ReadWmf(*bytes, error);
    if (!wmf || wmf->Empty())
        return false;
    int width = 0, height = 0;
    WmfNaturalSize(*wmf, width, height, kMaxMetafileSide);
    const QImage image = RenderWmf(*wmf, QSize(width, height), Qt::white);
    if (image.isNull())
        return false;
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return false;
    png.assign(data.constData(), static_cast<std::size_t>(data.size()));
    return true;
}

} // namespace orv
