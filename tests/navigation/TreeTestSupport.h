#pragma once
// Reader states over test galleries, and a text form of the contents tree to compare.

#include "app/ReaderState.h"
#include "support/GalleryFixture.h"

#include <optional>
#include <string>

namespace orv::test {

// Makes the gallery current in the state as opening it does (cache path derived from the
// gallery path, connection open) with the application folder folder/app. AutoExpand is
// written to its ORVBook.ini when given.
void OpenTestGallery(ReaderState& state, const TempFolder& folder, const std::string& galleryPath,
    const std::optional<std::string>& autoExpand = std::nullopt);

// One line per node in pre-order: indentation by depth, DirID, image/selected image, "+" for
// an open node, and the text; then one line per DirNodeTable position.
std::string TreeDump(const ContentsTree& tree);

} // namespace orv::test
