// orvtool index|topics|bookmarks: the index page's list and incremental find, the topic
// chooser's rows, and the bookmark page's list with its add and delete, each through the
// reader's own functions.

#include "Command.h"
#include "FieldEscape.h"
#include "app/ReaderState.h"
#include "navigation/Bookmarks.h"
#include "navigation/KeywordIndex.h"
#include "navigation/TopicChooser.h"
#include "navigation/TreeBuild.h"

#include <iostream>
#include <memory>

namespace orv::tool {
namespace {

struct IndexArgs {
    std::string gallery, appDir, find, term, hisFile;
    bool hasFind = false;
    std::int32_t dirId = 0;
    int row = -1;
};

int Index(const IndexArgs& args)
{
    ReaderState state;
    if (!OpenToolGallery(state, args.gallery, args.appDir))
        return 1;
    QuietMessages quiet;
    // The reader builds the tree on opening a gallery; the index falls back to its titles.
    BuildTree(state);
    KeywordIndex index;
    LoadIndex(state, index);
    std::cout << "source\t" << IndexSourceName(index.From) << '\n';
    for (std::size_t i = 0; i < index.Size(); ++i)
        std::cout << "entry\t" << i << '\t' << index.DirIDs[i] << '\t'
                  << (IsAmbiguous(index, static_cast<int>(i)) ? 1 : 0) << '\t' << EscapeField(index.Terms[i])
                  << '\n';
    if (args.hasFind)
        std::cout << "find\t" << FindTyped(index, args.find) << '\n';
    return 0;
}

int Topics(const IndexArgs& args)
{
    ReaderState state;
    if (!OpenToolGallery(state, args.gallery, args.appDir))
        return 1;
    QuietMessages quiet;
    for (const TopicRow& row : FindTopics(state, args.term))
        std::cout << "topic\t" << row.DirID << '\t' << EscapeField(row.Name) << '\t'
                  << EscapeField(row.Location) << '\n';
    return 0;
}

void PrintBookmarks(const BookmarkList& list)
{
    const auto& rows = list.Rows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        std::cout << "bookmark\t" << i << '\t' << rows[i].DirID << '\t' << EscapeField(rows[i].Topic) << '\t'
                  << EscapeField(rows[i].Location) << '\n';
}

// Prints the result and the list; a file that could not be written fails the command.
int Finish(const BookmarkList& list, BookmarkList::Change change, const char* done, const char* refused,
    const std::string& hisFile)
{
    if (change == BookmarkList::Change::WriteFailed) {
        Fail("cannot write " + hisFile);
        return 1;
    }
    std::cout << "result\t" << (change == BookmarkList::Change::Done ? done : refused) << '\n';
    PrintBookmarks(list);
    return 0;
}

void Register(CLI::App& app)
{
    auto args = std::make_shared<IndexArgs>();

    auto* index
        = app.add_subcommand("index", "The index page's entries of a gallery, and its incremental find");
    index->add_option("GALLERY", args->gallery, "The gallery database (.GAL)")->required();
    index->add_option("--find", args->find, "Print the entry the typed text selects (find, -1 for none)");
    index->add_option("--app-dir", args->appDir, "Application folder holding the gallery's history file");
    SetAction(index, [args, index] {
        args->hasFind = index->count("--find") > 0;
        return Index(*args);
    });

    auto* topics = app.add_subcommand("topics", "The topic chooser's rows for an index term");
    topics->add_option("GALLERY", args->gallery, "The gallery database (.GAL)")->required();
    topics->add_option("TERM", args->term, "The index term")->required();
    topics->add_option("--app-dir", args->appDir, "Application folder");
    SetAction(topics, [args] { return Topics(*args); });

    auto* bookmarks = app.add_subcommand("bookmarks", "The bookmark list of a gallery's history file (.HIS)");
    bookmarks->require_subcommand(1);
    bookmarks->add_option("HISFILE", args->hisFile, "The gallery's history file")->required();

    auto* list = bookmarks->add_subcommand("list", "Print the bookmarks");
    SetAction(list, [args] {
        BookmarkList bookmarks;
        bookmarks.Load(AbsoluteProgramPath(args->hisFile));
        PrintBookmarks(bookmarks);
        return 0;
    });

    auto* add
        = bookmarks->add_subcommand("add", "Bookmark a directory of the gallery as the page's 添加 does");
    add->add_option("GALLERY", args->gallery, "The gallery database (.GAL)")->required();
    add->add_option("DIRID", args->dirId, "The directory (CurrentDirID)")->required();
    add->add_option("--app-dir", args->appDir, "Application folder");
    SetAction(add, [args] {
        ReaderState state;
        if (!OpenToolGallery(state, args->gallery, args->appDir))
            return 1;
        QuietMessages quiet;
        state.CurrentDirID = args->dirId;
        BookmarkList bookmarks;
        bookmarks.Load(AbsoluteProgramPath(args->hisFile));
        return Finish(bookmarks, bookmarks.Add(state), "added", "unchanged", args->hisFile);
    });

    auto* remove = bookmarks->add_subcommand("delete", "Delete a bookmark as the page's 删除 does");
    remove->add_option("ROW", args->row, "The row, from 0")->required();
    SetAction(remove, [args] {
        BookmarkList bookmarks;
        bookmarks.Load(AbsoluteProgramPath(args->hisFile));
        const BookmarkList::Change change
            = bookmarks.Click(args->row) ? bookmarks.Delete() : BookmarkList::Change::Unchanged;
        return Finish(bookmarks, change, "deleted", "none", args->hisFile);
    });
}

const CommandRegistrar registrar("index", Register);

} // namespace
} // namespace orv::tool
