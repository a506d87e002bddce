// A shared library for the tests of library loading: it records its calls so that a test
// can see what a caller passed.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
char g_lastText[256];
}

extern "C" {

__attribute__((visibility("default"))) int Twice(int value)
{
    return value * 2;
}

__attribute__((visibility("default"))) int Remember(int value, const char* text)
{
    std::strncpy(g_lastText, text ? text : "", sizeof g_lastText - 1);
    return value + static_cast<int>(std::strlen(g_lastText));
}

__attribute__((visibility("default"))) const char* LastText()
{
    return g_lastText;
}
}

// Exports that append one line per call to the file $ORV_TEST_PLUGIN_LOG, which outlives
// the library's unloading: "none", "int V" or "text V BYTES" (the text's bytes as passed).
namespace {
void AppendRecord(const char* record)
{
    const char* path = std::getenv("ORV_TEST_PLUGIN_LOG");
    if (!path || !*path)
        return;
    if (std::FILE* file = std::fopen(path, "ab")) {
        std::fputs(record, file);
        std::fclose(file);
    }
}
} // namespace

extern "C" {

__attribute__((visibility("default"))) int RecordNone()
{
    AppendRecord("none\n");
    return 7;
}

__attribute__((visibility("default"))) int RecordInt(int value)
{
    char record[64];
    std::snprintf(record, sizeof record, "int %d\n", value);
    AppendRecord(record);
    return value + 1;
}

__attribute__((visibility("default"))) int RecordText(int value, const char* text)
{
    std::string record = "text " + std::to_string(value) + " " + (text ? text : "(null)") + "\n";
    AppendRecord(record.c_str());
    return value;
}
}
