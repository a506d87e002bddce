#pragma once
// Text and path helpers shared by the link router's files; not for other callers.

#include "content/ContentViewState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

struct ReaderState;

namespace linkrouter {

bool StartsWithNoCase(std::string_view text, std::string_view prefix);
std::string UpperAscii(std::string_view text);
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to);

// An address as a program path: a "file:" URL or one of the local content scheme decoded (its "#anchor" kept, undecoded), any
// other text with "/" as "\" and "%20" as a blank. "" for a file URL that names no local file.
std::string AddressToPath(const std::string& address);
// Splits "page#anchor" at the first "#" past the start: the anchor keeps its "#".
void SplitAnchor(const std::string& path, std::string& page, std::string& anchor);

// Whether the path (dots collapsed) lies below the folder, letter case ignored.
bool IsInsideFolder(const std::string& path, const std::string& folder);

// Decimal digits only, within 0..INT32_MAX.
std::optional<std::int32_t> ParseId(std::string_view text);

// <package path less its extension>(<page>).htz
std::string PackagePageKey(const std::string& packagePath, const std::string& pageTitle);

// Extracts the member page (its name with ".htm") of the view's package as the default page,
// with its companion files; in a dry run only looks the member up. True when the page is (or
// would be) there.
bool ExtractPackagePage(ContentViewState& view, const std::string& member, bool dryRun);

ViewAction MakeAction(
    ViewAction::Kind kind, std::string text = {}, std::string caption = {}, int icon = 0, long long id = 0);

} // namespace linkrouter
} // namespace orv
