#include "platform/SharedText.h"

#include "platform/Encoding.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <mutex>

namespace orv::platform {

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
        int fd = ::shm_open(blockName.c_str(), O_RDWR | O_CREAT, 0600);
        if (fd < 0)
            return -1;
        struct stat st;
        if (::fstat(fd, &st) != 0 || (st.st_size < static_cast<off_t>(kSharedTextSize) &&
                                      ::ftruncate(fd, static_cast<off_t>(kSharedTextSize)) != 0)) {
            ::close(fd);
            return -1;
        }
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
