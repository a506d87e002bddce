#include "platform/Files.h"

#include "platform/Paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace orv::platform {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }
    void Reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    int Release()
    {
        int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

std::optional<std::string> ReadFileBytes(std::string_view programPath, std::uint64_t maxBytes)
{
    std::string native = NativePath(programPath);
    if (native.empty())
        return std::nullopt;
    FileDescriptor fd(::open(native.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st;
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::uint64_t>(st.st_size) > maxBytes)
        return std::nullopt;
    std::string bytes;
    char buffer[65536];
    while (true) {
        ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (got == 0)
            break;
        if (bytes.size() + static_cast<std::size_t>(got) > maxBytes)
            return std::nullopt;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

std::optional<std::string> ReadNativeFileHead(const std::string& nativePath, std::size_t count)
{
    FileDescriptor fd(::open(nativePath.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        return std::nullopt;
    std::string head(count, '\0');
    std::size_t got = 0;
    while (got < count) {
        ssize_t n = ::read(fd.Get(), &head[got], count - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    head.resize(got);
    return head;
}

namespace {

// The process's umask, read without changing it (umask() would change it for every thread
// for a moment, and a file another thread creates then would be world-writable).
mode_t CurrentUmask()
{
    if (auto status = ReadNativeFileHead("/proc/self/status", 4096)) {
        std::size_t at = status->find("\nUmask:");
        if (at != std::string::npos)
            return static_cast<mode_t>(std::strtoul(status->c_str() + at + 7, nullptr, 8) & 0777);
    }
    return 022;
}

// The file a chain of symbolic links ends at (the path itself when it is none). Settings
// kept as links (dotfile managers do this) must stay links, so the file they name is the
// one replaced. Nothing when the chain loops or cannot be read.
std::optional<std::string> FollowLinks(std::string path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0)
            return errno == ENOENT ? std::optional<std::string>(path) : std::nullopt;
        if (!S_ISLNK(st.st_mode))
            return path;
        std::vector<char> buffer(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size())
            return std::nullopt;
        std::string link(buffer.data(), static_cast<std::size_t>(length));
        if (link[0] == '/') {
            path = link;
        } else {
            std::size_t slash = path.rfind('/');
            path = slash == std::string::npos ? link : path.substr(0, slash + 1) + link;
        }
    }
    return std::nullopt;
}

// Whether we may change the file. Root passes every permission check, but a file without
// any write permission is read-only to root as well (as Windows' read-only attribute is to
// an administrator); everyone else asks the kernel with their effective ids.
bool IsWritableByUs(const std::string& path, const struct stat& st)
{
    if (::geteuid() == 0)
        return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// Run by another user (root for one), the new file keeps the old one's owner where we may
// give it away, and at least its group where we belong to that; failing both, it is ours.
void KeepOwner(int fd, const struct stat& old)
{
    if (old.st_uid == ::geteuid() && old.st_gid == ::getegid())
        return;
    if (::fchown(fd, old.st_uid, old.st_gid) == 0)
        return;
    int groupOnly = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    (void)groupOnly;
}

} // namespace

bool AtomicWriteFile(std::string_view programPath, std::string_view bytes, Durability durability)
{
    std::string named = NativePath(programPath);
    if (named.empty() || named.back() == '/')
        return false;
    std::optional<std::string> resolved = FollowLinks(named);
    if (!resolved)
        return false;
    const std::string& target = *resolved;

    struct stat st;
    bool exists = ::lstat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        return false;
    // Replacing a file we may not write would get round its permissions through the folder's.
    if (exists && (!S_ISREG(st.st_mode) || !IsWritableByUs(target, st)))
        return false;

    std::string pattern = target + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    FileDescriptor fd(::mkostemp(name.data(), O_CLOEXEC));
    if (fd.Get() < 0)
        return false;
    std::string temp(name.data());

    mode_t mode = 0666 & ~CurrentUmask();
    if (exists) {
        mode = st.st_mode & 07777;
        KeepOwner(fd.Get(), st);
    }
    // After fchown, which clears the set-id bits.
    bool ok = ::fchmod(fd.Get(), mode) == 0 && WriteAll(fd.Get(), bytes)
        && (durability == Durability::Unsynced || ::fsync(fd.Get()) == 0);
    ok = ::close(fd.Release()) == 0 && ok;
    if (ok && ::rename(temp.c_str(), target.c_str()) == 0)
        return true;
    ::unlink(temp.c_str());
    return false;
}

namespace {

// The name of the entry of an open folder that a component stands for: the component when
// an entry of that name exists, else the first entry in byte order equal to it without
// regard to ASCII case (as NativePath resolves), else the component as written.
std::string MatchEntry(int folder, const std::string& component)
{
    struct stat st;
    if (::fstatat(folder, component.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return component;
    int listFd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0)
        return component;
    DIR* dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return component;
    }
    std::string best;
    while (dirent* entry = ::readdir(dir)) {
        std::string_view name = entry->d_name;
        if (name != "." && name != ".." && EqualsNoCase(name, component) && (best.empty() || name < best))
            best = name;
    }
    ::closedir(dir);
    return best.empty() ? component : best;
}

} // namespace

std::optional<FileIdentity> IdentityOf(std::string_view programPath)
{
    std::string native = NativePath(programPath);
    struct stat st;
    if (native.empty() || ::stat(native.c_str(), &st) != 0)
        return std::nullopt;
    return FileIdentity { static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino) };
}

int CreateFileBeneath(std::string_view programFolder, std::string_view relative,
    const std::vector<FileIdentity>& keep, std::string& nativePath)
{
    std::vector<std::string> parts;
    for (std::size_t start = 0; start <= relative.size();) {
        std::size_t end = relative.find_first_of("\\/", start);
        if (end == std::string_view::npos)
            end = relative.size();
        std::string part(relative.substr(start, end - start));
        if (part == "." || part == ".." || part.find('\0') != std::string::npos)
            return -1;
        if (!part.empty())
            parts.push_back(std::move(part));
        start = end + 1;
    }
    if (parts.empty())
        return -1;

    // The folder itself is the caller's and may be reached through links; below it nothing is.
    std::string native = programFolder.empty() ? std::string(".") : NativePath(programFolder);
    if (native.empty())
        return -1;
    FileDescriptor folder(::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (std::size_t i = 0; folder.Get() >= 0 && i + 1 < parts.size(); ++i) {
        std::string name = MatchEntry(folder.Get(), parts[i]);
        int next = ::openat(folder.Get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        folder.Reset(next);
        native += (native.back() == '/' ? "" : "/") + name;
    }
    if (folder.Get() < 0)
        return -1;

    std::string name = MatchEntry(folder.Get(), parts.back());
    mode_t mode = 0666;
    bool keepMode = false;
    struct stat st;
    if (::fstatat(folder.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        // A link would be written through, a FIFO would block the writer, a device or socket
        // is someone's endpoint: only a regular file is replaced, and never one in keep.
        if (!S_ISREG(st.st_mode))
            return -1;
        for (const FileIdentity& id : keep)
            if (id.device == static_cast<std::uint64_t>(st.st_dev)
                && id.inode == static_cast<std::uint64_t>(st.st_ino))
                return -1;
        // Removed rather than truncated, so another name of the same file (a hard link into
        // another folder) keeps what it holds.
        if (::unlinkat(folder.Get(), name.c_str(), 0) != 0)
            return -1;
        mode = st.st_mode & 0777;
        keepMode = true;
    } else if (errno != ENOENT) {
        return -1;
    }
    int fd = ::openat(folder.Get(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0)
        return -1;
    if (keepMode)
        ::fchmod(fd, mode); // past the umask, as the file was
    nativePath = native + (native.back() == '/' ? "" : "/") + name;
    return fd;
}

}  // namespace orv::platform
