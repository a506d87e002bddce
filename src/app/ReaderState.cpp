#include "app/ReaderState.h"

namespace orv {

void BrowseHistory::Add(std::uint32_t dirId, const std::string& key)
{
    if (Position >= 0 && static_cast<std::size_t>(Position) + 1 < DirIds.size()) {
        ++Position;
        DirIds.insert(DirIds.begin() + Position, dirId);
        Keys.insert(Keys.begin() + Position, key);
        return;
    }
    DirIds.push_back(dirId);
    Keys.push_back(key);
    Position = static_cast<int>(DirIds.size()) - 1;
}

void BrowseHistory::Clear()
{
    DirIds.clear();
    Keys.clear();
    Position = -1;
}

void DirDrawingList::Clear()
{
    Ids.clear();
    Names.clear();
    Captions.clear();
    PreviewMembers.clear();
    PreviewLibraries.clear();
    Folders.clear();
    Status1.clear();
    AppClass.clear();
    FunClass.clear();
    ShpClass.clear();
    QueryKeyword.clear();
}

} // namespace orv
