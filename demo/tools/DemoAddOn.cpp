// The demo's add-on library (ORVMTools\DemoAddOn.dll), called by a drawing's DrawingExecute
// action with an integer and a text: it appends "DemoAction VALUE TEXT" (the text as received,
// GB18030) to DemoAddOn.log beside itself and returns the value.

#include <dlfcn.h>

#include <cstdio>
#include <string>

extern "C" __attribute__((visibility("default"))) int DemoAction(int value, const char* text)
{
    Dl_info info {};
    if (dladdr(reinterpret_cast<void*>(&DemoAction), &info) == 0 || !info.dli_fname)
        return value;
    std::string log = info.dli_fname;
    log = log.substr(0, log.rfind('/') + 1) + "DemoAddOn.log";
    if (std::FILE* file = std::fopen(log.c_str(), "ab")) {
        std::fprintf(file, "DemoAction %d %s\n", value, text ? text : "");
        std::fclose(file);
    }
    return value;
}
