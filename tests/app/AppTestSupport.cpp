#include "AppTestSupport.h"

#include "builder/GalleryBuilder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace orv::test {

AppFolder::AppFolder()
{
    WriteFile(m_dir.NativeAt("app/.keep"), "");
    WriteFile(m_dir.NativeAt("runtime/.keep"), "");
    ::chmod(m_dir.NativeAt("runtime").c_str(), 0700);
    m_runtime = std::make_unique<ScopedEnv>("XDG_RUNTIME_DIR", m_dir.NativeAt("runtime"));
    m_cache = std::make_unique<ScopedEnv>("XDG_CACHE_HOME", m_dir.NativeAt("cache"));
    m_log = std::make_unique<ScopedEnv>("ORV_TEST_PLUGIN_LOG", m_dir.NativeAt("plugin.log"));
}

std::string AppFolder::AddGallery(const TestGallery& gallery, const std::string& folder)
{
    GalleryManifest manifest;
    manifest.Name = gallery.File;
    manifest.GalleryName = gallery.Name;
    manifest.Version = gallery.Version;
    manifest.Date = gallery.Date;
    manifest.Titles = gallery.TitleRows;
    manifest.FullTextForm = GalleryManifest::FullText::None;
    manifest.Specialities.push_back({ 1, std::string("专业"), std::string("\\Spec"), 0 });
    ManifestDirectory dir;
    dir.Id = 1;
    dir.Spec = 1;
    dir.Name = "目录";
    manifest.Directories.push_back(dir);
    if (gallery.WithDrawing) {
        ManifestDrawing drawing;
        drawing.Id = 1;
        drawing.Dir = 1;
        drawing.Name = "D1";
        manifest.Drawings.push_back(drawing);
    }
    GalleryBuildOptions options;
    options.Sqlite = true;
    GalleryBuildReport report;
    std::string error;
    if (!BuildGallery(
            manifest, m_dir.ProgramAt(folder.empty() ? "app" : "app\\" + folder), options, report, error))
        ADD_FAILURE() << "building " << gallery.File << ": " << error;
    return report.GalleryPath;
}

void AppFolder::AddRecordingProgram(const std::string& relative)
{
    std::string path = Native(relative);
    WriteFile(path,
        "#!/bin/sh\npwd > \"$0.out.tmp\"\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done >> \"$0.out.tmp\"\n"
        "mv \"$0.out.tmp\" \"$0.out\"\n");
    ::chmod(path.c_str(), 0755);
}

std::string AppFolder::WaitForRecord(const std::string& relative) const
{
    std::string out = Native(relative) + ".out";
    for (int i = 0; i < 500 && ::access(out.c_str(), F_OK) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return ::access(out.c_str(), F_OK) == 0 ? ReadFile(out) : std::string("(no record)");
}

void AppFolder::AddPlugin(const std::string& relative)
{
    WriteFile(Native(relative), "");
    std::filesystem::copy_file(
        ORV_TEST_PLUGIN_PATH, Native(relative), std::filesystem::copy_options::overwrite_existing);
}

std::string AppFolder::PluginLog() const
{
    std::string path = m_dir.NativeAt("plugin.log");
    return ::access(path.c_str(), F_OK) == 0 ? ReadFile(path) : std::string();
}

} // namespace orv::test
