#pragma once
// A gallery for the drawing-browser tests: speciality "\Mech" with directory 1 "零件" (five
// drawings and a bound one, previews of every kind, a data sheet), its child 2 "螺栓" (two
// page files, two drawings) and 3 "空" (none). Memberships list directory 1's drawings in
// the reverse of their ids, so the statement that ran shows in the order.

#include "app/ReaderState.h"
#include "support/GalleryFixture.h"

#include <string>

namespace orv::test {

enum BrowserDir : std::int32_t { kPartsDir = 1, kBoltsDir = 2, kEmptyDrawingDir = 3 };

// What the gallery's structure offers the tree loader.
enum class DirListForm { WithOrder, WithoutOrder, Missing };

struct BrowserGallery {
    explicit BrowserGallery(
        DirListForm form = DirListForm::WithOrder, const std::string& ini = std::string());
    TempFolder folder;
    std::string gallery; // program path of B.GAL
    std::string root; // gallery without ".GAL"
    std::string parts; // root + "\Mech\Parts"
    ReaderState state;
};

// The drawing ids of the list, in order.
std::vector<std::uint32_t> ListIds(const DirDrawingList& list);

} // namespace orv::test
