#include "navigation/TreeTestSupport.h"

#include "app/common/ProfileFile.h"
#include "navigation/TreeCache.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orv::test {

void OpenTestGallery(ReaderState& state, const TempFolder& folder, const std::string& galleryPath,
    const std::optional<std::string>& autoExpand)
{
    std::filesystem::create_directories(folder.NativeAt("app"));
    state.AppPath = folder.ProgramAt("app");
    state.IniPath = state.AppPath + "\\ORVBook.ini";
    if (autoExpand) {
        ASSERT_EQ(CProfileFile(state.IniPath).WriteString("System", "AutoExpand", *autoExpand), 0);
    }
    state.GalleryFiles = { galleryPath };
    state.GalleryNames = { "test" };
    state.CurrentGallery = 0;
    state.TreeCachePath = TreeCachePathFor(galleryPath);
    ASSERT_EQ(state.Database.ConnectDatabase(galleryPath, kGalleryPassword), 0) << state.Database.LastError();
    state.DatabaseOpen = true;
}

std::string TreeDump(const ContentsTree& tree)
{
    std::string out;
    for (const auto& [index, depth] : tree.PreOrder()) {
        const TreeNode& node = tree.Nodes[static_cast<std::size_t>(index)];
        out += std::string(static_cast<std::size_t>(depth), ' ') + std::to_string(node.DirID) + " "
            + std::to_string(node.Image) + "/" + std::to_string(node.SelectedImage)
            + (node.Expanded ? " + " : " - ") + node.Text + "\n";
    }
    for (std::size_t i = 0; i < tree.Table.Size(); ++i)
        out += "[" + std::to_string(tree.Table.DirID[i]) + " "
            + tree.Nodes[static_cast<std::size_t>(tree.Table.Item[i])].Text + " " + tree.Table.Content[i]
            + "]\n";
    return out;
}

} // namespace orv::test
