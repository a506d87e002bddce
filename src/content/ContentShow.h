#pragma once
// Showing a content key in one of the content panel's two views: the file work (a package
// page and its companion files extracted into the temporary folder, the picture page and the
// redirect page written there) is done here; what only a window can do comes back as
// ViewActions for the widget to carry out in order. Also the step after an extracted page has
// loaded: its copy is deleted and an older companion folder emptied.
//
// Nothing is written or deleted outside the view's temporary folder (its TempFolder, else
// GetTempFolder()); page and companion names from keys and gallery data must be single names.

#include "content/ContentViewState.h"

#include <string>
#include <vector>

namespace orv {

struct ReaderState;

enum class ContentViewSlot { Main, Second };

// One piece of file work, for a caller that reports what was done.
struct FileStep {
    enum class Kind {
        Extract, // From: "<package>(<member>)" or a companion package; To: the file or folder written
        Write, // To: a generated or rewritten page
        Delete, // To: a file removed
        DeleteFolder, // To: a folder removed with everything in it
    };
    Kind What = Kind::Write;
    std::string From;
    std::string To;
};

struct ShowContentResult {
    std::vector<ViewAction> Actions; // Navigate and Message steps, in order
    std::vector<FileStep> Files;
    std::string Shown; // the address shown (a package page: its extracted copy); "" for none
    // Main view: whether a picture page is shown now; the main window offers its zoom
    // buttons only then.
    bool PicturePage = false;
};

// Shows panel.ContentKey (empty: the home page) in the main or the second view. The main
// view does nothing when the key is already shown (ShownKey, ignoring case) and applies the
// current directory's ContentMark (through the redirect page for a package page) and the
// pending highlight; the second view always shows and does neither. A package page is
// refused with a message while a search runs, and then nothing changes.
ShowContentResult ShowContent(
    ReaderState& state, ContentPanelState& panel, ContentViewSlot slot = ContentViewSlot::Main);

struct PackagePageLoad {
    // The loaded-page step is over: stop waiting and set ContentViewReady. False only while
    // the redirect page is on its way to the extracted copy.
    bool Finished = true;
    std::vector<FileStep> Files; // what was deleted
};

// A load has ended in a view showing an extracted page (loadedUrl: a local-content or file
// URL, or a program path, an anchor allowed). Only when loadedUrl names the view's extracted
// copy in the temporary folder is that copy deleted; then a companion folder of an earlier
// page (previousCompanion, the panel's program-wide one) other than the one this page uses is
// removed, and previousCompanion becomes this page's.
PackagePageLoad OnPackagePageLoaded(
    std::string& previousCompanion, ContentViewState& view, const std::string& loadedUrl);

// The temporary folder a view works in.
std::string ViewTempFolder(const ContentViewState& view);

} // namespace orv
