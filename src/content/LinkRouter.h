#pragma once
// The content view's link routing, decided without a web view: for every navigation the view
// is about to make, whether the browser goes on, and what the reader does instead (show a
// page extracted from a package, select a directory, open a gallery, run an add-on, insert a
// drawing, show a picture, hand an address to the desktop). The widget calls RouteNavigation
// from acceptNavigationRequest and carries out the returned actions in order.
//
// Addresses reach the router as the web view reports them: a "file:" URL or one of the local
// content scheme (LocalContent.h), a program path ("\" separated) or another scheme. Navigate
// actions carry program paths (with "#anchor" when there is one) or an address the view loads
// as it is ("about:blank").
//
// "app:" links run reader actions, so they are obeyed only when the user followed them on a
// page of our own (a gallery folder, the home page folder or the temporary folder); programs
// and libraries they name must lie in the application folder (RunnableFile).

#include "content/ContentViewState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orv {

struct ReaderState;
class CAdoConnection;

// Who asked for a navigation: the user (a click on a link, typed address, the reader's own
// Navigate actions) or the page itself (a script, a redirect, a refresh). Only the user's own
// navigations may follow "app:" links.
enum class NavigationOrigin { User, Script };

struct NavigationDecision {
    bool Go = true; // let the browser go on unchanged
    std::vector<ViewAction> Actions; // to carry out in order (only when Go is false)
};

struct RouteOptions {
    // Plan only: nothing is extracted, written, started or inserted. A package page that holds
    // the member is reported as the extracted copy's address all the same.
    bool DryRun = false;
};

// The shown page's extracted copy in the temporary folder: TempFolder + "\ORVBookDefault.htm".
std::string DefaultPagePath(const ContentViewState& view);

// The navigation filter, for every navigation of the view.
NavigationDecision RouteNavigation(ReaderState& state, ContentViewState& view, const std::string& address,
    NavigationOrigin origin, const RouteOptions& options = {});

// An "app:" link's command (the text after "app:"), already known to come from a local page
// on the user's behalf. Nothing happens without an open gallery.
std::vector<ViewAction> OnAppLink(
    ReaderState& state, ContentViewState& view, const std::string& command, const RouteOptions& options = {});

// An OpenGallery action carries the gallery's file (Text) and what the "GL=" link names inside
// it (Caption, may be empty). Once the main window has switched galleries, this looks that
// directory up in the now open gallery.
std::optional<std::int32_t> FindLinkedDirectory(const ReaderState& state, const std::string& target);

// A navigation has completed: true when the view shows an extracted package page, whose end
// of load is then OnPackagePageLoaded's to settle; ContentViewReady stays down until it has.
// LastUrl is updated.
bool OnNavigationComplete(ReaderState& state, ContentViewState& view, const std::string& address);

} // namespace orv
