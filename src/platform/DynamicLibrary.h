#pragma once
// A loaded shared library (the stand-in for add-on and relay DLLs), closed when the object
// goes away.

#include <string>

namespace orv::platform {

class DynamicLibrary {
public:
    DynamicLibrary() = default;
    explicit DynamicLibrary(const std::string& programPath) { Open(programPath); }
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;
    DynamicLibrary(DynamicLibrary&& other) noexcept;
    DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;

    // Loads the file (a program path, resolved without regard to case); false on failure,
    // with the loader's reason in LastError().
    bool Open(const std::string& programPath);
    void Close();
    bool IsOpen() const { return m_handle != nullptr; }

    void* Symbol(const std::string& name);
    // The export only when the library itself defines it: a name the loader would find in
    // one of the library's dependencies ("system" of the C library) gives nullptr.
    void* OwnSymbol(const std::string& name);
    template <typename F>
    F Function(const std::string& name)
    {
        return reinterpret_cast<F>(Symbol(name));
    }

    const std::string& LastError() const { return m_error; }

private:
    void* m_handle = nullptr;
    std::string m_error;
};

}  // namespace orv::platform
