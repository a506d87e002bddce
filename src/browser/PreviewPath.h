#pragma once
// What the preview of a drawing path is made from. A path ending in "sld" or "slb" (any case)
// names a slide: a single slide file, or a member of a library written LIBRARY(MEMBER).slb or
// LIBRARY(MEMBER).sld; a slide with no file of its own is looked up in the library named after
// its folder ("...\BOLTS\M12.sld" -> member M12 of "...\BOLTS\BOLTS.slb"). Any other path is a
// raster image, with a ".bmp" of the same name as its fallback. Resolving looks at which files
// exist but loads nothing.

#include <string>
#include <string_view>

namespace orv {

class CAcadSlideBitmap;

struct PreviewSource {
    enum class Kind {
        Image, // path: the picture; fallbackPath: the ".bmp" tried when it fails
        SlideFile, // path: the slide file
        LibrarySlide, // path: the library; member: the member name
    };
    Kind kind = Kind::Image;
    std::string path;
    std::string member;
    std::string fallbackPath;
};

// Program paths in, program paths out.
PreviewSource ResolvePreviewPath(std::string_view path);

// Loads a resolved slide source (LoadSlide or LoadLibrarySlide); 0 for an image source.
int LoadPreviewSlide(CAcadSlideBitmap& slide, const PreviewSource& source);

} // namespace orv
