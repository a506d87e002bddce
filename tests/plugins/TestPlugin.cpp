// A shared library for the tests of library loading: it records its calls so that a test
// can see what a caller passed.

#include <cstring>

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
