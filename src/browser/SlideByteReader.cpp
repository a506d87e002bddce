#include "browser/SlideByteReader.h"

#include "platform/Paths.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

namespace orv {
namespace {

constexpr std::size_t kWindowSize = 64 * 1024;

} // namespace

SlideByteReader::SlideByteReader(std::string_view data)
    : m_window(reinterpret_cast<const std::uint8_t*>(data.data()))
    , m_windowSize(data.size())
    , m_size(data.size())
{
}

std::unique_ptr<SlideByteReader> SlideByteReader::OpenFile(std::string_view programPath)
{
    if (programPath.empty())
        return nullptr;
    std::string native = platform::NativePath(programPath);
    std::unique_ptr<SlideByteReader> reader(new SlideByteReader());
    reader->m_file.reset(std::fopen(native.c_str(), "rbe"));
    if (!reader->m_file)
        return nullptr;
    struct stat st;
    if (::fstat(::fileno(reader->m_file.get()), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0)
        return nullptr;
    reader->m_size = static_cast<std::uint64_t>(st.st_size);
    reader->m_buffer.resize(kWindowSize);
    reader->m_window = reader->m_buffer.data();
    return reader;
}

bool SlideByteReader::Seek(std::uint64_t position)
{
    if (position > m_size)
        return false;
    m_pos = position;
    return true;
}

void SlideByteReader::Back(std::size_t count)
{
    m_pos = count > m_pos ? 0 : m_pos - count;
}

bool SlideByteReader::Skip(std::size_t count)
{
    if (count > Remaining())
        return false;
    m_pos += count;
    return true;
}

bool SlideByteReader::Ensure(std::size_t count)
{
    if (count > Remaining())
        return false;
    if (m_pos >= m_windowStart && m_pos - m_windowStart + count <= m_windowSize)
        return true;
    if (!m_file || count > m_buffer.size())
        return false;
    // The file shrank under us or the seek failed: treat as the end of the data.
    if (::fseeko(m_file.get(), static_cast<off_t>(m_pos), SEEK_SET) != 0)
        return false;
    std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(m_buffer.size(), Remaining()));
    std::size_t got = std::fread(m_buffer.data(), 1, want, m_file.get());
    m_windowStart = m_pos;
    m_windowSize = got;
    return count <= got;
}

bool SlideByteReader::Read(void* out, std::size_t count)
{
    if (!Ensure(count))
        return false;
    std::memcpy(out, m_window + (m_pos - m_windowStart), count);
    m_pos += count;
    return true;
}

bool SlideByteReader::ReadByte(std::uint8_t& value)
{
    return Read(&value, 1);
}

bool SlideByteReader::ReadWord(std::uint16_t& value)
{
    std::uint8_t bytes[2];
    if (!Read(bytes, 2))
        return false;
    value = static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
    return true;
}

} // namespace orv
