#include "browser/PreviewPath.h"

#include "app/common/PathHelpers.h"
#include "browser/AcadSlideBitmap.h"
#include "platform/Paths.h"

namespace orv {
namespace {

bool EndsWithNoCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size()
        && platform::EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

// Drops the extension: a "." met before any "\" when scanning back from the end.
std::string CutExtension(std::string_view path)
{
    for (std::size_t i = path.size(); i-- > 0;) {
        if (path[i] == '\\')
            break;
        if (path[i] == '.')
            return std::string(path.substr(0, i));
    }
    return std::string(path);
}

std::string RemoveAll(std::string_view text, char c)
{
    std::string out;
    for (char ch : text)
        if (ch != c)
            out += ch;
    return out;
}

std::string ImageFallback(std::string_view path)
{
    std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos)
        return std::string(path) + ".bmp";
    return std::string(path.substr(0, dot)) + ".bmp";
}

} // namespace

PreviewSource ResolvePreviewPath(std::string_view path)
{
    PreviewSource source;
    if (!EndsWithNoCase(path, "SLD") && !EndsWithNoCase(path, "SLB")) {
        source.kind = PreviewSource::Kind::Image;
        source.path = std::string(path);
        source.fallbackPath = ImageFallback(path);
        return source;
    }
    const std::string cut = CutExtension(path);
    // The library and member are told apart in the file name only: a folder such as
    // "GB(2000)" must not split the path.
    const std::size_t nameStart = cut.rfind('\\') == std::string::npos ? 0 : cut.rfind('\\') + 1;
    const std::size_t paren = cut.find('(', nameStart);
    if (paren == std::string::npos || paren == 0) {
        if (platform::FileExists(cut + ".sld")) {
            source.kind = PreviewSource::Kind::SlideFile;
            source.path = cut + ".sld";
            return source;
        }
        const std::string folder = GetFolderPart(cut);
        source.kind = PreviewSource::Kind::LibrarySlide;
        source.path = folder + "\\" + GetBaseName(folder) + ".slb";
        source.member = GetBaseName(cut);
        return source;
    }
    const std::string library = cut.substr(0, paren);
    const std::string member = RemoveAll(std::string_view(cut).substr(paren + 1), ')');
    if (platform::FileExists(library + ".slb")) {
        source.kind = PreviewSource::Kind::LibrarySlide;
        source.path = library + ".slb";
        source.member = member;
        return source;
    }
    source.kind = PreviewSource::Kind::SlideFile;
    source.path = GetFolderPart(library) + "\\" + member + ".sld";
    return source;
}

int LoadPreviewSlide(CAcadSlideBitmap& slide, const PreviewSource& source)
{
    switch (source.kind) {
    case PreviewSource::Kind::SlideFile:
        return slide.LoadSlide(source.path);
    case PreviewSource::Kind::LibrarySlide:
        return slide.LoadLibrarySlide(source.path, source.member);
    case PreviewSource::Kind::Image:
        break;
    }
    return 0;
}

} // namespace orv
