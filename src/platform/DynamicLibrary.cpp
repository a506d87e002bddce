#include "platform/DynamicLibrary.h"

#include "platform/Paths.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>

#include <utility>

namespace orv::platform {

DynamicLibrary::~DynamicLibrary()
{
    Close();
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)), m_error(std::move(other.m_error))
{
}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept
{
    if (this != &other) {
        Close();
        m_handle = std::exchange(other.m_handle, nullptr);
        m_error = std::move(other.m_error);
    }
    return *this;
}

bool DynamicLibrary::Open(const std::string& programPath)
{
    Close();
    std::string native = NativePath(programPath);
    // dlopen searches the library path for a bare name; a file name given here is a file.
    if (native.find('/') == std::string::npos)
        native = "./" + native;
    m_handle = ::dlopen(native.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char* reason = ::dlerror();
        m_error = reason ? reason : "cannot load " + native;
        return false;
    }
    m_error.clear();
    return true;
}

void DynamicLibrary::Close()
{
    if (m_handle) {
        ::dlclose(m_handle);
        m_handle = nullptr;
    }
}

void* DynamicLibrary::Symbol(const std::string& name)
{
    if (!m_handle) {
        m_error = "library not loaded";
        return nullptr;
    }
    ::dlerror();
    void* symbol = ::dlsym(m_handle, name.c_str());
    if (!symbol) {
        const char* reason = ::dlerror();
        m_error = reason ? reason : "no symbol " + name;
    }
    return symbol;
}

void* DynamicLibrary::OwnSymbol(const std::string& name)
{
    void* symbol = Symbol(name);
    if (!symbol)
        return nullptr;
    Dl_info info {};
    link_map* map = nullptr;
    if (::dladdr(symbol, &info) == 0 || !info.dli_fname || ::dlinfo(m_handle, RTLD_DI_LINKMAP, &map) != 0 || !map
        || !map->l_name || std::strcmp(info.dli_fname, map->l_name) != 0) {
        m_error = "no export " + name + " of the library itself";
        return nullptr;
    }
    return symbol;
}

}  // namespace orv::platform
