// Manifests come from gallery authors: any bytes must either be refused with a reason or give
// a manifest that passes its own checks, never crash or loop.

#include "builder/GalleryManifest.h"
#include "builder/DrawingFit.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string json(reinterpret_cast<const char*>(data), size);
    orv::GalleryManifest manifest;
    std::string error;
    if (!orv::ParseGalleryManifest(json, "\\base", manifest, error)) {
        if (error.empty())
            std::abort();
        return 0;
    }
    if (!orv::CheckGalleryManifest(manifest, error))
        std::abort();
    // Drawings of any shape fit into the slide extent.
    for (const orv::ManifestFile& file : manifest.Files) {
        if (file.Content.Type != orv::ManifestContent::Kind::Drawing)
            continue;
        orv::FittedDrawing fitted = orv::FitDrawing(file.Content.Drawing);
        if (fitted.List.HasBox() && (fitted.List.MinX() < 0 || fitted.List.MaxX() > orv::kFittedExtent))
            std::abort();
    }
    return 0;
}
