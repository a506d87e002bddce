// A program standing in for CadRelay.Exe and the driver programs in the tests: it appends
// to <its own path>.rec one record per start: "cwd " + the working folder, then "arg " + each
// argument, one a line, each byte below 0x20, 0x7F and "%" written as %HH, then "end".

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

namespace {

std::string Escaped(const char* text)
{
    std::string out;
    for (const char* p = text; *p; ++p) {
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

} // namespace

int main(int argc, char** argv)
{
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return 1;
    self[length] = '\0';
    char cwd[PATH_MAX];
    std::string record = std::string("cwd ") + (getcwd(cwd, sizeof cwd) ? cwd : "?") + "\n";
    for (int i = 1; i < argc; ++i)
        record += "arg " + Escaped(argv[i]) + "\n";
    record += "end\n";
    // One write, so a test waiting for "end" never reads half a record.
    if (std::FILE* file = std::fopen((std::string(self) + ".rec").c_str(), "ab")) {
        std::fwrite(record.data(), 1, record.size(), file);
        std::fclose(file);
    }
    return 0;
}
