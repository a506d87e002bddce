#include "navigation/DirectorySummary.h"

#include "app/ReaderState.h"
#include "navigation/DirectoryQueries.h"

namespace orv {

DirectorySummary SummarizeDirectory(const ReaderState& state, std::int32_t dirId)
{
    DirectorySummary summary;
    if (state.CurrentGallery >= 0
        && static_cast<std::size_t>(state.CurrentGallery) < state.GalleryNames.size())
        summary.Gallery = state.GalleryNames[static_cast<std::size_t>(state.CurrentGallery)];
    if (!state.DatabaseOpen || dirId == 0)
        return summary;
    summary.TitlePath = DirTitlePath(state.Database, dirId);
    summary.PageCount = DirPageCount(state.Database, dirId);
    summary.Page = state.CurrentPage + 1;
    summary.Caption = PagedCaption(summary.TitlePath, state.CurrentPage, summary.PageCount);
    const DirNodeTable& table = state.Tree.Table;
    for (std::size_t i = 0; i < table.Size(); ++i) {
        if (static_cast<std::int32_t>(table.DirID[i]) == dirId) {
            if (table.Content[i] != "NULL")
                summary.Content = table.Content[i];
            break;
        }
    }
    return summary;
}

} // namespace orv
