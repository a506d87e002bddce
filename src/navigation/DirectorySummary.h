#pragma once
// What the content panel tells about a directory in words: the gallery, the directory's
// title path, its page position and its content path (the page the tree records for it),
// and the caption the window shows for it wherever it was reached from.

#include <cstdint>
#include <string>

namespace orv {

struct ReaderState;

struct DirectorySummary {
    std::string Gallery; // the open gallery's name; "" when none is open
    std::string TitlePath; // "" for no directory or an unknown one
    std::string Content; // the content path of DirNodeTable; "" for none ("NULL")
    int Page = 0; // CurrentPage + 1
    int PageCount = 0; // page files of the directory
    // The window caption for it: the title path, with " (第%d页/共%d页)" when it has more than
    // one page file.
    std::string Caption;
};

DirectorySummary SummarizeDirectory(const ReaderState& state, std::int32_t dirId);

} // namespace orv
