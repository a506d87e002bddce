#pragma once
// Turns the committed sources of a demo gallery into a gallery manifest
// (docs/gallery-manifest.md) and the files it copies. A gallery's source folder holds:
//
//   gallery.json   the gallery row, captions, settings, specialities, the directory tree (in
//                  tree order, parents first, by symbolic keys), index terms, keywords,
//                  actions, and the page and picture files of the gallery root
//   <catalogue>    part families: naming patterns, classification, data sheet, the drawing's
//                  shape, the preview form and the dimension table of every size
//   pages/         page templates (UTF-8 HTML)
//
// Directory and drawing ids are given in tree order. A directory that names a family holds its
// drawings; a family with groups (M12, PN16, 60系列...) gets one directory per group below it.
// Every drawing gets its preview (a slide library member, a slide or a picture, as the family
// says), a DXF drawing file and its data sheet; every drawing that is not bound to another is
// also listed in its directory's DrawingDirList rows.
//
// Page templates may use {{style}}, {{dir:KEY}}, {{drawing:FAMILY:NAME}},
// {{dwpath:FAMILY:NAME}}, {{table}}, {{table:FAMILY}}, {{grouptable}}, {{group}},
// {{groupkey}}, {{groupdir}}, {{first}}, {{firstid}}, {{title}}, {{standard}}, {{intro}},
// {{count}}, {{count:FAMILY}}, {{drawings}} and {{directories}}; an unknown one is an error.

#include <nlohmann/json.hpp>

#include <string>

namespace orv::demo {

struct GeneratedGallery {
    std::string Name; // the gallery's file name (<Name>.GAL)
    std::string DisplayName; // GalleryName
    std::string ManifestPath; // native path of the written manifest
    int Directories = 0, Drawings = 0;
};

// Reads the sources in sourceFolder (native path) and writes the manifest <name>.json with the
// files it copies into workFolder (native path, created). False with the reason in error.
bool GenerateGallery(const std::string& sourceFolder, const std::string& workFolder, GeneratedGallery& result,
    std::string& error);

// The shared style block of every demo page ({{style}}), also used by the home page.
const std::string& PageStyle();

} // namespace orv::demo
