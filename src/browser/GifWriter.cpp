#include "browser/GifWriter.h"

#include <algorithm>
#include <unordered_map>

namespace orv {
namespace {

constexpr std::size_t kMaxColors = 256;
constexpr int kMaxCodeBits = 12;
constexpr unsigned kMaxCodes = 1u << kMaxCodeBits;

std::uint32_t PixelAt(const RasterImage& image, std::size_t i, int width)
{
    const std::uint8_t* p = image.Row(static_cast<int>(i / width)) + (i % width) * 3;
    return p[0] | (static_cast<std::uint32_t>(p[1]) << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
}

// Numbers each distinct key(colour) in order of first use; false as soon as there are more
// than 256.
template <typename Key>
bool Group(const RasterImage& image, Key key, std::vector<std::uint8_t>& indices,
    std::vector<std::uint32_t>& firstColors, std::vector<std::uint64_t>* sums)
{
    const std::size_t count = static_cast<std::size_t>(image.Width()) * image.Height();
    std::unordered_map<std::uint32_t, std::uint8_t> numbers;
    indices.resize(count);
    firstColors.clear();
    std::uint32_t lastKey = 0;
    std::uint8_t lastNumber = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t color = PixelAt(image, i, image.Width());
        const std::uint32_t k = key(color);
        if (i == 0 || k != lastKey) {
            auto found = numbers.find(k);
            if (found == numbers.end()) {
                if (numbers.size() == kMaxColors)
                    return false;
                found = numbers.emplace(k, static_cast<std::uint8_t>(numbers.size())).first;
                firstColors.push_back(color);
                if (sums)
                    sums->resize(4 * numbers.size());
            }
            lastKey = k;
            lastNumber = found->second;
        }
        indices[i] = lastNumber;
        if (sums) {
            std::uint64_t* s = sums->data() + 4 * lastNumber;
            s[0] += color & 0xFF;
            s[1] += (color >> 8) & 0xFF;
            s[2] += (color >> 16) & 0xFF;
            s[3] += 1;
        }
    }
    return true;
}

// Writes codes of a growing width least significant bit first, then cuts them into sub-blocks.
class CodeWriter {
public:
    void Put(unsigned code, int bits)
    {
        m_buffer |= static_cast<std::uint64_t>(code) << m_count;
        m_count += bits;
        while (m_count >= 8) {
            m_bytes += static_cast<char>(m_buffer & 0xFF);
            m_buffer >>= 8;
            m_count -= 8;
        }
    }
    void AppendBlocks(std::string& out)
    {
        if (m_count > 0)
            m_bytes += static_cast<char>(m_buffer & 0xFF);
        for (std::size_t at = 0; at < m_bytes.size(); at += 255) {
            const std::size_t n = std::min<std::size_t>(255, m_bytes.size() - at);
            out += static_cast<char>(n);
            out.append(m_bytes, at, n);
        }
        out += '\0';
    }

private:
    std::uint64_t m_buffer = 0;
    int m_count = 0;
    std::string m_bytes;
};

// The dictionary maps (prefix code, next index) to a code. Each entry carries the generation
// it was made in, so a clear only counts the generation up instead of emptying 4 MB.
class Dictionary {
public:
    Dictionary()
        : m_entries(kMaxCodes << 8, 0)
    {
    }
    void Clear()
    {
        if (++m_generation == kMaxGeneration) {
            std::fill(m_entries.begin(), m_entries.end(), 0);
            m_generation = 1;
        }
    }
    // The code of prefix + index, or -1.
    int Find(unsigned prefix, unsigned index) const
    {
        const std::uint32_t entry = m_entries[(prefix << 8) | index];
        return (entry >> kMaxCodeBits) == m_generation ? static_cast<int>(entry & (kMaxCodes - 1)) : -1;
    }
    void Add(unsigned prefix, unsigned index, unsigned code)
    {
        m_entries[(prefix << 8) | index] = (m_generation << kMaxCodeBits) | code;
    }

private:
    static constexpr std::uint32_t kMaxGeneration = 1u << (32 - kMaxCodeBits);
    std::vector<std::uint32_t> m_entries;
    std::uint32_t m_generation = 1;
};

void PackLzw(const std::vector<std::uint8_t>& indices, int minCodeSize, std::string& out)
{
    const unsigned clearCode = 1u << minCodeSize, endCode = clearCode + 1;
    CodeWriter writer;
    Dictionary dictionary;
    int bits = minCodeSize + 1;
    unsigned next = endCode + 1;
    writer.Put(clearCode, bits);
    unsigned prefix = indices[0];
    for (std::size_t i = 1; i < indices.size(); ++i) {
        const unsigned index = indices[i];
        const int found = dictionary.Find(prefix, index);
        if (found >= 0) {
            prefix = static_cast<unsigned>(found);
            continue;
        }
        writer.Put(prefix, bits);
        if (next < kMaxCodes) {
            // The reader makes this entry one code later and widens its codes once its next
            // entry no longer fits: the code after this one is the first to need the new width.
            if (next == (1u << bits) && bits < kMaxCodeBits)
                ++bits;
            dictionary.Add(prefix, index, next++);
        } else {
            writer.Put(clearCode, bits);
            dictionary.Clear();
            bits = minCodeSize + 1;
            next = endCode + 1;
        }
        prefix = index;
    }
    writer.Put(prefix, bits);
    writer.Put(endCode, bits);
    out += static_cast<char>(minCodeSize);
    writer.AppendBlocks(out);
}

void Put16(std::string& out, unsigned value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

} // namespace

PaletteImage ReduceToPalette(const RasterImage& image)
{
    PaletteImage result;
    if (image.IsNull())
        return result;
    if (Group(
            image, [](std::uint32_t c) { return c; }, result.indices, result.palette, nullptr))
        return result;
    struct Bits {
        int red, green, blue;
    };
    constexpr Bits kSteps[]
        = { { 7, 7, 7 }, { 6, 6, 6 }, { 5, 5, 5 }, { 4, 4, 4 }, { 3, 3, 3 }, { 3, 3, 2 } };
    for (const Bits& b : kSteps) {
        auto key = [b](std::uint32_t c) {
            return ((c & 0xFF) >> (8 - b.red)) | ((((c >> 8) & 0xFF) >> (8 - b.green)) << 8)
                | ((((c >> 16) & 0xFF) >> (8 - b.blue)) << 16);
        };
        std::vector<std::uint64_t> sums;
        if (!Group(image, key, result.indices, result.palette, &sums))
            continue;
        for (std::size_t i = 0; i < result.palette.size(); ++i) {
            const std::uint64_t* s = sums.data() + 4 * i;
            auto mean
                = [&](int channel) { return static_cast<std::uint32_t>((s[channel] + s[3] / 2) / s[3]); };
            result.palette[i] = mean(0) | (mean(1) << 8) | (mean(2) << 16);
        }
        break;
    }
    return result;
}

std::string EncodeGif(const RasterImage& image)
{
    if (image.IsNull() || image.Width() > 0xFFFF || image.Height() > 0xFFFF)
        return std::string();
    const PaletteImage reduced = ReduceToPalette(image);
    int tableBits = 1;
    while ((std::size_t { 1 } << tableBits) < reduced.palette.size())
        ++tableBits;

    std::string out = "GIF89a";
    Put16(out, static_cast<unsigned>(image.Width()));
    Put16(out, static_cast<unsigned>(image.Height()));
    out += static_cast<char>(0x80 | 0x70 | (tableBits - 1));
    out += '\0';
    out += '\0';
    for (std::size_t i = 0; i < (std::size_t { 1 } << tableBits); ++i) {
        const std::uint32_t c = i < reduced.palette.size() ? reduced.palette[i] : 0;
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>((c >> 8) & 0xFF);
        out += static_cast<char>((c >> 16) & 0xFF);
    }
    out += '\x2C';
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<unsigned>(image.Width()));
    Put16(out, static_cast<unsigned>(image.Height()));
    out += '\0';
    PackLzw(reduced.indices, std::max(tableBits, 2), out);
    out += '\x3B';
    return out;
}

} // namespace orv
