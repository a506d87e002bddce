#pragma once
// An application folder with one gallery whose drawings take every road of an insertion, the
// recording stand-ins of the CAD side (a program that records its starts, the demo relay
// library) and a reader state with the gallery open.

#include "app/ReaderState.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace orv::test {

class CadLinkTest : public testing::Test {
protected:
    void SetUp() override;

    std::string App() const { return m_dir.ProgramAt("app"); }
    std::string Native(const std::string& relative) const { return m_dir.NativeAt("app/" + relative); }
    // The drawings' folder as the CAD side gets it.
    std::string PartsFolder() const { return Native("ORVBookLib/Demo/Parts"); }

    // The recording program copied to app/<relative>; Record waits for its record.
    void AddRecorder(const std::string& relative);
    std::string Record(const std::string& relative) const;
    bool Recorded(const std::string& relative) const;
    // The demo relay library (or the test plugin, which has no ExeCommand) as app/<name>.
    void AddRelay(const std::string& name, bool withExport = true);
    std::string RelayLog() const;
    void ClearLogs();

    TempFolder m_dir;
    std::unique_ptr<ScopedEnv> m_runtime, m_cache, m_relayLog, m_pluginLog;
    std::string m_gallery;
    ReaderState m_state;
};

// The record of one start with one argument, escaped as the recorder writes it.
std::string StartRecord(const std::string& cwd, const std::string& argumentBytes);

} // namespace orv::test
