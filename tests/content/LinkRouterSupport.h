#pragma once
// A small gallery for the link router's tests: a plain page, a package with two pages and a
// companion package, a page beside the package, a picture folder, an application folder with
// the home page and an add-on program; the reader state with the gallery open and a view.

#include "app/ReaderState.h"
#include "content/ContentViewState.h"
#include "content/LinkRouter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orv::test {

class LinkRouterTest : public testing::Test {
protected:
    void SetUp() override;

    // The view as it stands once the package page A1 is shown from its extracted copy.
    void ShowPackagePage();
    // One line per action ("navigate PATH", "select-dir 1"), to compare whole decisions.
    static std::vector<std::string> Describe(const std::vector<ViewAction>& actions);

    TempFolder m_dir;
    ScopedEnv m_runtime { "XDG_RUNTIME_DIR", m_dir.Native() };
    ReaderState m_state;
    ContentViewState m_view;
    std::string m_gallery; // program path of Mech.GAL
    std::string m_pages; // the gallery's page folder (root\Fasten\Bolts)
    std::string m_package; // the package, as the view names it (upper-case extension)
};

} // namespace orv::test
