// Windows metafile reading from arbitrary bytes: ReadWmf must return or refuse without reading
// outside the data, and every primitive it returns must point only at points, rings, texts
// and styles that exist, since the painter indexes them unchecked.

#include "browser/WmfReader.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Small caps as well, so the fuzzer reaches them quickly.
    orv::WmfLimits small;
    small.maxPrimitives = 16;
    small.maxPoints = 64;
    small.maxTextBytes = 16;
    small.maxObjects = 4;
    small.maxSavedStates = 2;
    for (const orv::WmfLimits& limits : { orv::WmfLimits(), small }) {
        std::string error;
        const auto picture = orv::ReadWmf(bytes, error, limits);
        if (!picture) {
            if (error.empty())
                __builtin_trap();
            continue;
        }
        if (picture->primitives.size() > limits.maxPrimitives || picture->points.size() > limits.maxPoints)
            __builtin_trap();
        for (const orv::WmfPrimitive& p : picture->primitives) {
            if (p.style >= picture->styles.size()
                || std::uint64_t(p.first) + p.count > picture->points.size())
                __builtin_trap();
            if (p.shape == orv::WmfShape::Text && (p.extra >= picture->texts.size() || p.count != 1))
                __builtin_trap();
            if ((p.shape == orv::WmfShape::Rectangle || p.shape == orv::WmfShape::Ellipse) && p.count != 2)
                __builtin_trap();
            if ((p.shape == orv::WmfShape::Arc || p.shape == orv::WmfShape::Pie
                    || p.shape == orv::WmfShape::Chord)
                && p.count != 4)
                __builtin_trap();
            if (p.shape == orv::WmfShape::PolyPolygon) {
                if (std::uint64_t(p.extra) + p.rings > picture->ringSizes.size())
                    __builtin_trap();
                std::uint64_t total = 0;
                for (std::uint32_t r = 0; r < p.rings; ++r)
                    total += picture->ringSizes[p.extra + r];
                if (total != p.count)
                    __builtin_trap();
            }
        }
        int width = 0, height = 0;
        orv::WmfNaturalSize(*picture, width, height);
        if (width < 0 || height < 0 || width > 4096 || height > 4096 || !std::isfinite(picture->width))
            __builtin_trap();
    }
    return 0;
}
