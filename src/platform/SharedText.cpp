#include "platform/SharedText.h"

#include "platform/Encoding.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

namespace orv::platform {
namespace {

// The block's one name is shared by every user of the machine. A block someone else made
// could be read or redirected by them, or shrunk under our mapping (a bus error on the next
// write), so only our own private, full-sized block is used; a block we did not create is
// never resized.
int OpenOwnBlock(const std::string& blockName)
{
    int fd = ::shm_open(blockName.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd >= 0) {
        // The umask may have taken bits away; the block is ours and new, so set them.
        if (::fchmod(fd, 0600) != 0 || ::ftruncate(fd, static_cast<off_t>(kSharedTextSize)) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }
    if (errno != EEXIST)
        return -1;
    fd = ::shm_open(blockName.c_str(), O_RDWR, 0);
    if (fd < 0)
        return -1;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()
        || (st.st_mode & 07777) != 0600 || st.st_size < static_cast<off_t>(kSharedTextSize)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

int PublishSharedText(const std::string& text, const std::string& blockName)
{
    // Mappings stay for the life of the process, one per block name.
    static std::mutex mutex;
    static std::map<std::string, char*> mappings;
    std::lock_guard<std::mutex> lock(mutex);

    char* view = nullptr;
    auto found = mappings.find(blockName);
    if (found != mappings.end()) {
        view = found->second;
    } else {
        int fd = OpenOwnBlock(blockName);
        if (fd < 0)
            return -1;
        void* mapped = ::mmap(nullptr, kSharedTextSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        ::close(fd);
        if (mapped == MAP_FAILED)
            return -2;
        view = static_cast<char*>(mapped);
        mappings.emplace(blockName, view);
    }
    // A longer text would run past the block; keep what fits, whole characters only.
    std::string encoded = Utf8ToGb18030(text);
    std::size_t length = Gb18030PrefixLength(encoded, kSharedTextSize - 1);
    std::memcpy(view, encoded.data(), length);
    view[length] = '\0';
    return 0;
}

}  // namespace orv::platform
