#pragma once
// A small gallery for the content tests: one speciality "\Mech" with directories whose pages
// are package pages, plain pages, pictures and page lists, opened in a reader state whose
// temporary folder is a test folder.

#include "app/ReaderState.h"
#include "content/ContentViewState.h"
#include "support/GalleryFixture.h"

#include <string>

namespace orv::test {

// Directory ids of the content gallery.
enum ContentDir : std::int32_t {
    kPackageDir = 1, // DirContent A12(B3), compressed, under \Mech\Pages
    kMarkedPackageDir = 2, // the same page with the ContentMark part2
    kLeadingSlashDir = 3, // DirContent \lead.htm
    kPictureFallbackDir = 4, // DirContent fig1.htm; only FIG1.GIF exists
    kSubfolderPictureDir = 5, // DirContent sub\fig2.htm; only sub\fig2.png exists
    kSourceContentDir = 6, // SourceContent src\s.htm
    kPagesDir = 7, // DirContent p1.htm with the page files p1, p2, p3
    kEmptyDir = 8, // no content at all
    kMarkedPageDir = 9, // DirContent lead.htm, ContentMark part2
    kMissingMemberDir = 10, // DirContent A12(B9): no such member; B9.htm stands beside the package
};

struct ContentGallery {
    ContentGallery();
    TempFolder folder;
    std::string gallery; // program path of G.GAL
    std::string root; // the gallery root (gallery without ".GAL")
    std::string temp; // the views' temporary folder (program path, created)
    ReaderState state;
    ContentPanelState panel;
};

// The GB18030 bytes of a UTF-8 text.
std::string Gb(const std::string& utf8);

} // namespace orv::test
