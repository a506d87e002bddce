// Slide and slide-library decoding from arbitrary bytes: LoadSlide and LoadLibrarySlide on a
// file, and the same from memory; the decoded display list is also fitted into a rectangle.

#include "browser/AcadSlideBitmap.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

// One scratch file per fuzzing process, removed when the process ends.
struct ScratchFile {
    std::string path = "/tmp/orv_slide_fuzz_" + std::to_string(::getpid());
    ~ScratchFile() { std::remove(path.c_str()); }
};

const std::string& TempPath()
{
    static const ScratchFile file;
    return file.path;
}

void Exercise(orv::CAcadSlideBitmap& slide)
{
    if (!slide.IsEmpty()) {
        orv::SlideLayout layout = slide.FitToRectangle({ 0, 0, 120, 90 });
        if (layout.drawable) {
            for (const orv::SlidePoint& p : slide.DisplayList().Points()) {
                int x = layout.MapX(p.x), y = layout.MapY(p.y);
                if (x < 0 || x > layout.area.Width() || y < 0 || y > layout.area.Height())
                    __builtin_trap();
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    orv::CAcadSlideBitmap slide;
    slide.LoadSlideData(bytes);
    Exercise(slide);
    slide.LoadLibrarySlideData(bytes, size > 0 && data[0] & 1 ? "M12" : "m12");
    Exercise(slide);

    // The file path: the windowed reader must agree with the in-memory one.
    if (std::FILE* file = std::fopen(TempPath().c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
        orv::CAcadSlideBitmap fromFile, fromMemory;
        int a = fromFile.LoadSlide(TempPath()), b = fromMemory.LoadSlideData(bytes);
        if (a != b || fromFile.DisplayList().Points().size() != fromMemory.DisplayList().Points().size())
            __builtin_trap();
        a = fromFile.LoadLibrarySlide(TempPath(), "M12");
        b = fromMemory.LoadLibrarySlideData(bytes, "M12");
        if (a != b || fromFile.DisplayList().Points().size() != fromMemory.DisplayList().Points().size())
            __builtin_trap();
    }
    return 0;
}
