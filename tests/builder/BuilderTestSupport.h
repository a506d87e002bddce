#pragma once
// A small manifest that touches every table and every kind of file, and its page source, for
// the builder tests.

#include "support/TestSupport.h"

#include <string>

namespace orv::test {

// The manifest text.
std::string SmallManifest();

// Writes pages/bolts.htm (UTF-8) and gallery.json into the folder; returns the manifest's
// native path.
std::string WriteSmallManifest(const TempFolder& folder, const std::string& manifest = SmallManifest());

} // namespace orv::test
