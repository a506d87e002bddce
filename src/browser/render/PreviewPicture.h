#pragma once
// The preview of a drawing as every picture of the drawing browser shows it (grid cells, the
// detail preview, the image viewer): loaded from one program path and painted into a client
// rectangle.
//
// Loading: a path ending in "sld" or "slb" (any case) is a slide or a slide-library member,
// resolved by browser/PreviewPath.h; the load result is the slide loader's (1, 0, -1) and the
// call's result is 1 regardless. Any other path is a picture whose format is told from its
// content, never its name: JPEG, GIF (the first frame), PNG, BMP, and Windows metafiles through
// our own player (browser/WmfReader.h). When it does not load, the same path with its
// extension replaced by ".bmp" is loaded as a BMP (the fallback bitmap); the result is 1 when
// either loaded, else 0.
//
// Painting: a loaded slide is drawn fitted into the client area over the background colour;
// the fallback bitmap is stretched over the whole client area; a picture is drawn into the
// client area cut to its natural size at the top-left corner, so a picture larger than the
// client is squeezed into it and a smaller one keeps its size. Anything else paints nothing:
// erasing the client area is the caller's.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <memory>
#include <string>
#include <string_view>

class QPainter;

namespace orv {

class CAcadSlideBitmap;
struct WmfPicture;

struct PreviewPicture {
    enum class Mode { Image, Slide };
    Mode mode = Mode::Image;
    int result = 0; // what loading returns: 1 in slide mode; image mode 1 when anything loaded
    int slideResult = 0; // slide mode: 1 loaded, 0 not opened, -1 not a slide or no such member

    // Image mode: at most one of image and metafile, or the fallback bitmap.
    QImage image;
    std::shared_ptr<const WmfPicture> metafile;
    QImage fallback;
    std::shared_ptr<CAcadSlideBitmap> slide; // slide mode

    // "slide", "jpeg", "gif", "png", "bmp", "wmf", "fallback-bmp", or "" when nothing loaded.
    std::string format;

    bool Loaded() const { return mode == Mode::Slide ? slideResult == 1 : result != 0; }
    // Pixels at 96 per inch of the picture or fallback; invalid for slides and failures.
    QSize NaturalSize() const;
};

// Never fails; a failure is in the result fields.
PreviewPicture LoadPreviewPicture(std::string_view programPath);

// Paints as the picture control does (see above). The slide's background colour is set to
// background for the drawing.
void PaintPreviewPicture(
    QPainter& painter, const QRect& client, const PreviewPicture& picture, QColor background);

// The picture painted into a new image of size, filled with background first; an invalid size
// takes the natural size (400 x 300 for a slide). A null image, with the reason, when nothing
// loaded or the size is unusable; format is set as PreviewPicture::format.
QImage RenderPictureFile(
    std::string_view programPath, QSize size, QColor background, std::string& format, std::string& error);

// A metafile rendered at its natural size as PNG bytes, for pages that can only show raster
// pictures. False when the file is not a readable metafile.
bool RenderMetafilePng(const std::string& wmfProgramPath, std::string& png);

} // namespace orv
