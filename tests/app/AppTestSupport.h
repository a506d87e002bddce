#pragma once
// An application folder for the reader's core tests: a temporary folder with its own
// temporary and cache folders (XDG_RUNTIME_DIR, XDG_CACHE_HOME point inside it), galleries
// built by the gallery builder, add-on programs that record how they were started and the
// test library under an add-on's name.

#include "support/TestSupport.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace orv::test {

struct TestGallery {
    using Titles = std::vector<std::pair<std::string, std::string>>;
    TestGallery(std::string file, std::string name, std::string version = "1.0",
        std::string date = "2026-01-01", Titles titles = {}, bool withDrawing = true)
        : File(std::move(file))
        , Name(std::move(name))
        , Version(std::move(version))
        , Date(std::move(date))
        , TitleRows(std::move(titles))
        , WithDrawing(withDrawing)
    {
    }

    std::string File; // the ".GAL" base name, "Pipes" gives Pipes.GAL
    std::string Name; // GalleryName
    std::string Version, Date;
    Titles TitleRows; // GalleryTitle rows
    bool WithDrawing;
};

class AppFolder {
public:
    AppFolder();

    const TempFolder& Dir() const { return m_dir; }
    // The application folder ("app" inside the temporary folder) as a program path.
    std::string AppPath() const { return m_dir.ProgramAt("app"); }
    std::string Native(const std::string& relative) const { return m_dir.NativeAt("app/" + relative); }

    // Builds an SQLite gallery into app/<folder> (the library folder ORVBookLib by default);
    // returns its program path.
    std::string AddGallery(const TestGallery& gallery, const std::string& folder = "ORVBookLib");

    // A shell script at app/<relative>, executable, that writes its working folder and then its
    // arguments, one a line, to <its own path>.out; WaitForRecord reads that once it is there.
    void AddRecordingProgram(const std::string& relative);
    std::string WaitForRecord(const std::string& relative) const;

    // The test library copied to app/<relative>; its Record* exports append to PluginLog().
    void AddPlugin(const std::string& relative);
    std::string PluginLog() const;

private:
    TempFolder m_dir;
    std::unique_ptr<ScopedEnv> m_runtime, m_cache, m_log;
};

} // namespace orv::test
