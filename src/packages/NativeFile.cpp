#include "packages/NativeFile.h"

#include "platform/Paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace orv {

NativeFile::~NativeFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

NativeFile::NativeFile(NativeFile&& other) noexcept
    : m_fd(other.m_fd)
    , m_native(std::move(other.m_native))
{
    other.m_fd = -1;
}

NativeFile& NativeFile::operator=(NativeFile&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.m_fd;
        m_native = std::move(other.m_native);
        other.m_fd = -1;
    }
    return *this;
}

NativeFile NativeFile::OpenRead(std::string_view programPath)
{
    std::string native = platform::NativePath(programPath);
    if (native.empty())
        return NativeFile();
    int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return NativeFile();
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return NativeFile();
    }
    return NativeFile(fd, std::move(native));
}

NativeFile NativeFile::OpenWrite(std::string_view programPath)
{
    std::string native = platform::NativePath(programPath);
    if (native.empty())
        return NativeFile();
    int fd = ::open(native.c_str(), O_WRONLY | O_CLOEXEC);
    return fd < 0 ? NativeFile() : NativeFile(fd, std::move(native));
}

NativeFile NativeFile::Create(std::string_view programPath)
{
    std::string native = platform::NativePath(programPath);
    if (native.empty())
        return NativeFile();
    int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    return fd < 0 ? NativeFile() : NativeFile(fd, std::move(native));
}

NativeFile NativeFile::Replace(std::string_view programPath)
{
    std::string native = platform::NativePath(programPath);
    if (native.empty())
        return NativeFile();
    struct stat st;
    if (::lstat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1
        && ::unlink(native.c_str()) == 0) {
        int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777);
        if (fd >= 0) {
            ::fchmod(fd, st.st_mode & 07777);
            return NativeFile(fd, std::move(native));
        }
    }
    return Create(programPath);
}

NativeFile NativeFile::CreateBeneath(std::string_view programFolder, std::string_view relative,
    const std::vector<platform::FileIdentity>& keep)
{
    std::string native;
    int fd = platform::CreateFileBeneath(programFolder, relative, keep, native);
    return fd < 0 ? NativeFile() : NativeFile(fd, std::move(native));
}

NativeFile NativeFile::CreateUnique(std::string_view programPrefix)
{
    std::string pattern = platform::NativePath(programPrefix) + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkostemp(name.data(), O_CLOEXEC);
    return fd < 0 ? NativeFile() : NativeFile(fd, std::string(name.data()));
}

std::optional<std::uint64_t> NativeFile::Size() const
{
    struct stat st;
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

long long NativeFile::Read(void* buffer, std::size_t size)
{
    while (true) {
        ssize_t got = ::read(m_fd, buffer, size);
        if (got >= 0)
            return got;
        if (errno != EINTR)
            return -1;
    }
}

bool NativeFile::ReadExactAt(void* buffer, std::size_t size, std::uint64_t offset)
{
    auto* out = static_cast<char*>(buffer);
    while (size > 0) {
        ssize_t got = ::pread(m_fd, out, size, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        out += got;
        size -= static_cast<std::size_t>(got);
        offset += static_cast<std::uint64_t>(got);
    }
    return true;
}

bool NativeFile::Seek(std::uint64_t offset)
{
    return m_fd >= 0 && ::lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) == static_cast<off_t>(offset);
}

bool NativeFile::WriteAll(const void* bytes, std::size_t size)
{
    const auto* in = static_cast<const char*>(bytes);
    while (size > 0) {
        ssize_t written = ::write(m_fd, in, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        in += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool NativeFile::Truncate(std::uint64_t size)
{
    return m_fd >= 0 && ::ftruncate(m_fd, static_cast<off_t>(size)) == 0;
}

bool NativeFile::Close()
{
    if (m_fd < 0)
        return false;
    int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
}

void RemoveNativeFile(const std::string& nativePath)
{
    // Only a regular file can be a partial output; a device or a link given as the target stays.
    struct stat st;
    if (!nativePath.empty() && ::lstat(nativePath.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        ::unlink(nativePath.c_str());
}

} // namespace orv
