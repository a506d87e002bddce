#pragma once
// Bounded little-endian reading over a slide file or a slide held in memory. Every read is
// all-or-nothing: a read that would pass the end of the data fails and consumes nothing, so
// a decoder can never look outside the bytes it was given. Files are read through a window
// buffer, so decoding one member of a large library touches only that member's bytes.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

namespace orv {

class SlideByteReader {
public:
    // Reads the bytes in memory; they must outlive the reader.
    explicit SlideByteReader(std::string_view data);
    SlideByteReader(const SlideByteReader&) = delete;
    SlideByteReader& operator=(const SlideByteReader&) = delete;

    // Opens a regular file for reading (program path); nullptr when it cannot be opened.
    static std::unique_ptr<SlideByteReader> OpenFile(std::string_view programPath);

    std::uint64_t Size() const { return m_size; }
    std::uint64_t Position() const { return m_pos; }
    std::uint64_t Remaining() const { return m_size - m_pos; }

    // Moves to an absolute position; false (position unchanged) past the end.
    bool Seek(std::uint64_t position);
    // Gives back bytes just read; never moves before the start.
    void Back(std::size_t count);
    bool Skip(std::size_t count);

    bool Read(void* out, std::size_t count);
    bool ReadByte(std::uint8_t& value);
    bool ReadWord(std::uint16_t& value);

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    SlideByteReader() = default;
    bool Ensure(std::size_t count);

    std::unique_ptr<std::FILE, FileCloser> m_file;
    std::vector<std::uint8_t> m_buffer;
    const std::uint8_t* m_window = nullptr; // the bytes from m_windowStart on
    std::uint64_t m_windowStart = 0;
    std::size_t m_windowSize = 0;
    std::uint64_t m_size = 0;
    std::uint64_t m_pos = 0;
};

} // namespace orv
