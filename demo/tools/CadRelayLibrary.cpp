// A stand-in for the tool suite's relay libraries CadRelay15.dll, CadRelay16.dll and
// CadRelay21.dll: ExeCommand appends one record per call and answers with a chosen code, so
// that the demo shows and the tests see what the reader hands over.
//
// Record (one line): library file name, the ARX path and the command text, tab-separated,
// each byte below 0x20, 0x7F and "%" written as %HH, every other byte as received (GB18030).
// The log is $ORV_RELAY_LOG, else CadRelayCalls.log beside the library. The result is
// $ORV_RELAY_RESULT_<generation> (the digits of the file name), else $ORV_RELAY_RESULT, else 0.

#include <dlfcn.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Escaped(const char* text)
{
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p) {
        const auto byte = static_cast<unsigned char>(*p);
        if (byte < 0x20 || byte == 0x7F || byte == '%') {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", byte);
            out += hex;
        } else {
            out += *p;
        }
    }
    return out;
}

std::string OwnPath()
{
    Dl_info info {};
    if (dladdr(reinterpret_cast<void*>(&OwnPath), &info) == 0 || !info.dli_fname)
        return std::string();
    return info.dli_fname;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int ExeCommand(const char* arxPath, const char* commandText)
{
    const std::string self = OwnPath();
    const std::size_t slash = self.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : self.substr(0, slash);
    const std::string name = slash == std::string::npos ? self : self.substr(slash + 1);

    std::string generation;
    for (char c : name)
        if (std::isdigit(static_cast<unsigned char>(c)))
            generation += c;
    const char* code = std::getenv(("ORV_RELAY_RESULT_" + generation).c_str());
    if (!code)
        code = std::getenv("ORV_RELAY_RESULT");

    const char* log = std::getenv("ORV_RELAY_LOG");
    const std::string logPath = log && *log ? std::string(log) : folder + "/CadRelayCalls.log";
    if (std::FILE* file = std::fopen(logPath.c_str(), "ab")) {
        const std::string record = name + "\t" + Escaped(arxPath) + "\t" + Escaped(commandText) + "\n";
        std::fwrite(record.data(), 1, record.size(), file);
        std::fclose(file);
    }
    return code ? std::atoi(code) : 0;
}
