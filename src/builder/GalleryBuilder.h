#pragma once
// Builds a whole gallery from a manifest (docs/gallery-manifest.md): the database in Access or
// SQLite form, the content folder with its pages, packages, slides and pictures, the keyword
// file and the full-text files, written so that the reader finds everything where it looks.
//
// The build goes to a temporary folder beside the output folder and is moved into place only
// when complete, so a failed build leaves the output folder as it was.

#include "builder/GalleryManifest.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orv {


struct GalleryBuildOptions {
    bool Sqlite = false; // the database as SQLite instead of Access (Jet 4)
    bool PlainFullText = false; // the plain full-text form even where the manifest asks otherwise
    std::optional<std::string> Password; // Access only; unset: the gallery password, "" none
};

struct GalleryBuildReport {
    std::vector<std::pair<std::string, std::int64_t>> Tables; // table and rows, in schema order
    std::vector<std::pair<std::string, int>> Files; // kind of file and how many were written
    std::string GalleryPath; // program path of the written <name>.GAL
};

// Reads, checks and builds. False with the reason in error ("directories[3].parent: no
// directory 99"); the output folder is then untouched. Paths are program paths.
bool BuildGalleryFromFile(const std::string& manifestPath, const std::string& outDir,
    const GalleryBuildOptions& options, GalleryBuildReport& report, std::string& error);

// The same from a manifest already in memory (generators fill one directly).
bool BuildGallery(const GalleryManifest& manifest, const std::string& outDir, const GalleryBuildOptions& options,
    GalleryBuildReport& report, std::string& error);

} // namespace orv
