#pragma once
// The shared-memory block through which the CAD tool suite learns its support folder.

#include <string>

namespace orv::platform {

constexpr const char* kSharedTextName = "/ORVBOOKPATH";
constexpr std::size_t kSharedTextSize = 4096;

// Writes the text (GB18030, NUL-terminated, cut at a character boundary to fit the block)
// into the shared block, creating it with mode 0600 on first use. The mapping is kept for
// the life of the process; a later call overwrites in place. 0 on success, -1 when the
// block cannot be created, -2 when it cannot be mapped. An existing block is used only when
// it is ours, has mode 0600 and is at least kSharedTextSize long; any other is refused with
// -1 and nothing written (it may be another user's).
int PublishSharedText(const std::string& text, const std::string& blockName = kSharedTextName);

}  // namespace orv::platform
