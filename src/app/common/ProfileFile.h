#pragma once
// One private-profile (ini) file: the settings file, a gallery's history file, add-in
// descriptions, the CAD hand-off file. Results: 0 success, 1 nothing read or written.

#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct ProfileValue {
    std::string Section, Key, Value;
};

class CProfileFile {
public:
    CProfileFile() = default;
    explicit CProfileFile(std::string path) : m_path(std::move(path)) {}

    const std::string& Path() const { return m_path; }
    void SetPath(std::string path) { m_path = std::move(path); }

    // out = the value (at most 1,279 bytes as stored); 1 when the file or key is missing or
    // the value is empty, and then out is "".
    int ReadString(std::string_view section, std::string_view key, std::string& out) const;
    // The value through atof, truncated toward zero (clamped to the int range); on 1 out is
    // left as it was.
    int ReadInt(std::string_view section, std::string_view key, int& out) const;
    // 0 and out set when ParseNumber accepts the value, -1 when it does not, 1 when missing.
    int ReadDouble(std::string_view section, std::string_view key, double& out) const;
    // Creates the file, section and key as needed and replaces the file atomically; 1 when
    // that fails, and then the old file is as it was.
    int WriteString(std::string_view section, std::string_view key, std::string_view value) const;
    int WriteInt(std::string_view section, std::string_view key, int value) const;
    // Several values in one read-modify-write, in order: the file holds all of them or, when
    // the write fails (1), none.
    int WriteStrings(const std::vector<ProfileValue>& values) const;

private:
    std::string m_path;
};

}  // namespace orv
